#include "merge/csvreader.h"

#include <QFileInfo>
#include <QTextStream>

namespace {

constexpr qsizetype kChunk = 64 * 1024;

} // namespace

CsvReader::CsvReader() = default;

CsvReader::~CsvReader() = default;

bool CsvReader::Fill()
{
    if (!m_pStream || m_pStream->atEnd())
        return false;
    // What is consumed is dropped, so the buffer never grows past a chunk and the separator look-ahead.
    m_strBuffer.remove(0, m_nPos);
    m_nPos = 0;
    m_strBuffer += m_pStream->read(kChunk);
    return m_nPos < m_strBuffer.size();
}

bool CsvReader::Get(QChar* pChar)
{
    if (m_nPos >= m_strBuffer.size() && !Fill())
        return false;
    *pChar = m_strBuffer[m_nPos++];
    return true;
}

bool CsvReader::Open(const QString& strPath)
{
    m_file.setFileName(strPath);
    if (!QFileInfo(strPath).isFile() || !m_file.open(QIODevice::ReadOnly)) {
        m_strError = QStringLiteral("%1: cannot be read").arg(strPath);
        return false;
    }
    // UTF-8 unless a byte-order mark says UTF-16 (or UTF-8); the mark itself is not part of the text.
    m_pStream = std::make_unique<QTextStream>(&m_file);
    m_pStream->setEncoding(QStringConverter::Utf8);
    m_pStream->setAutoDetectUnicode(true);
    m_separator = DetectSeparator();
    if (!ReadRecord(&m_header)) {
        if (m_strError.isEmpty())
            m_strError = QStringLiteral("line 1: the list has no header row");
        return false;
    }
    for (QString& strName : m_header)
        strName = strName.trimmed();
    return true;
}

QChar CsvReader::DetectSeparator()
{
    qsizetype i = m_nPos;
    bool bQuoted = false;
    int nCommas = 0;
    int nSemicolons = 0;
    for (;;) {
        if (i >= m_strBuffer.size()) {
            if (!m_pStream || m_pStream->atEnd())
                break;
            m_strBuffer += m_pStream->read(kChunk);
            continue;
        }
        const QChar c = m_strBuffer[i++];
        if (c == QLatin1Char('"'))
            bQuoted = !bQuoted;
        else if (!bQuoted && (c == QLatin1Char('\n') || c == QLatin1Char('\r')))
            break;
        else if (!bQuoted && c == QLatin1Char(','))
            ++nCommas;
        else if (!bQuoted && c == QLatin1Char(';'))
            ++nSemicolons;
    }
    return nSemicolons > nCommas ? QLatin1Char(';') : QLatin1Char(',');
}

bool CsvReader::ReadRecord(QStringList* pFields)
{
    pFields->clear();
    m_strError.clear();
    QChar c;
    // Blank lines are no records.
    for (;;) {
        if (!Get(&c))
            return false;
        if (c == QLatin1Char('\n')) {
            ++m_nLine;
        } else if (c != QLatin1Char('\r')) {
            break;
        }
    }
    m_nRecordLine = m_nLine;
    QString strField;
    for (;;) {
        if (c == QLatin1Char('"') && strField.isEmpty()) {
            // A quoted field runs to the quote that is not doubled.
            const qint64 nOpened = m_nLine;
            for (;;) {
                if (!Get(&c)) {
                    m_strError = QStringLiteral("line %1: a quoted field is not closed").arg(nOpened);
                    return false;
                }
                if (c == QLatin1Char('\n'))
                    ++m_nLine;
                if (c != QLatin1Char('"')) {
                    strField += c;
                    continue;
                }
                if (!Get(&c)) {
                    pFields->append(strField);
                    return true;
                }
                if (c != QLatin1Char('"'))
                    break;
                strField += c;
            }
            // Whatever follows the closing quote up to the separator belongs to the field, as
            // spreadsheet programs read it.
            continue;
        }
        if (c == m_separator) {
            pFields->append(strField);
            strField.clear();
        } else if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            if (c == QLatin1Char('\r')) {
                QChar next;
                if (Get(&next) && next != QLatin1Char('\n'))
                    --m_nPos;
            }
            ++m_nLine;
            pFields->append(strField);
            return true;
        } else {
            strField += c;
        }
        if (!Get(&c)) {
            pFields->append(strField);
            return true;
        }
    }
}

bool CsvReader::Next(QStringList* pFields)
{
    if (!m_pStream)
        return false;
    if (!ReadRecord(pFields))
        return false;
    if (pFields->size() != m_header.size()) {
        m_strError = QStringLiteral("line %1: %2 fields where the header has %3")
                         .arg(m_nRecordLine)
                         .arg(pFields->size())
                         .arg(m_header.size());
        return false;
    }
    return true;
}
