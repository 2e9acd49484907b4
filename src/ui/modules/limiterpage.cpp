#include "limiterpage.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyleOption>
#include <QVBoxLayout>

#include <cmath>

#include "core/link/frame.h"
#include "core/link/link.h"
#include "core/protocol/protocol.h"
#include "qchannelselect.h"
#include "ui/common/prompt.h"
#include "ui/controls/keyboardaccess.h"
#include "ui/controls/knob.h"
#include "ui/controls/qmeterwidget.h"
#include "ui/controls/qtlimitctrl.h"
#include "ui/controls/valuefield.h"

namespace {

namespace L = Protocol::Limiter;

// Threshold, ratio (no unit), attack, decay.
const QString FieldUnits[] = {QStringLiteral("dB"), QString(), QStringLiteral("ms"), QStringLiteral("ms")};

QString levelText(int level)
{
    return QStringLiteral("%1dB").arg(level);
}

QFont pointFont(const QFont &base, int points, bool bold = false)
{
    QFont font = base;
    font.setPointSize(points);
    font.setBold(bold);
    return font;
}

QLabel *titleLabel(QWidget *parent, const QFont &font)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QStringLiteral("titleLabel"));
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QMeterWidget *levelMeter(QWidget *parent, int minimum, int maximum, bool topDown)
{
    auto *meter = new QMeterWidget(parent);
    meter->setFixedSize(20, 220);
    meter->setSegmentCount(45);
    meter->setRange(minimum, maximum);
    meter->setTopDown(topDown);
    meter->setValue(minimum);
    return meter;
}

} // namespace

LimiterPage::LimiterPage(Link *link, const Setup &setup, QWidget *parent)
    : ModulePage(link, setup.moduleId, setup.channels, DefaultTickMs, parent)
    , m_setup(setup)
    , m_records(setup.channels)
{
    build();
    retranslate();
    showRecord(true);
}

LimiterPage::~LimiterPage()
{
    // A field losing focus while the page is torn down would still report
    // "editing finished" to a page that is half gone.
    for (QLineEdit *field : m_fields)
        field->disconnect(this);
}

void LimiterPage::setPrompt(Prompt *prompt)
{
    m_prompt = prompt;
}

QString LimiterPage::channelName(int channel) const
{
    if (m_setup.inputs)
        return QStringLiteral("IN %1").arg(QChar(QLatin1Char('A').unicode() + channel));
    return QStringLiteral("OUT %1").arg(channel + 1);
}

