#include "platform/imageio.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <limits>
#include <memory>
#include <mutex>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QImageIOHandler>
#include <QImageReader>
#include <QTransform>

#include "platform/jpegerrors.h"

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

// Bitmaps from this size on get a mapping of their own.
constexpr qsizetype kMappedBytes = qsizetype(2) << 20;

struct Mapping {
    void* pStart;
    size_t nLength;
};

void Unmap(void* pInfo)
{
    const auto* pMapping = static_cast<Mapping*>(pInfo);
    ::munmap(pMapping->pStart, pMapping->nLength);
    delete pMapping;
}

// What one decode keeps beside libjpeg's state.
struct JpegDecode {
    jpeg_decompress_struct info {};
    JpegErrorJump errors;
    QImage image;
};

// Decodes the JPEG at nScale / 8 of its size straight into a 32-bit RGB bitmap (an 8-bit grey one for
// a grey file), with libjpeg's accurate defaults as Qt's reader uses them. Null when the file is
// damaged, or in a colour space (CMYK) left to Qt's reader.
void DecodeJpegInto(JpegDecode& decode, const uchar* pBytes, qint64 nBytes, int nScale)
{
    jpeg_decompress_struct& info = decode.info;
    UseJpegErrorJump(reinterpret_cast<j_common_ptr>(&info), decode.errors);
    jpeg_create_decompress(&info);
    if (setjmp(decode.errors.jump)) {
        decode.image = QImage();
        jpeg_destroy_decompress(&info);
        return;
    }
    jpeg_mem_src(&info, pBytes, static_cast<unsigned long>(nBytes));
    jpeg_read_header(&info, TRUE);
    const bool bGrey = info.jpeg_color_space == JCS_GRAYSCALE;
    if (!bGrey && info.jpeg_color_space != JCS_YCbCr && info.jpeg_color_space != JCS_RGB) {
        jpeg_destroy_decompress(&info);
        return;
    }
    info.out_color_space = bGrey ? JCS_GRAYSCALE : JCS_EXT_BGRX;
    info.scale_num = unsigned(std::clamp(nScale, 1, 8));
    info.scale_denom = 8;
    jpeg_start_decompress(&info);
    // The header was measured by Qt's reader; libjpeg's own reading of it is held to the same limit.
    if (qint64(info.output_width) * info.output_height > MaxPicturePixels()) {
        jpeg_destroy_decompress(&info);
        return;
    }
    decode.image = ZeroedBitmap(QSize(int(info.output_width), int(info.output_height)),
        bGrey ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    if (decode.image.isNull()) {
        jpeg_destroy_decompress(&info);
        return;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW pRow = decode.image.scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &pRow, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
}

// The picture turned upright as the reader's orientation says, in the order Qt applies it.
QImage Upright(QImage image, QImageIOHandler::Transformations transformation)
{
    if (transformation == QImageIOHandler::TransformationNone || image.isNull())
        return image;
    if (transformation == QImageIOHandler::TransformationRotate270)
        return image.transformed(QTransform().rotate(270));
    image = std::move(image).mirrored(transformation.testFlag(QImageIOHandler::TransformationMirror),
        transformation.testFlag(QImageIOHandler::TransformationFlip));
    if (transformation.testFlag(QImageIOHandler::TransformationRotate90))
        image = image.transformed(QTransform().rotate(90));
    return image;
}

// The JPEG file decoded by libjpeg at nScale / 8, upright; null where Qt's reader has to do it.
QImage ReadJpeg(QFile& file, const QImageReader& reader, int nScale)
{
    const qint64 nBytes = file.size();
    if (nBytes <= 0)
        return QImage();
    const uchar* pBytes = file.map(0, nBytes);
    if (!pBytes)
        return QImage();
    JpegDecode decode;
    DecodeJpegInto(decode, pBytes, nBytes, nScale);
    file.unmap(const_cast<uchar*>(pBytes));
    return Upright(std::move(decode.image), reader.transformation());
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

QImage ZeroedBitmap(QSize size, QImage::Format format)
{
    if (size.isEmpty() || format == QImage::Format_Invalid)
        return QImage();
    const int nDepth = QImage::toPixelFormat(format).bitsPerPixel();
    const qint64 nLine = (qint64(size.width()) * nDepth + 31) / 32 * 4;
    const qint64 nBytes = nLine * size.height();
    if (nLine > std::numeric_limits<int>::max() || nBytes < kMappedBytes) {
        QImage image(size, format);
        if (!image.isNull())
            image.fill(0);
        return image;
    }
    void* pStart = ::mmap(nullptr, size_t(nBytes), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (pStart == MAP_FAILED)
        return QImage();
    ::madvise(pStart, size_t(nBytes), MADV_HUGEPAGE);
    return QImage(static_cast<uchar*>(pStart), size.width(), size.height(), qsizetype(nLine), format, Unmap,
        new Mapping {pStart, size_t(nBytes)});
}

int JpegScaleFor(QSize szFile, QSize szTarget)
{
    if (szFile.isEmpty() || szTarget.isEmpty())
        return 8;
    // libjpeg's reduced sides are rounded up: ceil(side * n / 8).
    const auto covers = [](int nSide, int nTarget, int n) { return (qint64(nSide) * n + 7) / 8 >= nTarget; };
    for (int n = 1; n < 8; ++n) {
        if (covers(szFile.width(), szTarget.width(), n) && covers(szFile.height(), szTarget.height(), n))
            return n;
    }
    return 8;
}

QThreadPool& PictureThreads()
{
    static QThreadPool pool;
    return pool;
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
    const bool bJpeg = reader.format() == "jpeg";
    const bool bDecodeReduced = bReduce && bJpeg;
    // The smallest of libjpeg's eighths that still covers the target.
    const int nScale = bDecodeReduced ? JpegScaleFor(raw, bSwap ? szTarget.transposed() : szTarget) : 8;

    // What the decode holds at its peak: the decoded picture (a reduced decode can be up to twice the
    // target on each side before it is brought to size) and the resampled copy.
    const qint64 nRaw = raw.isValid() ? qint64(raw.width()) * raw.height() : 0;
    const qint64 nTarget = bReduce ? qint64(szTarget.width()) * szTarget.height() : 0;
    const qint64 nDecoded = bDecodeReduced ? std::min(nRaw, 4 * nTarget) : nRaw;
    const DecodeTicket ticket(nDecoded + nTarget);
    QImage image = bJpeg ? ReadJpeg(*pFile, reader, nScale) : QImage();
    if (image.isNull()) {
        if (bDecodeReduced)
            reader.setScaledSize(bSwap ? szTarget.transposed() : szTarget);
        image = reader.read();
    }
    ++g_nDecodes;
    if (image.isNull())
        return QImage();
    if (bReduce && image.size() != szTarget)
        image = ScaledPicture(image, szTarget);
    if (pFullSize)
        *pFullSize = upright.isValid() ? upright : image.size();
    return image;
}
