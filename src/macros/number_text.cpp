#include "macros/number_text.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>

namespace qv::macros {

namespace {

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') ||
           c == QLatin1Char('\n');
}

}  // namespace

double leadingNumber(QStringView text) {
    // Blanks are dropped first, so "1 2" reads 12 as the old parse did.
    std::string chars;
    chars.reserve(static_cast<std::size_t>(text.size()));
    for (QChar c : text) {
        if (!isBlank(c)) chars.push_back(c.unicode() < 128 ? static_cast<char>(c.unicode()) : '?');
    }

    std::size_t i = 0;
    std::string number;
    if (i < chars.size() && (chars[i] == '+' || chars[i] == '-')) number.push_back(chars[i++]);
    bool digits = false;
    while (i < chars.size() && std::isdigit(static_cast<unsigned char>(chars[i]))) {
        number.push_back(chars[i++]);
        digits = true;
    }
    if (i < chars.size() && chars[i] == '.') {
        number.push_back(chars[i++]);
        while (i < chars.size() && std::isdigit(static_cast<unsigned char>(chars[i]))) {
            number.push_back(chars[i++]);
            digits = true;
        }
    }
    if (!digits) return 0.0;
    // An exponent counts only when a digit follows it: "12e" is 12, "1e3" is 1000.
    if (i < chars.size() && (chars[i] == 'e' || chars[i] == 'E' || chars[i] == 'd' || chars[i] == 'D')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < chars.size() && (chars[j] == '+' || chars[j] == '-')) exponent.push_back(chars[j++]);
        const std::size_t firstDigit = j;
        while (j < chars.size() && std::isdigit(static_cast<unsigned char>(chars[j])))
            exponent.push_back(chars[j++]);
        if (j > firstDigit) number += exponent;
    }
    const double value = std::strtod(number.c_str(), nullptr);
    return std::isfinite(value) ? value : 0.0;
}

QString defaultText(double value) {
    if (value == 0.0 || !std::isfinite(value)) return QStringLiteral("0");
    return QString::number(value, 'g', 15);
}

QString defaultText(float value) {
    if (value == 0.0f || !std::isfinite(value)) return QStringLiteral("0");
    return QString::number(static_cast<double>(value), 'g', 7);
}

QString fixedText(double value, int decimals) {
    if (!std::isfinite(value)) value = 0.0;
    const double scale = std::pow(10.0, decimals);
    // The small nudge keeps 0.15 (stored as 0.1499999...) rounding up as written.
    const double scaled = value * scale;
    const double rounded = std::round(scaled + std::copysign(1e-9, scaled)) / scale;
    QString text = QString::number(rounded, 'f', decimals);
    if (text.startsWith(QLatin1Char('-')) && rounded == 0.0) text.remove(0, 1);
    return text;
}

}  // namespace qv::macros
