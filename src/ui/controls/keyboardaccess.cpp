#include "keyboardaccess.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QSet>
#include <QVector>
#include <QWidget>

#include <algorithm>

namespace {

const char MouseOnlyProperty[] = "orvalixMouseOnly";

bool takesTab(const QWidget *widget)
{
    return (widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy();
}

// Controls whose children are their own parts (a spin box's editor, a
// combo's list): the control is one stop in the chain.
bool isCompositeControl(const QWidget *widget)
{
    return qobject_cast<const QAbstractSpinBox *>(widget) || qobject_cast<const QComboBox *>(widget)
           || qobject_cast<const QAbstractButton *>(widget) || qobject_cast<const QAbstractSlider *>(widget)
           || qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QAbstractItemView *>(widget);
}

class Collector
{
public:
    QVector<QWidget *> order;

    void widget(QWidget *w, bool isRoot = false)
    {
        if (!w || (w->isWindow() && !isRoot) || m_seen.contains(w))
            return;
        m_seen.insert(w);
        if (takesTab(w))
            order << w;
        if (isCompositeControl(w))
            return;
        // A main window's own layout does not list its items (it warns when
        // asked); its central widget and bars are taken as children below.
        if (w->layout() && !qobject_cast<QMainWindow *>(w))
            layout(w->layout());
        // Children outside the layout, in reading order.
        QVector<QWidget *> rest;
        for (QObject *child : w->children()) {
            auto *cw = qobject_cast<QWidget *>(child);
            if (cw && !cw->isWindow() && !m_seen.contains(cw))
                rest << cw;
        }
        std::stable_sort(rest.begin(), rest.end(), [](const QWidget *a, const QWidget *b) {
            const QPoint pa = a->pos(), pb = b->pos();
            return pa.y() != pb.y() ? pa.y() < pb.y() : pa.x() < pb.x();
        });
        for (QWidget *cw : qAsConst(rest))
            widget(cw);
    }

    void layout(QLayout *l)
    {
        struct Item
        {
            QLayoutItem *item;
            int row;
            int column;
        };
        QVector<Item> items;
        auto *grid = qobject_cast<QGridLayout *>(l);
        for (int i = 0; i < l->count(); ++i) {
            int row = 0, column = i, rowSpan = 0, columnSpan = 0;
            if (grid)
                grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
            items.append({l->itemAt(i), row, column});
        }
        if (grid) {
            std::stable_sort(items.begin(), items.end(), [](const Item &a, const Item &b) {
                return a.row != b.row ? a.row < b.row : a.column < b.column;
            });
        }
        for (const Item &item : qAsConst(items)) {
            if (QWidget *w = item.item->widget())
                widget(w);
            else if (QLayout *sub = item.item->layout())
                layout(sub);
        }
    }

private:
    QSet<QWidget *> m_seen;
};

} // namespace

namespace KeyboardAccess {

void orderByLayout(QWidget *root)
{
    if (!root)
        return;
    Collector collector;
    collector.widget(root, true);
    const QVector<QWidget *> &order = collector.order;
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
}

void describe(QWidget *control, const QString &name, const QString &toolTip)
{
    if (!control)
        return;
    control->setAccessibleName(name);
    if (!toolTip.isEmpty())
        control->setToolTip(toolTip);
}

void markMouseOnly(QWidget *control)
{
    if (control)
        control->setProperty(MouseOnlyProperty, true);
}

bool isMouseOnly(const QWidget *control)
{
    return control && control->property(MouseOnlyProperty).toBool();
}

} // namespace KeyboardAccess
