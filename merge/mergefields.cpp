#include "merge/mergefields.h"

#include <QFileInfo>

namespace {

// The longest name most file systems take, in UTF-8 bytes.
constexpr qsizetype kMaxNameBytes = 255;

// Walks the text, handing literal text and fields to the two functions in order.
template <typename LiteralFn, typename FieldFn>
void ScanFields(const QString& strText, const LiteralFn& literal, const FieldFn& field)
{
    const qsizetype n = strText.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = strText[i];
        if ((c == QLatin1Char('{') || c == QLatin1Char('}')) && i + 1 < n && strText[i + 1] == c) {
            literal(c);
            ++i;
            continue;
        }
        if (c == QLatin1Char('{')) {
            qsizetype j = i + 1;
            while (j < n && strText[j] != QLatin1Char('{') && strText[j] != QLatin1Char('}')
                && strText[j] != QLatin1Char('\n') && strText[j] != QLatin1Char('\r'))
                ++j;
            if (j < n && j > i + 1 && strText[j] == QLatin1Char('}')) {
                field(strText.mid(i + 1, j - i - 1));
                i = j;
                continue;
            }
        }
        literal(c);
    }
}

bool IsControl(QChar c)
{
    return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0) || c == QChar::LineSeparator
        || c == QChar::ParagraphSeparator;
}

QString CleanValue(const QString& strValue)
{
    QString strClean = strValue;
    for (QChar& c : strClean) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || IsControl(c))
            c = QLatin1Char('_');
    }
    return strClean;
}

} // namespace

QStringList FieldsIn(const QString& strText)
{
    QStringList names;
    ScanFields(
        strText, [](QChar) {},
        [&](const QString& strName) {
            if (!names.contains(strName))
                names.append(strName);
        });
    return names;
}

QString MergeText(const QString& strText, const QStringList& header, const QStringList& values)
{
    QString strMerged;
    strMerged.reserve(strText.size());
    ScanFields(
        strText, [&](QChar c) { strMerged += c; },
        [&](const QString& strName) {
            const qsizetype nColumn = header.indexOf(strName);
            if (nColumn >= 0 && nColumn < values.size())
                strMerged += values[nColumn];
            else
                strMerged += QLatin1Char('{') + strName + QLatin1Char('}');
        });
    return strMerged;
}

MergeFileNames::MergeFileNames(const QString& strPattern, const QStringList& header)
    : m_strPattern(strPattern)
    , m_strExtension(QFileInfo(strPattern).suffix())
    , m_header(header)
{
}

QString MergeFileNames::Next(const QStringList& values, qint64 nRow)
{
    QStringList cleaned;
    cleaned.reserve(values.size());
    for (const QString& strValue : values)
        cleaned.append(CleanValue(strValue));
    QString strName = CleanValue(MergeText(m_strPattern, m_header, cleaned));
    QString strDotExtension = m_strExtension.isEmpty() ? QString() : QLatin1Char('.') + m_strExtension;
    if (!strName.endsWith(strDotExtension))
        strDotExtension.clear();
    QString strStem = strName.left(strName.size() - strDotExtension.size());
    // No hidden files and no "." or "..": the name starts with something else.
    qsizetype nStart = 0;
    while (nStart < strStem.size() && (strStem[nStart] == QLatin1Char('.') || strStem[nStart].isSpace()))
        ++nStart;
    strStem = strStem.mid(nStart).trimmed();
    if (strStem.isEmpty())
        strStem = QStringLiteral("row %1").arg(nRow);
    // Room for the extension and a " (n)" count.
    while (!strStem.isEmpty() && (strStem + strDotExtension).toUtf8().size() > kMaxNameBytes - 12)
        strStem.chop(strStem.size() >= 2 && strStem[strStem.size() - 1].isLowSurrogate() ? 2 : 1);
    QString strUnique = strStem + strDotExtension;
    for (int n = 2; m_used.count(strUnique); ++n)
        strUnique = QStringLiteral("%1 (%2)%3").arg(strStem).arg(n).arg(strDotExtension);
    m_used.insert(strUnique);
    return strUnique;
}
