#include "qcail.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>
#include <QtEndian>

#include "core/link/frame.h"
#include "core/link/link.h"
#include "core/protocol/protocol.h"
#include "core/records/levelrecord.h"
#include "core/records/wirefloat.h"
#include "ui/common/prompt.h"
#include "ui/controls/keyboardaccess.h"
#include "ui/controls/valuefield.h"
#include "ui/controls/qfader.h"

namespace {

constexpr quint8 TrimParam = Protocol::Level::Trim;
constexpr quint8 MixParam = Protocol::Mixer::Enable;
constexpr int PollEveryTicks = 10;

// The unit's configuration-reset keyword, "SYS_RST*", kept as two
// little-endian words so the command does not sit in the binary as text.
constexpr quint32 ResetKeywordLow = 0x5F535953;
constexpr quint32 ResetKeywordHigh = 0x2A545352;


QString trimText(float trim)
{
    return QString::number(double(trim + 0.0f), 'f', 1);
}

} // namespace

const char *const QCail::GeometryKey = "CailGeometry";

QCail::QCail(Link *link, QWidget *parent)
    : QDialog(parent)
    , m_link(link)
    , m_timer(new QTimer(this))
    , m_inputs(Inputs)
    , m_outputs(Outputs)
{
    setObjectName(QStringLiteral("cailDialog"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setStyleSheet(QStringLiteral("QWidget#inlevelCailWidget, QWidget#outlevelCailWidget {"
                                 " background-color: rgb(40, 40, 41); border-radius: 4px; }"
                                 "QPushButton#normalButton { padding: 0px; }"
                                 "QLineEdit { padding: 0px; }"));

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(6, 6, 6, 6);
    row->setSpacing(4);
    for (int c = 0; c < Inputs; ++c)
        row->addWidget(buildChannel(m_inputs[c], QStringLiteral("IN %1").arg(QLatin1Char(char('A' + c))), true));
    row->addSpacing(8);
    for (int c = 0; c < Outputs; ++c)
        row->addWidget(buildChannel(m_outputs[c], QStringLiteral("OUT %1").arg(c + 1), false));
    row->addSpacing(8);

    auto *buttons = new QVBoxLayout;
    buttons->setSpacing(8);
    m_inputLink = new QPushButton(this);
    m_outputLink = new QPushButton(this);
    m_mix = new QPushButton(this);
    m_systemReset = new QPushButton(this);
    QFont buttonFont = font();
    buttonFont.setPointSize(9);
    for (QPushButton *button : {m_inputLink, m_outputLink, m_mix, m_systemReset}) {
        button->setObjectName(QStringLiteral("normalButton"));
        button->setFont(buttonFont);
        button->setFixedWidth(90);
        button->setMinimumHeight(28);
        // Tab stops, but never the dialog's default button: Return in a trim
        // field must finish the entry, not switch a link or reset the unit.
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    m_inputLink->setCheckable(true);
    m_outputLink->setCheckable(true);
    m_mix->setCheckable(true);
    m_systemReset->setMinimumHeight(40);
    buttons->addStretch(1);
    row->addLayout(buttons);
    row->addStretch(1);

    connect(m_mix, &QPushButton::clicked, this, &QCail::mixClicked);
    connect(m_systemReset, &QPushButton::clicked, this, &QCail::systemResetClicked);
    connect(m_timer, &QTimer::timeout, this, &QCail::timeOut20ms);
    m_timer->setInterval(20);

    resize(1000, 340);
    retranslate();
}

QCail::~QCail()
{
    // A field losing focus while the dialog is torn down would still report
    // "editing finished" to a dialog that is half gone.
    for (const Channel &channel : qAsConst(m_inputs) + m_outputs)
        channel.edit->disconnect(this);
    if (m_everShown && isVisible())
        saveGeometrySetting();
}

QWidget *QCail::buildChannel(Channel &channel, const QString &title, bool input)
{
    QFont labelFont = font();
    labelFont.setPointSize(8);
    QFont titleFont = labelFont;
    titleFont.setPointSize(9);
    titleFont.setBold(true);

    channel.panel = new QWidget(this);
    channel.panel->setObjectName(input ? QStringLiteral("inlevelCailWidget") : QStringLiteral("outlevelCailWidget"));
    channel.panel->setAttribute(Qt::WA_StyledBackground);
    auto *column = new QVBoxLayout(channel.panel);
    column->setContentsMargins(3, 4, 3, 4);
    column->setSpacing(4);

    channel.title = new QLabel(title, channel.panel);
    channel.title->setObjectName(QStringLiteral("titleLabel"));
    channel.title->setFont(titleFont);
    channel.title->setAlignment(Qt::AlignCenter);
    column->addWidget(channel.title);

    auto *entry = new QHBoxLayout;
    entry->setSpacing(2);
    channel.unit = new QLabel(QStringLiteral("dB"), channel.panel);
    channel.unit->setFont(labelFont);
    channel.edit = new ValueField(QStringLiteral("0.0"), channel.panel);
    channel.edit->setRange(double(LevelRecord::MinGain), double(LevelRecord::MaxGain), 1, QStringLiteral("dB"));
    // "-70.0" has to fit the 30-pixel field.
    QFont editFont = labelFont;
    editFont.setPointSize(7);
    channel.edit->setFont(editFont);
    channel.edit->setFixedSize(30, 20);
    channel.edit->setAlignment(Qt::AlignCenter);
    entry->addStretch(1);
    entry->addWidget(channel.unit);
    entry->addWidget(channel.edit);
    entry->addStretch(1);
    column->addLayout(entry);

    channel.fader = new QFader(channel.panel);
    channel.fader->setFixedSize(55, 230);
    channel.fader->setRange(int(LevelRecord::MinGain), int(LevelRecord::MaxGain));
    channel.fader->setValue(0.0f);
    channel.fader->setDecimals(1);
    channel.fader->setStep(0.1f);
    column->addWidget(channel.fader, 0, Qt::AlignHCenter);
    column->addStretch(1);

    if (input) {
        connect(channel.edit, &ValueField::edited, this, &QCail::inlevelGainEditingFinished);
        connect(channel.fader, &QFader::valueChanged, this, &QCail::inlevelFaderChanged);
    } else {
        connect(channel.edit, &ValueField::edited, this, &QCail::outlevelGainEditingFinished);
        connect(channel.fader, &QFader::valueChanged, this, &QCail::outlevelFaderChanged);
    }
    return channel.panel;
}

void QCail::setPrompt(Prompt *prompt)
{
    m_prompt = prompt;
}

void QCail::setSettings(QSettings *settings)
{
    m_settings = settings;
    if (!m_settings)
        return;
    const QByteArray geometry = m_settings->value(QLatin1String(GeometryKey)).toByteArray();
    if (!geometry.isEmpty())
        restoreGeometry(geometry);
}

void QCail::saveGeometrySetting()
{
    if (m_settings)
        m_settings->setValue(QLatin1String(GeometryKey), saveGeometry());
}

QByteArray QCail::systemResetKeyword()
{
    QByteArray keyword(8, '\0');
    qToLittleEndian<quint32>(ResetKeywordLow, keyword.data());
    qToLittleEndian<quint32>(ResetKeywordHigh, keyword.data() + 4);
    return keyword;
}

float QCail::inTrim(int channel) const
{
    return channel >= 0 && channel < Inputs ? m_inputs.at(channel).trim : 0.0f;
}

float QCail::outTrim(int channel) const
{
    return channel >= 0 && channel < Outputs ? m_outputs.at(channel).trim : 0.0f;
}

QFader *QCail::inFader(int channel) const
{
    return channel >= 0 && channel < Inputs ? m_inputs.at(channel).fader : nullptr;
}

QFader *QCail::outFader(int channel) const
{
    return channel >= 0 && channel < Outputs ? m_outputs.at(channel).fader : nullptr;
}

QLineEdit *QCail::inEdit(int channel) const
{
    return channel >= 0 && channel < Inputs ? m_inputs.at(channel).edit : nullptr;
}

QLineEdit *QCail::outEdit(int channel) const
{
    return channel >= 0 && channel < Outputs ? m_outputs.at(channel).edit : nullptr;
}

// Showing trims.

void QCail::showTrim(Channel &channel, float trim)
{
    channel.trim = LevelRecord::clampGain(trim) + 0.0f;
    {
        const QSignalBlocker blocker(channel.fader);
        channel.fader->setValue(channel.trim);
    }
    // Text the operator is typing stays until the edit is finished.
    if (channel.edit->hasFocus() && channel.edit->isModified())
        return;
    const QSignalBlocker blocker(channel.edit);
    channel.edit->setText(trimText(channel.trim));
}

void QCail::setInlevelGain(uchar channel, float trim)
{
    if (channel < Inputs)
        showTrim(m_inputs[channel], trim);
}

void QCail::setOutlevelGain(uchar channel, float trim)
{
    if (channel < Outputs)
        showTrim(m_outputs[channel], trim);
}

void QCail::setInCail(uchar channel, float trim)
{
    if (!m_busy.isActive())
        setInlevelGain(channel, trim);
}

void QCail::setOutCail(uchar channel, float trim)
{
    if (!m_busy.isActive())
        setOutlevelGain(channel, trim);
}

// Operator actions.

void QCail::faderMoved(QVector<Channel> &channels, QPushButton *link, QObject *fader, float trim)
{
    int moved = -1;
    for (int c = 0; c < channels.size(); ++c) {
        if (channels.at(c).fader == fader)
            moved = c;
    }
    if (moved < 0)
        return;
    for (int c = 0; c < channels.size(); ++c) {
        if (c != moved && !link->isChecked())
            continue;
        showTrim(channels[c], trim);
        channels[c].pending.arm();
    }
    m_busy.hold();
}

void QCail::editFinished(QVector<Channel> &channels, QPushButton *link, QObject *edit, quint8 module)
{
    int edited = -1;
    for (int c = 0; c < channels.size(); ++c) {
        if (channels.at(c).edit == edit)
            edited = c;
    }
    if (edited < 0)
        return;
    QLineEdit *field = channels.at(edited).edit;
    const float trim = LevelRecord::clampGain(field->text().toFloat());
    field->setModified(false);
    field->clearFocus();
    for (int c = 0; c < channels.size(); ++c) {
        if (c != edited && !link->isChecked())
            continue;
        showTrim(channels[c], trim);
        channels[c].pending.cancel();
        sendTrim(module, c, channels.at(c).trim);
    }
}

void QCail::inlevelFaderChanged(float trim)
{
    faderMoved(m_inputs, m_inputLink, sender(), trim);
}

void QCail::outlevelFaderChanged(float trim)
{
    faderMoved(m_outputs, m_outputLink, sender(), trim);
}

void QCail::inlevelGainEditingFinished()
{
    editFinished(m_inputs, m_inputLink, sender(), Frame::InLevel);
}

void QCail::outlevelGainEditingFinished()
{
    editFinished(m_outputs, m_outputLink, sender(), Frame::OutLevel);
}

void QCail::sendTrim(quint8 module, int channel, float trim)
{
    uchar bytes[4];
    WireFloat::write(bytes, trim);
    if (m_link)
        m_link->sendModuleFrame(module, TrimParam, uchar(channel), bytes, sizeof bytes);
}

void QCail::mixClicked(bool checked)
{
    m_mix->setChecked(checked);
    // Every output takes all four inputs, or none.
    const uchar routing[5] = {0, 1, 2, 3, uchar(checked ? 1 : 0)};
    for (int o = 0; o < Outputs; ++o) {
        if (m_link)
            m_link->sendModuleFrame(Frame::MatrixMixer, MixParam, uchar(o), routing, sizeof routing);
    }
}

void QCail::systemResetClicked()
{
    Prompt *prompt = m_prompt ? m_prompt : Prompt::standard();
    if (!prompt->confirmDestructive(this, Prompt::Icon::Warning, tr("warning"), tr("Reset system all config?"),
                                    {tr("OK"), tr("Cancle")}) || !m_link)
        return;
    const QByteArray keyword = systemResetKeyword();
    m_link->sendFrame(Frame::System, Frame::Login, Protocol::Login::Password, Frame::Set, keyword.constData(),
                      quint16(keyword.size()));
}

// Timer.

void QCail::timeOut20ms()
{
    ++m_ticks;
    if (m_ticks % PollEveryTicks == 0 && m_link) {
        for (int c = 0; c < Inputs; ++c)
            m_link->sendChannelQuery(Frame::InLevel, TrimParam, uchar(c));
        for (int o = 0; o < Outputs; ++o)
            m_link->sendChannelQuery(Frame::OutLevel, TrimParam, uchar(o));
    }
    for (int c = 0; c < Inputs; ++c) {
        if (m_inputs[c].pending.tick())
            sendTrim(Frame::InLevel, c, m_inputs.at(c).trim);
    }
    for (int o = 0; o < Outputs; ++o) {
        if (m_outputs[o].pending.tick())
            sendTrim(Frame::OutLevel, o, m_outputs.at(o).trim);
    }
    m_busy.tick();
}

void QCail::showEvent(QShowEvent *event)
{
    m_everShown = true;
    m_busy.release();
    m_timer->start();
    QDialog::showEvent(event);
}

void QCail::hideEvent(QHideEvent *event)
{
    m_timer->stop();
    // A fader move still waiting goes out now rather than never.
    for (int c = 0; c < Inputs; ++c) {
        if (m_inputs.at(c).pending.isPending()) {
            m_inputs[c].pending.cancel();
            sendTrim(Frame::InLevel, c, m_inputs.at(c).trim);
        }
    }
    for (int o = 0; o < Outputs; ++o) {
        if (m_outputs.at(o).pending.isPending()) {
            m_outputs[o].pending.cancel();
            sendTrim(Frame::OutLevel, o, m_outputs.at(o).trim);
        }
    }
    saveGeometrySetting();
    QDialog::hideEvent(event);
}

void QCail::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void QCail::retranslate()
{
    setWindowTitle(tr("Calibration"));
    m_inputLink->setText(tr("Input Link"));
    m_outputLink->setText(tr("Output Link"));
    m_mix->setText(tr("Mix"));
    m_systemReset->setText(tr("System \nReset"));
    KeyboardAccess::describe(m_inputLink, tr("Input Link"), tr("Move every input trim together"));
    KeyboardAccess::describe(m_outputLink, tr("Output Link"), tr("Move every output trim together"));
    KeyboardAccess::describe(m_mix, tr("Mix"), tr("Route every input to every output, or none"));
    KeyboardAccess::describe(m_systemReset, tr("System Reset"), tr("Reset the whole configuration of the unit"));
    const QString trimTip = tr("Calibration trim in dB");
    for (int c = 0; c < m_inputs.size(); ++c) {
        const QString channel = m_inputs.at(c).title->text();
        KeyboardAccess::describe(m_inputs.at(c).edit, tr("%1 trim in dB").arg(channel), trimTip);
        KeyboardAccess::describe(m_inputs.at(c).fader, tr("%1 trim fader").arg(channel), trimTip);
    }
    for (int c = 0; c < m_outputs.size(); ++c) {
        const QString channel = m_outputs.at(c).title->text();
        KeyboardAccess::describe(m_outputs.at(c).edit, tr("%1 trim in dB").arg(channel), trimTip);
        KeyboardAccess::describe(m_outputs.at(c).fader, tr("%1 trim fader").arg(channel), trimTip);
    }
}
