#include "qmixer.h"

#include <QApplication>
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
#include "qmixbutton.h"
#include "qmixrect.h"
#include "ui/common/prompt.h"
#include "ui/controls/keyboardaccess.h"
#include "ui/controls/valuefield.h"
#include "ui/controls/qfader.h"

namespace {

namespace M = Protocol::Mixer;
constexpr quint8 LockParam = Protocol::Security::lockParam(Frame::MatrixMixer);

constexpr int RowWidth = 568;
constexpr int RowHeight = 43;
constexpr int RowPitch = 45;
constexpr int ButtonWidth = 84;
constexpr int ButtonHeight = 35;
constexpr int ButtonPitch = 104;
constexpr int FirstButtonX = RowWidth - 16 - 3 * ButtonPitch - ButtonWidth;
constexpr int HeaderHeight = 18;
// The highlighted row is light: its title turns dark to stay readable.
const char *const CurrentTitleStyle = "color: rgb(20, 20, 20);";

QString inputTitle(int input)
{
    return QStringLiteral("IN %1").arg(QChar(QLatin1Char('A').unicode() + input));
}

QString outputTitle(int output)
{
    return QStringLiteral("OUT %1").arg(output + 1);
}

QString gainText(int dB)
{
    return QStringLiteral("%1dB").arg(dB);
}

void keepPlaceWhenHidden(QWidget *widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

} // namespace

QMixer::QMixer(Link *link, QWidget *parent)
    : ModulePage(link, Frame::MatrixMixer, OutputCount, DefaultTickMs, parent)
{
    setObjectName(QStringLiteral("Mix Mtx"));
    // The strips are as narrow as their faders; their buttons keep the
    // text clear of the edges with less padding than elsewhere.
    setStyleSheet(QStringLiteral("QWidget#mixerCtrlBgWidget { background-color: rgb(40, 40, 41); border-radius: 4px; }"
                                 "QWidget#mixerCtrlBgWidget QPushButton { padding: 2px 3px; }"));
    auto *content = new QWidget(this);
    content->setObjectName(QStringLiteral("mixerWidget"));
    QFont font = this->font();
    font.setPointSize(10);
    content->setFont(font);
    auto *row = new QHBoxLayout(content);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    row->addWidget(buildMatrix(), 0, Qt::AlignTop);
    row->addWidget(buildStrips(), 0, Qt::AlignTop);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->addStretch(1);
    layout->addWidget(content, 0, Qt::AlignTop);
    layout->addStretch(1);

    m_rows[0].rect->setCurrent(true);
    m_rows[0].title->setStyleSheet(QLatin1String(CurrentTitleStyle));
    m_outputLabel->setText(m_rows[0].title->text());
    retranslate();
}

QMixer::~QMixer() = default;

QWidget *QMixer::buildMatrix()
{
    auto *matrix = new QWidget(this);
    matrix->setObjectName(QStringLiteral("mixerMatrixWidget"));
    matrix->setFixedSize(RowWidth, HeaderHeight + (OutputCount - 1) * RowPitch + RowHeight);

    for (int input = 0; input < InputCount; ++input) {
        auto *title = new QLabel(inputTitle(input), matrix);
        title->setObjectName(QStringLiteral("titleLabel"));
        title->setAlignment(Qt::AlignCenter);
        title->setGeometry(FirstButtonX + input * ButtonPitch - 10, 0, ButtonWidth + 20, HeaderHeight);
        m_columnTitles[size_t(input)] = title;
    }

    QFont bold = matrix->font();
    bold.setBold(true);
    for (int output = 0; output < OutputCount; ++output) {
        Row &row = m_rows[size_t(output)];
        row.rect = new QMixRect(matrix);
        row.rect->setObjectName(QStringLiteral("mixRect"));
        row.rect->setGeometry(0, HeaderHeight + output * RowPitch, RowWidth, RowHeight);
        connect(row.rect, &QMixRect::Clicked, this, &QMixer::outRectClicked);

        row.title = new QLabel(outputTitle(output), row.rect);
        row.title->setObjectName(QStringLiteral("titleLabel"));
        row.title->setFont(bold);
        row.title->setGeometry(14, 0, FirstButtonX - 24, RowHeight);
        row.title->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
        // Presses on the title belong to the row.
        row.title->setAttribute(Qt::WA_TransparentForMouseEvents);

        for (int input = 0; input < InputCount; ++input) {
            auto *button = new QMixButton(row.rect);
            button->setGeometry(FirstButtonX + input * ButtonPitch, (RowHeight - ButtonHeight) / 2, ButtonWidth,
                                ButtonHeight);
            connect(button, &QMixButton::select, this, &QMixer::mixButtonSelect);
            connect(button, &QMixButton::DoubleClick, this, &QMixer::mixButtonDoubleClicked);
            row.buttons[size_t(input)] = button;
        }
    }
    return matrix;
}

QWidget *QMixer::buildStrips()
{
    auto *area = new QWidget(this);
    area->setObjectName(QStringLiteral("mixerCtrlBgWidget"));
    auto *column = new QVBoxLayout(area);
    column->setContentsMargins(6, 4, 6, 6);
    column->setSpacing(4);

    auto *top = new QHBoxLayout;
    top->setSpacing(6);
    m_outputLabel = new QLabel(area);
    m_outputLabel->setObjectName(QStringLiteral("titleLabel"));
    m_gainCaption = new QLabel(area);
    m_allMix = new QPushButton(area);
    m_reset = new QPushButton(area);
    for (QPushButton *button : {m_allMix, m_reset}) {
        button->setObjectName(QStringLiteral("normalButton"));
        button->setMinimumHeight(26);
    }
    connect(m_allMix, &QPushButton::clicked, this, &QMixer::allMixButtonClicked);
    connect(m_reset, &QPushButton::clicked, this, &QMixer::resetButtonClicked);
    top->addWidget(m_outputLabel);
    top->addWidget(m_gainCaption);
    top->addStretch(1);
    top->addWidget(m_allMix);
    top->addWidget(m_reset);
    column->addLayout(top);

    auto *strips = new QHBoxLayout;
    strips->setSpacing(4);
    for (int input = 0; input < InputCount; ++input) {
        Strip &strip = m_strips[size_t(input)];
        strip.background = new QWidget(area);
        strip.background->setObjectName(QStringLiteral("mixerInBgWidget"));
        auto *box = new QVBoxLayout(strip.background);
        box->setContentsMargins(0, 2, 0, 2);
        box->setSpacing(4);

        strip.title = new QLabel(inputTitle(input), strip.background);
        strip.title->setObjectName(QStringLiteral("titleLabel"));
        strip.title->setAlignment(Qt::AlignCenter);

        strip.edit = new ValueField(QStringLiteral("0"), strip.background);
        strip.edit->setRange(MixerOutput::MinGain, MixerOutput::MaxGain, 0, QStringLiteral("dB"));
        strip.edit->setFixedWidth(40);
        strip.edit->setAlignment(Qt::AlignCenter);
        connect(strip.edit, &ValueField::edited, this, &QMixer::gainEditingFinished);

        strip.fader = new QFader(strip.background);
        strip.fader->setFixedSize(55, 230);
        strip.fader->setRange(MixerOutput::MinGain, MixerOutput::MaxGain);
        strip.fader->setValue(0.0f);
        strip.fader->setDecimals(0);
        strip.fader->setStep(1.0f);
        connect(strip.fader, &QFader::valueChanged, this, &QMixer::gainFaderChanged);

        strip.enable = new QPushButton(strip.background);
        strip.enable->setObjectName(QStringLiteral("normalButton"));
        strip.enable->setCheckable(true);
        strip.enable->setMinimumSize(65, 30);
        connect(strip.enable, &QPushButton::clicked, this, &QMixer::inEnableClicked);

        box->addWidget(strip.title);
        box->addWidget(strip.edit, 0, Qt::AlignHCenter);
        box->addWidget(strip.fader, 0, Qt::AlignHCenter);
        box->addWidget(strip.enable, 0, Qt::AlignHCenter);
        keepPlaceWhenHidden(strip.background);
        strips->addWidget(strip.background);
    }
    column->addLayout(strips);
    return area;
}

void QMixer::retranslate()
{
    m_gainCaption->setText(tr("Gain(dB)"));
    m_allMix->setText(tr("All Mix"));
    m_reset->setText(tr("Reset"));
    for (Strip &strip : m_strips)
        strip.enable->setText(tr("Enable"));
    m_gainCaption->setToolTip(tr("Gain in dB"));
    KeyboardAccess::describe(m_allMix, tr("All Mix"), tr("Switch every cross-point on at 0 dB"));
    KeyboardAccess::describe(m_reset, tr("Reset mixer"), tr("Switch every cross-point off at 0 dB"));
    // A cross-point only takes the focus (which chooses its output); the
    // keyboard switches it with the "Enable" button of the input's strip.
    const QString crossPointTip = tr("Double-click to switch on or off; from the keyboard, use the input's Enable");
    for (int output = 0; output < OutputCount; ++output) {
        for (int input = 0; input < InputCount; ++input)
            KeyboardAccess::describe(m_rows[size_t(output)].buttons[size_t(input)],
                                     tr("%1 to %2 cross-point").arg(inputTitle(input), outputTitle(output)),
                                     crossPointTip);
    }
    describeStrips();
}

// The strips edit the current output's cross-points; their names follow it.
void QMixer::describeStrips()
{
    const QString output = outputTitle(m_current);
    for (int input = 0; input < InputCount; ++input) {
        const Strip &strip = m_strips[size_t(input)];
        const QString point = inputTitle(input);
        KeyboardAccess::describe(strip.edit, tr("%1 to %2 gain in dB").arg(point, output), tr("Gain in dB"));
        KeyboardAccess::describe(strip.fader, tr("%1 to %2 gain fader").arg(point, output), tr("Gain in dB"));
        KeyboardAccess::describe(strip.enable, tr("%1 to %2 enable").arg(point, output));
    }
}

void QMixer::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    ModulePage::changeEvent(event);
}

