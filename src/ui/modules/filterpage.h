#pragma once

#include <array>
#include <functional>

#include "core/protocol/protocol.h"
#include "core/records/filterchannel.h"
#include "ui/common/modulepage.h"
#include "ui/controls/valuefield.h"
#include "ui/common/tickers.h"

class ChannelPanel;
class FilterGraph;
class Knob;
class Prompt;
class QButtonGroup;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

// What the input and output filter pages share: the editor of one filter
// module (high-pass, low-pass and sixteen parametric bands per channel) with
// its response graph, the mirror of every channel's FilterChannel record,
// polling, pending sends, the reply hold-off, copy, reset and locks.
// QInFilter and QOutFilter only say which module, how many channels, what the
// channels are called, and carry their own copy signal to the twin page.
class FilterPage : public ModulePage
{
    Q_OBJECT
    Q_DISABLE_COPY(FilterPage)

public:
    enum Section { HighPass = 0, LowPass = 1 };
    static constexpr int BandCount = FilterChannel::BandCount;
    static constexpr int MaxChannels = Protocol::count(Protocol::Channels::Outputs);
    // Lock record of one channel: graph, high-pass, low-pass, 16 bands.
    static constexpr int LockEntries = Protocol::Security::FilterEntries;
    static constexpr int SendDelayTicks = 5;
    static constexpr int HoldOffTicks = 10;

    // What tells the two pages apart.
    struct Variant
    {
        quint8 moduleId;
        int channels;
        bool inputs;            // channel names "IN A".., own copy mask is the input mask
        quint8 securityItem;    // lock item polled (class 2, module 5)
        int selectSourceOffset; // channel index + this = source button of the channel-select dialog
        const char *title;      // page title, translated in this class's context
        const char *widgetName; // object name of the top widget
    };

    // Controls of one pass section.
    struct SectionControls
    {
        QFrame *group = nullptr;
        QLabel *title = nullptr;
        QPushButton *enable = nullptr;
        QComboBox *type = nullptr;
        QComboBox *slope = nullptr;
        ValueField *freqEdit = nullptr;
        Knob *freqKnob = nullptr;
        QLabel *typeLabel = nullptr;
        QLabel *slopeLabel = nullptr;
        QLabel *freqLabel = nullptr;
    };

    // Controls of the current band.
    struct BandControls
    {
        QFrame *group = nullptr;
        QLabel *title = nullptr;
        QWidget *editor = nullptr; // everything but the band buttons
        std::array<QPushButton *, BandCount> buttons{};
        QPushButton *enable = nullptr;
        QComboBox *type = nullptr;
        ValueField *freqEdit = nullptr;
        ValueField *gainEdit = nullptr;
        QLineEdit *qEdit = nullptr;
        Knob *freqKnob = nullptr;
        Knob *gainKnob = nullptr;
        Knob *qKnob = nullptr;
        QLabel *typeLabel = nullptr;
        QLabel *freqLabel = nullptr;
        QLabel *gainLabel = nullptr;
        QLabel *qLabel = nullptr;
    };

    FilterPage(Link *link, const Variant &variant, QWidget *parent = nullptr);
    ~FilterPage() override;

    // Message boxes ("Reset" confirmation) go through this; default: real dialogs.
    void setPrompt(Prompt *prompt);

    void onMessage(quint8 param, quint8 op, quint16 length, const uchar *payload) override;
    // The unit's lock record for one channel: [channel][graph][high-pass]
    // [low-pass][16 bands], from the lock item this page polls.
    void onLockReport(quint16 length, const uchar *payload);

    void setInLabel(uchar channel, const QString &label) override;
    void setOutLabel(uchar channel, const QString &label) override;

    // Selects a channel as a click on its button would; out of range is ignored.
    void selectChannel(int index);
    void selectBand(int band);

    const Variant &variant() const { return m_variant; }
    const FilterChannel &record(int channel) const;
    // Replaces a record as a reply would (controls and graph follow when shown).
    void setRecord(int channel, const FilterChannel &record);
    uchar currentChannel() const { return m_currentChannel; }
    uchar currentBand() const { return m_currentBand; }
    quint8 pollChannel() const { return m_pollChannel; }
    bool isHoldingReplies() const { return m_holdOff.isActive(); }
    uchar lockState(int channel, int entry) const;

