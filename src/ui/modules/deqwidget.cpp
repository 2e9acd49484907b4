#include "deqwidget.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <cmath>

#include "channelpanel.h"
#include "core/link/frame.h"
#include "core/link/link.h"
#include "core/protocol/protocol.h"
#include "filtergraph.h"
#include "qchannelselect.h"
#include "ui/common/prompt.h"
#include "ui/controls/keyboardaccess.h"
#include "ui/controls/knob.h"
#include "ui/controls/valuefield.h"

namespace {

using PageParts::keepSpaceWhenHidden;
using PageParts::newPanel;
using PageParts::newTitle;

namespace D = Protocol::DynamicEq;

constexpr int ReportLength = Protocol::ReportSize<D::params, D::Band>;
constexpr int PollEvery = 2;
constexpr int GraphDbRange = 12;
constexpr int GraphRows = 6;

// What each knob-and-field pair holds: the knob counts in units of 1 /
// scale, the field shows the value itself.
struct ControlSetup
{
    int knobMin;
    int knobMax;
    int knobInitial;
    int scale;       // 1, 10 (0.1 units) or 100 (0.01 units)
    int decimals;    // shown in the field
    double fieldMin; // a finished entry is limited to these
    double fieldMax;
    bool truncate;   // whole part instead of rounding (frequency)
};

const ControlSetup Setups[DEQWidget::ControlCount] = {
    {-900, 120, 0, 10, 1, -90.0, 12.0, false},
    {10, 1000, 10, 10, 1, 1.0, 100.0, false},
    {1, 2895, 1, 1, 0, 1.0, 2895.0, false},
    {1, 2895, 1, 1, 0, 1.0, 2895.0, false},
    {20, 20000, 100, 1, 0, 20.0, 20000.0, true},
    {0, 120, 0, 10, 1, 0.0, 12.0, false},
    {27, 1500, 600, 100, 2, 0.27, 15.0, false},
};

const char *const Captions[DEQWidget::ControlCount] = {
    QT_TRANSLATE_NOOP("DEQWidget", "Thresh"), QT_TRANSLATE_NOOP("DEQWidget", "Ratio"),
    QT_TRANSLATE_NOOP("DEQWidget", "Attack"), QT_TRANSLATE_NOOP("DEQWidget", "Decay"),
    QT_TRANSLATE_NOOP("DEQWidget", "Freq"),   QT_TRANSLATE_NOOP("DEQWidget", "Gain"),
    QT_TRANSLATE_NOOP("DEQWidget", "Q"),
};
// Spelled out for the captions above, which are abbreviated on screen.
const char *const ToolTips[DEQWidget::ControlCount] = {
    QT_TRANSLATE_NOOP("DEQWidget", "Threshold in dB"),
    QT_TRANSLATE_NOOP("DEQWidget", "Ratio of the dynamic gain change"),
    QT_TRANSLATE_NOOP("DEQWidget", "Attack time in milliseconds"),
    QT_TRANSLATE_NOOP("DEQWidget", "Decay time in milliseconds"),
    QT_TRANSLATE_NOOP("DEQWidget", "Frequency in Hz"),
    QT_TRANSLATE_NOOP("DEQWidget", "Maximum gain in dB"),
    QT_TRANSLATE_NOOP("DEQWidget", "Quality factor: centre frequency over bandwidth"),
};
// Accessible names: "%1" is the channel and band, e.g. "IN A band 2".
const char *const KnobNames[DEQWidget::ControlCount] = {
    QT_TRANSLATE_NOOP("DEQWidget", "%1 threshold knob"), QT_TRANSLATE_NOOP("DEQWidget", "%1 ratio knob"),
    QT_TRANSLATE_NOOP("DEQWidget", "%1 attack knob"),    QT_TRANSLATE_NOOP("DEQWidget", "%1 decay knob"),
    QT_TRANSLATE_NOOP("DEQWidget", "%1 frequency knob"), QT_TRANSLATE_NOOP("DEQWidget", "%1 gain knob"),
    QT_TRANSLATE_NOOP("DEQWidget", "%1 Q knob"),
};
const char *const EditNames[DEQWidget::ControlCount] = {
    QT_TRANSLATE_NOOP("DEQWidget", "%1 threshold in dB"), QT_TRANSLATE_NOOP("DEQWidget", "%1 ratio"),
    QT_TRANSLATE_NOOP("DEQWidget", "%1 attack in ms"),    QT_TRANSLATE_NOOP("DEQWidget", "%1 decay in ms"),
    QT_TRANSLATE_NOOP("DEQWidget", "%1 frequency in Hz"), QT_TRANSLATE_NOOP("DEQWidget", "%1 gain in dB"),
    QT_TRANSLATE_NOOP("DEQWidget", "%1 Q"),
};
// Empty where the control has no unit; the row keeps its height.
const char *const Units[DEQWidget::ControlCount] = {"(dB)", "", "(ms)", "(ms)", "(Hz)", "(dB)", ""};

const char *const ModeTexts[] = {
    QT_TRANSLATE_NOOP("DEQWidget", "Boost Below"),
    QT_TRANSLATE_NOOP("DEQWidget", "Cut Above"),
};
const char *const TypeTexts[] = {
    QT_TRANSLATE_NOOP("DEQWidget", "PEQ"),
    QT_TRANSLATE_NOOP("DEQWidget", "LowShelf"),
    QT_TRANSLATE_NOOP("DEQWidget", "HighShelf"),
};

// The graph draws a cut below 0 dB and limits a drag to the mode's side.
void setGainRange(FilterGraph *graph, int band, quint8 mode)
{
    if (mode == DeqBand::BoostBelow)
        graph->setBandGainRange(uchar(band), 0, GraphDbRange);
    else
        graph->setBandGainRange(uchar(band), -GraphDbRange, 0);
}

} // namespace

