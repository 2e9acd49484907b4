#pragma once

#include <QScrollArea>

// A scroll area that scrolls by dragging its content with the mouse.
class DragScrollArea : public QScrollArea
{
    Q_OBJECT
    Q_DISABLE_COPY(DragScrollArea)

public:
    explicit DragScrollArea(QWidget *parent = nullptr);
    ~DragScrollArea() override;
};
