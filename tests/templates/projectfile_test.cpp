#include <gtest/gtest.h>

#include <csignal>
#include <string_view>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QUuid>

#include "document/carddocument.h"
#include "document/textpanel.h"
#include "document/undohistory.h"
#include "platform/applog.h"
#include "templates/cardloader.h"
#include "templates/projectfile.h"
#include "templates/xmlparse.h"
#include "tests/templates/resourcetree.h"
#include "tests/testsupport.h"

namespace {

TheData* AddPhoto(CardDocument& doc, const RectF& rc, double dAngle)
{
    auto pObject = std::make_unique<TheData>();
    pObject->m_nType = OBJ_PHOTO;
    pObject->m_rcObject = rc;
    pObject->m_dAngle = dAngle;
    return doc.AddObject(std::move(pObject), 0);
}

TheData* AddElement(CardDocument& doc, const QString& strElement, const RectF& rc, double dAngle)
{
    auto pObject = std::make_unique<TheData>();
    pObject->m_nType = OBJ_ELEMENT;
    pObject->m_strElement = strElement;
    pObject->m_rcObject = rc;
    pObject->m_dAngle = dAngle;
    return doc.AddObject(std::move(pObject), 0);
}

TheData* AddText(CardDocument& doc, const QString& strText, const RectF& rc)
{
    auto pObject = std::make_unique<TheData>();
    pObject->m_nType = OBJ_TEXT;
    pObject->m_rcObject = rc;
    pObject->m_pText = std::make_unique<CTextPanel>();
    pObject->m_pText->m_strText = strText;
    return doc.AddObject(std::move(pObject), 0);
}

// The card of the file format's example: a framed photo, a clip-art bell and a text, on a canvas 700
// pixels wide; a deleted element between them is kept in the list but never written.
void FillExampleCard(CardDocument& doc, const QString& strAppDir)
{
    doc.m_szClient = QSize(700, 500);
    doc.m_strBackground = strAppDir + QStringLiteral("Template/allresources/bgimage/winter_street.jpg");
    TheData* pPhoto = AddPhoto(doc, {105, 60.5f, 230, 180}, 350.7);
    pPhoto->m_strPhoto = QStringLiteral("/home/ann/Photos/dog.jpg");
    pPhoto->m_strFrame = strAppDir + QStringLiteral("Template/allresources/frame/round_gold.png");
    pPhoto->m_strFrameMask = strAppDir + QStringLiteral("Template/allresources/frame/round_gold.jpg");
    pPhoto->m_rcPhoto = {80, 40, 280, 210};
    pPhoto->m_dPhotoAngle = -0.4;
    pPhoto->m_rcPhotoLocal = {-25, -15.5f, 280, 210};
    AddElement(doc, strAppDir + QStringLiteral("Template/allresources/clipart/star.png"), {1, 2, 3, 4}, 0)->m_bDeleted
        = 1;
    AddElement(doc, strAppDir + QStringLiteral("Template/allresources/clipart/bell.png"), {430, 300, 60, 60}, 360);
    TheData* pText = AddText(doc, QStringLiteral("Peace & Joy"), {200, 20, 180, 40});
    CTextPanel& text = *pText->m_pText;
    text.m_strFont = QStringLiteral("Arial");
    text.m_nSize = 24;
    text.m_clrText = 0xFFC8102E;
    text.m_nAlign = 1;
    text.m_bBold = 1;
    text.m_bShadow = 1;
    text.m_nShadowX = 1;
    text.m_nShadowY = 1;
    text.m_clrShadow = 0xFF787878;
}

const char16_t* const kExampleFile
    = uR"(<?xml version="1.0" encoding="UNICODE" standalone="yes"?><TheData des="Velomira Project File" ver="2.0.0">)"
      uR"(<bk file="Template\allresources\bgimage\winter_street.jpg" canw="700" datas="3"/>)"
      uR"(<data t="0" r=" 105.00|  60.50| 230.00| 180.00|" o="350" p="/home/ann/Photos/dog.jpg" )"
      uR"(f="Template\allresources\frame\round_gold.png" fm="Template\allresources\frame\round_gold.jpg" m="" )"
      uR"(rp="  80.00|  40.00| 280.00| 210.00|" op="0" poff=" -25.00| -15.50| 280.00| 210.00|"/>)"
      uR"(<data t="1" r=" 430.00| 300.00|  60.00|  60.00|" o="360" e="Template\allresources\clipart\bell.png"/>)"
      uR"(<data t="2" r=" 200.00|  20.00| 180.00|  40.00|" o="0" tt="Peace &amp; Joy" f="Arial" s="24" c="200|16|46" )"
      uR"(a="1" b="1000" sd="1|1|1|120|120|120"  /></TheData>)";

// A project file with the given bk and data elements, as the writer frames them.
QByteArray ProjectFile(const QString& strBody, const QString& strVersion = QStringLiteral("2.0.0"))
{
    const QString str = QStringLiteral("<?xml version=\"1.0\" encoding=\"UNICODE\" standalone=\"yes\"?>"
                                       "<TheData des=\"Velomira Project File\" ver=\"")
        + strVersion + QStringLiteral("\">") + strBody + QStringLiteral("</TheData>");
    return Utf16LeFile(reinterpret_cast<const char16_t*>(str.utf16()));
}

// A card that a failed open must leave exactly as it is.
struct CurrentCard {
    CurrentCard()
    {
        doc.m_szClient = QSize(640, 480);
        doc.m_strBackground = QStringLiteral("/current/bg.jpg");
        pObject = AddText(doc, QStringLiteral("kept"), {1, 2, 3, 4});
        doc.m_nSelected = 0;
        doc.m_pUndo->BeginEdit(UNDO_MOVE, pObject);
        pObject->MoveBy(5, 0, 1);
        doc.m_pUndo->EndEdit();
    }

