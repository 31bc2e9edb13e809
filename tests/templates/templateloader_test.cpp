#include <gtest/gtest.h>

#include "document/carddocument.h"
#include "templates/cardloader.h"
#include "templates/templateloader.h"
#include "tests/templates/resourcetree.h"
#include "tests/testsupport.h"

namespace {

// A program folder with an 800 x 1000 background, a frame 200 x 100 with its mask and a 50 x 40 element.
class TemplateLoaderTest : public ::testing::Test {
protected:
    TemplateLoaderTest()
    {
        tree.picture(QStringLiteral("bgimage/bg.png"), 800, 1000);
        tree.picture(QStringLiteral("frame/c.png"), 200, 100);
        tree.picture(QStringLiteral("frame/c.jpg"), 200, 100);
        tree.picture(QStringLiteral("clipart/bell.png"), 50, 40);
    }

    QString Template(const QByteArray& sprites, const QByteArray& background = "bgimage/bg.png")
    {
        return tree.bytes(QStringLiteral("Template/cards/Christmas/temp1.xml"),
            "<root><PageSceneObject PageBgImage=\"" + background + "\">" + sprites + "</PageSceneObject></root>");
    }

    static QByteArray Sprite(int nType, const QByteArray& extra)
    {
        return "<SpriteObject nPhotoType=\"" + QByteArray::number(nType)
            + "\" strFramePath=\"frame/c.png\" strPhotoPath=\"clipart/bell.png\" " + extra + "/>";
    }

    bool Read(const QString& strXml, TemplateCard& card, QString* pstrError = nullptr)
    {
        return ReadTemplateFile(strXml, card, pstrError, tree.appDir());
    }

    ResourceTree tree;
};

} // namespace

struct FileNameCase {
    const char* pszPath;
    bool bAsJpg;
    const char* pszExpected;
};

void PrintTo(const FileNameCase& c, std::ostream* pOut)
{
    *pOut << Quoted(c.pszPath) << (c.bAsJpg ? " as jpg" : "");
}

class FileNamePartTest : public ::testing::TestWithParam<FileNameCase> { };

TEST_P(FileNamePartTest, TakesThePartAfterTheLastSlash)
{
    const FileNameCase& c = GetParam();
    EXPECT_EQ(FileNamePart(QString::fromUtf8(c.pszPath), c.bAsJpg), QString::fromUtf8(c.pszExpected));
}

INSTANTIATE_TEST_SUITE_P(Paths, FileNamePartTest,
    ::testing::Values(FileNameCase {"frame/a/b/c.png", false, "c.png"}, FileNameCase {"frame/a/b/c.png", true, "c.jpg"},
        FileNameCase {"oval.png", false, "oval.png"}, FileNameCase {"oval.png", true, "oval.jpg"},
        FileNameCase {"card.jpeg", true, "card.jjpg"}, FileNameCase {"frame/", false, ""}, FileNameCase {"", false, ""},
        FileNameCase {"a/xy", true, "jpg"}));

