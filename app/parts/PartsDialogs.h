// The parts bar's dialogs: a tab's name (221), moving a tab (222) and a parts list's name and
// parts (213).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "document/parts/CadParts.h"
#include "platform/ui/Dialog.h"

class MCadPartsList;

// A name as the parts dialogs take it: blanks, tabs and line ends off both sides.
std::string TrimmedName(const std::string& text);

// Runs "ﾌﾟﾛﾊﾟﾃｨｰ" on the part's name and keep-size flag; OK stores both (TRUE). A name that is
// blank after trimming is refused with 62709 and changes nothing.
BOOL EditPartsProperties(CWnd* parent, MCadParts& part);

// "タブ名入力": a name that is not blank after trimming.
class MPartsTabNameDialog : public CDialog {
public:
    MPartsTabNameDialog(CWnd* pParent, const std::string& name);
    std::string m_name;

protected:
    void OnOK() override;
    void DoDataExchange(CDataExchange* pDX) override;
};

// "タブ移動": both boxes list the tabs' names, the "to" box also "最後" (after the last).
class MPartsTabMoveDiaog : public CDialog {
public:
    MPartsTabMoveDiaog(CWnd* pParent, std::vector<std::string> names, int selected);
    int m_from;
    // May be the number of lists: after the last.
    int m_to;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    std::vector<std::string> m_names;
};

// "パーツリスト設定": the list's name and its parts, which the dialog edits as copies; OK puts
// the copies and the name into the list (when one was given) and marks it modified.
class MPartsListNameDialog : public CDialog {
public:
    MPartsListNameDialog(CWnd* pParent, MCadPartsList* list);
    std::string m_name;
    int GetPartCount() const { return static_cast<int>(m_parts.size()); }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void FillParts(int select);
    int SelectedPart() const;
    void OnChange();
    void OnDelete();

    MCadPartsList* m_list;
    std::vector<std::unique_ptr<MCadParts>> m_parts;
};
