#include "filterpage.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <QtEndian>

#include <cmath>
#include <cstring>
#include <functional>

#include "channelpanel.h"
#include "core/link/frame.h"
#include "core/link/link.h"
#include "core/link/logging.h"
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

namespace F = Protocol::Filter;
namespace S = Protocol::Security;

constexpr int SectionReportLength = Protocol::ReportSize<F::params, F::HighPass>;
constexpr int BandReportLength = Protocol::ReportSize<F::params, F::Band>;
constexpr int LockReportLength = Protocol::ReportSize<S::params, S::InFilter>;
static_assert(FilterPage::LockEntries == S::FilterFirstBandEntry + FilterPage::BandCount, "a lock per band");

constexpr int FreqMin = 20;
constexpr int FreqMax = 20000;
constexpr float GainLimit = 20.0f;
constexpr int GainKnobLimit = 200; // tenths of a dB
constexpr int MaxSectionType = 2;
constexpr int MaxSlope = 5;
constexpr int MaxBandType = FilterChannel::AllPass90;
constexpr int MaxQIndex = QTableSize - 1;
constexpr int SelectorWidth = 122; // combo boxes and enable buttons
// The pass-section selectors share a narrow column with the knob; a tighter
// padding keeps "Butterworth" and "-48dB/oct" whole with wider fonts.
const QString CompactCombo = QStringLiteral(
    "QComboBox { padding: 2px 2px 2px 5px; } QComboBox::drop-down { width: 14px; }");

const char *const SectionTypeTexts[] = {
    QT_TRANSLATE_NOOP("FilterPage", "Bessel"),
    QT_TRANSLATE_NOOP("FilterPage", "Butterworth"),
    QT_TRANSLATE_NOOP("FilterPage", "Link-Riley"),
};
const char *const SlopeTexts[] = {"-6dB/oct", "-12dB/oct", "-18dB/oct", "-24dB/oct", "-36dB/oct", "-48dB/oct"};


void writeFloat(uchar *p, float v)
{
    quint32 bits;
    std::memcpy(&bits, &v, sizeof bits);
    qToLittleEndian<quint32>(bits, p);
}

float readFloat(const uchar *p)
{
    const quint32 bits = qFromLittleEndian<quint32>(p);
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// A frequency from the unit, truncated to whole Hz as the record keeps it;
// false for values the record cannot hold.
bool frequencyFromReport(float value, quint16 *out)
{
    if (!std::isfinite(value) || value < 0.0f || value >= 65536.0f)
        return false;
    *out = quint16(value);
    return true;
}

// Where a pass section keeps its values in the record.
struct SectionFields
{
    quint8 FilterChannel::*enable;
    quint8 FilterChannel::*type;
    quint8 FilterChannel::*slope;
    quint16 FilterChannel::*freq;
};
const SectionFields SectionFieldsOf[2] = {
    {&FilterChannel::hpEnable, &FilterChannel::hpType, &FilterChannel::hpSlope, &FilterChannel::hpFreq},
    {&FilterChannel::lpEnable, &FilterChannel::lpType, &FilterChannel::lpSlope, &FilterChannel::lpFreq},
};

// A finished frequency entry, limited to the range; false when the field
// holds no number.
bool typedFrequency(const QLineEdit *edit, quint16 *freq)
{
    bool ok = false;
    const int typed = edit->text().toInt(&ok, 10);
    if (!ok)
        return false;
    *freq = quint16(qBound(FreqMin, typed, FreqMax));
    return true;
}

QString qText(quint8 index)
{
    return QString::asprintf("%0.2f", double(qTable[qMin<size_t>(index, qTable.size() - 1)]));
}

QString gainText(float gain)
{
    return QString::asprintf("%0.1f", double(gain));
}

// Replies leave a field alone while the operator is typing in it; the
// operator's own finished entry is always rewritten with what was stored.
void showText(QLineEdit *edit, const QString &text, bool force)
{
    if (!force) {
        ModulePage::setTextQuietly(edit, text);
        return;
    }
    if (edit->text() == text)
        return;
    const QSignalBlocker blocker(edit);
    edit->setText(text);
}

void showKnob(Knob *knob, float value)
{
    if (knob->value() != value)
        knob->setValue(value);
}

Knob *newKnob(QWidget *parent, float min, float max, float value)
{
    auto *knob = new Knob(parent);
    knob->setSize(1);
    knob->setMinimum(min);
    knob->setMaximum(max);
    knob->setValue(value);
    return knob;
}

QLineEdit *newEdit(QWidget *parent, const QString &text)
{
    auto *edit = new QLineEdit(text, parent);
    edit->setAlignment(Qt::AlignCenter);
    edit->setFixedWidth(70);
    return edit;
}

ValueField *newValueEdit(QWidget *parent, double minimum, double maximum, int decimals, const QString &unit,
                         const QString &text)
{
    auto *edit = new ValueField(text, parent);
    edit->setRange(minimum, maximum, decimals, unit);
    edit->setAlignment(Qt::AlignCenter);
    edit->setFixedWidth(70);
    return edit;
}

QLabel *newLabel(QWidget *parent, Qt::Alignment alignment = Qt::AlignCenter)
{
    auto *label = new QLabel(parent);
    label->setAlignment(alignment);
    return label;
}

// A column of caption, knob and entry field.
QVBoxLayout *knobColumn(QLabel *caption, Knob *knob, QLineEdit *edit)
{
    auto *column = new QVBoxLayout;
    column->setSpacing(2);
    column->addWidget(caption, 0, Qt::AlignHCenter);
    column->addWidget(knob, 0, Qt::AlignHCenter);
    column->addWidget(edit, 0, Qt::AlignHCenter);
    return column;
}

} // namespace

