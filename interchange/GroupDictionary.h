// The block definitions of a DXF read: block name to the group that holds the block's shapes. The
// dictionary owns its groups; the drawing only ever receives copies. Names compare without regard to
// case, as DXF names do.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

class MGroupShape;

class MGroupDictionary {
public:
    MGroupDictionary();
    ~MGroupDictionary();
    MGroupDictionary(const MGroupDictionary&) = delete;
    MGroupDictionary& operator=(const MGroupDictionary&) = delete;

    // Enters the group under the name and returns it; an earlier group of that name is deleted.
    MGroupShape* Replace(std::string_view name, std::unique_ptr<MGroupShape> group);
    // The group of the name, or null.
    MGroupShape* Find(std::string_view name) const;
    // How much a copy of the group's shapes weighs (see the reader's expansion limit), kept beside
    // the group as shapes are added to it.
    std::size_t GetWeight(const MGroupShape* group) const;
    void AddWeight(const MGroupShape* group, std::size_t weight);
    std::size_t GetCount() const { return m_groups.size(); }
    void RemoveAll();

private:
    struct Entry {
        std::unique_ptr<MGroupShape> group;
        std::size_t weight = 0;
    };
    static std::string Key(std::string_view name);

    std::unordered_map<std::string, Entry> m_groups;
    std::unordered_map<const MGroupShape*, Entry*> m_byGroup;
};