void QMixer::setInLabel(uchar channel, const QString &label)
{
    if (channel >= InputCount)
        return;
    const QString text = label.isEmpty() ? inputTitle(channel) : label;
    m_columnTitles[channel]->setText(text);
    m_strips[channel].title->setText(text);
}

bool QMixer::findButton(const QObject *button, int *output, int *input) const
{
    for (int o = 0; o < OutputCount; ++o) {
        for (int i = 0; i < InputCount; ++i) {
            if (m_rows[size_t(o)].buttons[size_t(i)] == button) {
                *output = o;
                *input = i;
                return true;
            }
        }
    }
    return false;
}

int QMixer::stripOf(const QObject *control) const
{
    for (int i = 0; i < InputCount; ++i) {
        const Strip &strip = m_strips[size_t(i)];
        if (control == strip.edit || control == strip.fader || control == strip.enable)
            return i;
    }
    return -1;
}

void QMixer::mixButtonSelect()
{
    int output = 0;
    int input = 0;
    if (findButton(sender(), &output, &input))
        chooseOutput(output);
}

void QMixer::outRectClicked()
{
    for (int output = 0; output < OutputCount; ++output) {
        if (sender() == m_rows[size_t(output)].rect) {
            chooseOutput(output);
            return;
        }
    }
}

