#include "leaf/leaf_run.h"

#include "leaf/leaf_spectrum.h"

namespace tulmera::leaf {

void StageProspect(const LeafParameters& p, textio::StagedFiles& staged)
{
    const LeafSpectrum spectrum = ComputeLeafSpectrum(p);
    textio::PrintedText text;
    text.Reserve(spectral::kWavelengthCount * 48);
    PrintLeafSpectrum(text, spectrum);
    staged.Stage(kLeafSpectrumFile, text.str());
}

void RunProspect(const LeafParameters& p, const std::function<void()>& afterFileClosed)
{
    textio::StagedFiles staged;
    StageProspect(p, staged);
    staged.Publish();
    if (afterFileClosed) afterFileClosed();
}

}  // namespace tulmera::leaf
