// velomira-render: renders a project file or a template to an image file, or writes it again as a
// project file. It lays the card out on a virtual canvas and uses the program's own loaders, fits,
// renderer and writers; no window is opened.
#include <array>
#include <cstdio>
#include <optional>

#include <QCommandLineParser>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSize>
#include <QString>
#include <QStringList>

#include "cli/mergecommand.h"
#include "cli/printcommand.h"
#include "document/carddocument.h"
#include "document/printsize.h"
#include "render/cardimage.h"
#include "render/lowres.h"
#include "render/pdfexport.h"
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

const char kUsage[] = "Usage: velomira-render [--canvas-width N] [--width W] [--height H] [--print-width MM] "
                      "[--bleed] [--save-project OUT.plk] [--strict] INPUT [OUTPUT]\n"
                      "       velomira-render [options] INPUT --merge LIST.csv --output 'FOLDER/{Name}.jpg'\n"
                      "                       [--rows FIRST-LAST] [--jobs N] [--force]\n"
                      "       velomira-render --layout NAME [--paper NAME] [--print-width MM] [--canvas-width N] "
                      "[--strict] INPUT OUTPUT.pdf\n"
                      "\n"
                      "Renders a card to an image file, or writes it as a project file.\n"
                      "\n"
                      "  INPUT                  a project file (.plk) or a template (.xml); resource paths\n"
                      "                         resolve against the program folder\n"
                      "  OUTPUT                 image file; the type follows the extension: jpg, jpeg, bmp,\n"
                      "                         png, gif or tiff, or pdf for one page the card's print size\n"
                      "  --canvas-width N       width of the canvas the card is laid out on (default: the\n"
                      "                         project's saved canvas width, or the template's background\n"
                      "                         width); the height follows the card's aspect ratio\n"
                      "  --width W, --height H  size of the image (default: the card's size, that of its\n"
                      "                         background picture); when only one is given the other\n"
                      "                         follows the card's aspect ratio\n"
                      "  --print-width MM       the card's width on paper in millimetres (default: its pixels at\n"
                      "                         300 ppi); sizes the PDF page and the photo resolution check\n"
                      "  --bleed                PDF only: 3 mm more page on every side, the background run on to\n"
                      "                         the edge, with crop marks\n"
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
                      "  --merge LIST.csv       write one card per row of the list (a header row naming\n"
                      "                         the fields, comma or semicolon separated, UTF-8 or\n"
                      "                         UTF-16): each {Field} in the card's texts takes the row's\n"
                      "                         value; the whole list is checked before a card is written\n"
                      "  --output PATTERN       with --merge: the folder and file names of the cards, such\n"
                      "                         as 'cards/{Name}.png'; the type follows the extension;\n"
                      "                         values cannot leave the folder, and a name given twice\n"
                      "                         gets \" (2)\", \" (3)\"\n"
                      "  --rows FIRST-LAST      with --merge: only these rows (1 is the first after the\n"
                      "                         header; FIRST- runs to the end); names are those of the\n"
                      "                         whole list, so split runs write what one run would\n"
                      "  --jobs N               with --merge: cards drawn at once (default 1)\n"
                      "  --force                with --merge: replace files that are already there\n"
                      "  --help                 show this text\n"
                      "  --version              show the version\n"
                      "\n"
                      "Each missing picture of the card is named on the standard error; the card is drawn\n"
                      "without it. Each photo that would print below 150 pixels per inch at the print size\n"
                      "is named there with its resolution; the card is still written.\n"
                      "\n"
                      "Exit status: 0 success, 1 INPUT cannot be read (with --merge also: the list cannot be\n"
                      "read, a row is malformed, the list has no rows or no column for a field the card\n"
                      "uses), 2 usage error, 3 an output cannot be written (with --merge also: a file is\n"
                      "already there and --force was not given; the cards written before stay), 4 a\n"
                      "picture is missing and --strict was given.\n";