void QMixer::chooseOutput(int output)
{
    if (output != m_current) {
        // A fader move still waiting for its debounce belongs to the output
        // it was made on: send it now, before the strips switch over.
        for (int i = 0; i < InputCount; ++i) {
            Strip &strip = m_strips[size_t(i)];
            if (strip.pending.isPending()) {
                strip.pending.cancel();
                sendGain(m_current, i);
            }
        }
        m_rows[size_t(m_current)].rect->setCurrent(false);
        m_rows[size_t(m_current)].title->setStyleSheet(QString());
        m_rows[size_t(output)].rect->setCurrent(true);
        m_rows[size_t(output)].title->setStyleSheet(QLatin1String(CurrentTitleStyle));
        m_current = output;
        const MixerOutput &mix = m_outputs[size_t(output)];
        for (int i = 0; i < InputCount; ++i) {
            Strip &strip = m_strips[size_t(i)];
            {
                const QSignalBlocker blocker(strip.fader);
                strip.fader->setValue(mix.gain[size_t(i)]);
            }
            strip.edit->setText(QString::number(mix.gain[size_t(i)]));
            setCheckedQuietly(strip.enable, mix.enable[size_t(i)]);
        }
        m_outputLabel->setText(m_rows[size_t(output)].title->text());
        applyStripLock(securityState(uchar(output)));
        describeStrips();
    }
    Q_EMIT outputChanged(uchar(output));
}

