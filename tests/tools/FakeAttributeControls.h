// A stand-in for the frame's attribute controls: each control shows what the test puts in its map,
// and what the tools write back is recorded. Installed for the stand-in's lifetime.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>

#include "platform/ui/CmdTarget.h"
#include "platform/ui/Controls.h"
#include "tools/input/AttributeControls.h"
#include "view/TessarayView.h"

class FakeControls : public MAttributeControls {
public:
    FakeControls() : m_previous(SetAttributeControls(this)) {}
    ~FakeControls() override { SetAttributeControls(m_previous); }

    std::optional<COLORREF> GetColor(UINT id) override { return Find(colors, id); }
    std::optional<MFillStyle> GetFill(UINT id) override { return Find(fills, id); }
    std::optional<int> GetIndex(UINT id) override { return Find(indexes, id); }
    std::optional<double> GetNumber(UINT id) override { return Find(numbers, id); }
    std::optional<std::string> GetText(UINT id) override { return Find(texts, id); }
    void SetColor(UINT id, COLORREF v) override { Write(colors, id, v); }
    void SetFill(UINT id, const MFillStyle& v) override { Write(fills, id, v); }
    void SetIndex(UINT id, int v) override { Write(indexes, id, v); }
    void SetNumber(UINT id, double v) override { Write(numbers, id, v); }
    void SetText(UINT id, const std::string& v) override { Write(texts, id, v); }
    bool HasFocus(UINT id) override { return focused.count(id) > 0; }

    std::map<UINT, COLORREF> colors;
    std::map<UINT, MFillStyle> fills;
    std::map<UINT, int> indexes;
    std::map<UINT, double> numbers;
    std::map<UINT, std::string> texts;
    std::set<UINT> focused;
    std::set<UINT> written;

private:
    template <class T>
    static std::optional<T> Find(const std::map<UINT, T>& values, UINT id) {
        const auto it = values.find(id);
        return it == values.end() ? std::nullopt : std::optional<T>(it->second);
    }
    template <class T>
    void Write(std::map<UINT, T>& values, UINT id, const T& v) {
        values[id] = v;
        written.insert(id);
    }
    MAttributeControls* m_previous;
};

// A control's notification as the frame passes it on: NM_CLICK and NM_RETURN through WM_NOTIFY,
// CBN_SELENDOK through WM_COMMAND.
inline void NotifyControl(MTessarayView& view, UINT id, int code) {
    if (code == CBN_SELENDOK) {
        view.OnCmdMsg(id, CBN_SELENDOK, nullptr, nullptr);
        return;
    }
    NMHDR header;
    header.idFrom = id;
    header.code = code;
    LRESULT result = 0;
    AFX_NOTIFY notify{&result, &header};
    view.OnCmdMsg(id, CN_NOTIFY(code), &notify, nullptr);
}
