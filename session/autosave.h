#pragma once

#include <atomic>
#include <memory>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QThreadPool>

#include "platform/appdir.h"

class CardDocument;
class QLockFile;

// A copy of the card being edited, kept while it has unsaved changes so that a crash, a killed
// process or a logout loses nothing. Each running instance owns one file of its own name,
// card-<uuid>.plk in the autosave folder, and holds a lock beside it for as long as it runs; a file
// whose lock nobody holds was left behind by an instance that ended without closing. A card that
// belongs to a file of the user's names it in card-<uuid>.origin beside the copy.
class CAutoSave {
public:
    explicit CAutoSave(const QString& strFolder = AutoSaveFolder());
    // Waits for a write in flight.
    ~CAutoSave();
    CAutoSave(const CAutoSave&) = delete;
    CAutoSave& operator=(const CAutoSave&) = delete;

    // Turns the card into its file here and writes that to this instance's copy on a worker thread,
    // replacing the copy only once complete; strOrigin is the user's file the card belongs to, empty
    // for a card never saved. Never touches the user's own files. A write still waiting when a newer
    // one is asked for is dropped, so the copy never goes back to an older card. False when the card
    // cannot be turned into a file (it has no size yet, or memory ran out).
    bool Save(const CardDocument& doc, const QString& strOrigin, const QString& strAppDir = GetAppDir());
    // Returns once the writes asked for so far are on disk (or have failed).
    void WaitForWrite();
    // The card was saved or closed: its copy goes, and no write still waiting brings it back.
    void Remove();
    const QString& Path() const { return m_strPath; }

    // $XDG_STATE_HOME/velomira/autosave/ (by default ~/.local/state), ending in "/".
    static QString AutoSaveFolder();
    // The copies left by instances that are no longer running, oldest first.
    static QStringList Orphans(const QString& strFolder = AutoSaveFolder());
    // The user's file the card of a copy belongs to, empty when it never had one.
    static QString OriginOf(const QString& strCopy);
    // Deletes a copy with what it says about its card.
    static void Discard(const QString& strCopy);

private:
    QString m_strPath;
    std::unique_ptr<QLockFile> m_pLock;
    // One worker, so writes reach the disk in the order they were asked for.
    QThreadPool m_pool;
    // The number of the latest write asked for; Remove moves it on to cancel writes still waiting.
    std::atomic<quint64> m_nLatest {0};
};
