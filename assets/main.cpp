// velomira-artwork: draws the program's artwork into the program folder.
//
//     velomira-artwork <program folder> [<contact sheet>.jpg]
//
// writes <program folder>/Skins, <program folder>/Icons (the program's icon in the hicolor layout) and
// <program folder>/Template (allresources, cards and samples); with a second argument, also one picture
// of every template's thumbnail (help/images/templates.jpg is made so).
#include <cstdio>

#include <QDir>
#include <QGuiApplication>

#include "assets/library.h"
#include "assets/resources.h"
#include "assets/skins.h"

int main(int argc, char** argv)
{
    // Pictures are drawn off screen; fonts and sizes must not depend on a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_FONT_DPI", "96");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QGuiApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: velomira-artwork <program folder> [<contact sheet>.jpg]\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    art::WriteSkins(root.filePath(QStringLiteral("Skins")));
    art::WriteIcons(root.filePath(QStringLiteral("Icons")));
    const QString strTemplate = root.filePath(QStringLiteral("Template"));
    // The library is written afresh so that no picture of an earlier version is left behind.
    QDir(strTemplate).removeRecursively();
    const art::Resources resources = art::WriteResources(QDir(strTemplate).filePath(QStringLiteral("allresources")));
    art::WriteLibrary(strTemplate, resources, argc == 3 ? QString::fromLocal8Bit(argv[2]) : QString());
    return 0;
}
