#include <gtest/gtest.h>

#include <link.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>

#include "platform/fitrect.h"
#include "platform/imageio.h"
#include "platform/pictureext.h"
#include "platform/quality.h"
#include "platform/skinpicture.h"
#include "tests/testsupport.h"

namespace {

// A JPEG whose EXIF orientation tag says "turn 90 degrees clockwise to show" (value 6): the stored
// pixels are landscape, the picture as taken is portrait.
QByteArray JpegWithOrientation(const QImage& stored, quint16 nOrientation)
{
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    stored.save(&buffer, "JPEG", 95);
    QByteArray tiff("II*\0", 4);
    const char ifd[] = {8, 0, 0, 0, // offset of the first directory
        1, 0, // one entry
        0x12, 0x01, 3, 0, 1, 0, 0, 0, // orientation, SHORT, count 1
        char(nOrientation & 0xFF), char(nOrientation >> 8), 0, 0, // value
        0, 0, 0, 0}; // no next directory
    tiff.append(ifd, sizeof(ifd));
    QByteArray app1 = QByteArray("Exif\0\0", 6) + tiff;
    const int nLength = int(app1.size()) + 2;
    QByteArray segment("\xFF\xE1", 2);
    segment.append(char(nLength >> 8));
    segment.append(char(nLength & 0xFF));
    segment.append(app1);
    return jpeg.left(2) + segment + jpeg.mid(2);
}

// A picture whose last pixel ends exactly where an unreadable page begins, so that reading past its
// end crashes instead of going unnoticed.
class GuardedPicture {
public:
    GuardedPicture(int w, int h, QRgb colour)
    {
        const size_t nPage = size_t(sysconf(_SC_PAGESIZE));
        const size_t nBytes = size_t(w) * 4 * size_t(h);
        m_nMapped = ((nBytes + nPage - 1) / nPage + 1) * nPage;
        void* pBase = mmap(nullptr, m_nMapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (pBase == MAP_FAILED)
            return;
        m_pBase = static_cast<uchar*>(pBase);
        mprotect(m_pBase + m_nMapped - nPage, nPage, PROT_NONE);
        image = QImage(m_pBase + m_nMapped - nPage - nBytes, w, h, w * 4, QImage::Format_RGB32);
        image.fill(colour);
    }
    ~GuardedPicture()
    {
        image = QImage();
        if (m_pBase)
            munmap(m_pBase, m_nMapped);
    }
    GuardedPicture(const GuardedPicture&) = delete;
    GuardedPicture& operator=(const GuardedPicture&) = delete;

    QImage image;

private:
    uchar* m_pBase = nullptr;
    size_t m_nMapped = 0;
};

} // namespace

struct FitCase {
    int sw, sh, bw, bh;
    FitResult expected;
};

void PrintTo(const FitCase& c, std::ostream* pOut)
{
    *pOut << c.sw << "x" << c.sh << " into " << c.bw << "x" << c.bh;
}

class FitRectTest : public ::testing::TestWithParam<FitCase> { };

TEST_P(FitRectTest, LargestCentredRectangleOfTheSourceAspect)
{
    const FitCase& c = GetParam();
    EXPECT_EQ(FitRect(c.sw, c.sh, c.bw, c.bh), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, FitRectTest,
    ::testing::Values(FitCase {400, 300, 800, 600, {0, 0, 800, 600}}, // same aspect
        FitCase {1000, 500, 800, 600, {0, 100, 800, 500}}, // wider source: bands above and below
        FitCase {300, 600, 800, 600, {250, 0, 550, 600}}, // taller source: bands left and right
        FitCase {3, 1, 100, 100, {0, 33, 100, 66}}, // g = trunc(33.33) = 33, halvings truncate
        FitCase {0, 300, 800, 600, {}}, FitCase {400, 0, 800, 600, {}}, FitCase {400, 300, 0, 600, {}},
        FitCase {400, 300, 800, 0, {}}, FitCase {-4, 3, 8, 6, {}}));

TEST(PictureExtension, AcceptsTheSevenExtensionsIgnoringCase)
{
    for (const char* psz : {"a.bmp", "a.JPEG", "dir.x/a.jpg", "a.Png", "a.gif", "a.TIF", "a.tiff"})
        EXPECT_TRUE(IsPictureExtension(QString::fromLatin1(psz))) << psz;
    for (const char* psz : {"a.webp", "jpg", "a.jpg.txt", "a.", "a.plk", "folder.jpg/file"})
        EXPECT_FALSE(IsPictureExtension(QString::fromLatin1(psz))) << psz;
}

TEST(DecodeBudget, ADecodeWaitsForOthersToMakeRoomButNeverForItself)
{
    DecodeBudget budget(100);
    budget.Acquire(150);
    std::atomic<bool> bAdmitted {false};
    std::thread waiter([&] {
        budget.Acquire(10);
        bAdmitted = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(bAdmitted);
    budget.Release(150);
    waiter.join();
    budget.Acquire(90);
    EXPECT_EQ(budget.InFlight(), 100);

    TestFiles files;
    EXPECT_FALSE(ReadPicture(files.solid(QStringLiteral("a.png"), 300, 200, Qt::red), QSize(30, 20)).isNull());
    EXPECT_EQ(PictureDecodeBudget().InFlight(), 0) << "every read gives its pixels back";
}

TEST(BackBuffer, HasThePhysicalPixelsOfTheLogicalSizeAtTheRatio)
{
    const QImage buffer = NewBackBuffer(QSize(101, 50), 1.25);
    EXPECT_EQ(buffer.size(), QSize(127, 63));
    EXPECT_EQ(buffer.devicePixelRatio(), 1.25);
    EXPECT_EQ(NewBackBuffer(QSize(10, 10), 2).deviceIndependentSize(), QSizeF(10, 10));
    EXPECT_TRUE(NewBackBuffer(QSize(0, 10), 2).isNull());
    // The logical rectangle over every pixel: 127 x 63 pixels at 1.25 are 101.6 x 50.4.
    EXPECT_EQ(BufferRect(buffer), QRectF(0, 0, 101.6, 50.4));
    EXPECT_EQ(DeviceSize(QSize(30, 40), 1.5), QSize(45, 60));
}

TEST(SkinPicture, TheTwiceSizePictureIsTakenAboveRatioOneWhenItReads)
{
    EXPECT_EQ(SkinPath2x(QStringLiteral("/p/Skins/new.bmp")), QStringLiteral("/p/Skins/new@2x.bmp"));
    EXPECT_EQ(SkinPath2x(QStringLiteral("/p.q/Skins/band")), QStringLiteral("/p.q/Skins/band@2x"));
    EXPECT_EQ(SkinPath2x(QStringLiteral("/p/a.b.png")), QStringLiteral("/p/a.b@2x.png"));

    // Blue 1x pictures, green @2x ones; "broken" has an @2x file that is no picture, "gone" has no 1x.
    TestFiles files;
    for (const char* psz : {"plain.png", "both.png", "broken.png"})
        files.solid(QString::fromLatin1(psz), 10, 6, Qt::blue);
    files.solid(QStringLiteral("both@2x.png"), 20, 12, Qt::green);
    files.solid(QStringLiteral("gone@2x.png"), 20, 12, Qt::green);
    files.bytes(QStringLiteral("broken@2x.png"), "not a picture");
    struct Case {
        const char* pszFile;
        qreal dRatio;
        QSize size; // empty: no picture
        qreal dPictureRatio;
    };
    const Case kCases[] = {{"both.png", 1.0, QSize(10, 6), 1}, {"both.png", 1.25, QSize(20, 12), 2},
        {"both.png", 2.0, QSize(20, 12), 2}, {"both.png", 3.0, QSize(20, 12), 2}, {"plain.png", 2.0, QSize(10, 6), 1},
        {"broken.png", 2.0, QSize(10, 6), 1}, {"gone.png", 1.0, QSize(), 1}, {"gone.png", 2.0, QSize(20, 12), 2},
        {"none.png", 2.0, QSize(), 1}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.pszFile) + " at " + std::to_string(c.dRatio));
        const QString strPath = files.path(QString::fromLatin1(c.pszFile));
        const SkinPicture skin(strPath);
        // The picture read once and the picture read on every paint are the same choice.
        for (const QImage& picture : {ReadSkin(strPath, c.dRatio), skin.ForRatio(c.dRatio)}) {
            EXPECT_EQ(picture.size(), c.size.isEmpty() ? QSize(0, 0) : c.size);
            if (!c.size.isEmpty()) {
                EXPECT_EQ(picture.devicePixelRatio(), c.dPictureRatio);
                EXPECT_EQ(picture.deviceIndependentSize(), QSizeF(10, 6));
            }
        }
    }
}

TEST(ImageIo, OrientationTagIsAppliedToPixelsAndSizes)
{
    TestFiles files;
    QImage stored(80, 40, QImage::Format_RGB32);
    stored.fill(Qt::white);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 20; ++x)
            stored.setPixel(x, y, qRgb(255, 0, 0)); // red on the stored left
    const QString strPath = files.bytes("tagged.jpg", JpegWithOrientation(stored, 6));

    EXPECT_EQ(ReadPictureSize(strPath), QSize(40, 80));
    QSize full;
    const QImage upright = ReadPicture(strPath, QSize(), &full);
    EXPECT_EQ(full, QSize(40, 80));
    ASSERT_EQ(upright.size(), QSize(40, 80));
    // Turned clockwise, the stored left edge becomes the top.
    EXPECT_GT(qRed(upright.pixel(20, 3)), 200);
    EXPECT_LT(qGreen(upright.pixel(20, 3)), 60);
    EXPECT_GT(qGreen(upright.pixel(20, 76)), 200);

    // A reduced decode is asked for in upright terms and delivered upright.
    const QImage reduced = ReadPicture(strPath, QSize(20, 40));
    ASSERT_EQ(reduced.size(), QSize(20, 40));
    EXPECT_GT(qRed(reduced.pixel(10, 2)), 200);
    EXPECT_LT(qGreen(reduced.pixel(10, 2)), 80);
}

TEST(ImageIo, ReducedDecodeMatchesTheFullDecodeScaledDown)
{
    TestFiles files;
    const QString strPath = files.photo("big.jpg", 2000, 1500);
    QSize full;
    const QImage reduced = ReadPicture(strPath, QSize(500, 375), &full);
    EXPECT_EQ(full, QSize(2000, 1500));
    ASSERT_EQ(reduced.size(), QSize(500, 375));
    const QImage reference = ReadPicture(strPath).scaled(500, 375, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_LT(MeanAbsDiff(reduced, reference), 2.0);
    // A target larger than the file, or not given, reads the file at its own size.
    EXPECT_EQ(ReadPicture(strPath, QSize(4000, 3000)).size(), QSize(2000, 1500));
}

TEST(ImageIo, ReducedReadsKeepTheColoursOfPalettePictures)
{
    // One colour in a one-bit and an eight-bit palette, and in true colour: a reduced read (a thumbnail,
    // a working copy) shows that colour, not Qt's PNG reader's black-and-white noise.
    TestFiles files;
    const QRgb orange = qRgb(255, 128, 0);
    QImage mono(400, 300, QImage::Format_Mono);
    mono.setColorTable({orange, qRgb(0, 0, 0)});
    mono.fill(0);
    QImage indexed(400, 300, QImage::Format_Indexed8);
    indexed.setColorTable({orange, qRgb(0, 0, 255), qRgb(0, 255, 0)});
    indexed.fill(0);
    QImage rgb(400, 300, QImage::Format_RGB32);
    rgb.fill(orange);
    for (const auto& [pszName, picture] : {std::pair {"mono.png", mono}, {"indexed.png", indexed}, {"rgb.png", rgb},
             {"mono.bmp", mono}, {"indexed.bmp", indexed}}) {
        const QImage reduced = ReadPicture(files.write(QLatin1String(pszName), picture), QSize(40, 30));
        ASSERT_EQ(reduced.size(), QSize(40, 30)) << pszName;
        for (const QPoint pt : {QPoint(5, 5), QPoint(6, 5), QPoint(20, 15)})
            EXPECT_EQ(reduced.pixel(pt) | 0xFF000000, orange) << pszName << " at " << pt;
    }
}

// Found by the picture fuzzer: a BMP of 48 x 851968 pixels, reduced to its working copy, made the
// smooth reduction read past the picture's end. Every row is a sliver of that kind or a plain photo.
TEST(ImageIo, ScaledPictureStaysInsideThePicture)
{
    struct Case {
        QSize picture;
        QSize target;
    };
    const Case cases[] = {
        {{48, 851968}, {30, 532480}},
        {{48, 851968}, {17, 13}},
        {{1, 851968}, {1, 851967}},
        {{851968, 1}, {567978, 1}},
        {{2, 300000}, {2, 299999}},
        {{1, 600000}, {1, 40000}},
        {{4000, 3000}, {600, 450}},
        {{30, 20}, {90, 60}},
    };
    const QRgb colour = qRgb(200, 120, 40);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.picture.width() << " x " << c.picture.height() << " to "
                                        << c.target.width() << " x " << c.target.height());
        const GuardedPicture picture(c.picture.width(), c.picture.height(), colour);
        ASSERT_FALSE(picture.image.isNull());
        const QImage scaled = ScaledPicture(picture.image, c.target);
        ASSERT_EQ(scaled.size(), c.target);
        EXPECT_EQ(scaled.pixel(0, 0), colour);
        EXPECT_EQ(scaled.pixel(c.target.width() - 1, c.target.height() - 1), colour);
    }
}

