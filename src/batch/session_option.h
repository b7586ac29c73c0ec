#pragma once
#include <string>
#include <vector>

#include "batch/batch_arguments.h"

namespace tulmera::batch {

// "--session FILE": a session the windows saved (".tulmera") supplies the values of the
// options the command line does not give; an option given on the line wins.
extern const OptionInfo kSessionOption;

// Whether a command with these options can take values from a session: it reads leaf, canopy
// or chart options.
bool TakesSession(const std::vector<OptionInfo>& options);

// When `arguments` holds --session, reads that file (a relative name from `directory`, as the
// runner's -C) and gives each option of `accepted` that the session sets and the line does
// not its value as text: --N, --Cab, --Cw, --Cm, --leaf-model and the model's own parameters
// (those of the model in use, the line's --leaf-model if given), --lai, --sun, --view,
// --azimuth, --hotspot, --lidf, --soil, --visibility, --sky-mix and, with --png or --svg,
// --background. Throws
// UsageError naming the file and the reason when it cannot be read or is no session.
void SupplyFromSession(BatchArguments& arguments, const std::vector<OptionInfo>& accepted,
                       const std::string& directory);

}  // namespace tulmera::batch
