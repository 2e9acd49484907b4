#pragma once

#include <array>

#include "core/protocol/protocoltypes.h"
#include "core/records/mixerrecord.h"
#include "ui/common/modulepage.h"
#include "ui/controls/valuefield.h"
#include "ui/common/tickers.h"

class Prompt;
class QFader;
class QLabel;
class QLineEdit;
class QMixButton;
class QMixRect;
class QPushButton;

// Matrix mixer page (module 7): eight output rows of four cross-points, and
// below them (here: beside them) one strip per input with fader, entry
// field and "Enable" for the cross-points of the current output.
//
// An output becomes current when one of its cross-points takes the focus or
// its row is pressed; a double click switches a cross-point. Fader moves are
// sent five ticks after the last movement, everything else at once.
class QMixer : public ModulePage
{
    Q_OBJECT
    Q_DISABLE_COPY(QMixer)

public:
    static constexpr int OutputCount = Protocol::count(Protocol::Channels::Outputs);
    static constexpr int InputCount = MixerOutput::InputCount;

    explicit QMixer(Link *link, QWidget *parent = nullptr);
    ~QMixer() override;

    // Where "All Mix" and "Reset" ask for confirmation (default: real boxes).
    void setPrompt(Prompt *prompt) { m_prompt = prompt; }

    void onMessage(quint8 param, quint8 op, quint16 length, const uchar *payload) override;
    void setInLabel(uchar channel, const QString &label) override;

    int currentOutput() const { return m_current; }
    const MixerOutput &output(int output) const { return m_outputs.at(size_t(output)); }
    // Preset files: one output's cross-points as the unit's replies would
    // bring them (gains limited, shown, nothing sent).
    void setOutput(int output, const MixerOutput &mix);

    QMixButton *mixButton(int output, int input) const { return m_rows.at(size_t(output)).buttons.at(size_t(input)); }
    QMixRect *outputRow(int output) const { return m_rows.at(size_t(output)).rect; }
    QFader *fader(int input) const { return m_strips.at(size_t(input)).fader; }
    QLineEdit *gainEdit(int input) const { return m_strips.at(size_t(input)).edit; }
    QPushButton *enableButton(int input) const { return m_strips.at(size_t(input)).enable; }
    QPushButton *allMixButton() const { return m_allMix; }
    QPushButton *resetButton() const { return m_reset; }

Q_SIGNALS:
    void outputChanged(uchar output);

public Q_SLOTS:
    void mixButtonSelect();
    void mixButtonDoubleClicked(bool lit);
    void outRectClicked();
    void gainEditingFinished();
    void gainFaderChanged(float value);
    void inEnableClicked(bool checked);
    void allMixButtonClicked();
    void resetButtonClicked();

protected:
    void advance() override;
    void poll(quint32 tick) override;
    void applySecurityState(uchar channel, uchar state) override;
    void changeEvent(QEvent *event) override;

private:
    struct Row
    {
        QMixRect *rect = nullptr;
        QLabel *title = nullptr;
        std::array<QMixButton *, InputCount> buttons{};
    };
    struct Strip
    {
        QWidget *background = nullptr;
        QLabel *title = nullptr;
        ValueField *edit = nullptr;
        QFader *fader = nullptr;
        QPushButton *enable = nullptr;
        PendingSend pending;
    };

    QWidget *buildMatrix();
    QWidget *buildStrips();
    void retranslate();
    void describeStrips();
    bool findButton(const QObject *button, int *output, int *input) const;
    int stripOf(const QObject *control) const;
    void chooseOutput(int output);
    void showCrossPoint(int output, int input);
    void applyStripLock(uchar state);
    void sendEnable(int output, int input);
    void sendGain(int output, int input);
    void setAll(bool enable, qint8 gain);
    bool confirm(const QString &title, const QString &text);

    std::array<Row, OutputCount> m_rows;
    std::array<Strip, InputCount> m_strips;
    std::array<QLabel *, InputCount> m_columnTitles{};
    std::array<MixerOutput, OutputCount> m_outputs{};
    QLabel *m_outputLabel = nullptr;
    QLabel *m_gainCaption = nullptr;
    QPushButton *m_allMix = nullptr;
    QPushButton *m_reset = nullptr;
    Prompt *m_prompt = nullptr;
    ReplyHoldOff m_busy;
    int m_current = 0;
};
