#pragma once

#include <functional>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include <QImage>
#include <QPoint>
#include <QString>
#include <QStringList>

#include "document/rectf.h"

class CardDocument;
class TheData;

// A copy of the card as its files describe it: background, canvas size and every object, with none of
// the working copies or display images and no undo history. What is done to the copy never reaches
// the card.
std::unique_ptr<CardDocument> CopyCardForOutput(const CardDocument& doc);

// The fields the card's live texts use, each once, in stacking order.
QStringList CardFields(const CardDocument& doc);

// A copy of the card that takes one row of a list at a time.
class MergedCard {
public:
    MergedCard(const CardDocument& doc, const QStringList& header);
    ~MergedCard();

    // Every text that names a field takes the row's values and refits as after typing, keeping its
    // top and, by its alignment, its left edge, centre or right edge; the others stay as they are.
    void SetRow(const QStringList& values);
    const CardDocument& Document() const { return *m_pDoc; }

private:
    std::unique_ptr<CardDocument> m_pDoc;
    QStringList m_header;
    // The texts with fields, with the text as typed and where the card has it.
    struct Typed {
        QString strText;
        RectF rcObject;
    };
    std::vector<std::pair<TheData*, Typed>> m_texts;
};

// One card drawn many times at one size with only its texts changing: every picture is read and
// laid once, the background with the pictures under the first text into one base, each later
// picture into a layer of its own. Render gives, pixel for pixel, what RenderCardBitmap gives.
class PreparedCard {
public:
    // Reads and lays the pictures of doc at nWidth x nHeight. False when memory ran out.
    bool Prepare(const CardDocument& doc, int nWidth, int nHeight);
    // The card with the texts doc holds now; doc has the objects Prepare was given, in the same
    // order. Null when memory runs out. Several threads may render at once, each with its own doc.
    QImage Render(const CardDocument& doc) const;

private:
    struct Step {
        // The object drawn here: a text (nText >= 0) or a laid picture.
        int nText = -1;
        QImage layer;
        QPoint ptLayer;
    };
    QImage m_base;
    std::vector<Step> m_steps;
    QSize m_szClient;
};

// What a merge writes: every row of the list in the range, as a file named by the pattern (its
// fields filled with the row's values, its extension choosing the format) in the folder, at the size.
struct MergeJob {
    QString strList;
    QString strFolder;
    QString strPattern = QStringLiteral("{Name}.jpg");
    // Rows counted from 1, the first after the header, both included.
    qint64 nFirst = 1;
    qint64 nLast = std::numeric_limits<qint64>::max();
    int nWidth = 0;
    int nHeight = 0;
    // Files already there are replaced (the user agreed for the whole run).
    bool bReplace = false;
    // Cards drawn and written at once.
    int nJobs = 1;
};

// Why a merge cannot start.
enum class MergeProblem : int {
    None = 0,
    // The list cannot be read or a row is malformed.
    List,
    // The card or the pattern uses a field the list has no column for, or the pattern names no format.
    Fields,
    // The list has no rows.
    Empty,
};

// What reading the whole list before anything is written found.
struct MergeCheck {
    qint64 nRows = 0;
    // Rows the job writes.
    qint64 nSelected = 0;
    // Files the job would replace: how many, and the first of them.
    qint64 nExisting = 0;
    QString strFirstExisting;
};

// Reads the whole list once and checks it against the card and the pattern (an empty pattern, for
// cards that are not written to files, is not checked and names no file). False, with the reason
// (naming the line of a malformed row, or the fields without a column) in *pstrError.
bool CheckMerge(const CardDocument& doc, const MergeJob& job, MergeCheck* pCheck, QString* pstrError,
    MergeProblem* pnProblem = nullptr);

// Called after each card is written, with the cards written so far, the cards the job writes and the
// file; false stops the merge after the cards already written.
using MergeProgress = std::function<bool(qint64 nDone, qint64 nTotal, const QString& strFile)>;

// Writes the cards of a checked job, each file whole or not at all; the card given is never changed.
// *pnWritten receives the cards written. False, with the reason, when a card could not be written or
// the list changed since it was checked; the cards written before stay. A stop asked for by progress
// is no failure.
bool RunMerge(
    const CardDocument& doc, const MergeJob& job, const MergeProgress& progress, qint64* pnWritten, QString* pstrError);
