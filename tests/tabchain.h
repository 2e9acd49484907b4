#pragma once

// The tab stops of a page or dialog by accessible name, in the order Tab
// visits them once the window has chained them by layout (as the main
// window does for every page and dialog).

#include <QAccessible>
#include <QStringList>
#include <QWidget>

#include <initializer_list>

#include "ui/controls/keyboardaccess.h"

inline QStringList tabStopNames(QWidget *root)
{
    KeyboardAccess::orderByLayout(root);
    QStringList names;
    for (QWidget *w = root->nextInFocusChain(); w && w != root; w = w->nextInFocusChain()) {
        // What focusNextPrevChild() would skip: parts standing in for their
        // control (a spin box's editor), hidden, disabled or foreign widgets.
        if (!(w->focusPolicy() & Qt::TabFocus) || w->focusProxy() || !root->isAncestorOf(w)
            || !w->isVisibleTo(root) || !w->isEnabledTo(root))
            continue;
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
        const QString name = w->accessibleName().isEmpty() && iface ? iface->text(QAccessible::Name)
                                                                    : w->accessibleName();
        names << (name.isEmpty() ? QStringLiteral("<unnamed %1>").arg(QLatin1String(w->metaObject()->className()))
                                 : name);
    }
    return names;
}

// Expected names written as plain literals.
inline QStringList nameList(std::initializer_list<const char *> names)
{
    QStringList out;
    for (const char *name : names)
        out << QString::fromUtf8(name);
    return out;
}
