#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include "document/carddocument.h"
#include "document/thedata.h"
#include "render/lowres.h"
#include "render/pdfexport.h"
#include "tests/testsupport.h"

// Found by argument-dependent lookup for failure messages.
std::ostream& operator<<(std::ostream& out, const LowResPhoto& photo)
{
    return out << photo.strName << ": " << photo.nPpi;
}

namespace {

// A 1200 x 900 pixel card (4 x 3 inches at 300 ppi) on a 400 x 300 canvas: a background, a large
// photo one inch wide, a small photo two inches wide, a clip-art with transparency and a text.
class PdfCard {
public:
    PdfCard()
    {
        m_doc.m_szClient = QSize(400, 300);
        m_doc.m_strBackground = m_files.photo("background.jpg", 1200, 900);
        Add(OBJ_PHOTO, {20, 20, 100, 75})->m_strPhoto = m_files.photo("large.jpg", 3000, 2250);
        Add(OBJ_PHOTO, {150, 100, 200, 150})->m_strPhoto = m_files.photo("small.jpg", 60, 45);
        Add(OBJ_ELEMENT, {250, 20, 80, 80})->m_strElement = m_files.write("dot.png", Dot());
        TheData* pText = Add(OBJ_TEXT, {30, 200, 300, 60});
        pText->m_pText = std::make_unique<CTextPanel>();
        pText->m_pText->m_strText = QStringLiteral("Happy Birthday");
        pText->m_pText->m_nSize = 32;
    }

    static QImage Dot()
    {
        QImage dot(90, 90, QImage::Format_ARGB32);
        dot.fill(Qt::transparent);
        for (int y = 20; y < 70; ++y)
            for (int x = 20; x < 70; ++x)
                dot.setPixelColor(x, y, QColor(30, 120, 200, 180));
        return dot;
    }

    TheData* Add(int nType, const RectF& rc)
    {
        auto p = std::make_unique<TheData>();
        p->m_nType = nType;
        p->m_rcObject = rc;
        return m_doc.AddObject(std::move(p), 0);
    }

    CardDocument m_doc;
    TestFiles m_files;
    const QSize m_szCard {1200, 900};
};

// The standard output of a poppler tool run on the file; empty with a skip reason when it is missing.
QString RunTool(const char* pszTool, const QStringList& args, QString* pstrSkip)
{
    const QString strTool = QStandardPaths::findExecutable(QString::fromLatin1(pszTool));
    if (strTool.isEmpty()) {
        *pstrSkip = QStringLiteral("%1 is not installed (poppler-utils, scripts/deps.sh)").arg(pszTool);
        return QString();
    }
    QProcess process;
    process.start(strTool, args);
    process.waitForFinished(-1);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

struct PdfCase {
    double dPrintWidthMm;
    bool bBleed;
    // Page size in points.
    double dPageWidth;
    double dPageHeight;
    // The one-inch-wide photo of 3000 pixels, brought down to 300 ppi on the page.
    int nLargeWidth;
};

} // namespace

TEST(PdfExport, PageIsThePrintSizeWithEmbeddedTextAndCappedJpegPhotos)
{
    const PdfCase cases[] = {
        {0, false, 288, 216, 300},
        {0, true, 288 + 17.01, 216 + 17.01, 300},
        {203.2, false, 576, 432, 600},
        {203.2, true, 576 + 17.01, 432 + 17.01, 600},
    };
    PdfCard card;
    for (const PdfCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dPrintWidthMm << (c.bBleed ? " with bleed" : ""));
        card.m_doc.m_dPrintWidthMm = c.dPrintWidthMm;
        const QString strPath = card.m_files.path(QStringLiteral("card.pdf"));
        QString strError;
        ASSERT_TRUE(SaveCardPdf(card.m_doc, card.m_szCard, strPath, c.bBleed, &strError)) << strError;

        QString strSkip;
        const QString strInfo = RunTool("pdfinfo", {strPath}, &strSkip);
        const QString strFonts = RunTool("pdffonts", {strPath}, &strSkip);
        const QString strImages = RunTool("pdfimages", {QStringLiteral("-list"), strPath}, &strSkip);
        const QString strText = RunTool("pdftotext", {strPath, QStringLiteral("-")}, &strSkip);
        if (!strSkip.isEmpty())
            GTEST_SKIP() << strSkip.toStdString();

        const auto size = QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts")).match(strInfo);
        ASSERT_TRUE(size.hasMatch()) << strInfo;
        EXPECT_TRUE(strInfo.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n")))) << strInfo;
        // Page sizes are whole points in the file.
        EXPECT_NEAR(size.captured(1).toDouble(), c.dPageWidth, 0.6);
        EXPECT_NEAR(size.captured(2).toDouble(), c.dPageHeight, 0.6);

        EXPECT_TRUE(strText.contains(QLatin1String("Happy Birthday"))) << "text stays text: " << strText;
        // Below the two header lines, each font with its "emb" column.
        const QStringList fontLines = strFonts.split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
        ASSERT_FALSE(fontLines.isEmpty()) << strFonts;
        for (const QString& strLine : fontLines)
            EXPECT_TRUE(strLine.contains(
                QRegularExpression(QStringLiteral("\\s+yes\\s+(yes|no)\\s+(yes|no)\\s+\\d+\\s+\\d+$"))))
                << strLine;

        // page num type width height color comp bpc enc interp object ID x-ppi y-ppi size ratio
        int nLarge = 0;
        int nSmall = 0;
        for (const QString& strLine : strImages.split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2)) {
            const QStringList f = strLine.simplified().split(QLatin1Char(' '));
            ASSERT_GE(f.size(), 14) << strLine;
            EXPECT_LE(f[12].toInt(), 301) << strLine;
            EXPECT_LE(f[13].toInt(), 301) << strLine;
            if (f[2] == QLatin1String("image") && f[5] == QLatin1String("rgb")) {
                EXPECT_EQ(f[8], QLatin1String("jpeg")) << strLine;
            }
            // The small photo stays at its own pixels.
            nLarge += f[3].toInt() == c.nLargeWidth && f[4].toInt() == c.nLargeWidth * 3 / 4 ? 1 : 0;
            nSmall += f[3] == QLatin1String("60") && f[4] == QLatin1String("45") ? 1 : 0;
        }
        EXPECT_EQ(nLarge, 1) << strImages;
        EXPECT_EQ(nSmall, 1) << strImages;
    }
}

