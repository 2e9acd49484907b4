#pragma once

#include <QDialog>
#include <QPointer>
#include <QVector>

#include "core/protocol/protocoltypes.h"
#include "ui/common/tickers.h"
#include "ui/controls/valuefield.h"

class Link;
class Prompt;
class QFader;
class QLabel;
class QLineEdit;
class QPushButton;
class QSettings;
class QTimer;

// The service dialog for the input and output calibration trims (param 32 of
// the level modules), the whole-matrix "Mix" switch and the unit's
// configuration reset; reached with Ctrl+J / Ctrl+T from the input level page.
// Its timer runs only while it is shown. Trim replies come in through the
// level pages (setInCail / setOutCail).
class QCail : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(QCail)

public:
    static constexpr int Inputs = Protocol::count(Protocol::Channels::Inputs);
    static constexpr int Outputs = Protocol::count(Protocol::Channels::Outputs);
    static constexpr int FaderSendTicks = 5;
    static constexpr int BusyTicks = 10;
    static const char *const GeometryKey;

    explicit QCail(Link *link, QWidget *parent = nullptr);
    ~QCail() override;

    // Message boxes go through it; the standard dialogs until set.
    void setPrompt(Prompt *prompt);
    // The platform settings store for the dialog's geometry: restores the
    // stored geometry now, writes it back whenever the dialog is hidden and
    // when it is destroyed while the store still exists.
    void setSettings(QSettings *settings);

    // The eight bytes of the unit's configuration-reset command.
    static QByteArray systemResetKeyword();

    float inTrim(int channel) const;
    float outTrim(int channel) const;
    bool isBusy() const { return m_busy.isActive(); }
    QTimer *timer() const { return m_timer; }

    QFader *inFader(int channel) const;
    QFader *outFader(int channel) const;
    QLineEdit *inEdit(int channel) const;
    QLineEdit *outEdit(int channel) const;
    QPushButton *inputLinkButton() const { return m_inputLink; }
    QPushButton *outputLinkButton() const { return m_outputLink; }
    QPushButton *mixButton() const { return m_mix; }
    QPushButton *systemResetButton() const { return m_systemReset; }

public Q_SLOTS:
    // Show a trim without sending.
    void setInlevelGain(uchar channel, float trim);
    void setOutlevelGain(uchar channel, float trim);
    // Replies from the unit; dropped while a fader moves.
    void setInCail(uchar channel, float trim);
    void setOutCail(uchar channel, float trim);
    void inlevelGainEditingFinished();
    void inlevelFaderChanged(float trim);
    void outlevelGainEditingFinished();
    void outlevelFaderChanged(float trim);
    void mixClicked(bool checked);
    void systemResetClicked();
    void timeOut20ms();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct Channel
    {
        QWidget *panel = nullptr;
        QLabel *title = nullptr;
        QLabel *unit = nullptr;
        ValueField *edit = nullptr;
        QFader *fader = nullptr;
        float trim = 0.0f;
        PendingSend pending{FaderSendTicks};
    };

    QWidget *buildChannel(Channel &channel, const QString &title, bool input);
    void retranslate();
    void showTrim(Channel &channel, float trim);
    void sendTrim(quint8 module, int channel, float trim);
    void faderMoved(QVector<Channel> &channels, QPushButton *link, QObject *fader, float trim);
    void editFinished(QVector<Channel> &channels, QPushButton *link, QObject *edit, quint8 module);
    void saveGeometrySetting();

    Link *m_link;
    Prompt *m_prompt = nullptr;
    QPointer<QSettings> m_settings;
    QTimer *m_timer;
    QVector<Channel> m_inputs;
    QVector<Channel> m_outputs;
    QPushButton *m_mix = nullptr;
    QPushButton *m_systemReset = nullptr;
    QPushButton *m_inputLink = nullptr;
    QPushButton *m_outputLink = nullptr;
    ReplyHoldOff m_busy{BusyTicks};
    quint32 m_ticks = 0;
    bool m_everShown = false;
};
