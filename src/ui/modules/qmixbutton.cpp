#include "qmixbutton.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {

const char *const LitSelected = "background: rgb(21, 148, 192);color: rgb(228, 236, 238);"
                                "border: 1px solid rgb(255, 0, 0);border-radius: 2px;";
const char *const LitPlain = "background: rgb(21, 148, 192);color: rgb(228, 236, 238);"
                             "border: 1px solid rgb(60, 60, 60);border-radius: 2px;";
const char *const DarkSelected = "background-color: rgb(75, 74, 74);color: rgb(171, 171, 171);"
                                 "border: 1px solid rgb(255, 0, 0);border-radius:2px;";
const char *const DarkPlain = "background-color: rgb(75, 74, 74);color: rgb(171, 171, 171);"
                              "border: 1px solid rgb(60, 60, 60);border-radius:2px;";

} // namespace

QMixButton::QMixButton(QWidget *parent)
    : QPushButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setText(QStringLiteral("0dB"));
    restyle();
}

QMixButton::~QMixButton() = default;

void QMixButton::setLit(bool lit)
{
    if (lit == m_lit)
        return;
    m_lit = lit;
    restyle();
}

void QMixButton::restyle()
{
    const char *sheet = m_lit ? (m_selected ? LitSelected : LitPlain) : (m_selected ? DarkSelected : DarkPlain);
    setStyleSheet(QLatin1String(sheet));
}

void QMixButton::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    event->accept();
}

void QMixButton::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
}

void QMixButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The first click of the pair has focused the button already; this keeps
    // a double click whose first press went elsewhere working too.
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    m_lit = !m_lit;
    restyle();
    event->accept();
    Q_EMIT DoubleClick(m_lit);
}

void QMixButton::keyPressEvent(QKeyEvent *event)
{
    // Space and Enter would "click" a push button; a cross-point has no
    // click. Other keys go to the parents (Tab moves on before this).
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Select:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        event->ignore();
    }
}

void QMixButton::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Select)
        event->accept();
    else
        event->ignore();
}

void QMixButton::focusInEvent(QFocusEvent *event)
{
    QPushButton::focusInEvent(event);
    m_selected = true;
    restyle();
    Q_EMIT select();
}

void QMixButton::focusOutEvent(QFocusEvent *event)
{
    QPushButton::focusOutEvent(event);
    m_selected = false;
    restyle();
}
