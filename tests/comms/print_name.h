#pragma once
// Row texts as parts of test names: only characters that test runners and
// their lists take as they are.

#include <cctype>
#include <string>
#include <string_view>

namespace qv::test {

inline std::string printableName(std::string_view text, std::size_t length = 48) {
    std::string name;
    for (const char c : text.substr(0, length)) {
        const auto u = static_cast<unsigned char>(c);
        name += (std::isalnum(u) || c == ' ' || c == ':' || c == '.' || c == '-') ? c : '_';
    }
    return name;
}

}  // namespace qv::test
