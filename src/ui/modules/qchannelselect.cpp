#include "qchannelselect.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/controls/keyboardaccess.h"

namespace {

const QSize ChannelButtonSize(40, 25);

quint8 maskOf(const QVector<QPushButton *> &buttons)
{
    quint8 mask = 0;
    for (int i = 0; i < buttons.size(); ++i) {
        if (buttons.at(i)->isChecked())
            mask = quint8(mask | (1u << i));
    }
    return mask;
}

QPushButton *channelButton(int number, QWidget *parent)
{
    auto *button = new QPushButton(QString::number(number), parent);
    button->setObjectName(QStringLiteral("normalButton"));
    button->setCheckable(true);
    button->setFixedSize(ChannelButtonSize);
    // Space ticks a channel; Return stays with "OK".
    button->setAutoDefault(false);
    return button;
}

} // namespace

QChannelSelect::QChannelSelect(QWidget *parent)
    : QDialog(parent)
    , m_inputGroup(new QGroupBox(this))
    , m_outputGroup(new QGroupBox(this))
    , m_ok(nullptr)
    , m_cancel(nullptr)
{
    setObjectName(QStringLiteral("channelSelectDialog"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setModal(true);

    auto *inputRow = new QHBoxLayout(m_inputGroup);
    for (int i = 0; i < Inputs; ++i) {
        QPushButton *button = channelButton(i + 1, m_inputGroup);
        connect(button, &QPushButton::clicked, this, &QChannelSelect::inputChannelBtnClicked);
        inputRow->addWidget(button);
        m_inputs.append(button);
    }
    inputRow->addStretch(1);

    auto *outputRow = new QHBoxLayout(m_outputGroup);
    for (int i = 0; i < Outputs; ++i) {
        QPushButton *button = channelButton(i + 1, m_outputGroup);
        connect(button, &QPushButton::clicked, this, &QChannelSelect::outputChannelBtnClicked);
        outputRow->addWidget(button);
        m_outputs.append(button);
    }

    // Made after the channel buttons: the focus chain starts with the
    // widgets made first, so the dialog opens on the first channel and Tab
    // ends on "OK" and "Cancel".
    m_ok = new QPushButton(this);
    m_cancel = new QPushButton(this);
    const QString dialogButtonStyle = QStringLiteral(
        "QPushButton {background-color: rgb(75, 74, 74);color: rgb(171, 171, 171);border-radius: 1px;"
        "min-width:60;min-height:20;}"
        "QPushButton:pressed {background: rgb(21, 148, 192);color: rgb(228, 236, 238);}");
    m_ok->setStyleSheet(dialogButtonStyle);
    m_cancel->setStyleSheet(dialogButtonStyle);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QChannelSelect::acceptClicked);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(m_ok);
    buttonRow->addWidget(m_cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_inputGroup);
    layout->addWidget(m_outputGroup);
    layout->addLayout(buttonRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    retranslate();
}

QChannelSelect::~QChannelSelect() = default;

bool QChannelSelect::select(QWidget *parent, int sourceChannel, Selection *result, bool outputGroupVisible)
{
    QChannelSelect dialog(parent);
    dialog.setOutputGroupVisible(outputGroupVisible);
    const bool accepted = dialog.run(sourceChannel);
    if (result) {
        result->inputMask = accepted ? dialog.inputMask() : 0;
        result->outputMask = accepted ? dialog.outputMask() : 0;
    }
    return accepted;
}

bool QChannelSelect::run(int sourceChannel)
{
    m_inputMask = 0;
    m_outputMask = 0;
    if (sourceChannel >= 0 && sourceChannel < Inputs)
        m_inputs.at(sourceChannel)->setEnabled(false);
    else if (sourceChannel >= FirstOutputSource && sourceChannel < FirstOutputSource + Outputs)
        m_outputs.at(sourceChannel - FirstOutputSource)->setEnabled(false);
    const bool accepted = exec() == QDialog::Accepted;
    if (!accepted) {
        m_inputMask = 0;
        m_outputMask = 0;
    }
    return accepted;
}

void QChannelSelect::setInputChecked(int index, bool on)
{
    if (QPushButton *button = inputButton(index))
        button->setChecked(on);
}

void QChannelSelect::setOutputChecked(int index, bool on)
{
    if (QPushButton *button = outputButton(index))
        button->setChecked(on);
}

void QChannelSelect::setOutputGroupVisible(bool visible)
{
    m_outputGroup->setVisible(visible);
}

QPushButton *QChannelSelect::inputButton(int index) const
{
    return index >= 0 && index < m_inputs.size() ? m_inputs.at(index) : nullptr;
}

QPushButton *QChannelSelect::outputButton(int index) const
{
    return index >= 0 && index < m_outputs.size() ? m_outputs.at(index) : nullptr;
}

void QChannelSelect::acceptClicked()
{
    m_inputMask = maskOf(m_inputs);
    // A hidden output group offers no outputs, whatever was preset.
    m_outputMask = m_outputGroup->isHidden() ? 0 : maskOf(m_outputs);
    accept();
}

// The masks follow the ticks as they change; "OK" takes them as they stand.
void QChannelSelect::inputChannelBtnClicked(bool)
{
    m_inputMask = maskOf(m_inputs);
}

void QChannelSelect::outputChannelBtnClicked(bool)
{
    m_outputMask = maskOf(m_outputs);
}

void QChannelSelect::hideEvent(QHideEvent *event)
{
    clearButtons();
    QDialog::hideEvent(event);
}

void QChannelSelect::clearButtons()
{
    for (QPushButton *button : qAsConst(m_inputs) + m_outputs) {
        button->setChecked(false);
        button->setEnabled(true);
    }
}

void QChannelSelect::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void QChannelSelect::retranslate()
{
    setWindowTitle(tr("Select Channel"));
    m_inputGroup->setTitle(tr("Input channel"));
    m_outputGroup->setTitle(tr("Output channel"));
    m_ok->setText(tr("OK"));
    m_cancel->setText(tr("Cancel"));
    // The buttons show bare numbers; the names say which side they are on.
    for (int i = 0; i < m_inputs.size(); ++i)
        KeyboardAccess::describe(m_inputs.at(i), tr("Input %1").arg(i + 1),
                                 QStringLiteral("IN %1").arg(QLatin1Char(char('A' + i))));
    for (int i = 0; i < m_outputs.size(); ++i)
        KeyboardAccess::describe(m_outputs.at(i), tr("Output %1").arg(i + 1), QStringLiteral("OUT %1").arg(i + 1));
}
