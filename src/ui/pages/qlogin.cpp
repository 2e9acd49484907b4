#include "qlogin.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/controls/keyboardaccess.h"

QLogin::QLogin(QWidget *parent)
    : QDialog(parent)
    , m_label(new QLabel(this))
    , m_password(new QLineEdit(this))
    , m_refused(new QLabel(this))
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    m_label->setAlignment(Qt::AlignCenter);
    m_password->setMaxLength(MaxPasswordLength);
    m_password->setEchoMode(QLineEdit::Password);
    m_refused->setObjectName(QStringLiteral("refusedLabel"));
    m_refused->setAlignment(Qt::AlignCenter);
    m_refused->setWordWrap(true);
    m_refused->setStyleSheet(QStringLiteral("color: rgb(230, 80, 70);"));
    m_refused->hide();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_password);
    layout->addWidget(m_refused);
    layout->addWidget(m_buttons);

    // Not accept()/reject() overrides: the window closes the dialog with
    // accept() when the unit takes the password, which must not send it again.
    connect(m_buttons->button(QDialogButtonBox::Ok), &QPushButton::clicked, this, &QLogin::okClicked);
    connect(m_buttons->button(QDialogButtonBox::Cancel), &QPushButton::clicked, this, &QLogin::cancelClicked);
    // Escape and the title bar close the dialog without the button.
    connect(this, &QDialog::rejected, m_password, &QLineEdit::clear);
    connect(this, &QDialog::rejected, m_refused, &QWidget::hide);
    retranslate();
}

QLogin::~QLogin() = default;

void QLogin::showRefused()
{
    m_refused->show();
}

void QLogin::okClicked()
{
    m_refused->hide();
    m_entered = m_password->text();
    m_password->clear();
    accept();
    Q_EMIT EnterPassword();
}

void QLogin::cancelClicked()
{
    reject();
}

bool QLogin::event(QEvent *event)
{
    const bool handled = QDialog::event(event);
    // The dialog passes a language change on to its button box, which
    // puts the platform's own English texts back on the standard
    // buttons: ours go on after that.
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    return handled;
}

void QLogin::retranslate()
{
    setWindowTitle(tr("Login"));
    m_label->setText(tr("Password"));
    m_refused->setText(tr("Wrong password: the unit refused it."));
    m_buttons->button(QDialogButtonBox::Ok)->setText(tr("OK"));
    m_buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
    KeyboardAccess::describe(m_password, tr("Password"));
}
