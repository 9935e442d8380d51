#include "platform/ui/SvgPicture.h"

#include <QBuffer>
#include <QByteArray>
#include <QHBoxLayout>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QWidget>

#include "platform/ui/Wnd.h"

namespace {

QImage Render(std::string_view svg, const QSize& size) {
    QByteArray bytes(svg.data(), static_cast<qsizetype>(svg.size()));
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "svg");
    reader.setScaledSize(size);
    return reader.read();
}

}  // namespace

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
