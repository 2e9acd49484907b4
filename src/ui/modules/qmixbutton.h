#pragma once

#include <QPushButton>

// One cross-point of the matrix: shows the gain ("%ddB") and lights up while
// the cross-point is enabled. A click only takes the focus (which makes its
// output the current one); only a double click switches it, so a stray
// click or key press never changes the routing of a live system.
class QMixButton : public QPushButton
{
    Q_OBJECT
    Q_DISABLE_COPY(QMixButton)

public:
    explicit QMixButton(QWidget *parent = nullptr);
    ~QMixButton() override;

    bool isSelected() const { return m_selected; }
    bool isLit() const { return m_lit; }
    // Restyles; emits nothing.
    void setLit(bool lit);

Q_SIGNALS:
    void select();
    void DoubleClick(bool lit);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void restyle();

    bool m_selected = false;
    bool m_lit = false;
};
