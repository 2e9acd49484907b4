#pragma once

#include <QLabel>

// The strip over the pages that says the window is not working on a unit:
// none connected, or the unit has not accepted the login. Hidden while the
// operator is logged in to a connected unit.
class LinkBanner final : public QLabel
{
    Q_OBJECT
    Q_DISABLE_COPY(LinkBanner)

public:
    enum class State { Online, NoUnit, NotLoggedIn };

    explicit LinkBanner(QWidget *parent = nullptr);
    ~LinkBanner() override;

    void setState(State state);
    State state() const { return m_state; }

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();

    State m_state = State::NoUnit;
};
