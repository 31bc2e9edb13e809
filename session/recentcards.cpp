#include "session/recentcards.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>

#include "document/carddocument.h"
#include "platform/wholefile.h"
#include "render/cardimage.h"

namespace {

// The list is a few lines; a larger file is not the program's and only its start is read.
constexpr qint64 kMaxListBytes = 64 * 1024;

QString Absolute(const QString& strPath)
{
    return QDir::cleanPath(QFileInfo(strPath).absoluteFilePath());
}

} // namespace

CRecentCards::CRecentCards(const QString& strFolder)
    : m_strFolder(strFolder)
{
}

QString CRecentCards::RecentFolder()
{
    QString strCache = qEnvironmentVariable("XDG_CACHE_HOME");
    // The XDG rules ignore a relative path.
    if (!strCache.startsWith(QLatin1Char('/')))
        strCache = QDir::homePath() + QStringLiteral("/.cache");
    return strCache + QStringLiteral("/velomira/recent/");
}

QString CRecentCards::ListPath() const
{
    return m_strFolder + QStringLiteral("recent.txt");
}

QStringList CRecentCards::Projects() const
{
    QFile file(ListPath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QStringList lines = QString::fromUtf8(file.read(kMaxListBytes)).split(QLatin1Char('\n'));
    QStringList projects;
    for (QString strLine : lines) {
        if (strLine.endsWith(QLatin1Char('\r')))
            strLine.chop(1);
        if (!strLine.startsWith(QLatin1Char('/')))
            continue;
        const QString strPath = QDir::cleanPath(strLine);
        if (projects.contains(strPath) || !QFileInfo(strPath).isFile())
            continue;
        projects << strPath;
        if (projects.size() == kMaxCards)
            break;
    }
    return projects;
}

QString CRecentCards::ThumbnailPath(const QString& strProject) const
{
    const QByteArray hash = QCryptographicHash::hash(Absolute(strProject).toUtf8(), QCryptographicHash::Sha1);
    return m_strFolder + QString::fromLatin1(hash.toHex()) + QStringLiteral(".jpg");
}

bool CRecentCards::Add(const QString& strProject)
{
    const QString strPath = Absolute(strProject);
    QStringList projects = Projects();
    projects.removeAll(strPath);
    projects.prepend(strPath);
    while (projects.size() > kMaxCards)
        projects.removeLast();
    if (!QDir().mkpath(m_strFolder))
        return false;
    if (!WriteWholeFile(ListPath(), (projects.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8()))
        return false;
    // Thumbnails of projects no longer listed go, whoever left them.
    QStringList kept;
    for (const QString& strKept : std::as_const(projects))
        kept << QFileInfo(ThumbnailPath(strKept)).fileName();
    const QStringList thumbnails = QDir(m_strFolder).entryList({QStringLiteral("*.jpg")}, QDir::Files);
    for (const QString& strName : thumbnails) {
        if (!kept.contains(strName))
            QFile::remove(m_strFolder + strName);
    }
    return true;
}

bool CRecentCards::WriteThumbnail(const QString& strProject, const CardDocument& doc) const
{
    if (doc.m_szClient.isEmpty())
        return false;
    const QSize size = doc.m_szClient.scaled(kThumbSide, kThumbSide, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    const QImage card = RenderCardBitmap(doc, size.width(), size.height());
    if (card.isNull())
        return false;
    QImage thumb(size, QImage::Format_RGB32);
    thumb.fill(Qt::white);
    QPainter(&thumb).drawImage(0, 0, card);
    if (!QDir().mkpath(m_strFolder))
        return false;
    QSaveFile file(ThumbnailPath(strProject));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, "jpeg");
    writer.setQuality(90);
    if (!writer.write(thumb) || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool CRecentCards::Remember(const QString& strProject, const CardDocument& doc, bool bRedraw)
{
    if (!Add(strProject))
        return false;
    if (bRedraw || !QFileInfo::exists(ThumbnailPath(strProject)))
        return WriteThumbnail(strProject, doc);
    return true;
}
