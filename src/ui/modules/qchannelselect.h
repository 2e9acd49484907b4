#pragma once

#include <QDialog>
#include <QVector>

#include "core/protocol/protocoltypes.h"

class QGroupBox;
class QPushButton;

// "Select Channel": the target channels of a "Copy to" (limiter, filter,
// dynamic-EQ and FIR pages). The result is two masks, bit i of inputMask for
// input i (IN A = bit 0) and bit i of outputMask for output i (OUT 1 = bit 0);
// the calling page sends or applies its own copy command with them.
//
// Simplest use, from a page:
//
//     QChannelSelect::Selection targets;
//     if (!QChannelSelect::select(this, sourceChannel, &targets))
//         return;                 // cancelled: send nothing
//     ... targets.inputMask, targets.outputMask ...
//
// sourceChannel numbers the twelve buttons: 0..3 are inputs, 4..11 are
// outputs 0..7; the source's own button is disabled for the run. Pass
// outputGroupVisible = false to offer inputs only (dynamic EQ).
//
// A dialog kept by a page can be reused: run() returns whether "OK" was
// pressed, inputMask()/outputMask() read the result, and every run starts with
// nothing ticked.
//
// Tests: run() is modal. Queue the operator's clicks before it starts, e.g.
// QTimer::singleShot(0, [] { auto *d = qobject_cast<QChannelSelect *>(
// QApplication::activeModalWidget()); d->inputButton(0)->click();
// d->okButton()->click(); });
class QChannelSelect : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(QChannelSelect)

public:
    static constexpr int Inputs = Protocol::count(Protocol::Channels::Inputs);
    static constexpr int Outputs = Protocol::count(Protocol::Channels::Outputs);
    // sourceChannel values for outputs start here.
    static constexpr int FirstOutputSource = Inputs;

    struct Selection
    {
        quint8 inputMask = 0;
        quint8 outputMask = 0;
    };

    explicit QChannelSelect(QWidget *parent = nullptr);
    ~QChannelSelect() override;

    // Runs a fresh dialog over `parent`; fills `result` and returns true on
    // "OK", returns false (result cleared) on "Cancel" or close.
    static bool select(QWidget *parent, int sourceChannel, Selection *result, bool outputGroupVisible = true);

    // Disables the source's button, shows the dialog modally, and returns
    // whether "OK" was pressed. A source outside 0..11 disables nothing.
    bool run(int sourceChannel);

    quint8 inputMask() const { return m_inputMask; }
    quint8 outputMask() const { return m_outputMask; }

    // Ticks buttons before a run.
    void setInputChecked(int index, bool on);
    void setOutputChecked(int index, bool on);
    void setOutputGroupVisible(bool visible);

    QPushButton *inputButton(int index) const;
    QPushButton *outputButton(int index) const;
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

public Q_SLOTS:
    void acceptClicked();
    void inputChannelBtnClicked(bool checked);
    void outputChannelBtnClicked(bool checked);

protected:
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
    void clearButtons();

    QVector<QPushButton *> m_inputs;
    QVector<QPushButton *> m_outputs;
    QGroupBox *m_inputGroup;
    QGroupBox *m_outputGroup;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    quint8 m_inputMask = 0;
    quint8 m_outputMask = 0;
};
