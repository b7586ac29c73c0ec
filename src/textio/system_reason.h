#pragma once
#include <string>

namespace tulmera::textio {

// The operating system's reason for the error number `errorNumber` as a short English text
// without final punctuation ("No such file or directory"), whatever the locale, safe to call
// from any thread. An unknown number gives "error 1234".
std::string SystemReason(int errorNumber);

}  // namespace tulmera::textio
