#include "fuzz/fuzz_support.h"

namespace tulmera::fuzz {

std::string Shown(std::string_view bytes)
{
    constexpr std::size_t kShown = 64;
    static constexpr char kHex[] = "0123456789abcdef";
    std::string shown = "\"";
    for (const char c : bytes.substr(0, kShown)) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7f && c != '"' && c != '\\') {
            shown += c;
        } else {
            shown += "\\x";
            shown += kHex[u >> 4];
            shown += kHex[u & 15];
        }
    }
    return shown + (bytes.size() > kShown ? "...\"" : "\"");
}

}  // namespace tulmera::fuzz
