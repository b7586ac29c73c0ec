#pragma once
#include <string>
#include <vector>

namespace tulmera::testing {

// The fields of `text` between the `separator`s (a CSV line, a list): n separators, n + 1
// fields, empty ones kept.
inline std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(separator, start)) != std::string::npos;
         start = end + 1) {
        parts.push_back(text.substr(start, end - start));
    }
    parts.push_back(text.substr(start));
    return parts;
}

}  // namespace tulmera::testing
