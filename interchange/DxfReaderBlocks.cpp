// The reader's blocks: definitions collected as groups, and their placements (INSERT, DIMENSION).
// A block may be used before its definition (in the drawing or inside another block), so every
// placement first leaves an empty group where it belongs; once the whole file is read the drawing's
// placements are resolved, each replacing its group by a copy. A block's own placements are resolved
// when it is first placed, one level deeper: blocks the drawing never places cost nothing, and a
// chain of blocks is followed only as deep as the nesting limit.
#include <algorithm>
#include <cmath>
#include <utility>

#include "document/Layer.h"
#include "document/TessarayDoc.h"
#include "interchange/DxfBlockCopy.h"
#include "interchange/DxfReader.h"
#include "interchange/DxfReaderKeywords.h"
#include "model/shapes/ShapeFactory.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/text/MultiTextShape.h"
#include "model/shapes/text/TextShape.h"
#include "model/shapes/text/TextShapeBase.h"

namespace {

// Block states.
enum : int { kBlockHeader = 1, kBlockOutside = 2, kBlockValues = 3, kBlockEntities = 4 };
// Deeper nesting than the program keeps places nothing (a damaged file may chain blocks without
// end).
constexpr int kMaxBlockNesting = kMaxGroupNesting;
enum : int { kResolving = 1, kResolved = 2 };

// Left and right alignment change places; centred stays.
int MirroredAlignment(int alignment) {
    const int horizontal = alignment & 3;
    return (alignment & ~3) | (horizontal == 0 ? 2 : horizontal == 2 ? 0 : horizontal);
}

}  // namespace

// Where a placement's copy goes until every block is read: an empty group that holds its placement.
class MDXFReader::PlacementMark : public MGroupShape {
public:
    explicit PlacementMark(Placement placement) : m_placement(std::move(placement)) {}
    Placement& GetPlacement() { return m_placement; }

    // The shape as a placeholder, or null.
    static PlacementMark* Of(MCadShape* shape) {
        // Other shapes are told apart without a cast.
        if (!shape || shape->GetRuntimeClass() != RUNTIME_CLASS(MGroupShape)) return nullptr;
        if (static_cast<MGroupShape*>(shape)->GetShapeCount() != 0) return nullptr;
        return dynamic_cast<PlacementMark*>(shape);
    }

private:
    Placement m_placement;
};

void MDXFReader::HandleBlocks(int code, std::string_view value) {
    const std::string_view keyword = code == 0 ? DxfKeyword(value) : std::string_view();
    if (m_blockState != kBlockOutside && (keyword == "BLOCK" || keyword == "ENDSEC")) {
        // The open block's ENDBLK is missing: it ends here, and what follows is read as it would be
        // after the ENDBLK. A block without a name held nothing that could be placed.
        if (m_blockState != kBlockHeader) ++m_unendedBlocks;
        HandleBlocks(0, "ENDBLK");
    }
    switch (m_blockState) {
        case kBlockOutside:
            if (code == 0 && keyword == "BLOCK") m_blockState = kBlockHeader;
            return;
        case kBlockHeader:
            if (code == 2) {
                const std::string name = DecodeDxfPercentCodes(m_encoding.Decode(value));
                // A block of the same name replaces the earlier one, which no open block may keep
                // and whose placements go with it.
                if (MGroupShape* old = m_blocks.Find(name)) {
                    std::erase(m_openBlocks, old);
                    m_blockSkipped.erase(old);
                }
                m_openBlocks.push_back(m_blocks.Replace(name, std::make_unique<MGroupShape>()));
                m_blockState = kBlockValues;
            }
            break;
        case kBlockValues:
            if (code != 0) {
                StoreGroup(code, value);
                break;
            }
            m_blockState = kBlockEntities;
            if (!m_openBlocks.empty()) m_openBlocks.back()->SetBasePoint(m_store.points[0]);
            [[fallthrough]];
        case kBlockEntities: {
            int layer = -1;
            std::unique_ptr<MCadShape> shape = ConvertEntity(code, value, &layer);
            if (!shape) break;
            if (m_openBlocks.empty()) break;
            MGroupShape* group = m_openBlocks.back();
            if (PlacementMark* mark = PlacementMark::Of(shape.get())) mark->GetPlacement().owner = group;
            m_blocks.AddWeight(group, WeightOf(shape.get()));
            group->AddShape(shape.release());
            break;
        }
        default:
            break;
    }
    if (code == 0 && keyword == "ENDBLK") {
        if (!m_openBlocks.empty()) m_openBlocks.pop_back();
        m_blockState = kBlockOutside;
    }
}

