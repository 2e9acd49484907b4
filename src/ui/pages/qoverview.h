#pragma once

#include <QString>
#include <QWidget>

#include "core/protocol/protocoltypes.h"

class Link;
class QFrame;
class QLabel;
class QMeterWidget;
class QPushButton;
class QShortcut;

// The overview strip above the function pages: unit information, all meters,
// mutes and gate lamps at a glance. It sends only mutes; everything it shows
// comes from the unit's reports relayed by FuncWidget.
class QOverView : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(QOverView)

public:
    static constexpr int Inputs = Protocol::count(Protocol::Channels::Inputs);
    static constexpr int Outputs = Protocol::count(Protocol::Channels::Outputs);
    static constexpr int MeterTop = 24;
    // The meters' height follows the room the window gives the strip.
    static constexpr int MinMeterHeight = 70;
    static constexpr int MaxMeterHeight = 160;
    // The application's own version, shown as the information box's title.
    static QString applicationVersion() { return QStringLiteral("V3.1.30"); }

    explicit QOverView(Link *link, QWidget *parent = nullptr);
    ~QOverView() override;

    // Shows whether the current unit is connected and logged in.
    void refreshState();
    // Link lost: meters to their idle state, gate lamps off, DSP load
    // cleared, all-mute off.
    void reset();
    // Dark meters while no unit is connected (see QMeterWidget::setDark).
    void setDark(bool dark);
    bool isDark() const;
    // Height of every meter, within MinMeterHeight..MaxMeterHeight.
    void setMeterHeight(int height);
    int meterHeight() const;

    int meterFloor() const { return m_floor; }
    bool allMute() const { return m_allMute != 0; }

    // Widgets, for tests and screenshots.
    QPushButton *inMuteButton(int channel) const { return m_in[channel].mute; }
    QPushButton *outMuteButton(int channel) const { return m_out[channel].mute; }
    QPushButton *allMuteButton() const { return m_allMuteButton; }
    QLabel *inLevelLabel(int channel) const { return m_in[channel].levelLabel; }
    QLabel *outLevelLabel(int channel) const { return m_out[channel].levelLabel; }
    QMeterWidget *inLevelMeter(int channel) const { return m_in[channel].level; }
    QMeterWidget *outLevelMeter(int channel) const { return m_out[channel].level; }
    QLabel *inCompLabel(int channel) const { return m_in[channel].compLabel; }
    QLabel *outCompLabel(int channel) const { return m_out[channel].compLabel; }
    QLabel *gateLamp(int channel) const { return m_in[channel].gateLamp; }
    QLabel *stateLabel() const { return m_state; }
    QLabel *modelLabel() const { return m_model; }
    QLabel *locationLabel() const { return m_location; }
    QLabel *descriptionLabel() const { return m_description; }
    QLabel *ipLabel() const { return m_ip; }
    QLabel *armVersionLabel() const { return m_armVer; }
    QLabel *dspVersionLabel() const { return m_dspVer; }
    QLabel *dspLoadLabel() const { return m_dspLoad; }
    QLabel *versionTitle() const { return m_versionTitle; }

public Q_SLOTS:
    void setAllMute(bool mute);
    void setInMute(uchar ucChannel, bool mute);
    void setOutMute(uchar ucChannel, bool mute);
    void setGateState(uchar ucChannel, bool open);
    void setInMeter(uchar channel, int value);
    void setInCompMeter(uchar channel, int value);
    void setOutMeter(uchar channel, int value);
    void setOutCompMeter(uchar channel, int value);
    void setModel(QString model);
    void setIPAddrState(uint ipaddr);
    void setDspRes(float usage, float peak);
    void setArmVer(QString ver);
    void setDspVer(QString ver);
    void setLocation(QString location);
    void setDescription(QString description);

    void CtrlNClicked();
    void muteAccess();
    void allMuteClicked(bool isChecked);
    void inMuteClicked(bool checked);
    void outMuteClicked(bool checked);

Q_SIGNALS:
    void inMuteChanged(uchar channel, bool mute);
    void outMuteChanged(uchar channel, bool mute);

protected:
    void changeEvent(QEvent *event) override;

private:
    struct Strip
    {
        QFrame *frame = nullptr;
        QLabel *title = nullptr;
        QPushButton *mute = nullptr;
        QLabel *gateLamp = nullptr;
        QMeterWidget *level = nullptr;
        QLabel *levelLabel = nullptr;
        QMeterWidget *comp = nullptr;
        QLabel *compLabel = nullptr;
        QLabel *levelCaption = nullptr;
        QLabel *compCaption = nullptr;
        int levelValue = -100;
        int compValue = -60;
        bool gateOpen = false;
    };

    QFrame *buildStrip(Strip &strip, bool input, int channel);
    QFrame *buildInfoBox();
    void retranslate();
    void showLevel(Strip &strip);
    void showComp(Strip &strip);
    void setInfoText(QLabel *label, const QString &text);
    void sendAllMute();

    Link *m_link;
    Strip m_in[Inputs];
    Strip m_out[Outputs];
    int m_floor = -60;
    quint8 m_allMute = 0;

    QLabel *m_versionTitle = nullptr;
    QPushButton *m_allMuteButton = nullptr;
    QLabel *m_infoTitles[8] = {};
    QLabel *m_model = nullptr;
    QLabel *m_location = nullptr;
    QLabel *m_ip = nullptr;
    QLabel *m_description = nullptr;
    QLabel *m_armVer = nullptr;
    QLabel *m_state = nullptr;
    QLabel *m_dspVer = nullptr;
    QLabel *m_dspLoad = nullptr;
    QShortcut *m_floorShortcut = nullptr;
    QShortcut *m_muteShortcut = nullptr;
};
