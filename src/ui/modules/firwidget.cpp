#include "firwidget.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <cmath>

#include "channelpanel.h"
#include "core/files/firfiles.h"
#include "core/link/frame.h"
#include "core/link/link.h"
#include "core/protocol/protocol.h"
#include "firgraph.h"
#include "qchannelselect.h"
#include "ui/common/prompt.h"
#include "ui/controls/keyboardaccess.h"
#include "ui/controls/knob.h"
#include "ui/controls/valuefield.h"

namespace {

using PageParts::keepSpaceWhenHidden;
using PageParts::newPanel;

namespace F = Protocol::Fir;

constexpr int ReportLength = Protocol::ReportSize<F::params, F::Record>;
constexpr int FreqMin = 20;
constexpr int FreqMax = 20000;
constexpr int KaiserWindowIndex = 6;
constexpr int IndicatorEvery = 4; // ticks: 600 ms
constexpr int PollEvery = 2;

const char *const TypeTexts[] = {
    QT_TRANSLATE_NOOP("FirWidget", "Low Pass"),
    QT_TRANSLATE_NOOP("FirWidget", "High Pass"),
    QT_TRANSLATE_NOOP("FirWidget", "Band Pass"),
    QT_TRANSLATE_NOOP("FirWidget", "External FIR"),
};

const char *const WindowTexts[] = {
    QT_TRANSLATE_NOOP("FirWidget", "Rectangle"), QT_TRANSLATE_NOOP("FirWidget", "Tukey"),
    QT_TRANSLATE_NOOP("FirWidget", "Triangular"), QT_TRANSLATE_NOOP("FirWidget", "Hanning"),
    QT_TRANSLATE_NOOP("FirWidget", "Hamming"),   QT_TRANSLATE_NOOP("FirWidget", "Blackman"),
    QT_TRANSLATE_NOOP("FirWidget", "Kaiser"),
};


QLabel *caption(QWidget *parent, bool title = false)
{
    auto *label = new QLabel(parent);
    label->setAlignment(Qt::AlignCenter);
    if (title)
        label->setObjectName(QStringLiteral("titleLabel"));
    return label;
}

} // namespace

const QString FirWidget::SelectedStyle = QStringLiteral(
    "QPushButton {background: rgb(21, 148, 192);color: rgb(228, 236, 238);border: 1px solid rgb(23, 22, 22);"
    "border-radius: 2px;} QPushButton:!enabled {background: rgba(21, 148, 192, 50%);"
    "color: rgba(228, 236, 238, 50%);}");
const QString FirWidget::NormalStyle = QStringLiteral(
    "QPushButton {background-color: rgb(75, 74, 74);color: rgb(171, 171, 171);border-radius: 2px;"
    "border: 1px solid rgb(23, 22, 22);} QPushButton:!enabled {background: rgb(60, 60, 60);"
    "color: rgb(100, 100, 100);}");

// The FIR page moves whole coefficient records; it polls on a slower tick.
FirWidget::FirWidget(Link *link, QWidget *parent)
    : ModulePage(link, Frame::Fir, Channels, TickMs, parent)
    , m_prompt(Prompt::standard())
{
    setObjectName(QStringLiteral("FirWidget"));
    build();
    retranslate(false);
    rebuildTapsList();
    m_graph->setSampleRate(m_sampleRate);
    m_records.fill(defaultRecord());
    showRecord(m_records[0]);
    updateExport();
}

FirWidget::~FirWidget() = default;

void FirWidget::setPrompt(Prompt *prompt)
{
    m_prompt = prompt ? prompt : Prompt::standard();
}

// Construction.

void FirWidget::build()
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
    m_graph = new FirGraph(graphPanel);
    graphLayout->addWidget(m_graph);
    bodyLayout->addWidget(graphPanel, 1);

    auto *lower = new QHBoxLayout;
    lower->setSpacing(8);
    lower->addWidget(buildFrequencyPanel());
    lower->addWidget(buildWindowPanel());
    lower->addWidget(buildDevicePanel(), 1);
    bodyLayout->addLayout(lower);
    page->addWidget(m_body, 1);
}