std::unique_ptr<MCadShape> MDXFReader::PlaceBlock(bool insert) {
    const GroupStore& s = m_store;
    if (s.name.empty()) return nullptr;
    // A DIMENSION's block is drawn where it stands; an INSERT lies in its own plane.
    const Plane plane = insert ? EntityPlane() : Plane::kDrawing;
    if (plane == Plane::kTilted) {
        CountSkipped("INSERT (3D)");
        return nullptr;
    }
    // A DIMENSION's 70 and 71 are its type and text attachment.
    const int columns = insert ? std::max(s.i70, 1) : 1;
    const int rows = insert ? std::max(s.i71, 1) : 1;
    auto placeholder = std::make_unique<PlacementMark>(
        Placement{nullptr, s.name, s.points[0], s.d41, s.d42, s.a50, columns, rows, s.d44, s.d45, insert,
                  plane == Plane::kMirrored, EntityColor(), EntityLineStyle()});
    m_builtPlaceholder = placeholder.get();
    ++m_placementCount;
    return placeholder;
}

void MDXFReader::ResolvePlacements() {
    if (m_placementCount == 0) return;
    MDocShapeArray* layers = m_doc.GetLayers();
    m_layerMarks.resize(static_cast<std::size_t>(layers->GetLayerCount()));
    for (int i = 0; i < layers->GetLayerCount(); ++i)
        ReplacePlaceholders(*layers->GetLayer(i), nullptr, 0,
                            m_layerMarksKnown ? &m_layerMarks[static_cast<std::size_t>(i)] : nullptr);
    m_placementCount = 0;
    m_layerMarks = {};
    m_resolution.clear();
    m_blockReach.clear();
    m_blockNesting.clear();
}

void MDXFReader::RecordLayerMark(int layer, int index) {
    if (layer < 0 || index < 0) {
        m_layerMarksKnown = false;
        return;
    }
    const std::size_t l = static_cast<std::size_t>(layer);
    if (l >= m_layerMarks.size()) m_layerMarks.resize(l + 1);
    m_layerMarks[l].push_back(index);
}

void MDXFReader::ResolveBlock(MGroupShape* block, int depth) {
    if (depth > kMaxBlockNesting) {
        m_nestingLimited = true;
        return;
    }
    if (m_resolution[block] != 0) return;
    m_resolution[block] = kResolving;
    ReplacePlaceholders(block->GetMembers(), block, depth);
    m_resolution[block] = kResolved;
    m_blockNesting[block] = NestingOf(*block);
}

void MDXFReader::ReplacePlaceholders(MShapeArray& shapes, MGroupShape* owner, int depth,
                                     const std::vector<int>* marks) {
    // The positions are trusted only when each holds a placeholder; else every shape is looked at.
    if (marks) {
        for (int i : *marks) {
            if (i < shapes.GetSize() && PlacementMark::Of(shapes.GetAt(i))) continue;
            marks = nullptr;
            break;
        }
    }
    // A placement that places nothing leaves its placeholder, and all such go in one pass at the end.
    bool unplaced = false;
    const auto replace = [&](int i) {
        PlacementMark* mark = PlacementMark::Of(shapes.GetAt(i));
        if (!mark) return;
        std::unique_ptr<MCadShape> placed = Place(mark->GetPlacement(), depth);
        if (!placed) {
            unplaced = true;
            return;
        }
        if (owner) m_blocks.AddWeight(owner, WeightOf(placed.get()));
        shapes.SetAt(i, placed.release());
        delete mark;
    };
    if (marks) {
        for (int i : *marks)
            replace(i);
    } else {
        for (int i = 0; i < shapes.GetSize(); ++i)
            replace(i);
    }
    if (!unplaced) return;
    int kept = 0;
    for (int i = 0; i < shapes.GetSize(); ++i) {
        MCadShape* shape = shapes.GetAt(i);
        if (PlacementMark* mark = PlacementMark::Of(shape)) {
            delete mark;
            continue;
        }
        shapes.SetAt(kept++, shape);
    }
    shapes.SetSize(kept);
}

