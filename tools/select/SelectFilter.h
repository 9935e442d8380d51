// The select filter's dialog: one check-list item per kind of shape the factory makes; the kinds
// ticked are the ones the select tool may pick.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/CheckListBox.h"
#include "platform/ui/Dialog.h"

class MSelectTool;

class MSelectFilterDialog : public CDialog {
public:
    MSelectFilterDialog(CWnd* parent, MSelectTool* tool);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void CheckAll(int state);

    MSelectTool* m_tool;
    std::vector<int> m_checked;
    std::vector<std::string> m_names;
    std::vector<unsigned int> m_typeIds;
    CCheckListBox m_list;
};
