#include "qlockpwdmoddialog.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/controls/keyboardaccess.h"

QlockPwdModDialog::QlockPwdModDialog(QWidget *parent)
    : QDialog(parent)
    , m_lockLabel(new QLabel(this))
    , m_newLabel(new QLabel(this))
    , m_verifyLabel(new QLabel(this))
    , m_lockEdit(new QLineEdit(this))
    , m_newEdit(new QLineEdit(this))
    , m_verifyEdit(new QLineEdit(this))
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto *form = new QFormLayout;
    form->addRow(m_lockLabel, m_lockEdit);
    form->addRow(m_newLabel, m_newEdit);
    form->addRow(m_verifyLabel, m_verifyEdit);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_buttons);

    okButton()->setEnabled(false);
    for (QLineEdit *edit : {m_lockEdit, m_newEdit, m_verifyEdit}) {
        edit->setMaxLength(MaxPasswordLength);
        edit->setEchoMode(QLineEdit::PasswordEchoOnEdit);
        connect(edit, &QLineEdit::textChanged, this, [this] { okButton()->setEnabled(complete()); });
    }
    connect(okButton(), &QPushButton::clicked, this, &QlockPwdModDialog::okClicked);
    connect(cancelButton(), &QPushButton::clicked, this, &QlockPwdModDialog::cancelClicked);
    // Escape and the title bar close the dialog without the button.
    connect(this, &QDialog::rejected, this, &QlockPwdModDialog::clearFields);
    retranslate();
}

QlockPwdModDialog::~QlockPwdModDialog() = default;

QPushButton *QlockPwdModDialog::okButton() const
{
    return m_buttons->button(QDialogButtonBox::Ok);
}

QPushButton *QlockPwdModDialog::cancelButton() const
{
    return m_buttons->button(QDialogButtonBox::Cancel);
}

bool QlockPwdModDialog::complete() const
{
    return !m_lockEdit->text().isEmpty() && !m_newEdit->text().isEmpty()
        && m_newEdit->text() == m_verifyEdit->text();
}

void QlockPwdModDialog::okClicked()
{
    if (!complete())
        return;
    m_lock = m_lockEdit->text();
    m_newPassword = m_newEdit->text();
    clearFields();
    accept();
}

void QlockPwdModDialog::cancelClicked()
{
    reject();
}

void QlockPwdModDialog::clearFields()
{
    m_lockEdit->clear();
    m_newEdit->clear();
    m_verifyEdit->clear();
}

bool QlockPwdModDialog::event(QEvent *event)
{
    const bool handled = QDialog::event(event);
    // The dialog passes a language change on to its button box, which
    // puts the platform's own English texts back on the standard
    // buttons: ours go on after that.
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    return handled;
}

void QlockPwdModDialog::retranslate()
{
    setWindowTitle(tr("Modify lock password"));
    m_lockLabel->setText(tr("Lock password :"));
    m_newLabel->setText(tr("New password :"));
    m_verifyLabel->setText(tr("Verify password :"));
    okButton()->setText(tr("OK"));
    cancelButton()->setText(tr("Cancel"));
    KeyboardAccess::describe(m_lockEdit, tr("Current lock password"));
    KeyboardAccess::describe(m_newEdit, tr("New lock password"));
    KeyboardAccess::describe(m_verifyEdit, tr("Verify new lock password"));
}
