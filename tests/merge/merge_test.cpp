#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>

#include "document/carddocument.h"
#include "merge/cardmerge.h"
#include "merge/csvreader.h"
#include "merge/mergefields.h"
#include "render/cardimage.h"
#include "tests/testsupport.h"

namespace {

// What reading a list gives: the header and the rows, or the error the reader stops with.
struct CsvCase {
    const char* pszName;
    QByteArray bytes;
    QStringList header;
    QList<QStringList> rows;
    QString strError;
};

QByteArray Utf16(const QString& strText, QStringConverter::Encoding encoding)
{
    QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
    return encoder(strText);
}

TEST(CsvReader, ReadsWhatSpreadsheetProgramsWriteAndNamesTheLineOfAMalformedRow)
{
    const QString strAccented = QStringLiteral("Name,City\r\nZo\u00eb,K\u00f8benhavn\r\n");
    const QStringList accented[] = {{QStringLiteral("Zo\u00eb"), QStringLiteral("K\u00f8benhavn")}};
    const CsvCase cases[] = {
        {"plain, no final line break", "Name,Date\nAnna,May\nTom,June", {"Name", "Date"},
            {{"Anna", "May"}, {"Tom", "June"}}, {}},
        {"quotes, commas, doubled quotes, empty fields", "Name,Note\n\"Smith, Anna\",\"say \"\"hi\"\"\"\n,\n",
            {"Name", "Note"}, {{"Smith, Anna", "say \"hi\""}, {"", ""}}, {}},
        {"line breaks inside quotes", "Name,Address\r\nAnna,\"1 Elm Rd\r\nOakford\"\r\nTom,\"a\nb\"\r\n",
            {"Name", "Address"}, {{"Anna", "1 Elm Rd\r\nOakford"}, {"Tom", "a\nb"}}, {}},
        {"UTF-8 byte-order mark, header trimmed", "\xEF\xBB\xBF Name , Date\nAnna,May\n", {"Name", "Date"},
            {{"Anna", "May"}}, {}},
        {"UTF-16 little-endian", Utf16(strAccented, QStringConverter::Utf16LE), {"Name", "City"}, {accented[0]}, {}},
        {"UTF-16 big-endian", Utf16(strAccented, QStringConverter::Utf16BE), {"Name", "City"}, {accented[0]}, {}},
        {"UTF-8 without a mark", strAccented.toUtf8(), {"Name", "City"}, {accented[0]}, {}},
        {"semicolons, commas in values", "Name;Date;Place\nAnna;12,5;\"a;b\"\n", {"Name", "Date", "Place"},
            {{"Anna", "12,5", "a;b"}}, {}},
        {"blank lines skipped", "Name\n\nAnna\n\r\n\nTom\n\n", {"Name"}, {{"Anna"}, {"Tom"}}, {}},
        {"too few fields", "A,B,C\n1,2,3\n4,5\n", {"A", "B", "C"}, {{"1", "2", "3"}},
            "line 3: 2 fields where the header has 3"},
        {"too many fields after a quoted line break", "A,B\n1,\"x\ny\"\n3,4,5\n", {"A", "B"}, {{"1", "x\ny"}},
            "line 4: 3 fields where the header has 2"},
        {"unclosed quote", "A,B\n1,2\n3,\"open\n4,5\n", {"A", "B"}, {{"1", "2"}},
            "line 3: a quoted field is not closed"},
    };
    for (const CsvCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        TestFiles files;
        CsvReader reader;
        ASSERT_TRUE(reader.Open(files.bytes(QStringLiteral("list.csv"), c.bytes))) << reader.Error().toStdString();
        EXPECT_EQ(reader.Header(), c.header);
        QList<QStringList> rows;
        QStringList row;
        while (reader.Next(&row))
            rows.append(row);
        EXPECT_EQ(rows, c.rows);
        EXPECT_EQ(reader.Error(), c.strError);
    }
}

TEST(MergeFields, FieldsAreNamesInBracesAndDoubledBracesAreLiteral)
{
    const QStringList header {QStringLiteral("Name"), QStringLiteral("Date"), QStringLiteral("Odd name")};
    const QStringList values {QStringLiteral("Anna"), QStringLiteral("12 May"), QStringLiteral("{x}")};
    const struct {
        const char* pszText;
        QStringList fields;
        const char* pszMerged;
    } cases[] = {
        {"Dear {Name}, see you {Date}!", {"Name", "Date"}, "Dear Anna, see you 12 May!"},
        {"{Name} & {Name}", {"Name"}, "Anna & Anna"},
        {"{{Name}} stays, {{{Name}}} is braced", {"Name"}, "{Name} stays, {Anna} is braced"},
        {"a }} b {{ c } d {", {}, "a } b { c } d {"},
        {"{Odd name}", {"Odd name"}, "{x}"},
        {"{Unknown} and {} and {Na\nme}", {"Unknown"}, "{Unknown} and {} and {Na\nme}"},
        {"{Name", {}, "{Name"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszText);
        EXPECT_EQ(FieldsIn(QString::fromUtf8(c.pszText)), c.fields);
        EXPECT_EQ(MergeText(QString::fromUtf8(c.pszText), header, values), QString::fromUtf8(c.pszMerged));
    }
}

TEST(MergeFileNames, ValuesStayInsideTheFolderAndNamesGivenTwiceAreCounted)
{
    const QString strLong(300, QLatin1Char('x'));
    const struct {
        QString strValue;
        QString strName;
    } rows[] = {
        {"Anna", "Anna.jpg"},
        {"Anna", "Anna (2).jpg"},
        {"../../.bashrc", "_.._.bashrc.jpg"},
        {"", "row 4.jpg"},
        {"a/b\\c", "a_b_c.jpg"},
        {QStringLiteral("tab\there\nnew\x7f"), "tab_here_new_.jpg"},
        {"..", "row 7.jpg"},
        {" . ", "row 8.jpg"},
        {"Anna (2)", "Anna (2) (2).jpg"},
        {"Anna", "Anna (3).jpg"},
        {strLong, strLong.left(239) + ".jpg"},
    };
    MergeFileNames names(QStringLiteral("{Name}.jpg"), {QStringLiteral("Name")});
    qint64 nRow = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.strValue.toStdString());
        const QString strName = names.Next({row.strValue}, ++nRow);
        EXPECT_EQ(strName, row.strName);
        EXPECT_FALSE(strName.contains(QLatin1Char('/')));
    }
}

