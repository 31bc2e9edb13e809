#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include <QColor>
#include <QEvent>
#include <QImage>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QTemporaryDir>

#include "document/rectf.h"
#include "session/printchoices.h"

// Test pictures are drawn here and written into a temporary folder; nothing binary is kept in the
// repository.
class TestFiles {
public:
    TestFiles();
    QString path(const QString& strName) const { return m_dir.filePath(strName); }
    // Writes a picture of one colour; the format follows the extension.
    QString solid(const QString& strName, int nWidth, int nHeight, QColor colour);
    // Writes a picture with a smooth diagonal gradient and a few shapes, so that scaling errors show.
    QString photo(const QString& strName, int nWidth, int nHeight);
    // Writes an image as given.
    QString write(const QString& strName, const QImage& image, int nQuality = -1);
    // Writes raw bytes.
    QString bytes(const QString& strName, const QByteArray& data);

private:
    QTemporaryDir m_dir;
};

struct RecordedMessage {
    int nMessage;
    qintptr wParam;
    qintptr lParam;
    bool operator==(const RecordedMessage&) const = default;
};

// Appends a custom message to the list when it is one of the kept ones (all when none are given);
// whether it was kept.
bool RecordAppMessage(QEvent* pEvent, std::vector<RecordedMessage>& messages, const std::vector<int>& keep = {});

// Records every custom message it receives: stands in for the canvas and the main window.
class MessageRecorder : public QObject {
public:
    using Message = RecordedMessage;
    using QObject::QObject;
    bool event(QEvent* pEvent) override;

    std::vector<Message> m_vecMessages;
};

// Saves the process-wide settings of config.ini when made and puts them back when destroyed, so that a
// test may change them freely.
class SettingsGuard {
public:
    SettingsGuard();
    ~SettingsGuard();
    SettingsGuard(const SettingsGuard&) = delete;
    SettingsGuard& operator=(const SettingsGuard&) = delete;

private:
    QString m_strExportPath;
    QString m_strTemplateCategory;
    int m_nTemplateNumber;
    int m_nTemplateGroup;
    bool m_bTemplateFlag;
    QString m_strPhotoDir;
    PrintChoices m_printChoices;
};

// Registers a helper that the test program runs instead of the tests when started as
// "PROGRAM --child NAME"; its result is the process's exit code. Lets a test run part of itself in a
// process of its own, which it may kill.
struct TestChild {
    TestChild(const char* pszName, std::function<int()> fn);
};
// Whether the arguments ask for a child helper.
bool IsTestChild(int argc, char** argv);
// Runs the child helper the arguments name; 127 when there is none of that name.
int RunTestChild(char** argv);

// Mean absolute difference per channel of two equally sized pictures (both converted to ARGB32).
double MeanAbsDiff(const QImage& a, const QImage& b);

// A picture with detail everywhere (no two rows or blocks alike, so no part of an encoder's output
// repeats another), with a varying alpha when asked for.
QImage DetailedPicture(int w, int h, bool bAlpha);

// Printers for failure messages and test-case names, found by argument-dependent lookup.
std::ostream& operator<<(std::ostream& out, const RectF& rc);
std::ostream& operator<<(std::ostream& out, const QString& str);
std::ostream& operator<<(std::ostream& out, QSize size);
std::ostream& operator<<(std::ostream& out, QPoint pt);
std::ostream& operator<<(std::ostream& out, const QRect& rc);
// The text in double quotes, line breaks and tabs written as \n, \r and \t, so that it stays on one line.
std::string Quoted(std::string_view text);
std::ostream& operator<<(std::ostream& out, const RecordedMessage& m);