QWidget *FirWidget::buildChannelPanel()
{
    QStringList names;
    for (int c = 0; c < Channels; ++c)
        names << QStringLiteral("OUT %1").arg(c + 1);
    m_channelPanel = new ChannelPanel(names, [this](ChannelPanel *) { return buildTypePanel(); }, this);
    m_copy = m_channelPanel->copyButton();
    m_clear = m_channelPanel->clearButton();

    connect(m_channelPanel->group(), &QButtonGroup::idClicked, this, &FirWidget::channelButtonGroupButtonClicked);
    connect(m_copy, &QPushButton::clicked, this, &FirWidget::copyToClicked);
    connect(m_clear, &QPushButton::clicked, this, &FirWidget::resetClicked);
    return m_channelPanel;
}

QWidget *FirWidget::buildTypePanel()
{
    m_typeBox = new QWidget(this);
    keepSpaceWhenHidden(m_typeBox);
    auto *layout = new QVBoxLayout(m_typeBox);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    m_typeTitle = caption(m_typeBox, true);
    m_typeTitle->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    layout->addWidget(m_typeTitle);
    auto *grid = new QGridLayout;
    grid->setSpacing(6);
    QFont typeFont = font();
    typeFont.setPointSize(8);
    typeFont.setWeight(QFont::Normal);
    for (int t = 0; t < 4; ++t) {
        auto *button = new QPushButton(m_typeBox);
        button->setObjectName(QString::number(t));
        button->setMinimumSize(98, 30);
        button->setFont(typeFont);
        connect(button, &QPushButton::clicked, this, &FirWidget::typeButtonClicked);
        grid->addWidget(button, t / 2, t % 2);
        m_typeButtons[size_t(t)] = button;
    }
    layout->addLayout(grid);

    auto *tapsRow = new QHBoxLayout;
    tapsRow->setSpacing(8);
    m_tapsLabel = caption(m_typeBox);
    m_tapsLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_taps = new QComboBox(m_typeBox);
    m_taps->setMinimumWidth(90);
    tapsRow->addWidget(m_tapsLabel);
    tapsRow->addWidget(m_taps, 1);
    layout->addLayout(tapsRow);
    connect(m_taps, QOverload<int>::of(&QComboBox::activated), this, &FirWidget::tapsComboBoxChanged);
    return m_typeBox;
}

QWidget *FirWidget::buildFrequencyPanel()
{
    m_frequencyPanel = newPanel(m_body);
    auto *layout = new QHBoxLayout(m_frequencyPanel);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->setSpacing(14);

    auto column = [this](QWidget *parent, QLabel *&label, QLabel *&unit, Knob *&knob, ValueField *&edit,
                         int initial) {
        auto *c = new QVBoxLayout;
        c->setSpacing(2);
        label = caption(parent);
        unit = caption(parent);
        knob = new Knob(parent);
        knob->setSize(1);
        knob->setMinimum(FreqMin);
        knob->setMaximum(FreqMax);
        knob->setValue(float(initial));
        edit = new ValueField(QString::number(initial), parent);
        edit->setRange(FreqMin, FreqMax, 0, QStringLiteral("Hz"));
        edit->setAlignment(Qt::AlignCenter);
        edit->setFixedWidth(70);
        c->addWidget(label, 0, Qt::AlignHCenter);
        c->addWidget(unit, 0, Qt::AlignHCenter);
        c->addWidget(knob, 0, Qt::AlignHCenter);
        c->addWidget(edit, 0, Qt::AlignHCenter);
        return c;
    };
    layout->addLayout(column(m_frequencyPanel, m_lowLabel, m_lowUnit, m_lowKnob, m_lowEdit, 500));
    m_highColumn = new QWidget(m_frequencyPanel);
    auto *highLayout = column(m_highColumn, m_highLabel, m_highUnit, m_highKnob, m_highEdit, 5000);
    highLayout->setContentsMargins(0, 0, 0, 0);
    m_highColumn->setLayout(highLayout);
    keepSpaceWhenHidden(m_highColumn);
    layout->addWidget(m_highColumn);
    keepSpaceWhenHidden(m_frequencyPanel);

    connect(m_lowKnob, &Knob::valueChanged, this, &FirWidget::lowFreqKnobChanged);
    connect(m_highKnob, &Knob::valueChanged, this, &FirWidget::highFreqKnobChanged);
    connect(m_lowEdit, &ValueField::edited, this, &FirWidget::lowFreqEditFinished);
    connect(m_highEdit, &ValueField::edited, this, &FirWidget::highFreqEditFinished);
    return m_frequencyPanel;
}

