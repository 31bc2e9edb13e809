#pragma once

#include <QString>
#include <QStringList>

class CardDocument;

// The projects the user saved or opened last, newest first, for the template chooser's "Recent"
// item. The list is recent.txt in the recent folder, UTF-8, one absolute path a line; each project's
// thumbnail lies beside it as a JPEG named after a hash of the project's path. Needs no window: the
// chooser only shows what this reads.
class CRecentCards {
public:
    static constexpr int kMaxCards = 12;
    // Longer side of a thumbnail, as the library's template thumbnails have it.
    static constexpr int kThumbSide = 400;

    explicit CRecentCards(const QString& strFolder = RecentFolder());

    // $XDG_CACHE_HOME/velomira/recent/ (by default ~/.cache), ending in "/".
    static QString RecentFolder();

    // The listed projects that are still there, newest first, at most kMaxCards. A list file that is
    // damaged or not the program's gives whatever absolute paths of existing files it holds.
    QStringList Projects() const;
    // Where the project's thumbnail is kept, whether it has one yet or not.
    QString ThumbnailPath(const QString& strProject) const;
    // Puts the project first (once), drops the projects that are gone and those past kMaxCards with
    // their thumbnails, and writes the list. False when the list could not be written.
    bool Add(const QString& strProject);
    // Draws the card as the project's thumbnail, kThumbSide pixels on its longer side, and replaces the
    // old thumbnail only with a complete new one. False for a card with no size or a failed write.
    bool WriteThumbnail(const QString& strProject, const CardDocument& doc) const;
    // Add, with the thumbnail drawn when bRedraw is set or the project has none yet.
    bool Remember(const QString& strProject, const CardDocument& doc, bool bRedraw);

    const QString& Folder() const { return m_strFolder; }

private:
    QString ListPath() const;

    QString m_strFolder;
};