    FilterGraph *graph() const { return m_graph; }
    QPushButton *channelButton(int index) const;
    const SectionControls &sectionControls(Section section) const { return m_sections[section]; }
    const BandControls &bandControls() const { return m_band; }
    QPushButton *copyButton() const { return m_copy; }
    QPushButton *resetButton() const { return m_reset; }

public Q_SLOTS:
    void channelChanged();
    void HPassEnableClicked(bool isChecked);
    void HPassTypeChanged(int value);
    void HPassSlopeChanged(int value);
    void HPassFreqChanged(float value);
    void HPassFreqEditingFinished();
    void LPassEnableClicked(bool isChecked);
    void LPassTypeChanged(int value);
    void LPassSlopeChanged(int value);
    void LPassFreqChanged(float value);
    void LPassFreqEditingFinished();
    void PEQEnableClicked(bool isChecked);
    void PEQTypeChanged(int value);
    void PEQFreqChanged(float value);
    void PEQFreqEditingFinished();
    void PEQGainChanged(float value);
    void PEQGainEditingFinished();
    void PEQQChanged(float value);
    void bandBtnClicked();
    void HPFilterGraphChanged(float freq);
    void LPFilterGraphChanged(float freq);
    void peqGraphChanged(uchar band, float freq, float gain);
    void copyToClicked();
    // A record copied over from the twin page: `args` holds the 156 bytes of
    // the source record, `select` the mask of this page's channels to copy it
    // to. Nothing is sent: the copying page tells the unit.
    void channelCopy(uchar select, char *args);
    void ResetClicked();
    // Lock slots: each re-applies the channel's lock entry this page holds,
    // and acts only when the channel is shown.
    void setFilterGraphSecurityState(uchar channel);
    void setHPFilterSecurityState(uchar channel);
    void setLPFilterSecurityState(uchar channel);
    void setFilterBandSecurityState(uchar channel, uchar band);

protected:
    void advance() override;
    void poll(quint32 tick) override;
    void changeEvent(QEvent *event) override;
    // Hands a copy to the twin page (the class's own signal).
    virtual void emitCopyToTwin(uchar select, char *args) = 0;

private:
    struct SectionValues
    {
        quint8 enable;
        quint8 type;
        quint8 slope;
        quint16 freq;
    };
    struct BandValues
    {
        quint8 enable;
        quint8 type;
        quint16 freq;
        float gain;
        quint8 qIndex;
    };
    // How a stored value reaches the controls.
    enum ShowFlag { ShowAll = 0, SkipKnob = 1, ForceEdit = 2 };
    enum Pending { PendingHighPass, PendingLowPass, PendingBandKnobs, PendingBandGain, PendingCount };

    void buildPage();
    QFrame *buildSection(Section section);
    QFrame *buildBands();
    void connectControls();
    void retranslate();
    QString channelTitle(int channel) const;
    void setChannelLabel(uchar channel, const QString &label);
    void describeEditors();

    static SectionValues sectionOf(const FilterChannel &r, Section section);
    static void setSectionOf(FilterChannel &r, Section section, const SectionValues &v);
    static BandValues bandOf(const FilterChannel &r, int band);
    static void setBandOf(FilterChannel &r, int band, const BandValues &v);

    // The storing rule: compare, store, and when the channel is shown bring
    // the controls and the graph along. Returns whether anything changed.
    bool storeSection(int channel, Section section, const SectionValues &v, int flags = ShowAll);
    bool storeBand(int channel, int band, const BandValues &v, int flags = ShowAll);

    void showSection(Section section, int flags = ShowAll);
    void showBandControls(int flags = ShowAll);
    void feedGraphSection(Section section);
    void feedGraphBand(int band);
    void showChannel();

    // The shown channel's values of a section, of the current band.
    SectionValues shownSection(Section section) const;
    BandValues shownBand() const;
    PendingSend &sectionPending(Section section);
    void cancelBandPending();

    // Stores and sends at once; `rewriteField(s)` puts the stored value back
    // into the field(s) the operator has just finished typing in.
    void sectionEdited(Section section, const SectionValues &v, bool rewriteField = false);
    // A selector or the enable button: `value` out of 0..max is ignored.
    void sectionChoiceEdited(Section section, quint8 SectionValues::*field, int value, int max);
    void sectionKnobTurned(Section section, float value);
    void sectionFreqFinished(Section section);
    void sectionGraphDragged(Section section, float freq);
    void bandEdited(const BandValues &v, bool rewriteFields = false);
    void bandKnobTurned(const BandValues &v);

    void sendSection(Section section);
    void sendBand();
    void sendPending(int which);
    // Sends each pending change for which `due` says so.
    void sendDue(const std::function<bool(PendingSend &)> &due);
    void flushPending();
    void holdReplies();

    void applyLocks();
    void applyGraphLock();
    void applySectionLock(Section section);
    void applyBandLock(int band);

    void handleSectionReport(Section section, quint16 length, const uchar *payload);
    void handleBandReport(quint16 length, const uchar *payload);

    Variant m_variant;
    Prompt *m_prompt;
    std::array<FilterChannel, MaxChannels> m_records;
    std::array<std::array<uchar, LockEntries>, MaxChannels> m_locks{};
    std::array<QString, MaxChannels> m_labels;
    uchar m_currentChannel = 0;
    uchar m_currentBand = 0;
    quint8 m_pollChannel = 0;
    std::array<PendingSend, PendingCount> m_pending;
    ReplyHoldOff m_holdOff;

    FilterGraph *m_graph = nullptr;
    ChannelPanel *m_channelPanel = nullptr;
    QButtonGroup *m_bandGroup = nullptr;
    std::array<SectionControls, 2> m_sections;
    BandControls m_band;
    QPushButton *m_copy = nullptr;
    QPushButton *m_reset = nullptr;
};
