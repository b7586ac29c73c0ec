#pragma once
#include <string_view>
#include <vector>

// Text cut at a separator, for the readers of the program's own tables (look-up tables,
// sensitivity outputs), whose fields hold no separator.
namespace tulmera::textio {

// The parts of `text` between the occurrences of `separator` (not empty): n separators give
// n + 1 parts, empty ones kept. The parts view `text`.
inline std::vector<std::string_view> SplitText(std::string_view text, std::string_view separator)
{
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t at = text.find(separator, start);
        parts.push_back(text.substr(start, at == std::string_view::npos ? at : at - start));
        if (at == std::string_view::npos) return parts;
        start = at + separator.size();
    }
}

}  // namespace tulmera::textio
