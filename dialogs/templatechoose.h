#pragma once

#include <functional>

#include <QDialog>
#include <QString>
#include <QStringList>

#include "platform/appdir.h"

class CPicList;
class CRecentCards;
class QPushButton;
class QTreeWidget;

// The full path of the template file chosen last; set when the chooser is confirmed.
extern QString g_strTemplateXml;

// The template file beside a template thumbnail: the text after the last "." of the file name
// replaced by "xml" (temp2.jpg and temp2.jpeg both give temp2.xml); a name without one gets ".xml".
QString TemplateXmlPath(const QString& strPicture);

// The modal dialog in which the user picks a card template: a fixed tree of categories on the left
// and the thumbnails of the selected category's templates on the right. Choosing a category updates
// the shared template settings at once; OK (or a double-click on a thumbnail) confirms the selected
// template into g_nTemplateNumber and g_strTemplateXml.
//
// Below the tree, one more item, "Recent", shows the thumbnails of the projects saved or opened last;
// confirming one of those has the owner open the project and closes the dialog only when it opened.
class CTemplateChoose : public QDialog {
    Q_OBJECT

public:
    // Category folders are looked for below strAppDir + "Template/cards/".
    explicit CTemplateChoose(QWidget* pParent = nullptr, const QString& strAppDir = GetAppDir());
    ~CTemplateChoose() override;

    // The projects "Recent" lists, newest first, read now; fnOpen opens a chosen one, says itself why
    // it could not, and answers whether it opened.
    void SetRecent(const CRecentCards& recent, std::function<bool(const QString&)> fnOpen);

    // Confirms the list's current cell, or asks for one when there is none.
    void OnOK();
    // Shows the folder of the selected category and records it in the shared settings.
    void OnTreeSelChanged();
    // Shows the recent projects' thumbnails; the category settings stay as they are.
    void OnRecentSelChanged();

    // QDialog
    void accept() override;

    QStringList m_holidays;
    QStringList m_events;
    QTreeWidget* m_tree = nullptr;
    CPicList* m_pPicList = nullptr;
    int m_nChosen = -1;
    QPushButton* m_btnOK = nullptr;
    QPushButton* m_btnCancel = nullptr;
    // The single item "Recent" below the category tree.
    QTreeWidget* m_recent = nullptr;
    QStringList m_recentProjects;
    // The recent project that was opened when the dialog was confirmed; empty for a template.
    QString m_strProject;

protected:
    bool event(QEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void OnInitDialog();
    // The search pattern of a category folder.
    QString CategoryPattern(const QString& strCategory) const;
    // Shows the category's thumbnails and names the category in the window title.
    void ShowCategory(const QString& strCategory);

    QString m_strAppDir;
    QStringList m_recentThumbnails;
    std::function<bool(const QString&)> m_fnOpenProject;
    bool m_bRecentShown = false;
};
