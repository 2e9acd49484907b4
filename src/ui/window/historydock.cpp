#include "historydock.h"

#include <QAbstractButton>
#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QUndoGroup>
#include <QUndoStack>
#include <QUndoView>
#include <QVBoxLayout>

#include "ui/pages/unithistory.h"

HistoryDock::HistoryDock(UnitHistory *history, QWidget *parent)
    : QDockWidget(parent), m_history(history), m_view(new QUndoView(history->group())),
      m_message(new QLabel), m_backButton(new QPushButton), m_sendButton(new QPushButton),
      m_undo(new QAction(this)), m_redo(new QAction(this)), m_back(new QAction(this)), m_send(new QAction(this))
{
    setObjectName(QStringLiteral("historyDock"));
    auto *body = new QWidget(this);
    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    m_message->setWordWrap(true);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_backButton);
    buttons->addWidget(m_sendButton);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_message);
    layout->addLayout(buttons);
    setWidget(body);

    m_undo->setShortcut(QKeySequence::Undo);
    m_redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    for (QAction *action : {m_undo, m_redo})
        action->setShortcutContext(Qt::ApplicationShortcut);
    QUndoGroup *group = history->group();
    connect(m_undo, &QAction::triggered, group, &QUndoGroup::undo);
    connect(m_redo, &QAction::triggered, group, &QUndoGroup::redo);
    connect(m_back, &QAction::triggered, history, &UnitHistory::backToConnect);
    connect(m_send, &QAction::triggered, history, &UnitHistory::sendToUnit);
    connect(m_backButton, &QPushButton::clicked, m_back, &QAction::trigger);
    connect(m_sendButton, &QPushButton::clicked, m_send, &QAction::trigger);
    connect(group, &QUndoGroup::canUndoChanged, this, &HistoryDock::updateActions);
    connect(group, &QUndoGroup::canRedoChanged, this, &HistoryDock::updateActions);
    connect(group, &QUndoGroup::undoTextChanged, this, &HistoryDock::updateActions);
    connect(group, &QUndoGroup::redoTextChanged, this, &HistoryDock::updateActions);
    connect(group, &QUndoGroup::activeStackChanged, this, &HistoryDock::updateActions);
    connect(group, &QUndoGroup::indexChanged, this, &HistoryDock::updateActions);
    connect(history, &UnitHistory::preparedChanged, this, &HistoryDock::updateActions);
    connect(history, &UnitHistory::message, this, [this](const QString &text) {
        m_message->setText(text);
        updateActions();
    });
    // Widgets made before the dock's parent joined the window can miss its
    // language; one pass now.
    retranslate();
}

QMenu *HistoryDock::buildMenu(QMenuBar *bar)
{
    m_menu = bar->addMenu(QString());
    m_menu->addAction(m_undo);
    m_menu->addAction(m_redo);
    m_menu->addSeparator();
    m_menu->addAction(m_back);
    m_menu->addAction(m_send);
    m_menu->addSeparator();
    m_menu->addAction(toggleViewAction());
    retranslate();
    return m_menu;
}

void HistoryDock::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDockWidget::changeEvent(event);
}

void HistoryDock::retranslate()
{
    setWindowTitle(tr("History"));
    // The title bar's close button otherwise keeps Qt's own English name.
    if (auto *close = findChild<QAbstractButton *>(QStringLiteral("qt_dockwidget_closebutton")))
        close->setAccessibleName(tr("Close"));
    if (m_menu)
        m_menu->setTitle(tr("Edit"));
    m_back->setText(tr("Back to the state at connect..."));
    m_send->setText(tr("Send to unit..."));
    m_backButton->setText(tr("Back to connect"));
    m_sendButton->setText(tr("Send to unit..."));
    updateActions();
}

void HistoryDock::updateActions()
{
    const QUndoStack *stack = m_history->stack();
    const bool canUndo = stack && stack->canUndo();
    const bool canRedo = stack && stack->canRedo();
    const QString closing = m_history->closingLine();
    m_view->setEmptyLabel(closing.isEmpty() ? tr("<state at connect>") : closing);
    if (canUndo)
        m_undo->setText(tr("Undo %1").arg(stack->undoText()));
    else if (!closing.isEmpty())
        m_undo->setText(tr("Cannot undo: %1").arg(closing));
    else
        m_undo->setText(tr("Undo"));
    m_undo->setEnabled(canUndo);
    m_redo->setText(canRedo ? tr("Redo %1").arg(stack->redoText()) : tr("Redo"));
    m_redo->setEnabled(canRedo);
    m_send->setEnabled(m_history->hasPrepared());
    m_sendButton->setEnabled(m_history->hasPrepared());
}