void LimiterPage::build()
{
    setStyleSheet(QStringLiteral("QWidget#channelWidget, QWidget#chartPanel, QWidget#cfgWidget {"
                                 " background-color: rgb(40, 40, 41); border-radius: 4px; }"
                                 "QPushButton#normalButton { padding: 0px; }"));
    const QFont labelFont = pointFont(font(), 8);
    const QFont titleFont = pointFont(font(), 9, true);
    const QFont buttonFont = pointFont(font(), 9);

    auto *page = new QVBoxLayout(this);
    page->setContentsMargins(4, 4, 4, 4);
    page->setSpacing(4);

    // Channel row.
    m_channelWidget = new QWidget(this);
    m_channelWidget->setObjectName(QStringLiteral("channelWidget"));
    m_channelWidget->setAttribute(Qt::WA_StyledBackground);
    auto *channelRow = new QHBoxLayout(m_channelWidget);
    channelRow->setContentsMargins(6, 4, 6, 4);
    channelRow->setSpacing(4);
    m_channelTitle = titleLabel(m_channelWidget, titleFont);
    channelRow->addWidget(m_channelTitle);
    channelRow->addSpacing(6);
    for (int c = 0; c < m_setup.channels; ++c) {
        auto *button = new QPushButton(channelName(c), m_channelWidget);
        button->setObjectName(QStringLiteral("normalButton"));
        button->setCheckable(true);
        button->setFixedSize(52, 25);
        button->setFont(buttonFont);
        button->setChecked(c == 0);
        connect(button, &QPushButton::clicked, this, &LimiterPage::channelChanged);
        channelRow->addWidget(button);
        m_channelButtons.append(button);
    }
    channelRow->addSpacing(16);
    m_copy = new QPushButton(m_channelWidget);
    m_reset = new QPushButton(m_channelWidget);
    for (QPushButton *button : {m_copy, m_reset}) {
        button->setObjectName(QStringLiteral("normalButton"));
        button->setFixedSize(64, 25);
        button->setFont(buttonFont);
        channelRow->addWidget(button);
    }
    channelRow->addStretch(1);
    connect(m_copy, &QPushButton::clicked, this, &LimiterPage::CopyToClicked);
    connect(m_reset, &QPushButton::clicked, this, &LimiterPage::ResetClicked);
    page->addWidget(m_channelWidget);

    // Chart, meters and controls; hidden as a whole for a hidden channel.
    m_body = new QWidget(this);
    QSizePolicy keepPlace = m_body->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    m_body->setSizePolicy(keepPlace);
    auto *bodyRow = new QHBoxLayout(m_body);
    bodyRow->setContentsMargins(0, 0, 0, 0);
    bodyRow->setSpacing(4);

    auto *chartPanel = new QWidget(m_body);
    chartPanel->setObjectName(QStringLiteral("chartPanel"));
    chartPanel->setAttribute(Qt::WA_StyledBackground);
    auto *chartRow = new QHBoxLayout(chartPanel);
    chartRow->setContentsMargins(8, 8, 8, 8);
    chartRow->setSpacing(10);
    m_chart = new qtLimitCtrl(chartPanel);
    m_chart->setObjectName(QStringLiteral("chartWidget"));
    m_chart->setFixedSize(250, 250);
    chartRow->addWidget(m_chart, 0, Qt::AlignTop);

    auto meterColumn = [&](QLabel *&title, QLabel *&label, QMeterWidget *meter, const QString &initial) {
        auto *column = new QVBoxLayout;
        column->setSpacing(2);
        title = titleLabel(chartPanel, labelFont);
        label = new QLabel(initial, chartPanel);
        label->setFont(labelFont);
        label->setAlignment(Qt::AlignCenter);
        label->setFixedWidth(40);
        column->addWidget(title, 0, Qt::AlignHCenter);
        column->addWidget(label, 0, Qt::AlignHCenter);
        column->addWidget(meter, 0, Qt::AlignHCenter);
        column->addStretch(1);
        chartRow->addLayout(column);
    };
    m_inMeter = levelMeter(chartPanel, MeterFloor, MeterCeiling, false);
    m_outMeter = levelMeter(chartPanel, MeterFloor, MeterCeiling, false);
    m_reductionMeter = levelMeter(chartPanel, 0, ReductionCeiling, true);
    meterColumn(m_inTitle, m_inLabel, m_inMeter, levelText(MeterFloor));
    meterColumn(m_outTitle, m_outLabel, m_outMeter, levelText(MeterFloor));
    meterColumn(m_reductionTitle, m_reductionLabel, m_reductionMeter, levelText(0));
    bodyRow->addWidget(chartPanel);

    m_cfg = new QWidget(m_body);
    m_cfg->setObjectName(QStringLiteral("cfgWidget"));
    m_cfg->setAttribute(Qt::WA_StyledBackground);
    auto *cfgColumn = new QVBoxLayout(m_cfg);
    cfgColumn->setContentsMargins(10, 8, 10, 8);
    cfgColumn->setSpacing(6);
    m_enable = new QPushButton(m_cfg);
    m_enable->setObjectName(QStringLiteral("normalButton"));
    m_enable->setCheckable(true);
    m_enable->setFixedSize(70, 25);
    m_enable->setFont(buttonFont);
    connect(m_enable, &QPushButton::clicked, this, &LimiterPage::enableClicked);
    cfgColumn->addWidget(m_enable, 0, Qt::AlignHCenter);

    auto *knobGrid = new QGridLayout;
    knobGrid->setHorizontalSpacing(16);
    knobGrid->setVerticalSpacing(2);
    struct KnobSetup
    {
        float minimum;
        float maximum;
        float initial;
    };
    const KnobSetup knobSetups[ParameterCount] = {
        {LimiterRecord::MinThreshold * 10.0f, LimiterRecord::MaxThreshold * 10.0f, 0.0f},
        {float(LimiterRecord::MinRatio), float(LimiterRecord::MaxRatio), 2.0f},
        {float(LimiterRecord::MinAttack), float(LimiterRecord::MaxAttack), 1.0f},
        {float(LimiterRecord::MinDecay), float(LimiterRecord::MaxDecay), 5.0f},
    };
    const QString initialTexts[ParameterCount] = {QStringLiteral("0.0"), QStringLiteral("2"), QStringLiteral("1"),
                                                  QStringLiteral("5")};
    for (int p = 0; p < ParameterCount; ++p) {
        const int row = (p / 2) * 3;
        const int column = p % 2;
        m_knobTitles[p] = titleLabel(m_cfg, labelFont);
        auto *knob = new Knob(m_cfg);
        knob->setSize(1);
        knob->setMinimum(knobSetups[p].minimum);
        knob->setMaximum(knobSetups[p].maximum);
        knob->setValue(knobSetups[p].initial);
        m_knobs[p] = knob;
        auto *field = new ValueField(initialTexts[p], m_cfg);
        // The threshold knob turns in tenths of a dB, the field shows dB.
        const double fieldScale = p == Threshold ? 10.0 : 1.0;
        field->setRange(double(knobSetups[p].minimum) / fieldScale, double(knobSetups[p].maximum) / fieldScale,
                        p == Threshold ? 1 : 0, FieldUnits[p]);
        field->setFixedWidth(50);
        field->setAlignment(Qt::AlignCenter);
        field->setFont(labelFont);
        m_fields[p] = field;
        knobGrid->addWidget(m_knobTitles[p], row, column, Qt::AlignHCenter);
        knobGrid->addWidget(knob, row + 1, column, Qt::AlignHCenter);
        knobGrid->addWidget(field, row + 2, column, Qt::AlignHCenter);
    }
    knobGrid->setRowMinimumHeight(3, 0);
    cfgColumn->addLayout(knobGrid);
    cfgColumn->addStretch(1);
    bodyRow->addWidget(m_cfg);
    bodyRow->addStretch(1);
    page->addWidget(m_body);
    page->addStretch(1);

    connect(m_knobs[Threshold], &Knob::valueChanged, this, &LimiterPage::ThreshChanged);
    connect(m_knobs[Ratio], &Knob::valueChanged, this, &LimiterPage::RatioChanged);
    connect(m_knobs[Attack], &Knob::valueChanged, this, &LimiterPage::AttackChanged);
    connect(m_knobs[Decay], &Knob::valueChanged, this, &LimiterPage::DecayChanged);
    connect(m_fields[Threshold], &ValueField::edited, this, &LimiterPage::ThreshEditingFinished);
    connect(m_fields[Ratio], &ValueField::edited, this, &LimiterPage::RatioEditingFinished);
    connect(m_fields[Attack], &ValueField::edited, this, &LimiterPage::AttackEditingFinished);
    connect(m_fields[Decay], &ValueField::edited, this, &LimiterPage::DecayEditingFinished);
}

