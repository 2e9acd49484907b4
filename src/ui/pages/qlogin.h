#pragma once

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QLineEdit;

// Asks for the unit's login password. Shown without blocking whenever the
// unit reports that it wants one; the window closes it when the unit accepts.
class QLogin : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(QLogin)

public:
    static constexpr int MaxPasswordLength = 8;

    explicit QLogin(QWidget *parent = nullptr);
    ~QLogin() override;

    // The password entered with the last "OK" (the edit itself is cleared).
    QString password() const { return m_entered; }

    // Says under the edit that the unit refused the password last entered;
    // the next "OK" or Cancel takes the words away.
    void showRefused();
    QLabel *refusedLabel() const { return m_refused; }

    QLineEdit *passwordEdit() const { return m_password; }
    QDialogButtonBox *buttonBox() const { return m_buttons; }

Q_SIGNALS:
    void EnterPassword();

protected:
    bool event(QEvent *event) override;

private:
    void okClicked();
    void cancelClicked();
    void retranslate();

    QLabel *m_label;
    QLineEdit *m_password;
    QLabel *m_refused;
    QDialogButtonBox *m_buttons;
    QString m_entered;
};
