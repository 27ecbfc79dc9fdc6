// main() of every test program. Widget tests need a QApplication; the
// platform is offscreen unless the caller chose another.
#include <QCoreApplication>
#ifdef ORVE_TEST_WIDGETS
#include <QApplication>
#endif

#include <gtest/gtest.h>

#ifdef ORVE_TEST_WIDGETS
#include "common/BefehlAusfuehren.h"

namespace {
// Every test starts as a fresh program: no exit code left by a test before.
class FrischerStart : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { orve::programmEndeZuruecksetzen(); }
};
} // namespace
#endif

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
#ifdef ORVE_TEST_WIDGETS
    ::testing::UnitTest::GetInstance()->listeners().Append(new FrischerStart);
#endif
    return RUN_ALL_TESTS();
}
