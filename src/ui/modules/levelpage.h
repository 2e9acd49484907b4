#pragma once

#include <QVector>

#include "core/records/levelrecord.h"
#include "ui/common/modulepage.h"
#include "ui/controls/valuefield.h"
#include "ui/common/tickers.h"

class QComboBox;
class QFader;
class QGridLayout;
class QLabel;
class QLineEdit;
class QMeterWidget;
class QPushButton;

// What the input and output level pages share: one strip per channel with a
// meter, a gain fader and entry, mute, invert and a link-group selector;
// meters and mutes polled every 100 ms for the overview, the rest every
// 200 ms while the page is shown.
//
// Link groups are mirrored on the page only: an operator change on a grouped
// channel is shown on every channel of the group but sent for the clicked
// channel alone, because the unit applies the group itself (and the next poll
// brings its result back).
class LevelPage : public ModulePage
{
    Q_OBJECT
    Q_DISABLE_COPY(LevelPage)

public:
    // The meters' lowest reading and the level label's floor.
    static constexpr int MeterFloor = -60;
    static constexpr int MeterCeiling = 24;
    // The fader waits this many ticks after the last move before sending.
    static constexpr int GainSendTicks = 5;
    // Replies are held off this many ticks after the last fader move.
    static constexpr int BusyTicks = 10;

    // How a page differs from its twin.
    struct Setup
    {
        quint8 moduleId = 0;
        int channels = 0;
        quint8 groups = 0;
        quint8 lockParam = 0;                 // class 2, module 5
        const char *backgroundName = "";      // object name of each strip's panel
        const char *initialGainText = "0.0";
        bool withSource = false;              // the input page's source row
        bool holdAllWhileBusy = false;        // input: every setting reply; output: gain only
        bool inputs = false;                  // titles "IN %c" rather than "OUT %d"
    };

    ~LevelPage() override;

    void onMessage(quint8 param, quint8 op, quint16 length, const uchar *payload) override;

    // Update the model and the strip without sending.
    void setMute(uchar channel, bool mute);
    void setInvert(uchar channel, bool invert);
    void setGain(uchar channel, float gain);
    void setGroup(uchar channel, quint8 group);
    void setMeter(uchar channel, int level);
    // Everything but the group (preset images carry no group).
    void setRecord(uchar channel, const LevelRecord &record);
    // Link lost: every meter to the floor.
    void resetMeters();

    LevelRecord record(uchar channel) const;
    // The level last shown under the meter (already limited to the floor).
    int shownLevel(uchar channel) const;
    bool isBusy() const { return m_busy.isActive(); }

    QPushButton *muteButton(int channel) const;
    QPushButton *invertButton(int channel) const;
    QFader *fader(int channel) const;
    QLineEdit *gainEdit(int channel) const;
    QComboBox *groupSelector(int channel) const;
    QMeterWidget *meter(int channel) const;
    QLabel *meterLabel(int channel) const;
    QWidget *stripContent(int channel) const;

public Q_SLOTS:
    void muteClicked(bool checked);
    void invertClicked(bool checked);
    void gainEditingFinished();
    void gainFaderChanged(float gain);
    void groupChanged(int index);

Q_SIGNALS:
    void sigMeter(uchar channel, int level);
    void sigMute(uchar channel, bool mute);
    void sigCail(uchar channel, float trim);

protected:
    struct Strip
    {
        QWidget *background = nullptr;
        QWidget *content = nullptr;
        QLabel *title = nullptr;
        QLabel *caption = nullptr;
        QLabel *sourceTitle = nullptr;
        QComboBox *sourceSelector = nullptr;
        QLabel *sourceText = nullptr;
        QLabel *groupTitle = nullptr;
        QComboBox *group = nullptr;
        QLabel *meterLabel = nullptr;
        QMeterWidget *meter = nullptr;
        QLabel *gainTitle = nullptr;
        ValueField *gainEdit = nullptr;
        QFader *fader = nullptr;
        QPushButton *mute = nullptr;
        QPushButton *invert = nullptr;
        PendingSend gainPending{GainSendTicks};
        int meterLevel = MeterFloor;
        int lastReceivedLevel = MeterFloor;
        // The output page starts with "-70.0" in the field while the model
        // holds 0 dB; the first reply must be shown even when it is 0 dB.
        bool gainTextShown = false;
    };


    LevelPage(Link *link, const Setup &setup, QWidget *parent);

    QString channelTitle(int channel) const;
    // Replies this page does not know itself (the input page's sources).
    virtual void onOtherMessage(quint8 param, quint16 length, const uchar *payload);
    // Queries sent after the settings on every tenth tick.
    virtual void pollOthers() {}
    virtual void retranslateOthers() {}

    void advance() override;
    void poll(quint32 tick) override;
    void applySecurityState(uchar channel, uchar state) override;
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

    void setChannelLabel(uchar channel, const QString &label);
    // Whether the setting replies of `param` wait for the busy hold-off.
    bool heldOff(quint8 param) const;
    template <typename T>
    int channelOf(const QObject *control, T *Strip::*member) const
    {
        for (int c = 0; c < m_strips.size(); ++c) {
            if (control && m_strips.at(c).*member == control)
                return c;
        }
        return -1;
    }
    // Channels the operator's change on `channel` applies to: the channel,
    // or every channel of its group.
    QVector<int> targetsOf(int channel) const;
    void sendGain(int channel);

    QVector<Strip> m_strips;
    QVector<LevelRecord> m_records;

private:
    void buildStrips();
    void retranslate();
    void showGainText(int channel, bool force);

    Setup m_setup;
    ReplyHoldOff m_busy{BusyTicks};
};
