#pragma once

#include <array>

#include "core/records/generatorrecord.h"
#include "ui/common/modulepage.h"
#include "ui/controls/valuefield.h"
#include "ui/common/tickers.h"

class QComboBox;
class QFader;
class QLabel;
class QLineEdit;
class QPushButton;

// Signal generator page (module 8): source, sine frequency, gain, mute and
// the outputs the test signal is switched onto. Everything but the routing
// is global and travels without a channel byte.
//
// The lock state is polled even while the page is hidden: the generator can
// be left running, and its output buttons must follow a lock set elsewhere.
class QSigGenerator : public ModulePage
{
    Q_OBJECT
    Q_DISABLE_COPY(QSigGenerator)

public:
    static constexpr int OutputCount = GeneratorRecord::OutputCount;

    explicit QSigGenerator(Link *link, QWidget *parent = nullptr);
    ~QSigGenerator() override;

    void onMessage(quint8 param, quint8 op, quint16 length, const uchar *payload) override;
    void setOutLabel(uchar channel, const QString &label) override;

    const GeneratorRecord &record() const { return m_record; }
    // Preset files: every value as the unit's replies would bring it
    // (an unknown source is left alone, the gain limited; nothing sent).
    void setRecord(const GeneratorRecord &record);

    QComboBox *sourceBox() const { return m_source; }
    QLineEdit *frequencyEdit() const { return m_freqEdit; }
    QLineEdit *gainEdit() const { return m_gainEdit; }
    QFader *gainFader() const { return m_fader; }
    QPushButton *muteButton() const { return m_mute; }
    QPushButton *outputButton(int output) const { return m_outputs.at(size_t(output)); }

public Q_SLOTS:
    void muteClicked(bool checked);
    void outButtonClicked(bool checked);
    void sigGainChanged(float value);
    void gainEditingFinished();
    void freqEditingFinished();
    void SGSrcChanged(int index);

protected:
    void advance() override;
    void poll(quint32 tick) override;
    void applySecurityState(uchar channel, uchar state) override;
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
    void sendGlobal(quint8 param, const void *bytes, quint16 count);
    void sendFrequency(float hz);
    void sendGain();
    void showFrequency();
    void showGain();

    GeneratorRecord m_record;
    QComboBox *m_source = nullptr;
    QLabel *m_freqCaption = nullptr;
    ValueField *m_freqEdit = nullptr;
    QLabel *m_gainCaption = nullptr;
    ValueField *m_gainEdit = nullptr;
    QFader *m_fader = nullptr;
    QPushButton *m_mute = nullptr;
    QLabel *m_outputCaption = nullptr;
    std::array<QPushButton *, OutputCount> m_outputs{};
    PendingSend m_gainPending;
    ReplyHoldOff m_busy;
};
