// merge/: mail merge, one card made once per row of a list. The list reader (csvreader.*), the fields
// of a text and the file names made from them (mergefields.*) and the merge itself (cardmerge.*).
// Core library: uses templates/, render/, document/ and platform/.
#pragma once

#include <memory>

#include <QFile>
#include <QString>
#include <QStringList>

class QTextStream;

// Reads a list as spreadsheet programs write it, one row at a time, so that a list of any length is
// read in steady memory: a header row naming the fields, then one record per row. Fields are separated
// by commas or, when the header holds more semicolons than commas outside quotes, by semicolons; a
// quoted field may hold separators, doubled quotes and line breaks. The text is UTF-8, with or without
// a byte-order mark, or UTF-16 with one. Blank lines are skipped.
class CsvReader {
public:
    CsvReader();
    ~CsvReader();
    CsvReader(const CsvReader&) = delete;
    CsvReader& operator=(const CsvReader&) = delete;

    // Opens the file and reads its header; false with the reason in Error() when it cannot be read or
    // has no header.
    bool Open(const QString& strPath);
    // The header's field names, each trimmed of surrounding spaces.
    const QStringList& Header() const { return m_header; }
    QChar Separator() const { return m_separator; }
    // Reads the next row into *pFields, as many fields as the header; false at the end of the list or
    // on a malformed row (an unclosed quote, a row with more or fewer fields than the header), which
    // Error() then names with its line.
    bool Next(QStringList* pFields);
    // Why Open or Next failed; empty at a clean end of the list.
    const QString& Error() const { return m_strError; }
    // The line of the file the last row read began on (1 is the header's).
    qint64 Line() const { return m_nRecordLine; }

private:
    // The next character, reading on when the buffer runs out; QChar() at the end of the file.
    bool Get(QChar* pChar);
    // Parses one record into *pFields; false at the end of the file (nothing read) or on an error.
    bool ReadRecord(QStringList* pFields);
    // The separator the header uses, looked for ahead without consuming the header.
    QChar DetectSeparator();
    bool Fill();

    QFile m_file;
    std::unique_ptr<QTextStream> m_pStream;
    QString m_strBuffer;
    qsizetype m_nPos = 0;
    QStringList m_header;
    QChar m_separator = QLatin1Char(',');
    QString m_strError;
    qint64 m_nLine = 1;
    qint64 m_nRecordLine = 1;
};
