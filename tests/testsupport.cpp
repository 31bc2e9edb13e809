#include "tests/testsupport.h"

#include <algorithm>
#include <cmath>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>

#include "platform/messages.h"
#include "session/settings.h"

namespace {

std::vector<std::pair<std::string, std::function<int()>>>& Children()
{
    static std::vector<std::pair<std::string, std::function<int()>>> children;
    return children;
}

} // namespace

TestChild::TestChild(const char* pszName, std::function<int()> fn)
{
    Children().emplace_back(pszName, std::move(fn));
}

bool IsTestChild(int argc, char** argv)
{
    return argc == 3 && std::string_view(argv[1]) == "--child";
}

int RunTestChild(char** argv)
{
    for (const auto& [strName, fn] : Children()) {
        if (strName == argv[2])
            return fn();
    }
    return 127;
}

TestFiles::TestFiles() = default;

QString TestFiles::write(const QString& strName, const QImage& image, int nQuality)
{
    const QString strPath = path(strName);
    QDir().mkpath(QFileInfo(strPath).path());
    image.save(strPath, nullptr, nQuality);
    return strPath;
}

QString TestFiles::bytes(const QString& strName, const QByteArray& data)
{
    const QString strPath = path(strName);
    QDir().mkpath(QFileInfo(strPath).path());
    QFile file(strPath);
    if (file.open(QIODevice::WriteOnly))
        file.write(data);
    return strPath;
}

QString TestFiles::solid(const QString& strName, int nWidth, int nHeight, QColor colour)
{
    QImage image(nWidth, nHeight, QImage::Format_ARGB32);
    image.fill(colour);
    return write(strName, image, 95);
}

QString TestFiles::photo(const QString& strName, int nWidth, int nHeight)
{
    QImage image(nWidth, nHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, nWidth, nHeight);
    gradient.setColorAt(0, QColor(30, 60, 200));
    gradient.setColorAt(0.5, QColor(230, 200, 40));
    gradient.setColorAt(1, QColor(200, 30, 60));
    painter.fillRect(image.rect(), gradient);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(20, 160, 60));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QRectF(nWidth * 0.1, nHeight * 0.2, nWidth * 0.3, nHeight * 0.3));
    painter.setBrush(QColor(250, 250, 250));
    painter.drawRect(QRectF(nWidth * 0.6, nHeight * 0.6, nWidth * 0.25, nHeight * 0.2));
    painter.end();
    return write(strName, image, 95);
}

bool RecordAppMessage(QEvent* pEvent, std::vector<RecordedMessage>& messages, const std::vector<int>& keep)
{
    const int nType = pEvent->type();
    if (nType < QEvent::User || nType > QEvent::MaxUser)
        return false;
    if (!keep.empty() && std::find(keep.begin(), keep.end(), nType) == keep.end())
        return false;
    const auto* pMsg = static_cast<AppMessage*>(pEvent);
    messages.push_back({pMsg->message(), pMsg->m_wParam, pMsg->m_lParam});
    return true;
}

bool MessageRecorder::event(QEvent* pEvent)
{
    return RecordAppMessage(pEvent, m_vecMessages) || QObject::event(pEvent);
}

SettingsGuard::SettingsGuard()
    : m_strExportPath(g_strExportPath)
    , m_strTemplateCategory(g_strTemplateCategory)
    , m_nTemplateNumber(g_nTemplateNumber)
    , m_nTemplateGroup(g_nTemplateGroup)
    , m_bTemplateFlag(g_bTemplateFlag)
    , m_strPhotoDir(g_strPhotoDir)
    , m_printChoices(g_printChoices)
{
}

SettingsGuard::~SettingsGuard()
{
    g_strExportPath = m_strExportPath;
    g_strTemplateCategory = m_strTemplateCategory;
    g_nTemplateNumber = m_nTemplateNumber;
    g_nTemplateGroup = m_nTemplateGroup;
    g_bTemplateFlag = m_bTemplateFlag;
    g_strPhotoDir = m_strPhotoDir;
    g_printChoices = m_printChoices;
}

double MeanAbsDiff(const QImage& a, const QImage& b)
{
    if (a.size() != b.size() || a.isNull())
        return 1e9;
    const QImage ca = a.convertToFormat(QImage::Format_ARGB32);
    const QImage cb = b.convertToFormat(QImage::Format_ARGB32);
    double dSum = 0;
    for (int y = 0; y < ca.height(); ++y) {
        const auto* pa = reinterpret_cast<const uchar*>(ca.constScanLine(y));
        const auto* pb = reinterpret_cast<const uchar*>(cb.constScanLine(y));
        for (int i = 0; i < ca.width() * 4; ++i)
            dSum += std::abs(int(pa[i]) - int(pb[i]));
    }
    return dSum / (double(ca.width()) * ca.height() * 4);
}

std::ostream& operator<<(std::ostream& out, const RectF& rc)
{
    return out << '(' << rc.X << ", " << rc.Y << ", " << rc.Width << ", " << rc.Height << ')';
}

std::ostream& operator<<(std::ostream& out, const RecordedMessage& m)
{
    return out << '{' << m.nMessage << ", " << m.wParam << ", " << m.lParam << '}';
}

std::ostream& operator<<(std::ostream& out, const QString& str)
{
    return out << str.toStdString();
}

std::ostream& operator<<(std::ostream& out, QSize size)
{
    return out << size.width() << "x" << size.height();
}

std::ostream& operator<<(std::ostream& out, QPoint pt)
{
    return out << "(" << pt.x() << "," << pt.y() << ")";
}

std::ostream& operator<<(std::ostream& out, const QRect& rc)
{
    return out << rc.size() << " at " << rc.topLeft();
}

std::string Quoted(std::string_view text)
{
    std::string out = "\"";
    for (const char ch : text) {
        if (ch == '\n')
            out += "\\n";
        else if (ch == '\r')
            out += "\\r";
        else if (ch == '\t')
            out += "\\t";
        else
            out += ch;
    }
    return out + '"';
}

QImage DetailedPicture(int w, int h, bool bAlpha)
{
    QImage image(w, h, bAlpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto* pLine = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int a = bAlpha ? (x * 7 + y * 3) % 256 : 255;
            pLine[x] = qPremultiply(qRgba((x * 5 + y) % 256, (x ^ y) % 256, (x * y / 7) % 256, a));
        }
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(30, 200, 90));
    painter.drawEllipse(QRectF(w * 0.2, h * 0.1, w * 0.5, h * 0.7));
    return image;
}
