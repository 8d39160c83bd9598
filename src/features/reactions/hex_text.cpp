#include "features/reactions/hex_text.h"

#include <QRegularExpression>
#include <QStringList>

namespace qv::reactions {

namespace {

bool isHexDigit(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F');
}

// Already in the wire form: every message heard is, so it needs no work.
bool isWireForm(const QString& text) {
    const qsizetype size = text.size();
    if (size < 2 || size % 3 != 2) return false;
    for (qsizetype i = 0; i < size; i += 3) {
        if (!isHexDigit(text[i]) || !isHexDigit(text[i + 1])) return false;
        if (i + 2 < size && text[i + 2] != u' ') return false;
    }
    return true;
}

bool allHex(const QString& group) {
    for (const QChar c : group)
        if (!isHexDigit(c)) return false;
    return true;
}

}  // namespace

QString normaliseHexText(const QString& text) {
    if (isWireForm(text)) return text;
    QStringList bytes;
    static const QRegularExpression kSpace(QStringLiteral("\\s+"));
    const QStringList groups = text.toUpper().split(kSpace, Qt::SkipEmptyParts);
    for (const QString& group : groups) {
        if (!allHex(group)) {
            bytes << group;
        } else if (group.size() == 1) {
            bytes << QLatin1Char('0') + group;
        } else if (group.size() % 2 == 0) {
            for (qsizetype i = 0; i < group.size(); i += 2) bytes << group.mid(i, 2);
        } else {
            bytes << group;
        }
    }
    return bytes.join(QLatin1Char(' '));
}

}  // namespace qv::reactions
