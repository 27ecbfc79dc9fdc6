// main() of every test program. Widget tests need a QApplication, and each test starts as a fresh program: no exit
// code left by a test before. The platform is offscreen unless the caller chose another, with one screen of
// 1280 x 1024 (Bildschirm.json), the smallest desktop the windows are made for, not the plugin's 800 x 600.
#ifdef ORVE_TEST_WIDGETS
#include "common/ProgrammEndeHaken.h"

#include <QApplication>
using Anwendung = QApplication;
#else
#include <QCoreApplication>
using Anwendung = QCoreApplication;
#endif

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || qgetenv("QT_QPA_PLATFORM") == "offscreen")
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" ORVE_TEST_BILDSCHIRM);
    ::testing::InitGoogleTest(&argc, argv);
    Anwendung app(argc, argv);
    // The screen is this process's own: the programs a test starts get the
    // plain platform (under Wine a path in it would name the wrong drive).
    if (qgetenv("QT_QPA_PLATFORM").startsWith("offscreen:"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Asked for a German run: the application object has taken the locale
    // from the environment, and it must really write a decimal comma, or
    // the run would quietly be one more run in C.
    if (!qEnvironmentVariableIsEmpty("ORVE_TEST_DEUTSCH") && std::localeconv()->decimal_point != std::string(",")) {
        std::fprintf(stderr, "Das Gebietsschema %s schreibt kein Dezimalkomma: de_DE.UTF-8 fehlt.\n",
                     std::setlocale(LC_NUMERIC, nullptr));
        return 1;
    }
#ifdef ORVE_TEST_WIDGETS
    struct FrischerStart : ::testing::EmptyTestEventListener {
        void OnTestStart(const ::testing::TestInfo&) override { orve::programmEndeZuruecksetzen(); }
    };
    ::testing::UnitTest::GetInstance()->listeners().Append(new FrischerStart);
#endif
    return RUN_ALL_TESTS();
}
