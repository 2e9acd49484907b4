#include "qgate.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "core/link/frame.h"
#include "core/link/link.h"
#include "core/protocol/protocol.h"
#include "ui/controls/keyboardaccess.h"
#include "ui/controls/knob.h"
#include "ui/controls/valuefield.h"

namespace {

namespace G = Protocol::Gate;
constexpr quint8 LockParam = Protocol::Security::lockParam(Frame::Gate);

const char *const LampClosed = "border-radius:7px;padding:2px 4px;background-color:#707070";
const char *const LampOpen = "border-radius:7px;padding:2px 4px;background-color:#00FF00";

QString inputTitle(int input)
{
    return QStringLiteral("IN %1").arg(QChar(QLatin1Char('A').unicode() + input));
}

// A locked strip keeps its shape, so the other strips do not move.
void keepPlaceWhenHidden(QWidget *widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

} // namespace

QGate::QGate(Link *link, QWidget *parent)
    : ModulePage(link, Frame::Gate, InputCount, DefaultTickMs, parent)
{
    setObjectName(QStringLiteral("gateWidget"));
    setStyleSheet(QStringLiteral("QWidget#gateCtrlBgWidget { background-color: rgb(40, 40, 41); border-radius: 4px; }"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(8);
    layout->addStretch(1);
    for (int input = 0; input < InputCount; ++input) {
        buildStrip(input);
        layout->addWidget(m_strips[size_t(input)].background, 0, Qt::AlignTop);
    }
    layout->addStretch(1);
    for (int input = 0; input < InputCount; ++input)
        showRecord(input);
    retranslate();
}

QGate::~QGate() = default;

void QGate::buildStrip(int input)
{
    Strip &strip = m_strips[size_t(input)];
    QFont font = this->font();
    font.setPointSize(10);

    strip.background = new QWidget(this);
    strip.background->setObjectName(QStringLiteral("gateCtrlBgWidget"));
    strip.background->setFont(font);
    auto *column = new QVBoxLayout(strip.background);
    column->setContentsMargins(10, 6, 10, 6);
    column->setSpacing(2);

    strip.title = new QLabel(inputTitle(input), strip.background);
    strip.title->setObjectName(QStringLiteral("titleLabel"));
    strip.title->setAlignment(Qt::AlignCenter);
    column->addWidget(strip.title);

    auto *enableRow = new QHBoxLayout;
    enableRow->setSpacing(10);
    strip.enable = new QPushButton(strip.background);
    strip.enable->setObjectName(QStringLiteral("normalButton"));
    strip.enable->setCheckable(true);
    // 70 pixels fit "Enable" in Arial; a wider text or font may widen it.
    strip.enable->setMinimumSize(70, 30);
    strip.enable->setFixedHeight(30);
    connect(strip.enable, &QPushButton::clicked, this, &QGate::enableClicked);
    strip.lamp = new QLabel(strip.background);
    strip.lamp->setObjectName(QStringLiteral("gateLamp"));
    strip.lamp->setFixedSize(15, 15);
    strip.lamp->setEnabled(false);
    strip.lamp->setStyleSheet(QLatin1String(LampClosed));
    keepPlaceWhenHidden(strip.enable);
    keepPlaceWhenHidden(strip.lamp);
    enableRow->addStretch(1);
    enableRow->addWidget(strip.enable);
    enableRow->addWidget(strip.lamp);
    enableRow->addStretch(1);
    column->addLayout(enableRow);

    struct Setup
    {
        int minimum;
        int maximum;
        void (QGate::*knobSlot)(float);
        void (QGate::*editSlot)();
    };
    const std::array<Setup, ParameterCount> setups{{
        {GateRecord::MinThreshold, GateRecord::MaxThreshold, &QGate::threshChanged, &QGate::threshEditingFinished},
        {GateRecord::MinAttack, GateRecord::MaxAttack, &QGate::attackChanged, &QGate::attackEditingFinished},
        {GateRecord::MinDecay, GateRecord::MaxDecay, &QGate::decayChanged, &QGate::decayEditingFinished},
    }};
    for (int p = 0; p < ParameterCount; ++p) {
        const Setup &setup = setups[size_t(p)];
        auto *caption = new QLabel(strip.background);
        caption->setAlignment(Qt::AlignCenter);
        auto *knob = new Knob(strip.background);
        knob->setSize(1);
        knob->setMinimum(float(setup.minimum));
        knob->setMaximum(float(setup.maximum));
        knob->setStep(1.0f);
        connect(knob, &Knob::valueChanged, this, setup.knobSlot);
        auto *edit = new ValueField(strip.background);
        edit->setRange(setup.minimum, setup.maximum, 0, p == Threshold ? QStringLiteral("dB") : QStringLiteral("ms"));
        edit->setFixedSize(50, 20);
        edit->setAlignment(Qt::AlignCenter);
        connect(edit, &ValueField::edited, this, setup.editSlot);

        auto *row = new QHBoxLayout;
        row->setSpacing(8);
        row->addWidget(knob);
        row->addWidget(edit, 0, Qt::AlignVCenter);
        column->addWidget(caption);
        column->addLayout(row);

        for (QWidget *w : std::initializer_list<QWidget *>{caption, knob, edit})
            keepPlaceWhenHidden(w);
        strip.caption[size_t(p)] = caption;
        strip.knob[size_t(p)] = knob;
        strip.edit[size_t(p)] = edit;
    }
}

void QGate::retranslate()
{
    const QString thresholdTip = tr("Threshold in dB");
    const QString attackTip = tr("Attack time in milliseconds");
    const QString decayTip = tr("Decay time in milliseconds");
    for (int input = 0; input < InputCount; ++input) {
        Strip &strip = m_strips[size_t(input)];
        // Names use the fixed channel title: an operator's label may repeat.
        const QString channel = inputTitle(input);
        strip.enable->setText(tr("Enable"));
        strip.caption[Threshold]->setText(tr("Thresh(dB)"));
        strip.caption[Attack]->setText(tr("Attack(ms)"));
        strip.caption[Decay]->setText(tr("Decay(ms)"));
        strip.caption[Threshold]->setToolTip(thresholdTip);
        strip.caption[Attack]->setToolTip(attackTip);
        strip.caption[Decay]->setToolTip(decayTip);
        KeyboardAccess::describe(strip.enable, tr("%1 gate enable").arg(channel));
        KeyboardAccess::describe(strip.knob[Threshold], tr("%1 gate threshold knob").arg(channel), thresholdTip);
        KeyboardAccess::describe(strip.edit[Threshold], tr("%1 gate threshold in dB").arg(channel), thresholdTip);
        KeyboardAccess::describe(strip.knob[Attack], tr("%1 gate attack knob").arg(channel), attackTip);
        KeyboardAccess::describe(strip.edit[Attack], tr("%1 gate attack in ms").arg(channel), attackTip);
        KeyboardAccess::describe(strip.knob[Decay], tr("%1 gate decay knob").arg(channel), decayTip);
        KeyboardAccess::describe(strip.edit[Decay], tr("%1 gate decay in ms").arg(channel), decayTip);
    }
}

void QGate::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    ModulePage::changeEvent(event);
}

void QGate::setInLabel(uchar channel, const QString &label)
{
    if (channel >= InputCount)
        return;
    Strip &strip = m_strips[channel];
    strip.label = label;
    strip.title->setText(label.isEmpty() ? inputTitle(channel) : label);
}

int QGate::stripOf(const QObject *control) const
{
    for (int input = 0; input < InputCount; ++input) {
        const Strip &strip = m_strips[size_t(input)];
        if (control == strip.enable)
            return input;
        for (int p = 0; p < ParameterCount; ++p) {
            if (control == strip.knob[size_t(p)] || control == strip.edit[size_t(p)])
                return input;
        }
    }
    return -1;
}

void QGate::enableClicked(bool checked)
{
    const int input = stripOf(sender());
    if (input < 0)
        return;
    m_records[size_t(input)].enable = checked;
    setCheckedQuietly(m_strips[size_t(input)].enable, checked);
    sendRecord(input);
}

void QGate::threshChanged(float value)
{
    knobMoved(Threshold, value);
}

void QGate::attackChanged(float value)
{
    knobMoved(Attack, value);
}

void QGate::decayChanged(float value)
{
    knobMoved(Decay, value);
}

void QGate::knobMoved(Parameter parameter, float value)
{
    const int input = stripOf(sender());
    if (input < 0)
        return;
    GateRecord &record = m_records[size_t(input)];
    // The knob keeps its range, so only the fraction is dropped here.
    const int whole = int(value);
    switch (parameter) {
    case Threshold: record.threshold = GateRecord::boundThreshold(whole); break;
    case Attack: record.attack = GateRecord::boundAttack(whole); break;
    case Decay: record.decay = GateRecord::boundDecay(whole); break;
    case ParameterCount: return;
    }
    showRecord(input);
    m_strips[size_t(input)].pending[size_t(parameter)].arm();
    m_busy.hold();
}

void QGate::threshEditingFinished()
{
    entryFinished(Threshold);
}

void QGate::attackEditingFinished()
{
    entryFinished(Attack);
}

void QGate::decayEditingFinished()
{
    entryFinished(Decay);
}

void QGate::entryFinished(Parameter parameter)
{
    const int input = stripOf(sender());
    if (input < 0)
        return;
    Strip &strip = m_strips[size_t(input)];
    bool ok = false;
    int value = strip.edit[size_t(parameter)]->text().trimmed().toInt(&ok);
    // The field has pulled a readable entry into the range and sends
    // nothing for unreadable text.
    if (!ok)
        return;
    GateRecord &record = m_records[size_t(input)];
    switch (parameter) {
    case Threshold: record.threshold = GateRecord::boundThreshold(value); break;
    case Attack: record.attack = GateRecord::boundAttack(value); break;
    case Decay: record.decay = GateRecord::boundDecay(value); break;
    case ParameterCount: return;
    }
    // The entry itself is the operator's final word: what a knob still had
    // pending is sent now with it.
    strip.pending[size_t(parameter)].cancel();
    QLineEdit *edit = strip.edit[size_t(parameter)];
    edit->setText(QString::number(parameter == Threshold ? int(record.threshold)
                                  : parameter == Attack  ? int(record.attack)
                                                         : int(record.decay)));
    showRecord(input);
    sendRecord(input);
}

void QGate::showRecord(int input)
{
    const Strip &strip = m_strips[size_t(input)];
    const GateRecord &record = m_records[size_t(input)];
    setCheckedQuietly(strip.enable, record.enable);
    const std::array<int, ParameterCount> values{{record.threshold, record.attack, record.decay}};
    for (int p = 0; p < ParameterCount; ++p) {
        Knob *knob = strip.knob[size_t(p)];
        // setValue does not emit; the disconnect keeps it that way should the
        // control ever change.
        const QSignalBlocker blocker(knob);
        knob->setValue(float(values[size_t(p)]));
        setTextQuietly(strip.edit[size_t(p)], QString::number(values[size_t(p)]));
    }
}

void QGate::closeLamps()
{
    for (int input = 0; input < InputCount; ++input)
        setOpen(input, false);
}

void QGate::setOpen(int input, bool open)
{
    if (m_open[size_t(input)] == open)
        return;
    m_open[size_t(input)] = open;
    m_strips[size_t(input)].lamp->setStyleSheet(QLatin1String(open ? LampOpen : LampClosed));
    Q_EMIT sigOpenState(uchar(input), open);
}

void QGate::sendRecord(int input)
{
    uchar bytes[GateRecord::WireSize];
    m_records[size_t(input)].encode(bytes);
    sendSet(G::Record, quint8(input), bytes, GateRecord::WireSize);
}

void QGate::advance()
{
    // The open states feed the overview's lamps, so they are polled whether
    // the page is shown or not.
    if (tickCount() % 5 == 0)
        queryAll(G::Open);
    for (int input = 0; input < InputCount; ++input) {
        Strip &strip = m_strips[size_t(input)];
        bool due = false;
        for (PendingSend &pending : strip.pending)
            due = pending.tick() || due;
        if (due)
            sendRecord(input);
    }
    m_busy.tick();
}

void QGate::poll(quint32 tick)
{
    if (tick % 10 != 0)
        return;
    if (Link *l = link())
        l->sendQuery(Frame::System, Frame::Security, LockParam);
    for (int input = 0; input < InputCount; ++input)
        queryChannel(G::Record, quint8(input));
}

void QGate::onMessage(quint8 param, quint8 op, quint16 length, const uchar *payload)
{
    if (!isReport(op) || !payload)
        return;
    if (param == G::Open) {
        if (length != Protocol::ReportSize<G::params, G::Open> * InputCount)
            return;
        // Open states are applied even while a knob moves: they are the
        // unit's live state, not an echo of the operator's settings.
        for (int input = 0; input < InputCount; ++input)
            setOpen(input, payload[input] != 0);
    } else if (param == G::Record) {
        if (length != Protocol::ReportSize<G::params, G::Record> || payload[0] >= InputCount || m_busy.isActive())
            return;
        const int input = payload[0];
        const GateRecord record = GateRecord::decode(payload + 1);
        if (record == m_records[size_t(input)])
            return;
        m_records[size_t(input)] = record;
        showRecord(input);
    }
}

void QGate::setRecord(int input, const GateRecord &record)
{
    if (input < 0 || input >= InputCount)
        return;
    GateRecord bounded = record;
    bounded.threshold = GateRecord::boundThreshold(record.threshold);
    bounded.attack = GateRecord::boundAttack(record.attack);
    bounded.decay = GateRecord::boundDecay(record.decay);
    if (bounded == m_records[size_t(input)])
        return;
    m_records[size_t(input)] = bounded;
    showRecord(input);
}

void QGate::applySecurityState(uchar channel, uchar state)
{
    if (channel >= InputCount)
        return;
    const Strip &strip = m_strips[channel];
    // The title stays so the operator sees which input is locked away.
    applyLock(strip.enable, state);
    applyLock(strip.lamp, state);
    // The lamp is a disabled label by design; applyLock re-enabled it.
    strip.lamp->setEnabled(false);
    for (int p = 0; p < ParameterCount; ++p) {
        applyLock(strip.caption[size_t(p)], state);
        applyLock(strip.knob[size_t(p)], state);
        applyLock(strip.edit[size_t(p)], state);
    }
}
