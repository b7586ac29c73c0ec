#include "textio/system_reason.h"

#include <string.h>  // strerrordesc_np: the untranslated text, from a constant table

namespace tulmera::textio {

std::string SystemReason(int errorNumber)
{
    const char* text = ::strerrordesc_np(errorNumber);
    if (text == nullptr) return "error " + std::to_string(errorNumber);
    return text;
}

}  // namespace tulmera::textio
