#pragma once

#include <QDialog>
#include <QString>
#include <QUrl>

class CShellPrompts;

// The About box: program name and version, one line about the program and two links.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    CAboutDlg(QWidget* pParent, const QString& strAppDir, CShellPrompts& prompts);
    ~CAboutDlg() override;
};

// The help page in the program folder, and its support section.
QUrl HelpPageUrl(const QString& strAppDir);
QUrl SupportPageUrl(const QString& strAppDir);
