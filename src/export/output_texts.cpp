#include "export/output_texts.h"

namespace tulmera::exports {

std::string NameOf(const ListNames& names, std::string_view key)
{
    const auto found = names.find(key);
    return found != names.end() ? found->second : std::string(key);
}

}  // namespace tulmera::exports
