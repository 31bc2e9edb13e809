#include <gtest/gtest.h>

#include <unistd.h>

#include <QFile>

#include "document/carddocument.h"
#include "templates/cardloader.h"
#include "tests/templates/resourcetree.h"

namespace {

// A program folder with a 600 x 300 background and one clip-art element.
class CardLoaderTest : public ::testing::Test {
protected:
    CardLoaderTest()
    {
        tree.picture(QStringLiteral("bgimage/bg.png"), 600, 300);
        tree.picture(QStringLiteral("clipart/bell.png"), 50, 40);
    }

    QString Template(const QString& strName)
    {
        return tree.bytes(strName,
            "<root><PageSceneObject PageBgImage=\"bgimage/bg.png\"><SpriteObject nPhotoType=\"4\" "
            "strPhotoPath=\"clipart/bell.png\" PhotoFrameLeft=\"10\" PhotoFrameTop=\"0\" PhotoFrameRight=\"50\" "
            "PhotoFrameBottom=\"40\"/></PageSceneObject></root>");
    }

    QString Project(const QString& strName, const char16_t* pszBackground)
    {
        const QString str = QStringLiteral("<?xml version=\"1.0\" encoding=\"UNICODE\"?><TheData ver=\"2.0.0\"><bk "
                                           "file=\"%1\" canw=\"400\" datas=\"1\"/><data t=\"1\" r=\"8|4|80|40|\" "
                                           "o=\"0\" e=\"Template\\allresources\\clipart\\bell.png\"/></TheData>")
                                .arg(QString::fromUtf16(pszBackground));
        return tree.bytes(strName, Utf16LeFile(reinterpret_cast<const char16_t*>(str.utf16())));
    }

    ResourceTree tree;
};

} // namespace

TEST_F(CardLoaderTest, TellsTemplatesAndProjectsApartByTheirContent)
{
    struct Case {
        QString strPath;
        bool bProject;
        QSize szCard;
        int nSavedWidth;
    };
    const Case cases[] = {
        {Template(QStringLiteral("a template.plk")), false, {600, 300}, 600},
        {Project(QStringLiteral("a project.xml"), u"Template\\allresources\\bgimage\\bg.png"), true, {600, 300}, 400},
        // Without its background a project still makes a card: square at its saved width.
        {Project(QStringLiteral("lost.plk"), u"Template\\allresources\\bgimage\\gone.png"), true, {400, 400}, 400},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.strPath.toStdString());
        LoadedCard card;
        CardError nError = CardError::Damaged;
        ASSERT_TRUE(ReadCardFile(c.strPath, card, &nError, tree.appDir()));
        EXPECT_EQ(nError, CardError::None);
        EXPECT_EQ(card.bProject, c.bProject);
        EXPECT_EQ(card.szCard, c.szCard);
        EXPECT_EQ(card.nSavedWidth, c.nSavedWidth);
        ASSERT_EQ(card.vecObjects.size(), 1u);

        // An unsized card is laid out at the card's own width and the aspect ratio of the card.
        CardDocument doc;
        ASSERT_TRUE(OpenCardFile(c.strPath, doc, nullptr, tree.appDir()));
        EXPECT_EQ(doc.m_szClient, CardCanvasSize(card, c.nSavedWidth));
        EXPECT_EQ(doc.m_szClient.height(), c.nSavedWidth * c.szCard.height() / c.szCard.width());
        ASSERT_EQ(doc.m_vecObjects.size(), 1u);
        EXPECT_FALSE(doc.m_vecObjects[0]->m_pImage) << "only a canvas makes display images";
        doc.RebuildImages();
        EXPECT_TRUE(doc.m_vecObjects[0]->m_pImage) << "the element's picture is found";
    }
}

