#pragma once

#include <QVector>

#include "core/records/delayrecord.h"
#include "ui/common/modulepage.h"
#include "ui/common/tickers.h"

class QDoubleSpinBox;
class ValueSpinBox;
class QHSlider;
class QLabel;
class QLineEdit;

// What the input and output delay pages share: one row per channel with a
// slider, a spin box in milliseconds and the same delay as a distance in
// metres and feet. Changes are sent five ticks after the last movement;
// replies are ignored while the operator is moving a control.
class DelayPage : public ModulePage
{
    Q_OBJECT
    Q_DISABLE_COPY(DelayPage)

public:
    ~DelayPage() override;

    void onMessage(quint8 param, quint8 op, quint16 length, const uchar *payload) override;

    float delay(int channel) const { return m_rows.at(channel).record.ms; }
    // Preset files: takes a delay as a reply from the unit would be taken
    // (limited to the full range, shown, nothing sent).
    void setDelay(int channel, float ms);

    QHSlider *slider(int channel) const { return m_rows.at(channel).slider; }
    ValueSpinBox *spinBox(int channel) const { return m_rows.at(channel).spin; }
    QLineEdit *metresField(int channel) const { return m_rows.at(channel).metres; }
    QLineEdit *feetField(int channel) const { return m_rows.at(channel).feet; }

public Q_SLOTS:
    void delaySliderChanged(float ms);
    void msChanged(double ms);

protected:
    DelayPage(Link *link, quint8 moduleId, int channelCount, quint8 lockParam, int maxMs,
              const QString &contentName, const QString &rowName, QWidget *parent);

    // The operator's value as the unit will take it (the output page snaps
    // it on units with the reduced range).
    virtual double acceptedValue(double ms) const { return ms; }
    virtual QString defaultTitle(int channel) const = 0;

    // Range and step of one row; the stored delay is left alone and nothing
    // is sent, the controls are pulled into the range.
    void setRowRange(int channel, int maxMs, double step);
    int rowMaximum(int channel) const { return m_rows.at(channel).maxMs; }
    void setTitle(int channel, const QString &label);

    void advance() override;
    void poll(quint32 tick) override;
    void applySecurityState(uchar channel, uchar state) override;
    void changeEvent(QEvent *event) override;

private:
    struct Row
    {
        QWidget *background = nullptr;
        QLabel *title = nullptr;
        QHSlider *slider = nullptr;
        ValueSpinBox *spin = nullptr;
        QLineEdit *metres = nullptr;
        QLineEdit *feet = nullptr;
        DelayRecord record;
        PendingSend pending;
        int maxMs = 0;
    };

    void buildRow(int channel, int maxMs, const QString &rowName, QWidget *content);
    void retranslate();
    void describeRow(int channel);
    int rowOf(const QObject *control) const;
    void operatorChange(int channel, double ms);
    // Writes the delay into the controls, whatever they show now.
    void showControls(int channel);
    void sendDelay(int channel);

    QVector<Row> m_rows;
    QLabel *m_msHeading = nullptr;
    QLabel *m_metresHeading = nullptr;
    QLabel *m_feetHeading = nullptr;
    ReplyHoldOff m_busy;
    int m_fieldWidth = 70;
    // The range of the unit family with the longest delays.
    int m_fullMaxMs;
    quint8 m_lockParam;
};
