#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>

#include "document/carddocument.h"
#include "document/thedata.h"
#include "render/cardimage.h"
#include "tests/testsupport.h"

namespace {

// A 200 x 150 card: a photo background, a rotated clip-art star with transparent corners and a
// framed-looking element on top.
class ExportCard {
public:
    explicit ExportCard(bool bWithBackground = true)
    {
        m_doc.m_szClient = QSize(200, 150);
        if (bWithBackground)
            m_doc.m_strBackground = m_files.photo("background.jpg", 800, 600);

        QImage star(120, 120, QImage::Format_ARGB32);
        star.fill(Qt::transparent);
        QPainter painter(&star);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColor(220, 40, 90));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QRectF(10, 10, 100, 100));
        painter.end();
        AddElement(m_files.write("star.png", star), {30, 20, 60, 60}, 30);
        AddElement(m_files.photo("sticker.png", 90, 60), {110, 80, 60, 40}, 0);
    }

    QString path(const QString& strName) const { return m_files.path(strName); }

    CardDocument m_doc;
    TestFiles m_files;

private:
    void AddElement(const QString& strPath, const RectF& rc, double dAngle)
    {
        auto pObject = std::make_unique<TheData>();
        pObject->m_nType = OBJ_ELEMENT;
        pObject->m_strElement = strPath;
        pObject->m_rcObject = rc;
        pObject->m_dAngle = dAngle;
        m_doc.AddObject(std::move(pObject), 0);
    }
};

struct FormatCase {
    const char* pszName;
    const char* pszDecodedAs;
    double dMaxMeanError;
};

void PrintTo(const FormatCase& c, std::ostream* pOut)
{
    *pOut << c.pszName;
}

class CardImageFormatTest : public ::testing::TestWithParam<FormatCase> { };

} // namespace

TEST_P(CardImageFormatTest, WrittenFileDecodesToTheRenderedCard)
{
    const FormatCase& c = GetParam();
    ExportCard card;
    const QString strPath = card.path(QString::fromLatin1(c.pszName));
    QString strError;
    ASSERT_TRUE(SaveCardImage(card.m_doc, 300, 225, strPath, &strError)) << strError.toStdString();

    QImageReader reader(strPath);
    EXPECT_EQ(reader.format(), QByteArray(c.pszDecodedAs));
    const QImage decoded = reader.read();
    ASSERT_FALSE(decoded.isNull());
    ASSERT_EQ(decoded.size(), QSize(300, 225));
    const QImage rendered = RenderCardBitmap(card.m_doc, 300, 225);
    EXPECT_LE(MeanAbsDiff(decoded, rendered), c.dMaxMeanError);
    // The clip-art circle lies at the centre of (30, 20, 60, 60) on the card, scaled by 1.5.
    const QColor centre = decoded.pixelColor(90, 75);
    EXPECT_NEAR(centre.red(), 220, 12);
    EXPECT_NEAR(centre.green(), 40, 12);
    EXPECT_NEAR(centre.blue(), 90, 12);
}

// Lossless formats come back exactly; JPEG at quality 100 almost exactly; GIF within the error of its
// 256-colour palette.
INSTANTIATE_TEST_SUITE_P(Formats, CardImageFormatTest,
    ::testing::Values(FormatCase {"card.jpg", "jpeg", 1.5}, FormatCase {"card.jpeg", "jpeg", 1.5},
        FormatCase {"card.bmp", "bmp", 0}, FormatCase {"card.png", "png", 0}, FormatCase {"card.gif", "gif", 4.0},
        FormatCase {"card.tiff", "tiff", 0}, FormatCase {"card.JPG", "jpeg", 1.5}, FormatCase {"card.Png", "png", 0},
        FormatCase {"CARD.GIF", "gif", 4.0}, FormatCase {"card.TiFF", "tiff", 0}, FormatCase {"card.tif", "tiff", 0}));

TEST(CardImage, RenderedBitmapIsArgbAtTheAskedSize)
{
    ExportCard card;
    const QImage bitmap = RenderCardBitmap(card.m_doc, 123, 77);
    EXPECT_EQ(bitmap.size(), QSize(123, 77));
    EXPECT_TRUE(bitmap.hasAlphaChannel());
    EXPECT_EQ(bitmap.depth(), 32);
    EXPECT_TRUE(RenderCardBitmap(card.m_doc, 0, 77).isNull());
}

TEST(CardImage, JpegIsWrittenAtQuality100)
{
    ExportCard card;
    const QString strJpeg = card.path("card.jpg");
    ASSERT_TRUE(SaveCardImage(card.m_doc, 300, 225, strJpeg));
    const QImage rendered = RenderCardBitmap(card.m_doc, 300, 225);
    const QString strQuality90 = card.m_files.write("q90.jpg", rendered.convertToFormat(QImage::Format_RGB32), 90);
    EXPECT_GT(QFileInfo(strJpeg).size(), QFileInfo(strQuality90).size());
    EXPECT_LT(MeanAbsDiff(QImage(strJpeg), rendered), MeanAbsDiff(QImage(strQuality90), rendered));
}

TEST(CardImage, GifKeepsTransparencyAndUsesAtMost256Colours)
{
    ExportCard card(false);
    const QString strPath = card.path("clear.gif");
    QString strError;
    ASSERT_TRUE(SaveCardImage(card.m_doc, 200, 150, strPath, &strError)) << strError.toStdString();
    const QImage decoded = QImage(strPath).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(decoded.size(), QSize(200, 150));
    // No background: the card's empty corner stays transparent, the objects are opaque.
    EXPECT_EQ(qAlpha(decoded.pixel(2, 2)), 0);
    EXPECT_EQ(qAlpha(decoded.pixel(140, 100)), 255);
    EXPECT_EQ(qAlpha(decoded.pixel(60, 50)), 255);

    QList<QRgb> colours;
    for (int y = 0; y < decoded.height(); ++y) {
        for (int x = 0; x < decoded.width(); ++x) {
            if (!colours.contains(decoded.pixel(x, y)))
                colours.append(decoded.pixel(x, y));
        }
    }
    EXPECT_LE(colours.size(), 256);
}

