#include "model/shapes/TextReadLosses.h"

#include <cmath>

#include "model/CadView.h"
#include "model/Dib.h"
#include "model/helpers/ImportLosses.h"
#include "model/shapes/CadShape.h"
#include "model/shapes/ShapeFactory.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/text/TextShapeBase.h"

namespace {

MTextReadLosses* g_current = nullptr;

// As much as one picture may hold: a file of many large ones cannot take more memory than one.
constexpr std::size_t kPictureBudget = MDib::kMaxBitsSize;

// Below this, no text's box reaches past the range of numbers, however long the text.
constexpr double kTextMeasuredAbove = 1e250;

// Whether measuring could make a value infinite. A plain text's box follows from its own numbers
// alone, so most drawings' texts, read by the thousand, are not measured twice; a shape that
// places its text by other shapes' values is always measured.
bool NeedsMeasuring(const MCadShape& shape) {
    const auto* group = dynamic_cast<const MGroupShape*>(&shape);
    if (!shape.HasText() || (group && group->IsPlainGroup())) return false;
    const auto* text = dynamic_cast<const MTextShapeBase*>(&shape);
    if (!text) return true;
    for (double v : {text->GetPoint().x, text->GetPoint().y, text->GetTextSize(), text->GetCharWidth(),
                     text->GetBoxWidth(), text->GetBoxHeight()})
        if (!(std::fabs(v) <= kTextMeasuredAbove)) return true;
    return false;
}

}  // namespace

MTextReadLosses::Scope::Scope(MTextReadLosses& losses) : m_previous(g_current) {
    g_current = &losses;
}

MTextReadLosses::Scope::~Scope() {
    g_current = m_previous;
}

MTextReadLosses::MTextReadLosses() : m_pictureBytesLeft(kPictureBudget) {}
MTextReadLosses::~MTextReadLosses() = default;
MTextReadLosses::MTextReadLosses(MTextReadLosses&&) noexcept = default;
MTextReadLosses& MTextReadLosses::operator=(MTextReadLosses&&) noexcept = default;

MTextReadLosses* MTextReadLosses::Current() {
    return g_current;
}

bool MTextReadLosses::Admit(MCadShape& shape) {
    bool finite = shape.HasFiniteValues();
    // A text's box comes from its height: measured only once the values are finite, as a measure of
    // infinite values means nothing, and on a copy, so that what is kept is what the file holds.
    if (finite && NeedsMeasuring(shape)) {
        if (!m_measure) m_measure = std::make_unique<MCadView>();
        const std::unique_ptr<MCadShape> measured(shape.Duplicate());
        measured->Recalc(m_measure.get());
        finite = measured->HasFiniteValues();
    }
    if (!finite) DropShape(shape.GetTypeName());
    return finite;
}

void MTextReadLosses::DropShape(const std::string& keyword) {
    ++m_dropped[keyword];
}

void MTextReadLosses::PictureDamaged() {
    ++m_damagedPictures;
}

bool MTextReadLosses::PictureFits(std::size_t bytes) const {
    return bytes <= m_pictureBytesLeft;
}

void MTextReadLosses::TakePicture(std::size_t bytes) {
    m_pictureBytesLeft -= bytes < m_pictureBytesLeft ? bytes : m_pictureBytesLeft;
}

void MTextReadLosses::LeavePictureOut() {
    ++m_picturesLeftOut;
}

void MTextReadLosses::FoldedLevels(int levels) {
    if (levels > m_foldedLevels) m_foldedLevels = levels;
}

bool MTextReadLosses::LeftOut() const {
    return !m_dropped.empty() || m_damagedPictures > 0 || m_picturesLeftOut > 0 || m_textsCut;
}

std::string MTextReadLosses::GetText() const {
    MImportLosses told;
    if (m_foldedLevels > 0)
        told.Note("グループの入れ子が" + std::to_string(kMaxGroupNesting) + "段を超える部分 (" +
                  std::to_string(m_foldedLevels) + "段) は、グループを解いて読み込みました。");
    if (m_damagedPictures > 0)
        told.Note("壊れている画像 (" + std::to_string(m_damagedPictures) + "個) は読み込めませんでした。");
    if (m_picturesLeftOut > 0)
        told.Note("画像が合わせて大きすぎるため、残りの画像 (" + std::to_string(m_picturesLeftOut) +
                  "個) は読み込みませんでした。");
    if (m_textsCut) told.Note(kTextsCutNote);
    for (const auto& [keyword, count] : m_dropped)
        told.Drop(keyword, count);
    return told.GetText();
}
