#include "session/settings.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "session/printchoices.h"

QString g_strExportPath;
QString g_strTemplateCategory = QStringLiteral("Christmas");
int g_nTemplateNumber = 0;
int g_nTemplateGroup = 0;
bool g_bTemplateFlag = false;
QString g_strPhotoDir;

namespace {

const QString kSection = QStringLiteral("system");

// One line of an INI file as stored: its bytes and its line end ("\n", "\r\n", or none on a last line).
struct IniLine {
    QByteArray text;
    QByteArray end;
};

struct IniFile {
    QByteArray bom;
    std::vector<IniLine> lines;
};

// The lines of the file; a missing file has none. Empty when the file exists but cannot be read.
std::optional<IniFile> ReadIniFile(const QString& strPath)
{
    IniFile ini;
    QFile file(strPath);
    if (!file.exists())
        return ini;
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray data = file.readAll();
    if (data.startsWith("\xEF\xBB\xBF")) {
        ini.bom = data.left(3);
        data.remove(0, 3);
    }
    qsizetype nStart = 0;
    while (nStart < data.size()) {
        const qsizetype nNewLine = data.indexOf('\n', nStart);
        if (nNewLine < 0) {
            ini.lines.push_back({data.mid(nStart), QByteArray()});
            break;
        }
        QByteArray text = data.mid(nStart, nNewLine - nStart);
        if (text.endsWith('\r')) {
            text.chop(1);
            ini.lines.push_back({text, QByteArrayLiteral("\r\n")});
        } else {
            ini.lines.push_back({text, QByteArrayLiteral("\n")});
        }
        nStart = nNewLine + 1;
    }
    return ini;
}

std::vector<QString> DecodeLines(const IniFile& ini)
{
    std::vector<QString> vecLines;
    vecLines.reserve(ini.lines.size());
    for (const IniLine& line : ini.lines)
        vecLines.push_back(QString::fromUtf8(line.text));
    return vecLines;
}

// The name of a section header "[name]", blanks removed.
std::optional<QString> SectionName(const QString& strLine)
{
    const QString str = strLine.trimmed();
    if (!str.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype nClose = str.indexOf(QLatin1Char(']'));
    return str.mid(1, nClose < 0 ? -1 : nClose - 1).trimmed();
}

// Splits "key = value" at its first "="; comments, headers and lines without "=" hold no key.
bool SplitKeyLine(const QString& strLine, QString& strKey, QString& strValue)
{
    const QString str = strLine.trimmed();
    if (str.startsWith(QLatin1Char(';')) || str.startsWith(QLatin1Char('#')) || str.startsWith(QLatin1Char('[')))
        return false;
    const qsizetype nEqual = str.indexOf(QLatin1Char('='));
    if (nEqual < 0)
        return false;
    strKey = str.left(nEqual).trimmed();
    strValue = str.mid(nEqual + 1).trimmed();
    return true;
}

// The first section of the name: the index of its header and the index after its last line.
struct SectionRange {
    qsizetype nHeader = -1;
    qsizetype nEnd = -1;
    bool found() const { return nHeader >= 0; }
};

SectionRange FindSection(const std::vector<QString>& vecLines, const QString& strSection)
{
    SectionRange range;
    const QString strName = strSection.trimmed();
    for (qsizetype i = 0; i < qsizetype(vecLines.size()); ++i) {
        const std::optional<QString> name = SectionName(vecLines[i]);
        if (!name)
            continue;
        if (range.found()) {
            range.nEnd = i;
            return range;
        }
        if (name->compare(strName, Qt::CaseInsensitive) == 0)
            range.nHeader = i;
    }
    if (range.found())
        range.nEnd = qsizetype(vecLines.size());
    return range;
}

// The index of the first line of the section that sets the key, or -1; its value goes to strValue.
qsizetype FindKey(const std::vector<QString>& vecLines, SectionRange range, const QString& strKey, QString& strValue)
{
    const QString strName = strKey.trimmed();
    for (qsizetype i = range.nHeader + 1; i < range.nEnd; ++i) {
        QString strLineKey;
        if (SplitKeyLine(vecLines[i], strLineKey, strValue) && strLineKey.compare(strName, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString Unquoted(const QString& strValue)
{
    if (strValue.size() >= 2 && strValue.front() == strValue.back()
        && (strValue.front() == QLatin1Char('"') || strValue.front() == QLatin1Char('\'')))
        return strValue.mid(1, strValue.size() - 2);
    return strValue;
}

QString WithoutTrailingBlanks(const QString& str)
{
    qsizetype nLength = str.size();
    while (nLength > 0 && str.at(nLength - 1).isSpace())
        --nLength;
    return str.left(nLength);
}

bool HasLineBreak(const QString& str)
{
    return str.contains(QLatin1Char('\n')) || str.contains(QLatin1Char('\r'));
}

// A text that can stand as a name in an INI line without being read back as something else.
bool IsValidName(const QString& strName, QLatin1Char forbidden)
{
    const QString str = strName.trimmed();
    return !str.isEmpty() && !HasLineBreak(str) && !str.contains(forbidden) && !str.startsWith(QLatin1Char(';'))
        && !str.startsWith(QLatin1Char('#')) && !str.startsWith(QLatin1Char('['));
}

int ToSetting(unsigned nValue)
{
    return int(std::min<unsigned>(nValue, INT_MAX));
}

} // namespace

qsizetype GetPrivateProfileString(const QString& strSection, const QString& strKey, const QString& strDefault,
    QChar* pBuffer, qsizetype nSize, const QString& strPath)
{
    if (!pBuffer || nSize <= 0)
        return 0;
    QString strResult = WithoutTrailingBlanks(strDefault);
    if (const std::optional<IniFile> ini = ReadIniFile(strPath)) {
        const std::vector<QString> vecLines = DecodeLines(*ini);
        const SectionRange range = FindSection(vecLines, strSection);
        QString strValue;
        if (range.found() && FindKey(vecLines, range, strKey, strValue) >= 0)
            strResult = Unquoted(strValue);
    }
    const qsizetype nCopied = std::min(strResult.size(), nSize - 1);
    std::copy_n(strResult.constData(), nCopied, pBuffer);
    pBuffer[nCopied] = QChar(0);
    return nCopied;
}

bool WritePrivateProfileString(
    const QString& strSection, const QString& strKey, const QString& strValue, const QString& strPath)
{
    if (!IsValidName(strSection, QLatin1Char(']')) || !IsValidName(strKey, QLatin1Char('=')) || HasLineBreak(strValue))
        return false;
    std::optional<IniFile> ini = ReadIniFile(strPath);
    if (!ini)
        return false;
    std::vector<IniLine>& lines = ini->lines;
    const std::vector<QString> vecLines = DecodeLines(*ini);

    // New lines take the file's own line end.
    QByteArray eol = QByteArrayLiteral("\n");
    if (!lines.empty() && !lines.front().end.isEmpty())
        eol = lines.front().end;

    const QByteArray keyLine = (strKey.trimmed() + QLatin1Char('=') + strValue).toUtf8();
    const SectionRange range = FindSection(vecLines, strSection);
    QString strOldValue;
    const qsizetype nKey = range.found() ? FindKey(vecLines, range, strKey, strOldValue) : -1;
    if (nKey >= 0) {
        lines[nKey].text = keyLine;
    } else if (range.found()) {
        qsizetype nLast = range.nEnd - 1;
        while (nLast > range.nHeader && vecLines[nLast].trimmed().isEmpty())
            --nLast;
        if (lines[nLast].end.isEmpty())
            lines[nLast].end = eol;
        lines.insert(lines.begin() + nLast + 1, {keyLine, eol});
    } else {
        if (!lines.empty() && lines.back().end.isEmpty())
            lines.back().end = eol;
        lines.push_back({(QLatin1Char('[') + strSection.trimmed() + QLatin1Char(']')).toUtf8(), eol});
        lines.push_back({keyLine, eol});
    }

    QByteArray data = ini->bom;
    for (const IniLine& line : lines)
        data += line.text + line.end;
    QSaveFile file(strPath);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        return false;
    return file.commit();
}

CIni::CIni(const QString& strPath)
    : m_strPath(strPath)
{
}

CIni::~CIni() = default;

QString CIni::ReadRaw(const QString& strKey, const QString& strDefault) const
{
    // The reader cuts what does not fit; while the buffer was filled up, the value may be longer.
    constexpr qsizetype kStep = 512;
    std::vector<QChar> buffer(kStep);
    qsizetype nLength = GetPrivateProfileString(kSection, strKey, strDefault, buffer.data(), buffer.size(), m_strPath);
    while (nLength + 1 >= qsizetype(buffer.size())) {
        buffer.resize(buffer.size() + kStep);
        nLength = GetPrivateProfileString(kSection, strKey, strDefault, buffer.data(), buffer.size(), m_strPath);
    }
    return QString(buffer.data(), nLength);
}

QString CIni::ReadString(const QString& strKey, const QString& strDefault) const
{
    return ReadRaw(strKey, strDefault);
}

unsigned CIni::ReadInt(const QString& strKey) const
{
    const QString strValue = ReadRaw(strKey, QString());
    unsigned nValue = 0;
    for (const QChar c : strValue) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        const unsigned nDigit = c.unicode() - '0';
        if (nValue > (UINT_MAX - nDigit) / 10)
            return UINT_MAX;
        nValue = nValue * 10 + nDigit;
    }
    return nValue;
}

bool CIni::ReadFlag() const
{
    const QString strValue = ReadRaw(QStringLiteral("flag"), QString());
    if (strValue.isEmpty())
        return false;
    if (strValue.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0
        || strValue.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0)
        return true;
    // The leading signed number is not zero exactly when one of its digits is not.
    qsizetype i = (strValue.front() == QLatin1Char('+') || strValue.front() == QLatin1Char('-')) ? 1 : 0;
    for (; i < strValue.size() && strValue[i] >= QLatin1Char('0') && strValue[i] <= QLatin1Char('9'); ++i) {
        if (strValue[i] != QLatin1Char('0'))
            return true;
    }
    return false;
}

QString GetConfigPath(const QString& strAppDir)
{
    if (IsAppDirWritable(strAppDir))
        return strAppDir + QStringLiteral("config.ini");
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/velomira/config.ini");
}

void LoadSettings(const QString& strIniPath)
{
    const CIni ini(strIniPath);
    QString strExportPath = ini.ReadString(QStringLiteral("exportpath"), QString());
    // Only existence is tested: an exportpath naming a file is kept.
    if (!QFileInfo::exists(strExportPath)) {
        strExportPath
            = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QStringLiteral("/Velomira");
        QDir().mkpath(strExportPath);
    }
    g_strExportPath = strExportPath;
    g_strTemplateCategory = ini.ReadString(QStringLiteral("temp_name"), QStringLiteral("Christmas"));
    g_nTemplateNumber = ToSetting(ini.ReadInt(QStringLiteral("temp_num")));
    g_bTemplateFlag = ini.ReadFlag();
    g_nTemplateGroup = ToSetting(ini.ReadInt(QStringLiteral("first")));
    g_strPhotoDir = ini.ReadString(QStringLiteral("photodir"), QString());
    g_printChoices = ReadPrintChoices(strIniPath);
}

void SaveSettings(const QString& strIniPath)
{
    QDir().mkpath(QFileInfo(strIniPath).path());
    WritePrivateProfileString(kSection, QStringLiteral("exportpath"), g_strExportPath, strIniPath);
    WritePrivateProfileString(kSection, QStringLiteral("temp_name"), g_strTemplateCategory, strIniPath);
    WritePrivateProfileString(kSection, QStringLiteral("temp_num"), QString::number(g_nTemplateNumber), strIniPath);
    WritePrivateProfileString(kSection, QStringLiteral("first"), QString::number(g_nTemplateGroup), strIniPath);
    WritePrivateProfileString(
        kSection, QStringLiteral("flag"), g_bTemplateFlag ? QStringLiteral("1") : QStringLiteral("0"), strIniPath);
    // Written once the user has browsed to a folder of photos.
    if (!g_strPhotoDir.isEmpty())
        WritePrivateProfileString(kSection, QStringLiteral("photodir"), g_strPhotoDir, strIniPath);
    WritePrintChoices(g_printChoices, strIniPath);
}
