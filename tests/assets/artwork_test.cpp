// The artwork the build draws into the program folder: skins at the sizes the window layouts give
// them, and a template library whose templates load and whose pictures all exist.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTransform>
#include <QXmlStreamReader>

#include "document/carddocument.h"
#include "document/thedata.h"
#include "platform/appdir.h"
#include "templates/cardloader.h"
#include "templates/templateloader.h"
#include "tests/testsupport.h"

namespace {

// The program folder the build fills: the test executable lives in build/tests, the program in build/bin.
QString ProgramDir()
{
    return QDir(QCoreApplication::applicationDirPath() + QLatin1String("/../bin")).absolutePath() + QLatin1Char('/');
}

QString Resources(const QString& strFolder)
{
    return ProgramDir() + QLatin1String("Template/allresources/") + strFolder + QLatin1Char('/');
}

QStringList FilesIn(const QString& strFolder, const QStringList& filters)
{
    return QDir(strFolder).entryList(filters, QDir::Files, QDir::Name);
}

const QStringList kCategories = {QStringLiteral("Christmas"), QStringLiteral("New Year"),
    QStringLiteral("Valentine's Day"), QStringLiteral("Halloween"), QStringLiteral("Thanksgiving"),
    QStringLiteral("Mother's Day"), QStringLiteral("Father's Day"), QStringLiteral("Easter"),
    QStringLiteral("Birthday"), QStringLiteral("Graduation"), QStringLiteral("Wedding"), QStringLiteral("Children")};

// A template as its XML states it, read independently of the program's loader.
struct Sprite {
    int nType = 0;
    QString strFrame;
    QString strPhoto;
    int nAngle = 0;
    int nLeft = 0;
    int nTop = 0;
    int nWidth = 0;
    int nHeight = 0;
    int nAttributes = 0;
};

struct Greeting {
    QString strText;
    QString strFonts;
    int nLeft = 0;
    int nTop = 0;
};

struct TemplateXml {
    bool bWellFormed = false;
    QString strBackground;
    std::vector<Sprite> sprites;
    std::vector<Greeting> greetings;
};

QString NamePart(const QString& strPath)
{
    return strPath.mid(strPath.lastIndexOf(QLatin1Char('/')) + 1);
}

TemplateXml ParseTemplate(const QString& strPath)
{
    TemplateXml result;
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    QXmlStreamReader xml(&file);
    int nDepth = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            ++nDepth;
            const auto attributes = xml.attributes();
            if (nDepth == 2 && xml.name() == QLatin1String("PageSceneObject")) {
                result.strBackground = attributes.value(QLatin1String("PageBgImage")).toString();
            } else if (nDepth == 3 && xml.name() == QLatin1String("SpriteObject")) {
                Sprite sprite;
                auto number = [&](const char* szName) {
                    if (attributes.hasAttribute(QLatin1String(szName)))
                        ++sprite.nAttributes;
                    return attributes.value(QLatin1String(szName)).toInt();
                };
                sprite.nType = number("nPhotoType");
                sprite.nAngle = number("nPhotoAngle");
                sprite.nLeft = number("PhotoFrameLeft");
                sprite.nTop = number("PhotoFrameTop");
                sprite.nWidth = number("PhotoFrameRight");
                sprite.nHeight = number("PhotoFrameBottom");
                for (const char* szName : {"strFramePath", "strPhotoPath"})
                    sprite.nAttributes += attributes.hasAttribute(QLatin1String(szName)) ? 1 : 0;
                sprite.strFrame = attributes.value(QLatin1String("strFramePath")).toString();
                sprite.strPhoto = attributes.value(QLatin1String("strPhotoPath")).toString();
                result.sprites.push_back(sprite);
            } else if (nDepth == 3 && xml.name() == QLatin1String("TextObject")) {
                result.greetings.push_back({attributes.value(QLatin1String("strText")).toString(),
                    attributes.value(QLatin1String("strFontName")).toString(),
                    attributes.value(QLatin1String("TextLeft")).toInt(),
                    attributes.value(QLatin1String("TextTop")).toInt()});
            }
        } else if (xml.isEndElement()) {
            --nDepth;
        }
    }
    result.bWellFormed = !xml.hasError();
    return result;
}

