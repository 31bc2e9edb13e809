// The template library: each category dresses a handful of layouts in its own background, frames and
// clip-art. Layouts are drawn up in background pixels, top-down; the XML gets the template format's
// bottom-up PhotoFrameTop.
#include "assets/library.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <QFile>
#include <QPainter>

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

using Layout = std::vector<Slot>;

Slot Photo(double cx, double cy, double w, double h, double dAngle, int nFrame)
{
    return {true, cx, cy, w, h, dAngle, nFrame};
}

Slot Art(double cx, double cy, double s, double dAngle, int nArt)
{
    return {false, cx, cy, s, s, dAngle, nArt};
}

// Layouts for the 1500 x 1000 landscape backgrounds, with one to four photos. Clip-art 0 is the
// large motif of a layout; the others sit on the frames' corners or in the margins.
const std::vector<Layout>& LandscapeLayouts()
{
    static const std::vector<Layout> kLayouts = {
        {Photo(600, 500, 820, 820, -3, 0), Art(1210, 520, 400, 6, 0), Art(250, 200, 220, -14, 2),
            Art(1010, 860, 200, 10, 1), Art(1350, 140, 170, 12, 3)},
        {Photo(430, 500, 640, 620, -6, 0), Photo(1070, 520, 640, 620, 5, 1), Art(750, 150, 250, 0, 0),
            Art(160, 860, 220, -10, 1), Art(1350, 880, 230, 8, 3), Art(1390, 120, 160, 12, 2)},
        {Photo(300, 540, 480, 480, -8, 1), Photo(1200, 540, 480, 480, 8, 1), Photo(750, 470, 600, 640, 0, 0),
            Art(750, 880, 250, 0, 0), Art(130, 140, 190, -12, 2), Art(1370, 140, 190, 12, 3),
            Art(1340, 880, 200, 8, 1)},
        {Photo(410, 280, 500, 420, -4, 0), Photo(1090, 290, 500, 420, 3, 1), Photo(420, 730, 500, 420, 3, 1),
            Photo(1080, 720, 500, 420, -3, 0), Art(750, 500, 270, 0, 0), Art(750, 80, 150, -8, 2),
            Art(750, 930, 150, 8, 3)},
    };
    return kLayouts;
}

// Layouts for the 1000 x 1400 portrait backgrounds, whose greeting fills the top 300 pixels.
const std::vector<Layout>& PortraitLayouts()
{
    static const std::vector<Layout> kLayouts = {
        {Photo(500, 790, 820, 820, 0, 0), Art(180, 1250, 270, -10, 0), Art(840, 1260, 280, 8, 1),
            Art(880, 400, 190, 14, 2)},
        {Photo(350, 660, 560, 560, -7, 0), Photo(650, 1060, 560, 560, 6, 1), Art(830, 500, 250, 8, 0),
            Art(170, 1200, 240, -6, 1), Art(880, 1310, 150, 12, 2)},
        {Photo(500, 560, 720, 460, 0, 0), Photo(270, 1030, 460, 460, -6, 1), Photo(730, 1040, 460, 460, 6, 1),
            Art(500, 1300, 210, 0, 0), Art(110, 790, 150, -10, 2), Art(890, 790, 150, 10, 3)},
        {Photo(280, 560, 430, 430, -4, 0), Photo(720, 570, 430, 430, 4, 1), Photo(285, 1000, 430, 430, 3, 1),
            Photo(715, 1010, 430, 430, -3, 0), Art(500, 785, 220, 0, 0), Art(500, 1310, 190, 0, 1),
            Art(90, 1320, 130, -10, 2), Art(910, 1320, 130, 10, 3)},
    };
    return kLayouts;
}

// The greeting a portrait template writes across the top of its card, as an editable text centred on
// (500, nCentreY) in background pixels.
struct Greeting {
    const char* szText;
    // Families in order of preference; the first installed one is used.
    const char* szFonts;
    int nSize;
    bool bBold;
    QRgb clrText;
    QRgb clrShadow;
    int nShadow;
    int nCentreY;
};

struct Category {
    const char* szName;
    const char* szLandscape;
    const char* szPortrait;
    std::vector<const char*> frames;
    std::vector<const char*> cliparts;
    Greeting greeting;
};

