#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QString>
#include <QTemporaryDir>

// A program folder in a temporary directory, with the resource tree Template/allresources/ below it.
// Pictures are drawn here; templates and project files are written as text or bytes.
class ResourceTree {
public:
    explicit ResourceTree(const QString& strSubFolder = QString())
    {
        m_strAppDir = m_dir.path() + QLatin1Char('/');
        if (!strSubFolder.isEmpty()) {
            m_strAppDir += strSubFolder + QLatin1Char('/');
            QDir().mkpath(m_strAppDir);
        }
    }

    // The program folder, ending in "/".
    const QString& appDir() const { return m_strAppDir; }
    // A path below the program folder.
    QString path(const QString& strRelative) const { return m_strAppDir + strRelative; }
    // A path below the resource folder Template/allresources/.
    QString resource(const QString& strRelative) const
    {
        return path(QStringLiteral("Template/allresources/") + strRelative);
    }

    // Writes a picture of one colour below the resource folder and returns its path.
    QString picture(const QString& strRelative, int nWidth, int nHeight) const
    {
        QImage image(nWidth, nHeight, QImage::Format_ARGB32);
        image.fill(QColor(40, 120, 200, 255));
        const QString strPath = resource(strRelative);
        QDir().mkpath(QFileInfo(strPath).path());
        image.save(strPath);
        return strPath;
    }

    // Writes bytes below the program folder and returns the path.
    QString bytes(const QString& strRelative, const QByteArray& data) const
    {
        const QString strPath = path(strRelative);
        QDir().mkpath(QFileInfo(strPath).path());
        QFile file(strPath);
        if (file.open(QIODevice::WriteOnly))
            file.write(data);
        return strPath;
    }

private:
    QTemporaryDir m_dir;
    QString m_strAppDir;
};

// The bytes of a UTF-16LE file with its byte-order mark, built from code units one by one.
inline QByteArray Utf16LeFile(const char16_t* pszText)
{
    QByteArray bytes("\xFF\xFE", 2);
    for (const char16_t* p = pszText; *p; ++p) {
        bytes.append(char(*p & 0xFF));
        bytes.append(char(*p >> 8));
    }
    return bytes;
}

inline QByteArray ReadAll(const QString& strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
