#pragma once

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Asks for the current lock password and a new one (twice). After "OK" the
// window sends class 2, module 5: param 1 with the current password, then
// param 2 with the new one.
class QlockPwdModDialog : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(QlockPwdModDialog)

public:
    static constexpr int MaxPasswordLength = 8;

    explicit QlockPwdModDialog(QWidget *parent = nullptr);
    ~QlockPwdModDialog() override;

    // The texts kept by the last "OK".
    QString lockPassword() const { return m_lock; }
    QString newPassword() const { return m_newPassword; }

    QLineEdit *lockEdit() const { return m_lockEdit; }
    QLineEdit *newEdit() const { return m_newEdit; }
    QLineEdit *verifyEdit() const { return m_verifyEdit; }
    QPushButton *okButton() const;
    QPushButton *cancelButton() const;

protected:
    bool event(QEvent *event) override;

private:
    bool complete() const;
    void okClicked();
    void cancelClicked();
    void clearFields();
    void retranslate();

    QLabel *m_lockLabel;
    QLabel *m_newLabel;
    QLabel *m_verifyLabel;
    QLineEdit *m_lockEdit;
    QLineEdit *m_newEdit;
    QLineEdit *m_verifyEdit;
    QDialogButtonBox *m_buttons;
    QString m_lock;
    QString m_newPassword;
};