TEST_F(CardLoaderTest, NamesWhyAFileMakesNoCard)
{
    const QString strUnreadable = Template(QStringLiteral("locked.xml"));
    QFile::setPermissions(strUnreadable, QFileDevice::WriteOwner);
    const bool bRoot = ::geteuid() == 0;
    struct Case {
        QString strPath;
        CardError nError;
        const char* pszText;
    };
    const Case cases[] = {
        {tree.path(QStringLiteral("missing.plk")), CardError::Missing, "no such file"},
        {tree.path(QStringLiteral("Template")), CardError::Missing, "no such file"},
        {QString(), CardError::Missing, "no such file"},
        // Root reads every file: the permission is no obstacle then.
        {strUnreadable, bRoot ? CardError::None : CardError::Unreadable, bRoot ? "" : "cannot be read"},
        {tree.bytes(QStringLiteral("notes.xml"), "<notes><note/></notes>"), CardError::NotACard,
            "neither a template nor a project"},
        {tree.bytes(QStringLiteral("half.xml"), "<root><PageSceneObject"), CardError::Damaged, "File is corrupted!"},
        {tree.bytes(QStringLiteral("version.plk"), Utf16LeFile(u"<TheData ver=\"9\"><bk canw=\"400\"/></TheData>")),
            CardError::Damaged, "File is corrupted!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.strPath.toStdString());
        CardDocument doc;
        doc.m_szClient = QSize(640, 480);
        doc.m_strBackground = QStringLiteral("/current.png");
        doc.AddObject(std::make_unique<TheData>(), 0);
        CardError nError = CardError::None;
        EXPECT_EQ(OpenCardFile(c.strPath, doc, &nError, tree.appDir()), c.nError == CardError::None);
        EXPECT_EQ(nError, c.nError);
        EXPECT_EQ(CardErrorText(nError), QString::fromUtf8(c.pszText));
        if (c.nError != CardError::None) {
            EXPECT_EQ(doc.m_vecObjects.size(), 1u) << "a failed open keeps the card";
            EXPECT_EQ(doc.m_strBackground, QStringLiteral("/current.png"));
            EXPECT_EQ(doc.m_szClient, QSize(640, 480));
        }
    }
}

TEST_F(CardLoaderTest, TheMessagesNameTheFile)
{
    const QString strPath = tree.path(QStringLiteral("cards/card.plk"));
    EXPECT_EQ(CardOpenMessage(CardError::Missing, strPath), QStringLiteral("The file could not be found: card.plk"));
    EXPECT_EQ(CardOpenMessage(CardError::Unreadable, strPath), QStringLiteral("The file could not be read: card.plk"));
    for (const CardError nError : {CardError::NotACard, CardError::Damaged})
        EXPECT_EQ(CardOpenMessage(nError, strPath), QStringLiteral("File is corrupted!"));
}

TEST_F(CardLoaderTest, ListsTheMissingPicturesOnce)
{
    LoadedCard card;
    ASSERT_TRUE(ReadCardFile(Project(QStringLiteral("card.plk"), u"Template\\allresources\\bgimage\\gone.png"), card,
        nullptr, tree.appDir()));
    // Two photos share one missing file; an empty path and a folder count as they are.
    const QString strPresent = tree.resource(QStringLiteral("clipart/bell.png"));
    const struct {
        QString strPhoto, strFrame, strMask;
    } objects[] = {
        {tree.path(QStringLiteral("photos/a.jpg")), QString(), QString()},
        {tree.path(QStringLiteral("photos/a.jpg")), tree.resource(QStringLiteral("frame/oval.png")), QString()},
        {strPresent, QString(), tree.path(QStringLiteral("Template"))},
    };
    for (const auto& object : objects) {
        auto pObject = std::make_unique<TheData>();
        pObject->m_strPhoto = object.strPhoto;
        pObject->m_strFrame = object.strFrame;
        pObject->m_strMask = object.strMask;
        card.vecObjects.push_back(std::move(pObject));
    }
    const QStringList listMissing = MissingPictures(card);
    EXPECT_EQ(listMissing,
        QStringList({tree.resource(QStringLiteral("bgimage/gone.png")), tree.path(QStringLiteral("photos/a.jpg")),
            tree.resource(QStringLiteral("frame/oval.png")), tree.path(QStringLiteral("Template"))}));

    EXPECT_EQ(MissingPicturesMessage({}), QString());
    EXPECT_EQ(MissingPicturesMessage({QStringLiteral("/x/a.jpg")}),
        QStringLiteral("A picture of this card is missing:\na.jpg"));
    QStringList listSeven;
    for (int i = 1; i <= 7; ++i)
        listSeven.append(QStringLiteral("/photos/p%1.jpg").arg(i));
    EXPECT_EQ(MissingPicturesMessage(listSeven),
        QStringLiteral("7 pictures of this card are missing:\np1.jpg\np2.jpg\np3.jpg\np4.jpg\np5.jpg\nand 2 more"));
}
