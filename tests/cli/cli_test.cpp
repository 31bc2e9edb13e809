#include <gtest/gtest.h>

#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QXmlStreamReader>

#include "document/carddocument.h"
#include "document/thedata.h"
#include "render/cardimage.h"
#include "templates/cardloader.h"
#include "templates/projectfile.h"
#include "tests/testsupport.h"

namespace {

struct RunResult {
    int nExit = -1;
    QString strOut;
    QString strErr;
};

// The built renderer is copied into a program folder of its own in a temporary folder, with a small
// template library beside it, so that resource paths resolve there and the build's folder stays clean.
class RenderToolTest : public ::testing::Test {
protected:
    static QString BuiltTool()
    {
        return QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/velomira-render");
    }

    void SetUp() override
    {
        ASSERT_TRUE(QFileInfo::exists(BuiltTool())) << "velomira-render is not built: " << BuiltTool().toStdString();
        m_strAppDir = m_files.path(QStringLiteral("app/"));
        const QString strResources = m_strAppDir + QStringLiteral("Template/allresources/");
        for (const char* pszFolder : {"bgimage", "frame", "clipart"})
            ASSERT_TRUE(QDir().mkpath(strResources + QLatin1String(pszFolder)));
        m_strTool = m_strAppDir + QStringLiteral("velomira-render");
        ASSERT_TRUE(QFile::copy(BuiltTool(), m_strTool));
        // The renderer loads the logging library beside itself, and logs into this folder.
        ASSERT_TRUE(QFile::copy(QFileInfo(BuiltTool()).path() + QStringLiteral("/libjotwell.so"),
            m_strAppDir + QStringLiteral("libjotwell.so")));

        m_files.photo(QStringLiteral("app/Template/allresources/bgimage/winter.png"), 800, 600);
        QImage frame(200, 150, QImage::Format_ARGB32);
        frame.fill(QColor(230, 190, 40));
        QPainter painter(&frame);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(20, 20, 160, 110, Qt::transparent);
        painter.end();
        m_files.write(QStringLiteral("app/Template/allresources/frame/oval.png"), frame);
        QImage mask(200, 150, QImage::Format_RGB32);
        mask.fill(Qt::black);
        QPainter maskPainter(&mask);
        maskPainter.fillRect(20, 20, 160, 110, Qt::white);
        maskPainter.end();
        m_files.write(QStringLiteral("app/Template/allresources/frame/oval.jpg"), mask, 100);
        QImage bell(100, 100, QImage::Format_ARGB32);
        bell.fill(Qt::transparent);
        QPainter bellPainter(&bell);
        bellPainter.setRenderHint(QPainter::Antialiasing);
        bellPainter.setBrush(QColor(200, 20, 60));
        bellPainter.drawEllipse(QRectF(5, 5, 90, 90));
        bellPainter.end();
        m_files.write(QStringLiteral("app/Template/allresources/clipart/bell.png"), bell);

        m_strTemplate = WriteText(QStringLiteral("card.xml"),
            "<root><PageSceneObject PageBgImage=\"bgimage/winter.png\">"
            "<SpriteObject nPhotoType=\"1\" strFramePath=\"frame/oval.png\" strPhotoPath=\"\" nPhotoAngle=\"10\" "
            "PhotoFrameLeft=\"100\" PhotoFrameTop=\"300\" PhotoFrameRight=\"200\" PhotoFrameBottom=\"150\"/>"
            "<SpriteObject nPhotoType=\"4\" strFramePath=\"\" strPhotoPath=\"clipart/bell.png\" nPhotoAngle=\"0\" "
            "PhotoFrameLeft=\"500\" PhotoFrameTop=\"80\" PhotoFrameRight=\"100\" PhotoFrameBottom=\"100\"/>"
            "</PageSceneObject></root>");
    }

    QString WriteText(const QString& strName, const QByteArray& text) { return m_files.bytes(strName, text); }

    RunResult Run(const QStringList& args)
    {
        QProcess process;
        process.start(m_strTool, args);
        RunResult result;
        if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
            return result;
        result.nExit = process.exitCode();
        result.strOut = QString::fromLocal8Bit(process.readAllStandardOutput());
        result.strErr = QString::fromLocal8Bit(process.readAllStandardError());
        return result;
    }

