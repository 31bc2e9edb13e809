#pragma once

#include <QMessageBox>
#include <QPoint>
#include <QString>
#include <QUrl>

class QDialog;
class QMenu;
class QWidget;

// Everything the main window asks of the user or hands to the desktop: message boxes, file dialogs,
// modal dialogs, the Help popup and opening pages and folders. The main window goes through one
// object of this kind, so a test can answer in place of the user.
class CShellPrompts {
public:
    virtual ~CShellPrompts();

    // Shows a message box owned by pOwner and returns the button that closed it.
    virtual QMessageBox::StandardButton MessageBox(QWidget* pOwner, const QString& strText, const QString& strCaption,
        QMessageBox::StandardButtons buttons, QMessageBox::Icon icon);
    // An existing file to open, or empty when the dialog was cancelled.
    virtual QString GetOpenFileName(QWidget* pOwner, const QString& strFilter);
    // A file to save to, proposed as strName in strFolder (the documents folder when empty); a name
    // typed without an extension takes the chosen filter's, strSuffix before any is chosen. Asks before
    // replacing a file. Empty when cancelled.
    virtual QString GetSaveFileName(QWidget* pOwner, const QString& strName, const QString& strFilter,
        const QString& strSuffix, const QString& strFolder = QString());
    // An existing folder, starting in strFolder (the documents folder when empty), or empty when the
    // dialog was cancelled.
    virtual QString GetExistingDirectory(QWidget* pOwner, const QString& strFolder);
    // Runs the dialog modally and returns its result.
    virtual int RunModal(QDialog& dialog);
    // Shows the popup at the screen point and returns the id (the data) of the chosen action, 0 for none.
    virtual int TrackPopupMenu(QMenu& menu, const QPoint& ptScreen);
    // Opens a page or a folder in the desktop's default application; false when none could.
    virtual bool OpenUrl(const QUrl& url);
};
