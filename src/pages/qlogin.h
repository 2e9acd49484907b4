#pragma once

#include <QDialog>

class QLineEdit;

// Asks for the unit's login password.
class QLogin : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(QLogin)

public:
    explicit QLogin(QWidget *parent = nullptr);
    ~QLogin() override;

    QString password() const;

Q_SIGNALS:
    void EnterPassword();

private:
    QLineEdit *m_password;
};
