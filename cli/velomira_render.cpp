// velomira-render: renders a project file or a template to an image file, or writes it again as a
// project file. It lays the card out on a virtual canvas and uses the program's own loaders, fits,
// renderer and writers; no window is opened.
#include <cstdio>
#include <optional>

#include <QFileInfo>
#include <QGuiApplication>
#include <QSize>
#include <QString>
#include <QStringList>

#include "document/carddocument.h"
#include "platform/imageio.h"
#include "render/cardimage.h"
#include "shell/version.h"
#include "templates/projectfile.h"
#include "templates/templateloader.h"

namespace {

enum ExitCode : int {
    kExitOk = 0,
    kExitInput = 1,
    kExitUsage = 2,
    kExitOutput = 3,
};

// Larger sides than this are refused as arguments; real cards stay far below it.
constexpr int kMaxSide = 100000;

const char kUsage[] = "Usage: velomira-render [--canvas-width N] [--width W] [--height H] [--save-project OUT.plk] "
                      "INPUT [OUTPUT]\n"
                      "\n"
                      "Renders a card to an image file, or writes it as a project file.\n"
                      "\n"
                      "  INPUT                  a project file (.plk) or a template (.xml); resource paths\n"
                      "                         resolve against the program folder\n"
                      "  OUTPUT                 image file; the type follows the extension: jpg, jpeg, bmp,\n"
                      "                         png, gif or tiff\n"
                      "  --canvas-width N       width of the canvas the card is laid out on (default: the\n"
                      "                         project's saved canvas width, or the template's background\n"
                      "                         width); the height follows the card's aspect ratio\n"
                      "  --width W, --height H  size of the image (default: the card's size, that of its\n"
                      "                         background picture); when only one is given the other\n"
                      "                         follows the card's aspect ratio\n"
                      "  --save-project OUT.plk write the card as a project file at the canvas width\n"
                      "  --help                 show this text\n"
                      "  --version              show the version\n"
                      "\n"
                      "Exit status: 0 success, 1 INPUT cannot be read, 2 usage error, 3 an output cannot be\n"
                      "written.\n";

struct Options {
    int nCanvasWidth = 0;
    int nWidth = 0;
    int nHeight = 0;
    QString strProject;
    QString strInput;
    QString strOutput;
};

void PrintError(const QString& strText)
{
    std::fprintf(stderr, "velomira-render: %s\n", strText.toLocal8Bit().constData());
}

int UsageError(const QString& strText)
{
    PrintError(strText);
    std::fputs(kUsage, stderr);
    return kExitUsage;
}

std::optional<int> PositiveInt(const QString& strValue)
{
    bool bOk = false;
    const int n = strValue.toInt(&bOk);
    if (!bOk || n <= 0 || n > kMaxSide)
        return std::nullopt;
    return n;
}

// Reads the arguments into pOptions; an exit code when the program has to stop here.
std::optional<int> ParseArguments(const QStringList& args, Options* pOptions)
{
    QStringList vecPlain;
    bool bOptionsEnded = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& strArg = args[i];
        if (bOptionsEnded || !strArg.startsWith(QLatin1String("--"))) {
            vecPlain.append(strArg);
            continue;
        }
        if (strArg == QLatin1String("--")) {
            bOptionsEnded = true;
            continue;
        }
        if (strArg == QLatin1String("--help")) {
            std::fputs(kUsage, stdout);
            return kExitOk;
        }
        if (strArg == QLatin1String("--version")) {
            std::printf("velomira-render %s\n", GetFileVersionText().toLocal8Bit().constData());
            return kExitOk;
        }
        // "--name value" or "--name=value".
        const qsizetype nEquals = strArg.indexOf(QLatin1Char('='));
        const QString strName = nEquals >= 0 ? strArg.left(nEquals) : strArg;
        int* pnTarget = nullptr;
        if (strName == QLatin1String("--canvas-width"))
            pnTarget = &pOptions->nCanvasWidth;
        else if (strName == QLatin1String("--width"))
            pnTarget = &pOptions->nWidth;
        else if (strName == QLatin1String("--height"))
            pnTarget = &pOptions->nHeight;
        else if (strName != QLatin1String("--save-project"))
            return UsageError(QStringLiteral("unknown option %1").arg(strName));
        QString strValue;
        if (nEquals >= 0)
            strValue = strArg.mid(nEquals + 1);
        else if (i + 1 < args.size())
            strValue = args[++i];
        else
            return UsageError(QStringLiteral("%1 needs a value").arg(strName));
        if (!pnTarget) {
            if (strValue.isEmpty())
                return UsageError(QStringLiteral("--save-project needs a file name"));
            pOptions->strProject = strValue;
            continue;
        }
        const std::optional<int> n = PositiveInt(strValue);
        if (!n)
            return UsageError(QStringLiteral("%1 needs a whole number from 1 to %2, not \"%3\"")
                                  .arg(strName)
                                  .arg(kMaxSide)
                                  .arg(strValue));
        *pnTarget = *n;
    }
    if (vecPlain.isEmpty())
        return UsageError(QStringLiteral("no INPUT given"));
    if (vecPlain.size() > 2)
        return UsageError(QStringLiteral("too many arguments"));
    pOptions->strInput = vecPlain[0];
    if (vecPlain.size() == 2)
        pOptions->strOutput = vecPlain[1];
    if (pOptions->strOutput.isEmpty() && pOptions->strProject.isEmpty())
        return UsageError(QStringLiteral("nothing to write: give OUTPUT or --save-project"));
    return std::nullopt;
}