FilterPage::FilterPage(Link *link, const Variant &variant, QWidget *parent)
    : ModulePage(link, variant.moduleId, variant.channels, DefaultTickMs, parent)
    , m_variant(variant)
    , m_prompt(Prompt::standard())
{
    m_variant.channels = qBound(1, variant.channels, int(MaxChannels));
    for (PendingSend &p : m_pending)
        p = PendingSend(SendDelayTicks);
    m_holdOff = ReplyHoldOff(HoldOffTicks);

    buildPage();
    retranslate();
    connectControls();
    showChannel();

    // The lock record of this page's channels arrives as a class-2 report
    // (also when the security page asks for it); the page keeps its own copy
    // so that its lock slots and channel changes can apply it.
    if (link) {
        connect(link, &Link::systemMessage, this,
                [this](quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload) {
                    if (module == Frame::Security && param == m_variant.securityItem && op == Frame::Report)
                        onLockReport(length, payload);
                });
    }
}

FilterPage::~FilterPage() = default;

void FilterPage::setPrompt(Prompt *prompt)
{
    m_prompt = prompt ? prompt : Prompt::standard();
}

// Construction.

void FilterPage::buildPage()
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *top = new QWidget(this);
    top->setObjectName(QLatin1String(m_variant.widgetName));
    outer->addWidget(top);

    auto *layout = new QVBoxLayout(top);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);

    auto *upper = new QHBoxLayout;
    upper->setSpacing(6);
    layout->addLayout(upper, 1);

    QStringList names;
    for (int i = 0; i < m_variant.channels; ++i)
        names << channelTitle(i);
    m_channelPanel = new ChannelPanel(names, nullptr, top);
    // No controls between the buttons and the actions here: the title sits
    // a little higher than on the pages that have some.
    m_channelPanel->layout()->setContentsMargins(10, 8, 10, 10);
    m_copy = m_channelPanel->copyButton();
    m_reset = m_channelPanel->clearButton();
    upper->addWidget(m_channelPanel);

    m_graph = new FilterGraph(top);
    m_graph->setBandCount(BandCount);
    m_graph->setDbRange(20, -20);
    keepSpaceWhenHidden(m_graph);
    upper->addWidget(m_graph, 1);

    auto *lower = new QHBoxLayout;
    lower->setSpacing(5);
    lower->addWidget(buildSection(HighPass));
    lower->addWidget(buildBands(), 1);
    lower->addWidget(buildSection(LowPass));
    layout->addLayout(lower);
}

QFrame *FilterPage::buildSection(Section section)
{
    SectionControls &c = m_sections[section];
    c.group = newPanel(this);
    keepSpaceWhenHidden(c.group);
    auto *layout = new QVBoxLayout(c.group);
    layout->setContentsMargins(6, 6, 6, 8);
    layout->setSpacing(4);
    c.title = newTitle(c.group);
    layout->addWidget(c.title);
    auto *row = new QHBoxLayout;
    row->setSpacing(6);
    layout->addLayout(row);

    auto *left = new QVBoxLayout;
    left->setSpacing(3);
    c.enable = new QPushButton(c.group);
    c.enable->setCheckable(true);
    c.enable->setFixedSize(SelectorWidth, 26);
    c.typeLabel = newLabel(c.group, Qt::AlignLeft | Qt::AlignVCenter);
    c.type = new QComboBox(c.group);
    c.type->setFixedWidth(SelectorWidth);
    c.type->setStyleSheet(CompactCombo);
    for (int i = 0; i <= MaxSectionType; ++i)
        c.type->addItem(QString());
    c.slopeLabel = newLabel(c.group, Qt::AlignLeft | Qt::AlignVCenter);
    c.slope = new QComboBox(c.group);
    c.slope->setFixedWidth(SelectorWidth);
    c.slope->setStyleSheet(CompactCombo);
    for (const char *text : SlopeTexts)
        c.slope->addItem(QString::fromLatin1(text));
    left->addWidget(c.enable);
    left->addStretch(1);
    left->addWidget(c.typeLabel);
    left->addWidget(c.type);
    left->addWidget(c.slopeLabel);
    left->addWidget(c.slope);
    row->addLayout(left);

    const bool high = section == HighPass;
    c.freqLabel = newLabel(c.group);
    c.freqKnob = newKnob(c.group, FreqMin, FreqMax, high ? FreqMin : FreqMax);
    c.freqEdit = newValueEdit(c.group, FreqMin, FreqMax, 0, QStringLiteral("Hz"), high ? QStringLiteral("20") : QStringLiteral("20000"));
    row->addLayout(knobColumn(c.freqLabel, c.freqKnob, c.freqEdit));
    return c.group;
}

