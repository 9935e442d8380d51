// Internal to platform/ui: the Qt side shared by the control classes.
#pragma once

#include <QString>

#include "platform/WinTypes.h"

class CWnd;
class QComboBox;
class QListWidget;
class QPushButton;
class QWidget;

namespace ui_detail {
// A WM_COMMAND notification of a control: first offered to the window object that stands for its
// widget now (a member control attached later, which may consume it), then sent to its owner.
void NotifyCommand(CWnd* self, int code);

// The style bits a control was created with, kept on its widget so that a window object attached
// to the widget later (DDX_Control) sees them too.
void SetControlStyle(QWidget* widget, UINT style);
UINT ControlStyle(const QWidget* widget);

// The widget of CComboBox; with CBS_OWNERDRAWFIXED (and not editable) it paints its items and its
// selection field through the combo's DrawItem.
QComboBox* NewComboWidget(QWidget* parent, UINT style);
// The dropped-down list shows about this many pixels of items.
void SetComboDropHeight(QComboBox* combo, int pixels);
// The items of the list are painted through the list box's DrawItem.
void MakeListOwnerDrawn(QListWidget* list);
// A push button painted through the button's DrawItem.
QPushButton* NewOwnerDrawButton(const QString& text, QWidget* parent);
// The item heights of an owner-drawn list or combo changed: lay the items out again.
void ItemHeightsChanged(QWidget* control);
}  // namespace ui_detail
