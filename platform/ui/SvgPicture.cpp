#include "platform/ui/SvgPicture.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QIconEngine>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
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

namespace {

// An icon made when it is first drawn or measured, shared by every copy: most of the 18 toolbars
// start hidden, menus are built long before they open, and a window asks for its icon when it
// shows. Everything is asked of the icon made.
class LazyIconEngine : public QIconEngine {
public:
    struct Made {
        std::function<QIcon()> make;
        std::optional<QIcon> icon;
    };
    explicit LazyIconEngine(std::shared_ptr<Made> made) : m_made(std::move(made)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().pixmap(size, 1.0, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return Icon().availableSizes(mode, state);
    }
    QIconEngine* clone() const override { return new LazyIconEngine(m_made); }
    QString key() const override { return QStringLiteral("TessarayLazyIcon"); }
    bool isNull() override { return false; }

private:
    const QIcon& Icon() {
        if (!m_made->icon) m_made->icon = m_made->make();
        return *m_made->icon;
    }

    std::shared_ptr<Made> m_made;
};

QIcon LazyIcon(std::shared_ptr<LazyIconEngine::Made> made) {
    return QIcon(new LazyIconEngine(std::move(made)));
}

// The picture of a command at 96 dpi and at the screens' pixel ratios; null when it does not render.
QIcon RenderPictureIcon(const PictureTemplate& picture) {
    QIcon icon;
    QList<qreal> ratios{1.0, 2.0};
    for (const QScreen* screen : QGuiApplication::screens())
        if (!ratios.contains(screen->devicePixelRatio())) ratios.append(screen->devicePixelRatio());
    for (qreal ratio : ratios) {
        QImage image =
            Render(picture.svg, QSize(qRound(picture.width * ratio), qRound(picture.height * ratio)));
        if (image.isNull()) return QIcon();
        image.setDevicePixelRatio(ratio);
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

}  // namespace

namespace ui_detail {

QIcon PictureIcon(UINT id) {
    // One rendering per command and run.
    static std::unordered_map<UINT, std::shared_ptr<LazyIconEngine::Made>> made;
    auto& slot = made[id];
    if (!slot) {
        const PictureTemplate* picture = FindPictureTemplate(id);
        if (!picture) return QIcon();
        slot = std::make_shared<LazyIconEngine::Made>();
        slot->make = [picture] { return RenderPictureIcon(*picture); };
    }
    return LazyIcon(slot);
}

}  // namespace ui_detail

BOOL AfxSetWindowIcon(CWnd* window, std::string_view svg) {
    QWidget* widget = window ? window->GetWidget() : nullptr;
    if (!widget) return FALSE;
    auto made = std::make_shared<LazyIconEngine::Made>();
    made->make = [svg = std::string(svg)] {
        QIcon icon;
        for (int side : {16, 24, 32, 48, 64, 128, 256}) {
            const QImage image = Render(svg, QSize(side, side));
            if (image.isNull()) return QIcon();
            icon.addPixmap(QPixmap::fromImage(image));
        }
        return icon;
    };
    widget->window()->setWindowIcon(LazyIcon(std::move(made)));
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
