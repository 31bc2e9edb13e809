#include "platform/imageio.h"

#include <atomic>
#include <cmath>
#include <memory>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QImageIOHandler>
#include <QImageReader>

namespace {

constexpr int kAllocationLimitMb = 512;

std::atomic<qint64> g_nDecodes {0};

void EnsureAllocationLimit()
{
    static std::once_flag once;
    std::call_once(once, [] { QImageReader::setAllocationLimit(kAllocationLimitMb); });
}

// Opens a picture for reading, or nothing. Only a regular file is opened, and without waiting: opening
// a FIFO for reading would block until a writer comes, a device may never end. The reader gets the
// opened file, not the name, so it never tries the name with other extensions either.
std::unique_ptr<QFile> OpenPictureFile(const QString& strPath)
{
    if (strPath.isEmpty())
        return nullptr;
    const int fd = ::open(QFile::encodeName(strPath).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat info { };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || ::fcntl(fd, F_SETFL, O_RDONLY) != 0) {
        ::close(fd);
        return nullptr;
    }
    auto pFile = std::make_unique<QFile>();
    if (!pFile->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return nullptr;
    }
    return pFile;
}

bool SwapsAxes(const QImageReader& reader)
{
    return reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
}

} // namespace

qint64 PictureDecodeCount()
{
    return g_nDecodes;
}

qint64 MaxPicturePixels()
{
    return qint64(kAllocationLimitMb) * 1024 * 1024 / 4;
}

QSize ReadPictureSize(const QString& strPath)
{
    const std::unique_ptr<QFile> pFile = OpenPictureFile(strPath);
    if (!pFile)
        return QSize();
    EnsureAllocationLimit();
    QImageReader reader(pFile.get());
    reader.setAutoTransform(true);
    const QSize raw = reader.size();
    if (!raw.isValid() || raw.isEmpty())
        return QSize();
    return SwapsAxes(reader) ? raw.transposed() : raw;
}

QSize BitmapSize(double w, double h)
{
    constexpr double kMaxBitmapPixels = double(1 << 29);
    if (!std::isfinite(w) || !std::isfinite(h) || w < 1 || h < 1 || w * h > kMaxBitmapPixels)
        return QSize();
    return QSize(int(w), int(h));
}

QImage ReadPicture(const QString& strPath, QSize szTarget, QSize* pFullSize)
{
    return ReadPictureFor(
        strPath, [szTarget](QSize) { return szTarget; }, pFullSize);
}

QImage ReadPictureFor(const QString& strPath, const std::function<QSize(QSize)>& targetFor, QSize* pFullSize)
{
    EnsureAllocationLimit();
    if (pFullSize)
        *pFullSize = QSize();
    const std::unique_ptr<QFile> pFile = OpenPictureFile(strPath);
    if (!pFile)
        return QImage();
    QImageReader reader(pFile.get());
    reader.setAutoTransform(true);
    const QSize raw = reader.size();
    const bool bSwap = raw.isValid() && SwapsAxes(reader);
    const QSize upright = bSwap ? raw.transposed() : raw;
    const QSize szTarget = targetFor(upright);
    // A header that declares more pixels than may ever be decoded is refused outright, even when a
    // reduced decode would fit: the file is not a picture anyone can have taken.
    if (raw.isValid() && qint64(raw.width()) * raw.height() > MaxPicturePixels())
        return QImage();

    const bool bReduce = raw.isValid() && szTarget.isValid() && !szTarget.isEmpty()
        && szTarget.width() <= upright.width() && szTarget.height() <= upright.height() && szTarget != upright;
    if (bReduce && reader.supportsOption(QImageIOHandler::ScaledSize))
        reader.setScaledSize(bSwap ? szTarget.transposed() : szTarget);

    QImage image = reader.read();
    ++g_nDecodes;
    if (image.isNull())
        return QImage();
    if (bReduce && image.size() != szTarget)
        image = image.scaled(szTarget, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (pFullSize)
        *pFullSize = upright.isValid() ? upright : image.size();
    return image;
}
