#include "platform/imageio.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
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

// The longest side that smooth resampling is trusted with.
constexpr int kSmoothSide = 1 << 16;

std::atomic<qint64> g_nDecodes {0};

// Pixels that decodes on all threads may hold at once: one picture of the largest size allowed, or
// several smaller ones side by side.
constexpr qint64 kDecodeBudgetPixels = qint64(160) << 20;

// Holds a decode's pixels against the shared budget while it runs.
class DecodeTicket {
public:
    explicit DecodeTicket(qint64 nPixels)
        : m_nPixels(nPixels)
    {
        PictureDecodeBudget().Acquire(m_nPixels);
    }
    ~DecodeTicket() { PictureDecodeBudget().Release(m_nPixels); }
    DecodeTicket(const DecodeTicket&) = delete;
    DecodeTicket& operator=(const DecodeTicket&) = delete;

private:
    qint64 m_nPixels;
};

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

DecodeBudget::DecodeBudget(qint64 nBudget)
    : m_nBudget(nBudget)
{
}

void DecodeBudget::Acquire(qint64 nPixels)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_nInFlight == 0 || m_nInFlight + nPixels <= m_nBudget; });
    m_nInFlight += nPixels;
}

void DecodeBudget::Release(qint64 nPixels)
{
    {
        const std::lock_guard lock(m_mutex);
        m_nInFlight -= nPixels;
    }
    m_changed.notify_all();
}

qint64 DecodeBudget::InFlight() const
{
    const std::lock_guard lock(m_mutex);
    return m_nInFlight;
}

DecodeBudget& PictureDecodeBudget()
{
    static DecodeBudget budget(kDecodeBudgetPixels);
    return budget;
}

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

QImage ScaledPicture(const QImage& image, QSize szTarget)
{
    if (image.isNull() || image.size() == szTarget)
        return image;
    if (szTarget.width() > kSmoothSide || szTarget.height() > kSmoothSide)
        return image.scaled(szTarget, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    // A few source pixels per target pixel are kept for the averaging.
    const auto within
        = [](int nSide, int nTarget) { return nSide <= kSmoothSide ? nSide : std::min(kSmoothSide, 4 * nTarget); };
    const QSize szWithin(within(image.width(), szTarget.width()), within(image.height(), szTarget.height()));
    QImage source
        = szWithin == image.size() ? image : image.scaled(szWithin, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    // Qt averages palette pictures into black and white: they are averaged in true colour.
    if (source.format() == QImage::Format_Mono || source.format() == QImage::Format_MonoLSB
        || source.format() == QImage::Format_Indexed8)
        source = source.convertToFormat(
            source.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    return source.scaled(szTarget, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
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
    // Only JPEG decodes at a reduced size (DCT scaling). Other readers decode whole and resample
    // themselves, and Qt's PNG reader turns a one-bit picture into black-and-white noise when it does.
    const bool bDecodeReduced
        = bReduce && reader.format() == "jpeg" && reader.supportsOption(QImageIOHandler::ScaledSize);
    if (bDecodeReduced)
        reader.setScaledSize(bSwap ? szTarget.transposed() : szTarget);

    // What the decode holds at its peak: the decoded picture (a reduced decode can be up to twice the
    // target on each side before it is brought to size) and the resampled copy.
    const qint64 nRaw = raw.isValid() ? qint64(raw.width()) * raw.height() : 0;
    const qint64 nTarget = bReduce ? qint64(szTarget.width()) * szTarget.height() : 0;
    const qint64 nDecoded = bDecodeReduced ? std::min(nRaw, 4 * nTarget) : nRaw;
    const DecodeTicket ticket(nDecoded + nTarget);
    QImage image = reader.read();
    ++g_nDecodes;
    if (image.isNull())
        return QImage();
    if (bReduce && image.size() != szTarget)
        image = ScaledPicture(image, szTarget);
    if (pFullSize)
        *pFullSize = upright.isValid() ? upright : image.size();
    return image;
}