// Model and display.

LimiterRecord LimiterPage::record(uchar channel) const
{
    return channel < m_records.size() ? m_records.at(channel) : LimiterRecord();
}

void LimiterPage::setRecord(uchar channel, const LimiterRecord &record)
{
    if (channel >= m_records.size())
        return;
    m_records[channel] = record;
    if (channel == m_current)
        showRecord(false);
}

QPushButton *LimiterPage::channelButton(int channel) const
{
    return channel >= 0 && channel < m_channelButtons.size() ? m_channelButtons.at(channel) : nullptr;
}

bool LimiterPage::isPending(Parameter parameter) const
{
    return m_pending[parameter].isPending();
}

void LimiterPage::setKnobQuietly(Parameter parameter, float value)
{
    Knob *knob = m_knobs[parameter];
    if (knob->value() == value)
        return;
    const QSignalBlocker blocker(knob);
    knob->setValue(value);
}

void LimiterPage::showField(Parameter parameter, const QString &text, bool force)
{
    QLineEdit *field = m_fields[parameter];
    // Text the operator is typing stays until the edit is finished.
    if (!force && field->hasFocus() && field->isModified())
        return;
    if (field->text() != text) {
        const QSignalBlocker blocker(field);
        field->setText(text);
    }
}

void LimiterPage::showRecord(bool force)
{
    const LimiterRecord &r = m_records.at(m_current);
    setCheckedQuietly(m_enable, r.enable);
    setKnobQuietly(Threshold, float(std::lround(double(r.threshold) * 10.0)));
    setKnobQuietly(Ratio, r.ratio);
    setKnobQuietly(Attack, r.attack);
    setKnobQuietly(Decay, r.decay);
    showField(Threshold, QString::number(double(r.threshold + 0.0f), 'f', 1), force);
    showField(Ratio, QString::number(r.ratio), force);
    showField(Attack, QString::number(r.attack), force);
    showField(Decay, QString::number(r.decay), force);
    m_chart->setThreshold(double(r.threshold));
    m_chart->setRatio(r.ratio);
    m_chart->setBypass(!r.enable);
}