struct RefusedCase {
    const char* pszName;
    int nWidth;
    int nHeight;
};

void PrintTo(const RefusedCase& c, std::ostream* pOut)
{
    *pOut << c.pszName << " " << c.nWidth << "x" << c.nHeight;
}

class CardImageRefusedTest : public ::testing::TestWithParam<RefusedCase> { };

TEST_P(CardImageRefusedTest, IsReportedAndWritesNothing)
{
    const RefusedCase& c = GetParam();
    ExportCard card;
    const QString strPath = card.path(QString::fromLatin1(c.pszName));
    QString strError;
    EXPECT_FALSE(SaveCardImage(card.m_doc, c.nWidth, c.nHeight, strPath, &strError));
    EXPECT_FALSE(strError.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(strPath));
}

INSTANTIATE_TEST_SUITE_P(Cases, CardImageRefusedTest,
    ::testing::Values(RefusedCase {"card.xyz", 100, 75}, RefusedCase {"card", 100, 75}, RefusedCase {"card.", 100, 75},
        RefusedCase {"card.png.txt", 100, 75}, RefusedCase {"card.png", 0, 75}, RefusedCase {"card.png", 100, 0},
        RefusedCase {"card.jpg", -5, 75}, RefusedCase {"card.gif", 100, -1}));

TEST(CardImage, FailedWriteIsReported)
{
    ExportCard card;
    QString strError;
    EXPECT_FALSE(SaveCardImage(card.m_doc, 100, 75, card.path("missing/folder/card.png"), &strError));
    EXPECT_FALSE(strError.isEmpty());
    // A folder standing where the file should go is left alone.
    ASSERT_TRUE(QDir().mkpath(card.path("taken.gif")));
    strError.clear();
    EXPECT_FALSE(SaveCardImage(card.m_doc, 100, 75, card.path("taken.gif"), &strError));
    EXPECT_FALSE(strError.isEmpty());
    EXPECT_TRUE(QFileInfo(card.path("taken.gif")).isDir());
}

TEST(CardImage, WriteRefusedInAReadOnlyFolderKeepsTheOldFile)
{
    ExportCard card;
    QString strError;
    const QString strFolder = card.path("locked");
    ASSERT_TRUE(QDir().mkpath(strFolder));
    const QString strOld = card.m_files.solid("locked/card.png", 10, 10, Qt::red);
    const QByteArray oldBytes = [&] {
        QFile f(strOld);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    QFile::setPermissions(strFolder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (QFileInfo(strFolder).isWritable())
        GTEST_SKIP() << "running with rights that ignore folder permissions";
    for (const char* pszName : {"card.png", "card.gif", "card.jpg", "card.tiff", "card.bmp"}) {
        strError.clear();
        const QString strPath = strFolder + QLatin1Char('/') + QLatin1String(pszName);
        EXPECT_FALSE(SaveCardImage(card.m_doc, 100, 75, strPath, &strError)) << pszName;
        EXPECT_FALSE(strError.isEmpty()) << pszName;
    }
    QFile f(strOld);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), oldBytes);
    QFile::setPermissions(strFolder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST(CardImage, FormatFollowsTheFileNameExtensionOnly)
{
    EXPECT_EQ(ExportFormatOf("/tmp/card.JpG"), "jpeg");
    EXPECT_EQ(ExportFormatOf("/tmp/card.jpeg"), "jpeg");
    EXPECT_EQ(ExportFormatOf("/tmp/card.bmp"), "bmp");
    EXPECT_EQ(ExportFormatOf("/tmp/card.GIF"), "gif");
    EXPECT_EQ(ExportFormatOf("/tmp/card.tiff"), "tiff");
    // A dot in a folder name is not an extension.
    EXPECT_EQ(ExportFormatOf("/tmp/cards.png/card"), "");
    EXPECT_EQ(ExportFormatOf("/tmp/card.webp"), "");
}

TEST(CardImage, AnOpaqueCardIsWrittenWithoutAlpha)
{
    for (const bool bWithBackground : {true, false}) {
        SCOPED_TRACE(bWithBackground);
        ExportCard card(bWithBackground);
        for (const char* pszName : {"card.png", "card.tiff"}) {
            const QString strPath = card.path(QString::fromLatin1(pszName));
            ASSERT_TRUE(SaveCardImage(card.m_doc, 200, 150, strPath));
            const QImage written(strPath);
            // Without a background the corners are transparent: the alpha channel stays.
            EXPECT_EQ(written.hasAlphaChannel(), !bWithBackground) << pszName;
            EXPECT_EQ(MeanAbsDiff(written, RenderCardBitmap(card.m_doc, 200, 150)), 0) << pszName;
        }
    }
    // PNG is written for speed, but within 5 % of the size zlib's default level gives.
    ExportCard card;
    const QString strPath = card.path(QStringLiteral("big.png"));
    ASSERT_TRUE(SaveCardImage(card.m_doc, 800, 600, strPath));
    QImage rendered = RenderCardBitmap(card.m_doc, 800, 600).convertToFormat(QImage::Format_RGB32);
    QBuffer reference;
    reference.open(QIODevice::WriteOnly);
    ASSERT_TRUE(QImageWriter(&reference, "png").write(rendered));
    EXPECT_LE(QFileInfo(strPath).size(), reference.size() * 105 / 100);
}
