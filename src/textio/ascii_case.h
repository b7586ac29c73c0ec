#pragma once
#include <algorithm>
#include <string_view>

// Names compared without regard to the case of ASCII letters, whatever the locale (std::tolower
// follows it): for names a user may type in either case, such as "S2" or "Spherical".
namespace tulmera::textio {

constexpr char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return AsciiLower(x) == AsciiLower(y);
           });
}

}  // namespace tulmera::textio
