#pragma once

#include <QByteArray>
#include <QWidget>

#include "link/firmware.h"

class Link;
class Prompt;

// The right-hand working area: page buttons above the stack of module pages.
// Routes module reports to their pages and relays page signals.
class FuncWidget : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(FuncWidget)

public:
    FuncWidget(Link *link, Prompt *prompt, QWidget *parent = nullptr);
    ~FuncWidget() override;

    // Class-3 frames, by module id.
    void onModuleMessage(quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload);
    // Class-2 frames of modules 2 to 5.
    void onSystemModuleMessage(quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload);

    void loginAccepted();
    void loginStateChanged(bool accepted);
    void linkLost();

    // The fault byte last reported by the unit.
    uchar faultByte() const { return m_faultByte; }

public Q_SLOTS:
    void cailAccess();
    void armVerChanged(firmware *ver);
    void setInLabel(uchar channel, QString label);
    void setOutLabel(uchar channel, QString label);
    void setInMute(uchar channel, bool mute);
    void setOutMute(uchar channel, bool mute);
    void savePreset2PC(uchar saveType, QString dir);
    void importPresetFromPC(uchar type, QByteArray data);
    void languageLoad();
    void setCurrentIndex(int index);

Q_SIGNALS:
    void sigInMeter(uchar channel, int level);
    void sigInMute(uchar channel, bool mute);
    void sigGateOpen(uchar channel, bool open);
    void sigInLimiterMeter(uchar channel, int level);
    void sigOutChannelChanged(uchar channel);
    void sigOutMeter(uchar channel, int level);
    void sigOutMute(uchar channel, bool mute);
    void sigOutLimiterMeter(uchar channel, int level);
    void sigModel(QString model);
    void sigArmVer(QString version);
    void sigDspVer(QString version);
    void sigLocation(QString location);
    void sigDescription(QString description);
    void sigIpaddr(uint ipaddress);
    void sigAllMute(bool mute);
    void sigDspRes(float first, float second);
    void sigFault(uchar fault);

private:
    Link *m_link;
    Prompt *m_prompt;
    uchar m_faultByte = 0;
};