    // The template as the program lays it out on a canvas nCanvasWidth wide.
    void LoadTemplate(CardDocument& doc, int nCanvasWidth)
    {
        doc.m_szClient = QSize(nCanvasWidth, nCanvasWidth * 600 / 800);
        CardError nError = CardError::None;
        ASSERT_TRUE(OpenCardFile(m_strTemplate, doc, &nError, m_strAppDir)) << CardErrorText(nError).toStdString();
    }

    TestFiles m_files;
    QString m_strAppDir;
    QString m_strTool;
    QString m_strTemplate;
};

struct SizeCase {
    QStringList args;
    int nCanvasWidth;
    QSize image;
};

void PrintTo(const SizeCase& c, std::ostream* pOut)
{
    *pOut << (c.args.isEmpty() ? QStringLiteral("no options") : c.args.join(QLatin1Char(' ')));
}

class RenderToolSizeTest : public RenderToolTest, public ::testing::WithParamInterface<SizeCase> { };

} // namespace

TEST_P(RenderToolSizeTest, TemplateRendersLikeTheProgramLaysItOut)
{
    const SizeCase& c = GetParam();
    const QString strOutput = m_files.path(QStringLiteral("card.png"));
    const RunResult result = Run(c.args + QStringList {m_strTemplate, strOutput});
    ASSERT_EQ(result.nExit, 0) << result.strErr.toStdString();

    const QImage written(strOutput);
    ASSERT_EQ(written.size(), c.image);
    CardDocument doc;
    LoadTemplate(doc, c.nCanvasWidth);
    const QImage expected = RenderCardBitmap(doc, c.image.width(), c.image.height());
    EXPECT_EQ(MeanAbsDiff(written, expected), 0);
    // The clip-art bell is on the card: template bottom-up y 80 with a 100 px picture on a 600 px card.
    const QColor bell = written.pixelColor(c.image.width() * 550 / 800, c.image.height() * 470 / 600);
    EXPECT_NEAR(bell.red(), 200, 10);
    EXPECT_NEAR(bell.green(), 20, 10);
}

INSTANTIATE_TEST_SUITE_P(Sizes, RenderToolSizeTest,
    ::testing::Values(SizeCase {{}, 800, {800, 600}}, SizeCase {{"--width", "400"}, 800, {400, 300}},
        SizeCase {{"--height=150"}, 800, {200, 150}}, SizeCase {{"--width", "333"}, 800, {333, 249}},
        SizeCase {{"--width", "300", "--height", "300"}, 800, {300, 300}},
        SizeCase {{"--canvas-width", "500"}, 500, {800, 600}},
        SizeCase {{"--canvas-width", "350", "--width", "640"}, 350, {640, 480}}));

TEST_F(RenderToolTest, ProjectRendersAtItsSavedCanvasWidth)
{
    CardDocument saved;
    LoadTemplate(saved, 700);
    saved.m_vecObjects[0]->SetPhoto(m_files.photo(QStringLiteral("dog.jpg"), 640, 480), 0, {}, {}, 0);
    const QString strProject = m_files.path(QStringLiteral("card.plk"));
    QString strError;
    ASSERT_TRUE(SaveProjectFile(saved, strProject, &strError, m_strAppDir)) << strError.toStdString();

    const QString strOutput = m_files.path(QStringLiteral("card.bmp"));
    const RunResult result = Run({strProject, strOutput});
    ASSERT_EQ(result.nExit, 0) << result.strErr.toStdString();

    CardDocument opened;
    opened.m_szClient = QSize(700, 525);
    ASSERT_TRUE(OpenCardFile(strProject, opened, nullptr, m_strAppDir));
    const QImage written(strOutput);
    ASSERT_EQ(written.size(), QSize(800, 600));
    EXPECT_EQ(MeanAbsDiff(written, RenderCardBitmap(opened, 800, 600)), 0);
}

