#pragma once

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Asks for a new login password twice. The window sends the confirmed text
// (class 2, module 2, param 14) after "OK".
class QPwdModDialog : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(QPwdModDialog)

public:
    static constexpr int MaxPasswordLength = 8;

    explicit QPwdModDialog(QWidget *parent = nullptr);
    ~QPwdModDialog() override;

    // The text confirmed with the last "OK".
    QString password() const { return m_confirmed; }

    QLineEdit *newEdit() const { return m_new; }
    QLineEdit *confirmEdit() const { return m_confirm; }
    QPushButton *okButton() const;
    QPushButton *cancelButton() const;

protected:
    bool event(QEvent *event) override;

private:
    void edited(QLineEdit *edit, QLineEdit *other);
    void okClicked();
    void cancelClicked();
    void clearFields();
    void retranslate();

    QLabel *m_newLabel;
    QLabel *m_confirmLabel;
    QLineEdit *m_new;
    QLineEdit *m_confirm;
    QDialogButtonBox *m_buttons;
    QString m_confirmed;
};
