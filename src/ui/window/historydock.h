#pragma once

#include <QDockWidget>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;
class QUndoView;
class UnitHistory;

// The current unit's edit history as a dock: one line per step (time,
// parameter, old -> new), a click goes back to that point; the buttons
// return to the state at connect and send prepared settings. It also
// builds the Edit menu, whose Undo and Redo items name the step and, where
// the history was closed, say why nothing can be undone.
class HistoryDock : public QDockWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(HistoryDock)

public:
    HistoryDock(UnitHistory *history, QWidget *parent = nullptr);

    // Adds the Edit menu to `bar`.
    QMenu *buildMenu(QMenuBar *bar);

    QAction *undoAction() const { return m_undo; }
    QAction *redoAction() const { return m_redo; }
    QAction *backAction() const { return m_back; }
    QAction *sendAction() const { return m_send; }
    QUndoView *view() const { return m_view; }
    QLabel *messageLabel() const { return m_message; }

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
    void updateActions();

    UnitHistory *m_history;
    QUndoView *m_view;
    QLabel *m_message;
    QPushButton *m_backButton;
    QPushButton *m_sendButton;
    QMenu *m_menu = nullptr;
    QAction *m_undo;
    QAction *m_redo;
    QAction *m_back;
    QAction *m_send;
};
