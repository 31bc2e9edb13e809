// The command line's merge: one card per row of a list, the same engine as the program's.
#include "cli/mergecommand.h"

#include <cstdio>

#include <QDir>
#include <QRegularExpression>

#include "merge/cardmerge.h"
#include "merge/mergefields.h"
#include "render/cardimage.h"

namespace {

void PrintMessage(const QString& strText)
{
    std::fprintf(stderr, "velomira-render: %s\n", strText.toLocal8Bit().constData());
}

} // namespace

bool ParseRows(const QString& strRows, qint64* pnFirst, qint64* pnLast)
{
    static const QRegularExpression rows(QStringLiteral("^([0-9]{1,15})(-([0-9]{0,15}))?$"));
    const QRegularExpressionMatch match = rows.match(strRows);
    if (!match.hasMatch())
        return false;
    const qint64 nFirst = match.captured(1).toLongLong();
    qint64 nLast = nFirst;
    if (match.hasCaptured(2))
        nLast = match.captured(3).isEmpty() ? std::numeric_limits<qint64>::max() : match.captured(3).toLongLong();
    if (nFirst < 1 || nLast < nFirst)
        return false;
    *pnFirst = nFirst;
    *pnLast = nLast;
    return true;
}

MergeOutcome RunMergeCommand(const CardDocument& doc, const MergeArguments& args, int nWidth, int nHeight)
{
    MergeJob job;
    job.strList = args.strList;
    const qsizetype nSlash = args.strOutput.lastIndexOf(QLatin1Char('/'));
    job.strFolder = nSlash < 0 ? QStringLiteral(".") : args.strOutput.left(nSlash + (nSlash == 0 ? 1 : 0));
    job.strPattern = args.strOutput.mid(nSlash + 1);
    if (ExportFormatOf(job.strPattern).isEmpty()) {
        PrintMessage(QStringLiteral("%1: the file names must end in .jpg, .jpeg, .bmp, .png, .gif, .tif or .tiff")
                         .arg(args.strOutput));
        return MergeOutcome::BadPattern;
    }
    if (!FieldsIn(job.strFolder).isEmpty()) {
        PrintMessage(
            QStringLiteral("%1: fields name the files, not the folder they are written to").arg(args.strOutput));
        return MergeOutcome::BadPattern;
    }
    job.nFirst = args.nFirst;
    job.nLast = args.nLast;
    job.nWidth = nWidth;
    job.nHeight = nHeight;
    job.nJobs = args.nJobs;
    job.bReplace = args.bForce;

    MergeCheck check;
    QString strError;
    if (!CheckMerge(doc, job, &check, &strError)) {
        PrintMessage(strError);
        return MergeOutcome::BadList;
    }
    if (check.nSelected == 0) {
        PrintMessage(QStringLiteral("%1: the list has %2 rows, none of them in the rows asked for: nothing written")
                         .arg(args.strList)
                         .arg(check.nRows));
        return MergeOutcome::Done;
    }
    if (check.nExisting > 0 && !args.bForce) {
        PrintMessage(check.nExisting == 1
                ? QStringLiteral("%1 is already there: give --force to replace it").arg(check.strFirstExisting)
                : QStringLiteral("%1 and %2 more files are already there: give --force to replace them")
                      .arg(check.strFirstExisting)
                      .arg(check.nExisting - 1));
        return MergeOutcome::NotWritten;
    }
    qint64 nWritten = 0;
    const bool bDone = RunMerge(
        doc, job,
        [](qint64 nDone, qint64 nTotal, const QString& strFile) {
            std::fprintf(stderr, "velomira-render: [%lld/%lld] %s\n", static_cast<long long>(nDone),
                static_cast<long long>(nTotal), QDir::toNativeSeparators(strFile).toLocal8Bit().constData());
            return true;
        },
        &nWritten, &strError);
    if (!bDone) {
        PrintMessage(strError);
        PrintMessage(QStringLiteral("%1 of %2 cards written").arg(nWritten).arg(check.nSelected));
        return MergeOutcome::NotWritten;
    }
    return MergeOutcome::Done;
}
