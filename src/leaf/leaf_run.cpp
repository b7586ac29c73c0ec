#include "leaf/leaf_run.h"

#include "leaf/leaf_spectrum.h"
#include "textio/text_file.h"

namespace tulmera::leaf {

void RunProspect(const LeafParameters& p, const std::function<void()>& afterFileClosed)
{
    const LeafSpectrum spectrum = ComputeLeafSpectrum(p);
    textio::PrintedText text;
    text.Reserve(spectral::kWavelengthCount * 48);
    PrintLeafSpectrum(text, spectrum);
    textio::ReplaceTextFile(kLeafSpectrumFile, text.str());
    if (afterFileClosed) afterFileClosed();
}

}  // namespace tulmera::leaf