QFrame *FilterPage::buildBands()
{
    BandControls &c = m_band;
    c.group = newPanel(this);
    auto *outer = new QVBoxLayout(c.group);
    outer->setContentsMargins(6, 6, 6, 8);
    outer->setSpacing(4);
    c.title = newTitle(c.group);
    outer->addWidget(c.title);
    auto *layout = new QHBoxLayout;
    layout->setSpacing(6);
    outer->addLayout(layout);

    auto *left = new QVBoxLayout;
    left->setSpacing(6);
    auto *grid = new QGridLayout;
    grid->setSpacing(2);
    m_bandGroup = new QButtonGroup(this);
    m_bandGroup->setExclusive(true);
    for (int b = 0; b < BandCount; ++b) {
        auto *button = new QPushButton(c.group);
        button->setObjectName(QStringLiteral("normalButton"));
        button->setCheckable(true);
        button->setFixedSize(40, 26);
        button->setText(QString::number(b + 1));
        m_bandGroup->addButton(button, b);
        grid->addWidget(button, b / 8, b % 8);
        c.buttons[size_t(b)] = button;
    }
    c.buttons[0]->setChecked(true);
    left->addLayout(grid);
    left->addStretch(1);

    // Enable and type sit under the band buttons; they lock with the knobs.
    auto *typeRow = new QHBoxLayout;
    typeRow->setSpacing(6);
    c.enable = new QPushButton(c.group);
    c.enable->setCheckable(true);
    c.enable->setFixedSize(SelectorWidth, 26);
    c.typeLabel = newLabel(c.group, Qt::AlignRight | Qt::AlignVCenter);
    c.type = new QComboBox(c.group);
    for (int i = 0; i <= MaxBandType; ++i)
        c.type->addItem(QString());
    c.type->setFixedWidth(SelectorWidth);
    typeRow->addWidget(c.enable);
    typeRow->addStretch(1);
    typeRow->addWidget(c.typeLabel);
    typeRow->addWidget(c.type);
    left->addLayout(typeRow);
    layout->addLayout(left);

    c.editor = new QWidget(c.group);
    keepSpaceWhenHidden(c.editor);
    auto *editorLayout = new QHBoxLayout(c.editor);
    editorLayout->setContentsMargins(0, 0, 0, 0);
    editorLayout->setSpacing(4);
    c.freqLabel = newLabel(c.editor);
    c.freqKnob = newKnob(c.editor, FreqMin, FreqMax, 40);
    c.freqEdit = newValueEdit(c.editor, FreqMin, FreqMax, 0, QStringLiteral("Hz"), QStringLiteral("40"));
    c.gainLabel = newLabel(c.editor);
    c.gainKnob = newKnob(c.editor, -GainKnobLimit, GainKnobLimit, 0);
    c.gainEdit = newValueEdit(c.editor, -GainLimit, GainLimit, 1, QStringLiteral("dB"), QStringLiteral("0.0"));
    c.qLabel = newLabel(c.editor);
    c.qKnob = newKnob(c.editor, 0, MaxQIndex, FilterChannel::DefaultQIndex);
    c.qEdit = newEdit(c.editor, QStringLiteral("6.00"));
    // Read-only, but a tab stop: the knob moves along a table index, and
    // this field is where the keyboard and a screen reader find the Q itself.
    c.qEdit->setReadOnly(true);
    editorLayout->addLayout(knobColumn(c.freqLabel, c.freqKnob, c.freqEdit));
    editorLayout->addLayout(knobColumn(c.gainLabel, c.gainKnob, c.gainEdit));
    editorLayout->addLayout(knobColumn(c.qLabel, c.qKnob, c.qEdit));
    layout->addWidget(c.editor);
    layout->addStretch(1);
    return c.group;
}

void FilterPage::connectControls()
{
    for (int i = 0; i < m_variant.channels; ++i)
        connect(m_channelPanel->channelButton(i), &QPushButton::clicked, this, &FilterPage::channelChanged);
    for (QPushButton *button : m_band.buttons)
        connect(button, &QPushButton::clicked, this, &FilterPage::bandBtnClicked);

    const SectionControls &hp = m_sections[HighPass];
    connect(hp.enable, &QPushButton::clicked, this, &FilterPage::HPassEnableClicked);
    connect(hp.type, QOverload<int>::of(&QComboBox::activated), this, &FilterPage::HPassTypeChanged);
    connect(hp.slope, QOverload<int>::of(&QComboBox::activated), this, &FilterPage::HPassSlopeChanged);
    connect(hp.freqKnob, &Knob::valueChanged, this, &FilterPage::HPassFreqChanged);
    connect(hp.freqEdit, &ValueField::edited, this, &FilterPage::HPassFreqEditingFinished);

    const SectionControls &lp = m_sections[LowPass];
    connect(lp.enable, &QPushButton::clicked, this, &FilterPage::LPassEnableClicked);
    connect(lp.type, QOverload<int>::of(&QComboBox::activated), this, &FilterPage::LPassTypeChanged);
    connect(lp.slope, QOverload<int>::of(&QComboBox::activated), this, &FilterPage::LPassSlopeChanged);
    connect(lp.freqKnob, &Knob::valueChanged, this, &FilterPage::LPassFreqChanged);
    connect(lp.freqEdit, &ValueField::edited, this, &FilterPage::LPassFreqEditingFinished);

    connect(m_band.enable, &QPushButton::clicked, this, &FilterPage::PEQEnableClicked);
    connect(m_band.type, QOverload<int>::of(&QComboBox::activated), this, &FilterPage::PEQTypeChanged);
    connect(m_band.freqKnob, &Knob::valueChanged, this, &FilterPage::PEQFreqChanged);
    connect(m_band.freqEdit, &ValueField::edited, this, &FilterPage::PEQFreqEditingFinished);
    connect(m_band.gainKnob, &Knob::valueChanged, this, &FilterPage::PEQGainChanged);
    connect(m_band.gainEdit, &ValueField::edited, this, &FilterPage::PEQGainEditingFinished);
    connect(m_band.qKnob, &Knob::valueChanged, this, &FilterPage::PEQQChanged);

    connect(m_graph, &FilterGraph::HPFilterChanged, this, &FilterPage::HPFilterGraphChanged);
    connect(m_graph, &FilterGraph::LPFilterChanged, this, &FilterPage::LPFilterGraphChanged);
    connect(m_graph, &FilterGraph::peqChanged, this, &FilterPage::peqGraphChanged);
    connect(m_graph, &FilterGraph::bandPressed, this, [this](uchar band) { selectBand(band); });

    connect(m_copy, &QPushButton::clicked, this, &FilterPage::copyToClicked);
    connect(m_reset, &QPushButton::clicked, this, &FilterPage::ResetClicked);
}

