#include "document/textpanel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include <QFont>
#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>
#include <QTransform>

#include "platform/imageio.h"
#include "platform/pictureops.h"
#include "platform/quality.h"

namespace {

// The shadow's offset is taken at this share and its softness is that of the text drawn this small and
// stretched back: the same share of the card at any resolution.
constexpr double kShadowScale = 0.65;
// A shadow bitmap is made at most this large; past it, at a coarser resolution.
constexpr double kMaxShadowPixels = 1 << 24;
// Room left around a measured text for the painter's side bearings and the shadow.
constexpr double kMeasureMargin = 15;
// Texts are measured at this pixel size and scaled to their own. At the sizes glyphs are rasterised
// at, their outlines depend on what the font engine rasterised last (the same text can measure 1/64
// pixel apart from one call to the next); at this size, always drawn as outlines, they are the same
// design outlines every time, so a text's measured size depends on the text alone.
constexpr int kMeasureSize = 1024;

// The text with every kind of line break turned into the separator the text layout breaks lines at.
QString LayoutString(QString strText)
{
    strText.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
    strText.replace(QLatin1Char('\n'), QChar::LineSeparator);
    strText.replace(QLatin1Char('\r'), QChar::LineSeparator);
    return strText;
}

Qt::Alignment AlignmentOf(int nAlign)
{
    switch (nAlign) {
    case 1:
        return Qt::AlignHCenter;
    case 2:
        return Qt::AlignRight;
    default:
        return Qt::AlignLeft;
    }
}

// Lays the lines out from (0, 0), one under the other. With a width the lines wrap at word boundaries
// (a word longer than a line breaks anywhere) and take the alignment; without one (dWidth < 0) they
// break only at line breaks.
void LayOutLines(QTextLayout& layout, double dWidth, Qt::Alignment alignment)
{
    QTextOption option(alignment);
    option.setTextDirection(Qt::LeftToRight);
    option.setWrapMode(dWidth < 0 ? QTextOption::NoWrap : QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal y = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max(0.0, dWidth));
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
}

// The outline of the laid-out text: each line's glyphs (and the font's decorations) where the layout
// puts them.
QPainterPath TextPath(const QTextLayout& layout, const QFont& font)
{
    QPainterPath path;
    const QString strText = layout.text();
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        QString strLine = strText.mid(line.textStart(), line.textLength());
        while (!strLine.isEmpty() && strLine.back() == QChar::LineSeparator)
            strLine.chop(1);
        path.addText(QPointF(line.cursorToX(line.textStart()), line.y() + line.ascent()), font, strLine);
    }
    return path;
}

// The family without the " [Foundry]" the font database adds when foundries share a family name.
QString WithoutFoundry(const QString& strName)
{
    const qsizetype nBracket = strName.indexOf(QLatin1String(" ["));
    return nBracket > 0 && strName.endsWith(QLatin1Char(']')) ? strName.left(nBracket) : strName;
}

// Symbol fonts carry a symbol character map, which the font database also reads as covering the ASCII
// letters: one that reports nothing beyond Symbol and Latin draws symbols only (dingbats).
bool IsSymbolOnly(const QList<QFontDatabase::WritingSystem>& writingSystems)
{
    if (!writingSystems.contains(QFontDatabase::Symbol))
        return false;
    return std::all_of(writingSystems.begin(), writingSystems.end(), [](QFontDatabase::WritingSystem system) {
        return system == QFontDatabase::Symbol || system == QFontDatabase::Latin;
    });
}

// Device pixels per layout unit along the layout's sides as the painter lands them; 1 up to the
// canvas's own size (a turned painter's scale differs from 1 by rounding) and for a transform that
// gives none.
QSizeF ShadowScale(const QPainter& painter)
{
    const QTransform matrix = painter.deviceTransform();
    const auto scale = [](double d) { return std::isfinite(d) && d > 1 + 1e-3 ? d : 1.0; };
    return {scale(std::hypot(matrix.m11(), matrix.m12())), scale(std::hypot(matrix.m21(), matrix.m22()))};
}