    void ExpectUnchanged() const
    {
        ASSERT_EQ(doc.m_vecObjects.size(), 1u);
        EXPECT_EQ(doc.m_vecObjects[0].get(), pObject);
        EXPECT_EQ(pObject->m_pText->m_strText, QStringLiteral("kept"));
        EXPECT_EQ(doc.m_strBackground, QStringLiteral("/current/bg.jpg"));
        EXPECT_EQ(doc.m_szClient, QSize(640, 480));
        EXPECT_EQ(doc.m_nSelected, 0);
        EXPECT_EQ(doc.m_pUndo->Count(), 1);
    }

    CardDocument doc;
    TheData* pObject = nullptr;
};

} // namespace

TEST(ProjectWriterTest, WritesTheExampleCardByteForByte)
{
    ResourceTree tree;
    CardDocument doc;
    FillExampleCard(doc, tree.appDir());
    const QByteArray expected = Utf16LeFile(kExampleFile);
    EXPECT_EQ(ProjectFileBytes(doc, tree.appDir()), expected);

    const QString strPath = tree.path(QStringLiteral("card.plk"));
    QString strError;
    ASSERT_TRUE(SaveProjectFile(doc, strPath, &strError, tree.appDir())) << strError.toStdString();
    EXPECT_EQ(ReadAll(strPath), expected);
}

TEST(ProjectWriterTest, EscapesSpecialCharactersAndWritesUtf16)
{
    ResourceTree tree;
    CardDocument doc;
    doc.m_szClient = QSize(300, 200);
    AddText(doc, QString::fromUtf16(u"a&b<c\"d>e\r\nf\tg \u00e9\u20ac\U0001F389"), {0, 0, 0, 0});
    const QByteArray expected = Utf16LeFile(
        uR"(<?xml version="1.0" encoding="UNICODE" standalone="yes"?><TheData des="Velomira Project File" ver="2.0.0">)"
        uR"(<bk file="" canw="300" datas="1"/>)"
        uR"(<data t="2" r="   0.00|   0.00|   0.00|   0.00|" o="0" )"
        u"tt=\"a&amp;b&lt;c&quot;d>e&#13;&#10;f&#9;g \u00e9\u20ac\U0001F389\" "
        uR"(f="Arial" s="24" c="0|0|0" a="0" b="0000" sd="1|1|1|120|120|120"  /></TheData>)");
    EXPECT_EQ(ProjectFileBytes(doc, tree.appDir()), expected);
}

TEST(ProjectWriterTest, TwoSavesOfTheSameCardAreIdentical)
{
    ResourceTree tree;
    CardDocument doc;
    FillExampleCard(doc, tree.appDir());
    const QString strFirst = tree.path(QStringLiteral("a.plk"));
    const QString strSecond = tree.path(QStringLiteral("b.plk"));
    ASSERT_TRUE(SaveProjectFile(doc, strFirst, nullptr, tree.appDir()));
    ASSERT_TRUE(SaveProjectFile(doc, strSecond, nullptr, tree.appDir()));
    ASSERT_TRUE(SaveProjectFile(doc, strSecond, nullptr, tree.appDir())) << "saving over an existing file";
    EXPECT_FALSE(ReadAll(strFirst).isEmpty());
    EXPECT_EQ(ReadAll(strFirst), ReadAll(strSecond));
}

TEST(ProjectWriterTest, AnglesAreCutTowardsZero)
{
    CardDocument doc;
    doc.m_szClient = QSize(100, 100);
    AddPhoto(doc, {}, 359.9)->m_dPhotoAngle = -12.5;
    const QString str = QString::fromUtf16(
        reinterpret_cast<const char16_t*>(ProjectFileBytes(doc, QStringLiteral("/app/")).constData() + 2));
    EXPECT_TRUE(str.contains(QLatin1String(" o=\"359\" "))) << str.toStdString();
    EXPECT_TRUE(str.contains(QLatin1String(" op=\"-12\" "))) << str.toStdString();
}

struct RectFormatCase {
    RectF rc;
    const char* pszText;
};

void PrintTo(const RectFormatCase& c, std::ostream* pOut)
{
    *pOut << c.rc;
}

class RectFormatTest : public ::testing::TestWithParam<RectFormatCase> { };

TEST_P(RectFormatTest, FormatsAndParsesBack)
{
    const RectFormatCase& c = GetParam();
    EXPECT_EQ(FormatRect(c.rc), QString::fromLatin1(c.pszText));
    EXPECT_EQ(ParseRect(QString::fromLatin1(c.pszText)), c.rc);
}

INSTANTIATE_TEST_SUITE_P(Rects, RectFormatTest,
    ::testing::Values(RectFormatCase {{105, 60.5f, 230, 180}, " 105.00|  60.50| 230.00| 180.00|"},
        RectFormatCase {{-25, -15.5f, 0, 0.25f}, " -25.00| -15.50|   0.00|   0.25|"},
        RectFormatCase {{12345.75f, 1, 2, 3}, "12345.75|   1.00|   2.00|   3.00|"}));

struct RectParseCase {
    const char* pszText;
    RectF expected;
};

void PrintTo(const RectParseCase& c, std::ostream* pOut)
{
    *pOut << Quoted(c.pszText);
}

class RectParseTest : public ::testing::TestWithParam<RectParseCase> { };

