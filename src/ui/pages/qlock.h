#pragma once

#include <QAbstractButton>
#include <QColor>

// One cell of the security page's lock grid: shows a lock state (0 "Free",
// 1 "Read-only", anything else "Hidden") by colour and name. A click only
// asks for the next state; the cell changes when the unit reports it.
class QLock : public QAbstractButton
{
    Q_OBJECT
    Q_DISABLE_COPY(QLock)

public:
    enum State : uchar { Free = 0, ReadOnly = 1, Hidden = 2 };

    // `caption` names the channel or filter entry for the tool tip and
    // accessibility; the cell itself shows the state (its row and column
    // titles say what it locks).
    explicit QLock(const QString &caption = QString(), QWidget *parent = nullptr);
    ~QLock() override;

    void setCaption(const QString &caption);

    uchar state() const { return m_state; }
    void setState(uchar state);

    // The state a click asks for: Free, Read-only, Hidden, Free, ... Any
    // value past Hidden counts as Hidden and goes back to Free.
    static uchar nextState(uchar state) { return state >= Hidden ? uchar(Free) : uchar(state + 1); }
    static QString stateName(uchar state);
    static QColor stateColor(uchar state);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void updateToolTip();

    uchar m_state = Free;
};
