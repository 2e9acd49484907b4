#include "qsiggenerator.h"

#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <cmath>

#include "core/link/frame.h"
#include "core/link/link.h"
#include "core/protocol/protocol.h"
#include "ui/controls/keyboardaccess.h"
#include "ui/controls/qfader.h"
#include "ui/controls/valuefield.h"

namespace {

namespace G = Protocol::Generator;
constexpr quint8 LockParam = Protocol::Security::lockParam(Frame::SignalGenerator);

template <quint8 P>
constexpr int ReportSize = Protocol::ReportSize<G::params, P>;

QString outputTitle(int output)
{
    return QStringLiteral("OUT %1").arg(output + 1);
}

int wholeDb(float dB)
{
    return GeneratorRecord::boundGain(int(std::trunc(dB)));
}

} // namespace

QSigGenerator::QSigGenerator(Link *link, QWidget *parent)
    : ModulePage(link, Frame::SignalGenerator, OutputCount, DefaultTickMs, parent)
{
    setObjectName(QStringLiteral("Signal"));
    setStyleSheet(QStringLiteral("QWidget#sigGenCtrlWidget, QWidget#sigOutWidget {"
                                 " background-color: rgb(40, 40, 41); border-radius: 4px; }"));
    QFont font = this->font();
    font.setPointSize(10);
    auto *content = new QWidget(this);
    content->setObjectName(QStringLiteral("sigGeneratorWidget"));
    content->setFont(font);

    auto *generator = new QWidget(content);
    generator->setObjectName(QStringLiteral("sigGenCtrlWidget"));
    auto *grid = new QGridLayout(generator);
    grid->setContentsMargins(12, 8, 12, 8);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);

    m_source = new QComboBox(generator);
    m_source->setMinimumSize(78, 25);
    m_source->addItems({QStringLiteral("PinkNoise"), QStringLiteral("Sine"), QStringLiteral("WhiteNoise")});
    m_source->setCurrentIndex(m_record.source);
    connect(m_source, qOverload<int>(&QComboBox::currentIndexChanged), this, &QSigGenerator::SGSrcChanged);

    m_freqCaption = new QLabel(generator);
    m_freqEdit = new ValueField(generator);
    m_freqEdit->setRange(GeneratorRecord::MinFrequency, GeneratorRecord::MaxFrequency, 0, QStringLiteral("Hz"));
    // 50 pixels hold "20000" in Arial; a wider font widens the field.
    m_freqEdit->setFixedWidth(qMax(50, QFontMetrics(font).horizontalAdvance(QStringLiteral("20000")) + 16));
    m_freqEdit->setAlignment(Qt::AlignCenter);
    // No knob here: the arrow keys and the wheel step it like one.
    m_freqEdit->setLogarithmicSteps(true);
    connect(m_freqEdit, &ValueField::edited, this, &QSigGenerator::freqEditingFinished);

    m_gainCaption = new QLabel(generator);
    m_gainEdit = new ValueField(generator);
    m_gainEdit->setRange(GeneratorRecord::MinGain, GeneratorRecord::MaxGain, 0, QStringLiteral("dB"));
    m_gainEdit->setFixedWidth(40);
    m_gainEdit->setAlignment(Qt::AlignCenter);
    connect(m_gainEdit, &ValueField::edited, this, &QSigGenerator::gainEditingFinished);

    m_fader = new QFader(generator);
    m_fader->setFixedSize(55, 200);
    m_fader->setRange(GeneratorRecord::MinGain, GeneratorRecord::MaxGain);
    m_fader->setValue(m_record.gain);
    m_fader->setDecimals(0);
    m_fader->setStep(1.0f);
    connect(m_fader, &QFader::valueChanged, this, &QSigGenerator::sigGainChanged);

    m_mute = new QPushButton(generator);
    m_mute->setObjectName(QStringLiteral("muteButton"));
    m_mute->setCheckable(true);
    m_mute->setMinimumSize(65, 30);
    connect(m_mute, &QPushButton::clicked, this, &QSigGenerator::muteClicked);

    grid->addWidget(m_source, 0, 0, 1, 2);
    grid->addWidget(m_freqCaption, 1, 0);
    grid->addWidget(m_freqEdit, 1, 1);
    grid->addWidget(m_gainCaption, 2, 0);
    grid->addWidget(m_gainEdit, 2, 1);
    grid->addWidget(m_fader, 3, 0, 1, 2, Qt::AlignHCenter);
    grid->addWidget(m_mute, 4, 0, 1, 2, Qt::AlignHCenter);

    auto *outputs = new QWidget(content);
    outputs->setObjectName(QStringLiteral("sigOutWidget"));
    auto *outLayout = new QVBoxLayout(outputs);
    outLayout->setContentsMargins(12, 10, 12, 12);
    outLayout->setSpacing(10);
    m_outputCaption = new QLabel(outputs);
    m_outputCaption->setObjectName(QStringLiteral("titleLabel"));
    outLayout->addWidget(m_outputCaption);
    auto *buttons = new QGridLayout;
    buttons->setSpacing(8);
    for (int output = 0; output < OutputCount; ++output) {
        auto *button = new QPushButton(outputTitle(output), outputs);
        button->setObjectName(QStringLiteral("normalButton"));
        button->setCheckable(true);
        button->setMinimumSize(80, 32);
        QSizePolicy policy = button->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        button->setSizePolicy(policy);
        connect(button, &QPushButton::clicked, this, &QSigGenerator::outButtonClicked);
        buttons->addWidget(button, output / 4, output % 4);
        m_outputs[size_t(output)] = button;
    }
    outLayout->addLayout(buttons);
    outLayout->addStretch(1);

    auto *row = new QHBoxLayout(content);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);
    row->addWidget(generator, 0, Qt::AlignTop);
    row->addWidget(outputs, 0, Qt::AlignTop);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addStretch(1);
    layout->addWidget(content, 0, Qt::AlignTop);
    layout->addStretch(1);

    showFrequency();
    showGain();
    retranslate();
}

