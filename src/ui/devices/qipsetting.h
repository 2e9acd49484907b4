#pragma once

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QLineEdit;

// The small dialog behind "ip Settings" (address, subnet mask and gateway of a
// unit) and "Add Device" (address only). Results are IPv4 addresses held
// first octet most significant; 0 when not set or not understood.
class QIpSetting : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(QIpSetting)

public:
    explicit QIpSetting(QWidget *parent = nullptr);
    ~QIpSetting() override;

    // true: all three rows ("ip Settings"); false: the address row only.
    void setFullMode(bool full);
    bool isFullMode() const { return m_fullMode; }
    void setLanguageFontFamily(const QString &family);

    quint32 ipAddress() const { return m_ipAddress; }
    quint32 subnetMask() const { return m_subnetMask; }
    quint32 gateway() const { return m_gateway; }

    QLineEdit *addressEdit() const { return m_addressEdit; }
    QLineEdit *subnetEdit() const { return m_subnetEdit; }
    QLineEdit *gatewayEdit() const { return m_gatewayEdit; }
    QDialogButtonBox *buttonBox() const { return m_buttons; }

    // Four decimal numbers 0-255 separated by dots, blanks around allowed.
    // Anything else gives 0: shorthand such as "192.168.1" (which the usual
    // address parsers read as 192.168.0.1) is a typing error here, and a
    // unit must never be sent an address the operator did not type.
    static quint32 parseAddress(const QString &text);

public Q_SLOTS:
    void Accept();
    void Reject();
    // Escape and the window's close button reject like Cancel does.
    void reject() override;

protected:
    bool event(QEvent *event) override;

private:
    void retranslate();
    void clearEdits();

    QLabel *m_addressLabel;
    QLabel *m_subnetLabel;
    QLabel *m_gatewayLabel;
    QLineEdit *m_addressEdit;
    QLineEdit *m_subnetEdit;
    QLineEdit *m_gatewayEdit;
    QDialogButtonBox *m_buttons;
    QString m_fontFamily;
    quint32 m_ipAddress = 0;
    quint32 m_subnetMask = 0;
    quint32 m_gateway = 0;
    bool m_fullMode = true;
};
