#include "linkbanner.h"

#include <QEvent>

LinkBanner::LinkBanner(QWidget *parent)
    : QLabel(parent)
{
    setObjectName(QStringLiteral("linkBanner"));
    setWordWrap(true);
    setAlignment(Qt::AlignCenter);
    setMargin(4);
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
    // Loud on purpose: pages without a unit look much like pages with one.
    // Red without a unit, amber while the unit waits for the login.
    const char *background = "rgb(150, 40, 36)";
    switch (m_state) {
    case State::Online:
        setText(QString());
        break;
    case State::NoUnit:
        setText(tr("Offline: no unit is connected. Changes are kept in this window and are not sent to a unit."));
        break;
    case State::NotLoggedIn:
        // The unit takes page changes without the login; it keeps the
        // administration (firmware, passwords, factory reset) to itself.
        background = "rgb(150, 100, 20)";
        setText(tr("Not logged in: changes on the pages still reach the unit, but firmware updates, passwords and "
                   "the factory reset need the login."));
        break;
    }
    setStyleSheet(QStringLiteral("QLabel#linkBanner { background-color: %1; color: rgb(240, 240, 240);"
                                 " font-weight: bold; border-radius: 4px; }")
                      .arg(QLatin1String(background)));
    setVisible(m_state != State::Online);
}
