#include "templates/cardloader.h"

#include <algorithm>
#include <cstring>

#include <QFileInfo>

#include "document/carddocument.h"
#include "document/cardfit.h"
#include "platform/applog.h"
#include "platform/imageio.h"
#include "templates/projectfile.h"
#include "templates/templateloader.h"
#include "templates/xmlparse.h"

namespace {

bool Fail(CardError* pError, CardError nError)
{
    if (pError)
        *pError = nError;
    return false;
}

LoadedCard FromTemplate(TemplateCard&& read)
{
    LoadedCard card;
    card.strBackground = std::move(read.strBackground);
    card.szCard = read.szBackground;
    card.nSavedWidth = read.szBackground.width();
    card.vecObjects = std::move(read.vecObjects);
    return card;
}

LoadedCard FromProject(ProjectCard&& read)
{
    LoadedCard card;
    card.bProject = true;
    card.strBackground = std::move(read.strBackground);
    card.nSavedWidth = read.nSavedWidth;
    card.dPrintWidthMm = read.dPrintWidthMm;
    card.szCard = ReadPictureSize(card.strBackground);
    if (!card.szCard.isValid() || card.szCard.isEmpty())
        card.szCard = QSize(read.nSavedWidth, read.nSavedWidth);
    card.vecObjects = std::move(read.vecObjects);
    return card;
}

} // namespace

QString CardErrorText(CardError nError)
{
    switch (nError) {
    case CardError::None:
        return QString();
    case CardError::Missing:
        return QStringLiteral("no such file");
    case CardError::Unreadable:
        return QStringLiteral("cannot be read");
    case CardError::NotACard:
        return QStringLiteral("neither a template nor a project");
    case CardError::Damaged:
        break;
    }
    return QStringLiteral("File is corrupted!");
}

QString CardOpenMessage(CardError nError, const QString& strPath)
{
    const QString strName = QFileInfo(strPath).fileName();
    switch (nError) {
    case CardError::Missing:
        return QStringLiteral("The file could not be found: %1").arg(strName);
    case CardError::Unreadable:
        return QStringLiteral("The file could not be read: %1").arg(strName);
    default:
        return QStringLiteral("File is corrupted!");
    }
}

bool ReadCardFile(const QString& strPath, LoadedCard& card, CardError* pError, const QString& strAppDir)
{
    const QFileInfo info(strPath);
    if (strPath.isEmpty() || !info.isFile())
        return Fail(pError, CardError::Missing);
    if (!info.isReadable())
        return Fail(pError, CardError::Unreadable);

    XMLParse parse;
    if (!parse.Load(strPath))
        return Fail(pError, CardError::Damaged);
    const char* pszRoot = parse.m_pDoc->document_element().name();
    if (std::strcmp(pszRoot, "TheData") == 0) {
        WriteLog(QStringLiteral("Open project file: %1").arg(strPath));
        ProjectCard read;
        if (!ReadProjectXml(parse, read, nullptr, strAppDir))
            return Fail(pError, CardError::Damaged);
        card = FromProject(std::move(read));
    } else if (std::strcmp(pszRoot, "root") == 0) {
        TemplateCard read;
        if (!ReadTemplateXml(parse, read, nullptr, strAppDir))
            return Fail(pError, CardError::Damaged);
        card = FromTemplate(std::move(read));
    } else {
        return Fail(pError, CardError::NotACard);
    }
    if (pError)
        *pError = CardError::None;
    return true;
}

QStringList MissingPictures(const LoadedCard& card)
{
    QStringList listMissing;
    const auto check = [&listMissing](const QString& strPath) {
        if (!strPath.isEmpty() && !listMissing.contains(strPath) && !QFileInfo(strPath).isFile())
            listMissing.append(strPath);
    };
    check(card.strBackground);
    for (const auto& pObject : card.vecObjects) {
        check(pObject->m_strPhoto);
        check(pObject->m_strFrame);
        check(pObject->m_strMask);
        check(pObject->m_strElement);
    }
    return listMissing;
}

QString MissingPicturesMessage(const QStringList& listMissing)
{
    constexpr qsizetype kListed = 5;
    if (listMissing.isEmpty())
        return QString();
    QString strText = listMissing.size() == 1
        ? QStringLiteral("A picture of this card is missing:")
        : QStringLiteral("%1 pictures of this card are missing:").arg(listMissing.size());
    for (qsizetype i = 0; i < std::min(kListed, listMissing.size()); ++i)
        strText += QLatin1Char('\n') + QFileInfo(listMissing[i]).fileName();
    if (listMissing.size() > kListed)
        strText += QStringLiteral("\nand %1 more").arg(listMissing.size() - kListed);
    return strText;
}

QSize CardCanvasSize(const LoadedCard& card, int nWidth)
{
    if (card.szCard.isEmpty())
        return QSize(nWidth, 0);
    return QSize(nWidth, int(double(nWidth) * card.szCard.height() / card.szCard.width()));
}

void PlaceCard(CardDocument& doc, LoadedCard&& card, CardUse use)
{
    for (auto& pObject : card.vecObjects)
        doc.AddObject(std::move(pObject), 0);
    card.vecObjects.clear();
    doc.m_dPrintWidthMm = card.dPrintWidthMm;
    if (card.bProject)
        FitProjectObjects(doc, card.strBackground, card.nSavedWidth, use);
    else
        FitTemplateObjects(doc, card.strBackground, use);
}

bool OpenCardFile(const QString& strPath, CardDocument& doc, CardError* pError, const QString& strAppDir, CardUse use)
{
    LoadedCard card;
    if (!ReadCardFile(strPath, card, pError, strAppDir))
        return false;
    if (doc.m_szClient.isEmpty())
        doc.m_szClient = CardCanvasSize(card, card.nSavedWidth);
    doc.ClearObjects();
    PlaceCard(doc, std::move(card), use);
    return true;
}