DEQWidget::DEQWidget(Link *link, QWidget *parent)
    : ModulePage(link, Frame::DynamicEq, Channels, DefaultTickMs, parent)
    , m_prompt(Prompt::standard())
{
    setObjectName(QStringLiteral("DEQWidget"));
    for (auto &channel : m_bands) {
        for (int b = 0; b < Bands; ++b)
            channel[size_t(b)] = DeqBand::defaults(b);
    }
    build();
    retranslate();
    showBandControls();
    drawChannel();
}

DEQWidget::~DEQWidget() = default;

void DEQWidget::setPrompt(Prompt *prompt)
{
    m_prompt = prompt ? prompt : Prompt::standard();
}

// Construction.

void DEQWidget::build()
{
    // A read-only channel greys its combo boxes like its buttons.
    setStyleSheet(QStringLiteral(
        "QComboBox:disabled { background-color: rgb(60, 60, 60); color: rgb(100, 100, 100); }"));
    auto *page = new QHBoxLayout(this);
    page->setContentsMargins(8, 8, 8, 8);
    page->setSpacing(8);
    page->addWidget(buildChannelPanel());

    // Everything that edits the shown channel; a hidden channel hides it
    // without letting the layout collapse.
    m_body = new QWidget(this);
    keepSpaceWhenHidden(m_body);
    auto *bodyLayout = new QVBoxLayout(m_body);
    bodyLayout->setContentsMargins(0, 0, 0, 0);
    bodyLayout->setSpacing(8);

    auto *graphPanel = newPanel(m_body);
    auto *graphLayout = new QVBoxLayout(graphPanel);
    graphLayout->setContentsMargins(6, 6, 6, 6);
    m_graph = new FilterGraph(graphPanel);
    m_graph->setBandCount(Bands);
    m_graph->setGridRows(GraphRows);
    m_graph->setDbRange(GraphDbRange, -GraphDbRange);
    m_graph->setHighPassShown(false);
    m_graph->setLowPassShown(false);
    m_graph->setBandGainMode(true);
    graphLayout->addWidget(m_graph);
    bodyLayout->addWidget(graphPanel, 1);

    auto *lower = new QHBoxLayout;
    lower->setSpacing(8);
    auto *dynamics = buildKnobPanel(Threshold, Release);
    m_dynamicsTitle = dynamics->findChild<QLabel *>(QStringLiteral("titleLabel"));
    lower->addWidget(dynamics, 4);
    auto *eq = buildKnobPanel(Freq, Q);
    m_eqTitle = eq->findChild<QLabel *>(QStringLiteral("titleLabel"));
    lower->addWidget(eq, 3);
    bodyLayout->addLayout(lower);
    page->addWidget(m_body, 1);

    connect(m_graph, &FilterGraph::peqChanged, this, &DEQWidget::graphChanged);
    connect(m_graph, &FilterGraph::bandPressed, this, [this](uchar band) {
        if (band < Bands && int(band) != m_currentBand)
            bandButtonGroupButtonClicked(band);
    });
}

