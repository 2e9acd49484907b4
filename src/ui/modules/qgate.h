#pragma once

#include <array>

#include "core/protocol/protocoltypes.h"
#include "core/records/gaterecord.h"
#include "ui/common/modulepage.h"
#include "ui/controls/valuefield.h"
#include "ui/common/tickers.h"

class Knob;
class QLabel;
class QLineEdit;
class QPushButton;

// Noise gate page (module 2): one strip per input with "Enable", the open
// lamp, and threshold, attack and decay as knob plus entry field.
//
// Knob turns are sent five ticks after the last movement, per parameter;
// entries and "Enable" at once. Record replies are ignored while a knob is
// moving (the unit's echoes would pull it back); the open states are polled
// every 100 ms whether the page is shown or not, because the overview shows
// them as its gate lamps.
class QGate : public ModulePage
{
    Q_OBJECT
    Q_DISABLE_COPY(QGate)

public:
    static constexpr int InputCount = Protocol::count(Protocol::Channels::Inputs);

    explicit QGate(Link *link, QWidget *parent = nullptr);
    ~QGate() override;

    void onMessage(quint8 param, quint8 op, quint16 length, const uchar *payload) override;
    void setInLabel(uchar channel, const QString &label) override;

    const GateRecord &record(int input) const { return m_records.at(size_t(input)); }
    bool isOpen(int input) const { return m_open.at(size_t(input)); }
    // Link lost: every lamp goes out (and the overview's with them).
    void closeLamps();

    // Preset files: takes a record as a reply from the unit would be taken
    // (limited to the ranges, shown, nothing sent).
    void setRecord(int input, const GateRecord &record);

    // The controls of one strip, for the function pages' tests and screenshots.
    QPushButton *enableButton(int input) const { return m_strips.at(size_t(input)).enable; }
    QLabel *lamp(int input) const { return m_strips.at(size_t(input)).lamp; }
    Knob *thresholdKnob(int input) const { return m_strips.at(size_t(input)).knob[Threshold]; }
    Knob *attackKnob(int input) const { return m_strips.at(size_t(input)).knob[Attack]; }
    Knob *decayKnob(int input) const { return m_strips.at(size_t(input)).knob[Decay]; }
    QLineEdit *thresholdEdit(int input) const { return m_strips.at(size_t(input)).edit[Threshold]; }
    QLineEdit *attackEdit(int input) const { return m_strips.at(size_t(input)).edit[Attack]; }
    QLineEdit *decayEdit(int input) const { return m_strips.at(size_t(input)).edit[Decay]; }

Q_SIGNALS:
    void sigOpenState(uchar channel, bool open);

public Q_SLOTS:
    void enableClicked(bool checked);
    void threshEditingFinished();
    void attackEditingFinished();
    void decayEditingFinished();
    void threshChanged(float value);
    void attackChanged(float value);
    void decayChanged(float value);

protected:
    void advance() override;
    void poll(quint32 tick) override;
    void applySecurityState(uchar channel, uchar state) override;
    void changeEvent(QEvent *event) override;

private:
    enum Parameter { Threshold = 0, Attack = 1, Decay = 2, ParameterCount = 3 };

    struct Strip
    {
        QWidget *background = nullptr;
        QLabel *title = nullptr;
        QPushButton *enable = nullptr;
        QLabel *lamp = nullptr;
        std::array<QLabel *, ParameterCount> caption{};
        std::array<Knob *, ParameterCount> knob{};
        std::array<ValueField *, ParameterCount> edit{};
        std::array<PendingSend, ParameterCount> pending;
        QString label;
    };

    void buildStrip(int input);
    void retranslate();
    int stripOf(const QObject *control) const;
    void knobMoved(Parameter parameter, float value);
    void entryFinished(Parameter parameter);
    void showRecord(int input);
    void setOpen(int input, bool open);
    void sendRecord(int input);

    std::array<Strip, InputCount> m_strips;
    std::array<GateRecord, InputCount> m_records{};
    std::array<bool, InputCount> m_open{};
    ReplyHoldOff m_busy;
};