QWidget *FirWidget::buildWindowPanel()
{
    m_windowPanel = newPanel(m_body);
    auto *layout = new QVBoxLayout(m_windowPanel);
    layout->setContentsMargins(10, 8, 10, 8);
    layout->setSpacing(4);
    m_windowLabel = caption(m_windowPanel);
    m_windowLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_window = new QComboBox(m_windowPanel);
    for (int i = 0; i < 7; ++i)
        m_window->addItem(QString());
    m_window->setMinimumWidth(120);
    m_betaLabel = caption(m_windowPanel);
    m_betaLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_beta = new QComboBox(m_windowPanel);
    for (int i = 0; i <= FirChannel::MaxKaiserBeta; ++i)
        m_beta->addItem(QString::number(i));
    m_beta->setCurrentIndex(FirChannel::MaxKaiserBeta);
    keepSpaceWhenHidden(m_betaLabel);
    keepSpaceWhenHidden(m_beta);
    keepSpaceWhenHidden(m_windowPanel);
    layout->addWidget(m_windowLabel);
    layout->addWidget(m_window);
    layout->addSpacing(6);
    layout->addWidget(m_betaLabel);
    layout->addWidget(m_beta);
    layout->addStretch(1);
    connect(m_window, QOverload<int>::of(&QComboBox::activated), this, &FirWidget::windowTypeComboBoxChanged);
    connect(m_beta, QOverload<int>::of(&QComboBox::activated), this, &FirWidget::kaiserBetaComboBoxChanged);
    return m_windowPanel;
}

QWidget *FirWidget::buildDevicePanel()
{
    auto *device = newPanel(m_body);
    auto *layout = new QGridLayout(device);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setHorizontalSpacing(8);
    layout->setVerticalSpacing(8);
    m_enable = new QPushButton(device);
    m_enable->setCheckable(true);
    m_update = new QPushButton(device);
    m_update->setStyleSheet(NormalStyle);
    m_view = new QPushButton(device);
    m_import = new QPushButton(device);
    m_export = new QPushButton(device);
    m_export->setEnabled(false);
    for (QPushButton *button : {m_enable, m_update, m_view, m_import, m_export})
        button->setMinimumHeight(30);
    layout->addWidget(m_enable, 0, 0);
    layout->addWidget(m_view, 0, 1);
    layout->addWidget(m_update, 1, 0, 1, 2);
    layout->addWidget(m_import, 2, 0);
    layout->addWidget(m_export, 2, 1);
    layout->setRowStretch(3, 1);

    connect(m_enable, &QPushButton::clicked, this, &FirWidget::enableClicked);
    connect(m_update, &QPushButton::clicked, this, &FirWidget::updateToDeviceClicked);
    connect(m_view, &QPushButton::clicked, this, &FirWidget::viewCurrentClicked);
    connect(m_import, &QPushButton::clicked, this, &FirWidget::importClicked);
    connect(m_export, &QPushButton::clicked, this, &FirWidget::exportClicked);
    return device;
}