TEST_F(RenderToolTest, SaveProjectWritesTheCardAtTheVirtualCanvasWidth)
{
    const QString strProject = m_files.path(QStringLiteral("out.plk"));
    const RunResult result = Run({QStringLiteral("--canvas-width"), QStringLiteral("400"),
        QStringLiteral("--save-project"), strProject, m_strTemplate});
    ASSERT_EQ(result.nExit, 0) << result.strErr.toStdString();

    CardDocument expected;
    LoadTemplate(expected, 400);
    QFile file(strProject);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), ProjectFileBytes(expected, m_strAppDir));

    ProjectCard card;
    QString strError;
    ASSERT_TRUE(ReadProjectFile(strProject, card, &strError, m_strAppDir));
    EXPECT_EQ(card.nSavedWidth, 400);
    EXPECT_EQ(card.vecObjects.size(), 2u);
}

TEST_F(RenderToolTest, ImageAndProjectInOneRun)
{
    const QString strProject = m_files.path(QStringLiteral("both.plk"));
    const QString strOutput = m_files.path(QStringLiteral("both.gif"));
    const RunResult result = Run({m_strTemplate, strOutput, QStringLiteral("--save-project"), strProject});
    ASSERT_EQ(result.nExit, 0) << result.strErr.toStdString();
    EXPECT_EQ(QImageReader(strOutput).format(), "gif");
    EXPECT_EQ(QImage(strOutput).size(), QSize(800, 600));
    ProjectCard card;
    ASSERT_TRUE(ReadProjectFile(strProject, card, nullptr, m_strAppDir));
    EXPECT_EQ(card.nSavedWidth, 800);
}

TEST_F(RenderToolTest, HelpAndVersion)
{
    const RunResult help = Run({QStringLiteral("--help")});
    EXPECT_EQ(help.nExit, 0);
    EXPECT_TRUE(help.strOut.startsWith(QStringLiteral("Usage: velomira-render"))) << help.strOut.toStdString();

    const RunResult version = Run({QStringLiteral("--version")});
    EXPECT_EQ(version.nExit, 0);
    EXPECT_EQ(version.strOut, QStringLiteral("velomira-render 2.0.0.0\n"));
}

struct UsageCase {
    QStringList args;
};

void PrintTo(const UsageCase& c, std::ostream* pOut)
{
    *pOut << (c.args.isEmpty() ? QStringLiteral("no arguments") : c.args.join(QLatin1Char(' ')));
}

class RenderToolUsageTest : public RenderToolTest, public ::testing::WithParamInterface<UsageCase> { };

