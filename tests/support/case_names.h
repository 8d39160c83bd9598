#pragma once
// Readable names for parameterised GoogleTest cases. Without a name generator a row struct is
// listed as "24-byte object <49-EA ...>"; these name each case after a field of its row instead.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

namespace qv::test {

// Keeps letters and digits, turns every other run of characters into one underscore, and never
// returns an empty name, since GoogleTest accepts only [A-Za-z0-9_] and refuses an empty one.
inline std::string sanitisedName(std::string_view text) {
    std::string name;
    for (const char c : text) {
        const bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (keep)
            name += c;
        else if (!name.empty() && name.back() != '_')
            name += '_';
    }
    while (!name.empty() && name.back() == '_') name.pop_back();
    return name.empty() ? std::string("empty") : name;
}

template <typename T>
std::string nameText(const T& value) {
    if constexpr (std::is_same_v<T, bool>) {
        return value ? "true" : "false";
    } else if constexpr (std::is_enum_v<T>) {
        return std::to_string(static_cast<long long>(value));
    } else if constexpr (std::is_integral_v<T>) {
        return value < 0 ? "minus" + std::to_string(-static_cast<long long>(value)) : std::to_string(value);
    } else if constexpr (std::is_floating_point_v<T>) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", static_cast<double>(value < 0 ? -value : value));
        std::string shown = std::string(value < 0 ? "minus" : "") + text;
        for (char& c : shown)
            if (c == '.') c = 'p';
        return shown;
    } else if constexpr (std::is_convertible_v<T, const char*>) {
        const char* text = value;
        return text ? std::string(text) : std::string("none");
    } else if constexpr (std::is_same_v<T, std::string>) {
        return value;
    } else if constexpr (std::is_same_v<T, QString>) {
        return value.toStdString();
    } else if constexpr (std::is_same_v<T, QByteArray>) {
        return value.toStdString();
    } else if constexpr (std::is_same_v<T, QStringList>) {
        return value.join(' ').toStdString();
    } else if constexpr (std::is_same_v<T, QVariant>) {
        return value.isValid() ? value.toString().toStdString() : std::string("invalid");
    } else {
        static_assert(sizeof(T) == 0, "no readable text for this field type");
    }
}

template <typename T>
std::string nameText(const std::optional<T>& value) {
    return value ? nameText(*value) : std::string("none");
}

// The parts joined by underscores, sanitised.
template <typename... Parts>
std::string caseName(const Parts&... parts) {
    std::string joined;
    ((joined += (joined.empty() ? "" : "_") + nameText(parts)), ...);
    return sanitisedName(joined);
}

// Names each case after one field of its row; the field must differ between rows.
template <typename Row, typename Field>
auto namedBy(Field Row::*field) {
    return [field](const testing::TestParamInfo<Row>& info) { return caseName(info.param.*field); };
}

// Names each case after one field of its row followed by the row's index, for fields that may
// repeat or lose their difference when sanitised ("1.5" and "1,5").
template <typename Row, typename Field>
auto numberedBy(Field Row::*field) {
    return [field](const testing::TestParamInfo<Row>& info) {
        return caseName(info.param.*field, static_cast<int>(info.index));
    };
}

}  // namespace qv::test