void FirWidget::retranslate(bool languageChanged)
{
    m_channelPanel->title()->setText(tr("Output Channel"));
    m_typeTitle->setText(tr("FIR Type"));
    for (int t = 0; t < 4; ++t)
        m_typeButtons[size_t(t)]->setText(tr(TypeTexts[t]));
    m_typeButtons[ExternalType]->setToolTip(tr("Import external FIR"));
    m_tapsLabel->setText(tr("Taps"));
    m_lowLabel->setText(m_type == BandPassType ? tr("Low Freq") : tr("Freq"));
    m_highLabel->setText(tr("High Freq"));
    m_lowUnit->setText(tr("(Hz)"));
    m_highUnit->setText(tr("(Hz)"));
    m_windowLabel->setText(tr("Window Type"));
    for (int i = 0; i < m_window->count(); ++i)
        m_window->setItemText(i, tr(WindowTexts[i]));
    m_betaLabel->setText(tr("Kaiser Beta"));
    m_enable->setText(tr("Enable"));
    m_update->setText(tr("Update to Device"));
    if (languageChanged) {
        m_view->setText(tr("Download and View"));
        m_view->setToolTip(tr("Download and view current settings of the device"));
    } else {
        m_view->setText(tr("View Current"));
    }
    m_import->setText(tr("Import"));
    m_export->setText(tr("Export"));
    // At least 120 pixels, and never narrower than the text.
    for (QPushButton *button : {m_enable, m_update, m_view, m_import, m_export}) {
        button->setMinimumWidth(0);
        button->setMinimumWidth(qMax(120, button->sizeHint().width()));
    }
    m_copy->setText(tr("Copy to"));
    m_clear->setText(tr("Clear"));
    if (m_indicating)
        m_update->setToolTip(tr("The settings have not been updated to the device! Click to update!"));
    m_tapsLabel->setToolTip(tr("Number of filter taps"));
    m_betaLabel->setToolTip(tr("Beta of the Kaiser window"));
    KeyboardAccess::describe(m_graph, tr("FIR response"));
    describeEditors();
}

// The editors act on the selected output; their names say which, so they
// are renamed whenever the selection or the type moves. The fixed channel
// title is used: an operator's label may repeat or be empty.
void FirWidget::describeEditors()
{
    const QString channel = QString::asprintf("OUT %d", m_current + 1);
    for (int t = 0; t < 4; ++t)
        KeyboardAccess::describe(m_typeButtons[size_t(t)], tr("%1 FIR type: %2").arg(channel, tr(TypeTexts[t])));
    KeyboardAccess::describe(m_taps, tr("%1 FIR taps").arg(channel), tr("Number of filter taps"));
    const QString freqTip = tr("Frequency in Hz");
    const bool bandPass = m_type == BandPassType;
    KeyboardAccess::describe(m_lowKnob,
                             bandPass ? tr("%1 FIR low frequency knob").arg(channel)
                                      : tr("%1 FIR frequency knob").arg(channel),
                             freqTip);
    KeyboardAccess::describe(m_lowEdit,
                             bandPass ? tr("%1 FIR low frequency in Hz").arg(channel)
                                      : tr("%1 FIR frequency in Hz").arg(channel),
                             freqTip);
    KeyboardAccess::describe(m_highKnob, tr("%1 FIR high frequency knob").arg(channel), freqTip);
    KeyboardAccess::describe(m_highEdit, tr("%1 FIR high frequency in Hz").arg(channel), freqTip);
    KeyboardAccess::describe(m_window, tr("%1 FIR window type").arg(channel));
    KeyboardAccess::describe(m_beta, tr("%1 Kaiser window beta").arg(channel), tr("Beta of the Kaiser window"));
    KeyboardAccess::describe(m_enable, tr("%1 FIR enable").arg(channel));
}

void FirWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate(true);
    ModulePage::changeEvent(event);
}

// Variant, login and labels.

void FirWidget::setVariant(int maxTaps, int sampleRate)
{
    const int taps = maxTaps > 256 ? 512 : 256;
    if (taps != m_maxTaps) {
        m_maxTaps = taps;
        rebuildTapsList();
        if (m_type == ExternalType)
            selectTaps(m_graph->taps());
        else
            m_graph->setTaps(tapsShown());
    }
    if (sampleRate > 0 && sampleRate != m_sampleRate) {
        m_sampleRate = sampleRate;
        m_graph->setSampleRate(sampleRate);
        const FirChannel defaults = defaultRecord();
        for (int c = 0; c < Channels; ++c) {
            if (!m_known[size_t(c)])
                m_records[size_t(c)] = defaults;
        }
    }
}

void FirWidget::setLoginState(bool accepted)
{
    m_loggedIn = accepted;
    updateExport();
}

