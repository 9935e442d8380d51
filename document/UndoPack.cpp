#include "document/UndoPack.h"

#include <new>
#include <unordered_map>

#include "document/Layer.h"
#include "model/shapes/CadShape.h"

MUndoNode::MUndoNode(CObject* object, int layer, int added, int position)
    : m_object(object), m_layer(layer), m_added(added ? 1 : 0), m_position(position) {}

MUndoNode::~MUndoNode() = default;

MCadShape* MUndoNode::GetShape() const {
    return m_object && m_object->IsKindOf(RUNTIME_CLASS(MCadShape)) ? static_cast<MCadShape*>(m_object)
                                                                    : nullptr;
}

MLayer* MUndoNode::GetLayer() const {
    return m_object && m_object->IsKindOf(RUNTIME_CLASS(MLayer)) ? static_cast<MLayer*>(m_object) : nullptr;
}

MFloatRect MUndoNode::GetExtent() const {
    if (const MCadShape* shape = GetShape()) return shape->GetDrawExtent();
    if (const MLayer* layer = GetLayer()) return layer->GetDrawExtent();
    return {};
}

MUndoLayerSettingsNode::MUndoLayerSettingsNode(MLayer* layer, std::string oldName, int oldFlags,
                                               std::string newName, int newFlags)
    : MUndoNode(nullptr, -1, 1, -1),
      m_target(layer),
      m_oldName(std::move(oldName)),
      m_oldFlags(oldFlags),
      m_newName(std::move(newName)),
      m_newFlags(newFlags) {}

MFloatRect MUndoLayerSettingsNode::GetExtent() const {
    return m_target ? m_target->GetDrawExtent() : MFloatRect();
}

MUndoPaperNode::MUndoPaperNode(const MPaperState& oldState, const MPaperState& newState)
    : MUndoNode(nullptr, -1, 1, -1), m_old(oldState), m_new(newState) {}

MUndoPack::~MUndoPack() {
    try {
        for (CObject* object : OwnedObjects())
            delete object;
    } catch (const std::bad_alloc&) {
        // Packs are dropped to free memory, so the index may not fit: a walk that needs none.
        for (std::size_t i = 0; i < m_nodes.size(); ++i) {
            CObject* object = m_nodes[i]->GetObject();
            bool first = object != nullptr;
            for (std::size_t j = 0; j < i && first; ++j)
                first = m_nodes[j]->GetObject() != object;
            if (first && OwnsObject(object)) delete object;
        }
    }
    for (MUndoNode* node : m_nodes)
        delete node;
}

namespace {

// Where the object is: after its last record in effect, or before its first when all are undone.
bool IsOutside(const MUndoNode* first, const MUndoNode* lastInEffect) {
    return lastInEffect ? lastInEffect->IsTakenOut() != FALSE : first->IsAdded() != FALSE;
}

}  // namespace

BOOL MUndoPack::OwnsObject(const CObject* object) const {
    if (!object) return FALSE;
    const MUndoNode* first = nullptr;
    const MUndoNode* lastInEffect = nullptr;
    for (const MUndoNode* node : m_nodes) {
        if (node->GetObject() != object) continue;
        if (!first) first = node;
        if (!node->IsUndone()) lastInEffect = node;
    }
    return first && IsOutside(first, lastInEffect);
}

std::vector<CObject*> MUndoPack::OwnedObjects() const {
    struct Records {
        const MUndoNode* first;
        const MUndoNode* lastInEffect;
    };
    std::vector<CObject*> order;
    std::unordered_map<const CObject*, Records> records;
    records.reserve(m_nodes.size());
    for (const MUndoNode* node : m_nodes) {
        CObject* object = node->GetObject();
        if (!object) continue;
        auto [it, inserted] = records.try_emplace(object, Records{node, nullptr});
        if (inserted) order.push_back(object);
        if (!node->IsUndone()) it->second.lastInEffect = node;
    }
    std::vector<CObject*> owned;
    for (CObject* object : order) {
        const Records& r = records.at(object);
        if (IsOutside(r.first, r.lastInEffect)) owned.push_back(object);
    }
    return owned;
}

void MUndoPack::RecordInsertAt(CObject* object, int layer, int position) {
    m_nodes.push_back(new MUndoNode(object, layer, 1, position));
}

void MUndoPack::RecordRemoveAt(CObject* object, int layer, int position) {
    m_nodes.push_back(new MUndoNode(object, layer, 0, position));
}

void MUndoPack::RecordInsert(CObject* object, int index) {
    RecordInsertAt(object, index, -1);
}

void MUndoPack::RecordRemove(CObject* object, int index) {
    RecordRemoveAt(object, index, -1);
}

void MUndoPack::RecordLayerSettings(MLayer* layer, const std::string& oldName, int oldFlags,
                                    const std::string& newName, int newFlags) {
    m_nodes.push_back(new MUndoLayerSettingsNode(layer, oldName, oldFlags, newName, newFlags));
}

void MUndoPack::RecordPaper(const MPaperState& oldState, const MPaperState& newState) {
    m_nodes.push_back(new MUndoPaperNode(oldState, newState));
}

MFloatRect MUndoPack::GetExtent() const {
    MFloatRect extent;
    bool first = true;
    for (auto it = m_nodes.rbegin(); it != m_nodes.rend(); ++it) {
        const MFloatRect r = (*it)->GetExtent();
        if (first) {
            extent = r;
            first = false;
        } else {
            extent.Union(r);
        }
    }
    return extent;
}
