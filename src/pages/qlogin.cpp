#include "qlogin.h"

#include <QLineEdit>
#include <QVBoxLayout>

QLogin::QLogin(QWidget *parent)
    : QDialog(parent)
    , m_password(new QLineEdit(this))
{
    m_password->setEchoMode(QLineEdit::Password);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_password);
}

QLogin::~QLogin() = default;

QString QLogin::password() const
{
    return m_password->text();
}
