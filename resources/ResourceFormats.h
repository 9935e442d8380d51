// Menus, accelerators, dialog templates and cursors as data. Each kind is authored in its own
// table file (menus.inc, accelerators.inc, dialogs.inc, cursors.inc) with the macros below, which
// expand into flat arrays that the platform's window layer reads by resource id. Texts are UTF-8
// and appear exactly as the user sees them; "&" marks a mnemonic, "\t" separates a menu item's
// shortcut text.
#pragma once

#include <cstddef>

// ----- Menus -----------------------------------------------------------------------------------
// MENU(id) opens a menu resource; POPUP(text) ... END_POPUP() nests a sub-menu; MENUITEM(id, text)
// and MENUSEPARATOR() add items; END_MENU() closes the resource.
enum class MenuOp : unsigned char { Begin, Popup, EndPopup, Item, Separator, EndMenu };

struct MenuTemplateItem {
    MenuOp op;
    unsigned int id;
    const char* text;
};

// The items of menu resource `id` after its Begin entry, or nullptr when there is none.
const MenuTemplateItem* FindMenuTemplate(unsigned int id);

// ----- Accelerators ----------------------------------------------------------------------------
// ACCEL(table, key, modifiers, command): key is a virtual-key code (a capital letter or digit as a
// character literal, or one of the kVk* codes); modifiers combine kAccelShift, kAccelControl and
// kAccelAlt.
enum : unsigned char { kAccelShift = 0x04, kAccelControl = 0x08, kAccelAlt = 0x10 };

struct AcceleratorTemplate {
    unsigned int table;
    unsigned int key;
    unsigned char modifiers;
    unsigned int command;
};

// Virtual-key codes used by tables and by the keyboard translation.
enum : unsigned int {
    kVkBack = 0x08,
    kVkTab = 0x09,
    kVkReturn = 0x0D,
    kVkShift = 0x10,
    kVkControl = 0x11,
    kVkMenu = 0x12,
    kVkPause = 0x13,
    kVkCapital = 0x14,
    kVkEscape = 0x1B,
    kVkSpace = 0x20,
    kVkPrior = 0x21,
    kVkNext = 0x22,
    kVkEnd = 0x23,
    kVkHome = 0x24,
    kVkLeft = 0x25,
    kVkUp = 0x26,
    kVkRight = 0x27,
    kVkDown = 0x28,
    kVkInsert = 0x2D,
    kVkDelete = 0x2E,
    kVkNumpad0 = 0x60,
    kVkMultiply = 0x6A,
    kVkAdd = 0x6B,
    kVkSubtract = 0x6D,
    kVkDecimal = 0x6E,
    kVkDivide = 0x6F,
    kVkF1 = 0x70,
    kVkNumLock = 0x90,
    kVkScroll = 0x91,
    kVkOemPlus = 0xBB,
    kVkOemComma = 0xBC,
    kVkOemMinus = 0xBD,
    kVkOemPeriod = 0xBE
};

// Every entry of every accelerator table; `count` receives their number.
const AcceleratorTemplate* AcceleratorTemplates(std::size_t& count);

// ----- Dialog templates ------------------------------------------------------------------------
// A dialog is a grid of rows: each control takes the next cell of the current row, ROW() starts
// the next row, SPAN(n) widens the previous control to n cells. GROUPBOX(text) ... END_GROUP()
// puts a framed grid of its own into one cell. BUTTONS() starts the button row at the bottom
// (right-aligned). Radio buttons form a group from a RADIOGROUP entry through the RADIO entries
// that follow it, until the next RADIOGROUP. A SPIN attaches to the control just before it (its
// buddy). Widths are in average characters, heights in text lines (0: the control's natural size),
// except for CUSTOM frames and owner-drawn buttons (DRAWNBUTTON), which are sized in pixels.
enum class DlgOp : unsigned char {
    Dialog,
    Row,
    Buttons,
    GroupBegin,
    GroupEnd,
    Label,
    Edit,
    Check,
    RadioFirst,
    Radio,
    Combo,
    ListBox,
    ListView,
    Spin,
    PushButton,
    DefPushButton,
    Custom,
    Span,
    Slider,
    EndDialog
};