void FirWidget::showOnNextReply()
{
    m_showOnNextReply = true;
}

void FirWidget::setOutLabel(uchar channel, const QString &label)
{
    if (QPushButton *button = m_channelPanel->channelButton(channel))
        button->setToolTip(label);
}

// Records.

const FirChannel &FirWidget::record(uchar channel) const
{
    return m_records[qMin<size_t>(channel, Channels - 1)];
}

FirChannel FirWidget::defaultRecord() const
{
    return FirChannel::designedDefaults(m_sampleRate);
}

void FirWidget::setRecord(uchar channel, const FirChannel &record)
{
    if (channel >= Channels)
        return;
    m_records[channel] = record;
    m_known[channel] = true;
    if (channel == m_current && securityState(channel) < 2)
        showRecord(record);
}

FirChannel FirWidget::recordFromControls() const
{
    FirChannel r;
    r.external = m_type == ExternalType ? 1 : 0;
    r.taps = quint16(qBound(0, tapsShown(), int(FirChannel::MaxTaps)));
    r.firType = quint8(m_type + 1);
    r.lowFreq = m_lowKnob->value();
    r.highFreq = m_highKnob->value();
    r.window = quint8(m_window->currentIndex() + 1);
    r.kaiserBeta = float(m_beta->currentIndex());
    r.enable = m_enable->isChecked() ? 1 : 0;
    // The graph holds as many taps as the list shows; the rest stay zero.
    if (m_graph->taps() == r.taps)
        m_graph->coefficientsReversed(r.coefficients.data());
    return r;
}

bool FirWidget::settingsMatchStored() const
{
    const FirChannel &s = m_records[m_current];
    const bool enable = m_enable->isChecked();
    if (s.external) {
        if (m_type != ExternalType || s.taps != tapsShown() || (s.enable != 0) != enable)
            return false;
        const int n = qMin(int(s.taps), m_graph->taps());
        if (n != s.taps)
            return false;
        std::array<float, FirChannel::MaxTaps> shown{};
        m_graph->coefficientsReversed(shown.data());
        for (int i = 0; i < n; ++i) {
            if (shown[size_t(i)] != s.coefficients[size_t(i)])
                return false;
        }
        return true;
    }
    const int window = m_window->currentIndex() + 1;
    if (s.firType != m_type + 1 || s.taps != tapsShown() || s.lowFreq != m_lowKnob->value() || s.window != window
        || (s.enable != 0) != enable)
        return false;
    if (window == KaiserWindowIndex + 1 && s.kaiserBeta != float(m_beta->currentIndex()))
        return false;
    if (m_type == BandPassType && s.highFreq != m_highKnob->value())
        return false;
    return true;
}

// Taps list.

void FirWidget::rebuildTapsList()
{
    const QSignalBlocker blocker(m_taps);
    m_taps->clear();
    for (int n : FirFiles::designTapCounts(m_maxTaps))
        m_taps->addItem(QString::number(n));
    m_taps->setCurrentIndex(m_taps->findText(QStringLiteral("256")));
    m_designTaps = 256;
}

int FirWidget::tapsShown() const
{
    return m_taps->currentText().toInt();
}

void FirWidget::removeExtraTaps()
{
    const int offered = FirFiles::designTapCounts(m_maxTaps).size();
    const QSignalBlocker blocker(m_taps);
    while (m_taps->count() > offered)
        m_taps->removeItem(m_taps->count() - 1);
}

void FirWidget::selectTaps(int taps)
{
    const QString text = QString::number(taps);
    int index = m_taps->findText(text);
    if (index < 0) {
        removeExtraTaps();
        const QSignalBlocker blocker(m_taps);
        m_taps->addItem(text);
        index = m_taps->count() - 1;
    }
    setIndexQuietly(m_taps, index);
}

// Type and visibility.

void FirWidget::setType(int type)
{
    m_type = qBound(0, type, int(ExternalType));
    for (int t = 0; t < 4; ++t)
        m_typeButtons[size_t(t)]->setStyleSheet(t == m_type ? SelectedStyle : NormalStyle);
    m_lowLabel->setText(m_type == BandPassType ? tr("Low Freq") : tr("Freq"));
    applyTypeVisibility();
    updateExport();
    describeEditors();
}