void FilterPage::retranslate()
{
    m_channelPanel->title()->setText(tr(m_variant.title));
    m_copy->setText(tr("Copy to"));
    m_reset->setText(tr("Reset"));
    for (int s = 0; s < 2; ++s) {
        SectionControls &c = m_sections[size_t(s)];
        c.title->setText(s == HighPass ? tr("High-Pass") : tr("Low-Pass"));
        c.enable->setText(tr("Enable"));
        c.typeLabel->setText(tr("Type"));
        c.slopeLabel->setText(tr("Slope"));
        c.freqLabel->setText(tr("Freq(Hz)"));
        for (int i = 0; i < 3; ++i)
            c.type->setItemText(i, tr(SectionTypeTexts[i]));
    }
    m_band.title->setText(tr("Parametric EQ"));
    m_band.enable->setText(tr("Enable"));
    m_band.typeLabel->setText(tr("Type"));
    m_band.freqLabel->setText(tr("Freq(Hz)"));
    m_band.gainLabel->setText(tr("Gain(dB)"));
    m_band.qLabel->setText(tr("Q"));
    m_band.type->setItemText(0, tr("PEQ"));
    m_band.type->setItemText(1, tr("LowShelf"));
    m_band.type->setItemText(2, tr("HighShelf"));
    m_band.type->setItemText(3, tr("Allpass") + QLatin1String("180"));
    m_band.type->setItemText(4, tr("Allpass") + QLatin1String("90"));
    for (int i = 0; i < m_variant.channels; ++i)
        m_channelPanel->channelButton(i)->setToolTip(m_labels[size_t(i)]);

    const QString freqTip = tr("Frequency in Hz");
    for (int s = 0; s < 2; ++s)
        m_sections[size_t(s)].freqLabel->setToolTip(freqTip);
    m_band.freqLabel->setToolTip(freqTip);
    m_band.gainLabel->setToolTip(tr("Gain in dB"));
    m_band.qLabel->setToolTip(tr("Quality factor: centre frequency over bandwidth"));
    KeyboardAccess::describe(m_copy, tr("Copy to"), tr("Copy the filters of the selected channel to other channels"));
    KeyboardAccess::describe(m_reset, tr("Reset"), tr("Clear every filter of the selected channel"));
    for (int b = 0; b < BandCount; ++b)
        KeyboardAccess::describe(m_band.buttons[size_t(b)], tr("Band %1").arg(b + 1), tr("Band %1").arg(b + 1));
    KeyboardAccess::describe(m_graph, tr("Filter response"));
    // The graph's handles drag what the section and band fields below set.
    KeyboardAccess::markMouseOnly(m_graph);
    describeEditors();
}

QString FilterPage::channelTitle(int channel) const
{
    return m_variant.inputs ? QString::asprintf("IN %c", 'A' + channel) : QString::asprintf("OUT %d", channel + 1);
}

// The editors act on the selected channel and band; their names say which,
// so they are renamed whenever the selection moves. Names use the fixed
// channel title: an operator's label may repeat or be empty.
void FilterPage::describeEditors()
{
    const QString channel = channelTitle(m_currentChannel);
    const QString freqTip = tr("Frequency in Hz");
    for (int s = 0; s < 2; ++s) {
        const SectionControls &c = m_sections[size_t(s)];
        const QString section = s == HighPass ? tr("%1 high-pass").arg(channel) : tr("%1 low-pass").arg(channel);
        KeyboardAccess::describe(c.enable, tr("%1 enable").arg(section));
        KeyboardAccess::describe(c.type, tr("%1 type").arg(section));
        KeyboardAccess::describe(c.slope, tr("%1 slope").arg(section), tr("Slope in dB per octave"));
        KeyboardAccess::describe(c.freqKnob, tr("%1 frequency knob").arg(section), freqTip);
        KeyboardAccess::describe(c.freqEdit, tr("%1 frequency in Hz").arg(section), freqTip);
    }
    const QString band = tr("%1 band %2").arg(channel).arg(m_currentBand + 1);
    const QString gainTip = tr("Gain in dB");
    const QString qTip = tr("Quality factor: centre frequency over bandwidth");
    KeyboardAccess::describe(m_band.enable, tr("%1 enable").arg(band));
    KeyboardAccess::describe(m_band.type, tr("%1 type").arg(band));
    KeyboardAccess::describe(m_band.freqKnob, tr("%1 frequency knob").arg(band), freqTip);
    KeyboardAccess::describe(m_band.freqEdit, tr("%1 frequency in Hz").arg(band), freqTip);
    KeyboardAccess::describe(m_band.gainKnob, tr("%1 gain knob").arg(band), gainTip);
    KeyboardAccess::describe(m_band.gainEdit, tr("%1 gain in dB").arg(band), gainTip);
    KeyboardAccess::describe(m_band.qKnob, tr("%1 Q knob").arg(band), qTip);
    KeyboardAccess::describe(m_band.qEdit, tr("%1 Q").arg(band), qTip);
}

void FilterPage::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    ModulePage::changeEvent(event);
}

void FilterPage::setInLabel(uchar channel, const QString &label)
{
    if (m_variant.inputs)
        setChannelLabel(channel, label);
}

void FilterPage::setOutLabel(uchar channel, const QString &label)
{
    if (!m_variant.inputs)
        setChannelLabel(channel, label);
}

void FilterPage::setChannelLabel(uchar channel, const QString &label)
{
    if (channel < m_variant.channels) {
        m_labels[channel] = label;
        m_channelPanel->channelButton(channel)->setToolTip(label);
    }
}

// Records.

const FilterChannel &FilterPage::record(int channel) const
{
    return m_records[size_t(qBound(0, channel, m_variant.channels - 1))];
}

void FilterPage::setRecord(int channel, const FilterChannel &record)
{
    if (channel < 0 || channel >= m_variant.channels || m_records[size_t(channel)] == record)
        return;
    m_records[size_t(channel)] = record;
    if (channel == m_currentChannel)
        showChannel();
}

uchar FilterPage::lockState(int channel, int entry) const
{
    if (channel < 0 || channel >= m_variant.channels || entry < 0 || entry >= LockEntries)
        return 0;
    return m_locks[size_t(channel)][size_t(entry)];
}

QPushButton *FilterPage::channelButton(int index) const
{
    return m_channelPanel->channelButton(index);
}