TEST_P(RenderToolUsageTest, ExitsWithTwoAndShowsUsage)
{
    QStringList args = GetParam().args;
    args.replaceInStrings(QStringLiteral("TEMPLATE"), m_strTemplate);
    args.replaceInStrings(QStringLiteral("OUT"), m_files.path(QStringLiteral("out")));
    const RunResult result = Run(args);
    EXPECT_EQ(result.nExit, 2) << result.strErr.toStdString();
    EXPECT_TRUE(result.strErr.contains(QStringLiteral("Usage: velomira-render"))) << result.strErr.toStdString();
    EXPECT_TRUE(QDir(m_files.path(QString())).entryList({QStringLiteral("out*")}).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Cases, RenderToolUsageTest,
    ::testing::Values(UsageCase {{}}, UsageCase {{"TEMPLATE"}}, UsageCase {{"TEMPLATE", "OUT.png", "OUT2.png"}},
        UsageCase {{"--width", "0", "TEMPLATE", "OUT.png"}}, UsageCase {{"--width", "-3", "TEMPLATE", "OUT.png"}},
        UsageCase {{"--height", "abc", "TEMPLATE", "OUT.png"}}, UsageCase {{"--canvas-width", "TEMPLATE", "OUT.png"}},
        UsageCase {{"--frobnicate", "TEMPLATE", "OUT.png"}}, UsageCase {{"TEMPLATE", "OUT.png", "--width"}},
        UsageCase {{"--save-project=", "TEMPLATE"}}, UsageCase {{"card.txt", "OUT.png"}},
        UsageCase {{"--print-width", "0", "TEMPLATE", "OUT.pdf"}},
        UsageCase {{"--print-width", "-40", "TEMPLATE", "OUT.pdf"}},
        UsageCase {{"--print-width", "2500", "TEMPLATE", "OUT.png"}},
        UsageCase {{"--print-width", "wide", "TEMPLATE", "OUT.pdf"}}, UsageCase {{"--bleed", "TEMPLATE", "OUT.png"}},
        UsageCase {{"--width", "300", "TEMPLATE", "OUT.pdf"}}));

TEST_F(RenderToolTest, PdfAtThePrintSizeAndBlurryPhotosNamed)
{
    CardDocument saved;
    LoadTemplate(saved, 800);
    saved.m_vecObjects[0]->SetPhoto(m_files.photo(QStringLiteral("dog.jpg"), 640, 480), 0, {}, {}, 0);
    const QString strProject = m_files.path(QStringLiteral("card.plk"));
    ASSERT_TRUE(SaveProjectFile(saved, strProject, nullptr, m_strAppDir));
    const QString strPdfInfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));

    // An 800 x 600 card prints 67.7 mm wide; a metre wide its photo drops to 65 ppi.
    const struct {
        QStringList args;
        const char* pszOutput;
        bool bBlurry;
        double dPageWidthPt;
    } cases[] = {
        {{}, "card.pdf", false, 192},
        {{"--print-width", "1000", "--bleed"}, "card.pdf", true, (1000 + 6) / 25.4 * 72},
        {{"--print-width", "1000"}, "card.jpg", true, 0},
        {{}, "card.jpg", false, 0},
    };
    for (const auto& c : cases) {
        const QString strOutput = m_files.path(QLatin1String(c.pszOutput));
        QFile::remove(strOutput);
        const RunResult result = Run(c.args + QStringList {strProject, strOutput});
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString() + " " + c.pszOutput);
        EXPECT_EQ(result.nExit, 0) << result.strErr.toStdString();
        EXPECT_EQ(result.strErr.contains(QRegularExpression(QStringLiteral("dog.jpg: 6\\d ppi"))), c.bBlurry)
            << result.strErr.toStdString();
        ASSERT_TRUE(QFileInfo::exists(strOutput)) << "written whatever the resolution";
        if (c.dPageWidthPt == 0 || strPdfInfo.isEmpty())
            continue;
        QProcess info;
        info.start(strPdfInfo, {strOutput});
        info.waitForFinished(-1);
        const auto size = QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x"))
                              .match(QString::fromLocal8Bit(info.readAllStandardOutput()));
        ASSERT_TRUE(size.hasMatch());
        EXPECT_NEAR(size.captured(1).toDouble(), c.dPageWidthPt, 0.6);
    }
}

TEST_F(RenderToolTest, UnreadableInputExitsWithOne)
{
    const QString strOutput = m_files.path(QStringLiteral("out.png"));
    const auto ProjectBytes = [](const QString& strWidth, const QString& strVersion = QStringLiteral("2.0.0")) {
        const QString strText
            = QStringLiteral("<?xml version=\"1.0\" encoding=\"UNICODE\" standalone=\"yes\"?><TheData "
                             "des=\"Velomira Project File\" ver=\"%1\"><bk "
                             "file=\"Template\\allresources\\bgimage\\winter.png\" canw=\"%2\" "
                             "datas=\"0\"/></TheData>")
                  .arg(strVersion, strWidth);
        return QByteArray("\xFF\xFE", 2)
            + QByteArray(reinterpret_cast<const char*>(strText.utf16()), strText.size() * 2);
    };
    const QString strWrongVersion
        = WriteText(QStringLiteral("version.plk"), ProjectBytes(QStringLiteral("700"), QStringLiteral("2.0.1")));
    const struct {
        QString strInput;
        const char* pszReason;
    } cases[] = {
        {m_files.path(QStringLiteral("missing.plk")), "no such file"},
        {WriteText(QStringLiteral("garbage.plk"), "this is no project"), "File is corrupted!"},
        {WriteText(QStringLiteral("garbage.xml"), "<root><PageSceneObject"), "File is corrupted!"},
        {WriteText(QStringLiteral("nobg.xml"), "<root><PageSceneObject PageBgImage=\"bgimage/none.png\"/></root>"),
            "File is corrupted!"},
        {strWrongVersion, "File is corrupted!"},
        // A canvas one pixel wide leaves no height for the card: the file's problem, not the usage's.
        {WriteText(QStringLiteral("narrow.plk"), ProjectBytes(QStringLiteral("1"))), "pixels high"},
    };
    for (const auto& c : cases) {
        const RunResult result = Run({c.strInput, strOutput});
        EXPECT_EQ(result.nExit, 1) << c.strInput.toStdString();
        EXPECT_TRUE(result.strErr.contains(QLatin1String(c.pszReason))) << result.strErr.toStdString();
        EXPECT_FALSE(QFileInfo::exists(strOutput));
    }
}

