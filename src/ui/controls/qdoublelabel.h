#pragma once

#include <QLabel>

// A label that reports double clicks (of any button), used where a value
// display opens an editor.
class QDoubleLabel : public QLabel
{
    Q_OBJECT
    Q_DISABLE_COPY(QDoubleLabel)

public:
    explicit QDoubleLabel(QWidget *parent = nullptr);
    explicit QDoubleLabel(const QString &text, QWidget *parent = nullptr);
    ~QDoubleLabel() override;

signals:
    void DoubleClick();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};
