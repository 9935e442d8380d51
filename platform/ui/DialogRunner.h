// Scripted user interaction for tests. While a DialogRunner exists, CDialog::DoModal shows nothing:
// it builds the dialog, runs OnInitDialog and then the script queued for that dialog id (values
// typed, boxes clicked, OK or Cancel pressed) and returns the result. A dialog without a script is
// cancelled. Popup menus (CMenu::TrackPopupMenu) likewise choose the queued command. Every dialog
// and popup is recorded.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/WinTypes.h"

class CDialog;
class CMenu;

class DialogScript {
public:
    using Step = std::function<void(CDialog&)>;

    // As the user's typing: the control's text (edits, editable combos).
    DialogScript& SetText(int id, std::string text);
    // As the user's clicks on a check box until it shows the state, or on a radio button.
    DialogScript& SetCheck(int id, int state);
    // As the user's click on a button, check box or radio button.
    DialogScript& Click(int id);
    // As the user's choice of an item of a combo box, list box or list view.
    DialogScript& Select(int id, int index);
    // As Select, of the first item beginning with the text.
    DialogScript& SelectString(int id, std::string text);
    // As the user's click on the check mark of item `index` of a check list box, when it does not
    // show the state yet.
    DialogScript& CheckItem(int id, int index, int state = 1);
    // As the user's clicks on a spin control's arrows (steps > 0: up).
    DialogScript& Spin(int id, int steps);
    // Copies the control's text at this point.
    DialogScript& Read(int id, std::string* out);
    // Anything else, with the live dialog.
    DialogScript& Do(Step step);
    DialogScript& Ok();
    DialogScript& Cancel();

    const std::vector<Step>& Steps() const { return m_steps; }

private:
    std::vector<Step> m_steps;
};

class DialogRunner {
public:
    DialogRunner();
    ~DialogRunner();
    DialogRunner(const DialogRunner&) = delete;
    DialogRunner& operator=(const DialogRunner&) = delete;

    // The runner in force, or nullptr.
    static DialogRunner* Active();

    // Queues a script for the next opening of dialog `id` (several queue in order).
    void Script(unsigned int id, DialogScript script);
    // Queues the command the next popup menu chooses (0: dismissed). Without one, a popup is
    // dismissed.
    void ScriptPopupMenu(UINT command);

    struct DialogRecord {
        unsigned int id;
        int result;
        bool scripted;
        // The script ended with the dialog still open (it was then cancelled).
        bool leftOpen;
    };
    const std::vector<DialogRecord>& Dialogs() const { return m_dialogs; }
    std::vector<unsigned int> OpenedIds() const;
    bool Opened(unsigned int id) const;

    struct MenuItemState {
        UINT id;
        std::string text;
        UINT flags;
        int depth;  // 0 for the popup's own items, 1 for those of its sub-menus, ...
    };
    struct PopupRecord {
        std::vector<MenuItemState> items;
        UINT chosen;
    };
    const std::vector<PopupRecord>& Popups() const { return m_popups; }

    // Used by CDialog::DoModal and CMenu::TrackPopupMenu.
    bool TakeScript(unsigned int id, DialogScript& script);
    void RecordDialog(const DialogRecord& record) { m_dialogs.push_back(record); }
    UINT ChoosePopupItem(CMenu& menu);

private:
    DialogRunner* m_previous;
    std::map<unsigned int, std::deque<DialogScript>> m_scripts;
    std::deque<UINT> m_popupChoices;
    std::vector<DialogRecord> m_dialogs;
    std::vector<PopupRecord> m_popups;
};