TEST(ImageIo, BadFilesReadAsNothing)
{
    TestFiles files;
    const QString strGood = files.photo("good.jpg", 300, 200);
    QFile good(strGood);
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    const QByteArray jpeg = good.readAll();

    // A PNG header declaring 60000 x 60000 pixels, followed by nothing useful.
    QByteArray huge("\x89PNG\r\n\x1a\n", 8);
    const char ihdr[]
        = {0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, char(0xEA), 0x60, 0, 0, char(0xEA), 0x60, 8, 6, 0, 0, 0, 0, 0, 0, 0};
    huge.append(ihdr, sizeof(ihdr));
    huge.append(QByteArray(1000, '\0'));

    const QStringList paths = {
        files.path("missing.jpg"),
        files.bytes("truncated.jpg", jpeg.left(jpeg.size() / 3)),
        files.bytes("text.png", "this is not a picture"),
        files.bytes("empty.bmp", QByteArray()),
        files.bytes("huge.png", huge),
    };
    for (const QString& strPath : paths) {
        SCOPED_TRACE(strPath.toStdString());
        const QImage image = ReadPicture(strPath, QSize(100, 100));
        // A truncated JPEG may decode partially (the rest grey); nothing is ever larger than asked.
        EXPECT_LE(image.width(), 100);
        EXPECT_LE(image.height(), 100);
    }
    EXPECT_TRUE(ReadPicture(files.path("missing.jpg")).isNull());
    EXPECT_TRUE(ReadPicture(paths[2]).isNull());
    EXPECT_TRUE(ReadPicture(paths[4]).isNull());
    EXPECT_TRUE(ReadPicture(paths[4], QSize(60, 60)).isNull());
    EXPECT_FALSE(ReadPictureSize(paths[2]).isValid());
    // The allocation limit stays on: the reader refuses the absurd header by itself too.
    EXPECT_GT(QImageReader::allocationLimit(), 0);
}

