#pragma once

#include <QString>

class QWidget;

// Keyboard and assistive-technology access shared by every page and dialog.
namespace KeyboardAccess {

// Chains the tab order of the focusable widgets under `root` in the order of
// its layouts: a box layout's items in sequence, a grid row by row, and each
// item's own layout before the next item. Channel strips built as columns
// are therefore visited strip by strip, and a form row by row. Widgets
// placed outside any layout (scroll area contents, hand-placed rows) follow
// their layout siblings in reading order. Windows under `root` (dialogs)
// keep their own chains. Call again after a page adds or moves controls.
void orderByLayout(QWidget *root);

// The name a screen reader announces for `control` and, for labels shown
// abbreviated on screen, the spelled-out tooltip.
void describe(QWidget *control, const QString &name, const QString &toolTip = QString());

// Marks a control that is deliberately not a tab stop because the page
// offers the same action to the keyboard elsewhere (a graph whose points are
// also fields; a table whose rows hold their own buttons).
void markMouseOnly(QWidget *control);
bool isMouseOnly(const QWidget *control);

} // namespace KeyboardAccess
