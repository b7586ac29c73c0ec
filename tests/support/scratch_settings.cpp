#include "support/scratch_settings.h"

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdlib>

namespace tulmera::testing {

void UseScratchSettings()
{
    QStandardPaths::setTestModeEnabled(true);  // whatever else asks QStandardPaths
    static QTemporaryDir directory;
    if (!directory.isValid()) std::abort();  // a test against the user's settings is worse
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, directory.path());
}

}  // namespace tulmera::testing