QWidget *DEQWidget::buildChannelPanel()
{
    QStringList names;
    for (int c = 0; c < Channels; ++c)
        names << QStringLiteral("IN %1").arg(QChar(QLatin1Char('A').unicode() + c));
    m_channelPanel = new ChannelPanel(names, [this](ChannelPanel *) { return buildBandPanel(); }, this);
    m_copy = m_channelPanel->copyButton();
    m_reset = m_channelPanel->clearButton();

    connect(m_channelPanel->group(), &QButtonGroup::idClicked, this, &DEQWidget::channelButtonGroupButtonClicked);
    connect(m_copy, &QPushButton::clicked, this, &DEQWidget::copyToClicked);
    connect(m_reset, &QPushButton::clicked, this, &DEQWidget::resetClicked);
    return m_channelPanel;
}

QWidget *DEQWidget::buildBandPanel()
{
    m_bandBox = new QWidget(this);
    keepSpaceWhenHidden(m_bandBox);
    auto *layout = new QVBoxLayout(m_bandBox);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    m_bandTitle = newTitle(m_bandBox);
    layout->addWidget(m_bandTitle);

    auto *row = new QHBoxLayout;
    row->setSpacing(6);
    m_bandGroup = new QButtonGroup(this);
    m_bandGroup->setExclusive(true);
    for (int b = 0; b < Bands; ++b) {
        auto *button = new QPushButton(QStringLiteral("%1").arg(b + 1), m_bandBox);
        button->setObjectName(QStringLiteral("normalButton"));
        button->setCheckable(true);
        button->setFixedSize(71, 35);
        m_bandGroup->addButton(button, b);
        row->addWidget(button);
        m_bandButtons[size_t(b)] = button;
    }
    m_bandButtons[0]->setChecked(true);
    layout->addLayout(row);

    m_enable = new QPushButton(m_bandBox);
    m_enable->setCheckable(true);
    m_enable->setFixedHeight(30);
    layout->addWidget(m_enable);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    m_modeLabel = new QLabel(m_bandBox);
    m_mode = new QComboBox(m_bandBox);
    for (int i = 0; i < 2; ++i)
        m_mode->addItem(QString());
    m_typeLabel = new QLabel(m_bandBox);
    m_type = new QComboBox(m_bandBox);
    for (int i = 0; i < 3; ++i)
        m_type->addItem(QString());
    for (QComboBox *combo : {m_mode, m_type})
        combo->setMinimumWidth(140);
    grid->addWidget(m_modeLabel, 0, 0);
    grid->addWidget(m_mode, 0, 1);
    grid->addWidget(m_typeLabel, 1, 0);
    grid->addWidget(m_type, 1, 1);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);

    connect(m_bandGroup, &QButtonGroup::idClicked, this, &DEQWidget::bandButtonGroupButtonClicked);
    connect(m_enable, &QPushButton::clicked, this, &DEQWidget::enableClicked);
    connect(m_mode, QOverload<int>::of(&QComboBox::activated), this, &DEQWidget::modeChanged);
    connect(m_type, QOverload<int>::of(&QComboBox::activated), this, &DEQWidget::typeChanged);
    return m_bandBox;
}

