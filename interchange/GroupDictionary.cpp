#include "interchange/GroupDictionary.h"

#include "model/helpers/AsciiText.h"
#include "model/shapes/containers/GroupShape.h"

MGroupDictionary::MGroupDictionary() = default;
MGroupDictionary::~MGroupDictionary() = default;

std::string MGroupDictionary::Key(std::string_view name) {
    return AsciiUpper(name);
}

MGroupShape* MGroupDictionary::Replace(std::string_view name, std::unique_ptr<MGroupShape> group) {
    Entry& entry = m_groups[Key(name)];
    if (entry.group) m_byGroup.erase(entry.group.get());
    entry.group = std::move(group);
    entry.weight = 0;
    m_byGroup[entry.group.get()] = &entry;
    return entry.group.get();
}

MGroupShape* MGroupDictionary::Find(std::string_view name) const {
    const auto it = m_groups.find(Key(name));
    return it == m_groups.end() ? nullptr : it->second.group.get();
}

std::size_t MGroupDictionary::GetWeight(const MGroupShape* group) const {
    const auto it = m_byGroup.find(group);
    return it == m_byGroup.end() ? 0 : it->second->weight;
}

void MGroupDictionary::AddWeight(const MGroupShape* group, std::size_t weight) {
    const auto it = m_byGroup.find(group);
    if (it != m_byGroup.end()) it->second->weight += weight;
}

void MGroupDictionary::RemoveAll() {
    m_byGroup.clear();
    m_groups.clear();
}