TEST(ImageIo, OnlyRegularFilesAreReadAndNamesAreTakenAsTheyStand)
{
    TestFiles files;
    files.solid("cake.png", 40, 30, Qt::red);
    const QString strFifo = files.path("pipe.png");
    ASSERT_EQ(::mkfifo(QFile::encodeName(strFifo).constData(), 0600), 0);
    QFile::link(files.path("gone.png"), files.path("dangling.png"));
    QDir().mkpath(files.path("folder.png"));
    const QString cases[] = {
        strFifo, // would block an open for reading until a writer came
        files.path("folder.png"), QStringLiteral("/dev/zero"), files.path("dangling.png"),
        files.path("cake"), // not cake.png
    };
    for (const QString& strPath : cases) {
        SCOPED_TRACE(strPath.toStdString());
        EXPECT_FALSE(ReadPictureSize(strPath).isValid());
        EXPECT_TRUE(ReadPicture(strPath).isNull());
        EXPECT_TRUE(ReadPicture(strPath, QSize(10, 10)).isNull());
    }
    EXPECT_EQ(ReadPicture(files.path("cake.png")).size(), QSize(40, 30));
}

// The programs load the JPEG library at start (see the top-level CMakeLists.txt), so its thread-local
// state sits in the static TLS block: a new thread has it before touching it, whereas a library Qt's
// plug-ins load later gets a block malloc'ed on first use, which LeakSanitizer can misread.
TEST(ImageIo, TheJpegLibraryThreadStateIsStatic)
{
    struct Found {
        bool bLoaded = false;
        bool bStatic = false;
    } found;
    std::thread([&found] {
        dl_iterate_phdr(
            [](dl_phdr_info* pInfo, size_t, void* pData) {
                auto& f = *static_cast<Found*>(pData);
                if (pInfo->dlpi_name && std::strstr(pInfo->dlpi_name, "/libjpeg.so")) {
                    f.bLoaded = true;
                    f.bStatic = pInfo->dlpi_tls_data != nullptr;
                }
                return 0;
            },
            &found);
    }).join();
    EXPECT_TRUE(found.bLoaded);
    EXPECT_TRUE(found.bStatic);
}