TEST_P(RectParseTest, NumbersWithoutTheirBarStayZero)
{
    EXPECT_EQ(ParseRect(QString::fromLatin1(GetParam().pszText)), GetParam().expected) << GetParam().pszText;
}

INSTANTIATE_TEST_SUITE_P(Texts, RectParseTest,
    ::testing::Values(RectParseCase {"", {}}, RectParseCase {"1|2|", {1, 2, 0, 0}},
        RectParseCase {"1|2|3|4", {1, 2, 3, 0}}, RectParseCase {"x|  7.5|1e2|-0|", {0, 7.5f, 100, 0}},
        RectParseCase {"1e39|1e999|nan|inf|", {0, 0, 0, 0}}));

struct ColorCase {
    const char* pszText;
    quint32 clrExpected;
};

void PrintTo(const ColorCase& c, std::ostream* pOut)
{
    *pOut << Quoted(c.pszText);
}

class ColorParseTest : public ::testing::TestWithParam<ColorCase> { };

TEST_P(ColorParseTest, ReadsOpaqueRedGreenBlue)
{
    EXPECT_EQ(ParseColor(QString::fromLatin1(GetParam().pszText)), GetParam().clrExpected) << GetParam().pszText;
}

INSTANTIATE_TEST_SUITE_P(Texts, ColorParseTest,
    ::testing::Values(ColorCase {"10|20|255", 0xFF0A14FF}, ColorCase {"", 0xFF000000},
        ColorCase {"200|16|46", 0xFFC8102E}, ColorCase {"10|20", 0xFF0A1400}, ColorCase {"7", 0xFF070000},
        ColorCase {"1.9|2.9|3.9|99", 0xFF010203}, ColorCase {"300|-1|256", 0xFF2CFF00},
        ColorCase {"a|b|c", 0xFF000000}));

TEST(ProjectTextFormsTest, FormatColorDropsAlpha)
{
    EXPECT_EQ(FormatColor(0x80C8102E), QStringLiteral("200|16|46"));
    EXPECT_EQ(FormatColor(0xFF000000), QStringLiteral("0|0|0"));
}

TEST(ProjectTextFormsTest, ShadowPartsThatAreMissingKeepTheDefaults)
{
    CTextPanel text;
    ParseShadow(u"0|4|5|1|2|3", text);
    EXPECT_EQ(text.m_bShadow, 0);
    EXPECT_EQ(text.m_nShadowX, 4);
    EXPECT_EQ(text.m_nShadowY, 5);
    EXPECT_EQ(text.m_clrShadow, 0xFF010203u);

    CTextPanel partial;
    ParseShadow(u"0|9", partial);
    EXPECT_EQ(partial.m_bShadow, 0);
    EXPECT_EQ(partial.m_nShadowX, 1);
    EXPECT_EQ(partial.m_nShadowY, 1);
    EXPECT_EQ(partial.m_clrShadow, 0xFF787878u);

    CTextPanel noColour;
    ParseShadow(u"1|2|3|", noColour);
    EXPECT_EQ(noColour.m_nShadowY, 3);
    EXPECT_EQ(noColour.m_clrShadow, 0xFF787878u);
}

TEST(ProjectTextFormsTest, StyleFlagsAreReadDigitByDigit)
{
    CTextPanel text;
    ParseStyleFlags(u"1011", text);
    EXPECT_EQ(text.m_bBold, 1);
    EXPECT_EQ(text.m_bItalic, 0);
    EXPECT_EQ(text.m_bUnderline, 1);
    EXPECT_EQ(text.m_bStrikeout, 1);

    CTextPanel partial;
    partial.m_bUnderline = 1;
    ParseStyleFlags(u"1x", partial);
    EXPECT_EQ(partial.m_bBold, 1);
    EXPECT_EQ(partial.m_bItalic, 0);
    EXPECT_EQ(partial.m_bUnderline, 1) << "a missing digit keeps the setting";
}

struct ResourcePathCase {
    const char* pszAppDir;
    const char* pszPath;
    const char* pszStored;
    const char* pszRead;
};

void PrintTo(const ResourcePathCase& c, std::ostream* pOut)
{
    *pOut << Quoted(c.pszPath) << " in " << Quoted(c.pszAppDir);
}

class ResourcePathTest : public ::testing::TestWithParam<ResourcePathCase> { };

TEST_P(ResourcePathTest, StoresRelativeToTheProgramFolderAndReadsBack)
{
    const ResourcePathCase& c = GetParam();
    const QString strAppDir = QString::fromUtf8(c.pszAppDir);
    EXPECT_EQ(ToResourceRelative(QString::fromUtf8(c.pszPath), strAppDir), QString::fromUtf8(c.pszStored));
    EXPECT_EQ(FromResourceRelative(QString::fromUtf8(c.pszStored), strAppDir), QString::fromUtf8(c.pszRead));
}

INSTANTIATE_TEST_SUITE_P(Paths, ResourcePathTest,
    ::testing::Values(
        ResourcePathCase {"/opt/velomira/", "/opt/velomira/Template/allresources/frame/oval.png",
            "Template\\allresources\\frame\\oval.png", "/opt/velomira/Template/allresources/frame/oval.png"},
        ResourcePathCase {"/home/ann/Templates/velomira/",
            "/home/ann/Templates/velomira/Template/allresources/mask/m.png", "Template\\allresources\\mask\\m.png",
            "/home/ann/Templates/velomira/Template/allresources/mask/m.png"},
        ResourcePathCase {"/opt/velomira/", "/home/ann/Template/clipart/star.png",
            "\\home\\ann\\Template\\clipart\\star.png", "/home/ann/Template/clipart/star.png"},
        ResourcePathCase {
            "/opt/velomira/", "/srv/art/\u00e9toile.png", "\\srv\\art\\\u00e9toile.png", "/srv/art/\u00e9toile.png"},
        ResourcePathCase {"/opt/velomira/", "", "", ""}));

