#pragma once
#include <functional>

#include "leaf/leaf_parameters.h"
#include "textio/staged_files.h"
#include "textio/working_files.h"

namespace tulmera::leaf {

// The leaf run: computes the leaf spectrum for `p` and publishes it as "VP.dat" (421 lines of
// wavelength, reflectance and transmittance in the printed number layout). The file is replaced
// whole: on any failure (bad parameters, a model fault, a file that cannot be written) the
// previous "VP.dat" stays as it was and tulmera::Error is thrown. `afterFileClosed`, when set,
// runs once the new file is complete and closed; the main window draws its charts there.
void RunProspect(const LeafParameters& p, const std::function<void()>& afterFileClosed = {});

// The leaf run as one step of a larger run: computes the spectrum and stages the new "VP.dat"
// in `staged` (readable under staged.ReadName) without publishing it. Throws tulmera::Error as
// RunProspect does; nothing is staged then.
void StageProspect(const LeafParameters& p, textio::StagedFiles& staged);

}  // namespace tulmera::leaf
