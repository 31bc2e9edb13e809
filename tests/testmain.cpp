#include <gtest/gtest.h>

#include <QFile>
#include <QFont>
#include <QTemporaryDir>

#include "tests/testsupport.h"
#ifdef VELOMIRA_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif

// Fixes what would make results depend on the machine: no display, 96 DPI, device-pixel ratio 1, and
// a font that is always installed. The unit tests run without the widget module at all.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_FONT_DPI", "96");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    // The user's state and cache folders (autosave copies, a read-only program's log, the recent
    // projects) are the test run's own; a child helper shares its test's.
    const bool bChild = IsTestChild(argc, argv);
    const QTemporaryDir stateHome;
    const QTemporaryDir cacheHome;
    if (!bChild) {
        qputenv("XDG_STATE_HOME", QFile::encodeName(stateHome.path()));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cacheHome.path()));
    }
    ::testing::InitGoogleTest(&argc, argv);
    TestApplication app(argc, argv);
    TestApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    return bChild ? RunTestChild(argv) : RUN_ALL_TESTS();
}
