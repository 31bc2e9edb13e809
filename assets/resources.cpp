#include "assets/resources.h"

namespace art {

Resources WriteResources(const QString& strFolder)
{
    Resources resources;
    const QDir root(strFolder);
    for (const char* szFolder : {"bgimage", "frame", "clipart", "mask"})
        root.mkpath(QString::fromLatin1(szFolder));
    WriteBackgrounds(QDir(root.filePath(QStringLiteral("bgimage"))), resources);
    WriteFrames(QDir(root.filePath(QStringLiteral("frame"))), resources);
    WriteCliparts(QDir(root.filePath(QStringLiteral("clipart"))), resources);
    WriteMasks(QDir(root.filePath(QStringLiteral("mask"))), resources);
    return resources;
}

} // namespace art
