#include "session/autosave.h"

#include <new>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QUuid>

#include "document/carddocument.h"
#include "platform/wholefile.h"
#include "templates/projectfile.h"

namespace {

// The file beside the copy strCard ("card-<uuid>.plk") with the same name and the extension pszExtension.
QString BesidePath(const QString& strCard, const char* pszExtension)
{
    return strCard.chopped(3) + QLatin1String(pszExtension);
}

QString LockPathOf(const QString& strCard)
{
    return BesidePath(strCard, "lock");
}

QString OriginPathOf(const QString& strCard)
{
    return BesidePath(strCard, "origin");
}

} // namespace

CAutoSave::CAutoSave(const QString& strFolder)
    : m_strPath(strFolder + QStringLiteral("card-%1.plk").arg(QUuid::createUuid().toString(QUuid::WithoutBraces)))
{
    QDir().mkpath(strFolder);
    m_pLock = std::make_unique<QLockFile>(LockPathOf(m_strPath));
    m_pLock->tryLock(0);
    m_pool.setMaxThreadCount(1);
}

CAutoSave::~CAutoSave()
{
    // The lock is released only once the copy it guards is complete.
    WaitForWrite();
}

bool CAutoSave::Save(const CardDocument& doc, const QString& strOrigin, const QString& strAppDir)
{
    // A copy with no canvas width could never be opened again.
    if (doc.ClientWidth() <= 0)
        return false;
    // The card is read here, on its own thread; the worker only has bytes to write.
    QByteArray bytes;
    try {
        bytes = ProjectFileBytes(doc, strAppDir);
    } catch (const std::bad_alloc&) {
        return false;
    }
    const quint64 nWrite = ++m_nLatest;
    m_pool.start([this, nWrite, bytes, strOrigin] {
        if (nWrite != m_nLatest)
            return;
        // The origin goes first: a process killed between the two writes leaves the previous copy
        // with at worst no origin (it recovers unnamed), never with the name of another card's file.
        const QString strOriginPath = OriginPathOf(m_strPath);
        if (strOrigin.isEmpty() ? QFile::exists(strOriginPath) && !QFile::remove(strOriginPath)
                                : !WriteWholeFile(strOriginPath, strOrigin.toUtf8()))
            return;
        WriteWholeFile(m_strPath, bytes);
    });
    return true;
}

void CAutoSave::WaitForWrite()
{
    m_pool.waitForDone();
}

void CAutoSave::Remove()
{
    ++m_nLatest;
    WaitForWrite();
    Discard(m_strPath);
}

QString CAutoSave::AutoSaveFolder()
{
    return GetUserStateDir() + QStringLiteral("autosave/");
}

QStringList CAutoSave::Orphans(const QString& strFolder)
{
    QStringList orphans;
    const QFileInfoList cards
        = QDir(strFolder).entryInfoList({QStringLiteral("card-*.plk"), QStringLiteral("card-*.origin")},
            QDir::Files | QDir::NoDotAndDotDot, QDir::Time | QDir::Reversed);
    for (const QFileInfo& card : cards) {
        const bool bCopy = card.suffix() == QLatin1String("plk");
        const QString strCopy = bCopy
            ? card.filePath()
            : card.path() + QLatin1Char('/') + card.completeBaseName() + QLatin1String(".plk");
        if (!bCopy && QFile::exists(strCopy))
            continue;
        // A lock that can be taken belongs to nobody: its instance has ended.
        QLockFile lock(LockPathOf(strCopy));
        // Only a dead owner makes a lock stale, never its age: an instance may run for days.
        lock.setStaleLockTime(0);
        if (!lock.tryLock(0))
            continue;
        lock.unlock();
        // An origin without its copy is left by an instance killed before its first copy was complete.
        if (bCopy)
            orphans << strCopy;
        else
            QFile::remove(card.filePath());
    }
    return orphans;
}

QString CAutoSave::OriginOf(const QString& strCopy)
{
    QFile file(OriginPathOf(strCopy));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

void CAutoSave::Discard(const QString& strCopy)
{
    QFile::remove(strCopy);
    QFile::remove(OriginPathOf(strCopy));
}