TEST(ProjectTextFormsTest, ReaderAcceptsBothSeparators)
{
    EXPECT_EQ(FromResourceRelative(QStringLiteral("Template/allresources/frame/a.png"), QStringLiteral("/app/")),
        QStringLiteral("/app/Template/allresources/frame/a.png"));
    EXPECT_EQ(FromResourceRelative(QStringLiteral("Template\\allresources/frame\\a.png"), QStringLiteral("/app/")),
        QStringLiteral("/app/Template/allresources/frame/a.png"));
}

TEST(ProjectReaderTest, OpenOfASavedCardGivesTheSameObjects)
{
    ResourceTree tree;
    CardDocument doc;
    FillExampleCard(doc, tree.appDir());
    TheData& photo = *doc.m_vecObjects[0];
    photo.m_strMask = tree.resource(QStringLiteral("mask/heart.png"));
    photo.m_dPhotoAngle = -12.9;
    CTextPanel& text = *doc.m_vecObjects[3]->m_pText;
    text.m_strText = QString::fromUtf16(u"Line & one\r\n<two>\t\"three\" \u00fc\u00df \U0001F389");
    text.m_strFont = QStringLiteral("Deja\"Vu & Sans");
    text.m_bItalic = 1;
    text.m_bStrikeout = 1;
    text.m_nShadowX = 7;
    text.m_clrShadow = 0xFF0A14FF;
    const QString strPath = tree.path(QString::fromUtf16(u"Cards & \u00e9t\u00e9/card.plk"));
    QDir().mkpath(QFileInfo(strPath).path());
    ASSERT_TRUE(SaveProjectFile(doc, strPath, nullptr, tree.appDir()));

    CardDocument opened;
    opened.m_szClient = QSize(700, 500);
    CardError nError = CardError::None;
    ASSERT_TRUE(OpenCardFile(strPath, opened, &nError, tree.appDir())) << CardErrorText(nError).toStdString();
    EXPECT_EQ(opened.m_strBackground, doc.m_strBackground);
    ASSERT_EQ(opened.m_vecObjects.size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(opened.m_vecObjects[size_t(i)]->m_nIndex, i);

    const TheData& p = *opened.m_vecObjects[0];
    EXPECT_EQ(p.m_nType, OBJ_PHOTO);
    EXPECT_EQ(p.m_rcObject, photo.m_rcObject);
    EXPECT_EQ(p.m_dAngle, 350);
    EXPECT_EQ(p.m_strPhoto, photo.m_strPhoto);
    EXPECT_EQ(p.m_strFrame, photo.m_strFrame);
    EXPECT_EQ(p.m_strFrameMask, photo.m_strFrameMask);
    EXPECT_EQ(p.m_strMask, photo.m_strMask);
    EXPECT_EQ(p.m_rcPhoto, photo.m_rcPhoto);
    EXPECT_EQ(p.m_dPhotoAngle, -12);
    EXPECT_EQ(p.m_rcPhotoLocal, photo.m_rcPhotoLocal);

    const TheData& e = *opened.m_vecObjects[1];
    EXPECT_EQ(e.m_nType, OBJ_ELEMENT);
    EXPECT_EQ(e.m_strElement, doc.m_vecObjects[2]->m_strElement);
    EXPECT_EQ(e.m_rcObject, doc.m_vecObjects[2]->m_rcObject);
    EXPECT_EQ(e.m_dAngle, 360);

    const TheData& t = *opened.m_vecObjects[2];
    EXPECT_EQ(t.m_nType, OBJ_TEXT);
    ASSERT_TRUE(t.m_pText);
    EXPECT_EQ(t.m_pText->m_strText, text.m_strText);
    EXPECT_EQ(t.m_pText->m_strFont, text.m_strFont);
    EXPECT_EQ(t.m_pText->m_nSize, 24);
    EXPECT_EQ(t.m_pText->m_clrText, 0xFFC8102Eu);
    EXPECT_EQ(t.m_pText->m_nAlign, 1);
    EXPECT_EQ(t.m_pText->m_bBold, 1);
    EXPECT_EQ(t.m_pText->m_bItalic, 1);
    EXPECT_EQ(t.m_pText->m_bUnderline, 0);
    EXPECT_EQ(t.m_pText->m_bStrikeout, 1);
    EXPECT_EQ(t.m_pText->m_bShadow, 1);
    EXPECT_EQ(t.m_pText->m_nShadowX, 7);
    EXPECT_EQ(t.m_pText->m_nShadowY, 1);
    EXPECT_EQ(t.m_pText->m_clrShadow, 0xFF0A14FFu);

    const QString strAgain = tree.path(QStringLiteral("again.plk"));
    ASSERT_TRUE(SaveProjectFile(opened, strAgain, nullptr, tree.appDir()));
    EXPECT_EQ(ReadAll(strAgain), ReadAll(strPath)) << "an opened card saves to the same bytes";
}

TEST(ProjectReaderTest, ResourcesOutsideTheProgramFolderAndAFolderNamedTemplateSurvive)
{
    ResourceTree tree(QStringLiteral("MyTemplates/Template/prog"));
    ResourceTree elsewhere;
    const QString strFrame = tree.picture(QStringLiteral("frame/oval.png"), 40, 20);
    const QString strElement = elsewhere.picture(QStringLiteral("clipart/star.png"), 30, 30);
    CardDocument doc;
    doc.m_szClient = QSize(400, 300);
    doc.m_strBackground = tree.picture(QStringLiteral("bgimage/bg.png"), 400, 300);
    TheData* pPhoto = AddPhoto(doc, {10, 10, 40, 20}, 0);
    pPhoto->m_strFrame = strFrame;
    pPhoto->m_strFrameMask = FrameMaskPath(strFrame);
    AddElement(doc, strElement, {50, 50, 30, 30}, 0);
    const QString strPath = tree.path(QStringLiteral("card.plk"));
    ASSERT_TRUE(SaveProjectFile(doc, strPath, nullptr, tree.appDir()));

    CardDocument opened;
    opened.m_szClient = QSize(400, 300);
    ASSERT_TRUE(OpenCardFile(strPath, opened, nullptr, tree.appDir()));
    ASSERT_EQ(opened.m_vecObjects.size(), 2u);
    EXPECT_EQ(opened.m_strBackground, doc.m_strBackground);
    EXPECT_EQ(opened.m_vecObjects[0]->m_strFrame, strFrame);
    EXPECT_TRUE(opened.m_vecObjects[0]->m_pFrame && !opened.m_vecObjects[0]->m_pFrame->isNull());
    EXPECT_EQ(opened.m_vecObjects[1]->m_strElement, strElement);
    opened.RebuildImages();
    EXPECT_TRUE(opened.m_vecObjects[1]->m_pImage);
}

TEST(ProjectReaderTest, OpenedAtAnotherWidthScalesByTheWidthRatio)
{
    ResourceTree tree;
    const QString strFrame = tree.picture(QStringLiteral("frame/oval.png"), 40, 20);
    const QString strPhoto = tree.picture(QStringLiteral("photos/dog.png"), 60, 40);
    CardDocument doc;
    doc.m_szClient = QSize(800, 600);
    TheData* pFramed = AddPhoto(doc, {100, 40, 200, 120}, 10);
    pFramed->m_strPhoto = strPhoto;
    pFramed->m_strFrame = strFrame;
    pFramed->m_rcPhoto = {80, 20, 240, 160};
    pFramed->m_rcPhotoLocal = {-20, -20, 240, 160};
    TheData* pPlain = AddPhoto(doc, {0, 0, 80, 40}, 0);
    pPlain->m_strPhoto = strPhoto;
    pPlain->m_rcPhoto = {4, 8, 40, 20};
    AddText(doc, QStringLiteral("hi"), {400, 200, 160, 40});
    const QString strPath = tree.path(QStringLiteral("card.plk"));
    ASSERT_TRUE(SaveProjectFile(doc, strPath, nullptr, tree.appDir()));

    CardDocument opened;
    opened.m_szClient = QSize(600, 450);
    ASSERT_TRUE(OpenCardFile(strPath, opened, nullptr, tree.appDir()));
    ASSERT_EQ(opened.m_vecObjects.size(), 3u);
    EXPECT_EQ(opened.m_vecObjects[0]->m_rcObject, (RectF {75, 30, 150, 90}));
    EXPECT_EQ(opened.m_vecObjects[0]->m_rcPhoto, (RectF {60, 15, 180, 120}));
    EXPECT_EQ(opened.m_vecObjects[0]->m_rcPhotoLocal, (RectF {-15, -15, 180, 120}));
    EXPECT_DOUBLE_EQ(opened.m_vecObjects[0]->m_dAspect, 0.6);
    EXPECT_EQ(opened.m_vecObjects[1]->m_rcObject, (RectF {0, 0, 60, 30}));
    EXPECT_EQ(opened.m_vecObjects[1]->m_rcPhoto, (RectF {4, 8, 40, 20})) << "an unframed photo keeps its rectangle";
    EXPECT_EQ(opened.m_vecObjects[2]->m_rcObject, (RectF {300, 150, 120, 30}));
}

TEST(ProjectReaderTest, ACardWithoutClientSizeTakesTheSavedSize)
{
    ResourceTree tree;
    CardDocument doc;
    doc.m_szClient = QSize(700, 500);
    doc.m_strBackground = tree.picture(QStringLiteral("bgimage/bg.png"), 1400, 700);
    AddText(doc, QStringLiteral("hi"), {10, 20, 30, 40});
    const QString strPath = tree.path(QStringLiteral("card.plk"));
    ASSERT_TRUE(SaveProjectFile(doc, strPath, nullptr, tree.appDir()));

    CardDocument opened;
    ASSERT_TRUE(OpenCardFile(strPath, opened, nullptr, tree.appDir()));
    EXPECT_EQ(opened.m_szClient, QSize(700, 350));
    EXPECT_EQ(opened.m_vecObjects[0]->m_rcObject, (RectF {10, 20, 30, 40}));
}

TEST(ProjectReaderTest, ATypedPrintWidthIsKeptAndFilesWithoutOneStayAsTheyWere)
{
    ResourceTree tree;
    const QString strPath = tree.path(QStringLiteral("card.plk"));
    const struct {
        double dWritten;
        bool bAttribute;
    } saved[] = {{0, false}, {148.5, true}, {1.0 / 3, true}};
    for (const auto& c : saved) {
        CardDocument doc;
        doc.m_szClient = QSize(700, 500);
        doc.m_strBackground = tree.picture(QStringLiteral("bgimage/bg.png"), 1400, 1000);
        doc.m_dPrintWidthMm = c.dWritten;
        ASSERT_TRUE(SaveProjectFile(doc, strPath, nullptr, tree.appDir()));
        const QByteArray bytes = ReadAll(strPath);
        const QString strText
            = QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + 2), (bytes.size() - 2) / 2);
        EXPECT_EQ(strText.contains(QLatin1String("printw=")), c.bAttribute) << c.dWritten;
        CardDocument opened;
        opened.m_dPrintWidthMm = 99;
        ASSERT_TRUE(OpenCardFile(strPath, opened, nullptr, tree.appDir()));
        EXPECT_NEAR(opened.m_dPrintWidthMm, c.dWritten, 1e-9);
    }
    // Widths that are no length read as the default.
    for (const char* pszWidth : {"abc", "-20", "0", "inf"}) {
        QFile file(strPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(ProjectFile(QStringLiteral("<bk file=\"x.png\" canw=\"700\" datas=\"0\" printw=\"%1\"/>")
                                   .arg(QLatin1String(pszWidth))));
        file.close();
        ProjectCard card;
        card.dPrintWidthMm = 5;
        ASSERT_TRUE(ReadProjectFile(strPath, card, nullptr, tree.appDir()));
        EXPECT_EQ(card.dPrintWidthMm, 0) << pszWidth;
    }
}

