#include "features/exchange/status_sheet.h"

#include "net/labels.h"

#include <QStringDecoder>

#include <vector>

namespace qv::exchange {

namespace {

// Splits CSV text into rows of fields. A quoted field may hold commas, line
// breaks and doubled quotes. An unclosed quote runs to the end of the text;
// the row it starts is reported.
struct CsvRow {
    int line = 0;  // the text line the row starts on, from 1
    QStringList fields;
    bool unclosedQuote = false;
};

std::vector<CsvRow> parseCsv(QStringView text) {
    std::vector<CsvRow> rows;
    CsvRow row;
    QString field;
    bool quoted = false;
    bool fieldStarted = false;
    int line = 1;
    row.line = line;

    auto endField = [&] {
        row.fields.push_back(field);
        field.clear();
        fieldStarted = false;
    };
    auto endRow = [&] {
        endField();
        rows.push_back(row);
        row = CsvRow{};
        row.line = line;
    };

    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                    field += QLatin1Char('"');
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == QLatin1Char('\n')) ++line;
                field += c;
            }
            continue;
        }
        if (c == QLatin1Char('"') && !fieldStarted) {
            quoted = true;
            fieldStarted = true;
        } else if (c == QLatin1Char(',')) {
            endField();
        } else if (c == QLatin1Char('\n')) {
            ++line;
            endRow();
        } else if (c == QLatin1Char('\r')) {
            // CRLF endings; a lone CR outside quotes is dropped too.
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (quoted) row.unclosedQuote = true;
    if (quoted || fieldStarted || !row.fields.isEmpty() || !field.isEmpty()) endRow();
    return rows;
}

bool isBlank(const QStringList& fields) {
    for (const QString& f : fields)
        if (!f.trimmed().isEmpty()) return false;
    return true;
}

QString shown(const QString& text) {
    constexpr int kQuoteChars = 30;
    return QLatin1Char('"') +
           (text.size() <= kQuoteChars ? text : text.left(kQuoteChars) + QStringLiteral("...")) +
           QLatin1Char('"');
}

// The request as the link window took it: up to the first line break, trimmed.
QString requestText(const QString& cell) {
    qsizetype cut = cell.size();
    for (const QChar stop : {QLatin1Char('\r'), QLatin1Char('\n')}) {
        const qsizetype at = cell.indexOf(stop);
        if (at >= 0 && at < cut) cut = at;
    }
    return cell.left(cut).trimmed();
}

}  // namespace

QString presetCellText(int preset) {
    return preset == 0 ? QStringLiteral("unknown") : QString::number(preset);
}

QByteArray formatStatusSheet(const net::AreaState& state) {
    QByteArray out = QByteArray(kSheetHeader) + '\n';
    for (int area = 1; area <= net::kMaxArea; ++area)
        out += QByteArray::number(area) + ',' + presetCellText(state.GetPresetforArea(area)).toUtf8() + ",\n";
    return out;
}

SheetRead readStatusSheet(const QByteArray& bytes) {
    SheetRead read;
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        read.problems << QStringLiteral("the file is not UTF-8 text");
        return read;
    }
    for (const CsvRow& row : parseCsv(text)) {
        const QString where = QStringLiteral("row %1: ").arg(row.line);
        if (row.unclosedQuote) {
            read.problems << where + QStringLiteral("a quote is not closed");
            continue;
        }
        if (isBlank(row.fields)) continue;
        const QString first = row.fields.front().trimmed();
        if (first.compare(QLatin1String("Area"), Qt::CaseInsensitive) == 0) continue;
        bool ok = false;
        const int area = first.toInt(&ok, 10);
        if (!ok || area < 1 || area > net::kMaxArea) {
            read.problems << where + shown(first) + QStringLiteral(" is not an area 1-255");
            continue;
        }
        if (row.fields.size() < 3) continue;  // no request column: nothing asked
        const QString request = requestText(row.fields.at(2));
        if (!request.isEmpty()) read.requests.at(static_cast<std::size_t>(area)) = request;
    }
    return read;
}

}  // namespace qv::exchange
