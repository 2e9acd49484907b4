#pragma once

#include <array>

#include "core/protocol/protocol.h"
#include "core/records/deqband.h"
#include "ui/common/modulepage.h"
#include "ui/controls/valuefield.h"
#include "ui/common/tickers.h"

class ChannelPanel;
class FilterGraph;
class Knob;
class Prompt;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Dynamic EQ page (module 16): three dynamic bands per input. Each band is a
// peaking or shelving band whose gain acts like a dynamics processor: it
// boosts below the threshold or cuts above it. The page keeps all twelve
// bands, sends the band being edited as one record five ticks after the last
// change, ignores the unit's echoes for ten ticks, and draws the shown
// channel's three bands in a FilterGraph.
class DEQWidget : public ModulePage
{
    Q_OBJECT
    Q_DISABLE_COPY(DEQWidget)

public:
    static constexpr int Channels = Protocol::count(Protocol::Channels::Inputs);
    static constexpr int Bands = DeqBand::BandsPerChannel;
    static constexpr int SendDelayTicks = 5;
    static constexpr int HoldOffTicks = 10;
    static constexpr quint8 LockItem = Protocol::Security::lockParam(Frame::DynamicEq);

    // The seven knob-and-field pairs.
    enum Control { Threshold, Ratio, Attack, Release, Freq, Gain, Q, ControlCount };

    explicit DEQWidget(Link *link, QWidget *parent = nullptr);
    ~DEQWidget() override;

    void onMessage(quint8 param, quint8 op, quint16 length, const uchar *payload) override;
    void setInLabel(uchar channel, const QString &label) override;

    // Message boxes ("Reset") go through it; the standard dialogs until set.
    void setPrompt(Prompt *prompt);

    const DeqBand &band(int channel, int band) const;
    // Stores a band without sending (preset images); the display follows
    // when it belongs to the shown channel.
    void setBand(int channel, int band, const DeqBand &record);
    uchar currentChannel() const { return m_current; }
    int currentBand() const { return m_currentBand; }
    bool isSendPending() const { return m_pending.isPending(); }
    bool isHoldingReplies() const { return m_holdOff.isActive(); }

    QPushButton *channelButton(int channel) const;
    QPushButton *bandButton(int band) const;
    QPushButton *enableButton() const { return m_enable; }
    QComboBox *modeCombo() const { return m_mode; }
    QComboBox *typeCombo() const { return m_type; }
    Knob *knob(Control control) const { return m_knobs[control]; }
    ValueField *edit(Control control) const { return m_edits[control]; }
    QPushButton *copyButton() const { return m_copy; }
    QPushButton *resetButton() const { return m_reset; }
    FilterGraph *graph() const { return m_graph; }
    QWidget *body() const { return m_body; }
    QWidget *bandBox() const { return m_bandBox; }

public Q_SLOTS:
    void channelButtonGroupButtonClicked(int id);
    void bandButtonGroupButtonClicked(int id);
    void enableClicked(bool checked);
    void typeChanged(int index);
    void modeChanged(int index);
    void thresholdChanged(float value);
    void thresholdFinished();
    void ratioChanged(float value);
    void ratioFinished();
    void attackChanged(float value);
    void attackFinished();
    void releaseChanged(float value);
    void releaseFinished();
    void freqChanged(float value);
    void freqFinished();
    void gainChanged(float value);
    void gainFinished();
    void qChanged(float value);
    void qFinished();
    void graphChanged(uchar band, float freq, float gain);
    void copyToClicked();
    void resetClicked();

protected:
    void advance() override;
    void poll(quint32 tick) override;
    void applySecurityState(uchar channel, uchar state) override;
    void changeEvent(QEvent *event) override;

private:
    void build();
    QWidget *buildChannelPanel();
    QWidget *buildBandPanel();
    QWidget *buildKnobPanel(int first, int last);
    void retranslate();
    void describeEditors();

    // Rounds `value` to the control's unit, limits it to the knob's range,
    // and shows it on the knob and in the field, without signals.
    void setControl(Control control, double value, bool fromReply = false);
    // The field's number, limited as a finished entry is; the knob's value
    // when the field holds no number.
    double finishedValue(Control control) const;
    void knobTurned(Control control, float value);
    void fieldFinished(Control control);

    DeqBand bandFromControls() const;
    // Stores the controls' band when it differs and schedules its send.
    void commit();
    void sendBand(int channel, int band);
    // Sends a change still waiting for its delay at once, for the band it
    // was made on, before the operator leaves that band or channel.
    void flushPending();
    void showBandControls(bool fromReply = false);
    void drawBand(int band);
    void drawChannel();

    Prompt *m_prompt;
    std::array<std::array<DeqBand, Bands>, Channels> m_bands;
    uchar m_current = 0;
    int m_currentBand = 0;
    int m_pollChannel = -1;
    PendingSend m_pending{SendDelayTicks};
    int m_pendingChannel = 0;
    int m_pendingBand = 0;
    ReplyHoldOff m_holdOff{HoldOffTicks};

    ChannelPanel *m_channelPanel = nullptr;
    QButtonGroup *m_bandGroup = nullptr;
    std::array<QPushButton *, Bands> m_bandButtons{};
    QLabel *m_bandTitle = nullptr;
    QLabel *m_modeLabel = nullptr;
    QLabel *m_typeLabel = nullptr;
    QPushButton *m_enable = nullptr;
    QComboBox *m_mode = nullptr;
    QComboBox *m_type = nullptr;
    std::array<Knob *, ControlCount> m_knobs{};
    std::array<ValueField *, ControlCount> m_edits{};
    std::array<QLabel *, ControlCount> m_captions{};
    std::array<QLabel *, ControlCount> m_units{};
    QLabel *m_dynamicsTitle = nullptr;
    QLabel *m_eqTitle = nullptr;
    QPushButton *m_copy = nullptr;
    QPushButton *m_reset = nullptr;
    FilterGraph *m_graph = nullptr;
    QWidget *m_body = nullptr;
    QWidget *m_bandBox = nullptr;
};
