// The template library: each category dresses a handful of layouts in its own background, frames and
// clip-art. Layouts are drawn up in background pixels, top-down; the XML gets the template format's
// bottom-up PhotoFrameTop.
#include "assets/library.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QTransform>

#include "assets/artkit.h"
#include "document/carddocument.h"
#include "document/textpanel.h"
#include "render/renderer.h"
#include "templates/cardloader.h"
#include "templates/templateloader.h"

namespace art {

namespace {

// Longer side of a template thumbnail.
constexpr int kThumbSide = 400;

// A place in a layout: a photo placeholder (frame) or a clip-art element, given by the centre and the
// box its picture is fitted into, and its clockwise turn.
struct Slot {
    bool bPhoto;
    double cx, cy;
    double w, h;
    double dAngle;
    int nPick; // which of the category's frames or clip-arts
};

Slot Photo(double cx, double cy, double w, double h, double dAngle, int nFrame)
{
    return {true, cx, cy, w, h, dAngle, nFrame};
}

Slot Art(double cx, double cy, double s, double dAngle, int nArt)
{
    return {false, cx, cy, s, s, dAngle, nArt};
}

// The lines a template writes: the greeting, a second line under it, and an invitation's name and
// date lines.
enum class Line { Greeting, Second, Name, When };

// Where a layout writes a line: the box, centred on (cx, cy), its text is fitted into. A stacked
// greeting breaks where the category's greeting allows. A portrait greeting's cy of 0 stands for the
// category's own height, set by its background's flourish.
struct TextSlot {
    Line line;
    double cx, cy;
    double w, h;
    bool bStack = false;
};

struct Layout {
    std::vector<Slot> sprites;
    std::vector<TextSlot> texts;
};

// Layouts for the 1500 x 1000 landscape backgrounds, with one to four photos. Clip-art 0 is the
// large motif of a layout; the others sit on the frames' corners or in the margins. The words go
// where the sky or a calm side leaves room.
const std::vector<Layout>& LandscapeLayouts()
{
    static const std::vector<Layout> kLayouts = {
        {{Photo(560, 520, 720, 720, -3, 0), Art(1220, 790, 300, 6, 0), Art(220, 170, 200, -14, 2),
             Art(900, 900, 180, 10, 1), Art(1420, 90, 130, 12, 3)},
            {{Line::Greeting, 1210, 330, 480, 260, true}, {Line::Second, 1210, 540, 480, 100}}},
        {{Photo(430, 590, 600, 560, -6, 0), Photo(1070, 600, 600, 560, 5, 1), Art(750, 900, 230, 0, 0),
             Art(150, 880, 200, -10, 1), Art(1350, 890, 200, 8, 3), Art(1410, 110, 140, 12, 2)},
            {{Line::Greeting, 750, 170, 1060, 200}}},
        {{Photo(300, 610, 420, 420, -8, 1), Photo(1200, 610, 420, 420, 8, 1), Photo(750, 590, 520, 560, 0, 0),
             Art(750, 920, 200, 0, 0), Art(120, 130, 170, -12, 2), Art(1380, 130, 170, 12, 3),
             Art(1340, 900, 190, 8, 1)},
            {{Line::Greeting, 750, 190, 1000, 200}}},
        {{Photo(290, 270, 440, 360, -4, 0), Photo(1210, 280, 440, 360, 3, 1), Photo(290, 730, 440, 360, 3, 1),
             Photo(1210, 720, 440, 360, -3, 0), Art(750, 830, 230, 0, 0), Art(750, 80, 130, -8, 2)},
            {{Line::Greeting, 750, 400, 400, 260, true}, {Line::Second, 750, 600, 400, 90}}},
        {{Photo(750, 570, 900, 560, 0, 0), Art(180, 720, 300, -8, 0), Art(1330, 730, 260, 8, 1),
             Art(1400, 100, 140, 10, 2), Art(100, 110, 140, -10, 3)},
            {{Line::Greeting, 750, 180, 1060, 200}}},
        {{Photo(330, 330, 460, 400, -5, 0), Photo(560, 700, 460, 400, 6, 1), Art(1150, 820, 280, 5, 0),
             Art(1420, 90, 130, 12, 2), Art(110, 880, 200, -8, 1)},
            {{Line::Greeting, 1130, 330, 560, 280, true}, {Line::Second, 1130, 560, 540, 100}}},
    };
    return kLayouts;
}

// Layouts for the 1000 x 1400 portrait backgrounds, whose greeting fills the top 300 pixels.
const std::vector<Layout>& PortraitLayouts()
{
    static const TextSlot kGreeting {Line::Greeting, 500, 0, 900, 250};
    static const std::vector<Layout> kLayouts = {
        {{Photo(500, 790, 820, 820, 0, 0), Art(180, 1250, 270, -10, 0), Art(840, 1260, 280, 8, 1),
             Art(880, 400, 190, 14, 2)},
            {kGreeting}},
        {{Photo(350, 660, 560, 560, -7, 0), Photo(650, 1060, 560, 560, 6, 1), Art(830, 500, 250, 8, 0),
             Art(170, 1200, 240, -6, 1), Art(880, 1310, 150, 12, 2)},
            {kGreeting}},
        {{Photo(500, 560, 720, 460, 0, 0), Photo(270, 1030, 460, 460, -6, 1), Photo(730, 1040, 460, 460, 6, 1),
             Art(500, 1300, 210, 0, 0), Art(110, 790, 150, -10, 2), Art(890, 790, 150, 10, 3)},
            {kGreeting}},
        {{Photo(280, 560, 430, 430, -4, 0), Photo(720, 570, 430, 430, 4, 1), Photo(285, 1000, 430, 430, 3, 1),
             Photo(715, 1010, 430, 430, -3, 0), Art(500, 785, 220, 0, 0), Art(500, 1310, 190, 0, 1),
             Art(90, 1320, 130, -10, 2), Art(910, 1320, 130, 10, 3)},
            {kGreeting}},
        {{Photo(500, 680, 760, 600, 3, 0), Art(150, 1290, 200, -8, 0), Art(850, 1290, 200, 8, 1),
             Art(120, 930, 140, -12, 2)},
            {kGreeting, {Line::Second, 500, 1110, 700, 100}}},
    };
    return kLayouts;
}

// Layouts for the 1200 x 1200 square backgrounds, whose greeting fills the top 300 pixels.
const std::vector<Layout>& SquareLayouts()
{
    static const TextSlot kGreeting {Line::Greeting, 600, 165, 1000, 230};
    static const std::vector<Layout> kLayouts = {
        {{Photo(600, 700, 640, 640, -2, 0), Art(1010, 1060, 250, 8, 0), Art(190, 1070, 210, -8, 1),
             Art(1010, 420, 150, 12, 2)},
            {kGreeting}},
        {{Photo(380, 640, 470, 470, -6, 0), Photo(830, 820, 470, 470, 5, 1), Art(900, 440, 220, 8, 0),
             Art(250, 1030, 220, -6, 1)},
            {kGreeting}},
        {{Photo(260, 600, 380, 380, -5, 1), Photo(600, 620, 380, 380, 0, 0), Photo(940, 600, 380, 380, 5, 1),
             Art(120, 1080, 170, -10, 0), Art(1080, 1080, 170, 10, 1)},
            {kGreeting, {Line::Second, 600, 900, 760, 100}}},
    };
    return kLayouts;
}

// Invitations: one photo, the greeting above it and the merge fields' lines below.
const Layout& PortraitInvitation()
{
    static const Layout kLayout = {{Photo(500, 600, 560, 520, 0, 0), Art(150, 1280, 220, -8, 0),
                                       Art(850, 1280, 220, 8, 1), Art(500, 1310, 130, 0, 2)},
        {{Line::Greeting, 500, 0, 900, 250}, {Line::Name, 500, 965, 860, 120}, {Line::When, 500, 1095, 860, 90}}};
    return kLayout;
}

const Layout& SquareInvitation()
{
    static const Layout kLayout = {{Photo(600, 540, 440, 440, 0, 0), Art(170, 560, 200, -8, 0),
                                       Art(1030, 560, 200, 8, 1), Art(600, 1120, 110, 0, 2)},
        {{Line::Greeting, 600, 165, 1000, 230}, {Line::Name, 600, 860, 960, 110}, {Line::When, 600, 985, 960, 80}}};
    return kLayout;
}

// A line's words: '|' marks where a stacked greeting breaks (elsewhere it is a space).
struct Words {
    const char* szText;
    // Families in order of preference; the first installed one is used.
    const char* szFonts;
    int nSize;
    bool bBold;
    bool bItalic;
};

// A line's colours on one of the category's backgrounds.
struct Ink {
    QRgb clrText;
    QRgb clrShadow;
    int nShadow;
};

struct Invitation {
    Words title;
    Words name;
    Words when;
};

enum class Shape { Landscape, Portrait, Square };

struct Category {
    const char* szName;
    const char* szLandscape;
    const char* szPortrait;
    const char* szSquare;
    std::vector<const char*> frames;
    std::vector<const char*> cliparts;
    Words greeting;
    Words second;
    // The portrait greeting's centre, above its background's flourish.
    int nPortraitY;
    Ink landscape;
    Ink portrait;
    Ink square;
    const Invitation* pInvitation = nullptr;
};

constexpr const char* kScript = "Dancing Script,DejaVu Serif";
constexpr const char* kDisplay = "Lobster Two,Dancing Script,DejaVu Sans";
constexpr const char* kBrush = "Kaushan Script,Lobster Two,DejaVu Sans";
constexpr const char* kClassic = "EB Garamond,Liberation Serif,DejaVu Serif";

const Invitation kWeddingInvitation = {{"Save the Date", kScript, 118, true, false},
    {"{Name}", kClassic, 80, false, false}, {"{Date} \u00b7 {Place}", kClassic, 56, true, true}};
const Invitation kBirthdayInvitation = {{"You're Invited!", kDisplay, 110, false, false},
    {"{Name}'s Birthday Party", kDisplay, 66, false, false}, {"{Date} at {Place}", kClassic, 54, true, false}};

const std::vector<Category>& Categories()
{
    static const std::vector<Category> kCategories = {
        {"Christmas", "christmas_night.jpg", "christmas_red.jpg", "christmas_green.jpg",
            {"circle_wreath.png", "rect_gold.png", "ornate_baroque.png"},
            {"bell_gold.png", "christmas_tree.png", "bauble_red.png", "holly.png", "gift_red.png", "candy_cane.png",
                "bauble_blue.png", "snowflake.png"},
            {"Merry|Christmas", kScript, 118, true, false}, {"and a Happy New Year", kClassic, 64, false, true}, 175,
            {0xFFF2C45A, 0xFF0A1430, 4}, {0xFFF2C45A, 0xFF3A0508, 4}, {0xFFF2D07A, 0xFF06200E, 4}},
        {"New Year", "newyear_fireworks.jpg", "newyear_gold.jpg", "newyear_midnight.jpg",
            {"rect_gold.png", "double_silver.png", "star_gold.png"},
            {"champagne.png", "clock.png", "sparkle.png", "star_gold.png", "star_silver.png", "balloons.png"},
            {"Happy|New Year", kDisplay, 104, false, false},
            {"Wishing you a sparkling year", kClassic, 58, false, true}, 175, {0xFFF4CC66, 0xFF1A1208, 4},
            {0xFFF4CC66, 0xFF1A1208, 4}, {0xFFF4CC66, 0xFF0A0A20, 4}},
        {"Valentine's Day", "valentine_blush.jpg", "valentine_red.jpg", "valentine_pink.jpg",
            {"heart_red.png", "rounded_white.png", "scallop_pastel.png"},
            {"hearts_pair.png", "rose.png", "cupid_heart.png", "heart_red.png", "heart_pink.png"},
            {"Be My|Valentine", kScript, 112, true, false}, {"with all my love", kScript, 70, false, false}, 175,
            {0xFFB8123E, 0xFFFFFFFF, 3}, {0xFFFFF0F4, 0xFF7A0C2C, 4}, {0xFFB0123E, 0xFFFFFFFF, 3}},
        {"Halloween", "halloween_moon.jpg", "halloween_night.jpg", "halloween_pumpkin.jpg",
            {"ornate_baroque.png", "polaroid.png", "oval_gold.png"},
            {"jack_o_lantern.png", "bat.png", "ghost.png", "witch_hat.png", "pumpkin.png"},
            {"Happy|Halloween", kBrush, 96, false, false}, {"Trick or treat!", kBrush, 66, false, false}, 175,
            {0xFFF7A02A, 0xFF1A0400, 4}, {0xFFF7A02A, 0xFF1A0400, 4}, {0xFFF7A02A, 0xFF1A0400, 4}},
        {"Thanksgiving", "thanksgiving_autumn.jpg", "thanksgiving_harvest.jpg", "thanksgiving_wheat.jpg",
            {"polaroid.png", "rect_gold.png", "arch_ivory.png"},
            {"pumpkin.png", "maple_leaf.png", "acorn.png", "maple_leaf_red.png"},
            {"Give|Thanks", kBrush, 120, false, false}, {"for family, friends and food", kClassic, 58, false, true},
            175, {0xFF8A3A0A, 0xFFFFF2D6, 3}, {0xFFFFF2D6, 0xFF4A1E02, 4}, {0xFF7A3208, 0xFFFFF6E4, 3}},
        {"Mother's Day", "mothers_floral.jpg", "mothers_lilac.jpg", "mothers_peach.jpg",
            {"oval_gold.png", "scallop_pastel.png", "rounded_white.png"},
            {"tulip.png", "daisy.png", "butterfly.png", "flower_pink.png", "rose.png"},
            {"Happy|Mother's Day", kScript, 100, true, false}, {"with love from us all", kScript, 66, false, false},
            170, {0xFF7A2E86, 0xFFFFFFFF, 3}, {0xFF7A2E86, 0xFFE6D2EE, 3}, {0xFF8E2E6E, 0xFFFFF2EC, 3}},
        {"Father's Day", "fathers_navy.jpg", "fathers_plaid.jpg", "fathers_slate.jpg",
            {"double_silver.png", "rect_gold.png", "stamp.png"},
            {"tie.png", "trophy.png", "mustache.png", "star_silver.png"},
            {"Happy|Father's Day", kClassic, 76, true, false},
            {"to the best dad in the world", kClassic, 56, false, true}, 166, {0xFFE8D3A0, 0xFF050A14, 4},
            {0xFF1E3557, 0xFFC8B48C, 0}, {0xFFF0E6CC, 0xFF10161E, 4}},
        {"Easter", "easter_meadow.jpg", "easter_pastel.jpg", "easter_mint.jpg",
            {"scallop_pastel.png", "rounded_white.png", "oval_gold.png"},
            {"bunny.png", "egg_pink.png", "chick.png", "egg_blue.png", "tulip.png", "egg_yellow.png"},
            {"Happy|Easter", kDisplay, 112, false, false}, {"Spring blessings to you", kScript, 66, false, false}, 175,
            {0xFFC04CA8, 0xFFFFFFFF, 3}, {0xFFC04CA8, 0xFFFFFFFF, 3}, {0xFFB0409C, 0xFFFFFFFF, 3}},
        {"Birthday", "birthday_confetti.jpg", "birthday_party.jpg", "birthday_stripes.jpg",
            {"rounded_white.png", "polaroid.png", "star_gold.png"},
            {"cake.png", "balloons.png", "gift_blue.png", "cupcake.png", "party_hat.png", "balloon_red.png"},
            {"Happy|Birthday", kDisplay, 110, false, false}, {"Have a wonderful day!", kDisplay, 66, false, false}, 200,
            {0xFFD02672, 0xFFFFFFFF, 4}, {0xFFE0307E, 0xFFFFFFFF, 4}, {0xFFD02672, 0xFFFFFFFF, 4},
            &kBirthdayInvitation},
        {"Graduation", "graduation_navy.jpg", "graduation_gold.jpg", "graduation_laurel.jpg",
            {"rect_gold.png", "double_silver.png", "ornate_baroque.png"},
            {"grad_cap.png", "diploma.png", "trophy.png", "star_gold.png"},
            {"Congratulations", kClassic, 100, true, false}, {"So proud of you", kClassic, 66, false, true}, 175,
            {0xFFF0C060, 0xFF101828, 4}, {0xFFF0C060, 0xFF101828, 4}, {0xFFF2CC6A, 0xFF2A0610, 4}},
        {"Wedding", "wedding_ivory.jpg", "wedding_blush.jpg", "wedding_sage.jpg",
            {"arch_ivory.png", "oval_gold.png", "ornate_baroque.png"},
            {"rings.png", "dove.png", "rose.png", "heart_pink.png", "champagne.png"},
            {"Just|Married", kScript, 118, true, false}, {"Together forever", kClassic, 64, false, true}, 175,
            {0xFF9A6A1E, 0xFFFFF4E0, 3}, {0xFF9A6A1E, 0xFFFFF4E0, 3}, {0xFF7E5A1E, 0xFFFFFFFF, 3}, &kWeddingInvitation},
        {"Children", "children_sky.jpg", "children_night.jpg", "children_meadow.jpg",
            {"scallop_pastel.png", "polaroid.png", "stamp.png"},
            {"rocket.png", "duck.png", "sun.png", "balloon_yellow.png", "star_gold.png", "butterfly.png"},
            {"Sweet|Dreams", kDisplay, 108, false, false}, {"Little star, shine bright", kDisplay, 64, false, false},
            175, {0xFFFFFFFF, 0xFF1E4C8C, 4}, {0xFFFFE27A, 0xFF2A1E66, 4}, {0xFF2A6ACC, 0xFFFFFFFF, 3}},
    };
    return kCategories;
}

// Ends the generator after a message. Templates are written on several threads: ending without running
// the static destructors keeps the others from reading the destroyed tables meanwhile.
[[noreturn]] void Stop()
{
    std::fflush(stderr);
    std::_Exit(1);
}

QSize SizeOf(const std::map<QString, QSize>& pictures, const char* szName)
{
    const auto it = pictures.find(QString::fromLatin1(szName));
    if (it == pictures.end()) {
        std::fprintf(stderr, "velomira-artwork: a template names the missing picture %s\n", szName);
        Stop();
    }
    return it->second;
}

QString Attribute(const char* szName, const QString& strValue)
{
    return QStringLiteral(" %1=\"%2\"").arg(QLatin1String(szName), strValue.toHtmlEscaped());
}

QString ColourText(QRgb clr)
{
    return QStringLiteral("%1|%2|%3").arg(qRed(clr)).arg(qGreen(clr)).arg(qBlue(clr));
}

// Background pixels kept clear between a line of text and a sprite's box.
constexpr double kClearance = 4;

// A sprite's box on the background, top-down, turned as the card shows it.
QRectF TurnedBox(const QRectF& box, double dAngle)
{
    QTransform turn;
    turn.translate(box.center().x(), box.center().y());
    turn.rotate(dAngle);
    turn.translate(-box.center().x(), -box.center().y());
    return turn.mapRect(box);
}

// A line's TextObject, its size lowered until it fits its slot, centred in the slot; *pBox receives
// the measured box in background pixels (top-down).
QString TextXml(const Words& words, const Ink& ink, const TextSlot& slot, double cx, double cy, QRectF* pBox)
{
    CTextPanel text;
    text.m_strText
        = QString::fromUtf8(words.szText).replace(QLatin1Char('|'), slot.bStack ? QLatin1Char('\n') : QLatin1Char(' '));
    text.m_strFont = InstalledFamily(QString::fromUtf8(words.szFonts));
    text.m_nSize = words.nSize;
    text.m_bBold = words.bBold ? 1 : 0;
    text.m_bItalic = words.bItalic ? 1 : 0;
    text.m_nAlign = 1;
    text.m_bShadow = ink.nShadow > 0 ? 1 : 0;
    text.m_nShadowX = ink.nShadow;
    text.m_nShadowY = ink.nShadow;
    text.MeasureText();
    while (text.m_nSize > 16 && (text.m_rcLayout.Width > slot.w || text.m_rcLayout.Height > slot.h)) {
        const double dFit = std::min(slot.w / text.m_rcLayout.Width, slot.h / text.m_rcLayout.Height);
        text.m_nSize = std::max(16, std::min(text.m_nSize - 1, int(text.m_nSize * dFit)));
        text.MeasureText();
    }
    const int nLeft = int(std::lround(cx - text.m_rcLayout.Width / 2.0));
    const int nTop = int(std::lround(cy - text.m_rcLayout.Height / 2.0));
    *pBox = QRectF(nLeft, nTop, text.m_rcLayout.Width, text.m_rcLayout.Height);
    // A line break stays one in the attribute: the parser turns a literal one into a space.
    QString strXml = QStringLiteral("<TextObject");
    strXml += Attribute("strText", text.m_strText).replace(QLatin1Char('\n'), QLatin1String("&#10;"));
    strXml += Attribute("strFontName", QString::fromUtf8(words.szFonts));
    strXml += Attribute("nFontSize", QString::number(text.m_nSize));
    strXml += Attribute("strTextColor", ColourText(ink.clrText));
    strXml += Attribute("nBold", QString::number(text.m_bBold));
    strXml += Attribute("nItalic", QString::number(text.m_bItalic));
    strXml += Attribute("nUnderline", QStringLiteral("0"));
    strXml += Attribute("nStrikeout", QStringLiteral("0"));
    strXml += Attribute("nAlign", QStringLiteral("1"));
    strXml += Attribute("nShadow", QString::number(text.m_bShadow));
    strXml += Attribute("nShadowX", QString::number(ink.nShadow));
    strXml += Attribute("nShadowY", QString::number(ink.nShadow));
    strXml += Attribute("strShadowColor", ColourText(ink.clrShadow));
    strXml += Attribute("TextLeft", QString::number(nLeft));
    strXml += Attribute("TextTop", QString::number(nTop));
    strXml += QStringLiteral("/>\n");
    return strXml;
}

// One template: a category dressed in a layout on one of its backgrounds.
struct Design {
    const Category* pCategory;
    Shape shape;
    const Layout* pLayout;
    bool bMirror;
    int nRotate; // shifts the category's clip-art choice
};

const char* BackgroundOf(const Design& design)
{
    const Category& category = *design.pCategory;
    switch (design.shape) {
    case Shape::Landscape:
        return category.szLandscape;
    case Shape::Portrait:
        return category.szPortrait;
    case Shape::Square:
        break;
    }
    return category.szSquare;
}

// One template's XML. Each sprite's picture is fitted into its slot's box; PhotoFrameTop counts from
// the background's bottom edge to the bottom of the picture at its natural height. The texts follow the
// sprites, above them; a text that would cover a sprite stops the generator, so no design hides a
// photo or a picture under its words.
QString TemplateXml(const Design& design, const QString& strName, const Resources& resources)
{
    const Category& category = *design.pCategory;
    const char* szBackground = BackgroundOf(design);
    const QSize bg = SizeOf(resources.backgrounds, szBackground);
    QString strXml = QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<root>\n<PageSceneObject");
    strXml
        += Attribute("PageBgImage", QStringLiteral("bgimage/") + QLatin1String(szBackground)) + QStringLiteral(">\n");
    std::vector<QRectF> sprites;
    for (const Slot& slot : design.pLayout->sprites) {
        const char* szPicture = slot.bPhoto
            ? category.frames[size_t(slot.nPick) % category.frames.size()]
            : category.cliparts[size_t(slot.nPick + design.nRotate) % category.cliparts.size()];
        const QSize natural = SizeOf(slot.bPhoto ? resources.frames : resources.cliparts, szPicture);
        const double dScale = std::min(slot.w / natural.width(), slot.h / natural.height());
        const int w = int(std::lround(natural.width() * dScale));
        const int h = int(std::lround(natural.height() * dScale));
        const double cx = design.bMirror ? bg.width() - slot.cx : slot.cx;
        const double dAngle = design.bMirror ? -slot.dAngle : slot.dAngle;
        const int nLeft = int(std::lround(cx - w / 2.0));
        const int nTop = int(std::lround(slot.cy - h / 2.0));
        const int nAngle = (360 - int(std::lround(dAngle))) % 360;
        sprites.push_back(TurnedBox(QRectF(nLeft, nTop, w, h), dAngle));
        const QString strPath
            = (slot.bPhoto ? QStringLiteral("frame/") : QStringLiteral("clipart/")) + QLatin1String(szPicture);
        strXml += QStringLiteral("<SpriteObject");
        strXml += Attribute("nPhotoType", QString::number(slot.bPhoto ? 1 : 4));
        strXml += Attribute("strFramePath", slot.bPhoto ? strPath : QString());
        strXml += Attribute("strPhotoPath", slot.bPhoto ? QString() : strPath);
        strXml += Attribute("nPhotoAngle", QString::number(nAngle));
        strXml += Attribute("PhotoFrameLeft", QString::number(nLeft));
        strXml += Attribute("PhotoFrameTop", QString::number(bg.height() - nTop - natural.height()));
        strXml += Attribute("PhotoFrameRight", QString::number(w));
        strXml += Attribute("PhotoFrameBottom", QString::number(h));
        strXml += QStringLiteral("/>\n");
    }
    const Ink& ink = design.shape == Shape::Landscape ? category.landscape
        : design.shape == Shape::Portrait             ? category.portrait
                                                      : category.square;
    for (const TextSlot& slot : design.pLayout->texts) {
        const Invitation* pInvitation = category.pInvitation;
        const bool bInvitation = design.pLayout == &PortraitInvitation() || design.pLayout == &SquareInvitation();
        const Words* pWords = nullptr;
        switch (slot.line) {
        case Line::Greeting:
            pWords = bInvitation ? &pInvitation->title : &category.greeting;
            break;
        case Line::Second:
            pWords = &category.second;
            break;
        case Line::Name:
            pWords = &pInvitation->name;
            break;
        case Line::When:
            pWords = &pInvitation->when;
            break;
        }
        const double cx = design.bMirror ? bg.width() - slot.cx : slot.cx;
        const double cy = slot.cy > 0 ? slot.cy : category.nPortraitY;
        QRectF box;
        strXml += TextXml(*pWords, ink, slot, cx, cy, &box);
        const QRectF clear = box.adjusted(-kClearance, -kClearance, kClearance, kClearance);
        for (const QRectF& sprite : sprites) {
            if (clear.intersects(sprite)) {
                std::fprintf(stderr, "velomira-artwork: in %s the text \"%s\" covers a sprite\n", qPrintable(strName),
                    pWords->szText);
                Stop();
            }
        }
        if (!QRectF(QPointF(0, 0), QSizeF(bg)).contains(box)) {
            std::fprintf(stderr, "velomira-artwork: in %s the text \"%s\" leaves the card\n", qPrintable(strName),
                pWords->szText);
            Stop();
        }
    }
    strXml += QStringLiteral("</PageSceneObject>\n</root>\n");
    return strXml;
}

void WriteText(const QString& strPath, const QString& strText)
{
    QFile file(strPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(strText.toUtf8()) < 0) {
        std::fprintf(stderr, "velomira-artwork: cannot write %s\n", qPrintable(strPath));
        Stop();
    }
}

// The template drawn by the card renderer at thumbnail size: the empty placeholders show their
// frames alone, the greeting is written in its font.
QImage Thumbnail(const QString& strXml, const QString& strAppDir, QSize background)
{
    const QSize size = background.scaled(kThumbSide, kThumbSide, Qt::KeepAspectRatio);
    CardDocument doc;
    doc.m_szClient = size;
    CardError nError = CardError::None;
    if (!OpenCardFile(strXml, doc, &nError, strAppDir)) {
        std::fprintf(
            stderr, "velomira-artwork: %s does not load: %s\n", qPrintable(strXml), qPrintable(CardErrorText(nError)));
        Stop();
    }
    QImage thumb(size, QImage::Format_RGB32);
    thumb.fill(Qt::white);
    {
        QPainter painter(&thumb);
        Prepare(painter);
        RenderCard(painter, doc, 0, 0, size.width(), size.height());
    }
    return thumb;
}

// A picture kept small for the help pages: a JPEG of moderate quality.
void SaveSmall(const QImage& image, const QString& strPath)
{
    QImageWriter writer(strPath, "jpg");
    writer.setQuality(74);
    writer.setOptimizedWrite(true);
    if (!writer.write(image)) {
        std::fprintf(stderr, "velomira-artwork: cannot write %s\n", qPrintable(strPath));
        Stop();
    }
}

// Sample merge lists for the invitations: a header naming the fields, then one card's values a row.
void WriteSamples(const QString& strFolder)
{
    QDir().mkpath(strFolder);
    const QDir dir(strFolder);
    WriteText(dir.filePath(QStringLiteral("wedding.csv")),
        QStringLiteral("Name,Date,Place\n"
                       "Anna & Tom\u00e1\u0161,\"Saturday, 12 June 2027\",\"St Mary's Church, Oakford\"\n"
                       "Chlo\u00e9 & Malik,14 August 2027,Rosewood Barn\n"
                       "Sofia & Jonas,\"Friday, 3 September 2027\",\"The Old Mill, Brook Lane\"\n"));
    WriteText(dir.filePath(QStringLiteral("birthday.csv")),
        QStringLiteral("Name,Date,Place\n"
                       "Mia,\"Sunday, 9 May, 3 pm\",\"Our garden, 4 Elm Road\"\n"
                       "Ren\u00e9,12 June at noon,Sunny Lanes Bowling\n"
                       "Zo\u00eb,\"Saturday, 21 August\",\"The Park Caf\u00e9\"\n"));
}

// Every thumbnail in one picture, a category a row with its name in front, for reviewing the library
// at a glance.
QImage ContactSheet(const std::vector<QImage>& thumbnails, int nPerRow)
{
    constexpr int kRowHeight = 120;
    constexpr int kGap = 8;
    constexpr int kLabel = 190;
    const QStringList categories = TemplateCategories();
    const int nRows = int(categories.size());
    int nWidth = 0;
    for (int nRow = 0; nRow < nRows; ++nRow) {
        int x = kLabel;
        for (int i = 0; i < nPerRow; ++i) {
            const QImage& thumb = thumbnails[size_t(nRow * nPerRow + i)];
            x += thumb.width() * kRowHeight / thumb.height() + kGap;
        }
        nWidth = std::max(nWidth, x);
    }
    QImage sheet(nWidth, kGap + nRows * (kRowHeight + kGap), QImage::Format_RGB32);
    sheet.fill(QColor(0xF4, 0xF4, 0xF4));
    QPainter painter(&sheet);
    Prepare(painter);
    painter.setFont(SansFont(19, true));
    for (int nRow = 0; nRow < nRows; ++nRow) {
        const int y = kGap + nRow * (kRowHeight + kGap);
        painter.setPen(QColor(0x33, 0x33, 0x33));
        painter.drawText(
            QRect(kGap, y, kLabel - 2 * kGap, kRowHeight), Qt::AlignVCenter | Qt::AlignRight, categories[nRow]);
        int x = kLabel;
        for (int i = 0; i < nPerRow; ++i) {
            const QImage& thumb = thumbnails[size_t(nRow * nPerRow + i)];
            const QSize size(thumb.width() * kRowHeight / thumb.height(), kRowHeight);
            painter.drawImage(
                QRect(QPoint(x, y), size), thumb.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
            painter.setPen(QColor(0xC8, 0xC8, 0xC8));
            painter.drawRect(QRect(QPoint(x, y), size).adjusted(0, 0, -1, -1));
            x += size.width() + kGap;
        }
    }
    return sheet;
}

} // namespace

QStringList TemplateCategories()
{
    QStringList names;
    for (const Category& category : Categories())
        names << QString::fromUtf8(category.szName);
    return names;
}

void WriteLibrary(const QString& strTemplateFolder, const Resources& resources, const QString& strContactSheet)
{
    const QDir templateDir(strTemplateFolder);
    // The renderer resolves resources below the program folder, the Template folder's parent.
    QDir appDir(templateDir);
    appDir.cdUp();
    const QString strAppDir = appDir.absolutePath() + QLatin1Char('/');
    // Eight templates per category, a different choice of layouts in each category: the first four
    // alternate landscape and portrait (every other category mirrors its second pair), then a fifth
    // landscape and a third portrait in the newer layouts, then two squares. A category with
    // invitations makes its third portrait and its second square invitations.
    struct Job {
        Design design;
        QString strBase;
        QSize background;
    };
    std::vector<Job> jobs;
    int nCategory = 0;
    for (const Category& category : Categories()) {
        const QString strFolder = QStringLiteral("cards/") + QString::fromUtf8(category.szName);
        QDir().mkpath(templateDir.filePath(strFolder));
        const bool bOdd = nCategory % 2 == 1;
        const auto& landscape = LandscapeLayouts();
        const auto& portrait = PortraitLayouts();
        const auto& square = SquareLayouts();
        const auto old = [&](const std::vector<Layout>& layouts, int nTemplate) {
            return &layouts[size_t(nCategory + nTemplate) % 4];
        };
        const Design designs[] = {
            {&category, Shape::Landscape, old(landscape, 0), false, 0},
            {&category, Shape::Portrait, old(portrait, 1), false, 1},
            {&category, Shape::Landscape, old(landscape, 2), bOdd, 2},
            {&category, Shape::Portrait, old(portrait, 3), bOdd, 3},
            {&category, Shape::Landscape, &landscape[size_t(4 + nCategory % 2)], nCategory % 4 >= 2, 4},
            {&category, Shape::Portrait, category.pInvitation ? &PortraitInvitation() : &portrait[4], bOdd, 5},
            {&category, Shape::Square, &square[size_t(nCategory) % square.size()], false, 6},
            {&category, Shape::Square,
                category.pInvitation ? &SquareInvitation() : &square[size_t(nCategory + 1) % square.size()], !bOdd, 7},
        };
        int nTemplate = 0;
        for (const Design& design : designs) {
            jobs.push_back({design, templateDir.filePath(strFolder + QStringLiteral("/temp%1").arg(++nTemplate)),
                SizeOf(resources.backgrounds, BackgroundOf(design))});
        }
        ++nCategory;
    }
    // The templates are written in parallel; their thumbnails are drawn one after the other, each
    // rendering on every core itself.
    Parallel(int(jobs.size()), [&](int nJob) {
        const Job& job = jobs[size_t(nJob)];
        const QString strXml = job.strBase + QLatin1String(".xml");
        WriteText(strXml, TemplateXml(job.design, strXml, resources));
    });
    std::vector<QImage> thumbnails;
    for (const Job& job : jobs) {
        thumbnails.push_back(Thumbnail(job.strBase + QLatin1String(".xml"), strAppDir, job.background));
        Save(thumbnails.back(), job.strBase + QLatin1String(".jpg"));
    }
    WriteSamples(templateDir.filePath(QStringLiteral("samples")));
    if (!strContactSheet.isEmpty())
        SaveSmall(ContactSheet(thumbnails, 8), strContactSheet);
}

} // namespace art
