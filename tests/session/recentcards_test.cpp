#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include "document/carddocument.h"
#include "session/recentcards.h"
#include "tests/testsupport.h"

namespace {

class RecentCardsTest : public ::testing::Test {
protected:
    // An existing project file (its content does not matter to the list).
    QString Project(int n) { return m_files.bytes(QStringLiteral("card%1.plk").arg(n), "project"); }

    QStringList Projects(std::initializer_list<int> numbers)
    {
        QStringList paths;
        for (const int n : numbers)
            paths << m_files.path(QStringLiteral("card%1.plk").arg(n));
        return paths;
    }

    void WriteList(const QByteArray& bytes)
    {
        QDir().mkpath(m_strFolder);
        QFile file(m_strFolder + QStringLiteral("recent.txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    TestFiles m_files;
    QString m_strFolder = m_files.path(QStringLiteral("cache/velomira/recent/"));
    CRecentCards m_recent {m_strFolder};
};

} // namespace

TEST_F(RecentCardsTest, KeepsTheTwelveLastNewestFirstAndDropsVanishedProjectsWithTheirThumbnails)
{
    CardDocument doc;
    doc.m_szClient = QSize(300, 150);
    doc.m_strBackground = m_files.solid(QStringLiteral("bg.png"), 600, 300, QColor(200, 40, 60));

    EXPECT_TRUE(m_recent.Projects().isEmpty());
    for (int i = 0; i < 14; ++i)
        ASSERT_TRUE(m_recent.Remember(Project(i), doc, false)) << i;
    EXPECT_EQ(m_recent.Projects(), Projects({13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2}));
    EXPECT_FALSE(QFile::exists(m_recent.ThumbnailPath(Project(0))));
    EXPECT_FALSE(QFile::exists(m_recent.ThumbnailPath(Project(1))));

    // Saved or opened again: first once, the others keep their order.
    ASSERT_TRUE(m_recent.Add(m_files.path(QStringLiteral("./card7.plk"))));
    EXPECT_EQ(m_recent.Projects(), Projects({7, 13, 12, 11, 10, 9, 8, 6, 5, 4, 3, 2}));

    // A project that is gone is not offered, and its thumbnail goes at the next change.
    QFile::remove(Project(10));
    QFile::remove(Project(3));
    EXPECT_EQ(m_recent.Projects(), Projects({7, 13, 12, 11, 9, 8, 6, 5, 4, 2}));
    ASSERT_TRUE(m_recent.Add(Project(0)));
    EXPECT_EQ(m_recent.Projects(), Projects({0, 7, 13, 12, 11, 9, 8, 6, 5, 4, 2}));
    EXPECT_FALSE(QFile::exists(m_recent.ThumbnailPath(Project(10))));
    for (const QString& strProject : Projects({7, 13, 2}))
        EXPECT_TRUE(QFile::exists(m_recent.ThumbnailPath(strProject))) << strProject.toStdString();
    EXPECT_EQ(QDir(m_strFolder).entryList({QStringLiteral("*.jpg")}, QDir::Files).size(), 10);
}

TEST_F(RecentCardsTest, ThumbnailIsTheCardDrawnAtFourHundredPixelsAndRedrawnOnlyWhenAsked)
{
    CardDocument doc;
    doc.m_szClient = QSize(300, 150);
    doc.m_strBackground = m_files.solid(QStringLiteral("bg.png"), 600, 300, QColor(200, 40, 60));
    const QString strProject = Project(1);
    const QString strThumb = m_recent.ThumbnailPath(strProject);

    ASSERT_TRUE(m_recent.Remember(strProject, doc, false));
    QImageReader reader(strThumb);
    EXPECT_EQ(reader.format(), "jpeg");
    const QImage thumb = reader.read();
    ASSERT_EQ(thumb.size(), QSize(400, 200));
    const QColor centre = thumb.pixelColor(200, 100);
    EXPECT_NEAR(centre.red(), 200, 8);
    EXPECT_NEAR(centre.green(), 40, 8);
    EXPECT_NEAR(centre.blue(), 60, 8);

    // Opening a project that has a thumbnail keeps it; saving draws it again.
    m_files.bytes(QStringLiteral("cache/velomira/recent/") + QFileInfo(strThumb).fileName(), "old");
    ASSERT_TRUE(m_recent.Remember(strProject, doc, false));
    EXPECT_EQ(QFileInfo(strThumb).size(), 3);
    ASSERT_TRUE(m_recent.Remember(strProject, doc, true));
    EXPECT_EQ(QImage(strThumb).size(), QSize(400, 200));

    // A tall card keeps its shape; a card with no size draws nothing and leaves the old thumbnail.
    doc.m_szClient = QSize(100, 300);
    ASSERT_TRUE(m_recent.WriteThumbnail(strProject, doc));
    EXPECT_EQ(QImage(strThumb).size(), QSize(133, 400));
    doc.m_szClient = QSize();
    EXPECT_FALSE(m_recent.WriteThumbnail(strProject, doc));
    EXPECT_EQ(QImage(strThumb).size(), QSize(133, 400));
    EXPECT_TRUE(QDir(m_strFolder).entryList({QStringLiteral("*.jpg.*"), QStringLiteral("*.tmp")}).isEmpty());
}

TEST_F(RecentCardsTest, ADamagedListGivesOnlyTheExistingAbsolutePathsItHolds)
{
    Project(1);
    Project(2);
    Project(3);
    const QByteArray one = m_files.path(QStringLiteral("card1.plk")).toUtf8();
    const QByteArray two = m_files.path(QStringLiteral("card2.plk")).toUtf8();
    const QByteArray three = m_files.path(QStringLiteral("card3.plk")).toUtf8();
    WriteList(QByteArray("\x00\xff\xfe garbage\n", 12) + "card1.plk\n" + two + "\r\n" + m_files.path(QString()).toUtf8()
        + "\n/no/such/card.plk\n" + two + "\n\n" + one + "\n" + QByteArray(200000, 'x') + "\n" + three + "\n");
    // Only the start of an oversized file is read: card3 stands past it.
    EXPECT_EQ(m_recent.Projects(), Projects({2, 1}));

    ASSERT_TRUE(m_recent.Add(Project(3)));
    QFile list(m_strFolder + QStringLiteral("recent.txt"));
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    EXPECT_EQ(list.readAll(), three + "\n" + two + "\n" + one + "\n");
}

TEST_F(RecentCardsTest, ListFailsToBeWrittenWhereTheFolderCannotBeMade)
{
    m_files.bytes(QStringLiteral("blocked"), "a file where the folder would go");
    CRecentCards recent(m_files.path(QStringLiteral("blocked/recent/")));
    EXPECT_FALSE(recent.Add(Project(1)));
    EXPECT_TRUE(recent.Projects().isEmpty());
}

TEST(RecentCardsFolder, FollowsXdgCacheHomeAndIgnoresARelativeOne)
{
    const QByteArray saved = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", "/var/cache/someone");
    EXPECT_EQ(CRecentCards::RecentFolder(), QStringLiteral("/var/cache/someone/velomira/recent/"));
    qputenv("XDG_CACHE_HOME", "relative/cache");
    EXPECT_EQ(CRecentCards::RecentFolder(), QDir::homePath() + QStringLiteral("/.cache/velomira/recent/"));
    qunsetenv("XDG_CACHE_HOME");
    EXPECT_EQ(CRecentCards::RecentFolder(), QDir::homePath() + QStringLiteral("/.cache/velomira/recent/"));
    qputenv("XDG_CACHE_HOME", saved);
}