std::unique_ptr<MCadShape> MDXFReader::Place(const Placement& placement, int depth) {
    MGroupShape* block = m_blocks.Find(placement.name);
    if (!block) return nullptr;
    ResolveBlock(block, depth + 1);
    // A block still being resolved places itself (directly or through others): nothing.
    if (m_resolution[block] != kResolved) return nullptr;
    // Resolved higher up, the block may go deeper than there is room for here (an array's cells add
    // a group).
    const int cells = placement.columns == 1 && placement.rows == 1 ? 0 : 1;
    if (depth + m_blockNesting[block] + cells > kMaxBlockNesting) {
        m_nestingLimited = true;
        return nullptr;
    }
    if (block->GetShapeCount() == 0) {
        // Nothing to copy, but what its copies would have held is lost as many times.
        AddBlockLosses(
            placement.owner, *block,
            static_cast<std::uint64_t>(placement.columns) * static_cast<std::uint64_t>(placement.rows));
        return nullptr;
    }
    std::unique_ptr<MGroupShape> placed;
    if (placement.columns == 1 && placement.rows == 1) {
        placed = PlaceCopy(*block, placement, placement.point);
    } else {
        // The cells stand in the block's turned frame, one spacing apart (not scaled), and go
        // together as one group, as the one INSERT that places them.
        const MFloatPoint column = MFloatPoint(placement.columnSpacing, 0).GetRotated(placement.angle);
        const MFloatPoint row = MFloatPoint(0, placement.rowSpacing).GetRotated(placement.angle);
        auto cells = std::make_unique<MGroupShape>();
        cells->SetBasePoint(placement.point);
        // Every cell placed takes from the limit, which ends the loops; so does a cell out of range.
        bool full = false;
        for (int r = 0; r < placement.rows && !full; ++r) {
            for (int c = 0; c < placement.columns && !full; ++c) {
                const MFloatPoint point = placement.point + column * c + row * r;
                std::unique_ptr<MGroupShape> copy;
                if (std::isfinite(point.x) && std::isfinite(point.y))
                    copy = PlaceCopy(*block, placement, point);
                if (copy)
                    cells->AddShape(copy.release());
                else
                    full = true;
            }
        }
        if (cells->GetShapeCount() > 0) placed = std::move(cells);
    }
    if (!placed) return nullptr;
    if (placement.mirrored) MirrorAboutYAxis(placed.get());
    // Inside a block definition a placement that is itself "by block" passes that on.
    ResolveByBlock(placed.get(), placement.color, placement.lineStyle, placement.owner != nullptr);
    placed->SetLineWidth(0.0);
    return placed;
}

std::unique_ptr<MGroupShape> MDXFReader::PlaceCopy(const MGroupShape& block, const Placement& placement,
                                                   const MFloatPoint& point) {
    if (placement.insert) {
        // A scale or a point that would take the copy's numbers out of range (to infinities, which
        // the program's own file could not give back) leaves the copy out.
        const auto [entry, added] = m_blockReach.try_emplace(&block, 0.0);
        if (added) entry->second = ReachOf(block, block.GetCenter());
        const double scale = std::max({std::fabs(placement.sx), std::fabs(placement.sy), 1.0});
        const double reach = std::max(std::fabs(point.x), std::fabs(point.y)) + 2 * scale * entry->second;
        if (!(reach <= kMaxReach)) {
            AddKind(placement.owner ? m_blockSkipped[placement.owner] : m_skipped, "INSERT", 1);
            return nullptr;
        }
    }
    const std::size_t weight = m_blocks.GetWeight(&block);
    if (weight > m_expansionBudget || m_expanded > m_expansionBudget - weight) {
        m_expansionLimited = true;
        return nullptr;
    }
    m_expanded += weight;
    AddBlockLosses(placement.owner, block, 1);
    std::unique_ptr<MGroupShape> copy(static_cast<MGroupShape*>(block.Duplicate()));
    if (placement.insert) {
        copy->Move(point - copy->GetCenter());
        if (placement.sx != 1.0 || placement.sy != 1.0) copy->ScaleXY(point, placement.sx, placement.sy);
        if (placement.angle != 0.0) TurnPlacedCopy(*copy, point.x, point.y, placement.angle);
    }
    return copy;
}