void FirWidget::applyTypeVisibility()
{
    const bool external = m_type == ExternalType;
    m_frequencyPanel->setVisible(!external);
    m_highColumn->setVisible(m_type == BandPassType);
    m_windowPanel->setVisible(!external);
    const bool kaiser = m_window->currentIndex() == KaiserWindowIndex;
    m_betaLabel->setVisible(!external && kaiser);
    m_beta->setVisible(!external && kaiser);
    m_taps->setEnabled(!external);
}

void FirWidget::updateExport()
{
    m_export->setEnabled(m_loggedIn && m_type != ExternalType && securityState(m_current) == 0);
}

// Showing.

void FirWidget::showFrequency(Knob *knob, QLineEdit *edit, int value)
{
    knob->setValue(float(value));
    const QString text = QStringLiteral("%1").arg(value);
    if (edit->text() != text) {
        const QSignalBlocker blocker(edit);
        edit->setText(text);
    }
}

void FirWidget::showRecord(const FirChannel &stored)
{
    const FirChannel r = stored.normalised();
    setCheckedQuietly(m_enable, r.enable != 0);
    if (r.external) {
        setType(ExternalType);
        selectTaps(r.taps);
        m_graph->setCurveShown(r.enable != 0);
        m_graph->setCoefficients(r.coefficients.data(), r.taps, true);
        return;
    }
    setIndexQuietly(m_window, r.window - 1);
    setIndexQuietly(m_beta, int(r.kaiserBeta));
    setType(r.firType - 1);
    showFrequency(m_lowKnob, m_lowEdit, int(r.lowFreq));
    showFrequency(m_highKnob, m_highEdit, int(r.highFreq));
    removeExtraTaps();
    selectTaps(r.taps);
    m_designTaps = r.taps;
    m_graph->setDesign(r.taps, r.firType, double(m_lowKnob->value()), double(m_highKnob->value()), r.window,
                       double(m_beta->currentIndex()), r.enable != 0);
}

// Operator edits: only the controls and the graph change until "Update to Device".

void FirWidget::typeButtonClicked()
{
    const int type = sender() ? sender()->objectName().toInt() : -1;
    if (type < 0 || type > ExternalType)
        return;
    if (type == ExternalType) {
        loadExternalFile();
        return;
    }
    const bool wasExternal = m_type == ExternalType;
    setType(type);
    if (wasExternal) {
        removeExtraTaps();
        selectTaps(m_designTaps);
    }
    m_graph->setDesign(tapsShown(), m_type + 1, double(m_lowKnob->value()), double(m_highKnob->value()),
                       m_window->currentIndex() + 1, double(m_beta->currentIndex()), m_enable->isChecked());
}

void FirWidget::tapsComboBoxChanged(int)
{
    if (m_type == ExternalType)
        return;
    m_designTaps = tapsShown();
    m_graph->setTaps(m_designTaps);
}

void FirWidget::windowTypeComboBoxChanged(int index)
{
    applyTypeVisibility();
    m_graph->setWindow(index + 1);
}

void FirWidget::kaiserBetaComboBoxChanged(int index)
{
    m_graph->setKaiserBeta(double(index));
}

int FirWidget::finishedFrequency(Knob *knob, QLineEdit *edit)
{
    bool ok = false;
    const int typed = edit->text().toInt(&ok);
    const int value = ok ? qBound(FreqMin, typed, FreqMax) : int(knob->value());
    showFrequency(knob, edit, value);
    return value;
}

void FirWidget::lowFreqEditFinished()
{
    m_graph->setLowFreq(finishedFrequency(m_lowKnob, m_lowEdit));
}

void FirWidget::highFreqEditFinished()
{
    m_graph->setHighFreq(finishedFrequency(m_highKnob, m_highEdit));
}

void FirWidget::lowFreqKnobChanged(float value)
{
    const int freq = qBound(FreqMin, int(value), FreqMax);
    showFrequency(m_lowKnob, m_lowEdit, freq);
    m_graph->setLowFreq(freq);
}