// Every template file of the library, as category folder / file name.
QStringList TemplateFiles()
{
    QStringList files;
    for (const QString& strCategory : kCategories) {
        const QString strFolder = ProgramDir() + QLatin1String("Template/cards/") + strCategory + QLatin1Char('/');
        for (const QString& strName : FilesIn(strFolder, {QStringLiteral("*.xml")}))
            files << strFolder + strName;
    }
    return files;
}

QSize PictureSize(const QString& strPath)
{
    return QImageReader(strPath).size();
}

// Whether the file is a picture with an alpha channel, read from its header only.
bool HasAlpha(const QString& strPath)
{
    QImageReader reader(strPath);
    return reader.canRead() && QImage(1, 1, reader.imageFormat()).hasAlphaChannel();
}

} // namespace

TEST(ArtworkLibrary, EveryCategoryHasEightTemplatesPairedWithThumbnails)
{
    for (const QString& strCategory : kCategories) {
        SCOPED_TRACE(strCategory.toStdString());
        const QString strFolder = ProgramDir() + QLatin1String("Template/cards/") + strCategory + QLatin1Char('/');
        ASSERT_TRUE(QDir(strFolder).exists());
        // The chooser lists the pictures; each names its template by the three-letter rule.
        const QStringList thumbnails = FilesIn(strFolder, {QStringLiteral("*.jpg"), QStringLiteral("*.png")});
        EXPECT_GE(thumbnails.size(), 8);
        for (const QString& strThumb : thumbnails) {
            SCOPED_TRACE(strThumb.toStdString());
            const QString strXml = strFolder + strThumb.left(strThumb.length() - 3) + QLatin1String("xml");
            ASSERT_TRUE(QFile::exists(strXml));
            const QSize thumb = PictureSize(strFolder + strThumb);
            EXPECT_GE(std::max(thumb.width(), thumb.height()), 380);
            EXPECT_LE(std::max(thumb.width(), thumb.height()), 420);
            // The thumbnail shows the whole card: it has the background's shape.
            const TemplateXml xml = ParseTemplate(strXml);
            const QSize bg = PictureSize(Resources(QStringLiteral("bgimage")) + NamePart(xml.strBackground));
            ASSERT_TRUE(bg.isValid());
            EXPECT_NEAR(double(thumb.width()) / thumb.height(), double(bg.width()) / bg.height(), 0.02);
        }
        EXPECT_EQ(FilesIn(strFolder, {QStringLiteral("*.xml")}).size(), thumbnails.size());
    }
}

TEST(ArtworkLibrary, EveryPictureATemplateNamesExists)
{
    const QStringList files = TemplateFiles();
    ASSERT_GE(files.size(), 96);
    for (const QString& strXml : files) {
        SCOPED_TRACE(strXml.toStdString());
        const TemplateXml xml = ParseTemplate(strXml);
        ASSERT_TRUE(xml.bWellFormed);
        EXPECT_TRUE(QImageReader(Resources(QStringLiteral("bgimage")) + NamePart(xml.strBackground)).canRead());
        int nPhotos = 0;
        int nElements = 0;
        for (const Sprite& sprite : xml.sprites) {
            EXPECT_EQ(sprite.nAttributes, 8) << "every sprite carries every attribute";
            EXPECT_GT(sprite.nWidth, 0);
            EXPECT_GT(sprite.nHeight, 0);
            if (sprite.nType == 1) {
                ++nPhotos;
                const QString strFrame = Resources(QStringLiteral("frame")) + NamePart(sprite.strFrame);
                EXPECT_TRUE(HasAlpha(strFrame)) << strFrame.toStdString();
                EXPECT_TRUE(QImageReader(FrameMaskPath(strFrame)).canRead()) << strFrame.toStdString();
            } else {
                EXPECT_EQ(sprite.nType, 4);
                ++nElements;
                const QString strElement = Resources(QStringLiteral("clipart")) + NamePart(sprite.strPhoto);
                EXPECT_TRUE(HasAlpha(strElement)) << strElement.toStdString();
            }
        }
        EXPECT_GE(nPhotos, 1);
        EXPECT_LE(nPhotos, 4);
        EXPECT_GE(nElements, 1);
    }
}

