#pragma once

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QLineEdit;

// The small dialog behind "ip Settings" (address, subnet mask and gateway of a
// unit) and "Add Device" (address only). Results are IPv4 addresses held
// first octet most significant; 0 when not set. OK closes only on values a
// unit can live with; otherwise the dialog says what is wrong and keeps what
// was typed.
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

    // What the dialog opens with: the unit's address, mask and gateway as
    // far as they are known (0: left empty).
    void setCurrent(quint32 address, quint32 mask = 0, quint32 gateway = 0);

    quint32 ipAddress() const { return m_ipAddress; }
    quint32 subnetMask() const { return m_subnetMask; }
    quint32 gateway() const { return m_gateway; }

    QLineEdit *addressEdit() const { return m_addressEdit; }
    QLineEdit *subnetEdit() const { return m_subnetEdit; }
    QLineEdit *gatewayEdit() const { return m_gatewayEdit; }
    QDialogButtonBox *buttonBox() const { return m_buttons; }
    // Why OK was refused last; empty while nothing is wrong.
    QString problemText() const;

    // Four decimal numbers 0-255 separated by dots, blanks around allowed.
    // Anything else gives 0: shorthand such as "192.168.1" (which the usual
    // address parsers read as 192.168.0.1) is a typing error here, and a
    // unit must never be sent an address the operator did not type.
    static quint32 parseAddress(const QString &text);

    enum class Problem { None, Address, Mask, Gateway };
    // The first field that keeps a unit from being reached. A unit address
    // is a host address (not 0.0.0.0, not broadcast, multicast or reserved,
    // not the network's own or broadcast address of its subnet); the mask
    // is contiguous, from /1 to /30; the gateway is 0.0.0.0 (none) or a
    // host of the same subnet other than the unit. Without a mask (adding a
    // unit by hand) only the address counts.
    static Problem check(const QString &address, const QString &mask, const QString &gateway, bool full);

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
    void showProblem(Problem problem);

    QLabel *m_addressLabel;
    QLabel *m_subnetLabel;
    QLabel *m_gatewayLabel;
    QLineEdit *m_addressEdit;
    QLineEdit *m_subnetEdit;
    QLineEdit *m_gatewayEdit;
    QLabel *m_problemLabel;
    QDialogButtonBox *m_buttons;
    Problem m_problem = Problem::None;
    QString m_fontFamily;
    quint32 m_ipAddress = 0;
    quint32 m_subnetMask = 0;
    quint32 m_gateway = 0;
    bool m_fullMode = true;
};