TEST_F(TemplateLoaderTest, SkippedSpriteTypesLeaveNoGapAndLaterSpritesLieAbove)
{
    TemplateCard card;
    const QString strXml = Template(Sprite(1, "") + Sprite(4, "") + Sprite(2, "") + Sprite(4, "nPhotoAngle=\"7\""));
    ASSERT_TRUE(Read(strXml, card));
    ASSERT_EQ(card.vecObjects.size(), 3u);
    EXPECT_EQ(card.vecObjects[0]->m_nType, OBJ_PHOTO);
    EXPECT_EQ(card.vecObjects[1]->m_nType, OBJ_ELEMENT);
    EXPECT_EQ(card.vecObjects[2]->m_nType, OBJ_ELEMENT);
    EXPECT_EQ(card.vecObjects[2]->m_dAngle, 353);

    CardDocument doc;
    doc.m_szClient = QSize(400, 500);
    LoadedCard loaded;
    ASSERT_TRUE(ReadCardFile(strXml, loaded, nullptr, tree.appDir()));
    PlaceCard(doc, std::move(loaded));
    ASSERT_EQ(doc.m_vecObjects.size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(doc.m_vecObjects[size_t(i)]->m_nIndex, i);
    EXPECT_EQ(doc.m_vecObjects[2]->m_dAngle, 353) << "the last sprite is on top";
}

TEST_F(TemplateLoaderTest, SpritesBecomeObjectsAsTheTableSays)
{
    TemplateCard card;
    ASSERT_TRUE(Read(
        Template("<SpriteObject nPhotoType=\"1\" strFramePath=\"frame/a/b/c.png\" strPhotoPath=\"x/ignored.png\" "
                 "nPhotoAngle=\"90\" PhotoFrameLeft=\"12.7\" PhotoFrameTop=\" 30\" PhotoFrameRight=\"+260\" "
                 "PhotoFrameBottom=\"200px\"/>"
                 "<SpriteObject nPhotoType=\"4\" strFramePath=\"frame/ignored.png\" strPhotoPath=\"clipart/bell.png\" "
                 "nPhotoAngle=\"0\" PhotoFrameLeft=\"-5\" PhotoFrameTop=\"80\" PhotoFrameRight=\"96\" "
                 "PhotoFrameBottom=\"97\"/>"),
        card));
    EXPECT_EQ(card.strBackground, tree.resource(QStringLiteral("bgimage/bg.png")));
    EXPECT_EQ(card.szBackground, QSize(800, 1000));
    ASSERT_EQ(card.vecObjects.size(), 2u);

    const TheData& photo = *card.vecObjects[0];
    EXPECT_EQ(photo.m_nType, OBJ_PHOTO);
    EXPECT_EQ(photo.m_strFrame, tree.resource(QStringLiteral("frame/c.png")));
    EXPECT_EQ(photo.m_strFrameMask, tree.resource(QStringLiteral("frame/c.jpg")));
    EXPECT_TRUE(photo.m_strElement.isEmpty());
    EXPECT_TRUE(photo.m_strPhoto.isEmpty());
    EXPECT_TRUE(photo.m_strMask.isEmpty());
    EXPECT_EQ(photo.m_dAngle, 270);
    EXPECT_EQ(photo.m_rcObject, (RectF {12, 30, 260, 200}));

    const TheData& element = *card.vecObjects[1];
    EXPECT_EQ(element.m_nType, OBJ_ELEMENT);
    EXPECT_EQ(element.m_strElement, tree.resource(QStringLiteral("clipart/bell.png")));
    EXPECT_TRUE(element.m_strFrame.isEmpty());
    EXPECT_TRUE(element.m_strFrameMask.isEmpty());
    EXPECT_EQ(element.m_dAngle, 360);
    EXPECT_EQ(element.m_rcObject, (RectF {-5, 80, 96, 97}));
}

TEST_F(TemplateLoaderTest, MissingAttributeReadsAsItsDefaultNotTheValueReadBefore)
{
    TemplateCard card;
    ASSERT_TRUE(Read(Template(Sprite(4,
                                  "nPhotoAngle=\"90\" PhotoFrameLeft=\"10\" PhotoFrameTop=\"20\" "
                                  "PhotoFrameRight=\"30\" PhotoFrameBottom=\"40\"")
                         + "<SpriteObject nPhotoType=\"1\" PhotoFrameRight=\"5\"/>"),
        card));
    ASSERT_EQ(card.vecObjects.size(), 2u);
    const TheData& second = *card.vecObjects[1];
    EXPECT_EQ(second.m_dAngle, 360);
    EXPECT_EQ(second.m_rcObject, (RectF {0, 0, 5, 0}));
    EXPECT_EQ(second.m_strFrame, tree.resource(QStringLiteral("frame/")));
}

TEST_F(TemplateLoaderTest, OnlyDirectChildrenOfTheSceneAreSprites)
{
    TemplateCard card;
    ASSERT_TRUE(Read(Template(Sprite(1, "nPhotoAngle=\"1\"") + "<Other>" + Sprite(4, "nPhotoAngle=\"2\"") + "</Other>"
                         + Sprite(4, "nPhotoAngle=\"3\"")),
        card));
    ASSERT_EQ(card.vecObjects.size(), 2u);
    EXPECT_EQ(card.vecObjects[0]->m_dAngle, 359);
    EXPECT_EQ(card.vecObjects[1]->m_dAngle, 357);
}

TEST_F(TemplateLoaderTest, BottomUpYUsesTheNaturalPictureHeight)
{
    // Background 800 x 1000 on a 400 x 500 canvas: both factors 0.5. The frame is 100 px high.
    CardDocument doc;
    doc.m_szClient = QSize(400, 500);
    CardError nError = CardError::None;
    ASSERT_TRUE(OpenCardFile(Template(Sprite(1,
                                          "PhotoFrameLeft=\"100\" PhotoFrameTop=\"0\" PhotoFrameRight=\"200\" "
                                          "PhotoFrameBottom=\"100\"")
                                 + Sprite(4,
                                     "PhotoFrameLeft=\"0\" PhotoFrameTop=\"60\" PhotoFrameRight=\"50\" "
                                     "PhotoFrameBottom=\"40\"")),
        doc, &nError, tree.appDir()));
    EXPECT_EQ(doc.m_strBackground, tree.resource(QStringLiteral("bgimage/bg.png")));
    ASSERT_EQ(doc.m_vecObjects.size(), 2u);
    EXPECT_EQ(doc.m_vecObjects[0]->m_rcObject, (RectF {50, 450, 100, 50}));
    // The element's picture is 40 px high: (1000 - 60 - 40) x 0.5.
    EXPECT_EQ(doc.m_vecObjects[1]->m_rcObject, (RectF {0, 450, 25, 20}));
    EXPECT_TRUE(doc.m_vecObjects[0]->m_pFrame) << "pictures are loaded after the fit";
    doc.RebuildImages();
    EXPECT_TRUE(doc.m_vecObjects[1]->m_pImage);
}

TEST_F(TemplateLoaderTest, ACardWithoutClientSizeTakesTheBackgroundSize)
{
    CardDocument doc;
    ASSERT_TRUE(OpenCardFile(Template(Sprite(4,
                                 "PhotoFrameLeft=\"10\" PhotoFrameTop=\"0\" PhotoFrameRight=\"50\" "
                                 "PhotoFrameBottom=\"40\"")),
        doc, nullptr, tree.appDir()));
    EXPECT_EQ(doc.m_szClient, QSize(800, 1000));
    EXPECT_EQ(doc.m_vecObjects[0]->m_rcObject, (RectF {10, 960, 50, 40}));
}

TEST_F(TemplateLoaderTest, ObjectsAreNumberedAfterThoseAlreadyOnTheCard)
{
    CardDocument doc;
    doc.m_szClient = QSize(800, 1000);
    doc.AddObject(std::make_unique<TheData>(), 0);
    LoadedCard card;
    ASSERT_TRUE(ReadCardFile(Template(Sprite(4, "") + Sprite(1, "")), card, nullptr, tree.appDir()));
    PlaceCard(doc, std::move(card));
    ASSERT_EQ(doc.m_vecObjects.size(), 3u);
    EXPECT_EQ(doc.m_vecObjects[1]->m_nIndex, 1);
    EXPECT_EQ(doc.m_vecObjects[2]->m_nIndex, 2);
}

struct BrokenTemplate {
    const char* pszName;
    QByteArray xml;
    CardError nError = CardError::Damaged;
};

void PrintTo(const BrokenTemplate& c, std::ostream* pOut)
{
    *pOut << c.pszName;
}

class BrokenTemplateTest : public TemplateLoaderTest, public ::testing::WithParamInterface<BrokenTemplate> { };

TEST_P(BrokenTemplateTest, GivesNoCardAndKeepsTheCurrentOne)
{
    CardDocument doc;
    doc.m_szClient = QSize(640, 480);
    doc.m_strBackground = QStringLiteral("/current/background.jpg");
    auto pCurrent = std::make_unique<TheData>();
    pCurrent->m_rcObject = {1, 2, 3, 4};
    TheData* pKept = doc.AddObject(std::move(pCurrent), 0);

    const QString strXml = GetParam().xml.isNull() ? tree.path(QStringLiteral("missing.xml"))
                                                   : tree.bytes(QStringLiteral("broken.xml"), GetParam().xml);
    CardError nError = CardError::None;
    EXPECT_FALSE(OpenCardFile(strXml, doc, &nError, tree.appDir()));
    EXPECT_EQ(nError, GetParam().nError);
    ASSERT_EQ(doc.m_vecObjects.size(), 1u);
    EXPECT_EQ(doc.m_vecObjects[0].get(), pKept);
    EXPECT_EQ(pKept->m_rcObject, (RectF {1, 2, 3, 4}));
    EXPECT_EQ(doc.m_strBackground, QStringLiteral("/current/background.jpg"));
    EXPECT_EQ(doc.m_szClient, QSize(640, 480));
}

namespace {

QByteArray DeepTemplate()
{
    QByteArray xml = "<root><PageSceneObject PageBgImage=\"bgimage/bg.png\">";
    for (int i = 0; i < 300000; ++i)
        xml += "<SpriteObject>";
    for (int i = 0; i < 300000; ++i)
        xml += "</SpriteObject>";
    return xml + "</PageSceneObject></root>";
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Files, BrokenTemplateTest,
    ::testing::Values(BrokenTemplate {"MissingFile", QByteArray(), CardError::Missing}, BrokenTemplate {"Empty", ""},
        BrokenTemplate {"NotWellFormed", "<root><PageSceneObject PageBgImage=\"bgimage/bg.png\"></root>"},
        BrokenTemplate {
            "OtherRoot", "<rot><PageSceneObject PageBgImage=\"bgimage/bg.png\"/></rot>", CardError::NotACard},
        BrokenTemplate {"NoScene", "<root><Scene PageBgImage=\"bgimage/bg.png\"/></root>"},
        BrokenTemplate {"NoBackgroundAttribute", "<root><PageSceneObject/></root>"},
        BrokenTemplate {"MissingBackground", "<root><PageSceneObject PageBgImage=\"bgimage/none.png\"/></root>"},
        BrokenTemplate {"BackgroundNotAPicture", "<root><PageSceneObject PageBgImage=\"frame/\"/></root>"},
        BrokenTemplate {"HostileNesting", DeepTemplate()}),
    [](const auto& info) { return std::string(info.param.pszName); });

TEST_F(TemplateLoaderTest, MissingSpritePicturesStillYieldObjects)
{
    CardDocument doc;
    doc.m_szClient = QSize(800, 1000);
    ASSERT_TRUE(OpenCardFile(Template("<SpriteObject nPhotoType=\"1\" strFramePath=\"frame/none.png\" "
                                      "PhotoFrameTop=\"100\" PhotoFrameRight=\"10\" PhotoFrameBottom=\"10\"/>"),
        doc, nullptr, tree.appDir()));
    ASSERT_EQ(doc.m_vecObjects.size(), 1u);
    // No picture to measure: the natural height counts as 0.
    EXPECT_EQ(doc.m_vecObjects[0]->m_rcObject, (RectF {0, 900, 10, 10}));
}

TEST_F(TemplateLoaderTest, TextObjectsBecomeEditableTextsAboveTheSprites)
{
    // The text comes first in the file but after the sprites on the card; a second text takes every
    // default, and a family list falls back to the first installed face.
    const QString strXml = Template(
        "<TextObject strText=\"Merry &amp; Bright\" strFontName=\"No Such Face, DejaVu Serif, serif\" "
        "nFontSize=\"80\" strTextColor=\"200|10|20\" nBold=\"1\" nItalic=\"1\" nUnderline=\"0\" nStrikeout=\"1\" "
        "nAlign=\"1\" nShadow=\"1\" nShadowX=\"4\" nShadowY=\"6\" strShadowColor=\"30|40|50\" TextLeft=\"100\" "
        "TextTop=\"50\"/>"
        + Sprite(1, "PhotoFrameLeft=\"0\" PhotoFrameTop=\"0\" PhotoFrameRight=\"200\" PhotoFrameBottom=\"100\"")
        + "<TextObject strText=\"Love\" strFontName=\"No Such Face\" TextLeft=\"0\" TextTop=\"900\"/>"
        + "<TextObject strText=\"Huge\" nFontSize=\"99999999\" nShadowX=\"-5\" nShadowY=\"70000\" "
          "TextTop=\"-99999999999\"/>");
    TemplateCard card;
    ASSERT_TRUE(Read(strXml, card));
    ASSERT_EQ(card.vecObjects.size(), 4u);
    EXPECT_EQ(card.vecObjects[0]->m_nType, OBJ_PHOTO);
    // Sizes past any card's are cut back.
    EXPECT_EQ(card.vecObjects[3]->m_pText->m_nSize, 1000);
    EXPECT_EQ(card.vecObjects[3]->m_pText->m_nShadowX, 0);
    EXPECT_EQ(card.vecObjects[3]->m_pText->m_nShadowY, 50);
    const TheData& greeting = *card.vecObjects[1];
    ASSERT_EQ(greeting.m_nType, OBJ_TEXT);
    ASSERT_TRUE(greeting.m_pText);
    const CTextPanel& text = *greeting.m_pText;
    EXPECT_EQ(text.m_strText, QStringLiteral("Merry & Bright"));
    EXPECT_EQ(text.m_strFont, QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(text.m_nSize, 80);
    EXPECT_EQ(text.m_clrText, 0xFFC80A14u);
    EXPECT_EQ(text.m_bBold + text.m_bItalic + text.m_bUnderline * 10 + text.m_bStrikeout, 3);
    EXPECT_EQ(text.m_nAlign, 1);
    EXPECT_EQ(text.m_nShadowX, 4);
    EXPECT_EQ(text.m_nShadowY, 6);
    EXPECT_EQ(text.m_clrShadow, 0xFF1E2832u);
    const CTextPanel& plain = *card.vecObjects[2]->m_pText;
    const CTextPanel defaults;
    EXPECT_EQ(plain.m_strFont, QStringLiteral("No Such Face"));
    EXPECT_EQ(plain.m_nSize, defaults.m_nSize);
    EXPECT_EQ(plain.m_clrText, defaults.m_clrText);
    EXPECT_EQ(plain.m_bShadow, defaults.m_bShadow);

    // On a canvas half the background's size the corner, the size and the shadow halve, counted from
    // the top, and the text takes the size it measures.
    CardDocument doc;
    doc.m_szClient = QSize(400, 500);
    ASSERT_TRUE(OpenCardFile(strXml, doc, nullptr, tree.appDir()));
    ASSERT_EQ(doc.m_vecObjects.size(), 4u);
    const TheData& fitted = *doc.m_vecObjects[1];
    EXPECT_EQ(fitted.m_nIndex, 1);
    EXPECT_FLOAT_EQ(fitted.m_rcObject.X, 50);
    EXPECT_FLOAT_EQ(fitted.m_rcObject.Y, 25);
    EXPECT_EQ(fitted.m_pText->m_nSize, 40);
    EXPECT_EQ(fitted.m_pText->m_nShadowX, 2);
    EXPECT_EQ(fitted.m_pText->m_nShadowY, 3);
    EXPECT_GT(fitted.m_rcObject.Width, 100);
    EXPECT_GT(fitted.m_rcObject.Height, 30);
    EXPECT_DOUBLE_EQ(fitted.m_dAspect, double(fitted.m_rcObject.Height) / fitted.m_rcObject.Width);
    EXPECT_FLOAT_EQ(doc.m_vecObjects[2]->m_rcObject.Y, 450);
    EXPECT_LT(doc.m_vecObjects[3]->m_rcObject.Y, -1e9f);
}
