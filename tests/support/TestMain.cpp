#include "support/PrivateKeyring.h"

#include <gtest/gtest.h>

// Widget suites need a whole QApplication; the rest stay on the core one.
#ifdef VEXORA_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char** argv) {
#ifdef VEXORA_TEST_WIDGETS
    // Widget suites never need a real display, not even when CTest lists their cases.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    ::testing::InitGoogleTest(&argc, argv);
    vexora::test::leaveForeignSessionBus(GTEST_FLAG_GET(list_tests));
    TestApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