void QMixer::showCrossPoint(int output, int input)
{
    const MixerOutput &mix = m_outputs[size_t(output)];
    QMixButton *button = m_rows[size_t(output)].buttons[size_t(input)];
    button->setLit(mix.enable[size_t(input)]);
    const QString text = gainText(mix.gain[size_t(input)]);
    if (button->text() != text)
        button->setText(text);
    if (output != m_current)
        return;
    Strip &strip = m_strips[size_t(input)];
    setCheckedQuietly(strip.enable, mix.enable[size_t(input)]);
    if (strip.fader->value() != mix.gain[size_t(input)]) {
        const QSignalBlocker blocker(strip.fader);
        strip.fader->setValue(mix.gain[size_t(input)]);
    }
    setTextQuietly(strip.edit, QString::number(mix.gain[size_t(input)]));
}

void QMixer::mixButtonDoubleClicked(bool lit)
{
    int output = 0;
    int input = 0;
    if (!findButton(sender(), &output, &input))
        return;
    // The first click of the double click has made the output current; a
    // double click that arrives without it must not act on another output.
    if (output != m_current)
        chooseOutput(output);
    m_outputs[size_t(output)].enable[size_t(input)] = lit;
    showCrossPoint(output, input);
    sendEnable(output, input);
}

void QMixer::inEnableClicked(bool checked)
{
    const int input = stripOf(sender());
    if (input < 0)
        return;
    m_outputs[size_t(m_current)].enable[size_t(input)] = checked;
    showCrossPoint(m_current, input);
    sendEnable(m_current, input);
}

void QMixer::gainFaderChanged(float value)
{
    const int input = stripOf(sender());
    if (input < 0)
        return;
    m_outputs[size_t(m_current)].gain[size_t(input)] = MixerOutput::boundGain(int(value));
    showCrossPoint(m_current, input);
    m_strips[size_t(input)].pending.arm();
    m_busy.hold();
}

void QMixer::gainEditingFinished()
{
    const int input = stripOf(sender());
    if (input < 0)
        return;
    Strip &strip = m_strips[size_t(input)];
    bool ok = false;
    int value = strip.edit->text().trimmed().toInt(&ok);
    if (!ok)
        value = 0;
    const qint8 gain = MixerOutput::boundGain(value);
    m_outputs[size_t(m_current)].gain[size_t(input)] = gain;
    strip.edit->setText(QString::number(gain));
    strip.pending.cancel();
    showCrossPoint(m_current, input);
    sendGain(m_current, input);
}

bool QMixer::confirm(const QString &title, const QString &text)
{
    Prompt *prompt = m_prompt ? m_prompt : Prompt::standard();
    // Both questions overwrite every cross-point.
    return prompt->confirmDestructive(this, Prompt::Icon::Question, title, text, {tr("OK"), tr("Cancel")});
}

void QMixer::allMixButtonClicked()
{
    if (confirm(tr("All Mix"), tr("Enable all mixer and set their value to 0dB?")))
        setAll(true, 0);
}

void QMixer::resetButtonClicked()
{
    if (confirm(tr("Reset"), tr("Disable all mixer and set their value to 0dB?")))
        setAll(false, 0);
}