TEST(ArtworkLibrary, EveryTemplateLoadsWithItsObjectsOnTheCard)
{
    std::vector<int> angles;
    for (const QString& strXml : TemplateFiles()) {
        SCOPED_TRACE(strXml.toStdString());
        const TemplateXml xml = ParseTemplate(strXml);
        const QSize bg = PictureSize(Resources(QStringLiteral("bgimage")) + NamePart(xml.strBackground));
        CardDocument doc;
        doc.m_szClient = bg / 2;
        CardError nError = CardError::None;
        ASSERT_TRUE(OpenCardFile(strXml, doc, &nError, ProgramDir())) << CardErrorText(nError).toStdString();
        // Greetings are texts above the sprites.
        ASSERT_EQ(doc.m_vecObjects.size(), xml.sprites.size() + xml.greetings.size());
        const QRectF card(QPointF(0, 0), QSizeF(doc.m_szClient));
        for (size_t i = 0; i < xml.sprites.size(); ++i) {
            const Sprite& sprite = xml.sprites[i];
            const TheData& object = *doc.m_vecObjects[i];
            EXPECT_EQ(object.m_nType, sprite.nType == 1 ? OBJ_PHOTO : OBJ_ELEMENT);
            EXPECT_DOUBLE_EQ(object.m_dAngle, 360.0 - sprite.nAngle);
            angles.push_back(sprite.nAngle);
            // Placed from the bottom-up template units, every sprite lands on the card, at half its size
            // in background pixels, and its picture has the sprite's shape.
            const QRectF rc = object.m_rcObject.toQRectF();
            EXPECT_TRUE(card.contains(rc.center())) << i;
            EXPECT_NEAR(rc.width(), sprite.nWidth / 2.0, 1.0);
            const QString strPicture = sprite.nType == 1 ? object.m_strFrame : object.m_strElement;
            const QSize natural = PictureSize(strPicture);
            ASSERT_TRUE(natural.isValid()) << strPicture.toStdString();
            EXPECT_NEAR(double(sprite.nHeight) / sprite.nWidth, double(natural.height()) / natural.width(), 0.02);
        }
    }
    // The library shows sprites at several angles, not all upright.
    std::sort(angles.begin(), angles.end());
    EXPECT_GE(std::unique(angles.begin(), angles.end()) - angles.begin(), 8);
}

TEST(ArtworkLibrary, PortraitTemplatesWriteTheirGreetingAsAnEditableText)
{
    int nGreetings = 0;
    for (const QString& strXml : TemplateFiles()) {
        SCOPED_TRACE(strXml.toStdString());
        const TemplateXml xml = ParseTemplate(strXml);
        const QSize bg = PictureSize(Resources(QStringLiteral("bgimage")) + NamePart(xml.strBackground));
        ASSERT_GE(xml.greetings.size(), 1u);
        if (bg.height() <= bg.width())
            continue;
        ++nGreetings;
        CardDocument doc;
        doc.m_szClient = bg / 2;
        ASSERT_TRUE(OpenCardFile(strXml, doc, nullptr, ProgramDir()));
        // The greeting is the first text, above the sprites.
        const TheData& text = *doc.m_vecObjects[xml.sprites.size()];
        ASSERT_EQ(text.m_nType, OBJ_TEXT);
        ASSERT_TRUE(text.m_pText);
        EXPECT_EQ(text.m_pText->m_strText, xml.greetings[0].strText);
        // In its own face where the machine has it, and centred in the top 300 background pixels.
        EXPECT_EQ(text.m_pText->m_strFont, InstalledFamily(xml.greetings[0].strFonts));
        const QPointF centre = text.m_rcObject.toQRectF().center() * 2;
        // The measured size carries a margin that does not scale with the card.
        EXPECT_NEAR(centre.x(), bg.width() / 2.0, 12);
        EXPECT_GT(centre.y(), 100);
        EXPECT_LT(centre.y(), 240);
        EXPECT_LT(text.m_rcObject.Width * 2, bg.width() - 60);
    }
    EXPECT_EQ(nGreetings, 3 * kCategories.size());
}

