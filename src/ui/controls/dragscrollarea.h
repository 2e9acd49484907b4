#pragma once

#include <QScrollArea>

// A scroll area that scrolls by dragging its content with the left button,
// so a page larger than the window can be moved like a sheet of paper.
// Moves of up to 9 pixels after the press still reach the controls (a
// shaky click is not a drag); beyond that the area takes over and every
// further move scrolls. Controls that take the mouse themselves (knobs,
// faders, buttons) keep their drags; the scroll bars work as usual.
class DragScrollArea : public QScrollArea
{
    Q_OBJECT
    Q_DISABLE_COPY(DragScrollArea)

public:
    explicit DragScrollArea(QWidget *parent = nullptr);
    ~DragScrollArea() override;

    bool isDragging() const { return m_dragging; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    // true when the event was used for dragging and must go no further.
    bool handleMouse(QEvent *event);

    bool m_pressed = false;
    bool m_dragging = false;
    int m_lastX = 0;
    int m_lastY = 0;
};
