#pragma once

#include <array>

#include "core/protocol/protocol.h"
#include "core/records/firchannel.h"
#include "ui/common/modulepage.h"
#include "ui/controls/valuefield.h"

class ChannelPanel;
class FirGraph;
class Knob;
class Prompt;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// FIR page (module 17): one FIR filter per output, designed here (low, high
// or band pass with a window) or loaded as coefficients from a text file.
// Nothing is sent while the operator edits: "Update to Device" sends the
// channel's whole record in one frame, and blinks while the controls differ
// from what the unit was last sent or reported. The page polls one channel
// every second tick of its 150 ms timer while it is shown.
class FirWidget : public ModulePage
{
    Q_OBJECT
    Q_DISABLE_COPY(FirWidget)

public:
    static constexpr int Channels = Protocol::count(Protocol::Channels::Outputs);
    static constexpr int TickMs = 150;
    static constexpr quint8 LockItem = Protocol::Security::lockParam(Frame::Fir);
    enum ShownType { LowPassType = 0, HighPassType = 1, BandPassType = 2, ExternalType = 3 };

    // The two looks of a type button and of "Update to Device".
    static const QString SelectedStyle;
    static const QString NormalStyle;

    explicit FirWidget(Link *link, QWidget *parent = nullptr);
    ~FirWidget() override;

    void onMessage(quint8 param, quint8 op, quint16 length, const uchar *payload) override;
    void setOutLabel(uchar channel, const QString &label) override;

    // Message boxes and file dialogs go through it; the standard dialogs until set.
    void setPrompt(Prompt *prompt);

    // 512 taps at 96 kHz on family-1 units, 256 taps at 48 kHz otherwise.
    // The taps list is rebuilt only when the count changes, so the unit's
    // version report once a second leaves the operator's choice alone.
    void setVariant(int maxTaps, int sampleRate);
    // "Export" is offered only while the unit has accepted the login.
    void setLoginState(bool accepted);
    // The page became the shown page: show the unit's record on its next reply.
    void showOnNextReply();
    bool isShowingOnNextReply() const { return m_showOnNextReply; }
    // Stores a channel's record without sending (preset images); the page
    // shows it when it is the shown channel.
    void setRecord(uchar channel, const FirChannel &record);

    const FirChannel &record(uchar channel) const;
    // The defaults with the coefficients they design to at the unit's rate:
    // what the unit holds after "Clear".
    FirChannel defaultRecord() const;
    // The record the controls describe, as "Update to Device" would send it.
    FirChannel recordFromControls() const;
    // Whether the controls describe what the unit last got or reported.
    bool settingsMatchStored() const;

    uchar currentChannel() const { return m_current; }
    int shownType() const { return m_type; }
    int maxTaps() const { return m_maxTaps; }
    int sampleRate() const { return m_sampleRate; }

    QPushButton *channelButton(int channel) const;
    QPushButton *typeButton(int type) const;
    QComboBox *tapsCombo() const { return m_taps; }
    Knob *lowFreqKnob() const { return m_lowKnob; }
    QLineEdit *lowFreqEdit() const { return m_lowEdit; }
    Knob *highFreqKnob() const { return m_highKnob; }
    QLineEdit *highFreqEdit() const { return m_highEdit; }
    QComboBox *windowCombo() const { return m_window; }
    QComboBox *kaiserBetaCombo() const { return m_beta; }
    QPushButton *enableButton() const { return m_enable; }
    QPushButton *updateButton() const { return m_update; }
    QPushButton *viewButton() const { return m_view; }
    QPushButton *importButton() const { return m_import; }
    QPushButton *exportButton() const { return m_export; }
    QPushButton *copyButton() const { return m_copy; }
    QPushButton *clearButton() const { return m_clear; }
    FirGraph *graph() const { return m_graph; }
    QWidget *body() const { return m_body; }
    QWidget *typeBox() const { return m_typeBox; }

public Q_SLOTS:
    void timeOut();
    void copyToClicked();
    void enableClicked(bool checked);
    void resetClicked();
    void typeButtonClicked();
    void tapsComboBoxChanged(int index);
    void windowTypeComboBoxChanged(int index);
    void kaiserBetaComboBoxChanged(int index);
    void lowFreqEditFinished();
    void highFreqEditFinished();
    void lowFreqKnobChanged(float value);
    void highFreqKnobChanged(float value);
    void updateToDeviceClicked();
    void channelButtonGroupButtonClicked(int id);
    void viewCurrentClicked();
    void importClicked();
    void exportClicked();

protected:
    void advance() override;
    void poll(quint32 tick) override;
    void applySecurityState(uchar channel, uchar state) override;
    void changeEvent(QEvent *event) override;

private:
    void build();
    QWidget *buildChannelPanel();
    QWidget *buildTypePanel();
    QWidget *buildFrequencyPanel();
    QWidget *buildWindowPanel();
    QWidget *buildDevicePanel();
    void retranslate(bool languageChanged);
    void describeEditors();
    void rebuildTapsList();
    // Selects `taps` in the taps list, adding it as a last entry when the
    // list does not offer it.
    void selectTaps(int taps);
    void removeExtraTaps();
    int tapsShown() const;
    void setType(int type);
    void applyTypeVisibility();
    void updateExport();
    void showRecord(const FirChannel &record);
    void showFrequency(Knob *knob, QLineEdit *edit, int value);
    int finishedFrequency(Knob *knob, QLineEdit *edit);
    void loadExternalFile();
    void updateIndicator();
    void sendRecord(uchar channel);

    Prompt *m_prompt;
    std::array<FirChannel, Channels> m_records;
    // Whether a channel's record came from the unit, was sent to it or was
    // set from a preset; the others are the defaults, designed anew when the
    // unit's rate becomes known.
    std::array<bool, Channels> m_known{};
    uchar m_current = 0;
    int m_type = BandPassType;
    int m_maxTaps = FirChannel::MaxTaps;
    int m_sampleRate = 48000;
    // The taps last chosen for a design, restored when the operator
    // returns from an external file to a designed type.
    int m_designTaps = 256;
    int m_pollChannel = -1;
    bool m_showOnNextReply = false;
    bool m_loggedIn = false;
    bool m_blinkBlue = true;
    bool m_indicating = false;

    ChannelPanel *m_channelPanel = nullptr;
    std::array<QPushButton *, 4> m_typeButtons{};
    QLabel *m_typeTitle = nullptr;
    QLabel *m_tapsLabel = nullptr;
    QComboBox *m_taps = nullptr;
    QLabel *m_lowLabel = nullptr;
    QLabel *m_lowUnit = nullptr;
    Knob *m_lowKnob = nullptr;
    ValueField *m_lowEdit = nullptr;
    QWidget *m_highColumn = nullptr;
    QLabel *m_highLabel = nullptr;
    QLabel *m_highUnit = nullptr;
    Knob *m_highKnob = nullptr;
    ValueField *m_highEdit = nullptr;
    QWidget *m_frequencyPanel = nullptr;
    QWidget *m_windowPanel = nullptr;
    QLabel *m_windowLabel = nullptr;
    QComboBox *m_window = nullptr;
    QLabel *m_betaLabel = nullptr;
    QComboBox *m_beta = nullptr;
    QPushButton *m_enable = nullptr;
    QPushButton *m_update = nullptr;
    QPushButton *m_view = nullptr;
    QPushButton *m_import = nullptr;
    QPushButton *m_export = nullptr;
    QPushButton *m_copy = nullptr;
    QPushButton *m_clear = nullptr;
    FirGraph *m_graph = nullptr;
    QWidget *m_body = nullptr;
    QWidget *m_typeBox = nullptr;
};
