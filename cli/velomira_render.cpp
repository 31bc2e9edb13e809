// velomira-render: renders a project file or a template to an image file, or writes it again as a
// project file. It lays the card out on a virtual canvas and uses the program's own loaders, fits,
// renderer and writers; no window is opened.
#include <cstdio>
#include <optional>

#include <QCommandLineParser>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSize>
#include <QString>
#include <QStringList>

#include "cli/printcommand.h"
#include "document/carddocument.h"
#include "render/cardimage.h"
#include "session/version.h"
#include "templates/cardloader.h"
#include "templates/projectfile.h"

namespace {

enum ExitCode : int {
    kExitOk = 0,
    kExitInput = 1,
    kExitUsage = 2,
    kExitOutput = 3,
    kExitMissing = 4,
};

// Larger sides than this are refused as arguments; real cards stay far below it.
constexpr int kMaxSide = 100000;

const char kUsage[] = "Usage: velomira-render [--canvas-width N] [--width W] [--height H] [--save-project OUT.plk] "
                      "[--strict] INPUT [OUTPUT]\n"
                      "       velomira-render --layout NAME [--paper NAME] [--print-width MM] [--canvas-width N] "
                      "[--strict] INPUT OUTPUT.pdf\n"
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
                      "  --layout NAME          write OUTPUT (.pdf) as one printed sheet, as the print dialog\n"
                      "                         prints it: fit (fitted inside the margins), actual (at the\n"
                      "                         print size, centred), 2-up, 4-up (the card repeated, with\n"
                      "                         cut marks), half-fold, quarter-fold (folded cards, with\n"
                      "                         dashed fold lines); the paper is turned the way that prints\n"
                      "                         the card largest; margins are 10 mm\n"
                      "  --paper NAME           paper for --layout: A4 (default), A5, A3, Letter, Legal, ...\n"
                      "  --print-width MM       the card's printed width in millimetres (default: its pixels\n"
                      "                         at 300 per inch); the height follows the card's aspect\n"
                      "  --strict               exit with status 4 when a picture of the card is missing\n"
                      "                         (the card is still written)\n"
                      "  --help                 show this text\n"
                      "  --version              show the version\n"
                      "\n"
                      "Each missing picture of the card is named on the standard error; the card is drawn\n"
                      "without it.\n"
                      "\n"
                      "Exit status: 0 success, 1 INPUT cannot be read, 2 usage error, 3 an output cannot be\n"
                      "written, 4 a picture is missing and --strict was given.\n";

struct Options {
    int nCanvasWidth = 0;
    int nWidth = 0;
    int nHeight = 0;
    QString strProject;
    QString strInput;
    QString strOutput;
    bool bStrict = false;
    // --layout was given: OUTPUT is a printed sheet.
    bool bLayout = false;
    LayoutRequest layout;
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

// The message for arguments the parser refused: an unknown option, or an option without its value.
QString ParseErrorText(const QCommandLineParser& parser, const QStringList& args)
{
    if (!parser.unknownOptionNames().isEmpty()) {
        const QString strName = parser.unknownOptionNames().constFirst();
        const QString strTyped = QLatin1Char('-') + strName;
        return QStringLiteral("unknown option %1")
            .arg(args.contains(strTyped) ? strTyped : QLatin1Char('-') + strTyped);
    }
    const qsizetype nEnd = args.indexOf(QLatin1String("--"));
    const QString& strLast = nEnd >= 0 ? args.value(nEnd - 1) : args.constLast();
    if (strLast.startsWith(QLatin1String("--")) && !strLast.contains(QLatin1Char('=')))
        return QStringLiteral("%1 needs a value").arg(strLast);
    return parser.errorText();
}

// Reads the arguments into pOptions; an exit code when the program has to stop here.
std::optional<int> ParseArguments(const QStringList& args, Options* pOptions)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption canvasWidth(QStringLiteral("canvas-width"), QString(), QStringLiteral("N"));
    const QCommandLineOption width(QStringLiteral("width"), QString(), QStringLiteral("W"));
    const QCommandLineOption height(QStringLiteral("height"), QString(), QStringLiteral("H"));
    const QCommandLineOption project(QStringLiteral("save-project"), QString(), QStringLiteral("OUT.plk"));
    const QCommandLineOption help(QStringLiteral("help"));
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption strict(QStringLiteral("strict"));
    const QCommandLineOption layout(QStringLiteral("layout"), QString(), QStringLiteral("NAME"));
    const QCommandLineOption paper(QStringLiteral("paper"), QString(), QStringLiteral("NAME"));
    const QCommandLineOption printWidth(QStringLiteral("print-width"), QString(), QStringLiteral("MM"));
    parser.addOptions({canvasWidth, width, height, project, help, version, strict, layout, paper, printWidth});
    if (!parser.parse(QStringList {QStringLiteral("velomira-render")} + args))
        return UsageError(ParseErrorText(parser, args));
    if (parser.isSet(help)) {
        std::fputs(kUsage, stdout);
        return kExitOk;
    }
    if (parser.isSet(version)) {
        std::printf("velomira-render %s\n", GetFileVersionText().toLocal8Bit().constData());
        return kExitOk;
    }