QWidget *DEQWidget::buildKnobPanel(int first, int last)
{
    auto *knobs = newPanel(m_body);
    auto *outer = new QVBoxLayout(knobs);
    outer->setContentsMargins(10, 8, 10, 8);
    outer->setSpacing(2);
    outer->addWidget(newTitle(knobs));
    auto *row = new QHBoxLayout;
    row->setSpacing(10);
    row->addStretch(1);
    for (int c = first; c <= last; ++c) {
        const ControlSetup &s = Setups[c];
        auto *column = new QVBoxLayout;
        column->setSpacing(1);
        m_captions[size_t(c)] = new QLabel(knobs);
        m_units[size_t(c)] = new QLabel(QString::fromLatin1(Units[c]), knobs);
        auto *knob = new Knob(knobs);
        knob->setSize(1);
        knob->setMinimum(float(s.knobMin));
        knob->setMaximum(float(s.knobMax));
        knob->setValue(float(s.knobInitial));
        auto *edit = new ValueField(knobs);
        edit->setRange(s.fieldMin, s.fieldMax, s.decimals,
                       QString::fromLatin1(Units[c]).remove(QLatin1Char('(')).remove(QLatin1Char(')')));
        edit->setAlignment(Qt::AlignCenter);
        edit->setFixedWidth(64);
        column->addWidget(m_captions[size_t(c)], 0, Qt::AlignHCenter);
        column->addWidget(m_units[size_t(c)], 0, Qt::AlignHCenter);
        column->addWidget(knob, 0, Qt::AlignHCenter);
        column->addWidget(edit, 0, Qt::AlignHCenter);
        row->addLayout(column);
        row->addStretch(1);
        m_knobs[size_t(c)] = knob;
        m_edits[size_t(c)] = edit;
    }
    outer->addLayout(row);
    outer->addStretch(1);

    for (int c = first; c <= last; ++c) {
        Knob *k = m_knobs[size_t(c)];
        ValueField *e = m_edits[size_t(c)];
        switch (c) {
        case Threshold:
            connect(k, &Knob::valueChanged, this, &DEQWidget::thresholdChanged);
            connect(e, &ValueField::edited, this, &DEQWidget::thresholdFinished);
            break;
        case Ratio:
            connect(k, &Knob::valueChanged, this, &DEQWidget::ratioChanged);
            connect(e, &ValueField::edited, this, &DEQWidget::ratioFinished);
            break;
        case Attack:
            connect(k, &Knob::valueChanged, this, &DEQWidget::attackChanged);
            connect(e, &ValueField::edited, this, &DEQWidget::attackFinished);
            break;
        case Release:
            connect(k, &Knob::valueChanged, this, &DEQWidget::releaseChanged);
            connect(e, &ValueField::edited, this, &DEQWidget::releaseFinished);
            break;
        case Freq:
            connect(k, &Knob::valueChanged, this, &DEQWidget::freqChanged);
            connect(e, &ValueField::edited, this, &DEQWidget::freqFinished);
            break;
        case Gain:
            connect(k, &Knob::valueChanged, this, &DEQWidget::gainChanged);
            connect(e, &ValueField::edited, this, &DEQWidget::gainFinished);
            break;
        case Q:
            connect(k, &Knob::valueChanged, this, &DEQWidget::qChanged);
            connect(e, &ValueField::edited, this, &DEQWidget::qFinished);
            break;
        default:
            break;
        }
    }
    return knobs;
}

void DEQWidget::retranslate()
{
    m_channelPanel->title()->setText(tr("Input Channel"));
    m_bandTitle->setText(tr("Band"));
    if (m_dynamicsTitle)
        m_dynamicsTitle->setText(tr("Dynamics"));
    if (m_eqTitle)
        m_eqTitle->setText(tr("Equalizer"));
    m_enable->setText(tr("Enable"));
    m_modeLabel->setText(tr("Mode"));
    m_typeLabel->setText(tr("Type"));
    for (int i = 0; i < 2; ++i)
        m_mode->setItemText(i, tr(ModeTexts[i]));
    for (int i = 0; i < 3; ++i)
        m_type->setItemText(i, tr(TypeTexts[i]));
    for (int c = 0; c < ControlCount; ++c) {
        m_captions[size_t(c)]->setText(tr(Captions[c]));
        m_captions[size_t(c)]->setToolTip(tr(ToolTips[c]));
    }
    m_copy->setText(tr("Copy to"));
    m_reset->setText(tr("Reset"));
    KeyboardAccess::describe(m_copy, tr("Copy to"),
                             tr("Copy the dynamic EQ of the selected channel to other channels"));
    KeyboardAccess::describe(m_reset, tr("Reset"), tr("Reset every band of the selected channel"));
    for (int b = 0; b < Bands; ++b)
        KeyboardAccess::describe(m_bandButtons[size_t(b)], tr("Band %1").arg(b + 1), tr("Band %1").arg(b + 1));
    KeyboardAccess::describe(m_graph, tr("Dynamic EQ response"));
    // The graph's handles drag what the frequency and gain fields set.
    KeyboardAccess::markMouseOnly(m_graph);
    describeEditors();
}

