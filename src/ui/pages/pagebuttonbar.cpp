#include "pagebuttonbar.h"

#include <QGridLayout>
#include <QPushButton>
#include <QResizeEvent>

PageButtonBar::PageButtonBar(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("pageButtonBar"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

PageButtonBar::~PageButtonBar() = default;

void PageButtonBar::setButtons(const QList<QPushButton *> &buttons)
{
    for (QPushButton *button : qAsConst(m_buttons)) {
        if (!buttons.contains(button))
            button->hide();
    }
    m_buttons = buttons;
    for (QPushButton *button : qAsConst(m_buttons)) {
        button->setParent(this);
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        button->setFixedHeight(ButtonHeight);
        button->show();
    }
    m_rows = 0;
    refit();
}

int PageButtonBar::rowsFor(int width, int count, int needed, int spacing, int maxRows)
{
    for (int rows = 1; rows < maxRows; ++rows) {
        const int columns = (count + rows - 1) / rows;
        if (columns * needed + (columns - 1) * spacing <= width)
            return rows;
    }
    return maxRows;
}

int PageButtonBar::neededButtonWidth() const
{
    int needed = 0;
    for (const QPushButton *button : m_buttons)
        needed = qMax(needed, button->sizeHint().width());
    return needed;
}

void PageButtonBar::refit()
{
    const int rows = rowsFor(width(), m_buttons.size(), neededButtonWidth(), Spacing, MaxRows);
    if (rows != m_rows || !layout())
        arrange(rows);
    // Buttons take their places now, not at the next event loop pass.
    layout()->activate();
    updateGeometry();
}

void PageButtonBar::arrange(int rows)
{
    m_rows = rows;
    delete layout();
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(Spacing);
    const int columns = qMax(1, (int(m_buttons.size()) + rows - 1) / rows);
    for (int i = 0; i < m_buttons.size(); ++i)
        grid->addWidget(m_buttons.at(i), i / columns, i % columns);
    for (int c = 0; c < columns; ++c)
        grid->setColumnStretch(c, 1);
    setFixedHeight(rows * ButtonHeight + (rows - 1) * Spacing);
}

QSize PageButtonBar::sizeHint() const
{
    const int needed = neededButtonWidth();
    const int count = int(m_buttons.size());
    return QSize(count * needed + (count - 1) * Spacing, height());
}

QSize PageButtonBar::minimumSizeHint() const
{
    const int needed = neededButtonWidth();
    const int columns = (int(m_buttons.size()) + MaxRows - 1) / MaxRows;
    return QSize(columns * needed + (columns - 1) * Spacing, MaxRows * ButtonHeight);
}

void PageButtonBar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (event->size().width() != event->oldSize().width())
        refit();
}