TEST(ProjectReaderTest, OpenReplacesTheCardAndEmptiesTheUndoHistory)
{
    ResourceTree tree;
    const QString strPath = tree.bytes(QStringLiteral("p.plk"),
        ProjectFile(
            QStringLiteral("<bk file=\"\" canw=\"640\" datas=\"1\"/><data t=\"1\" r=\"1|2|3|4|\" o=\"5\" e=\"\"/>")));
    CurrentCard current;
    ASSERT_TRUE(OpenCardFile(strPath, current.doc, nullptr, tree.appDir()));
    ASSERT_EQ(current.doc.m_vecObjects.size(), 1u);
    EXPECT_EQ(current.doc.m_vecObjects[0]->m_nType, OBJ_ELEMENT);
    EXPECT_EQ(current.doc.m_vecObjects[0]->m_rcObject, (RectF {1, 2, 3, 4}));
    EXPECT_EQ(current.doc.m_nSelected, -1);
    EXPECT_EQ(current.doc.m_pUndo->Count(), 0);
}

struct DatasCase {
    const char* pszName;
    QString strBody;
    std::vector<int> vecAngles; // the o of each object read, in order
};

void PrintTo(const DatasCase& c, std::ostream* pOut)
{
    *pOut << c.pszName;
}

class DatasTest : public ::testing::TestWithParam<DatasCase> { };