// The editors act on the selected channel and band; their names say which,
// so they are renamed whenever the selection moves. The fixed channel title
// is used: an operator's label may repeat or be empty.
void DEQWidget::describeEditors()
{
    const QString band = tr("%1 band %2").arg(QStringLiteral("IN %1").arg(QChar(QLatin1Char('A').unicode() + m_current)))
                             .arg(m_currentBand + 1);
    KeyboardAccess::describe(m_enable, tr("%1 enable").arg(band));
    KeyboardAccess::describe(m_mode, tr("%1 mode").arg(band), tr("Boost below or cut above the threshold"));
    KeyboardAccess::describe(m_type, tr("%1 type").arg(band));
    for (int c = 0; c < ControlCount; ++c) {
        KeyboardAccess::describe(m_knobs[size_t(c)], tr(KnobNames[c]).arg(band), tr(ToolTips[c]));
        KeyboardAccess::describe(m_edits[size_t(c)], tr(EditNames[c]).arg(band), tr(ToolTips[c]));
    }
}

void DEQWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    ModulePage::changeEvent(event);
}

void DEQWidget::setInLabel(uchar channel, const QString &label)
{
    if (QPushButton *button = m_channelPanel->channelButton(channel))
        button->setToolTip(label);
}

// Records.

const DeqBand &DEQWidget::band(int channel, int band) const
{
    return m_bands[size_t(qBound(0, channel, Channels - 1))][size_t(qBound(0, band, Bands - 1))];
}

void DEQWidget::setBand(int channel, int band, const DeqBand &record)
{
    if (channel < 0 || channel >= Channels || band < 0 || band >= Bands)
        return;
    m_bands[size_t(channel)][size_t(band)] = record;
    if (channel == m_current) {
        drawBand(band);
        if (band == m_currentBand)
            showBandControls();
    }
}

// Controls.

void DEQWidget::setControl(Control control, double value, bool fromReply)
{
    const ControlSetup &s = Setups[control];
    const double scaled = value * s.scale;
    int units = 0;
    if (std::isfinite(scaled))
        units = s.truncate ? int(qBound(-1e9, std::trunc(scaled), 1e9)) : qRound(qBound(-1e9, scaled, 1e9));
    units = qBound(s.knobMin, units, s.knobMax);
    m_knobs[control]->setValue(float(units));
    QString text;
    if (s.decimals == 0)
        text = QStringLiteral("%1").arg(units);
    else
        text = QString::asprintf(s.decimals == 1 ? "%0.1f" : "%0.2f", double(units) / s.scale);
    QLineEdit *edit = m_edits[control];
    // A reply leaves a field alone while the operator is typing in it.
    if (fromReply && edit->hasFocus() && edit->isModified())
        return;
    if (edit->text() != text) {
        const QSignalBlocker blocker(edit);
        edit->setText(text);
    }
}

double DEQWidget::finishedValue(Control control) const
{
    const ControlSetup &s = Setups[control];
    bool ok = false;
    const double typed = m_edits[control]->text().toDouble(&ok);
    if (!ok || !std::isfinite(typed))
        return double(m_knobs[control]->value()) / s.scale;
    return qBound(s.fieldMin, typed, s.fieldMax);
}

void DEQWidget::knobTurned(Control control, float value)
{
    setControl(control, double(value) / Setups[control].scale);
    commit();
}

void DEQWidget::fieldFinished(Control control)
{
    setControl(control, finishedValue(control));
    commit();
}

DeqBand DEQWidget::bandFromControls() const
{
    // The knobs hold what the fields last showed, in whole units; a field the
    // operator is still typing in does not count until it is finished.
    auto value = [this](Control c) { return float(double(m_knobs[c]->value()) / Setups[c].scale); };
    DeqBand b;
    b.bypass = m_enable->isChecked() ? 0 : 1;
    b.type = quint8(qMax(0, m_type->currentIndex()));
    b.freq = value(Freq);
    b.gain = value(Gain);
    b.q = value(Q);
    b.threshold = value(Threshold);
    b.attack = value(Attack);
    b.release = value(Release);
    b.ratio = value(Ratio);
    b.mode = quint8(qMax(0, m_mode->currentIndex()) + 1);
    return b;
}

