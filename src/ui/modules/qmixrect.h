#pragma once

#include <QWidget>

// One output row of the matrix. Pressing the row (between its cross-point
// buttons) makes that output the current one.
class QMixRect : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(QMixRect)

public:
    explicit QMixRect(QWidget *parent = nullptr);
    ~QMixRect() override;

    // The row of the current output is filled with the highlight colour.
    void setCurrent(bool current);
    bool isCurrent() const { return m_current; }

Q_SIGNALS:
    void Clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    bool m_current = false;
};
