#pragma once

#include <QWidget>

class Link;

// The overview strip above the function pages: unit information, all meters,
// mutes and gate lamps at a glance.
class QOverView : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(QOverView)

public:
    explicit QOverView(Link *link, QWidget *parent = nullptr);
    ~QOverView() override;

    // Shows whether the current unit is connected and logged in.
    void refreshState();
    // Link lost: meters and unit information back to their idle state.
    void reset();

public Q_SLOTS:
    void setInMeter(uchar channel, int level);
    void setInMute(uchar channel, bool mute);
    void setGateState(uchar channel, bool open);
    void setInCompMeter(uchar channel, int level);
    void setOutMeter(uchar channel, int level);
    void setOutMute(uchar channel, bool mute);
    void setOutCompMeter(uchar channel, int level);
    void setModel(QString model);
    void setArmVer(QString version);
    void setDspVer(QString version);
    void setLocation(QString location);
    void setDescription(QString description);
    void setIPAddrState(uint ipaddress);
    void setAllMute(bool mute);
    void setDspRes(float first, float second);

Q_SIGNALS:
    void inMuteChanged(uchar channel, bool mute);
    void outMuteChanged(uchar channel, bool mute);

private:
    Link *m_link;
};