// A card of a background, a photo under the texts, two texts with fields (the second turned and
// centred), a clip-art between them and one over them all, laid out on a 600 x 400 canvas.
class CardMergeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_doc.m_strBackground = m_files.photo(QStringLiteral("bg.jpg"), 1200, 800);
        // Half see-through and different everywhere, so that a layer laid wrong or blended twice shows.
        QImage clipArt(80, 80, QImage::Format_ARGB32);
        for (int y = 0; y < 80; ++y) {
            for (int x = 0; x < 80; ++x)
                clipArt.setPixel(x, y, qRgba(x * 3, y * 3, 100, 90 + x + y / 2));
        }
        const QString strClipArt = m_files.write(QStringLiteral("dot.png"), clipArt);
        AddPicture(m_files.photo(QStringLiteral("photo.jpg"), 900, 600), {40, 40, 300, 200});
        AddText(QStringLiteral("Dear {Name},"), 0, {60, 260, 10, 10}, 0);
        AddPicture(strClipArt, {100, 250, 120, 120});
        AddText(QStringLiteral("{Date}\nat {Place} {{sic}}"), 1, {300, 120, 200, 60}, 12);
        AddPicture(strClipArt, {320, 140, 60, 60});
        m_doc.m_szClient = QSize(600, 400);
        m_header = {QStringLiteral("Name"), QStringLiteral("Date"), QStringLiteral("Place"), QStringLiteral("Spare")};
    }

    void AddPicture(const QString& strPath, RectF rc)
    {
        auto pObject = std::make_unique<TheData>();
        pObject->m_nType = OBJ_ELEMENT;
        pObject->m_strElement = strPath;
        pObject->m_rcObject = rc;
        m_doc.AddObject(std::move(pObject), 0);
    }

    void AddText(const QString& strText, int nAlign, RectF rc, double dAngle)
    {
        auto pObject = std::make_unique<TheData>();
        pObject->m_nType = OBJ_TEXT;
        pObject->m_pText = std::make_unique<CTextPanel>();
        pObject->m_pText->m_strText = strText;
        pObject->m_pText->m_strFont = QStringLiteral("DejaVu Sans");
        pObject->m_pText->m_nAlign = nAlign;
        pObject->m_rcObject = rc;
        pObject->m_dAngle = dAngle;
        pObject->RefitText();
        m_doc.AddObject(std::move(pObject), 0);
    }

    QString WriteList(const QByteArray& rows)
    {
        return m_files.bytes(QStringLiteral("list.csv"), "Name,Date,Place,Spare\n" + rows);
    }

    TestFiles m_files;
    CardDocument m_doc;
    QStringList m_header;
};

