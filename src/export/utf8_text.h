#pragma once
#include <string>
#include <string_view>

namespace tulmera::exports {

// `text` as UTF-8, which workbooks require: a valid UTF-8 text unchanged; any other text is
// taken as single-byte Latin-1 text (as the result files are) and each byte converted.
std::string Utf8Text(std::string_view text);

}  // namespace tulmera::exports
