#include "document/parts/CadParts.h"

#include <algorithm>
#include <cmath>
#include <istream>
#include <ostream>

#include "model/CadView.h"
#include "model/Dib.h"
#include "model/FillStyle.h"
#include "model/helpers/TextStream.h"
#include "model/shapes/CadShape.h"
#include "model/shapes/ShapeFactory.h"
#include "platform/ProgramState.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SelectScope.h"

IMPLEMENT_SERIAL(MCadParts, CObject, VERSIONABLE_SCHEMA | 1)

namespace {
CProgramSlot<MPartsViewProvider>& ViewProviderSlot() {
    static auto& slot = *new CProgramSlot<MPartsViewProvider>;
    return slot;
}

bool IsBlank(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
}  // namespace

MPartsViewProvider SetPartsViewProvider(MPartsViewProvider provider) {
    return ViewProviderSlot().Exchange(provider);
}

MCadView* GetPartsIconView() {
    const MPartsViewProvider provider = ViewProviderSlot().Get();
    return provider ? provider() : nullptr;
}

void RegisterPartsClasses() {
    AfxRegisterClass(RUNTIME_CLASS(MCadParts));
}

MCadParts::MCadParts() = default;

MCadParts::MCadParts(MCadView* view, const CString& name, MCadShape* shape, int keepSize,
                     double registeredScale)
    : m_name(name), m_keepSize(keepSize), m_registeredScale(registeredScale), m_shape(shape) {
    BuildIcon(view);
}

MCadParts::~MCadParts() = default;

void MCadParts::SetShape(MCadShape* shape) {
    m_shape.reset(shape);
}

void MCadParts::SetIcon(std::unique_ptr<MDib> icon) {
    m_icon = std::move(icon);
}

MCadShape* MCadParts::Instantiate(MCadView* view) const {
    if (!m_shape) return nullptr;
    MCadView fallback;
    if (!view) view = &fallback;
    // The archive round trip of Duplicate gives a copy that shares nothing with the part.
    std::unique_ptr<MCadShape> copy(m_shape->Duplicate());
    copy->Recalc(view);
    if (m_keepSize) return copy.release();
    const double factor = m_registeredScale / view->PaperScale();
    if (std::isfinite(factor) && factor > 0 && factor != 1.0) {
        std::unique_ptr<MCadShape> scaled(copy->Duplicate());
        scaled->Scale(scaled->GetCenter(), factor);
        scaled->Recalc(view);
        // A size on paper that the drawing cannot hold leaves the part at its own size.
        if (scaled->HasFiniteValues()) return scaled.release();
    }
    return copy.release();
}

void MCadParts::BuildIcon(MCadView* view) {
    MCadView fallback;
    if (!view) view = &fallback;
    std::unique_ptr<MCadShape> copy(Instantiate(view));
    if (!copy) return;
    const MFloatRect extent = copy->GetExtent();

    const double savedZoom = view->zoom;
    struct ZoomRestorer {
        MCadView* view;
        double zoom;
        ~ZoomRestorer() {
            view->zoom = zoom;
            view->RecalcScale();
        }
    } restorer{view, savedZoom};

    view->zoom = 1.0;
    view->RecalcScale();
    CRect rect = view->DocToLogicalRect(extent);
    rect.NormalizeRect();
    if (rect.Width() > kIconSize || rect.Height() > kIconSize) {
        view->zoom = 31.0 / std::max(rect.Width(), rect.Height());
        view->RecalcScale();
        rect = view->DocToLogicalRect(extent);
        rect.NormalizeRect();
    }
    rect.OffsetRect((rect.Width() - kIconSize) / 2, (rect.Height() - kIconSize) / 2);

    auto icon = std::make_unique<MDib>(kIconSize, kIconSize, 4);
    icon->SetColorEntry(0, 0x000000);
    icon->SetColorEntry(1, 0xFFFFFF);
    CDC dc;
    if (!icon->CreateSection(&dc) || !dc.CreateCompatibleDC(nullptr)) return;
    CBitmap surface;
    if (!surface.CreateFromDib(icon->GetInfo(), icon->GetBits())) return;
    {
        CSelectScope selectSurface(&dc, &surface);
        dc.FillSolidRect(0, 0, kIconSize, kIconSize, 0xFFFFFF);
        dc.SetWindowOrg(rect.left, rect.top);

        // Black on white: the copy is drawn in black with a white fill where it has one.
        if (!copy->GetFillStyle().IsNone()) copy->SetFillStyle(MFillStyle(0xFFFFFF));
        copy->SetColor(0);
        copy->ChangeTextStyle(MTextStyleChange::Color(0));
        copy->Draw(view, &dc);
    }
    dc.DeleteDC();

    // Any pixel that is not white becomes colour 0; bottom-up rows of 16 bytes, two pixels a byte.
    BYTE* bits = icon->GetBits();
    const int stride = icon->GetBitsSize() / kIconSize;
    for (int y = 0; y < kIconSize; ++y) {
        BYTE* row = bits + (kIconSize - 1 - y) * stride;
        for (int x = 0; x < kIconSize; ++x) {
            const BYTE index = (surface.GetPixel(x, y) & 0xFFFFFF) == 0xFFFFFF ? 1 : 0;
            BYTE& b = row[x / 2];
            b = (x % 2 == 0) ? static_cast<BYTE>((b & 0x0F) | (index << 4))
                             : static_cast<BYTE>((b & 0xF0) | index);
        }
    }
    m_icon = std::move(icon);
}

void MCadParts::WritePartText(std::ostream& os) const {
    os << '\t' << m_name << "\n\t" << m_keepSize << ' ' << m_registeredScale << '\n';
    if (m_shape) WriteShapeText(nullptr, os, m_shape.get());
    os << "ICON\n";
    if (m_icon) {
        m_icon->WriteText(os);
    } else {
        MDib empty;
        empty.WriteText(os);
    }
}

BOOL MCadParts::ReadPartText(std::istream& is, MIncomingShapes& incoming) {
    ReadTextString(is, m_name, TRUE);
    int keepSize = 1;
    double scale = 1.0;
    is >> keepSize >> scale;
    SkipTextLine(is);
    m_keepSize = keepSize & 1;
    m_registeredScale = scale;

    m_shape.reset(ReadShapeText(nullptr, is));
    m_icon.reset();
    if (!m_shape) return FALSE;
    // Checked before it is measured (a measure of infinite values means nothing) and after, as a
    // text's box comes from its height.
    bool admitted = incoming.Admit(*m_shape);
    if (admitted) {
        MCadView measure;
        m_shape->Recalc(&measure);
        admitted = incoming.Admit(*m_shape);
    }

    const int c = is.peek();
    // A record that lacks its ICON line is followed directly by the next section line: leave that
    // line for the section loop, or the next part would be lost.
    if (c != std::char_traits<char>::eof() && !IsBlank(c) && c != '[') {
        std::string line;
        std::getline(is, line);
        if (line == "ICON") {
            auto icon = std::make_unique<MDib>();
            if (icon->ReadText(is) && !icon->IsEmpty()) m_icon = std::move(icon);
        }
    }
    // The record is read to its end either way, so that the next one starts where it should.
    if (!admitted) {
        m_shape.reset();
        m_icon.reset();
        return FALSE;
    }
    if (!m_icon) {
        if (MCadView* view = GetPartsIconView()) {
            // The icon is drawn from the shape as it is; a failed stream must not stop that.
            BuildIcon(view);
        }
    }
    return m_icon ? TRUE : FALSE;
}

MCadParts* CloneParts(const MCadParts& part) {
    auto copy = std::make_unique<MCadParts>();
    copy->m_name = part.m_name;
    copy->m_keepSize = part.m_keepSize;
    copy->m_registeredScale = part.m_registeredScale;
    if (part.GetShape()) copy->SetShape(part.GetShape()->Duplicate());
    if (part.GetIcon()) copy->SetIcon(part.GetIcon()->Clone());
    return copy.release();
}