TEST_F(CardMergeTest, EachRowIsDrawnPixelForPixelAsTheMergedCardAndTheCardStaysAsTyped)
{
    MergedCard merged(m_doc, m_header);
    PreparedCard prepared;
    ASSERT_TRUE(prepared.Prepare(merged.Document(), 750, 500));
    const QList<QStringList> rows = {{"Anna", "12 May", "the Old Mill, Brook Lane", ""}, {"Bo", "1 June", "home", "x"},
        {"A much longer name than any before", "", "", ""}};
    for (const QStringList& row : rows) {
        SCOPED_TRACE(row.constFirst().toStdString());
        merged.SetRow(row);
        const QImage expected = RenderCardBitmap(merged.Document(), 750, 500);
        ASSERT_FALSE(expected.isNull());
        EXPECT_TRUE(prepared.Render(merged.Document()) == expected);
    }
    const TheData& date = *merged.Document().m_vecObjects[3];
    EXPECT_EQ(date.m_pText->m_strText, QStringLiteral("\nat  {sic}"));
    // A centred text keeps its centre however wide its row makes it.
    const RectF& rcTyped = m_doc.m_vecObjects[3]->m_rcObject;
    EXPECT_FLOAT_EQ(date.m_rcObject.X + date.m_rcObject.Width / 2, rcTyped.X + rcTyped.Width / 2);
    EXPECT_EQ(m_doc.m_vecObjects[1]->m_pText->m_strText, QStringLiteral("Dear {Name},"));
    EXPECT_EQ(m_doc.m_vecObjects[3]->m_pText->m_strText, QStringLiteral("{Date}\nat {Place} {{sic}}"));
}

