// The tools with values a user fixes by numeric input (a radius, a length, a size): one table per
// tool names each value, its lock and its dialog field, and gives the constraint queries, the
// numeric dialog (MNumericEntryDialog) and the settings line (SettingLine.h).
//
//   class MCircleTool : public MLockedValueTool<MDrawTool> { ... };
//   MCircleTool::MCircleTool(int toolId) : MLockedValueTool(toolId) {
//       SetLockedValues({IDD_CIRCLE_INPUT, {{.value = &m_radius, .lock = &m_radiusFixed,
//                                            .editId = IDC_CIRCLE_RADIUS, ...}}});
//   }
//
// The tool keeps its values where they are; the table only points at them, so the steps read them
// as before. A tool with more on its dialog or in its line overrides the piece that differs.
#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <utility>
#include <vector>

#include "tools/SettingLine.h"
#include "tools/input/NumericEntryDialog.h"

class MTessarayView;

// One value a tool can fix.
struct MLockedValue {
    double* value;
    // Its lock: the value is used while it is set. Null: none.
    BOOL* lock = nullptr;
    int editId = 0;
    // The lock's box; 0: none, and OK sets the lock.
    int checkId = 0;
    MNumericEntryDialog::Kind kind = MNumericEntryDialog::kLength;
    // What a settings value that does not read gives; none: the value stays as it is.
    std::optional<double> fallback = std::nullopt;
    // Nonzero: the dialog refuses a value not above 0 with this message, and a settings value not
    // above 0 does not read.
    UINT positiveMessage = 0;
    // Nonzero: the dialog shows the value within -limit ... limit, or refuses it.
    double limit = 0.0;
};

struct MLockedValues {
    UINT dialogId = 0;
    std::vector<MLockedValue> values;
    // The boxes are ticked by focusing their edits too.
    bool tickOnFocus = false;
    MSettingRule rule = MSettingRule::kExact;

    bool AnyLocked() const;
    void Unlock() const;
    // Adds the fields and their checks to the dialog.
    void AddFields(MNumericEntryDialog& dialog) const;
    // The values taken back when a dialog's values are refused after its OK.
    struct Saved {
        std::vector<double> values;
        std::vector<BOOL> locks;
    };
    Saved Save() const;
    void Restore(const Saved& saved) const;
    // After OK: the locks without a box are set.
    void LockUnboxed() const;
    void Write(std::ostream& os) const;
    void Read(std::istream& is) const;
};

// The dialog of a table on the tool's values: Cancel changes nothing; OK takes the values when
// accept agrees, else puts them (and keepValues) back. TRUE when taken.
BOOL RunLockedDialog(const MLockedValues& table, MTessarayView* view, UINT templateId, BOOL* keepValues,
                     const std::function<void(MNumericEntryDialog&)>& extras,
                     const std::function<bool()>& accept);

template <class Base>
class MLockedValueTool : public Base {
public:
    using Base::Base;

    BOOL IsConstrained() override { return m_locked.AnyLocked(); }
    void ReleaseConstraint() override {
        Base::ReleaseConstraint();
        m_locked.Unlock();
    }
    BOOL CanNumericInput() override { return TRUE; }
    void OnNumericInput(MTessarayView* view) override { RunLockedDialog(view, m_locked.dialogId); }
    BOOL HasSettings() const override { return TRUE; }
    // One line: the values in the table's order.
    void SaveSettings(std::ostream& os) override { m_locked.Write(os); }
    void LoadSettings(std::istream& is) override { m_locked.Read(is); }

protected:
    void SetLockedValues(MLockedValues table) { m_locked = std::move(table); }
    const MLockedValues& LockedValues() const { return m_locked; }
    BOOL RunLockedDialog(MTessarayView* view, UINT templateId) {
        BOOL keep = this->KeepsValues();
        const BOOL taken = ::RunLockedDialog(
            m_locked, view, templateId, &keep,
            [this](MNumericEntryDialog& dialog) { AddDialogExtras(dialog); },
            [this] { return AcceptLockedValues(); });
        this->SetKeepValues(keep);
        return taken;
    }
    // More on the dialog than the table's fields.
    virtual void AddDialogExtras(MNumericEntryDialog&) {}
    // The values the dialog gave are in place; false puts the values before back.
    virtual bool AcceptLockedValues() { return true; }

private:
    MLockedValues m_locked;
};
