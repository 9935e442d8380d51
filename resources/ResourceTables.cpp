#include "resources/ResourceFormats.h"

#include <cstring>

#include "resources/ResourceIds.h"

namespace {

#define MENU(id) {MenuOp::Begin, id, nullptr},
#define POPUP(text) {MenuOp::Popup, 0, text},
#define END_POPUP() {MenuOp::EndPopup, 0, nullptr},
#define MENUITEM(id, text) {MenuOp::Item, id, text},
#define MENUSEPARATOR() {MenuOp::Separator, 0, nullptr},
#define END_MENU() {MenuOp::EndMenu, 0, nullptr},
const MenuTemplateItem kMenus[] = {
#include "resources/menus.inc"
    {MenuOp::EndMenu, 0, nullptr},  // keeps the table non-empty
};
#undef MENU
#undef POPUP
#undef END_POPUP
#undef MENUITEM
#undef MENUSEPARATOR
#undef END_MENU

#define ACCEL(table, key, modifiers, command) {table, key, modifiers, command},
const AcceleratorTemplate kAccelerators[] = {
#include "resources/accelerators.inc"
    {0, 0, 0, 0},  // sentinel, never matched (table 0 does not exist)
};
#undef ACCEL

#define DIALOG(id, title) {DlgOp::Dialog, id, title, 0, 0, 0},
#define ROW() {DlgOp::Row, kIdStatic, nullptr, 0, 0, 0},
#define BUTTONS() {DlgOp::Buttons, kIdStatic, nullptr, 0, 0, 0},
#define GROUPBOX(text) {DlgOp::GroupBegin, kIdStatic, text, 0, 0, 0},
#define END_GROUP() {DlgOp::GroupEnd, kIdStatic, nullptr, 0, 0, 0},
#define LTEXT(text) {DlgOp::Label, kIdStatic, text, 0, 0, 0},
#define LTEXT_ID(id, text) {DlgOp::Label, id, text, 0, 0, 0},
#define EDIT(id, width) {DlgOp::Edit, id, nullptr, 0, width, 0},
#define EDITX(id, width, style) {DlgOp::Edit, id, nullptr, style, width, 0},
#define CHECKBOX(id, text) {DlgOp::Check, id, text, 0, 0, 0},
#define CHECKBOXX(id, text, style) {DlgOp::Check, id, text, style, 0, 0},
#define RADIOGROUP(id, text) {DlgOp::RadioFirst, id, text, 0, 0, 0},
#define RADIO(id, text) {DlgOp::Radio, id, text, 0, 0, 0},
#define COMBO(id, width, style, items) {DlgOp::Combo, id, items, style, width, 0},
#define LISTBOX(id, width, lines, style) {DlgOp::ListBox, id, nullptr, style, width, lines},
#define LISTVIEW(id, width, lines, style) {DlgOp::ListView, id, nullptr, style, width, lines},
#define SPIN(id) {DlgOp::Spin, id, nullptr, 0, 0, 0},
#define PUSHBUTTON(id, text) {DlgOp::PushButton, id, text, 0, 0, 0},
#define DEFPUSHBUTTON(id, text) {DlgOp::DefPushButton, id, text, 0, 0, 0},
#define CUSTOM(id, widthPx, heightPx) {DlgOp::Custom, id, nullptr, 0, widthPx, heightPx},
#define DRAWNBUTTON(id, widthPx, heightPx) {DlgOp::PushButton, id, "", BS_OWNERDRAW, widthPx, heightPx},
#define SLIDER(id, width) {DlgOp::Slider, id, nullptr, 0, width, 0},
#define SPAN(n) {DlgOp::Span, kIdStatic, nullptr, 0, n, 0},
#define END_DIALOG() {DlgOp::EndDialog, kIdStatic, nullptr, 0, 0, 0},
const DialogTemplateItem kDialogs[] = {
#include "resources/dialogs.inc"
    {DlgOp::EndDialog, kIdStatic, nullptr, 0, 0, 0},  // keeps the table non-empty
};
#undef DIALOG
#undef ROW
#undef BUTTONS
#undef GROUPBOX
#undef END_GROUP
#undef LTEXT
#undef LTEXT_ID
#undef EDIT
#undef EDITX
#undef CHECKBOX
#undef CHECKBOXX
#undef RADIOGROUP
#undef RADIO
#undef COMBO
#undef LISTBOX
#undef LISTVIEW
#undef SPIN
#undef PUSHBUTTON
#undef DEFPUSHBUTTON
#undef CUSTOM
#undef DRAWNBUTTON
#undef SLIDER
#undef SPAN
#undef END_DIALOG

#define CURSOR(id, width, height, hotX, hotY, pixels) {id, width, height, hotX, hotY, pixels},
const CursorTemplate kCursors[] = {
#include "resources/cursors.inc"
    {0, 0, 0, 0, 0, nullptr},  // sentinel
};
#undef CURSOR

#define PICTURE(id, width, height, svg) {id, width, height, svg},
const PictureTemplate kPictures[] = {
#include "resources/pictures.inc"
// Generated from resources/icons/commands.
#include "resources/command_pictures.inc"
    {0, 0, 0, nullptr},  // sentinel
};
#undef PICTURE

#define TOOLBAR(id) {ToolbarOp::Begin, id},
#define BUTTON(id) {ToolbarOp::Button, id},
#define SEPARATOR() {ToolbarOp::Separator, 0},
#define END_TOOLBAR() {ToolbarOp::End, 0},
const ToolbarTemplateItem kToolbars[] = {
#include "resources/toolbars.inc"
    {ToolbarOp::End, 0},  // keeps the table non-empty
};
#undef TOOLBAR
#undef BUTTON
#undef SEPARATOR
#undef END_TOOLBAR

}  // namespace

const MenuTemplateItem* FindMenuTemplate(unsigned int id) {
    for (const MenuTemplateItem& item : kMenus)
        if (item.op == MenuOp::Begin && item.id == id) return &item + 1;
    return nullptr;
}

const AcceleratorTemplate* AcceleratorTemplates(std::size_t& count) {
    count = sizeof kAccelerators / sizeof kAccelerators[0] - 1;
    return kAccelerators;
}

const DialogTemplateItem* FindDialogTemplate(unsigned int id) {
    for (const DialogTemplateItem& item : kDialogs)
        if (item.op == DlgOp::Dialog && static_cast<unsigned int>(item.id) == id) return &item;
    return nullptr;
}

const CursorTemplate* FindCursorTemplate(unsigned int id) {
    for (const CursorTemplate& c : kCursors)
        if (c.pixels && c.id == id && c.width > 0 && c.height > 0 &&
            std::strlen(c.pixels) == static_cast<std::size_t>(c.width) * static_cast<std::size_t>(c.height))
            return &c;
    return nullptr;
}

const PictureTemplate* FindPictureTemplate(unsigned int id) {
    for (const PictureTemplate& p : kPictures)
        if (p.svg && p.id == id && p.width > 0 && p.height > 0) return &p;
    return nullptr;
}

const ToolbarTemplateItem* FindToolbarTemplate(unsigned int id) {
    for (const ToolbarTemplateItem& item : kToolbars)
        if (item.op == ToolbarOp::Begin && item.id == id) return &item + 1;
    return nullptr;
}
