#include "batch/font_support.h"

#include <QGuiApplication>

namespace tulmera::batch {

void EnsureFontSupport()
{
    if (QCoreApplication::instance() != nullptr) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The application keeps references to its argument count and vector: both live as long.
    static int argc = 1;
    static char name[] = "tulmera-batch";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
}

}  // namespace tulmera::batch
