// main() of every test program. Widget tests need a QApplication; the
// platform is offscreen unless the caller chose another.
#include <QCoreApplication>
#ifdef ORVE_TEST_WIDGETS
#include <QApplication>
#endif

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
#ifdef ORVE_TEST_WIDGETS
    QApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    return RUN_ALL_TESTS();
}
