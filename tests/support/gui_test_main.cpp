// main() of the GoogleTest executables that draw text: fonts need a QGuiApplication, here on
// the offscreen platform unless the environment names another.
#include <gtest/gtest.h>

#include <QGuiApplication>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