// A JPEG is decoded at the smallest eighth of its size whose sides, rounded up as libjpeg rounds
// them, still cover the size it is drawn at on both sides.
TEST(ImageIo, JpegScaleIsTheSmallestEighthThatCoversTheDrawnSize)
{
    struct Case {
        QSize file;
        QSize drawn;
        int nEighths;
    };
    const Case cases[] = {
        {{4000, 3000}, {500, 375}, 1},
        {{4000, 3000}, {501, 375}, 2},
        {{4000, 3000}, {1000, 750}, 2},
        {{4000, 3000}, {1001, 700}, 3},
        {{4000, 3000}, {700, 1126}, 4}, // the taller side decides
        {{4000, 3000}, {3500, 2625}, 7},
        {{4000, 3000}, {3501, 2000}, 8},
        {{4000, 3000}, {4000, 3000}, 8},
        {{4000, 3000}, {8000, 6000}, 8}, // drawn larger: the whole file
        {{1001, 999}, {126, 125}, 1}, // ceil(1001 / 8) = 126, ceil(999 / 8) = 125
        {{1001, 999}, {126, 126}, 2},
        {{7, 5}, {1, 1}, 1},
        {{3000, 2000}, {0, 0}, 8},
        {{0, 0}, {10, 10}, 8},
    };
    for (const Case& c : cases)
        EXPECT_EQ(JpegScaleFor(c.file, c.drawn), c.nEighths) << c.file << " drawn " << c.drawn;
}

