#pragma once

#include <memory>

#include <QString>
#include <QStringList>

#include "platform/appdir.h"

class CardDocument;
class QLockFile;

// A copy of the card being edited, kept while it has unsaved changes so that a crash, a killed
// process or a logout loses nothing. Each running instance owns one file of its own name,
// card-<uuid>.plk in the autosave folder, and holds a lock beside it for as long as it runs; a file
// whose lock nobody holds was left behind by an instance that ended without closing.
class CAutoSave {
public:
    explicit CAutoSave(const QString& strFolder = AutoSaveFolder());
    ~CAutoSave();
    CAutoSave(const CAutoSave&) = delete;
    CAutoSave& operator=(const CAutoSave&) = delete;

    // Writes the card to this instance's file, replacing it only once complete; never touches the
    // user's own files. False when it cannot be written.
    bool Save(const CardDocument& doc, const QString& strAppDir = GetAppDir());
    // The card was saved or closed: its copy goes.
    void Remove();
    const QString& Path() const { return m_strPath; }

    // $XDG_STATE_HOME/velomira/autosave/ (by default ~/.local/state), ending in "/".
    static QString AutoSaveFolder();
    // The copies left by instances that are no longer running, oldest first.
    static QStringList Orphans(const QString& strFolder = AutoSaveFolder());

private:
    QString m_strPath;
    std::unique_ptr<QLockFile> m_pLock;
};
