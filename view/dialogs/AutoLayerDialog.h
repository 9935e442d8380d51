// Dialog 218 "書込ﾚｲﾔ設定": binds drawing tools to layers by name. The list view shows one row per
// tool that may be bound, the list box "指定なし" and the layer names; choosing an entry binds every
// selected row. OK writes the bindings back to the tools; Cancel writes nothing.
#pragma once

#include <memory>
#include <vector>

#include "document/AutoLayer.h"
#include "platform/ui/Dialog.h"

class MTessarayView;

class MAutoLayerDialog : public CDialog {
public:
    explicit MAutoLayerDialog(MTessarayView* view);
    ~MAutoLayerDialog() override;

    // The bindings as edited (null before the dialog has been opened).
    const MAutoLayerAssignment* GetAssignment() const { return m_assignment.get(); }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    std::vector<int> SelectedRows() const;
    void OnRowsChanged();
    void OnEntryChosen();

    MTessarayView* m_view;
    std::unique_ptr<MAutoLayerAssignment> m_assignment;
};