TEST_P(DatasTest, ReadsThePresentElementsUpToDatas)
{
    ResourceTree tree;
    const QString strPath = tree.bytes(QStringLiteral("p.plk"), ProjectFile(GetParam().strBody));
    ProjectCard card;
    ASSERT_TRUE(ReadProjectFile(strPath, card, nullptr, tree.appDir()));
    ASSERT_EQ(card.vecObjects.size(), GetParam().vecAngles.size());
    for (size_t i = 0; i < card.vecObjects.size(); ++i) {
        EXPECT_EQ(card.vecObjects[i]->m_dAngle, GetParam().vecAngles[i]);
        EXPECT_EQ(card.vecObjects[i]->m_nIndex, int(i));
    }
}

namespace {

QString Datas(const char* pszDatas)
{
    return QStringLiteral("<bk file=\"\" canw=\"500\" datas=\"") + QLatin1String(pszDatas) + QStringLiteral("\"/>");
}

const QString kThreeElements = QStringLiteral(
    "<data t=\"1\" o=\"1\"/><other/><data t=\"2\" o=\"2\"/><data t=\"0\" o=\"3\"><data t=\"1\" o=\"99\"/></data>");

} // namespace

INSTANTIATE_TEST_SUITE_P(Files, DatasTest,
    ::testing::Values(DatasCase {"Exact", Datas("3") + kThreeElements, {1, 2, 3}},
        DatasCase {"MoreElementsThanDatas", Datas("2") + kThreeElements, {1, 2}},
        DatasCase {"FewerElementsThanDatas", Datas("7") + kThreeElements, {1, 2, 3}},
        DatasCase {"HugeDatas", Datas("2000000000") + kThreeElements, {1, 2, 3}},
        DatasCase {"NegativeDatas", Datas("-4") + kThreeElements, {}},
        DatasCase {"UnknownKindsSkipped",
            Datas("5")
                + QStringLiteral("<data t=\"7\" o=\"1\"/><data t=\"1\" o=\"2\"/><data t=\"-1\" o=\"3\"/>"
                                 "<data t=\"x\" o=\"4\"/><data t=\"2\" o=\"5\"/>"),
            {2, 4, 5}},
        DatasCase {"BkAfterTheData", kThreeElements + Datas("3"), {1, 2, 3}}),
    [](const auto& info) { return std::string(info.param.pszName); });

