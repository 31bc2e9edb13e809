#include "document/sharedpictures.h"

#include <mutex>
#include <unordered_map>

#include <QDateTime>
#include <QFileInfo>

#include "document/thedata.h"

namespace {

struct WorkingEntry {
    QImage image;
    QSize szFull;
};

struct Cache {
    std::mutex mutex;
    std::unordered_map<QString, WorkingEntry> working;
    std::unordered_map<QString, QImage> display;
    qint64 nDisplayPixels = 0;
};

Cache& TheCache()
{
    static Cache cache;
    return cache;
}

qint64 PixelsOf(const QImage& image)
{
    return qint64(image.width()) * image.height();
}

// Whether only the cache holds the picture's pixels.
bool Unused(const QImage& image)
{
    return image.isNull() || image.isDetached();
}

void DropUnusedWorkingCopies(Cache& cache)
{
    std::erase_if(cache.working, [](const auto& entry) { return Unused(entry.second.image); });
}

} // namespace

QString FileStamp(const QString& strPath)
{
    const QFileInfo info(strPath);
    return QString::number(info.size()) + QLatin1Char('@') + QString::number(info.lastModified().toMSecsSinceEpoch());
}

QImage SharedWorkingCopy(const QString& strPath, QSize* pFullSize)
{
    Cache& cache = TheCache();
    const QString strKey = FileStamp(strPath) + QLatin1Char('|') + strPath;
    {
        const std::lock_guard lock(cache.mutex);
        if (const auto it = cache.working.find(strKey); it != cache.working.end()) {
            if (pFullSize)
                *pFullSize = it->second.szFull;
            return it->second.image;
        }
    }
    QSize szFull;
    QImage image = ReadWorkingCopy(strPath, &szFull);
    if (pFullSize)
        *pFullSize = szFull;
    if (image.isNull())
        return image;
    const std::lock_guard lock(cache.mutex);
    DropUnusedWorkingCopies(cache);
    cache.working[strKey] = {image, szFull};
    return image;
}

QImage FindDisplayPicture(const QString& strKey)
{
    Cache& cache = TheCache();
    const std::lock_guard lock(cache.mutex);
    const auto it = cache.display.find(strKey);
    return it == cache.display.end() ? QImage() : it->second;
}

void KeepDisplayPicture(const QString& strKey, const QImage& image)
{
    if (image.isNull())
        return;
    Cache& cache = TheCache();
    const std::lock_guard lock(cache.mutex);
    auto [it, bAdded] = cache.display.try_emplace(strKey, image);
    if (!bAdded) {
        cache.nDisplayPixels -= PixelsOf(it->second);
        it->second = image;
    }
    cache.nDisplayPixels += PixelsOf(image);
}

void ForgetDisplayPicture(const QString& strKey)
{
    if (strKey.isEmpty())
        return;
    Cache& cache = TheCache();
    const std::lock_guard lock(cache.mutex);
    const auto it = cache.display.find(strKey);
    if (it == cache.display.end() || !Unused(it->second))
        return;
    cache.nDisplayPixels -= PixelsOf(it->second);
    cache.display.erase(it);
}

void DropUnusedPictures()
{
    Cache& cache = TheCache();
    const std::lock_guard lock(cache.mutex);
    DropUnusedWorkingCopies(cache);
    for (auto it = cache.display.begin(); it != cache.display.end();) {
        if (Unused(it->second)) {
            cache.nDisplayPixels -= PixelsOf(it->second);
            it = cache.display.erase(it);
        } else {
            ++it;
        }
    }
}

qint64 DisplayPixelsInUse()
{
    Cache& cache = TheCache();
    const std::lock_guard lock(cache.mutex);
    return cache.nDisplayPixels;
}