FilterPage::SectionValues FilterPage::sectionOf(const FilterChannel &r, Section section)
{
    const SectionFields &f = SectionFieldsOf[section];
    return {r.*f.enable, r.*f.type, r.*f.slope, r.*f.freq};
}

void FilterPage::setSectionOf(FilterChannel &r, Section section, const SectionValues &v)
{
    const SectionFields &f = SectionFieldsOf[section];
    r.*f.enable = v.enable;
    r.*f.type = v.type;
    r.*f.slope = v.slope;
    r.*f.freq = v.freq;
}

FilterPage::BandValues FilterPage::bandOf(const FilterChannel &r, int band)
{
    const size_t b = size_t(band);
    return {r.bandEnable[b], r.bandType[b], r.bandFreq[b], r.bandGain[b], r.bandQIndex[b]};
}

void FilterPage::setBandOf(FilterChannel &r, int band, const BandValues &v)
{
    const size_t b = size_t(band);
    r.bandEnable[b] = v.enable;
    r.bandType[b] = v.type;
    r.bandFreq[b] = v.freq;
    r.bandGain[b] = v.gain;
    r.bandQIndex[b] = v.qIndex;
}

bool FilterPage::storeSection(int channel, Section section, const SectionValues &v, int flags)
{
    FilterChannel &r = m_records[size_t(channel)];
    const SectionValues old = sectionOf(r, section);
    if (old.enable == v.enable && old.type == v.type && old.slope == v.slope && old.freq == v.freq)
        return false;
    setSectionOf(r, section, v);
    if (channel == m_currentChannel) {
        showSection(section, flags);
        feedGraphSection(section);
    }
    return true;
}

bool FilterPage::storeBand(int channel, int band, const BandValues &v, int flags)
{
    FilterChannel &r = m_records[size_t(channel)];
    const BandValues old = bandOf(r, band);
    if (old.enable == v.enable && old.type == v.type && old.freq == v.freq && old.gain == v.gain
        && old.qIndex == v.qIndex)
        return false;
    setBandOf(r, band, v);
    if (channel == m_currentChannel) {
        feedGraphBand(band);
        if (band == m_currentBand)
            showBandControls(flags);
    }
    return true;
}

// Controls and graph.

void FilterPage::showSection(Section section, int flags)
{
    const SectionControls &c = m_sections[section];
    const SectionValues v = shownSection(section);
    setCheckedQuietly(c.enable, v.enable != 0);
    setIndexQuietly(c.type, v.type <= MaxSectionType ? v.type : -1);
    setIndexQuietly(c.slope, v.slope <= MaxSlope ? v.slope : -1);
    showText(c.freqEdit, QString::number(v.freq), flags & ForceEdit);
    if (!(flags & SkipKnob))
        showKnob(c.freqKnob, v.freq);
}

void FilterPage::showBandControls(int flags)
{
    const BandControls &c = m_band;
    const BandValues v = shownBand();
    setCheckedQuietly(c.enable, v.enable != 0);
    setIndexQuietly(c.type, v.type <= MaxBandType ? v.type : -1);
    showText(c.freqEdit, QString::number(v.freq), flags & ForceEdit);
    showText(c.gainEdit, gainText(v.gain), flags & ForceEdit);
    showText(c.qEdit, qText(v.qIndex), true);
    if (!(flags & SkipKnob)) {
        showKnob(c.freqKnob, v.freq);
        // The record keeps the gain as the unit reported it; the knob shows
        // it within its range (rounding a huge gain would overflow).
        showKnob(c.gainKnob, qRound(qBound(-float(GainKnobLimit), v.gain * 10.0f, float(GainKnobLimit))));
        showKnob(c.qKnob, v.qIndex);
    }
}

void FilterPage::feedGraphSection(Section section)
{
    const SectionValues v = shownSection(section);
    if (section == HighPass)
        m_graph->setHighPass(v.enable == 0, v.type, v.slope, v.freq);
    else
        m_graph->setLowPass(v.enable == 0, v.type, v.slope, v.freq);
}

void FilterPage::feedGraphBand(int band)
{
    const FilterChannel &r = m_records[m_currentChannel];
    const BandValues v = bandOf(r, band);
    m_graph->setBand(uchar(band), v.enable == 0, v.type, v.freq, v.gain, r.bandQ(band));
}

void FilterPage::showChannel()
{
    showSection(HighPass);
    showSection(LowPass);
    showBandControls();
    feedGraphSection(HighPass);
    feedGraphSection(LowPass);
    for (int b = 0; b < BandCount; ++b)
        feedGraphBand(b);
    m_graph->setSelectedBand(m_currentBand);
    applyLocks();
}

// Channel and band.

void FilterPage::channelChanged()
{
    const int index = m_channelPanel->group()->id(qobject_cast<QAbstractButton *>(sender()));
    if (index >= 0)
        selectChannel(index);
}

void FilterPage::selectChannel(int index)
{
    if (index < 0 || index >= m_variant.channels)
        return;
    // Changes still waiting to go out belong to the channel being left.
    flushPending();
    setCheckedQuietly(m_channelPanel->channelButton(m_currentChannel), false);
    setCheckedQuietly(m_channelPanel->channelButton(index), true);
    m_currentChannel = uchar(index);
    showChannel();
    describeEditors();
}

void FilterPage::bandBtnClicked()
{
    const int band = m_bandGroup->id(qobject_cast<QAbstractButton *>(sender()));
    if (band >= 0)
        selectBand(band);
}

void FilterPage::selectBand(int band)
{
    if (band < 0 || band >= BandCount)
        return;
    if (band != m_currentBand
        && (m_pending[PendingBandKnobs].isPending() || m_pending[PendingBandGain].isPending())) {
        // A knob or drag of the band being left still has to be sent.
        cancelBandPending();
        sendBand();
    }
    setCheckedQuietly(m_band.buttons[m_currentBand], false);
    setCheckedQuietly(m_band.buttons[size_t(band)], true);
    m_currentBand = uchar(band);
    showBandControls();
    m_graph->setSelectedBand(band);
    applyBandLock(band);
    describeEditors();
}

