#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>

// Fixes what would make results depend on the machine: no display, 96 DPI, device-pixel ratio 1, and
// a font that is always installed.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_FONT_DPI", "96");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    return RUN_ALL_TESTS();
}
