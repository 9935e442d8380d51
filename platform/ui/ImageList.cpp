#include "platform/ui/ImageList.h"

#include <QImage>
#include <QPainter>

#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/QtGdi.h"
#include "platform/ui/detail/ImageListQt.h"

CImageList::CImageList() : m_data(std::make_unique<Data>()) {}
CImageList::~CImageList() = default;

BOOL CImageList::Create(int cx, int cy, UINT /*nFlags*/, int /*nInitial*/, int /*nGrow*/) {
    if (cx <= 0 || cy <= 0) return FALSE;
    *m_data = Data{cx, cy, true, {}};
    return TRUE;
}

int CImageList::Add(const CBitmap* pbmImage, const CBitmap* pbmMask) {
    if (!m_data->created || !pbmImage || !pbmImage->GetSurface()) return -1;
    QImage image = pbmImage->GetSurface()->image.convertToFormat(QImage::Format_ARGB32);
    if (image.width() != m_data->cx || image.height() != m_data->cy)
        image = image.scaled(m_data->cx, m_data->cy, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (pbmMask && pbmMask->GetSurface()) {
        const QImage mask = pbmMask->GetSurface()->image.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < image.height() && y < mask.height(); ++y) {
            const auto* in = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
            QRgb* out = nullptr;
            for (int x = 0; x < image.width() && x < mask.width(); ++x) {
                if ((in[x] & 0xFFFFFFu) != 0xFFFFFFu) continue;
                if (!out) out = reinterpret_cast<QRgb*>(image.scanLine(y));
                out[x] = 0;
            }
        }
    }
    m_data->images.push_back(QPixmap::fromImage(image));
    return static_cast<int>(m_data->images.size()) - 1;
}

int CImageList::GetImageCount() const {
    return static_cast<int>(m_data->images.size());
}

CSize CImageList::GetImageSize() const {
    return CSize(m_data->cx, m_data->cy);
}

BOOL CImageList::DeleteImageList() {
    const bool had = m_data->created;
    *m_data = Data{};
    return had ? TRUE : FALSE;
}
