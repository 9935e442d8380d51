// What the tools ask of the frame's attribute controls (colour buttons, line-style, width, arrow
// and font combos): the value a control shows, showing a value, and whether the user is typing in
// it. The frame implements it over its controls and installs it; tests install a fake. Without one
// installed the control notifications and write-backs do nothing.
#pragma once

#include <optional>
#include <string>

#include "model/FillStyle.h"
#include "platform/WinTypes.h"

class MAttributeControls {
public:
    virtual ~MAttributeControls() = default;

    // The value the control shows, in the kind of that control; nothing when it shows none (no
    // selection, text that is no number, a colour of -1) or when the id is no such control.
    // Colours: 262, 1269. Fills: 1270. Whole numbers (line-style word, arrow kind): 1271, 1275,
    // 1277. Numbers (width and sizes in mm, as the combo reads them): 1272, 1276, 1278, 33047.
    // Text: 33045.
    virtual std::optional<COLORREF> GetColor(UINT id) = 0;
    virtual std::optional<MFillStyle> GetFill(UINT id) = 0;
    virtual std::optional<int> GetIndex(UINT id) = 0;
    virtual std::optional<double> GetNumber(UINT id) = 0;
    virtual std::optional<std::string> GetText(UINT id) = 0;

    virtual void SetColor(UINT id, COLORREF color) = 0;
    virtual void SetFill(UINT id, const MFillStyle& fill) = 0;
    virtual void SetIndex(UINT id, int value) = 0;
    virtual void SetNumber(UINT id, double value) = 0;
    virtual void SetText(UINT id, const std::string& text) = 0;

    // The control has the keyboard focus: its value is not written back while the user types.
    virtual bool HasFocus(UINT id) = 0;
};

// The installed controls, or null.
MAttributeControls* GetAttributeControls();
// Installs the controls (null removes them); returns the ones installed before.
MAttributeControls* SetAttributeControls(MAttributeControls* controls);
