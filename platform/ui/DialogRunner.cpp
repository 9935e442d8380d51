#include "platform/ui/DialogRunner.h"

#include "platform/ui/CheckListBox.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Menu.h"

namespace {
DialogRunner* g_active = nullptr;

template <class T>
T* Control(CDialog& dialog, int id) {
    return dialog.GetDlgItemAs<T>(id);
}
}  // namespace

DialogScript& DialogScript::SetText(int id, std::string text) {
    m_steps.push_back([id, text](CDialog& d) {
        if (auto* combo = Control<CComboBox>(d, id))
            combo->TypeText(text);
        else if (CWnd* ctrl = d.GetDlgItem(id))
            ctrl->SetWindowText(text);
    });
    return *this;
}

DialogScript& DialogScript::SetCheck(int id, int state) {
    m_steps.push_back([id, state](CDialog& d) {
        auto* button = Control<CButton>(d, id);
        // A check box cycles through at most three states.
        for (int i = 0; button && i < 3 && button->GetCheck() != state; ++i)
            button->Click();
    });
    return *this;
}

DialogScript& DialogScript::Click(int id) {
    m_steps.push_back([id](CDialog& d) {
        if (auto* button = Control<CButton>(d, id)) {
            if (button->IsWindowEnabled()) button->Click();
        } else {
            // A command without a button (IDOK with no OK button): as the dialog's keyboard would send it.
            d.SendCommand(static_cast<UINT>(id), BN_CLICKED, nullptr);
        }
    });
    return *this;
}

DialogScript& DialogScript::Select(int id, int index) {
    m_steps.push_back([id, index](CDialog& d) {
        if (auto* combo = Control<CComboBox>(d, id))
            combo->ChooseItem(index);
        else if (auto* list = Control<CListBox>(d, id))
            list->ChooseItem(index);
        else if (auto* view = Control<CListCtrl>(d, id))
            view->ClickItem(index);
    });
    return *this;
}

DialogScript& DialogScript::SelectString(int id, std::string text) {
    m_steps.push_back([id, text](CDialog& d) {
        if (auto* combo = Control<CComboBox>(d, id))
            combo->ChooseItem(combo->FindString(-1, text));
        else if (auto* list = Control<CListBox>(d, id))
            list->ChooseItem(list->FindString(-1, text));
    });
    return *this;
}

DialogScript& DialogScript::CheckItem(int id, int index, int state) {
    m_steps.push_back([id, index, state](CDialog& d) {
        if (auto* list = Control<CCheckListBox>(d, id); list && list->GetCheck(index) != state)
            list->ClickCheck(index);
    });
    return *this;
}

DialogScript& DialogScript::Spin(int id, int steps) {
    m_steps.push_back([id, steps](CDialog& d) {
        if (auto* spin = Control<CSpinButtonCtrl>(d, id))
            for (int i = 0; i < std::abs(steps); ++i)
                spin->Step(steps > 0 ? 1 : -1);
    });
    return *this;
}

DialogScript& DialogScript::Read(int id, std::string* out) {
    m_steps.push_back([id, out](CDialog& d) { *out = d.GetDlgItemText(id); });
    return *this;
}

DialogScript& DialogScript::Do(Step step) {
    m_steps.push_back(std::move(step));
    return *this;
}

DialogScript& DialogScript::Ok() {
    return Click(1);
}
DialogScript& DialogScript::Cancel() {
    return Click(2);
}

DialogRunner::DialogRunner() : m_previous(g_active) {
    g_active = this;
}
DialogRunner::~DialogRunner() {
    g_active = m_previous;
}
DialogRunner* DialogRunner::Active() {
    return g_active;
}

void DialogRunner::Script(unsigned int id, DialogScript script) {
    m_scripts[id].push_back(std::move(script));
}
void DialogRunner::ScriptPopupMenu(UINT command) {
    m_popupChoices.push_back(command);
}

bool DialogRunner::TakeScript(unsigned int id, DialogScript& script) {
    auto it = m_scripts.find(id);
    if (it == m_scripts.end() || it->second.empty()) return false;
    script = std::move(it->second.front());
    it->second.pop_front();
    return true;
}

std::vector<unsigned int> DialogRunner::OpenedIds() const {
    std::vector<unsigned int> ids;
    for (const DialogRecord& r : m_dialogs)
        ids.push_back(r.id);
    return ids;
}

bool DialogRunner::Opened(unsigned int id) const {
    for (const DialogRecord& r : m_dialogs)
        if (r.id == id) return true;
    return false;
}

namespace {
void Snapshot(const CMenu& menu, int depth, std::vector<DialogRunner::MenuItemState>& out) {
    for (const CMenu::Item& item : menu.Items()) {
        out.push_back({item.id, item.text, item.flags, depth});
        if (item.popup) Snapshot(*item.popup, depth + 1, out);
    }
}
}  // namespace

UINT DialogRunner::ChoosePopupItem(CMenu& menu) {
    PopupRecord record;
    Snapshot(menu, 0, record.items);
    record.chosen = 0;
    if (!m_popupChoices.empty()) {
        const UINT wanted = m_popupChoices.front();
        m_popupChoices.pop_front();
        // Only an item that is there and enabled can be chosen.
        const CMenu::Item* item = menu.FindItem(wanted, MF_BYCOMMAND);
        if (wanted && item && !(item->flags & (MF_GRAYED | MF_DISABLED))) record.chosen = wanted;
    }
    m_popups.push_back(record);
    return record.chosen;
}