struct Options {
    int nCanvasWidth = 0;
    int nWidth = 0;
    int nHeight = 0;
    // Typed with --print-width; otherwise the card prints at 300 ppi.
    std::optional<double> optPrintWidthMm;
    bool bBleed = false;
    QString strProject;
    QString strInput;
    QString strOutput;
    bool bStrict = false;
    bool bMerge = false;
    MergeArguments merge;
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

// Names, before the card is written, each photo that prints blurry at szCardInches, as the program
// asks before it writes.
void PrintBlurryPhotos(const CardDocument& doc, const QString& strInput, QSizeF szCardInches)
{
    for (const LowResPhoto& photo : LowResolutionPhotos(doc, szCardInches))
        PrintError(QStringLiteral("%1: %2: %3 ppi at the print size, below %4 ppi: it will look blurry")
                       .arg(strInput, photo.strName)
                       .arg(photo.nPpi)
                       .arg(kSharpPpi));
}

bool IsPdf(const QString& strPath)
{
    return QFileInfo(strPath).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0;
}

// The merge options: --merge and --output go together, --rows, --jobs and --force only with them.
std::optional<int> ParseMergeArguments(
    const QCommandLineParser& parser, const std::array<QCommandLineOption, 5>& options, Options* pOptions)
{
    const auto& [list, output, rows, jobs, force] = options;
    pOptions->bMerge = parser.isSet(list);
    if (!pOptions->bMerge) {
        for (const QCommandLineOption& option : {output, rows, jobs, force}) {
            if (parser.isSet(option))
                return UsageError(QStringLiteral("--%1 needs --merge").arg(option.names().constFirst()));
        }
        return std::nullopt;
    }
    MergeArguments& merge = pOptions->merge;
    merge.strList = parser.value(list);
    merge.strOutput = parser.value(output);
    if (merge.strList.isEmpty())
        return UsageError(QStringLiteral("--merge needs a list"));
    if (merge.strOutput.isEmpty())
        return UsageError(
            QStringLiteral("--merge needs --output with the cards' folder and names, such as 'cards/{Name}.jpg'"));
    if (parser.isSet(rows) && !ParseRows(parser.value(rows), &merge.nFirst, &merge.nLast))
        return UsageError(QStringLiteral("--rows needs FIRST-LAST, FIRST- or a row, counted from 1, not \"%1\"")
                              .arg(parser.value(rows)));
    if (parser.isSet(jobs)) {
        bool bOk = false;
        merge.nJobs = parser.value(jobs).toInt(&bOk);
        if (!bOk || merge.nJobs < 1 || merge.nJobs > 64)
            return UsageError(
                QStringLiteral("--jobs needs a whole number from 1 to 64, not \"%1\"").arg(parser.value(jobs)));
    }
    merge.bForce = parser.isSet(force);
    return std::nullopt;
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
    const QCommandLineOption printWidth(QStringLiteral("print-width"), QString(), QStringLiteral("MM"));
    const QCommandLineOption bleed(QStringLiteral("bleed"));
    const QCommandLineOption mergeList(QStringLiteral("merge"), QString(), QStringLiteral("LIST.csv"));
    const QCommandLineOption mergeOutput(QStringLiteral("output"), QString(), QStringLiteral("PATTERN"));
    const QCommandLineOption mergeRows(QStringLiteral("rows"), QString(), QStringLiteral("FIRST-LAST"));
    const QCommandLineOption mergeJobs(QStringLiteral("jobs"), QString(), QStringLiteral("N"));
    const QCommandLineOption force(QStringLiteral("force"));
    const QCommandLineOption layout(QStringLiteral("layout"), QString(), QStringLiteral("NAME"));
    const QCommandLineOption paper(QStringLiteral("paper"), QString(), QStringLiteral("NAME"));
    parser.addOptions({canvasWidth, width, height, project, help, version, strict, printWidth, bleed, mergeList,
        mergeOutput, mergeRows, mergeJobs, force, layout, paper});
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
    if (parser.isSet(printWidth)) {
        // Whether the width suits the card is known once the card is read; a number it must be now.
        bool bOk = false;
        pOptions->optPrintWidthMm = parser.value(printWidth).toDouble(&bOk);
        if (!bOk)
            return UsageError(
                QStringLiteral("--print-width needs a width in millimetres, not \"%1\"").arg(parser.value(printWidth)));
    }
    pOptions->bBleed = parser.isSet(bleed);
    if (parser.isSet(project)) {
        pOptions->strProject = parser.value(project);
        if (pOptions->strProject.isEmpty())
            return UsageError(QStringLiteral("--save-project needs a file name"));
    }

    if (const std::optional<int> nExit
        = ParseMergeArguments(parser, {mergeList, mergeOutput, mergeRows, mergeJobs, force}, pOptions))
        return nExit;
    pOptions->bLayout = parser.isSet(layout);
    if (parser.isSet(layout) && parser.value(layout).isEmpty())
        return UsageError(QStringLiteral("--layout needs a name"));
    if (const std::optional<QString> strError
        = ParseLayoutRequest(parser.value(layout), parser.value(paper), pOptions->optPrintWidthMm, &pOptions->layout))
        return UsageError(*strError);
    if (parser.isSet(paper) && !pOptions->bLayout)
        return UsageError(QStringLiteral("--paper is for --layout"));
    if (pOptions->bLayout && (pOptions->nWidth || pOptions->nHeight))
        return UsageError(
            QStringLiteral("--width and --height do not apply to --layout, which prints at the paper's size"));
    if (pOptions->bLayout && pOptions->bMerge)
        return UsageError(QStringLiteral("--layout and --merge cannot be used together"));
    if (pOptions->bLayout && pOptions->bBleed)
        return UsageError(QStringLiteral("--bleed applies to a card's own PDF, not to --layout"));

    const QStringList vecPlain = parser.positionalArguments();
    if (vecPlain.isEmpty())
        return UsageError(QStringLiteral("no INPUT given"));
    if (vecPlain.size() > 2)
        return UsageError(QStringLiteral("too many arguments"));
    pOptions->strInput = vecPlain[0];
    if (vecPlain.size() == 2)
        pOptions->strOutput = vecPlain[1];
    if (pOptions->bMerge && !pOptions->strOutput.isEmpty())
        return UsageError(QStringLiteral("with --merge the cards are named by --output, not OUTPUT"));
    if (pOptions->strOutput.isEmpty() && pOptions->strProject.isEmpty() && !pOptions->bMerge)
        return UsageError(QStringLiteral("nothing to write: give OUTPUT or --save-project"));
    if (pOptions->bLayout && QFileInfo(pOptions->strOutput).suffix().toLower() != QLatin1String("pdf"))
        return UsageError(QStringLiteral("--layout writes a PDF file: OUTPUT must end in .pdf"));
    const bool bPdf = IsPdf(pOptions->strOutput);
    if (bPdf && (pOptions->nWidth || pOptions->nHeight))
        return UsageError(QStringLiteral("--width and --height do not apply to a PDF: it is the print size"));
    if (!bPdf && pOptions->bBleed)
        return UsageError(QStringLiteral("--bleed applies to a PDF OUTPUT only"));
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

    const bool bPdf = IsPdf(options.strOutput);
    if (!options.bLayout && (!options.strOutput.isEmpty() || options.bMerge)) {
        // A picture's pixels fit any card; a page is only as large as a print may be.
        const QString strError = bPdf || options.optPrintWidthMm
            ? PrintWidthError(options.optPrintWidthMm.value_or(CardPrintSizeMm(szCard).width()), szCard)
            : QString();
        if (!strError.isEmpty()) {
            if (options.optPrintWidthMm)
                return UsageError(QStringLiteral("--print-width: %1").arg(strError));
            PrintError(QStringLiteral("%1: %2").arg(options.strInput, strError));
            return kExitInput;
        }
        PrintBlurryPhotos(doc, options.strInput, PrintSizeInches(szCard, options.optPrintWidthMm.value_or(0)));
    }
    if (options.bLayout) {
        // Refused before anything is written, the project file included.
        if (const QString strError = LayoutRequestError(options.layout, szCard); !strError.isEmpty()) {
            PrintError(strError);
            return kExitUsage;
        }
        PrintBlurryPhotos(doc, options.strInput, LayoutCardSizeInches(options.layout, szCard));
        QString strError;
        if (!WriteLayoutPdf(doc, szCard, options.layout, options.strOutput, &strError)) {
            PrintError(strError);
            return kExitOutput;
        }
    } else if (bPdf) {
        doc.m_dPrintWidthMm = options.optPrintWidthMm.value_or(0);
        QString strError;
        if (!SaveCardPdf(doc, szCard, options.strOutput, options.bBleed, &strError)) {
            PrintError(strError);
            return kExitOutput;
        }
    } else if (!options.strOutput.isEmpty() || options.bMerge) {
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
        if (options.bMerge) {
            switch (RunMergeCommand(doc, options.merge, nWidth, nHeight)) {
            case MergeOutcome::Done:
                break;
            case MergeOutcome::BadList:
                return kExitInput;
            case MergeOutcome::BadPattern:
                std::fputs(kUsage, stderr);
                return kExitUsage;
            case MergeOutcome::NotWritten:
                return kExitOutput;
            }
        } else {
            QString strError;
            if (!SaveCardImage(doc, nWidth, nHeight, options.strOutput, &strError)) {
                PrintError(strError);
                return kExitOutput;
            }
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
