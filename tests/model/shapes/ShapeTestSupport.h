// Helpers shared by the shape tests: a view with round numbers, and the two round trips.
#pragma once

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "model/CadView.h"
#include "model/ClassRegistry.h"
#include "model/shapes/CadShape.h"
#include "model/shapes/ShapeFactory.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/lines/LineShape.h"
#include "platform/Archive.h"
#include "platform/File.h"
#include "platform/TextFile.h"

namespace shapetest {

// A view without paper (scale 1, no origin offset) at 10 logical pixels per drawing unit and per
// paper millimetre, so that DocToLogical(x, y) = (10x, -10y).
class TestView : public MCadView {
public:
    explicit TestView(double pixelsPerUnit = 10.0) {
        unitScaleX = paperScaleX = pixelsPerUnit;
        unitScaleY = paperScaleY = -pixelsPerUnit;
        unitInvX = paperInvX = 1.0 / pixelsPerUnit;
        unitInvY = paperInvY = -1.0 / pixelsPerUnit;
        pixelDiagonal = std::hypot(paperInvX, paperInvY);
    }
};

// A text-bearing shape standing in for the text classes in list and group tests.
class FakeTextShape : public MCadShape {
public:
    FakeTextShape(CString font = "A", double size = 5.0, int flags = 0, short typeId = kShapeText)
        : m_font(std::move(font)), m_size(size), m_flags(flags), m_typeId(typeId) {}
    MTextPresence GetTextStyle(MTextStyle* style) const override {
        if (style) *style = {MTextFontName(m_font), m_size, kNoColor, m_flags, m_alignment};
        return MTextPresence::kIsText;
    }
    void ChangeTextStyle(const MTextStyleChange& change) override {
        MTextStyle style = TextStyle();
        change.ApplyTo(style);
        m_font = style.fontName.Name();
        m_size = style.size;
        m_flags = style.flags;
    }
    short GetTypeId() const override { return m_typeId; }
    MStroke GetStrokeAttributes() const override { return {m_color, kLineStyleNone, -1.0}; }
    void ChangeStroke(const MStrokeChange& change) override {
        if (change.fields & kStrokeColor) m_color = change.value.color;
    }

    CString m_font;
    double m_size;
    int m_flags;
    short m_typeId;
    int m_alignment = 0;
    COLORREF m_color = 0;
};

inline void EnsureRegistered() {
    RegisterModelClasses();
}

// WriteShapeText into a string.
inline std::string ShapeText(const MCadShape& shape) {
    TextOutput out;
    WriteShapeText(nullptr, out, &shape);
    return out.str();
}

// ReadShapeText from a string.
inline std::unique_ptr<MCadShape> ReadShape(const std::string& text) {
    TextInput in(text);
    return std::unique_ptr<MCadShape>(ReadShapeText(nullptr, in));
}

// Archive bytes of one object.
inline std::vector<BYTE> StoreObject(const CObject* object) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar.WriteObject(object);
        ar.Close();
    }
    return file.Detach();
}

template <class T>
std::unique_ptr<T> LoadObject(const std::vector<BYTE>& bytes) {
    CMemFile file(bytes);
    CArchive ar(&file, CArchive::load);
    return std::unique_ptr<T>(static_cast<T*>(ar.ReadOwnedObject(T::GetThisClass())));
}

// Deepest group nesting and number of lines below a shape, without a call per level.
inline std::pair<int, int> DepthAndLines(const MCadShape* top) {
    std::vector<std::pair<const MCadShape*, int>> pending{{top, 1}};
    int deepest = 0, lines = 0;
    while (!pending.empty()) {
        auto [s, depth] = pending.back();
        pending.pop_back();
        if (const auto* group = dynamic_cast<const MGroupShape*>(s)) {
            deepest = std::max(deepest, depth);
            for (int i = 0; i < group->GetShapeCount(); ++i)
                pending.push_back({group->GetShapeAt(i), depth + 1});
        } else {
            lines += dynamic_cast<const MLineShape*>(s) != nullptr;
        }
    }
    return {deepest, lines};
}

}  // namespace shapetest
