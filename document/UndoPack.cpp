#include "document/UndoPack.h"

#include "document/Layer.h"
#include "model/shapes/CadShape.h"

MUndoNode::MUndoNode(CObject* object, int layer, int added, int position)
    : m_object(object), m_layer(layer), m_added(added ? 1 : 0), m_position(position) {}

MUndoNode::~MUndoNode() {
    if (OwnsObject()) delete m_object;
}

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

MUndoPack::~MUndoPack() {
    for (MUndoNode* node : m_nodes)
        delete node;
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
