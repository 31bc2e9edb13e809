#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QProcess>

#include "tests/testsupport.h"

namespace {

// velomira-render copied into a program folder of its own with a card of a background and a text
// that names {Name}, and a list of three rows.
class MergeToolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString strBuilt = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/velomira-render");
        ASSERT_TRUE(QFileInfo::exists(strBuilt)) << strBuilt.toStdString();
        const QString strAppDir = m_files.path(QStringLiteral("app/"));
        ASSERT_TRUE(QDir().mkpath(strAppDir + QStringLiteral("Template/allresources/bgimage")));
        ASSERT_TRUE(QFile::copy(strBuilt, strAppDir + QStringLiteral("velomira-render")));
        ASSERT_TRUE(QFile::copy(QFileInfo(strBuilt).path() + QStringLiteral("/libjotwell.so"),
            strAppDir + QStringLiteral("libjotwell.so")));
        m_strTool = strAppDir + QStringLiteral("velomira-render");
        m_files.photo(QStringLiteral("app/Template/allresources/bgimage/winter.png"), 400, 300);
        m_strCard = m_files.bytes(QStringLiteral("card.xml"),
            "<root><PageSceneObject PageBgImage=\"bgimage/winter.png\">"
            "<TextObject strText=\"Dear {Name}\" strFontName=\"DejaVu Sans\" nFontSize=\"30\" nAlign=\"1\" "
            "TextLeft=\"50\" TextTop=\"100\"/></PageSceneObject></root>");
        m_strList = m_files.bytes(QStringLiteral("list.csv"), "Name;Town\nAnna;Oakford\nTom;Brook\n../Eve;\n");
    }

    // Runs the tool in the test's folder; the exit code and the standard error.
    std::pair<int, QString> Run(const QStringList& args)
    {
        QProcess process;
        process.setWorkingDirectory(m_files.path(QString()));
        process.start(m_strTool, QStringList {m_strCard} + args);
        if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
            return {-1, QString()};
        return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardError())};
    }

    QByteArray Read(const QString& strPath)
    {
        QFile file(m_files.path(strPath));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    TestFiles m_files;
    QString m_strTool;
    QString m_strCard;
    QString m_strList;
};

TEST_F(MergeToolTest, WritesACardPerRowReplacesOnlyWithForceAndSplitRunsWriteWhatOneRunWrites)
{
    const QStringList merge = {QStringLiteral("--merge"), m_strList, QStringLiteral("--width"), QStringLiteral("200")};
    auto [nExit, strErr] = Run(merge + QStringList {QStringLiteral("--output"), QStringLiteral("all/{Name}.png")});
    ASSERT_EQ(nExit, 0) << strErr.toStdString();
    EXPECT_TRUE(strErr.contains(QStringLiteral("[3/3] all/_Eve.png"))) << strErr.toStdString();
    EXPECT_EQ(QDir(m_files.path(QStringLiteral("all"))).entryList(QDir::Files).size(), 3);
    EXPECT_EQ(QImage(m_files.path(QStringLiteral("all/Anna.png"))).size(), QSize(200, 150));
    EXPECT_NE(Read(QStringLiteral("all/Anna.png")), Read(QStringLiteral("all/Tom.png")));

    // Again: nothing is replaced, and the message says how to.
    std::tie(nExit, strErr) = Run(merge + QStringList {QStringLiteral("--output"), QStringLiteral("all/{Name}.png")});
    EXPECT_EQ(nExit, 3);
    EXPECT_TRUE(strErr.contains(QStringLiteral("--force"))) << strErr.toStdString();

    for (const char* pszRows : {"1-1", "2-"}) {
        std::tie(nExit, strErr) = Run(merge
            + QStringList {QStringLiteral("--output"), QStringLiteral("split/{Name}.png"), QStringLiteral("--rows"),
                QString::fromLatin1(pszRows), QStringLiteral("--jobs"), QStringLiteral("2")});
        EXPECT_EQ(nExit, 0) << strErr.toStdString();
    }
    std::tie(nExit, strErr) = Run(merge
        + QStringList {QStringLiteral("--output"), QStringLiteral("all/{Name}.png"), QStringLiteral("--rows"),
            QStringLiteral("2-2"), QStringLiteral("--force")});
    EXPECT_EQ(nExit, 0) << strErr.toStdString();
    EXPECT_TRUE(strErr.contains(QStringLiteral("[1/1] all/Tom.png"))) << strErr.toStdString();
    for (const char* pszName : {"Anna.png", "Tom.png", "_Eve.png"}) {
        const QByteArray card = Read(QStringLiteral("all/") + QLatin1String(pszName));
        EXPECT_FALSE(card.isEmpty());
        EXPECT_EQ(Read(QStringLiteral("split/") + QLatin1String(pszName)), card) << pszName;
    }
}

TEST_F(MergeToolTest, BadListsAndArgumentsWriteNothingAndExitWithTheirStatus)
{
    const struct {
        const char* pszName;
        QByteArray list;
        QStringList args;
        int nExit;
        const char* pszMessage;
    } cases[] = {
        {"ragged row", "Name,Town\nAnna,Oakford\nTom\n", {}, 1, "line 3: 1 fields where the header has 2"},
        {"unclosed quote", "Name\nAnna\n\"Tom\n", {}, 1, "line 3: a quoted field is not closed"},
        {"no column for a field", "Town\nOakford\n", {}, 1, "no column for {Name}"},
        {"header only", "Name\n", {}, 1, "nothing to merge"},
        {"rows from 0", "Name\nA\n", {"--rows", "0-2"}, 2, "--rows needs"},
        {"rows backwards", "Name\nA\n", {"--rows", "3-1"}, 2, "--rows needs"},
        {"jobs 0", "Name\nA\n", {"--jobs", "0"}, 2, "--jobs needs"},
        {"field in the folder", "Name\nA\n", {"--output", "{Name}/card.png"}, 2, "not the folder"},
        {"no image extension", "Name\nA\n", {"--output", "out/{Name}.txt"}, 2, "must end in"},
        {"OUTPUT as well", "Name\nA\n", {"x.png"}, 2, "not OUTPUT"},
        {"no --output", "Name\nA\n", {"--output", ""}, 2, "needs --output"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        const QString strList = m_files.bytes(QStringLiteral("bad.csv"), c.list);
        QStringList args = {QStringLiteral("--merge"), strList};
        if (!c.args.contains(QStringLiteral("--output")))
            args += QStringList {QStringLiteral("--output"), QStringLiteral("out/{Name}.png")};
        const auto [nExit, strErr] = Run(args + c.args);
        EXPECT_EQ(nExit, c.nExit);
        EXPECT_TRUE(strErr.contains(QLatin1String(c.pszMessage))) << strErr.toStdString();
        EXPECT_FALSE(QFileInfo::exists(m_files.path(QStringLiteral("out"))));
    }
    for (const char* pszOption : {"--rows", "--force", "--output"}) {
        const QStringList args = QString::fromLatin1(pszOption) == QLatin1String("--force")
            ? QStringList {QStringLiteral("--force"), QStringLiteral("x.png")}
            : QStringList {QString::fromLatin1(pszOption), QStringLiteral("1"), QStringLiteral("x.png")};
        EXPECT_EQ(Run(args).first, 2) << pszOption;
    }
}

} // namespace
