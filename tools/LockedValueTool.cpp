#include "tools/LockedValueTool.h"

#include <ostream>

#include "platform/Strings.h"

bool MLockedValues::AnyLocked() const {
    for (const MLockedValue& v : values)
        if (v.lock && *v.lock) return true;
    return false;
}

void MLockedValues::Unlock() const {
    for (const MLockedValue& v : values)
        if (v.lock) *v.lock = FALSE;
}

void MLockedValues::AddFields(MNumericEntryDialog& dialog) const {
    for (const MLockedValue& v : values) {
        BOOL* use = v.checkId ? v.lock : nullptr;
        if (tickOnFocus && v.checkId)
            dialog.AddFocusField(v.editId, v.checkId, v.kind, v.value, use);
        else
            dialog.AddField(v.editId, v.checkId, v.kind, v.value, use);
    }
    for (const MLockedValue& v : values)
        if (v.limit != 0.0) dialog.RequireRange(v.editId, -v.limit, v.limit);
    for (const MLockedValue& v : values)
        if (v.positiveMessage) dialog.RequirePositive(v.editId, v.checkId, v.positiveMessage);
}

MLockedValues::Saved MLockedValues::Save() const {
    Saved saved;
    for (const MLockedValue& v : values) {
        saved.values.push_back(*v.value);
        saved.locks.push_back(v.lock ? *v.lock : FALSE);
    }
    return saved;
}

void MLockedValues::Restore(const Saved& saved) const {
    for (std::size_t i = 0; i < values.size(); ++i) {
        *values[i].value = saved.values[i];
        if (values[i].lock) *values[i].lock = saved.locks[i];
    }
}

void MLockedValues::LockUnboxed() const {
    for (const MLockedValue& v : values)
        if (v.lock && !v.checkId) *v.lock = TRUE;
}

void MLockedValues::Write(std::ostream& os) const {
    std::vector<double> numbers;
    for (const MLockedValue& v : values)
        numbers.push_back(*v.value);
    WriteSettingLine(os, numbers);
}

void MLockedValues::Read(std::istream& is) const {
    const MSettingLineReader line(is, rule);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const MLockedValue& v = values[i];
        const std::optional<double> read = line.Number(i);
        if (read && (!v.positiveMessage || *read > 0.0))
            *v.value = *read;
        else if (v.fallback)
            *v.value = *v.fallback;
    }
}

BOOL RunLockedDialog(const MLockedValues& table, MTessarayView* view, UINT templateId, BOOL* keepValues,
                     const std::function<void(MNumericEntryDialog&)>& extras,
                     const std::function<bool()>& accept) {
    const MLockedValues::Saved saved = table.Save();
    const BOOL keep = *keepValues;
    MNumericEntryDialog dialog(templateId, view, keepValues);
    table.AddFields(dialog);
    extras(dialog);
    if (dialog.DoModal() != IDOK) return FALSE;
    if (!accept()) {
        table.Restore(saved);
        *keepValues = keep;
        return FALSE;
    }
    table.LockUnboxed();
    return TRUE;
}
