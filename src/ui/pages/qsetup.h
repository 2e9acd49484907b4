#pragma once

#include <QByteArray>
#include <QString>
#include <QWidget>

#include "core/link/firmware.h"
#include "core/protocol/protocol.h"

class Link;
class Prompt;
class QComboBox;
class QDoubleLabel;
class QFrame;
class QLabel;
class QLineEdit;
class QOEMTool;
class QTimer;

// The "Settings" page: the unit's identity and status, its network settings,
// labels, front-panel options and fault states. All of it travels as class-2
// messages of modules 2, 3 and 4, polled from a 100 ms timer that runs for
// the whole session, connected or not.
class QSetup : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(QSetup)

public:
    static constexpr int PollMs = 100;
    static constexpr int LabelSize = Protocol::Labels::LabelSize;

    QSetup(Link *link, Prompt *prompt, QWidget *parent = nullptr);
    ~QSetup() override;

    // Class-2 reports of modules 2, 3 and 4.
    void onSystemMessage(quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload);
    // The unit accepted the login: labels, ARM version and LCD page at once.
    void queryAfterLogin();
    // Link lost: identity, versions, network and faults back to "none".
    void resetDisplays();

    uchar faultByte() const { return m_fault; }
    const firmware &armVersion() const { return m_armVersion; }
    QTimer *pollTimer() const { return m_timer; }
    QOEMTool *oemTool() const { return m_oemTool; }

    // Widgets, for tests and screenshots (value labels are found by their
    // object names, "valueModel", "valueArmVer", ...).
    QLineEdit *locationEdit() const { return m_location; }
    QLineEdit *descriptionEdit() const { return m_description; }
    QLineEdit *inLabelEdit(int channel) const { return m_inLabels[channel]; }
    QLineEdit *outLabelEdit(int channel) const { return m_outLabels[channel]; }
    QLineEdit *ipEdit() const { return m_ipEdit; }
    QLineEdit *maskEdit() const { return m_maskEdit; }
    QLineEdit *gatewayEdit() const { return m_gatewayEdit; }
    QComboBox *panelLockCombo() const { return m_panelLock; }
    QComboBox *lcdPageCombo() const { return m_lcdPage; }
    bool lcdPageRowShown() const;

public Q_SLOTS:
    void timeOut100ms();
    void locationChanged();
    void descriptionChanged();
    void InChannelLabelChanged();
    void OutChannelLabelChanged();
    void ipaddressChanged();
    void netmaskChanged();
    void gatewayChanged();
    void panelLockChanged(int index);
    void lcdPageChanged(int index);
    void modelDoubleClick();
    void mksbinimage();
    void oemChanged();

Q_SIGNALS:
    void sigModel(QString model);
    void sigArmVer(firmware *ver);
    void sigDspVer(QString version);
    void sigLocation(QString location);
    void sigDescription(QString description);
    void sigIpaddr(uint ipaddress);
    // The unit's report of its address, subnet mask and gateway.
    void sigNetwork(uint ipaddress, uint mask, uint gateway);
    void sigAllMute(bool mute);
    void sigDspRes(float usage, float peak);
    void sigInLabelChanged(uchar channel, QString label);
    void sigOutLabelChanged(uchar channel, QString label);
    void sigFault(uchar fault);

protected:
    void changeEvent(QEvent *event) override;

private:
    void buildPage();
    QFrame *buildLabelSection();
    QFrame *buildInfoSection();
    QFrame *buildNetworkSection();
    QFrame *buildFaultSection();
    void retranslate();

    void statusReport(quint8 param, quint16 length, const uchar *payload);
    void labelReport(quint8 param, quint16 length, const uchar *payload);
    void codeReport(quint8 param, quint16 length, const uchar *payload);

    void query(quint8 module, quint8 param);
    void sendText(quint8 param, QLineEdit *edit);
    void sendLabel(quint8 param, int channel, QLineEdit *edit);
    void networkFieldFinished(QLineEdit *edit, quint32 *kept);
    void showArmVersion();
    void showDspVersion();
    void showFault();
    void showNetwork();
    void applyVersionRows();

    Link *m_link;
    Prompt *m_prompt;
    QTimer *m_timer;
    QOEMTool *m_oemTool = nullptr;
    quint32 m_ticks = 0;

    // What the unit last reported (or what was last sent, for the values
    // the operator edits).
    QString m_model;
    firmware m_armVersion;
    firmware m_dspVersion;
    quint8 m_dspModel = 0xFF;
    QString m_serial;
    quint16 m_channelConfig = 0;
    bool m_channelConfigKnown = false;
    QString m_locationText;
    QString m_descriptionText;
    quint32 m_net[3] = {0, 0, 0}; // IP address, subnet mask, gateway
    quint32 m_reportedIp = 0;
    uchar m_fault = 0;
    bool m_allMute = false;
    float m_dspLoad[2] = {0.0f, 0.0f};
    int m_panelLockValue = -1;
    int m_lcdPageValue = -2;
    quint16 m_code[3] = {0, 0, 0};
    bool m_codeKnown = false;
    QByteArray m_inLabelBytes[4];
    QByteArray m_outLabelBytes[8];

    QLabel *m_inLabelTitles[4] = {};
    QLabel *m_outLabelTitles[8] = {};
    QLineEdit *m_inLabels[4] = {};
    QLineEdit *m_outLabels[8] = {};
    QLabel *m_inSectionTitle = nullptr;
    QLabel *m_outSectionTitle = nullptr;
    QLabel *m_infoSectionTitle = nullptr;
    QLabel *m_networkSectionTitle = nullptr;
    QLabel *m_faultSectionTitle = nullptr;

    struct Row
    {
        const char *title;
        QLabel *titleLabel;
        QWidget *value;
    };
    QList<Row> m_rows;

    QDoubleLabel *m_modelValue = nullptr;
    QDoubleLabel *m_armValue = nullptr;
    QLabel *m_dspValue = nullptr;
    QLabel *m_serialValue = nullptr;
    QLineEdit *m_location = nullptr;
    QLineEdit *m_description = nullptr;
    QLabel *m_deviceIdValue = nullptr;
    QLabel *m_bootValue = nullptr;
    QLabel *m_tempValue = nullptr;
    QLabel *m_channelValue = nullptr;
    QLabel *m_runTimeValue = nullptr;
    QLabel *m_totalTimeValue = nullptr;
    QLabel *m_codeValue = nullptr;
    QComboBox *m_panelLock = nullptr;
    QComboBox *m_lcdPage = nullptr;
    QLabel *m_lcdPageTitle = nullptr;
    QLineEdit *m_ipEdit = nullptr;
    QLineEdit *m_maskEdit = nullptr;
    QLineEdit *m_gatewayEdit = nullptr;
    QLabel *m_faultValues[4] = {}; // DSP, Flash, DAC, Temp as shown
};