QSigGenerator::~QSigGenerator() = default;

void QSigGenerator::retranslate()
{
    m_freqCaption->setText(tr("Freq(Hz)"));
    m_gainCaption->setText(tr("Gain(dB)"));
    m_mute->setText(tr("Mute"));
    m_outputCaption->setText(tr("Output Channel"));
    const QStringList items{tr("PinkNoise"), tr("Sine"), tr("WhiteNoise")};
    for (int i = 0; i < items.size() && i < m_source->count(); ++i)
        m_source->setItemText(i, items.at(i));
    m_freqCaption->setToolTip(tr("Sine frequency in hertz"));
    m_gainCaption->setToolTip(tr("Gain in dB"));
    KeyboardAccess::describe(m_source, tr("Generator signal"), tr("Test signal: pink noise, sine or white noise"));
    KeyboardAccess::describe(m_freqEdit, tr("Generator frequency in Hz"), tr("Sine frequency in hertz"));
    KeyboardAccess::describe(m_gainEdit, tr("Generator gain in dB"), tr("Gain in dB"));
    KeyboardAccess::describe(m_fader, tr("Generator gain fader"), tr("Gain in dB"));
    KeyboardAccess::describe(m_mute, tr("Generator mute"));
    // Named after the fixed output title: the button shows the operator's
    // label when there is one, which need not be unique.
    for (int output = 0; output < OutputCount; ++output)
        KeyboardAccess::describe(m_outputs[size_t(output)], tr("Test signal to %1").arg(outputTitle(output)));
}

void QSigGenerator::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    ModulePage::changeEvent(event);
}

void QSigGenerator::setOutLabel(uchar channel, const QString &label)
{
    if (channel < OutputCount)
        m_outputs[channel]->setText(label.isEmpty() ? outputTitle(channel) : label);
}

void QSigGenerator::sendGlobal(quint8 param, const void *bytes, quint16 count)
{
    if (dropsDeferredSend(param))
        return;
    if (Link *l = link())
        l->sendFrame(Frame::Module, moduleId(), param, Frame::Set, bytes, count);
}

void QSigGenerator::sendFrequency(float hz)
{
    uchar bytes[GeneratorRecord::FrequencySize];
    GeneratorRecord::encodeFloat(bytes, hz);
    sendGlobal(G::Frequency, bytes, sizeof bytes);
}

void QSigGenerator::sendGain()
{
    uchar bytes[GeneratorRecord::GainSize];
    GeneratorRecord::encodeFloat(bytes, m_record.gain);
    sendGlobal(G::Gain, bytes, sizeof bytes);
}

void QSigGenerator::showFrequency()
{
    m_freqEdit->setText(QString::number(m_record.frequency));
}

void QSigGenerator::showGain()
{
    const int dB = wholeDb(m_record.gain);
    if (m_fader->value() != dB) {
        const QSignalBlocker blocker(m_fader);
        m_fader->setValue(float(dB));
    }
    setTextQuietly(m_gainEdit, QString::number(dB));
}

void QSigGenerator::muteClicked(bool checked)
{
    m_record.mute = checked;
    setCheckedQuietly(m_mute, checked);
    const quint8 value = checked ? 1 : 0;
    sendGlobal(G::Mute, &value, GeneratorRecord::MuteSize);
}

void QSigGenerator::outButtonClicked(bool checked)
{
    for (int output = 0; output < OutputCount; ++output) {
        if (sender() != m_outputs[size_t(output)])
            continue;
        m_record.output[size_t(output)] = checked;
        const quint8 value = checked ? 1 : 0;
        sendSet(G::Output, quint8(output), &value, GeneratorRecord::RoutingSize);
        return;
    }
}

void QSigGenerator::SGSrcChanged(int index)
{
    if (index < 0 || index >= GeneratorRecord::SourceCount)
        return;
    // The unit starts a sine at 1000 Hz; the page says so before the
    // source switches, so the operator never hears an old frequency.
    if (index == GeneratorRecord::Sine && m_record.frequency != GeneratorRecord::DefaultFrequency) {
        m_record.frequency = GeneratorRecord::DefaultFrequency;
        showFrequency();
        sendFrequency(float(GeneratorRecord::DefaultFrequency));
    }
    m_record.source = quint8(index);
    const quint8 value = quint8(index);
    sendGlobal(G::Source, &value, GeneratorRecord::SourceSize);
}