TEST_F(RenderToolTest, UnwritableOutputExitsWithThree)
{
    const QStringList cases[] = {
        {m_strTemplate, m_files.path(QStringLiteral("card.xyz"))},
        {m_strTemplate, m_files.path(QStringLiteral("no/such/folder/card.png"))},
        {m_strTemplate, QStringLiteral("--save-project"), m_files.path(QStringLiteral("no/such/folder/card.plk"))},
    };
    for (const QStringList& args : cases) {
        const RunResult result = Run(args);
        EXPECT_EQ(result.nExit, 3) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(result.strErr.isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists(m_files.path(QStringLiteral("card.xyz"))));
}

TEST_F(RenderToolTest, LayoutsWriteOnePdfPageOfThePaperOrSayWhyNot)
{
    const QString strPdf = m_files.path(QStringLiteral("sheet.pdf"));
    // The 800 x 600 card is 67.7 x 50.8 mm at 300 pixels per inch.
    const struct {
        QStringList args;
        int nExit;
        const char* pszExpected; // pdfinfo's page size, or the message
    } cases[] = {
        {{"--layout", "fit"}, 0, "842 x 595 pts (A4)"},
        {{"--layout", "quarter-fold", "--paper", "Letter"}, 0, "792 x 612 pts (letter)"},
        {{"--layout", "actual", "--print-width", "100"}, 0, "595 x 842 pts (A4)"},
        {{"--layout", "2-up", "--paper", "a5"}, 0, "420 x 595 pts (A5)"},
        {{"--layout", "half-fold", "--print-width", "1500"}, 0, "595 x 842 pts (A4)"},
        {{"--layout", "3-up"}, 2, "unknown layout \"3-up\""},
        {{"--layout", "fit", "--paper", "B99"}, 2, "unknown paper \"B99\""},
        {{"--layout", "fit", "--print-width", "abc"}, 2, "--print-width needs a width"},
        {{"--layout", "fit", "--print-width", "0"}, 2, "more than 0 mm"},
        {{"--layout", "actual", "--print-width", "-5"}, 2, "more than 0 mm"},
        {{"--layout", "actual", "--print-width", "3000"}, 2, "2 metres"},
        {{"--layout", "actual", "--print-width", "300"}, 2, "300 x 225 mm"},
        {{"--layout", "fit", "--width", "500"}, 2, "do not apply to --layout"},
        {{"--paper", "A4"}, 2, "--paper is for --layout"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        QFile::remove(strPdf);
        const RunResult result = Run(c.args + QStringList {m_strTemplate, strPdf});
        EXPECT_EQ(result.nExit, c.nExit) << result.strErr.toStdString();
        if (c.nExit != 0) {
            EXPECT_TRUE(result.strErr.contains(QLatin1String(c.pszExpected))) << result.strErr.toStdString();
            EXPECT_FALSE(QFileInfo::exists(strPdf));
            continue;
        }
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {strPdf});
        ASSERT_TRUE(info.waitForFinished());
        const QString strInfo = QString::fromUtf8(info.readAllStandardOutput());
        EXPECT_TRUE(strInfo.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n")))) << strInfo.toStdString();
        EXPECT_TRUE(strInfo.contains(QLatin1String(c.pszExpected))) << strInfo.toStdString();
    }
    const struct {
        QString strOutput;
        int nExit;
    } outputs[] = {
        {m_files.path(QStringLiteral("sheet.png")), 2}, {m_files.path(QStringLiteral("no/such/folder/sheet.pdf")), 3}};
    for (const auto& output : outputs) {
        const RunResult result
            = Run({QStringLiteral("--layout"), QStringLiteral("fit"), m_strTemplate, output.strOutput});
        EXPECT_EQ(result.nExit, output.nExit) << result.strErr.toStdString();
        EXPECT_FALSE(result.strErr.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(output.strOutput));
    }
}

TEST_F(RenderToolTest, MissingPicturesAreNamedAndStrictExitsWithFour)
{
    // A card whose clip art and frame were moved away: still drawn, each missing file named.
    const QString strFrame = m_strAppDir + QStringLiteral("Template/allresources/frame/oval.png");
    const QString strBell = m_strAppDir + QStringLiteral("Template/allresources/clipart/bell.png");
    ASSERT_TRUE(QFile::remove(strFrame));
    ASSERT_TRUE(QFile::remove(strBell));
    const QString strOutput = m_files.path(QStringLiteral("out.png"));
    const struct {
        QStringList listArgs;
        int nExit;
    } cases[] = {{{m_strTemplate, strOutput}, 0}, {{QStringLiteral("--strict"), m_strTemplate, strOutput}, 4}};
    for (const auto& c : cases) {
        QFile::remove(strOutput);
        const RunResult result = Run(c.listArgs);
        EXPECT_EQ(result.nExit, c.nExit) << result.strErr.toStdString();
        EXPECT_EQ(result.strErr.count(QStringLiteral("missing picture: ")), 2) << result.strErr.toStdString();
        EXPECT_TRUE(result.strErr.contains(strFrame)) << result.strErr.toStdString();
        EXPECT_TRUE(result.strErr.contains(strBell)) << result.strErr.toStdString();
        EXPECT_EQ(QImageReader(strOutput).size(), QSize(800, 600)) << "the card is still written";
    }
    // Nothing missing: --strict changes nothing.
    ASSERT_TRUE(QFile::copy(m_strAppDir + QStringLiteral("Template/allresources/bgimage/winter.png"), strFrame));
    ASSERT_TRUE(QFile::copy(m_strAppDir + QStringLiteral("Template/allresources/bgimage/winter.png"), strBell));
    const RunResult result = Run({QStringLiteral("--strict"), m_strTemplate, strOutput});
    EXPECT_EQ(result.nExit, 0) << result.strErr.toStdString();
    EXPECT_FALSE(result.strErr.contains(QStringLiteral("missing picture"))) << result.strErr.toStdString();
}

namespace {

// The byte string of a shared-mime-info string match: C escapes \xNN and \N (octal) stand for bytes.
QByteArray MimeMatchBytes(const QString& strValue)
{
    QByteArray bytes;
    const QByteArray text = strValue.toLatin1();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            bytes += text[i];
        } else if (text[i + 1] == 'x') {
            bytes += char(text.mid(i + 2, 2).toInt(nullptr, 16));
            i += 3;
        } else {
            qsizetype n = 1;
            while (n < 4 && i + n < text.size() && text[i + n] >= '0' && text[i + n] <= '7')
                ++n;
            bytes += n > 1 ? char(text.mid(i + 1, n - 1).toInt(nullptr, 8)) : text[i + 1];
            i += std::max<qsizetype>(n - 1, 1);
        }
    }
    return bytes;
}

} // namespace