void DEQWidget::commit()
{
    const DeqBand b = bandFromControls();
    DeqBand &stored = m_bands[m_current][size_t(m_currentBand)];
    if (b == stored)
        return;
    stored = b;
    drawBand(m_currentBand);
    m_pendingChannel = m_current;
    m_pendingBand = m_currentBand;
    m_pending.arm();
    m_holdOff.hold();
}

void DEQWidget::showBandControls(bool fromReply)
{
    const DeqBand &b = m_bands[m_current][size_t(m_currentBand)];
    setCheckedQuietly(m_enable, !b.bypass);
    setIndexQuietly(m_type, qMin<int>(b.type, 2));
    setIndexQuietly(m_mode, b.mode == DeqBand::CutAbove ? 1 : 0);
    setControl(Threshold, double(b.threshold), fromReply);
    setControl(Ratio, double(b.ratio), fromReply);
    setControl(Attack, double(b.attack), fromReply);
    setControl(Release, double(b.release), fromReply);
    setControl(Freq, double(b.freq), fromReply);
    setControl(Gain, double(b.gain), fromReply);
    setControl(Q, double(b.q), fromReply);
}

void DEQWidget::drawBand(int band)
{
    const DeqBand &b = m_bands[m_current][size_t(band)];
    setGainRange(m_graph, band, b.mode);
    m_graph->setBand(uchar(band), b.bypass != 0, b.type, b.freq, b.signedGain(), b.drawnQ());
}

void DEQWidget::drawChannel()
{
    for (int b = 0; b < Bands; ++b)
        drawBand(b);
    m_graph->setSelectedBand(m_currentBand);
}

// Operator actions.

void DEQWidget::channelButtonGroupButtonClicked(int id)
{
    if (id < 0 || id >= Channels)
        return;
    if (id != m_current)
        flushPending();
    m_current = uchar(id);
    setCheckedQuietly(m_channelPanel->channelButton(id), true);
    showBandControls();
    drawChannel();
    applySecurityState(m_current, securityState(m_current));
    describeEditors();
}

void DEQWidget::bandButtonGroupButtonClicked(int id)
{
    if (id < 0 || id >= Bands)
        return;
    if (id != m_currentBand)
        flushPending();
    m_currentBand = id;
    setCheckedQuietly(m_bandButtons[size_t(id)], true);
    showBandControls();
    m_graph->setSelectedBand(id);
    describeEditors();
}

void DEQWidget::enableClicked(bool)
{
    commit();
}

void DEQWidget::typeChanged(int)
{
    commit();
}

void DEQWidget::modeChanged(int index)
{
    setGainRange(m_graph, m_currentBand, quint8(index + 1));
    commit();
}

void DEQWidget::thresholdChanged(float value)
{
    knobTurned(Threshold, value);
}

void DEQWidget::thresholdFinished()
{
    fieldFinished(Threshold);
}

void DEQWidget::ratioChanged(float value)
{
    knobTurned(Ratio, value);
}

void DEQWidget::ratioFinished()
{
    fieldFinished(Ratio);
}

void DEQWidget::attackChanged(float value)
{
    knobTurned(Attack, value);
}

void DEQWidget::attackFinished()
{
    fieldFinished(Attack);
}

void DEQWidget::releaseChanged(float value)
{
    knobTurned(Release, value);
}

void DEQWidget::releaseFinished()
{
    fieldFinished(Release);
}

void DEQWidget::freqChanged(float value)
{
    knobTurned(Freq, value);
}

void DEQWidget::freqFinished()
{
    fieldFinished(Freq);
}

void DEQWidget::gainChanged(float value)
{
    knobTurned(Gain, value);
}

void DEQWidget::gainFinished()
{
    fieldFinished(Gain);
}

void DEQWidget::qChanged(float value)
{
    knobTurned(Q, value);
}

void DEQWidget::qFinished()
{
    fieldFinished(Q);
}