TEST(ProjectReaderTest, MissingAttributesReadAsDefaultsNotAsTheValueBefore)
{
    ResourceTree tree;
    const QString strPath = tree.bytes(QStringLiteral("p.plk"),
        ProjectFile(
            QStringLiteral("<bk file=\"\" canw=\"500\" datas=\"4\"/>"
                           "<data t=\"0\" r=\"1|2|3|4|\" o=\"45\" p=\"/a.jpg\" f=\"x.png\" op=\"7\"/>"
                           "<data t=\"0\"/>"
                           "<data t=\"2\" r=\"1|2|3|4|\" o=\"1\" tt=\"one\" f=\"Serif\" s=\"40\" c=\"1|2|3\" a=\"2\" "
                           "b=\"1111\" sd=\"0|5|5|1|2|3\"/>"
                           "<data t=\"2\"/>")));
    ProjectCard card;
    ASSERT_TRUE(ReadProjectFile(strPath, card, nullptr, tree.appDir()));
    ASSERT_EQ(card.vecObjects.size(), 4u);
    const TheData& bare = *card.vecObjects[1];
    EXPECT_EQ(bare.m_rcObject, RectF {});
    EXPECT_EQ(bare.m_dAngle, 0);
    EXPECT_TRUE(bare.m_strPhoto.isEmpty());
    EXPECT_TRUE(bare.m_strFrame.isEmpty());
    EXPECT_EQ(bare.m_dPhotoAngle, 0);

    const CTextPanel defaults;
    const CTextPanel& text = *card.vecObjects[3]->m_pText;
    EXPECT_TRUE(text.m_strText.isEmpty());
    EXPECT_EQ(text.m_strFont, defaults.m_strFont);
    EXPECT_EQ(text.m_nSize, defaults.m_nSize);
    EXPECT_EQ(text.m_clrText, defaults.m_clrText);
    EXPECT_EQ(text.m_nAlign, defaults.m_nAlign);
    EXPECT_EQ(text.m_bBold, defaults.m_bBold);
    EXPECT_EQ(text.m_bShadow, defaults.m_bShadow);
    EXPECT_EQ(text.m_nShadowX, defaults.m_nShadowX);
    EXPECT_EQ(text.m_clrShadow, defaults.m_clrShadow);
}

struct CorruptCase {
    const char* pszName;
    std::function<QByteArray()> make;
    CardError nError = CardError::Damaged;
};

void PrintTo(const CorruptCase& c, std::ostream* pOut)
{
    *pOut << c.pszName;
}

class CorruptProjectTest : public ::testing::TestWithParam<CorruptCase> { };

TEST_P(CorruptProjectTest, IsRejectedAndTheCurrentCardStays)
{
    ResourceTree tree;
    const QByteArray data = GetParam().make();
    const QString strPath
        = data.isNull() ? tree.path(QStringLiteral("missing.plk")) : tree.bytes(QStringLiteral("bad.plk"), data);
    CurrentCard current;
    CardError nError = CardError::None;
    EXPECT_FALSE(OpenCardFile(strPath, current.doc, &nError, tree.appDir()));
    EXPECT_EQ(nError, GetParam().nError);
    current.ExpectUnchanged();
}

