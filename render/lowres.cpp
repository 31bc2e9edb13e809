#include "render/lowres.h"

#include <algorithm>
#include <cmath>

#include <QFileInfo>
#include <QStringList>

#include "document/carddocument.h"
#include "document/printsize.h"
#include "platform/imageio.h"

std::vector<LowResPhoto> LowResolutionPhotos(const CardDocument& doc, QSizeF szOutputInches)
{
    std::vector<LowResPhoto> vecLow;
    const QSize szClient = doc.m_szClient;
    if (szClient.isEmpty() || !(szOutputInches.width() > 0 && szOutputInches.height() > 0))
        return vecLow;
    // Output inches per card unit, each way.
    const double dInchX = szOutputInches.width() / szClient.width();
    const double dInchY = szOutputInches.height() / szClient.height();
    for (const auto& pObject : doc.m_vecObjects) {
        const TheData& obj = *pObject;
        if (obj.m_bDeleted || obj.m_nType != OBJ_PHOTO || obj.m_strPhoto.isEmpty())
            continue;
        // Inside a frame the photo fills its own rectangle, of which the frame shows a part; without one it
        // is stretched over the object.
        const RectF& rcDrawn = obj.m_strFrame.isEmpty() ? obj.m_rcObject : obj.m_rcPhotoLocal;
        const double dWidthInches = rcDrawn.Width * dInchX;
        const double dHeightInches = rcDrawn.Height * dInchY;
        if (!(dWidthInches > 0 && dHeightInches > 0))
            continue;
        const QSize szPhoto = ReadPictureSize(obj.m_strPhoto);
        if (szPhoto.isEmpty())
            continue;
        const double dPpi = std::min(szPhoto.width() / dWidthInches, szPhoto.height() / dHeightInches);
        if (dPpi < kSharpPpi)
            vecLow.push_back({QFileInfo(obj.m_strPhoto).fileName(), int(std::floor(dPpi))});
    }
    return vecLow;
}

QSizeF PrintSizeInches(QSize szCardPixels, double dPrintWidthMm)
{
    return CardPrintSizeMm(szCardPixels, dPrintWidthMm) / kMillimetresPerInch;
}

QString LowResolutionText(const std::vector<LowResPhoto>& vecPhotos)
{
    QStringList lines;
    for (const LowResPhoto& photo : vecPhotos)
        lines.append(QStringLiteral("%1: %2 ppi").arg(photo.strName).arg(photo.nPpi));
    return lines.join(QLatin1Char('\n'));
}