// Operator edits.

FilterPage::SectionValues FilterPage::shownSection(Section section) const
{
    return sectionOf(m_records[m_currentChannel], section);
}

FilterPage::BandValues FilterPage::shownBand() const
{
    return bandOf(m_records[m_currentChannel], m_currentBand);
}

PendingSend &FilterPage::sectionPending(Section section)
{
    return m_pending[size_t(section == HighPass ? PendingHighPass : PendingLowPass)];
}

void FilterPage::cancelBandPending()
{
    m_pending[size_t(PendingBandKnobs)].cancel();
    m_pending[size_t(PendingBandGain)].cancel();
}

void FilterPage::sectionEdited(Section section, const SectionValues &v, bool rewriteField)
{
    storeSection(m_currentChannel, section, v);
    if (rewriteField)
        showSection(section, ForceEdit);
    sectionPending(section).cancel();
    holdReplies();
    sendSection(section);
}

void FilterPage::sectionChoiceEdited(Section section, quint8 SectionValues::*field, int value, int max)
{
    if (value < 0 || value > max)
        return;
    SectionValues v = shownSection(section);
    v.*field = quint8(value);
    sectionEdited(section, v);
}

void FilterPage::HPassEnableClicked(bool isChecked)
{
    sectionChoiceEdited(HighPass, &SectionValues::enable, isChecked ? 1 : 0, 1);
}

void FilterPage::HPassTypeChanged(int value)
{
    sectionChoiceEdited(HighPass, &SectionValues::type, value, MaxSectionType);
}

void FilterPage::HPassSlopeChanged(int value)
{
    sectionChoiceEdited(HighPass, &SectionValues::slope, value, MaxSlope);
}

void FilterPage::LPassEnableClicked(bool isChecked)
{
    sectionChoiceEdited(LowPass, &SectionValues::enable, isChecked ? 1 : 0, 1);
}

void FilterPage::LPassTypeChanged(int value)
{
    sectionChoiceEdited(LowPass, &SectionValues::type, value, MaxSectionType);
}

void FilterPage::LPassSlopeChanged(int value)
{
    sectionChoiceEdited(LowPass, &SectionValues::slope, value, MaxSlope);
}

void FilterPage::sectionKnobTurned(Section section, float value)
{
    if (!std::isfinite(value))
        return;
    SectionValues v = shownSection(section);
    v.freq = quint16(qBound(FreqMin, int(value), FreqMax));
    // The knob stays where the operator has it; only the rest follows.
    storeSection(m_currentChannel, section, v, SkipKnob);
    sectionPending(section).arm();
    holdReplies();
}

void FilterPage::HPassFreqChanged(float value)
{
    sectionKnobTurned(HighPass, value);
}

void FilterPage::LPassFreqChanged(float value)
{
    sectionKnobTurned(LowPass, value);
}

void FilterPage::sectionFreqFinished(Section section)
{
    quint16 freq = 0;
    if (!typedFrequency(m_sections[section].freqEdit, &freq)) {
        // An emptied field is no frequency: show the stored one again rather
        // than sending the 20 Hz an empty number would clamp to.
        showSection(section, ForceEdit);
        return;
    }
    SectionValues v = shownSection(section);
    v.freq = freq;
    sectionEdited(section, v, true);
}

void FilterPage::HPassFreqEditingFinished()
{
    sectionFreqFinished(HighPass);
}

void FilterPage::LPassFreqEditingFinished()
{
    sectionFreqFinished(LowPass);
}

void FilterPage::sectionGraphDragged(Section section, float freq)
{
    if (!std::isfinite(freq))
        return;
    SectionValues v = shownSection(section);
    if (freq >= FreqMin && freq <= FreqMax) {
        v.freq = quint16(freq);
    } else {
        const quint16 limit = freq > FreqMax ? FreqMax : FreqMin;
        if (v.freq == limit) {
            // Nothing to store: put the handle back where the record has it.
            feedGraphSection(section);
            return;
        }
        v.freq = limit;
    }
    storeSection(m_currentChannel, section, v);
    sectionPending(section).arm();
    holdReplies();
}

void FilterPage::HPFilterGraphChanged(float freq)
{
    sectionGraphDragged(HighPass, freq);
}

void FilterPage::LPFilterGraphChanged(float freq)
{
    sectionGraphDragged(LowPass, freq);
}

void FilterPage::bandEdited(const BandValues &v, bool rewriteFields)
{
    storeBand(m_currentChannel, m_currentBand, v);
    if (rewriteFields)
        showBandControls(ForceEdit);
    cancelBandPending();
    holdReplies();
    sendBand();
}

void FilterPage::PEQEnableClicked(bool isChecked)
{
    BandValues v = shownBand();
    v.enable = isChecked ? 1 : 0;
    bandEdited(v);
}

void FilterPage::PEQTypeChanged(int value)
{
    if (value < 0 || value > MaxBandType)
        return;
    BandValues v = shownBand();
    v.type = quint8(value);
    bandEdited(v);
}

void FilterPage::bandKnobTurned(const BandValues &v)
{
    storeBand(m_currentChannel, m_currentBand, v, SkipKnob);
    m_pending[size_t(PendingBandKnobs)].arm();
    holdReplies();
}

void FilterPage::PEQFreqChanged(float value)
{
    if (!std::isfinite(value))
        return;
    BandValues v = shownBand();
    v.freq = quint16(qBound(FreqMin, int(value), FreqMax));
    bandKnobTurned(v);
}

void FilterPage::PEQGainChanged(float value)
{
    if (!std::isfinite(value))
        return;
    BandValues v = shownBand();
    v.gain = float(qBound(-GainKnobLimit, qRound(value), GainKnobLimit)) / 10.0f;
    bandKnobTurned(v);
}

