#pragma once

#include <QVector>

#include <array>

#include "core/records/limiterrecord.h"
#include "ui/common/modulepage.h"
#include "ui/controls/valuefield.h"
#include "ui/common/tickers.h"

class Knob;
class Prompt;
class QLabel;
class QLineEdit;
class QMeterWidget;
class QPushButton;
class qtLimitCtrl;

// What the input and output compressor/limiter pages share. One channel is
// edited at a time; every change sends the channel's whole 17-byte record
// (knobs ten ticks after they stop, each parameter debounced on its own).
// Level reports feed the overview's gain-reduction meters for every channel,
// so they are polled whether or not the page is shown.
//
// "Copy to" reaches both sides: the unit copies by itself (param 2, input
// mask first), this page mirrors the copy into its own channels, and the
// twin page gets the other side's mask and the record through the copy
// signal (an encoded LimiterRecord, LimiterRecord::Size bytes).
class LimiterPage : public ModulePage
{
    Q_OBJECT
    Q_DISABLE_COPY(LimiterPage)

public:
    static constexpr int KnobSendTicks = 10;
    static constexpr int BusyTicks = 10;
    static constexpr int MeterFloor = -60;
    static constexpr int MeterCeiling = 24;
    static constexpr int ReductionCeiling = 35;

    enum Parameter { Threshold, Ratio, Attack, Decay, ParameterCount };

    struct Setup
    {
        quint8 moduleId = 0;
        int channels = 0;
        quint8 lockParam = 0; // class 2, module 5
        bool inputs = false;
    };

    ~LimiterPage() override;

    void onMessage(quint8 param, quint8 op, quint16 length, const uchar *payload) override;

    // Message boxes ("Reset") go through it; the standard dialogs until set.
    void setPrompt(Prompt *prompt);

    uchar currentChannel() const { return m_current; }
    void setCurrentChannel(uchar channel);
    LimiterRecord record(uchar channel) const;
    // Without sending (preset images); the display follows for the current channel.
    void setRecord(uchar channel, const LimiterRecord &record);
    // Link lost: input and output meters to -100, gain reduction to 0.
    void resetMeters();
    bool isBusy() const { return m_busy.isActive(); }
    bool isPending(Parameter parameter) const;

    // Controls, for the function pages' tests.
    Knob *knob(Parameter parameter) const { return m_knobs[parameter]; }
    QLineEdit *field(Parameter parameter) const { return m_fields[parameter]; }
    QPushButton *enableButton() const { return m_enable; }
    QPushButton *channelButton(int channel) const;
    QPushButton *copyButton() const { return m_copy; }
    QPushButton *resetButton() const { return m_reset; }
    qtLimitCtrl *chart() const { return m_chart; }
    QMeterWidget *inputMeter() const { return m_inMeter; }
    QMeterWidget *outputMeter() const { return m_outMeter; }
    QMeterWidget *reductionMeter() const { return m_reductionMeter; }
    QLabel *inputLabel() const { return m_inLabel; }
    QLabel *outputLabel() const { return m_outLabel; }
    QLabel *reductionLabel() const { return m_reductionLabel; }
    QWidget *body() const { return m_body; }

public Q_SLOTS:
    // `args` holds an encoded LimiterRecord; `select` has bit i set for
    // channel i of this page. Mirrors a copy the unit makes by itself: nothing
    // is sent.
    void channelCopy(uchar select, char *args);

    void enableClicked(bool checked);
    void ThreshEditingFinished();
    void RatioEditingFinished();
    void AttackEditingFinished();
    void DecayEditingFinished();
    void ThreshChanged(float value);
    void RatioChanged(float value);
    void AttackChanged(float value);
    void DecayChanged(float value);
    void CopyToClicked();
    void ResetClicked();
    void channelChanged();

Q_SIGNALS:
    // Gain reduction (input level minus output level) of every channel.
    void sigMeter(uchar channel, int reduction);

protected:
    LimiterPage(Link *link, const Setup &setup, QWidget *parent);

    // Hands a copy over to the twin page (sigOutCopy / sigInCopy).
    virtual void emitCopy(uchar mask, char *record) = 0;

    void advance() override;
    void poll(quint32 tick) override;
    void applySecurityState(uchar channel, uchar state) override;
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

    void setChannelLabel(uchar channel, const QString &label);

private:
    void build();
    void retranslate();
    void describeControls();
    QString channelName(int channel) const;
    // Shows the current channel's record on every control.
    void showRecord(bool force);
    void showField(Parameter parameter, const QString &text, bool force);
    void setKnobQuietly(Parameter parameter, float value);
    void knobMoved(Parameter parameter);
    void fieldFinished(Parameter parameter);
    void sendRecord(uchar channel);
    // Sends a knob change still waiting for its delay, for the channel it
    // was made on, so that switching channels or copying never loses it.
    void flushPending();
    void showLevels(int input, int output);

    Setup m_setup;
    Prompt *m_prompt = nullptr;
    QVector<LimiterRecord> m_records;
    uchar m_current = 0;
    uchar m_pendingChannel = 0;
    std::array<PendingSend, ParameterCount> m_pending{
        {PendingSend(KnobSendTicks), PendingSend(KnobSendTicks), PendingSend(KnobSendTicks),
         PendingSend(KnobSendTicks)}};
    ReplyHoldOff m_busy{BusyTicks};
    int m_shownInput = MeterFloor;
    int m_shownOutput = MeterFloor;
    int m_shownReduction = 0;

    QWidget *m_channelWidget = nullptr;
    QLabel *m_channelTitle = nullptr;
    QVector<QPushButton *> m_channelButtons;
    QPushButton *m_copy = nullptr;
    QPushButton *m_reset = nullptr;
    QWidget *m_body = nullptr;
    QWidget *m_cfg = nullptr;
    qtLimitCtrl *m_chart = nullptr;
    QMeterWidget *m_inMeter = nullptr;
    QMeterWidget *m_outMeter = nullptr;
    QMeterWidget *m_reductionMeter = nullptr;
    QLabel *m_inLabel = nullptr;
    QLabel *m_outLabel = nullptr;
    QLabel *m_reductionLabel = nullptr;
    QLabel *m_inTitle = nullptr;
    QLabel *m_outTitle = nullptr;
    QLabel *m_reductionTitle = nullptr;
    QPushButton *m_enable = nullptr;
    std::array<Knob *, ParameterCount> m_knobs{};
    std::array<ValueField *, ParameterCount> m_fields{};
    std::array<QLabel *, ParameterCount> m_knobTitles{};
};
