#include "shell/config/csv_reader.h"

#include <QFile>

namespace qv::config {

namespace {

// Files larger than this are not a name list; refusing them keeps a wrong
// file from being read into memory whole.
constexpr qint64 kMaxCsvBytes = 16 * 1024 * 1024;

}  // namespace

QStringList splitCsvLine(const QString& line) {
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < line.size() && line[i + 1] == QLatin1Char('"')) {
                    field.append(c);
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field.append(c);
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            fields << field;
            field.clear();
        } else {
            field.append(c);
        }
    }
    fields << field;
    return fields;
}

SheetRead parseCsvSheet(const QByteArray& bytes) {
    SheetRead read;
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);  // a byte-order mark from spreadsheet programs
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList fields = splitCsvLine(lines[i]);
        const auto field = [&fields](int column) {
            return column < fields.size() ? fields[column] : QString();
        };
        if (field(0).trimmed().isEmpty()) break;
        read.rows.push_back(
            {static_cast<int>(i + 1), field(0).trimmed(), field(1), field(2).trimmed(), field(3)});
    }
    read.ok = true;
    return read;
}

SheetRead readCsvSheet(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {false, QStringLiteral("%1 could not be opened: %2").arg(path, file.errorString()), {}};
    if (file.size() > kMaxCsvBytes)
        return {false,
                QStringLiteral("%1 is too large for a name list (%2 bytes)").arg(path).arg(file.size()),
                {}};
    return parseCsvSheet(file.readAll());
}

}  // namespace qv::config
