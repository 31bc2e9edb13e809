#include "shell/autosave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QUuid>

#include "templates/projectfile.h"

namespace {

QString LockPathOf(const QString& strCard)
{
    return strCard.left(strCard.size() - 3) + QStringLiteral("lock");
}

} // namespace

CAutoSave::CAutoSave(const QString& strFolder)
    : m_strPath(strFolder + QStringLiteral("card-%1.plk").arg(QUuid::createUuid().toString(QUuid::WithoutBraces)))
{
    QDir().mkpath(strFolder);
    m_pLock = std::make_unique<QLockFile>(LockPathOf(m_strPath));
    m_pLock->tryLock(0);
}

CAutoSave::~CAutoSave() = default;

bool CAutoSave::Save(const CardDocument& doc, const QString& strAppDir)
{
    return SaveProjectFile(doc, m_strPath, nullptr, strAppDir);
}

void CAutoSave::Remove()
{
    QFile::remove(m_strPath);
}

QString CAutoSave::AutoSaveFolder()
{
    return GetUserStateDir() + QStringLiteral("autosave/");
}

QStringList CAutoSave::Orphans(const QString& strFolder)
{
    QStringList orphans;
    const QFileInfoList cards = QDir(strFolder).entryInfoList(
        {QStringLiteral("card-*.plk")}, QDir::Files | QDir::NoDotAndDotDot, QDir::Time | QDir::Reversed);
    for (const QFileInfo& card : cards) {
        // A lock that can be taken belongs to nobody: its instance has ended.
        QLockFile lock(LockPathOf(card.filePath()));
        // Only a dead owner makes a lock stale, never its age: an instance may run for days.
        lock.setStaleLockTime(0);
        if (lock.tryLock(0)) {
            lock.unlock();
            orphans << card.filePath();
        }
    }
    return orphans;
}
