#include "shell/config/name_cleaning.h"

namespace qv::config {

namespace {

bool isLetter(QChar c) {
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}
bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

}  // namespace

QString cleanName(const QString& name) {
    QString kept;
    kept.reserve(name.size());
    for (const QChar c : name)
        if (isLetter(c) || isDigit(c) || c == QLatin1Char(' ')) kept.append(c);

    qsizetype start = 0;
    while (start < kept.size() && (isDigit(kept[start]) || kept[start] == QLatin1Char(' '))) ++start;
    qsizetype end = kept.size();
    while (end > start && kept[end - 1] == QLatin1Char(' ')) --end;
    return kept.mid(start, end - start);
}

}  // namespace qv::config