void FirWidget::highFreqKnobChanged(float value)
{
    const int freq = qBound(FreqMin, int(value), FreqMax);
    showFrequency(m_highKnob, m_highEdit, freq);
    m_graph->setHighFreq(freq);
}

void FirWidget::enableClicked(bool checked)
{
    m_graph->setCurveShown(checked);
    updateToDeviceClicked();
}

// Sending.

void FirWidget::sendRecord(uchar channel)
{
    sendSet(F::Record, channel, m_records[channel].toBytes());
}

void FirWidget::updateToDeviceClicked()
{
    const FirChannel r = recordFromControls();
    if (r == m_records[m_current])
        return;
    m_records[m_current] = r;
    m_known[m_current] = true;
    sendRecord(m_current);
    updateIndicator();
}

void FirWidget::channelButtonGroupButtonClicked(int id)
{
    if (id < 0 || id >= Channels)
        return;
    m_current = uchar(id);
    if (QAbstractButton *button = m_channelPanel->channelButton(id))
        setCheckedQuietly(button, true);
    showRecord(m_records[m_current]);
    applySecurityState(m_current, securityState(m_current));
    updateIndicator();
    describeEditors();
}

void FirWidget::viewCurrentClicked()
{
    // Shows what the page last heard and asks the unit again; its answer is
    // shown as soon as it arrives.
    showRecord(m_records[m_current]);
    m_showOnNextReply = true;
    queryChannel(F::Record, m_current);
}

void FirWidget::resetClicked()
{
    if (!m_prompt->confirmDestructive(this, Prompt::Icon::Warning, tr("warning"), tr("Clear all setting?"),
                                      {tr("OK"), tr("Cancle")}))
        return;
    m_records[m_current] = defaultRecord();
    m_known[m_current] = true;
    showRecord(m_records[m_current]);
    sendSet(F::Clear, m_current, nullptr, 0);
    updateIndicator();
}

void FirWidget::copyToClicked()
{
    // The unit has no copy command for FIR filters: the page sends the shown
    // channel's record, as the unit has it, to every output ticked. Inputs
    // have no FIR and are not offered; locked outputs are left alone.
    QChannelSelect dialog(this);
    for (int i = 0; i < QChannelSelect::Inputs; ++i)
        dialog.inputButton(i)->setEnabled(false);
    if (!dialog.run(QChannelSelect::FirstOutputSource + m_current))
        return;
    const quint8 mask = dialog.outputMask();
    for (int c = 0; c < Channels; ++c) {
        if (c == m_current || !(mask & (1u << c)) || securityState(uchar(c)) != 0)
            continue;
        m_records[size_t(c)] = m_records[m_current];
        m_known[size_t(c)] = true;
        sendRecord(uchar(c));
    }
}

// Timer.

void FirWidget::timeOut()
{
    timeOut20ms();
}

void FirWidget::poll(quint32 tick)
{
    if (tick % PollEvery != 0 || !link())
        return;
    if (m_pollChannel < 0)
        m_pollChannel = m_current;
    link()->sendQuery(Frame::System, Frame::Security, LockItem);
    queryChannel(F::Record, quint8(m_pollChannel));
    m_pollChannel = (m_pollChannel + 1) % Channels;
}

void FirWidget::advance()
{
    if (tickCount() % IndicatorEvery == 0)
        updateIndicator();
}

void FirWidget::updateIndicator()
{
    if (!settingsMatchStored()) {
        if (!m_indicating) {
            m_indicating = true;
            m_update->setToolTip(tr("The settings have not been updated to the device! Click to update!"));
        }
        m_update->setStyleSheet(m_blinkBlue ? SelectedStyle : NormalStyle);
        m_blinkBlue = !m_blinkBlue;
        return;
    }
    if (m_indicating) {
        m_indicating = false;
        m_update->setToolTip(QString());
    }
    if (m_update->styleSheet() != NormalStyle)
        m_update->setStyleSheet(NormalStyle);
    m_blinkBlue = true;
}

// Replies.

