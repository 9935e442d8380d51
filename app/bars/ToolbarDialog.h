// The "ツールバー" dialog: a check list of the frame's toolbars by title; the user ticks the bars
// to show. The frame fills in every bar's title and visibility before DoModal and reads the flags
// after OK; Cancel leaves them as they were.
#pragma once

#include <array>
#include <string>

#include "platform/ui/CheckListBox.h"
#include "platform/ui/Dialog.h"

class MToolbarDialog : public CDialog {
public:
    static constexpr int kToolbarCount = 18;
    static constexpr UINT kTemplateId = 184;
    static constexpr int kListId = 1294;

    explicit MToolbarDialog(CWnd* pParent = nullptr);

    void SetToolbar(int index, const std::string& title, int visible);
    const std::string& GetTitle(int index) const { return m_titles.at(static_cast<std::size_t>(index)); }
    int GetVisible(int index) const { return m_visible.at(static_cast<std::size_t>(index)); }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    std::array<int, kToolbarCount> m_visible{};
    std::array<std::string, kToolbarCount> m_titles;
    CCheckListBox m_list;
};
