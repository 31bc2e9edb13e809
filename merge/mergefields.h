#pragma once

#include <set>

#include <QString>
#include <QStringList>

// The fields a text names, each once, in the order they first appear. A field is a name in braces,
// "{Name}", of any characters but braces and line breaks; "{{" and "}}" stand for literal braces and
// start no field.
QStringList FieldsIn(const QString& strText);

// The text with every field the header names replaced by the row's value in that column and the
// doubled braces made single; a field the header does not name stays as typed.
QString MergeText(const QString& strText, const QStringList& header, const QStringList& values);

// The file names of a merge, made from a pattern such as "{Name}.jpg" and each row's values. Values
// cannot leave the folder the files are written to: path separators and control characters become
// "_", and leading dots and spaces are dropped, so "../../.bashrc" is "_.._.bashrc". A name left empty
// is "row N"; a name an earlier row already had gets " (2)", " (3)", ... before its extension.
class MergeFileNames {
public:
    // The pattern's extension is kept whatever the values are.
    MergeFileNames(const QString& strPattern, const QStringList& header);

    // The name of the file for the row (1 for the first row after the header).
    QString Next(const QStringList& values, qint64 nRow);

private:
    QString m_strPattern;
    QString m_strExtension;
    QStringList m_header;
    std::set<QString> m_used;
};
