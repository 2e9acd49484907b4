#include "qpwdmoddialog.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/controls/keyboardaccess.h"

QPwdModDialog::QPwdModDialog(QWidget *parent)
    : QDialog(parent)
    , m_newLabel(new QLabel(this))
    , m_confirmLabel(new QLabel(this))
    , m_new(new QLineEdit(this))
    , m_confirm(new QLineEdit(this))
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    for (QLineEdit *edit : {m_new, m_confirm}) {
        edit->setMaxLength(MaxPasswordLength);
        edit->setEchoMode(QLineEdit::PasswordEchoOnEdit);
    }
    auto *form = new QFormLayout;
    form->addRow(m_newLabel, m_new);
    form->addRow(m_confirmLabel, m_confirm);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_buttons);

    okButton()->setEnabled(false);
    connect(m_new, &QLineEdit::textEdited, this, [this] { edited(m_new, m_confirm); });
    connect(m_confirm, &QLineEdit::textEdited, this, [this] { edited(m_confirm, m_new); });
    connect(okButton(), &QPushButton::clicked, this, &QPwdModDialog::okClicked);
    connect(cancelButton(), &QPushButton::clicked, this, &QPwdModDialog::cancelClicked);
    // Escape and the title bar close the dialog without the button.
    connect(this, &QDialog::rejected, this, &QPwdModDialog::clearFields);
    retranslate();
}

QPwdModDialog::~QPwdModDialog() = default;

QPushButton *QPwdModDialog::okButton() const
{
    return m_buttons->button(QDialogButtonBox::Ok);
}

QPushButton *QPwdModDialog::cancelButton() const
{
    return m_buttons->button(QDialogButtonBox::Cancel);
}

void QPwdModDialog::edited(QLineEdit *edit, QLineEdit *other)
{
    okButton()->setEnabled(!edit->text().isEmpty() && edit->text() == other->text());
}

void QPwdModDialog::okClicked()
{
    if (m_new->text().isEmpty() || m_new->text() != m_confirm->text())
        return;
    m_confirmed = m_confirm->text();
    clearFields();
    accept();
}

void QPwdModDialog::cancelClicked()
{
    reject();
}

void QPwdModDialog::clearFields()
{
    m_new->clear();
    m_confirm->clear();
    okButton()->setEnabled(false);
}

bool QPwdModDialog::event(QEvent *event)
{
    const bool handled = QDialog::event(event);
    // The dialog passes a language change on to its button box, which
    // puts the platform's own English texts back on the standard
    // buttons: ours go on after that.
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    return handled;
}

void QPwdModDialog::retranslate()
{
    setWindowTitle(tr("Modify password"));
    m_newLabel->setText(tr("New password :"));
    m_confirmLabel->setText(tr("Confirm :"));
    okButton()->setText(tr("OK"));
    cancelButton()->setText(tr("Cancel"));
    KeyboardAccess::describe(m_new, tr("New password"));
    KeyboardAccess::describe(m_confirm, tr("Confirm new password"));
}
