// Dragging a text against dragging a picture, and one step of the rotation dial.
#include <memory>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPainter>
#include <QTemporaryDir>
#include <QWindow>

#include "bench/bench.h"
#include "bench/benchpictures.h"
#include "canvas/canvas.h"
#include "canvas/floatdlg.h"
#include "canvas/rollctrl.h"
#include "document/thedata.h"

namespace {

constexpr int kFrames = 40;

QString WriteJpeg(const QTemporaryDir& dir, const QString& strName, const QImage& image)
{
    const QString strPath = dir.filePath(strName);
    image.save(strPath, "JPEG", 92);
    return strPath;
}

// A card of 1000 x 625 with a background and a few elements around the object under test.
void FillCard(Canvas& canvas, const QTemporaryDir& dir)
{
    const QString strBackground = WriteJpeg(
        dir, QStringLiteral("bg.jpg"), DetailedPicture(1600, 1000, QColor(30, 60, 120), QColor(220, 200, 160)));
    const QString strArt = dir.filePath(QStringLiteral("art.png"));
    DetailedPicture(400, 400, QColor(220, 40, 90), QColor(240, 200, 20)).save(strArt);
    canvas.resize(1000, 625);
    for (int i = 0; i < 8; ++i) {
        auto pObject = std::make_unique<TheData>();
        pObject->m_nType = OBJ_ELEMENT;
        pObject->m_strElement = strArt;
        pObject->m_rcObject = {float(60 + i * 110), float(40 + (i % 3) * 170), 120, 120};
        pObject->m_dAngle = i * 17;
        canvas.AddObject(std::move(pObject), 0);
    }
    canvas.FitProject(strBackground, 1000);
}

// Seconds per drag step of the selected object: it moves a few pixels and the canvas is painted.
double DragStep(Canvas& canvas)
{
    QImage buffer(canvas.size(), QImage::Format_ARGB32_Premultiplied);
    TheData* pDragged = canvas.m_doc.SelectedObject();
    return BestOf(5, [&] {
        for (int i = 0; i < kFrames; ++i) {
            pDragged->MoveBy(i % 2 ? -3 : 3, i % 2 ? -2 : 2, 1);
            buffer.fill(Qt::white);
            QPainter painter(&buffer);
            canvas.PaintCanvas(painter);
        }
    }) / kFrames;
}

// A greeting with a shadow dragged over the card, against a clip-art element of the same size.
const BenchRegistrar dragTextRegistrar("drag_text_vs_picture", [] {
    QTemporaryDir dir;
    Canvas canvas;
    FillCard(canvas, dir);

    auto pText = std::make_unique<TheData>();
    pText->m_nType = OBJ_TEXT;
    pText->m_pText = std::make_unique<CTextPanel>();
    pText->m_pText->m_strText = QStringLiteral("Happy Birthday,\nAnna!");
    pText->m_pText->m_nSize = 48;
    pText->m_pText->m_nShadowX = 3;
    pText->m_pText->m_nShadowY = 3;
    pText->m_rcObject = {300, 200, 0, 0};
    pText->RefitText();
    const RectF rcText = pText->m_rcObject;
    TheData* pAddedText = canvas.AddObject(std::move(pText), 0);

    const QString strArt = dir.filePath(QStringLiteral("element.png"));
    DetailedPicture(600, 300, QColor(20, 120, 40), QColor(240, 80, 40)).save(strArt);
    auto pElement = std::make_unique<TheData>();
    pElement->m_nType = OBJ_ELEMENT;
    pElement->m_strElement = strArt;
    pElement->m_rcObject = rcText;
    pElement->RebuildImage();
    TheData* pAddedElement = canvas.AddObject(std::move(pElement), 0);

    canvas.Select(pAddedText->m_nIndex);
    const double dText = DragStep(canvas);
    canvas.Select(pAddedElement->m_nIndex);
    const double dPicture = DragStep(canvas);

    BenchReport("drag_text_step", dText * 1000, "ms");
    BenchReport("drag_picture_step", dPicture * 1000, "ms");
    BenchReport("drag_text_vs_picture", dText / dPicture, "x");

    // Each step restyles the greeting, so its layout and shadow are made again before it is painted.
    canvas.Select(pAddedText->m_nIndex);
    QImage buffer(canvas.size(), QImage::Format_ARGB32_Premultiplied);
    const double dRestyle = BestOf(5, [&] {
        for (int i = 0; i < kFrames; ++i) {
            pAddedText->m_pText->m_nSize = 48 + i % 2;
            buffer.fill(Qt::white);
            QPainter painter(&buffer);
            canvas.PaintCanvas(painter);
        }
    }) / kFrames;
    BenchReport("restyle_text_step", dRestyle * 1000, "ms");
});

// One move of the dial's knob on a framed photo: the toolbar turns it and the canvas is repainted.
const BenchRegistrar dialRegistrar("dial_rotate_step", [] {
    QTemporaryDir dir;
    Canvas canvas;
    FillCard(canvas, dir);
    const QString strPhoto = WriteJpeg(
        dir, QStringLiteral("photo.jpg"), DetailedPicture(1600, 1200, QColor(20, 120, 40), QColor(240, 80, 40)));
    QImage frame(800, 600, QImage::Format_ARGB32);
    frame.fill(QColor(200, 160, 40));
    {
        QPainter painter(&frame);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(80, 60, 640, 480, Qt::transparent);
    }
    frame.save(dir.filePath(QStringLiteral("frame.png")));
    QImage mask(800, 600, QImage::Format_RGB32);
    mask.fill(Qt::black);
    {
        QPainter painter(&mask);
        painter.fillRect(80, 60, 640, 480, Qt::white);
    }
    mask.save(dir.filePath(QStringLiteral("frame.jpg")), "JPEG", 95);

    auto pFramed = std::make_unique<TheData>();
    pFramed->m_nType = OBJ_PHOTO;
    pFramed->m_strFrame = dir.filePath(QStringLiteral("frame.png"));
    pFramed->m_strFrameMask = dir.filePath(QStringLiteral("frame.jpg"));
    pFramed->m_rcObject = {350, 180, 320, 240};
    pFramed->LoadFrame();
    pFramed->SetPhoto(strPhoto, 0, {}, {}, 0);
    TheData* pAdded = canvas.AddObject(std::move(pFramed), 0);
    // The canvas paints only once its window is on the screen.
    canvas.show();
    QDeadlineTimer deadline(5000);
    while (!(canvas.windowHandle() && canvas.windowHandle()->isExposed()) && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);

    CRollCtrl& dial = *canvas.m_pFloatBar->m_pDial;
    const auto turn = [&] {
        // Each turn starts with the knob at twelve o'clock.
        dial.m_dDialAngle = 0;
        dial.OnLButtonDown({25, 5});
        for (int i = 0; i < kFrames; ++i)
            dial.OnMouseMove(i % 2 ? QPoint(45, 25) : QPoint(39, 11));
        dial.OnLButtonUp();
    };
    canvas.Select(pAdded->m_nIndex);
    const double dObject = BestOf(3, turn) / kFrames;
    canvas.ShowFloatBar(1, 0);
    const double dPhoto = BestOf(3, turn) / kFrames;

    BenchReport("dial_rotate_step", dObject * 1000, "ms");
    BenchReport("dial_rotate_step_photo_edit", dPhoto * 1000, "ms");
});

} // namespace
