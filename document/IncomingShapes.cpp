#include "document/IncomingShapes.h"

#include <vector>

#include "model/helpers/StoredText.h"
#include "model/shapes/annotation/BalloonShape.h"
#include "model/shapes/annotation/LabelShape.h"
#include "model/shapes/containers/PackShape.h"
#include "model/shapes/dimension/SizeBaseShape.h"
#include "model/shapes/text/TextShape.h"
#include "platform/Object.h"

namespace {

// A kind the user can recognise: the text form's keyword, else the class.
std::string KindOf(const MCadShape& shape) {
    const std::string keyword = shape.GetTypeName();
    if (!keyword.empty()) return keyword;
    return shape.GetRuntimeClass() ? shape.GetRuntimeClass()->m_lpszClassName : "?";
}

template <class Shape, class Get, class Set>
bool CutWith(MCadShape& shape, Get get, Set set) {
    auto* typed = dynamic_cast<Shape*>(&shape);
    if (!typed) return false;
    std::string text = (typed->*get)();
    if (!CutToStoredText(text)) return false;
    (typed->*set)(text);
    return true;
}

}  // namespace

void TakeApartPacks(MCadShape* shape, std::vector<MCadShape*>& shapes, std::vector<MCadShape*>& packs) {
    auto* pack = dynamic_cast<MPackShape*>(shape);
    if (!pack) {
        shapes.push_back(shape);
        return;
    }
    packs.push_back(pack);
    for (int i = 0; i < pack->GetShapeCount(); ++i)
        TakeApartPacks(pack->GetShapeAt(i), shapes, packs);
}

bool CutShapeTexts(MCadShape& shape) {
    bool cut = CutWith<MTextShape>(shape, &MTextShape::GetString, &MTextShape::SetString) ||
               CutWith<MLabelShape>(shape, &MLabelShape::GetString, &MLabelShape::SetString) ||
               CutWith<MBalloonShape>(shape, &MBalloonShape::GetString, &MBalloonShape::SetString) ||
               CutWith<MSizeBaseShape>(shape, &MSizeBaseShape::GetText, &MSizeBaseShape::SetText);
    if (auto* group = dynamic_cast<MGroupShape*>(&shape))
        for (int i = 0; i < group->GetShapeCount(); ++i)
            cut = CutShapeTexts(*group->GetShapeAt(i)) || cut;
    return cut;
}

bool MIncomingShapes::Admit(MCadShape& shape) {
    if (CutShapeTexts(shape)) m_textsCut = true;
    if (shape.HasFiniteValues()) return true;
    ++m_dropped[KindOf(shape)];
    return false;
}

std::unique_ptr<MPackShape> MIncomingShapes::AdmitMembers(std::unique_ptr<MCadShape> object) {
    std::vector<MCadShape*> shapes, packs;
    TakeApartPacks(object.get(), shapes, packs);
    // From here each shape has one owner: the wrappers go, the shapes are held one by one.
    object.release();
    std::vector<std::unique_ptr<MCadShape>> owned;
    owned.reserve(shapes.size());
    for (MCadShape* s : shapes)
        owned.emplace_back(s);
    for (MCadShape* p : packs)
        delete p;
    auto pack = std::make_unique<MPackShape>();
    for (std::unique_ptr<MCadShape>& s : owned)
        if (s && !Admit(*s)) s.reset();
    for (const std::unique_ptr<MCadShape>& s : owned)
        if (s) pack->AddShape(s.get());
    // The pack holds them all now; a failure before this line deleted every one.
    for (std::unique_ptr<MCadShape>& s : owned)
        s.release();
    if (pack->GetShapeCount() == 0) return nullptr;
    return pack;
}

int MIncomingShapes::DroppedCount() const {
    int n = 0;
    for (const auto& [kind, count] : m_dropped)
        n += count;
    return n;
}

std::string MIncomingShapes::LossText(const std::string& droppedHeading, const std::string& cutText) const {
    std::string text;
    if (!m_dropped.empty()) {
        text = droppedHeading;
        for (const auto& [kind, count] : m_dropped)
            text += "\n    " + kind + " " + std::to_string(count);
    }
    if (m_textsCut) text += (text.empty() ? "" : "\n\n") + cutText;
    return text;
}