namespace {

// The Debian package that installs each family a template may name; deps.sh must list it.
const std::pair<const char*, const char*> kFontPackages[] = {{"Dancing Script", "fonts-dancingscript"},
    {"Lobster Two", "fonts-lobster"}, {"Kaushan Script", "fonts-kaushanscript"}, {"EB Garamond", "fonts-ebgaramond"},
    {"Liberation Serif", "fonts-liberation2"}, {"Liberation Sans", "fonts-liberation2"},
    {"DejaVu Serif", "fonts-dejavu-core"}, {"DejaVu Sans", "fonts-dejavu-core"}};

QString DepsScript()
{
    QFile file(QStringLiteral(VELOMIRA_SOURCE_DIR "/scripts/deps.sh"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// A photo placeholder's or clip-art's box on the card, turned as it is drawn.
QRectF TurnedBox(const TheData& object)
{
    const QRectF rc = object.m_rcObject.toQRectF();
    QTransform turn;
    turn.translate(rc.center().x(), rc.center().y());
    turn.rotate(object.m_dAngle);
    turn.translate(-rc.center().x(), -rc.center().y());
    return turn.mapRect(rc);
}

} // namespace

// The whole library as a table: each template loads, writes words, keeps them off its photos and on the
// card, names only faces the dependencies install; each category offers every card shape.
TEST(ArtworkLibrary, EveryTemplateWritesEditableWordsClearOfItsPhotosInInstalledFaces)
{
    const QString strDeps = DepsScript();
    ASSERT_FALSE(strDeps.isEmpty());
    QStringList shapesSeen;
    int nTemplates = 0;
    for (const QString& strXml : TemplateFiles()) {
        SCOPED_TRACE(strXml.toStdString());
        ++nTemplates;
        const TemplateXml xml = ParseTemplate(strXml);
        const QSize bg = PictureSize(Resources(QStringLiteral("bgimage")) + NamePart(xml.strBackground));
        ASSERT_TRUE(bg.isValid());
        const QString strCategory = QFileInfo(strXml).dir().dirName();
        const char* szShape = bg.width() > bg.height() ? "landscape" : bg.width() < bg.height() ? "portrait" : "square";
        shapesSeen << strCategory + QLatin1Char('/') + QLatin1String(szShape);
        // At the background's own size the card shows everything where the template placed it.
        CardDocument doc;
        doc.m_szClient = bg;
        CardError nError = CardError::None;
        ASSERT_TRUE(OpenCardFile(strXml, doc, &nError, ProgramDir())) << CardErrorText(nError).toStdString();
        const QRectF card(QPointF(0, 0), QSizeF(bg));
        std::vector<QRectF> photos;
        std::vector<const TheData*> texts;
        for (const auto& pObject : doc.m_vecObjects) {
            if (pObject->m_nType == OBJ_PHOTO)
                photos.push_back(TurnedBox(*pObject));
            else if (pObject->m_nType == OBJ_TEXT)
                texts.push_back(pObject.get());
        }
        ASSERT_GE(texts.size(), 1u);
        ASSERT_EQ(texts.size(), xml.greetings.size());
        for (const TheData* pText : texts) {
            const QRectF rc = pText->m_rcObject.toQRectF();
            SCOPED_TRACE(pText->m_pText->m_strText.toStdString());
            EXPECT_FALSE(pText->m_pText->m_strText.trimmed().isEmpty());
            EXPECT_GT(pText->m_pText->m_nSize, 24) << "large enough to read on the thumbnail";
            EXPECT_TRUE(card.contains(rc));
            for (const QRectF& photo : photos)
                EXPECT_FALSE(rc.intersects(photo)) << "text over a photo placeholder";
        }
        for (const Greeting& greeting : xml.greetings) {
            const QStringList families = greeting.strFonts.split(QLatin1Char(','));
            ASSERT_FALSE(families.isEmpty());
            for (const QString& strFamily : families) {
                SCOPED_TRACE(strFamily.toStdString());
                const auto package = std::find_if(std::begin(kFontPackages), std::end(kFontPackages),
                    [&](const auto& entry) { return strFamily.trimmed() == QLatin1String(entry.first); });
                ASSERT_NE(package, std::end(kFontPackages)) << "a face no dependency installs";
                EXPECT_TRUE(strDeps.contains(QRegularExpression(
                    QStringLiteral("\\s%1\\s").arg(QRegularExpression::escape(QLatin1String(package->second))))));
                EXPECT_TRUE(QFontDatabase::hasFamily(strFamily.trimmed()));
            }
        }
    }
    EXPECT_GE(nTemplates, 96);
    for (const QString& strCategory : kCategories)
        for (const char* szShape : {"landscape", "portrait", "square"})
            EXPECT_TRUE(shapesSeen.contains(strCategory + QLatin1Char('/') + QLatin1String(szShape)))
                << strCategory.toStdString() << " " << szShape;
}

namespace {

// A CSV line split into its fields; a quoted field may hold commas and doubled quotes.
QStringList CsvFields(const QString& strLine)
{
    QStringList fields(QString {});
    bool bQuoted = false;
    for (int i = 0; i < strLine.size(); ++i) {
        const QChar c = strLine[i];
        if (c == QLatin1Char('"')) {
            if (bQuoted && i + 1 < strLine.size() && strLine[i + 1] == QLatin1Char('"'))
                fields.back() += strLine[++i];
            else
                bQuoted = !bQuoted;
        } else if (c == QLatin1Char(',') && !bQuoted) {
            fields << QString();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

} // namespace

TEST(ArtworkLibrary, WeddingAndBirthdayInvitationsUseTheFieldsTheirSampleListsName)
{
    const struct {
        const char* szCategory;
        const char* szSample;
    } kCases[] = {{"Wedding", "wedding.csv"}, {"Birthday", "birthday.csv"}};
    const QRegularExpression field(QStringLiteral("\\{(\\w+)\\}"));
    for (const auto& test : kCases) {
        SCOPED_TRACE(test.szCategory);
        QFile sample(ProgramDir() + QLatin1String("Template/samples/") + QLatin1String(test.szSample));
        ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
        const QByteArray bytes = sample.readAll();
        const QString strText = QString::fromUtf8(bytes);
        EXPECT_EQ(strText.toUtf8(), bytes) << "UTF-8";
        const QStringList lines = strText.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        ASSERT_GE(lines.size(), 3);
        const QStringList header = CsvFields(lines[0]);
        for (const char* szField : {"Name", "Date", "Place"})
            EXPECT_TRUE(header.contains(QLatin1String(szField))) << szField;
        for (const QString& strLine : lines.mid(1)) {
            const QStringList row = CsvFields(strLine);
            EXPECT_EQ(row.size(), header.size()) << strLine.toStdString();
            EXPECT_FALSE(row.contains(QString())) << strLine.toStdString();
        }
        // An invitation writes every field of the list, each one the list names.
        int nInvitations = 0;
        const QString strFolder = ProgramDir() + QLatin1String("Template/cards/") + QLatin1String(test.szCategory);
        for (const QString& strName : FilesIn(strFolder, {QStringLiteral("*.xml")})) {
            QStringList used;
            for (const Greeting& greeting : ParseTemplate(strFolder + QLatin1Char('/') + strName).greetings)
                for (auto it = field.globalMatch(greeting.strText); it.hasNext();)
                    used << it.next().captured(1);
            if (used.isEmpty())
                continue;
            ++nInvitations;
            used.removeDuplicates();
            used.sort();
            QStringList expected = header;
            expected.sort();
            EXPECT_EQ(used, expected) << strName.toStdString();
        }
        EXPECT_GE(nInvitations, 2);
    }
}

TEST(ArtworkResources, FoldersHoldEnoughPicturesInTheirFormats)
{
    const QStringList backgrounds = FilesIn(Resources(QStringLiteral("bgimage")), {QStringLiteral("*.jpg")});
    EXPECT_GE(backgrounds.size(), 14);
    bool bLandscape = false;
    bool bPortrait = false;
    bool bSquare = false;
    for (const QString& strName : backgrounds) {
        const QSize size = PictureSize(Resources(QStringLiteral("bgimage")) + strName);
        bLandscape = bLandscape || size == QSize(1500, 1000);
        bPortrait = bPortrait || size == QSize(1000, 1400);
        bSquare = bSquare || size == QSize(1200, 1200);
    }
    EXPECT_TRUE(bLandscape);
    EXPECT_TRUE(bPortrait);
    EXPECT_TRUE(bSquare);

    const QStringList cliparts = FilesIn(Resources(QStringLiteral("clipart")), {QStringLiteral("*.png")});
    EXPECT_GE(cliparts.size(), 30);
    for (const QString& strName : cliparts) {
        const QImage image
            = QImage(Resources(QStringLiteral("clipart")) + strName).convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(image.isNull()) << strName.toStdString();
        // Transparent round the picture, opaque in its middle.
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << strName.toStdString();
        EXPECT_EQ(qAlpha(image.pixel(image.width() - 1, image.height() - 1)), 0) << strName.toStdString();
    }

    const QStringList masks
        = FilesIn(Resources(QStringLiteral("mask")), {QStringLiteral("*.png"), QStringLiteral("*.jpg")});
    EXPECT_GE(masks.size(), 11);
    const auto origin = std::find_if(
        masks.begin(), masks.end(), [](const QString& strName) { return strName.contains(QLatin1String("origin")); });
    ASSERT_NE(origin, masks.end());
    // "origin" stands for no mask: the whole picture shows.
    const QImage none = QImage(Resources(QStringLiteral("mask")) + *origin).convertToFormat(QImage::Format_Grayscale8);
    EXPECT_EQ(none.pixelColor(0, 0).value(), 255);
    EXPECT_EQ(none.pixelColor(none.width() / 2, none.height() / 2).value(), 255);
    for (const QString& strName : masks) {
        if (strName == *origin)
            continue;
        const QImage mask
            = QImage(Resources(QStringLiteral("mask")) + strName).convertToFormat(QImage::Format_Grayscale8);
        EXPECT_LT(mask.pixelColor(0, 0).value(), 10) << strName.toStdString();
        EXPECT_GT(mask.pixelColor(mask.width() / 2, mask.height() / 2).value(), 245) << strName.toStdString();
    }
}

TEST(ArtworkResources, EveryFrameHasASoftMaskOverItsTransparentWindow)
{
    const QString strFolder = Resources(QStringLiteral("frame"));
    const QStringList frames = FilesIn(strFolder, {QStringLiteral("*.png")});
    EXPECT_GE(frames.size(), 10);
    for (const QString& strName : frames) {
        SCOPED_TRACE(strName.toStdString());
        const QImage frame = QImage(strFolder + strName).convertToFormat(QImage::Format_ARGB32);
        const QString strMask = FrameMaskPath(strFolder + strName);
        ASSERT_TRUE(QFile::exists(strMask));
        const QImage mask = QImage(strMask).convertToFormat(QImage::Format_Grayscale8);
        ASSERT_EQ(mask.size(), frame.size());
        // Where the mask lets the photo through, the frame is see-through; where the frame is
        // opaque the mask hides the photo; the window's edge is soft.
        int nWindow = 0;
        int nSoft = 0;
        int nOpaque = 0;
        int nPhotoOverFrame = 0;
        int nFrameOverPhoto = 0;
        for (int y = 0; y < mask.height(); y += 3) {
            const uchar* pMask = mask.constScanLine(y);
            for (int x = 0; x < mask.width(); x += 3) {
                const int nLevel = pMask[x];
                const int nAlpha = qAlpha(frame.pixel(x, y));
                nWindow += nLevel > 250 ? 1 : 0;
                nSoft += nLevel > 20 && nLevel <= 250 ? 1 : 0;
                nFrameOverPhoto += nLevel > 250 && nAlpha > 200 ? 1 : 0;
                nOpaque += nAlpha > 250 ? 1 : 0;
                nPhotoOverFrame += nAlpha > 250 && nLevel > 250 ? 1 : 0;
            }
        }
        EXPECT_GT(nWindow, mask.width() * mask.height() / 9 / 10) << "a window of at least a tenth of the frame";
        EXPECT_GT(nSoft, 0);
        EXPECT_GT(nOpaque, 0);
        EXPECT_LT(nFrameOverPhoto, nWindow / 100);
        EXPECT_LT(nPhotoOverFrame, nOpaque / 30);
        EXPECT_LT(mask.pixelColor(0, 0).value(), 10);
    }
}

TEST(ArtworkSkins, ButtonStripsAreFourFramesOfTheirLayoutSize)
{
    // Frame sizes as the window layouts place the buttons.
    struct Button {
        const char* szFile;
        int nWidth;
        int nHeight;
    };
    const Button kButtons[] = {{"new.bmp", 40, 40}, {"open.bmp", 40, 40}, {"save.bmp", 40, 40}, {"undo.bmp", 40, 40},
        {"redo.bmp", 40, 40}, {"preview.bmp", 40, 40}, {"print.bmp", 40, 40}, {"export.bmp", 40, 40},
        {"help.bmp", 30, 40}, {"min.bmp", 12, 13}, {"max.bmp", 12, 13}, {"close.bmp", 13, 13},
        {"cate_image.bmp", 85, 32}, {"cate_text.bmp", 85, 32}, {"photo.bmp", 172, 23}, {"frame.bmp", 172, 23},
        {"clipart.bmp", 172, 23}, {"mask.bmp", 172, 23}, {"uu.bmp", 22, 23}, {"u.bmp", 22, 23}, {"n.bmp", 22, 23},
        {"nn.bmp", 22, 23}, {"del.bmp", 22, 23}, {"dock.bmp", 17, 17}, {"newtxt.bmp", 172, 23}, {"tb.bmp", 20, 21},
        {"ti.bmp", 20, 21}, {"tu.bmp", 20, 21}, {"ts.bmp", 20, 21}, {"tleft.bmp", 20, 21}, {"tcenter.bmp", 20, 21},
        {"tright.bmp", 20, 21}};
    for (const Button& button : kButtons) {
        SCOPED_TRACE(button.szFile);
        const QImage strip(ProgramDir() + QLatin1String("Skins/") + QLatin1String(button.szFile));
        ASSERT_FALSE(strip.isNull());
        EXPECT_EQ(strip.width(), 4 * button.nWidth);
        EXPECT_EQ(strip.height(), button.nHeight);
        // Hover, pressed and disabled each look different from the normal frame and from each other.
        std::vector<QImage> frames;
        for (int i = 0; i < 4; ++i)
            frames.push_back(strip.copy(i * button.nWidth, 0, button.nWidth, button.nHeight));
        for (int i = 0; i < 4; ++i)
            for (int j = i + 1; j < 4; ++j)
                EXPECT_GT(MeanAbsDiff(frames[size_t(i)], frames[size_t(j)]), 2.0) << i << " vs " << j;
    }
}

TEST(ArtworkSkins, WindowPicturesFitWhereTheyAreDrawn)
{
    struct Picture {
        const char* szFile;
        int nWidth; // 0: stretched horizontally, any width
        int nHeight; // 0: stretched vertically, any height
    };
    const Picture kPictures[] = {{"quillmere_icon.png", 24, 24}, {"xleft.png", 500, 100}, {"xright.png", 100, 100},
        {"xcenter.png", 0, 100}, {"xvline.png", 10, 0}, {"roll.bmp", 50, 50}, {"ssize.bmp", 0, 7},
        {"sshadow.bmp", 0, 7}, {"thum.png", 20, 11}, {"tempbk.png", 170, 170}};
    for (const Picture& picture : kPictures) {
        SCOPED_TRACE(picture.szFile);
        const QSize size = PictureSize(ProgramDir() + QLatin1String("Skins/") + QLatin1String(picture.szFile));
        ASSERT_TRUE(size.isValid());
        if (picture.nWidth > 0) {
            EXPECT_EQ(size.width(), picture.nWidth);
        }
        if (picture.nHeight > 0) {
            EXPECT_EQ(size.height(), picture.nHeight);
        }
    }
    // The app icon and the slider thumb have transparent corners; the band is opaque.
    EXPECT_EQ(qAlpha(QImage(ProgramDir() + QLatin1String("Skins/quillmere_icon.png")).pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(QImage(ProgramDir() + QLatin1String("Skins/thum.png")).pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(QImage(ProgramDir() + QLatin1String("Skins/xleft.png")).pixel(250, 40)), 255);
}

TEST(ArtworkSkins, EverySkinHasATwiceSizePictureDrawnNotUpscaled)
{
    const QString strSkins = ProgramDir() + QLatin1String("Skins/");
    const QStringList names = FilesIn(strSkins, {QStringLiteral("*.bmp"), QStringLiteral("*.png")});
    int nSkins = 0;
    for (const QString& strName : names) {
        if (strName.contains(QLatin1String("@2x")))
            continue;
        SCOPED_TRACE(strName.toStdString());
        ++nSkins;
        const QString strName2x = strName.left(strName.lastIndexOf(QLatin1Char('.'))) + QLatin1String("@2x")
            + strName.mid(strName.lastIndexOf(QLatin1Char('.')));
        ASSERT_TRUE(names.contains(strName2x));
        const QImage picture = QImage(strSkins + strName).convertToFormat(QImage::Format_ARGB32);
        const QImage picture2x = QImage(strSkins + strName2x).convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(picture2x.size(), picture.size() * 2);
        EXPECT_EQ(picture2x.hasAlphaChannel(), picture.hasAlphaChannel());
        // The same drawing: halved, the @2x picture is close to the 1x one.
        const QImage halved = picture2x.scaled(picture.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        EXPECT_LT(MeanAbsDiff(halved, picture), 6.0);
        // Drawn, not upscaled: curves, glyphs and lines are finer than the 1x picture stretched. (The toolbar
        // band is whole rows of one colour and pixel-wide separators, the same at any size.)
        if (!strName.startsWith(QLatin1String("xleft")) && !strName.startsWith(QLatin1String("xcenter"))
            && !strName.startsWith(QLatin1String("xright"))) {
            const QImage stretched = picture.scaled(picture2x.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            EXPECT_GT(MeanAbsDiff(stretched, picture2x), 1.0);
        }
    }
    EXPECT_EQ(nSkins, 32 + 10);
}

TEST(ArtworkSkins, TheProgramIconComesInEveryThemeSize)
{
    for (const int nSize : kIconSizes) {
        SCOPED_TRACE(nSize);
        const QImage icon(AppIconPath(ProgramDir() + QLatin1String("Icons/"), nSize));
        ASSERT_EQ(icon.size(), QSize(nSize, nSize));
        // A rounded square: see-through corners, an opaque middle.
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(icon.pixel(nSize / 2, nSize / 2)), 255);
    }
}

TEST(ArtworkGenerator, DrawsTheSameFilesOnEveryRun)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QProcess generator;
    const QString strSheet = dir.filePath(QStringLiteral("sheet.jpg"));
    generator.start(ProgramDir() + QLatin1String("velomira-artwork"), {dir.path(), strSheet});
    ASSERT_TRUE(generator.waitForFinished(120000));
    ASSERT_EQ(generator.exitCode(), 0) << generator.readAllStandardError().toStdString();
    int nCompared = 0;
    for (const char* szFolder : {"Skins", "Icons", "Template"}) {
        QDirIterator it(dir.filePath(QLatin1String(szFolder)), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString strFresh = it.next();
            const QString strBuilt = ProgramDir() + QDir(dir.path()).relativeFilePath(strFresh);
            QFile fresh(strFresh);
            QFile built(strBuilt);
            ASSERT_TRUE(fresh.open(QIODevice::ReadOnly));
            ASSERT_TRUE(built.open(QIODevice::ReadOnly)) << strBuilt.toStdString();
            EXPECT_TRUE(fresh.readAll() == built.readAll()) << strBuilt.toStdString();
            ++nCompared;
        }
    }
    EXPECT_GT(nCompared, 200);
    // The contact sheet: a row of eight thumbnails for each category, each at least 80 pixels high; the
    // help page shows the one made so, kept small.
    const QSize sheet = PictureSize(strSheet);
    EXPECT_GE(sheet.height(), kCategories.size() * 80);
    EXPECT_GE(sheet.width(), 8 * 80);
    const QFileInfo help(QStringLiteral(VELOMIRA_SOURCE_DIR "/help/images/templates.jpg"));
    ASSERT_TRUE(help.exists());
    EXPECT_LT(help.size(), 400 * 1024);
    EXPECT_EQ(PictureSize(help.filePath()), sheet);
    // Made again whenever the library changes.
    EXPECT_LT(MeanAbsDiff(QImage(help.filePath()), QImage(strSheet)), 1.0) << "help/images/templates.jpg is stale";
    EXPECT_EQ(PictureSize(ProgramDir() + QLatin1String("Help/images/templates.jpg")), sheet);
    QFile page(QStringLiteral(VELOMIRA_SOURCE_DIR "/help/index.html"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    EXPECT_TRUE(page.readAll().contains("src=\"images/templates.jpg\""));
}
