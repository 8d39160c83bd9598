#pragma once
// The names editors accept letters A-Z and a-z, digits and blanks, and no
// name that begins with a digit. Imported names are cleaned to fit that rule
// rather than refused, so a sheet typed elsewhere still imports.

#include <QString>

namespace qv::config {

// Drops every other character ("Fred's Office" becomes "Freds Office"),
// then the digits and blanks a name would begin with, then trailing blanks.
// Blanks inside the name stay as typed. May give the empty text.
QString cleanName(const QString& name);

}  // namespace qv::config
