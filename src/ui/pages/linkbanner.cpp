#include "linkbanner.h"

#include <QEvent>

LinkBanner::LinkBanner(QWidget *parent)
    : QLabel(parent)
{
    setObjectName(QStringLiteral("linkBanner"));
    setWordWrap(true);
    setAlignment(Qt::AlignCenter);
    setMargin(4);
    // Loud on purpose: pages without a unit look much like pages with one.
    setStyleSheet(QStringLiteral("QLabel#linkBanner { background-color: rgb(150, 40, 36); color: rgb(240, 240, 240);"
                                 " font-weight: bold; border-radius: 4px; }"));
    retranslate();
}

LinkBanner::~LinkBanner() = default;

void LinkBanner::setState(State state)
{
    if (state == m_state)
        return;
    m_state = state;
    retranslate();
}

void LinkBanner::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QLabel::changeEvent(event);
}

void LinkBanner::retranslate()
{
    switch (m_state) {
    case State::Online:
        setText(QString());
        break;
    case State::NoUnit:
        setText(tr("Offline: no unit is connected. Changes are kept in this window and are not sent to a unit."));
        break;
    case State::NotLoggedIn:
        setText(tr("Not logged in: the unit takes no changes until it accepts the login. Changes are kept in "
                   "this window."));
        break;
    }
    setVisible(m_state != State::Online);
}
