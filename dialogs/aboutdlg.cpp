#include "dialogs/aboutdlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/skinpicture.h"
#include "session/version.h"
#include "widgets/shellprompts.h"

QUrl HelpPageUrl(const QString& strAppDir)
{
    return QUrl::fromLocalFile(strAppDir + QStringLiteral("Help/index.html"));
}

QUrl SupportPageUrl(const QString& strAppDir)
{
    QUrl url = HelpPageUrl(strAppDir);
    url.setFragment(QStringLiteral("support"));
    return url;
}

CAboutDlg::CAboutDlg(QWidget* pParent, const QString& strAppDir, CShellPrompts& prompts)
    : QDialog(pParent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("About Velomira"));

    auto* pIcon = new QLabel(this);
    pIcon->setPixmap(
        QPixmap::fromImage(ReadSkin(strAppDir + QStringLiteral("Skins/quillmere_icon.png"), devicePixelRatioF())));
    pIcon->setAlignment(Qt::AlignTop);

    auto* pName = new QLabel(QStringLiteral("Velomira, Version %1").arg(GetFileVersionText()), this);
    auto* pLine
        = new QLabel(QStringLiteral("Greeting cards from templates, your photos, frames, clip art and text."), this);
    auto* pLinks = new QLabel(QStringLiteral("<a href=\"%1\">Help</a> &nbsp;&middot;&nbsp; <a href=\"%2\">Feedback and "
                                             "Support</a>")
                                  .arg(HelpPageUrl(strAppDir).toString(), SupportPageUrl(strAppDir).toString()),
        this);
    pLinks->setTextFormat(Qt::RichText);
    connect(
        pLinks, &QLabel::linkActivated, this, [&prompts](const QString& strLink) { prompts.OpenUrl(QUrl(strLink)); });

    auto* pOk = new QPushButton(QStringLiteral("OK"), this);
    pOk->setDefault(true);
    connect(pOk, &QPushButton::clicked, this, &QDialog::accept);

    auto* pText = new QVBoxLayout;
    pText->addWidget(pName);
    pText->addWidget(pLine);
    pText->addWidget(pLinks);
    auto* pTop = new QHBoxLayout;
    pTop->addWidget(pIcon);
    pTop->addSpacing(8);
    pTop->addLayout(pText, 1);
    auto* pButtons = new QHBoxLayout;
    pButtons->addStretch(1);
    pButtons->addWidget(pOk);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addLayout(pTop);
    pLayout->addSpacing(8);
    pLayout->addLayout(pButtons);
    setFixedSize(sizeHint());
}

CAboutDlg::~CAboutDlg() = default;