void LimiterPage::setCurrentChannel(uchar channel)
{
    if (channel >= m_records.size())
        return;
    if (channel != m_current)
        flushPending();
    m_current = channel;
    for (int c = 0; c < m_channelButtons.size(); ++c)
        setCheckedQuietly(m_channelButtons.at(c), c == channel);
    showRecord(true);
    applySecurityState(channel, securityState(channel));
    describeControls();
}

// Operator actions.

void LimiterPage::channelChanged()
{
    const int c = m_channelButtons.indexOf(qobject_cast<QPushButton *>(sender()));
    if (c >= 0)
        setCurrentChannel(uchar(c));
}

void LimiterPage::enableClicked(bool checked)
{
    m_records[m_current].enable = checked;
    m_chart->setBypass(!checked);
    sendRecord(m_current);
}

void LimiterPage::ThreshChanged(float value)
{
    // The knob counts tenths of a dB; the threshold keeps that resolution.
    const float threshold = LimiterRecord::clampThreshold(std::round(double(value)) / 10.0);
    LimiterRecord &r = m_records[m_current];
    if (r.threshold != threshold) {
        r.threshold = threshold;
        showField(Threshold, QString::number(double(threshold + 0.0f), 'f', 1), true);
        m_chart->setThreshold(double(threshold));
    }
    knobMoved(Threshold);
}

void LimiterPage::RatioChanged(float value)
{
    const quint8 ratio = LimiterRecord::clampRatio(double(value));
    LimiterRecord &r = m_records[m_current];
    if (r.ratio != ratio) {
        r.ratio = ratio;
        showField(Ratio, QString::number(ratio), true);
        m_chart->setRatio(ratio);
    }
    knobMoved(Ratio);
}

void LimiterPage::AttackChanged(float value)
{
    const quint16 attack = LimiterRecord::clampAttack(double(value));
    LimiterRecord &r = m_records[m_current];
    if (r.attack != attack) {
        r.attack = attack;
        showField(Attack, QString::number(attack), true);
    }
    knobMoved(Attack);
}

void LimiterPage::DecayChanged(float value)
{
    const quint16 decay = LimiterRecord::clampDecay(double(value));
    LimiterRecord &r = m_records[m_current];
    if (r.decay != decay) {
        r.decay = decay;
        showField(Decay, QString::number(decay), true);
    }
    knobMoved(Decay);
}

void LimiterPage::knobMoved(Parameter parameter)
{
    m_pendingChannel = m_current;
    m_pending[parameter].arm();
    m_busy.hold();
}

void LimiterPage::ThreshEditingFinished()
{
    fieldFinished(Threshold);
}

void LimiterPage::RatioEditingFinished()
{
    fieldFinished(Ratio);
}

void LimiterPage::AttackEditingFinished()
{
    fieldFinished(Attack);
}

void LimiterPage::DecayEditingFinished()
{
    fieldFinished(Decay);
}

void LimiterPage::fieldFinished(Parameter parameter)
{
    QLineEdit *field = m_fields[parameter];
    // The field has already pulled a readable entry into the range.
    bool ok = false;
    double value = field->text().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        showRecord(true);
        return;
    }
    LimiterRecord &r = m_records[m_current];
    switch (parameter) {
    case Threshold: r.threshold = LimiterRecord::clampThreshold(value); break;
    case Ratio: r.ratio = LimiterRecord::clampRatio(value); break;
    case Attack: r.attack = LimiterRecord::clampAttack(value); break;
    case Decay: r.decay = LimiterRecord::clampDecay(value); break;
    case ParameterCount: break;
    }
    field->setModified(false);
    showRecord(true);
    // The typed value replaces a knob turn of the same parameter still waiting.
    m_pending[parameter].cancel();
    sendRecord(m_current);
}