constexpr const char* kScript = "Dancing Script,Z003,cursive";
constexpr const char* kDisplay = "Lobster Two,Dancing Script,cursive";
constexpr const char* kBrush = "Kaushan Script,Lobster Two,cursive";
constexpr const char* kClassic = "EB Garamond,Liberation Serif,serif";

const std::vector<Category>& Categories()
{
    static const std::vector<Category> kCategories = {
        {"Christmas", "christmas_night.jpg", "christmas_red.jpg",
            {"circle_wreath.png", "rect_gold.png", "ornate_baroque.png"},
            {"bell_gold.png", "christmas_tree.png", "bauble_red.png", "holly.png", "gift_red.png", "candy_cane.png",
                "bauble_blue.png", "snowflake.png"},
            {"Merry Christmas", kScript, 118, true, 0xFFF2C45A, 0xFF3A0508, 4, 175}},
        {"New Year", "newyear_fireworks.jpg", "newyear_gold.jpg",
            {"rect_gold.png", "double_silver.png", "star_gold.png"},
            {"champagne.png", "clock.png", "sparkle.png", "star_gold.png", "star_silver.png", "balloons.png"},
            {"Happy New Year", kDisplay, 104, false, 0xFFF4CC66, 0xFF1A1208, 4, 175}},
        {"Valentine's Day", "valentine_blush.jpg", "valentine_red.jpg",
            {"heart_red.png", "rounded_white.png", "scallop_pastel.png"},
            {"hearts_pair.png", "rose.png", "cupid_heart.png", "heart_red.png", "heart_pink.png"},
            {"Be My Valentine", kScript, 112, true, 0xFFFFF0F4, 0xFF7A0C2C, 4, 175}},
        {"Halloween", "halloween_moon.jpg", "halloween_night.jpg",
            {"ornate_baroque.png", "polaroid.png", "oval_gold.png"},
            {"jack_o_lantern.png", "bat.png", "ghost.png", "witch_hat.png", "pumpkin.png"},
            {"Happy Halloween", kBrush, 96, false, 0xFFF7A02A, 0xFF1A0400, 4, 175}},
        {"Thanksgiving", "thanksgiving_autumn.jpg", "thanksgiving_harvest.jpg",
            {"polaroid.png", "rect_gold.png", "arch_ivory.png"},
            {"pumpkin.png", "maple_leaf.png", "acorn.png", "maple_leaf_red.png"},
            {"Give Thanks", kBrush, 120, false, 0xFFFFF2D6, 0xFF4A1E02, 4, 175}},
        {"Mother's Day", "mothers_floral.jpg", "mothers_lilac.jpg",
            {"oval_gold.png", "scallop_pastel.png", "rounded_white.png"},
            {"tulip.png", "daisy.png", "butterfly.png", "flower_pink.png", "rose.png"},
            {"Happy Mother's Day", kScript, 100, true, 0xFF7A2E86, 0xFFE6D2EE, 3, 170}},
        {"Father's Day", "fathers_navy.jpg", "fathers_plaid.jpg", {"double_silver.png", "rect_gold.png", "stamp.png"},
            {"tie.png", "trophy.png", "mustache.png", "star_silver.png"},
            {"Happy Father's Day", kClassic, 76, true, 0xFF1E3557, 0xFFC8B48C, 0, 166}},
        {"Easter", "easter_meadow.jpg", "easter_pastel.jpg",
            {"scallop_pastel.png", "rounded_white.png", "oval_gold.png"},
            {"bunny.png", "egg_pink.png", "chick.png", "egg_blue.png", "tulip.png", "egg_yellow.png"},
            {"Happy Easter", kDisplay, 112, false, 0xFFC04CA8, 0xFFFFFFFF, 3, 175}},
        {"Birthday", "birthday_confetti.jpg", "birthday_party.jpg",
            {"rounded_white.png", "polaroid.png", "star_gold.png"},
            {"cake.png", "balloons.png", "gift_blue.png", "cupcake.png", "party_hat.png", "balloon_red.png"},
            {"Happy Birthday", kDisplay, 110, false, 0xFFE0307E, 0xFFFFFFFF, 4, 200}},
        {"Graduation", "graduation_navy.jpg", "graduation_gold.jpg",
            {"rect_gold.png", "double_silver.png", "ornate_baroque.png"},
            {"grad_cap.png", "diploma.png", "trophy.png", "star_gold.png"},
            {"Congratulations", kClassic, 100, true, 0xFFF0C060, 0xFF101828, 4, 175}},
        {"Wedding", "wedding_ivory.jpg", "wedding_blush.jpg", {"arch_ivory.png", "oval_gold.png", "ornate_baroque.png"},
            {"rings.png", "dove.png", "rose.png", "heart_pink.png", "champagne.png"},
            {"Just Married", kScript, 118, true, 0xFF9A6A1E, 0xFFFFF4E0, 3, 175}},
        {"Children", "children_sky.jpg", "children_night.jpg", {"scallop_pastel.png", "polaroid.png", "stamp.png"},
            {"rocket.png", "duck.png", "sun.png", "balloon_yellow.png", "star_gold.png", "butterfly.png"},
            {"Sweet Dreams", kDisplay, 108, false, 0xFFFFE27A, 0xFF2A1E66, 4, 175}},
    };
    return kCategories;
}

