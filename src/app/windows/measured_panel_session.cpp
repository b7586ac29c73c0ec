// What a session keeps of the measured panel: which files are loaded, and its options.
#include <QCheckBox>
#include <QSignalBlocker>

#include "app/windows/measured_panel.h"

namespace tulmera::app {

// The panel's kinds and the session's are listed in the same order.
static_assert(static_cast<int>(MeasuredKind::CanopyReflectance)
              == static_cast<int>(session::MeasuredKind::CanopyReflectance));

std::vector<session::MeasuredFile> MeasuredPanel::LoadedFiles() const
{
    std::vector<session::MeasuredFile> files;
    for (std::size_t k = 0; k < spectra_.size(); ++k) {
        if (!spectra_[k]) continue;
        files.push_back(
            {spectra_[k]->fileName, columns_[k], static_cast<session::MeasuredKind>(k)});
    }
    return files;
}

bool MeasuredPanel::ExcludesWaterBands() const { return waterBands_->isChecked(); }

bool MeasuredPanel::FitsBySubdomains() const { return subdomains_->isChecked(); }

void MeasuredPanel::SetOptions(bool excludeWaterBands, bool subdomains)
{
    waterBands_->setChecked(excludeWaterBands);  // the RMSE texts follow (toggled)
    waterBandsChosen_ = true;
    subdomains_->setChecked(subdomains);
}

}  // namespace tulmera::app
