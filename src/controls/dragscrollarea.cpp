#include "dragscrollarea.h"

DragScrollArea::DragScrollArea(QWidget *parent)
    : QScrollArea(parent)
{
    setWidgetResizable(true);
}

DragScrollArea::~DragScrollArea() = default;
