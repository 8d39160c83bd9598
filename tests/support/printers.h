#pragma once
// Readable Qt values in assertion messages (GoogleTest finds these by the
// argument's namespace, which for Qt's types is the global one).

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* out) {
    *out << '[' << list.join(QStringLiteral(", ")).toStdString() << ']';
}
inline void PrintTo(const QByteArray& data, std::ostream* out) {
    *out << data.toHex(' ').toStdString();
}
inline void PrintTo(const QVariant& value, std::ostream* out) {
    *out << (value.isNull() ? std::string("NULL") : value.toString().toStdString());
}
