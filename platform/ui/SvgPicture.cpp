#include "platform/ui/SvgPicture.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <unordered_map>

#include "platform/ui/Wnd.h"
#include "platform/ui/detail/PictureIcon.h"
#include "resources/ResourceFormats.h"

namespace {

QImage Render(std::string_view svg, const QSize& size) {
    QByteArray bytes(svg.data(), static_cast<qsizetype>(svg.size()));
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "svg");
    reader.setScaledSize(size);
    return reader.read();
}

}  // namespace

namespace ui_detail {

QIcon PictureIcon(UINT id) {
    static std::unordered_map<UINT, QIcon> made;
    if (const auto found = made.find(id); found != made.end()) return found->second;
    QIcon icon;
    if (const PictureTemplate* picture = FindPictureTemplate(id)) {
        QList<qreal> ratios{1.0, 2.0};
        for (const QScreen* screen : QGuiApplication::screens())
            if (!ratios.contains(screen->devicePixelRatio())) ratios.append(screen->devicePixelRatio());
        for (qreal ratio : ratios) {
            QImage image =
                Render(picture->svg, QSize(qRound(picture->width * ratio), qRound(picture->height * ratio)));
            if (image.isNull()) return made[id] = QIcon();
            image.setDevicePixelRatio(ratio);
            icon.addPixmap(QPixmap::fromImage(image));
        }
    }
    return made[id] = icon;
}

}  // namespace ui_detail

BOOL AfxSetWindowIcon(CWnd* window, std::string_view svg) {
    QWidget* widget = window ? window->GetWidget() : nullptr;
    if (!widget) return FALSE;
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128, 256}) {
        const QImage image = Render(svg, QSize(side, side));
        if (image.isNull()) return FALSE;
        icon.addPixmap(QPixmap::fromImage(image));
    }
    widget->window()->setWindowIcon(icon);
    return TRUE;
}

BOOL AfxShowPicture(CWnd* frame, std::string_view svg) {
    QWidget* widget = frame ? frame->GetWidget() : nullptr;
    if (!widget) return FALSE;
    const QSize size = widget->minimumSize().expandedTo(QSize(1, 1));
    const qreal ratio = widget->devicePixelRatioF();
    QImage image = Render(svg, size * ratio);
    if (image.isNull()) return FALSE;
    image.setDevicePixelRatio(ratio);
    auto* label = widget->findChild<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    if (!label) {
        label = new QLabel(widget);
        auto* layout = new QHBoxLayout(widget);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(label);
    }
    label->setPixmap(QPixmap::fromImage(image));
    return TRUE;
}