void LimiterPage::CopyToClicked()
{
    flushPending();
    const int source = m_setup.inputs ? m_current : QChannelSelect::FirstOutputSource + m_current;
    QChannelSelect::Selection targets;
    if (!QChannelSelect::select(this, source, &targets))
        return;
    const quint8 ownMask = m_setup.inputs ? targets.inputMask : targets.outputMask;
    const quint8 otherMask = m_setup.inputs ? targets.outputMask : targets.inputMask;
    const LimiterRecord current = m_records.at(m_current);
    for (int c = 0; c < m_records.size(); ++c) {
        if (c != m_current && (ownMask & (1u << c)))
            m_records[c] = current;
    }
    if (otherMask != 0) {
        char bytes[LimiterRecord::Size];
        current.encode(reinterpret_cast<uchar *>(bytes));
        emitCopy(otherMask, bytes);
    }
    const uchar masks[2] = {targets.inputMask, targets.outputMask};
    sendSet(L::Copy, m_current, masks, sizeof masks);
}

void LimiterPage::channelCopy(uchar select, char *args)
{
    if (!args)
        return;
    const LimiterRecord copied = LimiterRecord::decode(reinterpret_cast<const uchar *>(args));
    for (int c = 0; c < m_records.size(); ++c) {
        if (select & (1u << c))
            m_records[c] = copied;
    }
    if (select & (1u << m_current))
        showRecord(false);
}

void LimiterPage::ResetClicked()
{
    Prompt *prompt = m_prompt ? m_prompt : Prompt::standard();
    if (!prompt->confirmDestructive(this, Prompt::Icon::Warning, tr("warning"), tr("Clear all setting?"),
                                    {tr("OK"), tr("Cancle")}))
        return;
    if (m_pendingChannel == m_current) {
        for (PendingSend &pending : m_pending)
            pending.cancel();
    }
    m_records[m_current] = LimiterRecord();
    showRecord(true);
    sendSet(L::Reset, m_current, nullptr, 0);
}

void LimiterPage::sendRecord(uchar channel)
{
    uchar bytes[LimiterRecord::Size];
    m_records.at(channel).encode(bytes);
    sendSet(L::Record, channel, bytes, sizeof bytes);
}

void LimiterPage::flushPending()
{
    bool due = false;
    for (PendingSend &pending : m_pending) {
        due = due || pending.isPending();
        pending.cancel();
    }
    if (due)
        sendRecord(m_pendingChannel);
}

// Timer.

void LimiterPage::advance()
{
    // Gain reduction feeds the overview whether or not the page is shown.
    if (tickCount() % 5 == 0)
        queryAll(L::Levels);
    bool due = false;
    for (PendingSend &pending : m_pending)
        due = pending.tick() || due;
    if (due)
        sendRecord(m_pendingChannel);
    m_busy.tick();
}

void LimiterPage::poll(quint32 tick)
{
    if (tick % 10 != 0)
        return;
    if (link())
        link()->sendQuery(Frame::System, Frame::Security, m_setup.lockParam);
    for (int c = 0; c < m_records.size(); ++c)
        queryChannel(L::Record, uchar(c));
}

// Replies.

void LimiterPage::onMessage(quint8 param, quint8 op, quint16 length, const uchar *payload)
{
    if (!isReport(op) || !payload)
        return;
    const int channels = m_records.size();
    if (param == L::Levels) {
        if (length != Protocol::ReportSize<L::params, L::Levels> * channels)
            return;
        for (int c = 0; c < channels; ++c) {
            const int input = qint8(payload[2 * c]);
            const int output = qint8(payload[2 * c + 1]);
            // The difference of two i8 levels, kept whole: a wrapped 8-bit
            // difference would show a large reduction as a negative one.
            Q_EMIT sigMeter(uchar(c), input - output);
            if (c == m_current && isVisible())
                showLevels(input, output);
        }
        return;
    }
    if (param != L::Record || length != Protocol::ReportSize<L::params, L::Record> || payload[0] >= channels
        || m_busy.isActive())
        return;
    const uchar channel = payload[0];
    const LimiterRecord received = LimiterRecord::decode(payload + 1);
    if (received == m_records.at(channel))
        return;
    m_records[channel] = received;
    if (channel == m_current)
        showRecord(false);
}

