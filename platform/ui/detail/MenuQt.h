// Internal to platform/ui: CMenu trees shown as Qt menus.
#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/ui/Menu.h"

class QMenu;
class QMenuBar;

namespace ui_detail {
// Runs the owner's OnInitMenuPopup for the menu (and, recursively, for its popups).
void RunMenuInit(CMenu* menu, UINT index, CWnd* owner, bool recursive);
// Fills qmenu from menu now and again each time it opens (after the owner's update pass). With
// connectCommands, chosen items are sent to the owner as commands.
void AttachPopup(QMenu* qmenu, CMenu* menu, QPointer<QWidget> ownerWidget, UINT index, bool connectCommands);
void FillQMenu(QMenu* qmenu, CMenu* menu, QPointer<QWidget> ownerWidget, UINT index, bool connectCommands);
// The menu bar of a frame: one Qt menu per popup, commands sent to the owner.
void BuildMenuBar(QMenuBar* bar, CMenu* menu, CWnd* owner);
}  // namespace ui_detail