namespace {

const QString kGoodBody
    = QStringLiteral("<bk file=\"\" canw=\"700\" datas=\"1\"/><data t=\"1\" r=\"1|2|3|4|\" o=\"0\" e=\"\"/>");

QByteArray Truncated()
{
    const QByteArray file = ProjectFile(kGoodBody);
    return file.left(file.size() / 2 + 1);
}

QByteArray WrongByteOrderMark()
{
    QByteArray file = ProjectFile(kGoodBody);
    file[0] = char(0xFE);
    file[1] = char(0xFF);
    return file;
}

QByteArray HugeAttribute()
{
    const QByteArray head = ProjectFile(QStringLiteral("<bk file=\"\" canw=\"700\" datas=\"1\"/><data t=\"2\" tt=\""));
    QByteArray file = head.left(head.size() - QByteArray("</TheData>").size() * 2);
    file.append(QByteArray(50 * 1024 * 1024, 'a'));
    const QByteArray tail = Utf16LeFile(u"\"/></TheData>").mid(2);
    return file + tail;
}

// A project whose one text holds these UTF-16 code units as they are, paired or not.
QByteArray TextOfUnits(std::u16string_view units)
{
    return ProjectFile(QStringLiteral("<bk file=\"\" canw=\"700\" datas=\"1\"/><data t=\"2\" tt=\"")
        + QString::fromUtf16(units.data(), qsizetype(units.size())) + QStringLiteral("\"/>"));
}

QByteArray DeepNesting()
{
    QString strBody = kGoodBody;
    for (int i = 0; i < 200000; ++i)
        strBody += QLatin1String("<x>");
    for (int i = 0; i < 200000; ++i)
        strBody += QLatin1String("</x>");
    return ProjectFile(strBody);
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Files, CorruptProjectTest,
    ::testing::Values(CorruptCase {"MissingFile", [] { return QByteArray(); }, CardError::Missing},
        CorruptCase {"EmptyFile", [] { return QByteArray(""); }},
        CorruptCase {"OnlyByteOrderMark", [] { return QByteArray("\xFF\xFE"); }},
        CorruptCase {"WrongByteOrderMark", WrongByteOrderMark},
        CorruptCase {"WrongRoot",
            [] {
                return Utf16LeFile(
                    u"<?xml version=\"1.0\"?><Card ver=\"2.0.0\"><bk file=\"\" canw=\"700\" datas=\"0\"/></Card>");
            },
            CardError::NotACard},
        CorruptCase {"OtherVersion", [] { return ProjectFile(kGoodBody, QStringLiteral("2.0.1")); }},
        CorruptCase {"VersionWithBlank", [] { return ProjectFile(kGoodBody, QStringLiteral("2.0.0 ")); }},
        CorruptCase {"NoVersion",
            [] {
                return Utf16LeFile(u"<?xml version=\"1.0\"?><TheData des=\"2.0.0\"><bk file=\"\" canw=\"700\" "
                                   u"datas=\"0\"/></TheData>");
            }},
        CorruptCase {"ZeroWidth", [] { return ProjectFile(QStringLiteral("<bk file=\"\" canw=\"0\" datas=\"0\"/>")); }},
        CorruptCase {
            "NegativeWidth", [] { return ProjectFile(QStringLiteral("<bk file=\"\" canw=\"-700\" datas=\"0\"/>")); }},
        CorruptCase {"NoBk", [] { return ProjectFile(QStringLiteral("<data t=\"1\"/>")); }},
        CorruptCase {"Truncated", Truncated}, CorruptCase {"HugeAttribute", HugeAttribute},
        CorruptCase {"DeepNesting", DeepNesting}, CorruptCase {"Binary", [] { return QByteArray(4096, '\xC3'); }},
        CorruptCase {"OddByteAtTheEnd", [] { return ProjectFile(kGoodBody) + '\n'; }},
        CorruptCase {"LoneHighSurrogate", [] { return TextOfUnits(u"a\xD83Cz"); }},
        CorruptCase {"HighSurrogateLast", [] { return TextOfUnits(u"a\xD83C"); }},
        CorruptCase {"LoneLowSurrogate", [] { return TextOfUnits(u"a\xDF89"); }},
        CorruptCase {"SwappedSurrogates", [] { return TextOfUnits(u"\xDF89\xD83C"); }}),
    [](const auto& info) { return std::string(info.param.pszName); });

TEST(ProjectReaderTest, ASurrogatePairIsOneCharacter)
{
    ResourceTree tree;
    ProjectCard card;
    ASSERT_TRUE(ReadProjectFile(
        tree.bytes(QStringLiteral("pair.plk"), TextOfUnits(u"a\xD83C\xDF89")), card, nullptr, tree.appDir()));
    EXPECT_EQ(card.vecObjects.at(0)->m_pText->m_strText, QString::fromUtf16(u"a\U0001F389"));
}

TEST(ProjectSaveFailureTest, CardWithoutWidthIsNotSavedAndTheOldFileStays)
{
    ResourceTree tree;
    const QString strPath = tree.bytes(QStringLiteral("old.plk"), "old content");
    CardDocument doc;
    AddText(doc, QStringLiteral("x"), {1, 1, 1, 1});
    QString strError;
    EXPECT_FALSE(SaveProjectFile(doc, strPath, &strError, tree.appDir()));
    EXPECT_FALSE(strError.isEmpty());
    EXPECT_EQ(ReadAll(strPath), QByteArray("old content"));
}

TEST(ProjectSaveFailureTest, UnwritableLocationReportsAReason)
{
    ResourceTree tree;
    CardDocument doc;
    doc.m_szClient = QSize(100, 100);
    QString strError;
    EXPECT_FALSE(SaveProjectFile(doc, tree.path(QStringLiteral("no/such/folder/card.plk")), &strError, tree.appDir()));
    EXPECT_EQ(strError, QStringLiteral("The file could not be saved."));
    const QString strFolder = tree.path(QStringLiteral("folder.plk"));
    QDir().mkpath(strFolder);
    EXPECT_FALSE(SaveProjectFile(doc, strFolder, &strError, tree.appDir()));
    EXPECT_TRUE(QFileInfo(strFolder).isDir());
}

TEST(ProjectSaveFailureTest, WriteThatFailsHalfwayKeepsTheOldFile)
{
    ResourceTree tree;
    CardDocument doc;
    FillExampleCard(doc, tree.appDir());
    const QString strPath = tree.bytes(QStringLiteral("card.plk"), "previous project");

    // The file-size limit makes every write past 64 bytes fail, as a full disk would.
    rlimit previous {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = previous;
    limited.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    QString strError;
    const bool bSaved = SaveProjectFile(doc, strPath, &strError, tree.appDir());
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(bSaved);
    EXPECT_EQ(strError, QStringLiteral("The file could not be saved."));
    EXPECT_EQ(ReadAll(strPath), QByteArray("previous project"));
    EXPECT_EQ(QDir(tree.appDir()).entryList(QDir::Files), QStringList {QStringLiteral("card.plk")})
        << "no temporary file is left behind";
}

TEST(ProjectFileLogTest, SaveAndOpenAreLogged)
{
    ResourceTree tree;
    CardDocument doc;
    doc.m_szClient = QSize(100, 100);
    const QString strPath
        = tree.path(QStringLiteral("log %1.plk").arg(QUuid::createUuid().toString(QUuid::WithoutBraces)));
    ASSERT_TRUE(SaveProjectFile(doc, strPath, nullptr, tree.appDir()));
    ASSERT_TRUE(OpenCardFile(strPath, doc, nullptr, tree.appDir()));

    const QString strLog = QString::fromUtf8(ReadAll(GetLogDir() + QStringLiteral("velomira.log")));
    EXPECT_EQ(strLog.count(QStringLiteral("Save project: ") + strPath + QLatin1Char('\n')), 1);
    EXPECT_EQ(strLog.count(QStringLiteral("Open project file: ") + strPath + QLatin1Char('\n')), 1);
}

TEST(ProjectWriterTest, NothingIsWrittenThatCouldNotBeOpenedAgain)
{
    ResourceTree tree;
    CardDocument doc;
    doc.m_szClient = QSize(400, 300);
    // UTF-16 doubles the characters: this text alone passes the size the reader takes.
    AddText(doc, QString(int(kMaxXmlFileBytes / 2), QLatin1Char('a')), {10, 10, 100, 40});
    const QString strPath = tree.bytes(QStringLiteral("card.plk"), "the earlier card");
    QString strError;
    EXPECT_FALSE(SaveProjectFile(doc, strPath, &strError, tree.appDir()));
    EXPECT_TRUE(strError.contains(QStringLiteral("too large"))) << strError.toStdString();
    EXPECT_EQ(ReadAll(strPath), QByteArray("the earlier card"));
}