QSize SizeOf(const std::map<QString, QSize>& pictures, const char* szName)
{
    const auto it = pictures.find(QString::fromLatin1(szName));
    if (it == pictures.end()) {
        std::fprintf(stderr, "velomira-artwork: a template names the missing picture %s\n", szName);
        std::exit(1);
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

// The greeting's TextObject, centred where the greeting goes by the size the loader will measure.
QString GreetingXml(const Greeting& greeting, QSize bg)
{
    CTextPanel text;
    text.m_strText = QString::fromUtf8(greeting.szText);
    text.m_strFont = InstalledFamily(QString::fromUtf8(greeting.szFonts));
    text.m_nSize = greeting.nSize;
    text.m_bBold = greeting.bBold ? 1 : 0;
    text.m_bShadow = greeting.nShadow > 0 ? 1 : 0;
    text.m_nShadowX = greeting.nShadow;
    text.m_nShadowY = greeting.nShadow;
    text.MeasureText();
    const int nLeft = int(std::lround(bg.width() / 2.0 - text.m_rcLayout.Width / 2.0));
    const int nTop = int(std::lround(greeting.nCentreY - text.m_rcLayout.Height / 2.0));
    QString strXml = QStringLiteral("<TextObject");
    strXml += Attribute("strText", text.m_strText);
    strXml += Attribute("strFontName", QString::fromUtf8(greeting.szFonts));
    strXml += Attribute("nFontSize", QString::number(greeting.nSize));
    strXml += Attribute("strTextColor", ColourText(greeting.clrText));
    strXml += Attribute("nBold", QString::number(text.m_bBold));
    strXml += Attribute("nItalic", QStringLiteral("0"));
    strXml += Attribute("nUnderline", QStringLiteral("0"));
    strXml += Attribute("nStrikeout", QStringLiteral("0"));
    strXml += Attribute("nAlign", QStringLiteral("1"));
    strXml += Attribute("nShadow", QString::number(text.m_bShadow));
    strXml += Attribute("nShadowX", QString::number(greeting.nShadow));
    strXml += Attribute("nShadowY", QString::number(greeting.nShadow));
    strXml += Attribute("strShadowColor", ColourText(greeting.clrShadow));
    strXml += Attribute("TextLeft", QString::number(nLeft));
    strXml += Attribute("TextTop", QString::number(nTop));
    strXml += QStringLiteral("/>\n");
    return strXml;
}

// One template's XML. Each sprite's picture is fitted into its slot's box; PhotoFrameTop counts from
// the background's bottom edge to the bottom of the picture at its natural height.
QString TemplateXml(const Category& category, bool bPortrait, const Layout& layout, bool bMirror, int nRotate,
    const Resources& resources)
{
    const char* szBackground = bPortrait ? category.szPortrait : category.szLandscape;
    const QSize bg = SizeOf(resources.backgrounds, szBackground);
    QString strXml = QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<root>\n<PageSceneObject");
    strXml
        += Attribute("PageBgImage", QStringLiteral("bgimage/") + QLatin1String(szBackground)) + QStringLiteral(">\n");
    for (const Slot& slot : layout) {
        const char* szPicture = slot.bPhoto
            ? category.frames[size_t(slot.nPick) % category.frames.size()]
            : category.cliparts[size_t(slot.nPick + nRotate) % category.cliparts.size()];
        const QSize natural = SizeOf(slot.bPhoto ? resources.frames : resources.cliparts, szPicture);
        const double dScale = std::min(slot.w / natural.width(), slot.h / natural.height());
        const int w = int(std::lround(natural.width() * dScale));
        const int h = int(std::lround(natural.height() * dScale));
        const double cx = bMirror ? bg.width() - slot.cx : slot.cx;
        const double dAngle = bMirror ? -slot.dAngle : slot.dAngle;
        const int nLeft = int(std::lround(cx - w / 2.0));
        const int nTop = int(std::lround(slot.cy - h / 2.0));
        const int nAngle = (360 - int(std::lround(dAngle))) % 360;
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
    if (bPortrait)
        strXml += GreetingXml(category.greeting, bg);
    strXml += QStringLiteral("</PageSceneObject>\n</root>\n");
    return strXml;
}

void WriteText(const QString& strPath, const QString& strText)
{
    QFile file(strPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(strText.toUtf8()) < 0) {
        std::fprintf(stderr, "velomira-artwork: cannot write %s\n", qPrintable(strPath));
        std::exit(1);
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
        std::exit(1);
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

} // namespace

QStringList TemplateCategories()
{
    QStringList names;
    for (const Category& category : Categories())
        names << QString::fromUtf8(category.szName);
    return names;
}

void WriteLibrary(const QString& strTemplateFolder, const Resources& resources)
{
    const QDir templateDir(strTemplateFolder);
    // The renderer resolves resources below the program folder, the Template folder's parent.
    QDir appDir(templateDir);
    appDir.cdUp();
    const QString strAppDir = appDir.absolutePath() + QLatin1Char('/');
    // Four templates per category: two landscape and two portrait layouts, a different choice in each
    // category; every other category mirrors its second pair.
    struct Job {
        const Category* pCategory;
        int nCategory;
        int nTemplate;
    };
    std::vector<Job> jobs;
    int nCategory = 0;
    for (const Category& category : Categories()) {
        QDir().mkpath(templateDir.filePath(QStringLiteral("cards/") + QString::fromUtf8(category.szName)));
        for (int i = 0; i < 4; ++i)
            jobs.push_back({&category, nCategory, i});
        ++nCategory;
    }
    // The templates are written in parallel; their thumbnails are drawn one after the other, each
    // rendering on every core itself.
    std::vector<QSize> vecBackgrounds(jobs.size());
    std::vector<QString> vecBases(jobs.size());
    Parallel(int(jobs.size()), [&](int nJob) {
        const Job& job = jobs[size_t(nJob)];
        const Category& category = *job.pCategory;
        const bool bPortrait = job.nTemplate % 2 == 1;
        const auto& layouts = bPortrait ? PortraitLayouts() : LandscapeLayouts();
        const Layout& layout = layouts[size_t(job.nCategory + job.nTemplate) % layouts.size()];
        const bool bMirror = job.nTemplate >= 2 && job.nCategory % 2 == 1;
        const QString strBase = templateDir.filePath(
            QStringLiteral("cards/%1/temp%2").arg(QString::fromUtf8(category.szName)).arg(job.nTemplate + 1));
        const QString strXml = strBase + QLatin1String(".xml");
        WriteText(strXml, TemplateXml(category, bPortrait, layout, bMirror, job.nTemplate, resources));
        vecBackgrounds[size_t(nJob)]
            = SizeOf(resources.backgrounds, bPortrait ? category.szPortrait : category.szLandscape);
        vecBases[size_t(nJob)] = strBase;
    });
    for (size_t i = 0; i < jobs.size(); ++i) {
        Save(Thumbnail(vecBases[i] + QLatin1String(".xml"), strAppDir, vecBackgrounds[i]),
            vecBases[i] + QLatin1String(".jpg"));
    }
}

} // namespace art