// JPEG files are decoded by libjpeg straight into the bitmap: the pixels Qt's own reader gives, at full
// size, reduced, in grey and turned by the camera's tag.
TEST(ImageIo, JpegDecodedDirectlyMatchesQtsReader)
{
    TestFiles files;
    const QString strPhoto = files.photo("photo.jpg", 1203, 901);
    QImage grey = QImage(strPhoto).convertToFormat(QImage::Format_Grayscale8);
    const QString strGrey = files.write("grey.jpg", grey, 90);
    QImage stored = QImage(strPhoto).scaled(300, 200);
    const QString strTagged = files.bytes("tagged.jpg", JpegWithOrientation(stored, 6));
    for (const QString& strPath : {strPhoto, strGrey, strTagged}) {
        QImageReader reader(strPath);
        reader.setAutoTransform(true);
        const QImage expected = reader.read();
        ASSERT_FALSE(expected.isNull()) << strPath;
        const QImage actual = ReadPicture(strPath);
        ASSERT_EQ(actual.size(), expected.size()) << strPath;
        EXPECT_EQ(actual.isGrayscale(), expected.isGrayscale()) << strPath;
        EXPECT_LT(MeanAbsDiff(actual, expected), 0.01) << strPath;
        const QSize half = expected.size() / 2;
        EXPECT_LT(MeanAbsDiff(ReadPicture(strPath, half),
                      expected.scaled(half, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)),
            2.0)
            << strPath;
    }
}