    const struct {
        const QCommandLineOption& option;
        int* pnTarget;
    } numbers[] = {{canvasWidth, &pOptions->nCanvasWidth}, {width, &pOptions->nWidth}, {height, &pOptions->nHeight}};
    for (const auto& number : numbers) {
        if (!parser.isSet(number.option))
            continue;
        const QString strValue = parser.value(number.option);
        const std::optional<int> n = PositiveInt(strValue);
        if (!n)
            return UsageError(QStringLiteral("--%1 needs a whole number from 1 to %2, not \"%3\"")
                                  .arg(number.option.names().constFirst())
                                  .arg(kMaxSide)
                                  .arg(strValue));
        *number.pnTarget = *n;
    }
    pOptions->bStrict = parser.isSet(strict);
    if (parser.isSet(project)) {
        pOptions->strProject = parser.value(project);
        if (pOptions->strProject.isEmpty())
            return UsageError(QStringLiteral("--save-project needs a file name"));
    }

    pOptions->bLayout = parser.isSet(layout);
    if (parser.isSet(layout) && parser.value(layout).isEmpty())
        return UsageError(QStringLiteral("--layout needs a name"));
    if (const std::optional<QString> strError
        = ParseLayoutRequest(parser.value(layout), parser.value(paper), parser.value(printWidth), &pOptions->layout))
        return UsageError(*strError);
    if (parser.isSet(paper) && !pOptions->bLayout)
        return UsageError(QStringLiteral("--paper is for --layout"));
    if (pOptions->bLayout && (pOptions->nWidth || pOptions->nHeight))
        return UsageError(
            QStringLiteral("--width and --height do not apply to --layout, which prints at the paper's size"));

    const QStringList vecPlain = parser.positionalArguments();
    if (vecPlain.isEmpty())
        return UsageError(QStringLiteral("no INPUT given"));
    if (vecPlain.size() > 2)
        return UsageError(QStringLiteral("too many arguments"));
    pOptions->strInput = vecPlain[0];
    if (vecPlain.size() == 2)
        pOptions->strOutput = vecPlain[1];
    if (pOptions->strOutput.isEmpty() && pOptions->strProject.isEmpty())
        return UsageError(QStringLiteral("nothing to write: give OUTPUT or --save-project"));
    if (pOptions->bLayout && QFileInfo(pOptions->strOutput).suffix().toLower() != QLatin1String("pdf"))
        return UsageError(QStringLiteral("--layout writes a PDF file: OUTPUT must end in .pdf"));
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
// receives the card's size, that of its background picture; pnMissing the number of its pictures that
// are missing, each of which is named on the standard error.
int LoadCard(const Options& options, CardDocument& doc, QSize* pszCard, qsizetype* pnMissing)
{
    const QString strInput = options.strInput;
    const QString strSuffix = QFileInfo(strInput).suffix().toLower();
    if (strSuffix != QLatin1String("plk") && strSuffix != QLatin1String("xml"))
        return UsageError(QStringLiteral("INPUT must be a project file (.plk) or a template (.xml): %1").arg(strInput));

    LoadedCard card;
    CardError nError = CardError::None;
    if (!ReadCardFile(strInput, card, &nError)) {
        PrintError(QStringLiteral("%1: %2").arg(strInput, CardErrorText(nError)));
        return kExitInput;
    }
    const int nCanvasWidth = options.nCanvasWidth ? options.nCanvasWidth : card.nSavedWidth;
    const QSize szCanvas = CardCanvasSize(card, nCanvasWidth);
    if (szCanvas.height() < 1 || szCanvas.height() > kMaxSide) {
        const QString strReason = QStringLiteral("a canvas %1 pixels wide would be %2 pixels high for this card")
                                      .arg(nCanvasWidth)
                                      .arg(szCanvas.height());
        // Asked for on the command line it is a usage error; coming from the file, the input's.
        if (options.nCanvasWidth)
            return UsageError(strReason);
        PrintError(QStringLiteral("%1: %2").arg(strInput, strReason));
        return kExitInput;
    }
    const QStringList listMissing = MissingPictures(card);
    for (const QString& strMissing : listMissing)
        PrintError(QStringLiteral("%1: missing picture: %2").arg(strInput, strMissing));
    *pnMissing = listMissing.size();
    doc.m_szClient = szCanvas;
    *pszCard = card.szCard;
    // Drawn from the files alone: no working copies.
    PlaceCard(doc, std::move(card), CardUse::Output);
    return kExitOk;
}

int Run(const Options& options)
{
    CardDocument doc;
    QSize szCard;
    qsizetype nMissing = 0;
    if (const int nExit = LoadCard(options, doc, &szCard, &nMissing); nExit != kExitOk)
        return nExit;

    if (options.bLayout) {
        // Refused before anything is written, the project file included.
        if (const QString strError = LayoutRequestError(options.layout, szCard); !strError.isEmpty()) {
            PrintError(strError);
            return kExitUsage;
        }
        QString strError;
        if (!WriteLayoutPdf(doc, szCard, options.layout, options.strOutput, &strError)) {
            PrintError(strError);
            return kExitOutput;
        }
    } else if (!options.strOutput.isEmpty()) {
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
        if (nWidth < 1 || nHeight < 1 || nWidth > kMaxSide || nHeight > kMaxSide) {
            const QString strReason = QStringLiteral("the image would be %1 x %2 pixels").arg(nWidth).arg(nHeight);
            // Both sides given are the user's to change; a side that follows the card is the card's.
            if (options.nWidth && options.nHeight)
                return UsageError(strReason);
            PrintError(QStringLiteral("%1: %2").arg(options.strInput, strReason));
            return kExitInput;
        }
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
    return options.bStrict && nMissing > 0 ? kExitMissing : kExitOk;
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
    try {
        return Run(options);
    } catch (const std::bad_alloc&) {
        PrintError(QStringLiteral("%1: Not enough memory to render the card.").arg(options.strInput));
        return kExitOutput;
    }
}