TEST_F(CardMergeTest, TheWholeListIsCheckedBeforeAnythingIsWritten)
{
    MergeJob job;
    job.strFolder = m_files.path(QStringLiteral("out"));
    job.nWidth = 300;
    job.nHeight = 200;
    const struct {
        const char* pszName;
        QByteArray list;
        QString strPattern;
        QString strError;
    } cases[] = {
        {"ragged last row", "a,b,c,d\ne,f,g\n", "{Name}.png", "line 3: 3 fields where the header has 4"},
        {"a field without a column", "", "{Name} {Town}.png", "no column for {Town}"},
        {"header only", "", "{Name}.png", "nothing to merge"},
        {"no image extension", "a,b,c,d\n", "{Name}.txt", "must end in .jpg"},
        {"no pattern", "a,b,c,d\n", "", "such as {Name}.jpg"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        job.strList = WriteList(c.list);
        job.strPattern = c.strPattern;
        MergeCheck check;
        QString strError;
        // Without a pattern only the list and the card are checked, as for printing.
        EXPECT_EQ(CheckMerge(m_doc, job, &check, &strError), job.strPattern.isEmpty());
        qint64 nWritten = -1;
        EXPECT_FALSE(RunMerge(m_doc, job, {}, &nWritten, &strError));
        EXPECT_TRUE(strError.contains(c.strError)) << strError.toStdString();
        EXPECT_EQ(nWritten, 0);
        EXPECT_FALSE(QFileInfo::exists(job.strFolder));
    }
    m_doc.m_vecObjects[1]->m_pText->m_strText = QStringLiteral("{Nme}");
    job.strList = WriteList("a,b,c,d\n");
    job.strPattern = QStringLiteral("{Name}.png");
    MergeCheck check;
    QString strError;
    EXPECT_FALSE(CheckMerge(m_doc, job, &check, &strError));
    EXPECT_TRUE(strError.contains(QStringLiteral("no column for {Nme}"))) << strError.toStdString();
}

TEST_F(CardMergeTest, RowsAreWrittenInTheFolderWhateverTheJobsAndAStopKeepsTheCardsWritten)
{
    MergeJob job;
    job.strList = WriteList("Anna,May,Oakford,\nTom,June,Rosewood,\n../x,July,,\nAnna,Aug,,\nEve,Sep,,\n");
    job.strPattern = QStringLiteral("{Name} {Spare}.png");
    job.nWidth = 300;
    job.nHeight = 200;
    const QStringList all = {"Anna.png", "Tom.png", "_x.png", "Anna (2).png", "Eve.png"};
    QByteArray firstRun[5];
    for (int nJobs : {1, 3}) {
        SCOPED_TRACE(nJobs);
        job.strFolder = m_files.path(QStringLiteral("jobs%1").arg(nJobs));
        job.nJobs = nJobs;
        MergeCheck check;
        QString strError;
        ASSERT_TRUE(CheckMerge(m_doc, job, &check, &strError)) << strError.toStdString();
        EXPECT_EQ(check.nRows, 5);
        EXPECT_EQ(check.nExisting, 0);
        qint64 nWritten = 0;
        ASSERT_TRUE(RunMerge(m_doc, job, {}, &nWritten, &strError)) << strError.toStdString();
        EXPECT_EQ(nWritten, 5);
        QStringList written = QDir(job.strFolder).entryList(QDir::Files);
        QStringList expected = all;
        written.sort();
        expected.sort();
        EXPECT_EQ(written, expected);
        for (int i = 0; i < 5; ++i) {
            QFile file(QDir(job.strFolder).filePath(all[i]));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            if (nJobs == 1)
                firstRun[i] = bytes;
            EXPECT_EQ(bytes, firstRun[i]) << all[i].toStdString();
        }
    }
    // Rows 2 to 4 again: two already there are found; stopped after the first card, it alone is replaced.
    job.nFirst = 2;
    job.nLast = 4;
    job.nJobs = 1;
    QFile::remove(QDir(job.strFolder).filePath(all[2]));
    MergeCheck check;
    QString strError;
    ASSERT_TRUE(CheckMerge(m_doc, job, &check, &strError));
    EXPECT_EQ(check.nSelected, 3);
    EXPECT_EQ(check.nExisting, 2);
    qint64 nWritten = 0;
    EXPECT_FALSE(RunMerge(m_doc, job, {}, &nWritten, &strError));
    EXPECT_TRUE(strError.contains(QStringLiteral("already there")));
    job.bReplace = true;
    QStringList progress;
    ASSERT_TRUE(RunMerge(
        m_doc, job,
        [&](qint64 nDone, qint64 nTotal, const QString& strFile) {
            progress.append(QStringLiteral("%1/%2 %3").arg(nDone).arg(nTotal).arg(QFileInfo(strFile).fileName()));
            return false;
        },
        &nWritten, &strError));
    EXPECT_EQ(nWritten, 1);
    EXPECT_EQ(progress, QStringList {QStringLiteral("1/3 Tom.png")});
    EXPECT_FALSE(QFileInfo::exists(QDir(job.strFolder).filePath(all[2])));
}

} // namespace