// The shadow of a text's outline over a layout of szLayout units, offset by ptOffset at 65 %, to be
// drawn at scale device pixels per unit. Up to the canvas's size the outline is filled at 65 % and
// stretched back: no steps show there, and it is the cheapest to make again while a text is typed.
// That stretch is the outline blurred by three boxes 1 / 0.65 units wide: the fill's own anti-aliasing
// and the two of the stretch's linear interpolation. Larger, the outline is filled at the device's
// resolution, which already blurs by one device pixel, and blurred by the same boxes with the first
// narrowed by that pixel; its edges then ramp smoothly at any scale.
QImage SoftShadow(const QPainterPath& outline, QPointF ptOffset, QSizeF szLayout, QSizeF scale, QRgb clrShadow)
{
    if (scale == QSizeF(1, 1)) {
        // Points are scaled first, then moved by the offset.
        QTransform matrix;
        matrix.translate(ptOffset.x(), ptOffset.y());
        matrix.scale(kShadowScale, kShadowScale);
        const QSize size = BitmapSize(szLayout.width() * kShadowScale, szLayout.height() * kShadowScale);
        if (!size.isValid())
            return QImage();
        QImage shadow(size, QImage::Format_ARGB32_Premultiplied);
        shadow.fill(Qt::transparent);
        QPainter painter(&shadow);
        ApplyQuality(painter);
        painter.fillPath(matrix.map(outline), QColor::fromRgba(clrShadow));
        return shadow;
    }
    const double dPixels = szLayout.width() * scale.width() * szLayout.height() * scale.height();
    if (dPixels > kMaxShadowPixels)
        scale *= std::sqrt(kMaxShadowPixels / dPixels);
    const QSize size = BitmapSize(szLayout.width() * scale.width(), szLayout.height() * scale.height());
    if (!size.isValid() || size.isEmpty())
        return QImage();
    QImage alpha(size, QImage::Format_Alpha8);
    alpha.fill(0);
    const double kx = size.width() / szLayout.width();
    const double ky = size.height() / szLayout.height();
    QPainter painter(&alpha);
    ApplyQuality(painter);
    painter.scale(kx, ky);
    painter.fillPath(outline.translated(ptOffset / kShadowScale), Qt::black);
    painter.end();
    const auto widths = [](double dBox) { return std::array {std::sqrt(std::max(0.0, dBox * dBox - 1)), dBox, dBox}; };
    BoxBlurAlpha(alpha, widths(kx / kShadowScale), widths(ky / kShadowScale));

    // One premultiplied pixel per alpha.
    std::array<QRgb, 256> tints {};
    const QColor colour = QColor::fromRgba(clrShadow);
    for (int a = 0; a < 256; ++a)
        tints[size_t(a)] = qPremultiply(qRgba(colour.red(), colour.green(), colour.blue(), colour.alpha() * a / 255));
    QImage shadow(size, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < size.height(); ++y) {
        const uchar* pAlpha = alpha.constScanLine(y);
        auto* pLine = reinterpret_cast<QRgb*>(shadow.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            pLine[x] = tints[pAlpha[x]];
    }
    return shadow;
}

} // namespace

// A text laid out in its layout rectangle, with its shadow drawn, and everything they depend on but
// the rectangle's place.
struct TextDrawing {
    QString strText;
    QFont font;
    int nAlign = 0;
    float fWidth = 0;
    float fHeight = 0;
    int bShadow = 0;
    int nShadowX = 0;
    int nShadowY = 0;
    quint32 clrShadow = 0;

    std::unique_ptr<QTextLayout> pLayout;

    // The shadow at a device scale: kept for the canvas's scale and for the last other one. An export
    // draws on a thread of its own while the canvas repaints, each at its own scale.
    QImage Shadow(QSizeF scale, const std::function<QImage()>& make)
    {
        const auto at = [&scale](const std::pair<QSizeF, QImage>& kept) {
            return qFuzzyCompare(kept.first.width(), scale.width())
                && qFuzzyCompare(kept.first.height(), scale.height());
        };
        {
            const std::lock_guard lock(mutexShadows);
            if (const auto it = std::find_if(vecShadows.begin(), vecShadows.end(), at); it != vecShadows.end())
                return it->second;
        }
        QImage shadow = make();
        const std::lock_guard lock(mutexShadows);
        // The canvas's shadow stays; another scale takes the place of the last other one.
        const bool bCanvas = scale == QSizeF(1, 1);
        std::erase_if(
            vecShadows, [&](const auto& kept) { return at(kept) || (!bCanvas && kept.first != QSizeF(1, 1)); });
        vecShadows.emplace_back(scale, shadow);
        return shadow;
    }
    std::mutex mutexShadows;
    std::vector<std::pair<QSizeF, QImage>> vecShadows;

    bool Fits(const CTextPanel& text, const QFont& fontNow) const
    {
        return strText == text.m_strText && font == fontNow && nAlign == text.m_nAlign
            && fWidth == text.m_rcLayout.Width && fHeight == text.m_rcLayout.Height && bShadow == text.m_bShadow
            && nShadowX == text.m_nShadowX && nShadowY == text.m_nShadowY && clrShadow == text.m_clrShadow;
    }
};