void DEQWidget::graphChanged(uchar band, float freq, float gain)
{
    if (band >= Bands)
        return;
    if (int(band) != m_currentBand)
        bandButtonGroupButtonClicked(band);
    const DeqBand &b = m_bands[m_current][band];
    setIndexQuietly(m_mode, b.mode == DeqBand::CutAbove ? 1 : 0);
    setIndexQuietly(m_type, qMin<int>(b.type, 2));
    setCheckedQuietly(m_enable, !b.bypass);
    setControl(Threshold, double(b.threshold));
    setControl(Ratio, double(b.ratio));
    setControl(Attack, double(b.attack));
    setControl(Release, double(b.release));
    setControl(Freq, double(freq));
    setControl(Gain, std::fabs(double(gain)));
    setControl(Q, double(b.q));
    commit();
}

void DEQWidget::copyToClicked()
{
    QChannelSelect::Selection targets;
    if (!QChannelSelect::select(this, m_current, &targets, false))
        return;
    // The unit copies from what it holds: let it have the last change first.
    flushPending();
    const quint8 mask = targets.inputMask & ((1u << Channels) - 1);
    for (int c = 0; c < Channels; ++c) {
        if (c != m_current && (mask & (1u << c)))
            m_bands[size_t(c)] = m_bands[m_current];
    }
    const uchar payload[1] = {mask};
    sendSet(D::Copy, m_current, payload, sizeof payload);
}

void DEQWidget::resetClicked()
{
    if (!m_prompt->confirmDestructive(this, Prompt::Icon::Warning, tr("warning"), tr("Clear all setting?"),
                                      {tr("OK"), tr("Cancle")}))
        return;
    if (m_pending.isPending() && m_pendingChannel == m_current)
        m_pending.cancel();
    for (int b = 0; b < Bands; ++b)
        m_bands[m_current][size_t(b)] = DeqBand::defaults(b);
    showBandControls();
    drawChannel();
    sendSet(D::Reset, m_current, nullptr, 0);
}

// Sending.

void DEQWidget::sendBand(int channel, int band)
{
    uchar payload[1 + DeqBand::Size];
    payload[0] = uchar(band);
    m_bands[size_t(channel)][size_t(band)].encode(payload + 1);
    sendSet(D::Band, uchar(channel), payload, sizeof payload);
}

void DEQWidget::flushPending()
{
    if (!m_pending.isPending())
        return;
    m_pending.cancel();
    sendBand(m_pendingChannel, m_pendingBand);
}

// Timer.

void DEQWidget::advance()
{
    if (m_pending.tick())
        sendBand(m_pendingChannel, m_pendingBand);
    m_holdOff.tick();
}

void DEQWidget::poll(quint32 tick)
{
    if (tick % PollEvery != 0 || !link())
        return;
    m_pollChannel = (m_pollChannel + 1) % Channels;
    link()->sendQuery(Frame::System, Frame::Security, LockItem);
    for (int b = 0; b < Bands; ++b) {
        const uchar payload[2] = {uchar(m_pollChannel), uchar(b)};
        link()->sendFrame(Frame::Module, moduleId(), D::Band, Frame::Query, payload, sizeof payload);
    }
}

// Replies.

void DEQWidget::onMessage(quint8 param, quint8 op, quint16 length, const uchar *payload)
{
    if (param != D::Band || !isReport(op) || length != ReportLength || !payload || m_holdOff.isActive())
        return;
    const int channel = payload[0];
    const int band = payload[1];
    // Outside the page's tables: nothing to store it in.
    if (channel >= Channels || band >= Bands)
        return;
    const DeqBand received = DeqBand::decode(payload + 2, band);
    DeqBand &stored = m_bands[size_t(channel)][size_t(band)];
    if (received == stored)
        return;
    stored = received;
    if (channel != m_current)
        return;
    drawBand(band);
    if (band == m_currentBand)
        showBandControls(true);
}

// Locks.

void DEQWidget::applySecurityState(uchar channel, uchar state)
{
    if (channel != m_current)
        return;
    applyLock(m_body, state);
    applyLock(m_bandBox, state);
    applyLock(m_copy, state);
    applyLock(m_reset, state);
}

QPushButton *DEQWidget::channelButton(int channel) const
{
    return m_channelPanel->channelButton(channel);
}

QPushButton *DEQWidget::bandButton(int band) const
{
    return band >= 0 && band < Bands ? m_bandButtons[size_t(band)] : nullptr;
}