struct DialogTemplateItem {
    DlgOp op;
    int id;
    const char* text;
    unsigned int style;
    int width;
    int height;
};

// Control ids of the standard buttons and of controls nobody addresses.
enum : int { kIdOk = 1, kIdCancel = 2, kIdStatic = -1 };

// Styles (bit values as the Windows controls define them, so tables read familiar).
enum : unsigned int {
    ES_RIGHT = 0x0002,
    ES_MULTILINE = 0x0004,
    ES_PASSWORD = 0x0020,
    ES_READONLY = 0x0800,
    ES_NUMBER = 0x2000,
    BS_AUTO3STATE = 0x0006,
    BS_BITMAP = 0x0080,
    BS_PUSHLIKE = 0x1000,
    BS_OWNERDRAW = 0x000B,
    CBS_DROPDOWN = 0x0002,
    CBS_DROPDOWNLIST = 0x0003,
    CBS_OWNERDRAWFIXED = 0x0010,
    CBS_SORT = 0x0100,
    CBS_HASSTRINGS = 0x0200,
    LBS_SORT = 0x0002,
    LBS_OWNERDRAWFIXED = 0x0010,
    // With LBS_OWNERDRAWFIXED: a check list box (a check mark before each string).
    LBS_HASSTRINGS = 0x0040,
    // Items flow down a column and on into the next (LB_SETCOLUMNWIDTH sets the columns' width).
    LBS_MULTICOLUMN = 0x0200,
    LBS_EXTENDEDSEL = 0x0800,
    LVS_SHOWSELALWAYS = 0x0008,
    LVS_SINGLESEL = 0x0004,
    LVS_NOCOLUMNHEADER = 0x4000,
    // Window styles of controls created in code.
    WS_TABSTOP = 0x00010000,
    WS_VSCROLL = 0x00200000,
    WS_VISIBLE = 0x10000000,
    WS_CHILD = 0x40000000
};

// The items of dialog template `id` starting at its Dialog entry, or nullptr when there is none.
const DialogTemplateItem* FindDialogTemplate(unsigned int id);

// ----- Cursors ---------------------------------------------------------------------------------
// CURSOR(id, width, height, hotX, hotY, pixels): pixels holds width x height characters, row by
// row: '.' transparent, 'X' black, 'o' white.
struct CursorTemplate {
    unsigned int id;
    int width;
    int height;
    int hotX;
    int hotY;
    const char* pixels;
};

// The cursor resource `id`, or nullptr when there is none.
const CursorTemplate* FindCursorTemplate(unsigned int id);

// ----- Toolbars --------------------------------------------------------------------------------
// TOOLBAR(id) opens a toolbar resource; BUTTON(command) adds a button (its picture is the picture
// of that id, its tip the text after "\n" in the string of that id), SEPARATOR() a gap;
// END_TOOLBAR() closes it. A control sits in the slot of a BUTTON of the control's id.
enum class ToolbarOp : unsigned char { Begin, Button, Separator, End };

struct ToolbarTemplateItem {
    ToolbarOp op;
    unsigned int id;
};

// The items of toolbar resource `id` after its Begin entry, up to its End entry, or nullptr when
// there is none.
const ToolbarTemplateItem* FindToolbarTemplate(unsigned int id);

// ----- Pictures --------------------------------------------------------------------------------
// PICTURE(id, width, height, svg): a picture of width x height pixels at 96 dpi as SVG text (its
// view box the same size), drawn by the platform at the target's own resolution. Buttons and
// toolbars find theirs by id (the class library's bitmap resources). The toolbar buttons' pictures
// are files of their own, icons/commands/<command id>-<name>.svg (16 x 16, black strokes), which
// the build turns into rows of this table.
struct PictureTemplate {
    unsigned int id;
    int width;
    int height;
    const char* svg;
};

// The picture resource `id`, or nullptr when there is none.
const PictureTemplate* FindPictureTemplate(unsigned int id);
