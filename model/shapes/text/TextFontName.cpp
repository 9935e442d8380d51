#include "model/shapes/text/TextFontName.h"

#include <memory>
#include <mutex>
#include <unordered_map>

#include "model/shapes/text/TextShapeBase.h"
#include "platform/Cp932.h"

namespace {

// The face field of a font holds 31 bytes and a terminator.
constexpr std::size_t kFaceBytes = 31;

std::string TrimBlanks(std::string_view s) {
    const char* blanks = " \t\r\n\v\f";
    const auto first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(blanks);
    // The ideographic space of the Japanese faces counts as white space as well.
    std::string t(s.substr(first, last - first + 1));
    const std::string ideographic = "\xE3\x80\x80";
    while (t.size() >= 3 && t.compare(0, 3, ideographic) == 0)
        t.erase(0, 3);
    while (t.size() >= 3 && t.compare(t.size() - 3, 3, ideographic) == 0)
        t.erase(t.size() - 3);
    return t;
}

using Entry = MTextFontName::Entry;

std::unique_ptr<Entry> MakeEntry(std::string_view name) {
    auto e = std::make_unique<Entry>();
    e->name = name;
    std::string face = TrimBlanks(name);
    if (face.empty()) face = GetDefaultTextFace();
    e->face = Cp932Cut(face, kFaceBytes);
    e->verticalFace = Cp932Cut(face, kFaceBytes - 1);
    e->verticalFace.insert(e->verticalFace.begin(), '@');
    return e;
}

// Every name once, for the whole run; never destroyed, as texts may outlive static objects.
const Entry* Intern(std::string_view name) {
    static std::mutex lock;
    static auto* names = new std::unordered_map<std::string_view, std::unique_ptr<Entry>>;
    // A drawing's texts mostly name the font the one before named.
    thread_local const Entry* last = nullptr;
    if (last && last->name == name) return last;
    std::lock_guard<std::mutex> guard(lock);
    auto it = names->find(name);
    if (it == names->end()) {
        std::unique_ptr<Entry> e = MakeEntry(name);
        const std::string_view key = e->name;
        it = names->emplace(key, std::move(e)).first;
    }
    last = it->second.get();
    return last;
}

const Entry* EmptyName() {
    static const Entry* empty = Intern({});
    return empty;
}

}  // namespace

MTextFontName::MTextFontName() : m_entry(EmptyName()) {}
MTextFontName::MTextFontName(std::string_view name) : m_entry(Intern(name)) {}