void LimiterPage::showLevels(int input, int output)
{
    const int shownInput = qMax(input, int(MeterFloor));
    if (shownInput != m_shownInput) {
        m_shownInput = shownInput;
        setTextIfChanged(m_inLabel, levelText(shownInput));
        m_inMeter->setValue(shownInput);
    }
    const int shownOutput = qMax(output, int(MeterFloor));
    if (shownOutput != m_shownOutput) {
        m_shownOutput = shownOutput;
        setTextIfChanged(m_outLabel, levelText(shownOutput));
        m_outMeter->setValue(shownOutput);
    }
    const int reduction = input - output;
    if (reduction != m_shownReduction) {
        m_shownReduction = reduction;
        setTextIfChanged(m_reductionLabel, levelText(reduction));
        m_reductionMeter->setValue(reduction);
    }
}

void LimiterPage::resetMeters()
{
    showLevels(-100, -100);
}

// Locks, labels, language, look.

void LimiterPage::applySecurityState(uchar channel, uchar state)
{
    if (channel != m_current)
        return;
    // The channel row stays usable in every state: hiding it would leave no
    // way to reach the other channels.
    const bool hidden = state != 0 && state != 1;
    m_body->setVisible(!hidden);
    m_copy->setVisible(!hidden);
    m_reset->setVisible(!hidden);
    const bool editable = state == 0;
    m_cfg->setEnabled(editable);
    m_reset->setEnabled(editable);
    m_copy->setEnabled(editable);
}

void LimiterPage::setChannelLabel(uchar channel, const QString &label)
{
    if (QPushButton *button = channelButton(channel))
        button->setToolTip(label.trimmed());
}

void LimiterPage::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    ModulePage::changeEvent(event);
}

void LimiterPage::retranslate()
{
    m_channelTitle->setText(m_setup.inputs ? tr("Input Channel") : tr("Output Channel"));
    m_copy->setText(tr("Copy to"));
    m_reset->setText(tr("Reset"));
    m_inTitle->setText(tr("Input"));
    m_outTitle->setText(tr("Output"));
    m_reductionTitle->setText(tr("G-R"));
    m_enable->setText(tr("Enable"));
    m_knobTitles[Threshold]->setText(tr("Thresh(dB)"));
    m_knobTitles[Ratio]->setText(tr("Ratio"));
    m_knobTitles[Attack]->setText(tr("Attack(ms)"));
    m_knobTitles[Decay]->setText(tr("Decay(ms)"));
    m_reductionTitle->setToolTip(tr("Gain reduction in dB"));
    m_knobTitles[Threshold]->setToolTip(tr("Threshold in dB"));
    m_knobTitles[Ratio]->setToolTip(tr("Compression ratio (n:1)"));
    m_knobTitles[Attack]->setToolTip(tr("Attack time in milliseconds"));
    m_knobTitles[Decay]->setToolTip(tr("Decay time in milliseconds"));
    describeControls();
}

// The knobs and fields edit whichever channel is current: their names say
// which, so they follow every channel switch.
void LimiterPage::describeControls()
{
    for (int c = 0; c < m_channelButtons.size(); ++c)
        KeyboardAccess::describe(m_channelButtons.at(c), tr("Edit %1").arg(channelName(c)));
    const QString channel = channelName(m_current);
    KeyboardAccess::describe(m_copy, tr("Copy %1 to other channels").arg(channel));
    KeyboardAccess::describe(m_reset, tr("Reset %1").arg(channel));
    KeyboardAccess::describe(m_enable, tr("%1 limiter enable").arg(channel));
    KeyboardAccess::describe(m_knobs[Threshold], tr("%1 threshold knob").arg(channel), tr("Threshold in dB"));
    KeyboardAccess::describe(m_fields[Threshold], tr("%1 threshold in dB").arg(channel), tr("Threshold in dB"));
    KeyboardAccess::describe(m_knobs[Ratio], tr("%1 ratio knob").arg(channel), tr("Compression ratio (n:1)"));
    KeyboardAccess::describe(m_fields[Ratio], tr("%1 ratio").arg(channel), tr("Compression ratio (n:1)"));
    KeyboardAccess::describe(m_knobs[Attack], tr("%1 attack knob").arg(channel), tr("Attack time in milliseconds"));
    KeyboardAccess::describe(m_fields[Attack], tr("%1 attack in ms").arg(channel),
                             tr("Attack time in milliseconds"));
    KeyboardAccess::describe(m_knobs[Decay], tr("%1 decay knob").arg(channel), tr("Decay time in milliseconds"));
    KeyboardAccess::describe(m_fields[Decay], tr("%1 decay in ms").arg(channel), tr("Decay time in milliseconds"));
}

void LimiterPage::paintEvent(QPaintEvent *)
{
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}
