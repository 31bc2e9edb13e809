#pragma once

#include <limits>

#include <QString>

class CardDocument;

// What `velomira-render CARD --merge LIST --output PATTERN` is asked for.
struct MergeArguments {
    QString strList;
    // A folder and a file-name pattern: "cards/{Name}.png".
    QString strOutput;
    qint64 nFirst = 1;
    qint64 nLast = std::numeric_limits<qint64>::max();
    int nJobs = 1;
    bool bForce = false;
};

// How a merge ended, for the exit status.
enum class MergeOutcome : int {
    Done,
    // The list cannot be read, is malformed, is empty or lacks a field the card uses.
    BadList,
    // The output pattern is unusable: a field in its folder, or no image extension.
    BadPattern,
    // A card cannot be written, or a file is already there and --force was not given.
    NotWritten,
};

// Reads "FIRST-LAST", "FIRST-" or "ROW" (rows counted from 1, the first after the header). False for
// anything else.
bool ParseRows(const QString& strRows, qint64* pnFirst, qint64* pnLast);

// Checks the whole list, then writes one card per row at nWidth x nHeight, naming each on the standard
// error as it is written. Messages go to the standard error with the program's prefix.
MergeOutcome RunMergeCommand(const CardDocument& doc, const MergeArguments& args, int nWidth, int nHeight);