void MDXFReader::DropPlaceholders() {
    MDocShapeArray* layers = m_doc.GetLayers();
    for (int i = 0; i < layers->GetLayerCount() && m_placementCount != 0; ++i) {
        MLayer* layer = layers->GetLayer(i);
        for (int k = layer->GetSize() - 1; k >= 0; --k) {
            MCadShape* shape = layer->GetAt(k);
            if (!PlacementMark::Of(shape)) continue;
            layer->RemoveAt(k);
            delete shape;
        }
    }
    // Those inside blocks go with the blocks.
    m_placementCount = 0;
    m_layerMarks = {};
    m_resolution.clear();
    m_blockNesting.clear();
}

void MDXFReader::MirrorAboutYAxis(MCadShape* shape) {
    if (auto* group = dynamic_cast<MGroupShape*>(shape)) {
        for (int i = 0; i < group->GetShapeCount(); ++i)
            MirrorAboutYAxis(group->GetShapeAt(i));
        if (group->HasBasePoint()) {
            const MFloatPoint b = group->GetBasePoint();
            group->SetBasePoint(MFloatPoint(-b.x, b.y));
        }
        return;
    }
    if (auto* text = dynamic_cast<MTextShapeBase*>(shape)) {
        // The text keeps reading from left to right: it turns the other way and stands on the
        // other side of its point.
        const MFloatPoint p = text->GetPoint();
        text->SetPoint(MFloatPoint(-p.x, p.y));
        text->SetAngle(-text->GetAngle());
        text->SetAlignment(MirroredAlignment(text->GetAlignment()));
        if (auto* multi = dynamic_cast<MMultiTextShape*>(shape))
            multi->SetLayoutFlags(MirroredAlignment(multi->GetLayoutFlags()));
        return;
    }
    shape->MirrorX(0.0, 0.0);
}
void MDXFReader::ResolveByBlock(MCadShape* shape, COLORREF color, int lineStyle, bool keepByBlock) {
    if (auto* group = dynamic_cast<MGroupShape*>(shape)) {
        for (int i = 0; i < group->GetShapeCount(); ++i)
            ResolveByBlock(group->GetShapeAt(i), color, lineStyle, keepByBlock);
        return;
    }
    COLORREF c = color;
    int style = lineStyle == kByBlockLineStyle ? kByBlockStyleMark : lineStyle;
    if (!keepByBlock) {
        if (c == kByBlockColor) c = 0;
        if (style == kByBlockStyleMark) style = 0;
    }
    if (shape->GetLineStyle() == kByBlockStyleMark) shape->SetLineStyle(style);
    if (shape->GetColor() == kByBlockColor) shape->SetColor(c);
    if (shape->TextStyle().color == kByBlockColor) shape->ChangeTextStyle(MTextStyleChange::Color(c));
    if (IsPlainFillOf(shape->GetFillStyle(), kByBlockColor)) shape->SetFillStyle(MFillStyle(c));
}

std::size_t MDXFReader::WeightOf(const MCadShape* shape) {
    if (const auto* group = dynamic_cast<const MGroupShape*>(shape)) {
        std::size_t weight = 8;
        for (int i = 0; i < group->GetShapeCount(); ++i)
            weight += WeightOf(group->GetShapeAt(i));
        return weight;
    }
    if (const auto* polygon = dynamic_cast<const MPolygonShape*>(shape))
        return 8 + static_cast<std::size_t>(polygon->GetPoints().GetSize());
    if (const auto* text = dynamic_cast<const MTextShape*>(shape)) {
        // A text takes far more than a point to hold and to draw, and each of its lines again.
        const std::string& string = text->GetString();
        return 16 * (1 + static_cast<std::size_t>(std::count(string.begin(), string.end(), '\n'))) +
               string.size() / 16;
    }
    return 8;
}
