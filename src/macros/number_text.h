#pragma once
// Numbers as the macro command lines and the editor's boxes write and read them.

#include <QString>
#include <QStringView>

namespace qv::macros {

// The lenient numeric parse of command lines and editor boxes: the leading
// number of the text (sign, digits, one point, an exponent), blanks ignored
// wherever they stand, stopping at the first character that cannot continue
// it. "5 (PRESET:)" reads 5, "12key" reads 12, "abc" reads 0.
double leadingNumber(QStringView text);

// Default text form: integers without a point or leading zeros, fractions
// with a point and no trailing zeros ("5430", "0.02", "1.5").
QString defaultText(double value);
// The same for a single-precision value, which carries seven digits: the
// delay total of the editor is computed in single precision.
QString defaultText(float value);

// A fixed number of decimals, halves rounded away from zero ("0.0" gives
// 0.25 -> "0.3", "0" gives 2.5 -> "3").
QString fixedText(double value, int decimals);

}  // namespace qv::macros