void QMixer::setAll(bool enable, qint8 gain)
{
    m_busy.hold();
    for (int output = 0; output < OutputCount; ++output) {
        MixerOutput &mix = m_outputs[size_t(output)];
        for (int input = 0; input < InputCount; ++input) {
            // The current output's gains go out once more, singly, after the
            // usual debounce: the unit then has them even if it missed a
            // whole-row set.
            m_strips[size_t(input)].pending.arm();
            mix.enable[size_t(input)] = enable;
            mix.gain[size_t(input)] = gain;
            showCrossPoint(output, input);
        }
        sendSet(M::Enable, quint8(output), MixerOutput::allInputsPayload(enable ? 1 : 0));
        sendSet(M::Gain, quint8(output), MixerOutput::allInputsPayload(quint8(gain)));
    }
}

void QMixer::sendEnable(int output, int input)
{
    sendSet(M::Enable, quint8(output),
            MixerOutput::setPayload({quint8(input)}, m_outputs[size_t(output)].enable[size_t(input)] ? 1 : 0));
}

void QMixer::sendGain(int output, int input)
{
    sendSet(M::Gain, quint8(output),
            MixerOutput::setPayload({quint8(input)}, quint8(m_outputs[size_t(output)].gain[size_t(input)])));
}

void QMixer::advance()
{
    for (int input = 0; input < InputCount; ++input) {
        if (m_strips[size_t(input)].pending.tick())
            sendGain(m_current, input);
    }
    m_busy.tick();
}

void QMixer::poll(quint32 tick)
{
    if (tick % 10 != 0)
        return;
    if (Link *l = link())
        l->sendQuery(Frame::System, Frame::Security, LockParam);
    for (int output = 0; output < OutputCount; ++output) {
        queryChannel(M::Enable, quint8(output));
        queryChannel(M::Gain, quint8(output));
    }
}

void QMixer::onMessage(quint8 param, quint8 op, quint16 length, const uchar *payload)
{
    if (!isReport(op) || length != Protocol::ReportSize<M::params, M::Enable> || !payload || payload[0] >= OutputCount
        || m_busy.isActive())
        return;
    const int output = payload[0];
    MixerOutput &mix = m_outputs[size_t(output)];
    MixerOutput reported = mix;
    if (param == M::Enable)
        reported.decodeEnables(payload + 1);
    else if (param == M::Gain)
        reported.decodeGains(payload + 1);
    else
        return;
    for (int input = 0; input < InputCount; ++input) {
        if (reported.enable[size_t(input)] == mix.enable[size_t(input)]
            && reported.gain[size_t(input)] == mix.gain[size_t(input)])
            continue;
        mix.enable[size_t(input)] = reported.enable[size_t(input)];
        mix.gain[size_t(input)] = reported.gain[size_t(input)];
        showCrossPoint(output, input);
    }
}

void QMixer::setOutput(int output, const MixerOutput &mix)
{
    if (output < 0 || output >= OutputCount)
        return;
    MixerOutput &stored = m_outputs[size_t(output)];
    for (int input = 0; input < InputCount; ++input) {
        const bool enable = mix.enable[size_t(input)];
        const qint8 gain = MixerOutput::boundGain(mix.gain[size_t(input)]);
        if (enable == stored.enable[size_t(input)] && gain == stored.gain[size_t(input)])
            continue;
        stored.enable[size_t(input)] = enable;
        stored.gain[size_t(input)] = gain;
        showCrossPoint(output, input);
    }
}

void QMixer::applyStripLock(uchar state)
{
    for (Strip &strip : m_strips)
        applyLock(strip.background, state);
}

void QMixer::applySecurityState(uchar channel, uchar state)
{
    if (channel >= OutputCount)
        return;
    QMixRect *rect = m_rows[channel].rect;
    // Hiding or disabling a row that holds the focus would pass the focus
    // on to a cross-point of another row, which would quietly make that
    // output current; the lock must not choose outputs.
    if (state != 0) {
        QWidget *focused = QApplication::focusWidget();
        if (focused && (focused == rect || rect->isAncestorOf(focused)))
            focused->clearFocus();
    }
    applyLock(rect, state);
    if (channel == m_current)
        applyStripLock(state);
}