void FirWidget::onMessage(quint8 param, quint8 op, quint16 length, const uchar *payload)
{
    if (param != F::Record || !isReport(op) || length != ReportLength || !payload)
        return;
    const quint8 channel = payload[0];
    if (channel >= Channels)
        return;
    const FirChannel received = FirChannel::decode(payload + 1);
    if (received != m_records[channel])
        m_records[channel] = received;
    m_known[channel] = true;
    if (m_showOnNextReply && channel == m_current) {
        m_showOnNextReply = false;
        if (securityState(channel) < 2)
            showRecord(m_records[channel]);
    }
}

// Locks.

void FirWidget::applySecurityState(uchar channel, uchar state)
{
    if (channel != m_current)
        return;
    applyLock(m_body, state);
    applyLock(m_typeBox, state);
    applyLock(m_copy, state);
    applyLock(m_clear, state);
    updateExport();
}

QPushButton *FirWidget::channelButton(int channel) const
{
    return m_channelPanel->channelButton(channel);
}

QPushButton *FirWidget::typeButton(int type) const
{
    return type >= 0 && type < 4 ? m_typeButtons[size_t(type)] : nullptr;
}

// Files.

void FirWidget::loadExternalFile()
{
    const QString path = m_prompt->openFileName(this, tr("Load External FIR From PC"), QDir::currentPath(),
                                                tr("External FIR File (*.txt)"));
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QVector<float> values;
    const FirFiles::Result result = FirFiles::readCoefficients(&file, m_maxTaps, &values);
    if (result != FirFiles::Result::Ok) {
        m_prompt->tell(this, Prompt::Icon::Critical, tr("ERROR"),
                       result == FirFiles::Result::TooManyTaps
                           ? tr("FIR tap can't be larger than ") + QString::number(m_maxTaps) + QLatin1Char('!')
                           : tr("External FIR file format error!"));
        return;
    }
    if (!m_prompt->confirmDestructive(this, Prompt::Icon::Warning, tr("warning"),
                                      tr("Import external FIR data and update to device?"), {tr("OK"), tr("Cancle")}))
        return;
    setCheckedQuietly(m_enable, true);
    setType(ExternalType);
    selectTaps(values.size());
    m_graph->setCurveShown(true);
    m_graph->setCoefficients(values.constData(), values.size(), false);
    updateToDeviceClicked();
}

void FirWidget::importClicked()
{
    const QString path = m_prompt->openFileName(this, tr("Import FIR From PC"), QDir::currentPath(),
                                                tr("FIR File (*.chFIR)"));
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    // One byte more than a header is enough to tell a wrong size.
    const QByteArray bytes = file.read(FirChannel::HeaderSize + 1);
    FirChannel header;
    const FirFiles::Result result = FirFiles::readHeader(bytes, m_maxTaps, &header);
    if (result != FirFiles::Result::Ok) {
        m_prompt->tell(this, Prompt::Icon::Critical, tr("ERROR"),
                       result == FirFiles::Result::TooManyTaps
                           ? tr("FIR tap can't be larger than ") + QString::number(m_maxTaps) + QLatin1Char('!')
                           : tr("FIR file format error!"));
        return;
    }
    if (!m_prompt->confirmDestructive(this, Prompt::Icon::Warning, tr("warning"),
                                      tr("Import FIR and update to device?"), {tr("OK"), tr("Cancle")}))
        return;
    showRecord(header);
    updateToDeviceClicked();
}

void FirWidget::exportClicked()
{
    if (m_type == ExternalType)
        return;
    const QString chosen = m_prompt->saveFileName(this, tr("Export FIR to PC"), QDir::currentPath(),
                                                  tr("FIR File (*.chFIR)"));
    if (chosen.isEmpty())
        return;
    const FirChannel header = recordFromControls();
    const QVector<float> coefficients = m_graph->coefficientList();
    QString failedPath;
    QString reason;
    if (!FirFiles::writeDesign(chosen, header, coefficients.constData(), coefficients.size(), &failedPath,
                               &reason)) {
        m_prompt->tell(this, Prompt::Icon::Critical, tr("ERROR"),
                       tr("The FIR file could not be written:\n%1\n%2").arg(QDir::toNativeSeparators(failedPath),
                                                                            reason));
    }
}