// The other side of a picture with the card's aspect ratio when one side is given, truncated as the
// program's custom export sizes are.
int FollowingSide(int nGiven, int nGivenCard, int nOtherCard)
{
    return int(double(nGiven) * nOtherCard / nGivenCard);
}

// Loads INPUT onto a virtual canvas as wide as --canvas-width asks (by default the project's saved
// width or the template's background width) and as high as the card's aspect ratio makes it. pszCard
// receives the card's size, that of its background picture.
int LoadCard(const Options& options, CardDocument& doc, QSize* pszCard)
{
    const QString strInput = options.strInput;
    const QString strSuffix = QFileInfo(strInput).suffix().toLower();
    const bool bProject = strSuffix == QLatin1String("plk");
    if (!bProject && strSuffix != QLatin1String("xml"))
        return UsageError(QStringLiteral("INPUT must be a project file (.plk) or a template (.xml): %1").arg(strInput));
    if (!QFileInfo(strInput).isFile()) {
        PrintError(QStringLiteral("%1: no such file").arg(strInput));
        return kExitInput;
    }

    QString strError;
    int nCanvasWidth = options.nCanvasWidth;
    QSize szCard;
    TemplateCard templateCard;
    ProjectCard projectCard;
    if (bProject) {
        if (!ReadProjectFile(strInput, projectCard, &strError)) {
            PrintError(QStringLiteral("%1: %2").arg(strInput, strError));
            return kExitInput;
        }
        if (!nCanvasWidth)
            nCanvasWidth = projectCard.nSavedWidth;
        szCard = ReadPictureSize(projectCard.strBackground);
        // Without a readable background the card is as square as the program then lays it out.
        if (!szCard.isValid() || szCard.isEmpty())
            szCard = QSize(nCanvasWidth, nCanvasWidth);
    } else {
        if (!ReadTemplateFile(strInput, templateCard, &strError)) {
            PrintError(QStringLiteral("%1: %2").arg(strInput, strError));
            return kExitInput;
        }
        szCard = templateCard.szBackground;
        if (!nCanvasWidth)
            nCanvasWidth = szCard.width();
    }

    const int nCanvasHeight = FollowingSide(nCanvasWidth, szCard.width(), szCard.height());
    if (nCanvasHeight < 1 || nCanvasHeight > kMaxSide)
        return UsageError(QStringLiteral("a canvas %1 pixels wide would be %2 pixels high for this card")
                              .arg(nCanvasWidth)
                              .arg(nCanvasHeight));
    doc.m_szClient = QSize(nCanvasWidth, nCanvasHeight);
    if (bProject)
        ApplyProject(doc, std::move(projectCard));
    else
        AddTemplateToCard(doc, std::move(templateCard));
    *pszCard = szCard;
    return kExitOk;
}

int Run(const Options& options)
{
    CardDocument doc;
    QSize szCard;
    if (const int nExit = LoadCard(options, doc, &szCard); nExit != kExitOk)
        return nExit;

    if (!options.strOutput.isEmpty()) {
        int nWidth = options.nWidth;
        int nHeight = options.nHeight;
        if (!nWidth && !nHeight) {
            nWidth = szCard.width();
            nHeight = szCard.height();
        } else if (!nHeight) {
            nHeight = FollowingSide(nWidth, szCard.width(), szCard.height());
        } else if (!nWidth) {
            nWidth = FollowingSide(nHeight, szCard.height(), szCard.width());
        }
        if (nWidth < 1 || nHeight < 1 || nWidth > kMaxSide || nHeight > kMaxSide)
            return UsageError(QStringLiteral("the image would be %1 x %2 pixels").arg(nWidth).arg(nHeight));
        QString strError;
        if (!SaveCardImage(doc, nWidth, nHeight, options.strOutput, &strError)) {
            PrintError(strError);
            return kExitOutput;
        }
    }
    if (!options.strProject.isEmpty()) {
        QString strError;
        if (!SaveProjectFile(doc, options.strProject, &strError)) {
            PrintError(QStringLiteral("%1: %2").arg(options.strProject, strError));
            return kExitOutput;
        }
    }
    return kExitOk;
}

} // namespace

int main(int argc, char** argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    Options options;
    if (const std::optional<int> nExit = ParseArguments(args, &options))
        return *nExit;
    // Nothing is shown: drawing needs fonts, not a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return Run(options);
}
