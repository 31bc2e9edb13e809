#include "widgets/shellprompts.h"

#include <QAction>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMenu>
#include <QStandardPaths>

namespace {

// The documents folder, where the file dialogs start.
QString DocumentsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

} // namespace

CShellPrompts::~CShellPrompts() = default;

QMessageBox::StandardButton CShellPrompts::MessageBox(QWidget* pOwner, const QString& strText,
    const QString& strCaption, QMessageBox::StandardButtons buttons, QMessageBox::Icon icon)
{
    QMessageBox box(icon, strCaption, strText, buttons, pOwner);
    return QMessageBox::StandardButton(box.exec());
}

QString CShellPrompts::GetOpenFileName(QWidget* pOwner, const QString& strFilter)
{
    QFileDialog dialog(pOwner, QStringLiteral("Open"), DocumentsFolder(), strFilter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString CShellPrompts::GetExistingDirectory(QWidget* pOwner, const QString& strFolder)
{
    return QFileDialog::getExistingDirectory(
        pOwner, QStringLiteral("Choose a Folder"), strFolder.isEmpty() ? DocumentsFolder() : strFolder);
}

QString CShellPrompts::GetSaveFileName(QWidget* pOwner, const QString& strName, const QString& strFilter,
    const QString& strSuffix, const QString& strFolder)
{
    QFileDialog dialog(
        pOwner, QStringLiteral("Save As"), strFolder.isEmpty() ? DocumentsFolder() : strFolder, strFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(strSuffix);
    // "PNG (*.png)": the filter's own extension becomes the one a bare name gets.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& strChosen) {
        const qsizetype nStar = strChosen.indexOf(QLatin1String("(*."));
        if (nStar >= 0)
            dialog.setDefaultSuffix(
                strChosen.mid(nStar + 3).section(QLatin1Char(')'), 0, 0).section(QLatin1Char(' '), 0, 0));
    });
    dialog.selectFile(strName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

int CShellPrompts::RunModal(QDialog& dialog)
{
    return dialog.exec();
}

int CShellPrompts::TrackPopupMenu(QMenu& menu, const QPoint& ptScreen)
{
    const QAction* pChosen = menu.exec(ptScreen);
    return pChosen ? pChosen->data().toInt() : 0;
}

bool CShellPrompts::OpenUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}