void FilterPage::PEQQChanged(float value)
{
    if (!std::isfinite(value))
        return;
    BandValues v = shownBand();
    v.qIndex = quint8(qBound(0, int(value), MaxQIndex));
    bandKnobTurned(v);
}

void FilterPage::PEQFreqEditingFinished()
{
    quint16 freq = 0;
    if (!typedFrequency(m_band.freqEdit, &freq)) {
        showBandControls(ForceEdit);
        return;
    }
    BandValues v = shownBand();
    v.freq = freq;
    bandEdited(v, true);
}

void FilterPage::PEQGainEditingFinished()
{
    bool ok = false;
    const float typed = m_band.gainEdit->text().toFloat(&ok);
    if (!ok || !std::isfinite(typed)) {
        showBandControls(ForceEdit);
        return;
    }
    BandValues v = shownBand();
    v.gain = qBound(-GainLimit, typed, GainLimit);
    bandEdited(v, true);
}

void FilterPage::peqGraphChanged(uchar band, float freq, float gain)
{
    if (band >= BandCount || !std::isfinite(freq) || !std::isfinite(gain))
        return;
    // Dragging another band's handle makes it the current band; the drag
    // itself then applies to it like any other.
    if (band != m_currentBand)
        selectBand(band);

    BandValues v = shownBand();
    bool gainArmed = false;
    if (gain > GainLimit || gain < -GainLimit) {
        const float limit = gain > GainLimit ? GainLimit : -GainLimit;
        if (v.gain != limit) {
            v.gain = limit;
            gainArmed = true;
        }
    } else {
        // Kept to the 0.1 dB the page shows and the knob steps in, so that
        // what the unit gets is what the operator reads.
        v.gain = float(qRound(gain * 10.0f)) / 10.0f;
        gainArmed = true;
    }
    bool freqArmed = true;
    if (freq >= FreqMin && freq <= FreqMax) {
        v.freq = quint16(freq);
    } else {
        const quint16 limit = freq > FreqMax ? FreqMax : FreqMin;
        freqArmed = v.freq != limit;
        v.freq = limit;
    }
    if (!storeBand(m_currentChannel, m_currentBand, v))
        feedGraphBand(m_currentBand); // the handle goes back onto the stored values
    if (gainArmed)
        m_pending[size_t(PendingBandGain)].arm();
    if (freqArmed)
        m_pending[size_t(PendingBandKnobs)].arm();
    holdReplies();
}

// Copy and reset.

void FilterPage::copyToClicked()
{
    QChannelSelect::Selection targets;
    if (!QChannelSelect::select(this, m_currentChannel + m_variant.selectSourceOffset, &targets))
        return;
    // The unit copies what it holds: changes still pending go out first.
    flushPending();
    const uchar source = m_currentChannel;
    uchar bytes[FilterChannel::Size];
    m_records[source].encode(bytes);
    const uchar own = m_variant.inputs ? targets.inputMask : targets.outputMask;
    const uchar other = m_variant.inputs ? targets.outputMask : targets.inputMask;
    channelCopy(uchar(own & ~(1u << source)), reinterpret_cast<char *>(bytes));
    if (other)
        emitCopyToTwin(other, reinterpret_cast<char *>(bytes));
    const uchar masks[2] = {targets.inputMask, targets.outputMask};
    holdReplies();
    sendSet(F::Copy, source, masks, sizeof masks);
}

void FilterPage::channelCopy(uchar select, char *args)
{
    if (!args || !select)
        return;
    const FilterChannel copied = FilterChannel::decode(reinterpret_cast<const uchar *>(args));
    bool currentChanged = false;
    for (int ch = 0; ch < m_variant.channels; ++ch) {
        if (!(select & (1u << ch)) || m_records[size_t(ch)] == copied)
            continue;
        m_records[size_t(ch)] = copied;
        currentChanged = currentChanged || ch == m_currentChannel;
    }
    if (currentChanged) {
        // Whatever was pending for the shown channel has been overwritten.
        for (PendingSend &p : m_pending)
            p.cancel();
        showChannel();
    }
}

void FilterPage::ResetClicked()
{
    if (!m_prompt->confirmDestructive(this, Prompt::Icon::Warning, tr("warning"), tr("Clear all setting?"),
                                      {tr("OK"), tr("Cancle")}))
        return;
    for (PendingSend &p : m_pending)
        p.cancel();
    m_records[m_currentChannel] = FilterChannel();
    showChannel();
    holdReplies();
    sendSet(F::Reset, m_currentChannel, nullptr, 0);
}

// Sending.

void FilterPage::sendSection(Section section)
{
    const SectionValues v = shownSection(section);
    uchar bytes[F::SectionSize];
    bytes[0] = v.enable;
    bytes[1] = v.type;
    bytes[2] = v.slope;
    writeFloat(bytes + 3, float(v.freq));
    sendSet(section == HighPass ? F::HighPass : F::LowPass, m_currentChannel, bytes, sizeof bytes);
}

void FilterPage::sendBand()
{
    const BandValues v = shownBand();
    // The band byte follows the channel byte that sendSet() puts first.
    uchar bytes[1 + F::BandSize];
    bytes[0] = m_currentBand;
    bytes[1] = v.enable;
    bytes[2] = v.type;
    writeFloat(bytes + 3, float(v.freq));
    writeFloat(bytes + 7, v.gain);
    bytes[11] = v.qIndex;
    sendSet(F::Band, m_currentChannel, bytes, sizeof bytes);
}

void FilterPage::sendPending(int which)
{
    switch (which) {
    case PendingHighPass: sendSection(HighPass); break;
    case PendingLowPass: sendSection(LowPass); break;
    default: sendBand(); break;
    }
}

void FilterPage::sendDue(const std::function<bool(PendingSend &)> &due)
{
    // Both band pairs lead to the same message; when they fall due together
    // (a drag moves frequency and gain at once) it goes out once.
    bool bandSent = false;
    for (int p = 0; p < PendingCount; ++p) {
        if (!due(m_pending[size_t(p)]))
            continue;
        const bool band = p == PendingBandKnobs || p == PendingBandGain;
        if (band && bandSent)
            continue;
        bandSent = bandSent || band;
        sendPending(p);
    }
}