TEST(PdfExport, RefusedWidthsAndUnwritablePathsLeaveNoFile)
{
    PdfCard card;
    const QString strPath = card.m_files.path(QStringLiteral("refused.pdf"));
    const struct {
        double dWidth;
        QString strPath;
        const char* pszReason;
    } cases[] = {
        {-10, strPath, "more than 0 mm"},
        {2500, strPath, "2 metres"},
        {0, card.m_files.path(QStringLiteral("no/such/folder/card.pdf")), "Cannot write"},
    };
    for (const auto& c : cases) {
        card.m_doc.m_dPrintWidthMm = c.dWidth;
        QString strError;
        EXPECT_FALSE(SaveCardPdf(card.m_doc, card.m_szCard, c.strPath, false, &strError)) << c.dWidth;
        EXPECT_TRUE(strError.contains(QLatin1String(c.pszReason))) << strError;
        EXPECT_FALSE(QFileInfo::exists(c.strPath)) << c.strPath;
        EXPECT_TRUE(QDir(card.m_files.path(QString())).entryList(QDir::Files).filter(QStringLiteral(".pdf")).isEmpty());
    }
    // A refused export leaves an earlier file as it was.
    card.m_doc.m_dPrintWidthMm = 0;
    ASSERT_TRUE(SaveCardPdf(card.m_doc, card.m_szCard, strPath, false));
    const qint64 nSize = QFileInfo(strPath).size();
    card.m_doc.m_dPrintWidthMm = -1;
    EXPECT_FALSE(SaveCardPdf(card.m_doc, card.m_szCard, strPath, false));
    EXPECT_EQ(QFileInfo(strPath).size(), nSize);
}

TEST(LowResolution, PhotosBelow150PpiAtTheOutputSizeAreListed)
{
    TestFiles files;
    CardDocument doc;
    doc.m_szClient = QSize(400, 300);
    const auto addPhoto = [&](const QString& strName, QSize szPhoto, const RectF& rc, const RectF& rcFramed = {}) {
        auto p = std::make_unique<TheData>();
        p->m_rcObject = rc;
        p->m_strPhoto = files.solid(strName, szPhoto.width(), szPhoto.height(), Qt::green);
        if (rcFramed.Width > 0) {
            p->m_strFrame = files.solid(QStringLiteral("frame.png"), 40, 40, Qt::red);
            p->m_rcPhotoLocal = rcFramed;
        }
        return doc.AddObject(std::move(p), 0);
    };
    // On a 4-inch-wide output a card unit is 1/100 inch.
    addPhoto(QStringLiteral("beach.jpg"), {96, 96}, {0, 0, 100, 100});
    // The lower direction counts: 300 ppi across, 120 down.
    addPhoto(QStringLiteral("tall.jpg"), {300, 120}, {100, 0, 100, 100});
    addPhoto(QStringLiteral("sharp.jpg"), {150, 150}, {200, 0, 100, 100});
    // Inside a frame the photo's own rectangle counts, not the object's.
    addPhoto(QStringLiteral("framed.jpg"), {200, 200}, {0, 100, 50, 50}, {0, 100, 200, 200});
    addPhoto(QStringLiteral("gone.jpg"), {10, 10}, {300, 0, 100, 100})->m_bDeleted = 1;

    const struct {
        QSizeF szInches;
        std::vector<LowResPhoto> vecExpected;
    } cases[] = {
        {{4, 3}, {{"beach.jpg", 96}, {"tall.jpg", 120}, {"framed.jpg", 100}}},
        {{2, 1.5}, {}},
        {{8, 6}, {{"beach.jpg", 48}, {"tall.jpg", 60}, {"sharp.jpg", 75}, {"framed.jpg", 50}}},
        {{0, 0}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LowResolutionPhotos(doc, c.szInches), c.vecExpected) << c.szInches.width();
    EXPECT_EQ(LowResolutionText(LowResolutionPhotos(doc, {4, 3})),
        QStringLiteral("beach.jpg: 96 ppi\ntall.jpg: 120 ppi\nframed.jpg: 100 ppi"));
    EXPECT_EQ(PrintSizeInches({1200, 900}, 0), QSizeF(4, 3));
    EXPECT_EQ(PrintSizeInches({1200, 900}, 254), QSizeF(10, 7.5));
}