void QSigGenerator::freqEditingFinished()
{
    bool ok = false;
    double hz = m_freqEdit->text().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(hz)) {
        showFrequency();
        return;
    }
    // The field takes five digits; the unit's sine stays in the audio band.
    hz = qBound(double(GeneratorRecord::MinFrequency), hz, double(GeneratorRecord::MaxFrequency));
    m_record.frequency = GeneratorRecord::wholeFrequency(hz);
    showFrequency();
    sendFrequency(float(hz));
}

void QSigGenerator::gainEditingFinished()
{
    bool ok = false;
    const double typed = m_gainEdit->text().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(typed)) {
        showGain();
        return;
    }
    // The generator works in whole dB: the field has already rounded a typed
    // 5.5 to the nearest, halves upward.
    const int dB = GeneratorRecord::boundGain(int(std::floor(typed + 0.5)));
    m_record.gain = float(dB);
    m_gainPending.cancel();
    m_gainEdit->setText(QString::number(dB));
    showGain();
    sendGain();
}

void QSigGenerator::sigGainChanged(float value)
{
    m_record.gain = float(wholeDb(value));
    showGain();
    m_gainPending.arm();
    m_busy.hold();
}

void QSigGenerator::advance()
{
    // The lock follows the unit whether the page is shown or not.
    if (tickCount() % 10 == 0) {
        if (Link *l = link())
            l->sendQuery(Frame::System, Frame::Security, LockParam);
    }
    if (m_gainPending.tick())
        sendGain();
    m_busy.tick();
}

void QSigGenerator::poll(quint32 tick)
{
    if (tick % 10 != 0)
        return;
    for (int output = 0; output < OutputCount; ++output)
        queryChannel(G::Output, quint8(output));
    for (quint8 param : {G::Frequency, G::Source, G::Mute, G::Gain})
        queryAll(param);
}

void QSigGenerator::onMessage(quint8 param, quint8 op, quint16 length, const uchar *payload)
{
    if (!isReport(op) || !payload)
        return;
    switch (param) {
    case G::Output:
        if (length != ReportSize<G::Output> || payload[0] >= OutputCount)
            return;
        m_record.output[payload[0]] = payload[1] != 0;
        setCheckedQuietly(m_outputs[payload[0]], payload[1] != 0);
        break;
    case G::Frequency: {
        float hz = 0.0f;
        if (length != ReportSize<G::Frequency> || !GeneratorRecord::decodeFloat(payload, &hz))
            return;
        const quint16 whole = GeneratorRecord::wholeFrequency(double(hz));
        if (whole != m_record.frequency) {
            m_record.frequency = whole;
            if (!m_freqEdit->hasFocus())
                showFrequency();
        }
        break;
    }
    case G::Source:
        if (length != ReportSize<G::Source> || payload[0] >= GeneratorRecord::SourceCount)
            return;
        m_record.source = payload[0];
        setIndexQuietly(m_source, payload[0]);
        break;
    case G::Gain: {
        float dB = 0.0f;
        if (length != ReportSize<G::Gain> || m_busy.isActive() || !GeneratorRecord::decodeFloat(payload, &dB))
            return;
        dB = qBound(float(GeneratorRecord::MinGain), dB, float(GeneratorRecord::MaxGain));
        if (dB != m_record.gain) {
            m_record.gain = dB;
            showGain();
        }
        break;
    }
    case G::Mute:
        if (length != ReportSize<G::Mute>)
            return;
        m_record.mute = payload[0] != 0;
        setCheckedQuietly(m_mute, m_record.mute);
        break;
    default:
        break;
    }
}

void QSigGenerator::setRecord(const GeneratorRecord &record)
{
    for (int o = 0; o < OutputCount; ++o) {
        m_record.output[size_t(o)] = record.output[size_t(o)];
        setCheckedQuietly(m_outputs[size_t(o)], record.output[size_t(o)]);
    }
    if (record.frequency != m_record.frequency) {
        m_record.frequency = record.frequency;
        if (!m_freqEdit->hasFocus())
            showFrequency();
    }
    if (record.source < GeneratorRecord::SourceCount) {
        m_record.source = record.source;
        setIndexQuietly(m_source, record.source);
    }
    if (std::isfinite(record.gain)) {
        const float dB = qBound(float(GeneratorRecord::MinGain), record.gain, float(GeneratorRecord::MaxGain));
        if (dB != m_record.gain) {
            m_record.gain = dB;
            showGain();
        }
    }
    m_record.mute = record.mute;
    setCheckedQuietly(m_mute, record.mute);
}

void QSigGenerator::applySecurityState(uchar channel, uchar state)
{
    if (channel < OutputCount)
        applyLock(m_outputs[channel], state);
}