void FilterPage::flushPending()
{
    sendDue([](PendingSend &pending) {
        if (!pending.isPending())
            return false;
        pending.cancel();
        return true;
    });
}

void FilterPage::holdReplies()
{
    m_holdOff.hold();
}

void FilterPage::advance()
{
    sendDue([](PendingSend &pending) { return pending.tick(); });
    m_holdOff.tick();
}

void FilterPage::poll(quint32 tick)
{
    if (tick % 2 != 0)
        return;
    m_pollChannel = quint8((m_pollChannel + 1) % m_variant.channels);
    const uchar ch = m_pollChannel;
    if (Link *l = link())
        l->sendFrame(Frame::System, Frame::Security, m_variant.securityItem, Frame::Query, &ch, 1);
    queryChannel(F::HighPass, ch);
    queryChannel(F::LowPass, ch);
    for (uchar band = 0; band < BandCount; ++band) {
        const uchar payload[2] = {ch, band};
        if (Link *l = link())
            l->sendFrame(Frame::Module, moduleId(), F::Band, Frame::Query, payload, sizeof payload);
    }
}

// Receiving.

void FilterPage::onMessage(quint8 param, quint8 op, quint16 length, const uchar *payload)
{
    if (!isReport(op) || !payload)
        return;
    // Answers to polls sent before the operator's last movement would pull
    // the control back.
    if (m_holdOff.isActive())
        return;
    switch (param) {
    case F::HighPass: handleSectionReport(HighPass, length, payload); break;
    case F::LowPass: handleSectionReport(LowPass, length, payload); break;
    case F::Band: handleBandReport(length, payload); break;
    default: break;
    }
}

void FilterPage::handleSectionReport(Section section, quint16 length, const uchar *payload)
{
    if (length != SectionReportLength || payload[0] >= m_variant.channels)
        return;
    // A type or slope the selectors cannot show has no response either:
    // such a report is refused whole rather than half applied.
    SectionValues v;
    v.enable = payload[1] ? 1 : 0;
    v.type = payload[2];
    v.slope = payload[3];
    if (v.type > MaxSectionType || v.slope > MaxSlope || !frequencyFromReport(readFloat(payload + 4), &v.freq)) {
        qCDebug(lcPages, "module %d: %s report refused (type %d, slope %d)", moduleId(),
                section == HighPass ? "high-pass" : "low-pass", v.type, v.slope);
        return;
    }
    storeSection(payload[0], section, v);
}

void FilterPage::handleBandReport(quint16 length, const uchar *payload)
{
    if (length != BandReportLength || payload[0] >= m_variant.channels || payload[1] >= BandCount)
        return;
    BandValues v;
    v.enable = payload[2] ? 1 : 0;
    v.type = payload[3];
    v.gain = readFloat(payload + 8);
    v.qIndex = payload[12];
    if (v.type > MaxBandType || v.qIndex > MaxQIndex || !std::isfinite(v.gain)
        || !frequencyFromReport(readFloat(payload + 4), &v.freq)) {
        qCDebug(lcPages, "module %d: band %d report refused (type %d, Q index %d)", moduleId(), payload[1], v.type,
                v.qIndex);
        return;
    }
    storeBand(payload[0], payload[1], v);
}

// Locks.

void FilterPage::onLockReport(quint16 length, const uchar *payload)
{
    if (length != LockReportLength || !payload || payload[0] >= m_variant.channels)
        return;
    const uchar ch = payload[0];
    auto &locks = m_locks[ch];
    if (std::memcmp(locks.data(), payload + 1, LockEntries) == 0)
        return;
    std::memcpy(locks.data(), payload + 1, LockEntries);
    if (ch == m_currentChannel)
        applyLocks();
}

void FilterPage::applyLocks()
{
    applyGraphLock();
    applySectionLock(HighPass);
    applySectionLock(LowPass);
    for (int b = 0; b < BandCount; ++b)
        applyBandLock(b);
}

void FilterPage::applyGraphLock()
{
    applyLock(m_graph, m_locks[m_currentChannel][S::FilterGraphEntry]);
}

void FilterPage::applySectionLock(Section section)
{
    const uchar state = m_locks[m_currentChannel][size_t(S::FilterHighPassEntry + section)];
    applyLock(m_sections[section].group, state);
    const bool shown = state == 0 || state == 1;
    if (section == HighPass) {
        m_graph->setHighPassShown(shown);
        m_graph->setHighPassEditable(state == 0);
    } else {
        m_graph->setLowPassShown(shown);
        m_graph->setLowPassEditable(state == 0);
    }
}

void FilterPage::applyBandLock(int band)
{
    const uchar state = m_locks[m_currentChannel][size_t(S::FilterFirstBandEntry + band)];
    m_graph->setBandShown(uchar(band), state == 0 || state == 1);
    m_graph->setBandEditable(uchar(band), state == 0);
    if (band == m_currentBand) {
        applyLock(m_band.editor, state);
        applyLock(m_band.enable, state);
        applyLock(m_band.type, state);
        applyLock(m_band.typeLabel, state);
    }
}

void FilterPage::setFilterGraphSecurityState(uchar channel)
{
    if (channel == m_currentChannel)
        applyGraphLock();
}

void FilterPage::setHPFilterSecurityState(uchar channel)
{
    if (channel == m_currentChannel)
        applySectionLock(HighPass);
}

void FilterPage::setLPFilterSecurityState(uchar channel)
{
    if (channel == m_currentChannel)
        applySectionLock(LowPass);
}

void FilterPage::setFilterBandSecurityState(uchar channel, uchar band)
{
    if (channel == m_currentChannel && band < BandCount)
        applyBandLock(band);
}
