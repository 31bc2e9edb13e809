#include <cstdlib>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "bench/bench.h"
#include "document/carddocument.h"
#include "document/textpanel.h"
#include "templates/cardloader.h"
#include "templates/projectfile.h"

namespace {

QString Picture(const QString& strAppDir, const QString& strRelative, int nWidth, int nHeight)
{
    QImage image(nWidth, nHeight, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setBrush(QColor(200, 40, 60));
    painter.drawEllipse(image.rect().adjusted(4, 4, -4, -4));
    painter.end();
    const QString strPath = strAppDir + QStringLiteral("Template/allresources/") + strRelative;
    QDir().mkpath(strPath.left(strPath.lastIndexOf(QLatin1Char('/'))));
    image.save(strPath);
    return strPath;
}

// A card of 500 objects in equal shares of framed placeholders, clip-art elements and texts, using
// a handful of resource pictures as real templates do.
void FillCard(CardDocument& doc, const QString& strAppDir)
{
    doc.m_szClient = QSize(800, 500);
    doc.m_strBackground = Picture(strAppDir, QStringLiteral("bgimage/bg.png"), 1600, 1000);
    QStringList frames;
    QStringList cliparts;
    for (int i = 0; i < 4; ++i) {
        const QString strFrame = Picture(strAppDir, QStringLiteral("frame/f%1.png").arg(i), 300, 240);
        Picture(strAppDir, QStringLiteral("frame/f%1.jpg").arg(i), 300, 240);
        frames << strFrame;
        cliparts << Picture(strAppDir, QStringLiteral("clipart/c%1.png").arg(i), 160, 160);
    }
    for (int i = 0; i < 500; ++i) {
        auto pObject = std::make_unique<TheData>();
        pObject->m_nType = i % 3;
        pObject->m_rcObject = {float(i % 700), float(i % 400), 90.5f, 70.25f};
        pObject->m_dAngle = i % 360;
        if (pObject->m_nType == OBJ_PHOTO) {
            pObject->m_strFrame = frames[i % 4];
            pObject->m_strFrameMask = FrameMaskPath(frames[i % 4]);
        } else if (pObject->m_nType == OBJ_ELEMENT) {
            pObject->m_strElement = cliparts[i % 4];
        } else {
            pObject->m_pText = std::make_unique<CTextPanel>();
            pObject->m_pText->m_strText = QStringLiteral("Merry Christmas & a happy new year #%1").arg(i);
        }
        doc.AddObject(std::move(pObject), 0);
    }
}

const BenchRegistrar registrar("projectfile", [] {
    QTemporaryDir dir;
    const QString strAppDir = dir.path() + QLatin1Char('/');
    CardDocument doc;
    FillCard(doc, strAppDir);
    const QString strPath = strAppDir + QStringLiteral("card.plk");

    const double dSave = BestOf(5, [&] {
        if (!SaveProjectFile(doc, strPath, nullptr, strAppDir))
            std::abort();
    });
    // The part of a save the autosave makes on the user-interface thread: the card turned into bytes.
    const double dBytes = BestOf(5, [&] {
        if (ProjectFileBytes(doc, strAppDir).isEmpty())
            std::abort();
    });
    const double dOpen = BestOf(5, [&] {
        CardDocument opened;
        opened.m_szClient = QSize(800, 500);
        if (!OpenCardFile(strPath, opened, nullptr, strAppDir) || opened.m_vecObjects.size() != 500)
            std::abort();
    });
    // Reading the file alone, without loading the pictures the objects name.
    const double dRead = BestOf(5, [&] {
        ProjectCard card;
        if (!ReadProjectFile(strPath, card, nullptr, strAppDir) || card.vecObjects.size() != 500)
            std::abort();
    });
    BenchReport("project_open_500", dOpen * 1000, "ms");
    BenchReport("project_read_500", dRead * 1000, "ms");
    BenchReport("project_save_500", dSave * 1000, "ms");
    BenchReport("project_bytes_500", dBytes * 1000, "ms");
});

} // namespace
