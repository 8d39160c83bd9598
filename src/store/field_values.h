#pragma once
// Reading stored fields the way the program means them. Files converted from
// older installations hold yes as -1 or "True" and numbers as text, and any
// field may be empty (NULL), in which case the caller's default stands.

#include <QString>
#include <QVariant>

namespace qv::store {

bool yesNoOr(const QVariant& value, bool fallback);
int intOr(const QVariant& value, int fallback);
double realOr(const QVariant& value, double fallback);
QString textOr(const QVariant& value, const QString& fallback);

}  // namespace qv::store
