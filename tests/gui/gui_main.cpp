#include <gtest/gtest.h>

#include "fw/runtime.h"

#include <QApplication>

int main(int argc, char** argv)
{
    // Test discovery runs this binary too, wherever CTest's environment is not set.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    fw::RuntimeInit();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
