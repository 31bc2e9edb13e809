#include "session/printchoices.h"

#include <QStringList>

#include "session/settings.h"

PrintChoices g_printChoices;

namespace {

const QString kSection = QStringLiteral("system");
// More copies than this are a typing slip.
constexpr int kMaxCopies = 999;
// Wider margins than this leave no paper that Qt knows.
constexpr double kMaxMarginMm = 1000;

QString MarginsText(const QMarginsF& margins)
{
    return QStringList {QString::number(margins.left()), QString::number(margins.top()),
        QString::number(margins.right()), QString::number(margins.bottom())}
        .join(QLatin1Char(','));
}

std::optional<QMarginsF> MarginsFromText(const QString& strText)
{
    const QStringList parts = strText.split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::nullopt;
    double d[4] = {};
    for (int i = 0; i < 4; ++i) {
        bool bOk = false;
        d[i] = parts[i].trimmed().toDouble(&bOk);
        if (!bOk || !(d[i] >= 0 && d[i] <= kMaxMarginMm))
            return std::nullopt;
    }
    return QMarginsF(d[0], d[1], d[2], d[3]);
}

} // namespace

PrintChoices ReadPrintChoices(const QString& strIniPath)
{
    const CIni ini(strIniPath);
    PrintChoices choices;
    if (const auto nPaper = PaperFromName(ini.ReadString(QStringLiteral("printpaper"), QString())))
        choices.nPaper = *nPaper;
    const QString strOrientation = ini.ReadString(QStringLiteral("printorient"), QString());
    choices.nOrientation
        = strOrientation == QLatin1String("landscape") ? QPageLayout::Landscape : QPageLayout::Portrait;
    choices.bOrientationChosen = ini.ReadInt(QStringLiteral("printorientset")) != 0;
    if (const auto margins = MarginsFromText(ini.ReadString(QStringLiteral("printmargins"), QString())))
        choices.marginsMm = *margins;
    const unsigned nCopies = ini.ReadInt(QStringLiteral("printcopies"));
    if (nCopies >= 1 && nCopies <= kMaxCopies)
        choices.nCopies = int(nCopies);
    if (const auto nLayout = PrintLayoutFromKey(ini.ReadString(QStringLiteral("printlayout"), QString())))
        choices.nLayout = *nLayout;
    choices.bInches = ini.ReadString(QStringLiteral("printunit"), QString()) == QLatin1String("in");
    return choices;
}

void WritePrintChoices(const PrintChoices& choices, const QString& strIniPath)
{
    // A settings file that never saw the print dialog stays without its keys.
    if (choices == PrintChoices {} && CIni(strIniPath).ReadRaw(QStringLiteral("printlayout"), QString()).isEmpty())
        return;
    const struct {
        const char* pszKey;
        QString strValue;
    } keys[] = {
        {"printpaper", QPageSize::key(choices.nPaper)},
        {"printorient",
            choices.nOrientation == QPageLayout::Landscape ? QStringLiteral("landscape") : QStringLiteral("portrait")},
        {"printorientset", QString::number(choices.bOrientationChosen ? 1 : 0)},
        {"printmargins", MarginsText(choices.marginsMm)},
        {"printcopies", QString::number(choices.nCopies)},
        {"printlayout", PrintLayoutKey(choices.nLayout)},
        {"printunit", choices.bInches ? QStringLiteral("in") : QStringLiteral("mm")},
    };
    for (const auto& key : keys)
        WritePrivateProfileString(kSection, QLatin1String(key.pszKey), key.strValue, strIniPath);
}
