// The small modal dialogs of the layer commands: copy a layer, move a layer, a layer's name and
// attributes, and which layers are shown. All but the show dialog only collect a choice; the
// command that opened them performs the change inside one undo pack.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Dialog.h"

using CString = std::string;

class CButton;
class MLayer;
class MTessarayView;

// Dialog 103 "ﾚｲﾔｰｺﾋﾟｰ": a source layer, an insertion position and the copy's name.
class MLayerCopyDialog : public CDialog {
public:
    MLayerCopyDialog(MTessarayView* view, const CString& newName);

    // After OK: the source layer, the position (the layer count for "最後") and the name.
    int m_from = -1;
    int m_to = -1;
    CString m_fromText;
    CString m_toText;
    CString m_newName;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    MTessarayView* m_view;
};

// Dialog 155 "ﾚｲﾔｰ移動": a source layer and a destination (the layer count for "最後").
class MLayerMoveDialog : public CDialog {
public:
    explicit MLayerMoveDialog(MTessarayView* view);

    int m_from = -1;
    int m_to = -1;
    CString m_fromText;
    CString m_toText;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    MTessarayView* m_view;
};

// Dialog 154 "ﾚｲﾔｰ名入力": a name and the three attributes. The name is not checked here: the
// commands trim it and refuse an empty or used one.
class MLayerNameDialog : public CDialog {
public:
    // A new layer: every attribute checked.
    MLayerNameDialog(MTessarayView* view, const CString& name);
    // An existing layer's name and attributes (a null layer: empty name, all checked).
    MLayerNameDialog(MTessarayView* view, const MLayer* layer);

    CString m_name;
    int m_visible = TRUE;
    int m_printable = TRUE;
    int m_selectable = TRUE;

    // The layer flags of the three attributes.
    int GetFlags() const;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    // "印刷" and "選択" only while "表示" is checked; their marks stay as they are.
    void EnableDependentChecks();
};

// Dialog 262 "レイヤ表示設定": one check box per layer for its visible flag. Apply and OK set the
// flags (not recorded for undo, the document stays unmodified); Cancel keeps what Apply did.
class MLayerShowDialog : public CDialog {
public:
    // The check box of layer i has the control id kFirstLayerCheck + i.
    enum : int { kFirstLayerCheck = 20000 };
    explicit MLayerShowDialog(MTessarayView* view);
    ~MLayerShowDialog() override;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    std::vector<int> ReadChecks() const;
    void ApplyChecks(const std::vector<int>& checks);

    MTessarayView* m_view;
    std::vector<std::unique_ptr<CButton>> m_checks;
};
