// The main() of the engine tests: the web engine must be readied before the application exists.
#include <QApplication>

#include <gtest/gtest.h>

#include "dispatch/ui/PreviewEngine.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    zw::preparePreviewEngine();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