TEST_F(RenderToolTest, TheProjectFileTypeRecognisesASavedProject)
{
    QFile mime(QStringLiteral(VELOMIRA_SOURCE_DIR "/desktop/velomira.xml"));
    ASSERT_TRUE(mime.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&mime);
    QString strGlob;
    QByteArray magic;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("glob"))
            strGlob = xml.attributes().value(QLatin1String("pattern")).toString();
        else if (xml.name() == QLatin1String("match"))
            magic = MimeMatchBytes(xml.attributes().value(QLatin1String("value")).toString());
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(strGlob, QStringLiteral("*.plk"));
    // FF FE, then "<?xml" in UTF-16LE.
    EXPECT_EQ(magic, QByteArray("\xFF\xFE<\0?\0x\0m\0l\0", 12));

    const QString strProject = m_files.path(QStringLiteral("saved.plk"));
    ASSERT_EQ(Run({QStringLiteral("--save-project"), strProject, m_strTemplate}).nExit, 0);
    QFile project(strProject);
    ASSERT_TRUE(project.open(QIODevice::ReadOnly));
    EXPECT_TRUE(project.read(magic.size()) == magic);
}

// Objects far larger than the card are drawn only where they land on it, and memory that runs out is
// reported as such: under a 1.5 GB address-space ceiling the renderer finishes or says why it cannot.
TEST_F(RenderToolTest, HugeObjectsStayWithinTheMemoryCeiling)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than the ceiling";
#else
    CardDocument doc;
    doc.m_szClient = QSize(800, 600);
    doc.m_strBackground = m_strAppDir + QStringLiteral("Template/allresources/bgimage/winter.png");
    auto pFramed = std::make_unique<TheData>();
    pFramed->m_strPhoto = doc.m_strBackground;
    pFramed->m_strFrame = m_strAppDir + QStringLiteral("Template/allresources/frame/oval.png");
    pFramed->m_strFrameMask = FrameMaskPath(pFramed->m_strFrame);
    pFramed->m_rcObject = {-9000, -7000, 20000, 15000};
    pFramed->m_rcPhoto = pFramed->m_rcPhotoLocal = pFramed->m_rcObject;
    doc.AddObject(std::move(pFramed), 0);
    const QString strRed = m_files.solid(QStringLiteral("red.png"), 100, 100, Qt::red);
    for (int i = 0; i < 3; ++i) {
        auto pElement = std::make_unique<TheData>();
        pElement->m_nType = OBJ_ELEMENT;
        pElement->m_strElement = strRed;
        pElement->m_rcObject = {float(-19700 + 50 * i), -9700.0f, 20000.0f, 20000.0f};
        doc.AddObject(std::move(pElement), 0);
    }
    const QString strProject = m_files.path(QStringLiteral("huge.plk"));
    ASSERT_TRUE(SaveProjectFile(doc, strProject, nullptr, m_strAppDir));

    const auto runLimited = [this](const QStringList& args) {
        QProcess process;
        process.setChildProcessModifier([] {
            const rlimit limit {rlim_t(1536) << 20, rlim_t(1536) << 20};
            setrlimit(RLIMIT_AS, &limit);
        });
        process.start(m_strTool, args);
        RunResult result;
        if (process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit)
            result.nExit = process.exitCode();
        result.strErr = QString::fromLocal8Bit(process.readAllStandardError());
        return result;
    };
    const QString strOutput = m_files.path(QStringLiteral("huge.png"));
    const RunResult fits = runLimited({strProject, strOutput});
    EXPECT_EQ(fits.nExit, 0) << fits.strErr.toStdString();
    const QImage out(strOutput);
    ASSERT_FALSE(out.isNull());
    // The elements cover the card's left part; right of them, inside the frame's window, the photo
    // stretched over the framed object shows.
    EXPECT_EQ(out.pixel(200, 300), QColor(Qt::red).rgb());
    const QColor photo = QImage(doc.m_strBackground).pixelColor(388, 292);
    const QColor shown = out.pixelColor(700, 300);
    EXPECT_NEAR(shown.red(), photo.red(), 24);
    EXPECT_NEAR(shown.green(), photo.green(), 24);
    EXPECT_NEAR(shown.blue(), photo.blue(), 24);

    const RunResult tooLarge = runLimited({QStringLiteral("--width"), QStringLiteral("30000"),
        QStringLiteral("--height"), QStringLiteral("30000"), strProject, m_files.path(QStringLiteral("huge2.png"))});
    EXPECT_EQ(tooLarge.nExit, 3) << tooLarge.strErr.toStdString();
    EXPECT_TRUE(tooLarge.strErr.contains(QLatin1String("Not enough memory to"))) << tooLarge.strErr.toStdString();
#endif
}
