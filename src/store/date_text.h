#pragma once
// Dates are stored as local-time text "yyyy-MM-dd HH:mm:ss", which sorts and
// compares in time order.

#include <QDateTime>
#include <QString>

namespace qv::store {

// An invalid date-time gives the empty text.
QString dateTimeText(const QDateTime& when);
// A stored text back to a local date-time; invalid if the text is not one.
QDateTime dateTimeFromText(const QString& text);

}  // namespace qv::store