QFont CTextPanel::MakeFont() const
{
    QFont font(m_strFont);
    font.setPixelSize(std::max(1, m_nSize));
    font.setBold(m_bBold != 0);
    font.setItalic(m_bItalic != 0);
    font.setUnderline(m_bUnderline != 0);
    font.setStrikeOut(m_bStrikeout != 0);
    return font;
}

void CTextPanel::MeasureText()
{
    if (m_strText.isEmpty())
        return;
    const QFont font = MakeFont();
    QFont reference = font;
    reference.setPixelSize(kMeasureSize);
    QTextLayout layout(LayoutString(m_strText), reference);
    LayOutLines(layout, -1, Qt::AlignLeft);
    const QRectF bounds = TextPath(layout, reference).boundingRect();
    const double dScale = double(font.pixelSize()) / kMeasureSize;
    m_rcLayout.Width = float(m_nShadowX + bounds.width() * dScale + kMeasureMargin);
    m_rcLayout.Height = float(m_nShadowY + bounds.height() * dScale + kMeasureMargin);
}

void CTextPanel::DrawText(QPainter& painter)
{
    const QRectF rcLayout = m_rcLayout.toQRectF();
    // A layout without area (or with broken geometry) shows nothing.
    if (!(rcLayout.width() > 0 && rcLayout.height() > 0) || !std::isfinite(rcLayout.width() * rcLayout.height())) {
        painter.resetTransform();
        return;
    }
    const QFont font = MakeFont();
    if (!m_pDrawing || !m_pDrawing->Fits(*this, font)) {
        auto pDrawing = std::make_shared<TextDrawing>();
        pDrawing->strText = m_strText;
        pDrawing->font = font;
        pDrawing->nAlign = m_nAlign;
        pDrawing->fWidth = m_rcLayout.Width;
        pDrawing->fHeight = m_rcLayout.Height;
        pDrawing->bShadow = m_bShadow;
        pDrawing->nShadowX = m_nShadowX;
        pDrawing->nShadowY = m_nShadowY;
        pDrawing->clrShadow = m_clrShadow;
        pDrawing->pLayout = std::make_unique<QTextLayout>(LayoutString(m_strText), font);
        LayOutLines(*pDrawing->pLayout, rcLayout.width(), AlignmentOf(m_nAlign));
        m_pDrawing = std::move(pDrawing);
    }
    QImage shadow;
    if (m_bShadow && (m_nShadowX > 0 || m_nShadowY > 0)) {
        const QSizeF scale = ShadowScale(painter);
        shadow = m_pDrawing->Shadow(scale, [&] {
            return SoftShadow(TextPath(*m_pDrawing->pLayout, font), QPointF(m_nShadowX, m_nShadowY), rcLayout.size(),
                scale, m_clrShadow);
        });
    }

    painter.save();
    // Lines wrapped below a layout that became too small stay inside it.
    painter.setClipRect(rcLayout, Qt::IntersectClip);
    if (!shadow.isNull())
        painter.drawImage(rcLayout, shadow, QRectF(shadow.rect()));
    painter.setPen(QColor::fromRgba(m_clrText));
    m_pDrawing->pLayout->draw(&painter, rcLayout.topLeft());
    painter.restore();
    painter.resetTransform();
}

QStringList OfferedFontFamilies(const QList<FontFamilyEntry>& families)
{
    QStringList offered;
    for (const FontFamilyEntry& family : families) {
        const QString strName = WithoutFoundry(family.strName);
        if (!strName.isEmpty() && !IsSymbolOnly(family.writingSystems)
            && !offered.contains(strName, Qt::CaseInsensitive))
            offered.append(strName);
    }
    return offered;
}

QStringList InstalledFontFamilies()
{
    QList<FontFamilyEntry> families;
    for (const QString& strName : QFontDatabase::families()) {
        if (!QFontDatabase::isPrivateFamily(strName))
            families.append({strName, QFontDatabase::writingSystems(strName)});
    }
    return OfferedFontFamilies(families);
}

QString OfferedFamilyFor(const QStringList& offered, const QString& strFamily)
{
    const auto find = [&offered](const QString& strName) {
        for (const QString& strOffered : offered) {
            if (strOffered.compare(strName, Qt::CaseInsensitive) == 0)
                return strOffered;
        }
        return QString();
    };
    const QString strOffered = find(WithoutFoundry(strFamily));
    return strOffered.isEmpty() ? find(QFontInfo(QFont(strFamily)).family()) : strOffered;
}
