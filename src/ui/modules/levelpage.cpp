#include "levelpage.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyleOption>
#include <QVBoxLayout>

#include <cmath>

#include "core/link/frame.h"
#include "core/link/link.h"
#include "core/link/logging.h"
#include "core/protocol/protocol.h"
#include "core/records/wirefloat.h"
#include "ui/controls/keyboardaccess.h"
#include "ui/controls/valuefield.h"
#include "ui/controls/qfader.h"
#include "ui/controls/qmeterwidget.h"

namespace {

namespace L = Protocol::Level;
using L::Gain;
using L::Group;
using L::Invert;
using L::Meters;
using L::Mute;

template <quint8 P>
constexpr int ReportSize = Protocol::ReportSize<L::params, P>;

// A negative value down to -70 or a positive one up to 12, one decimal at most.

constexpr int CaptionWidth = 60;
// How much taller than their smallest the meters and faders may grow.
constexpr int MaxGrowth = 600;

QString gainText(float gain)
{
    // "+ 0.0f" turns -0 into 0 so the field never shows "-0.0".
    return QString::number(double(gain + 0.0f), 'f', 1);
}

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

} // namespace

LevelPage::LevelPage(Link *link, const Setup &setup, QWidget *parent)
    : ModulePage(link, setup.moduleId, setup.channels, DefaultTickMs, parent)
    , m_strips(setup.channels)
    , m_records(setup.channels)
    , m_setup(setup)
{
    buildStrips();
    retranslate();
}

LevelPage::~LevelPage()
{
    // A field losing focus while the page is torn down would still report
    // "editing finished" to a page whose strips are already gone.
    for (const Strip &s : qAsConst(m_strips))
        s.gainEdit->disconnect(this);
}

void LevelPage::buildStrips()
{
    const QString panelName = QLatin1String(m_setup.backgroundName);
    // The selectors are 60 pixels wide: the style's padding would leave no
    // room for "Analog".
    setStyleSheet(QStringLiteral("QWidget#%1 { background-color: rgb(40, 40, 41); border-radius: 4px; }"
                                 "QComboBox { padding: 0px 2px; }"
                                 "QComboBox::drop-down { width: 12px; }")
                      .arg(panelName));

    auto *row = new QHBoxLayout(this);
    // Tight vertical spacing: with the overview above, a 600-pixel window
    // leaves the strips little more than their fixed meter and fader height.
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(4);

    const QFont labelFont = pointFont(font(), 8);
    const QFont buttonFont = pointFont(font(), 9);

    for (int c = 0; c < m_strips.size(); ++c) {
        Strip &s = m_strips[c];
        s.background = new QWidget(this);
        s.background->setObjectName(panelName);
        s.background->setAttribute(Qt::WA_StyledBackground);
        auto *backgroundLayout = new QVBoxLayout(s.background);
        backgroundLayout->setContentsMargins(3, 1, 3, 3);

        // The content hides as a whole for a hidden channel; the panel keeps
        // its place so the other strips do not move.
        s.content = new QWidget(s.background);
        QSizePolicy keepPlace = s.content->sizePolicy();
        keepPlace.setRetainSizeWhenHidden(true);
        s.content->setSizePolicy(keepPlace);
        backgroundLayout->addWidget(s.content);

        auto *column = new QVBoxLayout(s.content);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(2);

        // The unit's own name for the channel, when it has one, sits beside
        // the title rather than on a row of its own: the strip is tall already.
        auto *titleRow = new QHBoxLayout;
        titleRow->setSpacing(4);
        s.title = new QLabel(channelTitle(c), s.content);
        s.title->setObjectName(QStringLiteral("titleLabel"));
        s.title->setFont(pointFont(font(), 10, true));
        s.title->setAlignment(Qt::AlignCenter);
        s.caption = new QLabel(s.content);
        s.caption->setFont(labelFont);
        s.caption->setMaximumWidth(CaptionWidth);
        s.caption->hide();
        titleRow->addStretch(1);
        titleRow->addWidget(s.title);
        titleRow->addWidget(s.caption);
        titleRow->addStretch(1);
        column->addLayout(titleRow);

        auto *grid = new QGridLayout;
        grid->setHorizontalSpacing(8);
        grid->setVerticalSpacing(2);
        grid->setContentsMargins(0, 0, 0, 0);
        if (m_setup.withSource) {
            s.sourceTitle = new QLabel(s.content);
            s.sourceTitle->setFont(labelFont);
            grid->addWidget(s.sourceTitle, 0, 0);
            // The first input of a pair chooses the pair's source; the
            // second shows it.
            if (c % 2 == 0) {
                s.sourceSelector = new QComboBox(s.content);
                s.sourceSelector->setFont(labelFont);
                s.sourceSelector->setFixedSize(60, 20);
                s.sourceSelector->addItems({QString(), QString()});
                grid->addWidget(s.sourceSelector, 0, 1);
            } else {
                s.sourceText = new QLabel(s.content);
                s.sourceText->setFont(labelFont);
                s.sourceText->setFixedSize(60, 20);
                grid->addWidget(s.sourceText, 0, 1);
            }
        }
        s.groupTitle = new QLabel(s.content);
        s.groupTitle->setFont(labelFont);
        grid->addWidget(s.groupTitle, 1, 0);
        s.group = new QComboBox(s.content);
        s.group->setFont(labelFont);
        s.group->setMinimumSize(60, 20);
        s.group->addItem(QStringLiteral("-"));
        for (int g = 1; g <= m_setup.groups; ++g)
            s.group->addItem(QString::number(g));
        grid->addWidget(s.group, 1, 1);
        // Screen readers on Linux take a combo box's label from its buddy.
        s.groupTitle->setBuddy(s.group);
        if (s.sourceSelector)
            s.sourceTitle->setBuddy(s.sourceSelector);
        column->addLayout(grid);

        auto *levels = new QHBoxLayout;
        levels->setSpacing(2);
        auto *meterColumn = new QVBoxLayout;
        meterColumn->setSpacing(1);
        s.meterLabel = new QLabel(levelText(MeterFloor), s.content);
        s.meterLabel->setFont(labelFont);
        s.meterLabel->setFixedWidth(40);
        s.meterLabel->setAlignment(Qt::AlignCenter);
        meterColumn->addWidget(s.meterLabel, 0, Qt::AlignHCenter);
        s.meter = new QMeterWidget(s.content);
        // Meter and fader grow with the room a large window gives the page.
        s.meter->setFixedWidth(24);
        s.meter->setMinimumHeight(220);
        s.meter->setMaximumHeight(220 + MaxGrowth);
        s.meter->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
        s.meter->setSegmentCount(45);
        s.meter->setRange(MeterFloor, MeterCeiling);
        s.meter->setValue(MeterFloor);
        meterColumn->addWidget(s.meter, 1, Qt::AlignHCenter);
        meterColumn->addSpacing(10);
        levels->addLayout(meterColumn);

        auto *gainColumn = new QVBoxLayout;
        gainColumn->setSpacing(1);
        s.gainTitle = new QLabel(s.content);
        s.gainTitle->setFont(labelFont);
        s.gainTitle->setAlignment(Qt::AlignCenter);
        gainColumn->addWidget(s.gainTitle, 0, Qt::AlignHCenter);
        s.gainEdit = new ValueField(QLatin1String(m_setup.initialGainText), s.content);
        s.gainEdit->setRange(double(LevelRecord::MinGain), double(LevelRecord::MaxGain), 1, QStringLiteral("dB"));
        s.gainTextShown = s.gainEdit->text() == gainText(0.0f);
        s.gainEdit->setFont(labelFont);
        s.gainEdit->setFixedWidth(36);
        s.gainEdit->setAlignment(Qt::AlignCenter);
        s.gainEdit->setTextMargins(0, 0, 0, 0);
        s.gainEdit->setStyleSheet(QStringLiteral("QLineEdit { padding: 0px; }"));
        gainColumn->addWidget(s.gainEdit, 0, Qt::AlignHCenter);
        s.fader = new QFader(s.content);
        s.fader->setFixedWidth(55);
        s.fader->setMinimumHeight(230);
        s.fader->setMaximumHeight(230 + MaxGrowth);
        s.fader->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
        s.fader->setRange(int(LevelRecord::MinGain), int(LevelRecord::MaxGain));
        s.fader->setValue(0.0f);
        s.fader->setDecimals(1);
        s.fader->setStep(0.1f);
        gainColumn->addWidget(s.fader, 1, Qt::AlignHCenter);
        levels->addLayout(gainColumn);
        column->addLayout(levels, 1);

        auto *buttons = new QHBoxLayout;
        buttons->setSpacing(4);
        s.mute = new QPushButton(s.content);
        s.mute->setObjectName(QStringLiteral("muteButton"));
        s.invert = new QPushButton(s.content);
        s.invert->setObjectName(QStringLiteral("normalButton"));
        for (QPushButton *button : {s.mute, s.invert}) {
            button->setCheckable(true);
            button->setFixedSize(50, 25);
            button->setFont(buttonFont);
            // The 50-pixel buttons have no room for the style's padding.
            button->setStyleSheet(QStringLiteral("QPushButton { padding: 0px; }"));
            buttons->addWidget(button);
        }
        column->addLayout(buttons);

        row->addWidget(s.background, 1);

        connect(s.mute, &QPushButton::clicked, this, &LevelPage::muteClicked);
        connect(s.invert, &QPushButton::clicked, this, &LevelPage::invertClicked);
        connect(s.gainEdit, &ValueField::edited, this, &LevelPage::gainEditingFinished);
        connect(s.fader, &QFader::valueChanged, this, &LevelPage::gainFaderChanged);
        connect(s.group, qOverload<int>(&QComboBox::currentIndexChanged), this, &LevelPage::groupChanged);
    }

    auto *filler = new QWidget(this);
    row->addWidget(filler, 4 * 1);
}

QString LevelPage::channelTitle(int channel) const
{
    if (m_setup.inputs)
        return QStringLiteral("IN %1").arg(QChar(QLatin1Char('A').unicode() + channel));
    return QStringLiteral("OUT %1").arg(channel + 1);
}

// Model setters: no sends, no change when equal.

void LevelPage::setMute(uchar channel, bool mute)
{
    if (channel >= m_records.size() || m_records.at(channel).mute == mute)
        return;
    m_records[channel].mute = mute;
    setCheckedQuietly(m_strips.at(channel).mute, mute);
    Q_EMIT sigMute(channel, mute);
}

void LevelPage::setInvert(uchar channel, bool invert)
{
    if (channel >= m_records.size() || m_records.at(channel).invert == invert)
        return;
    m_records[channel].invert = invert;
    setCheckedQuietly(m_strips.at(channel).invert, invert);
}

void LevelPage::setGain(uchar channel, float gain)
{
    if (channel >= m_records.size())
        return;
    gain = LevelRecord::clampGain(gain) + 0.0f;
    if (m_records.at(channel).gain == gain && m_strips.at(channel).gainTextShown)
        return;
    m_records[channel].gain = gain;
    QFader *fader = m_strips.at(channel).fader;
    disconnect(fader, &QFader::valueChanged, this, &LevelPage::gainFaderChanged);
    fader->setValue(gain);
    connect(fader, &QFader::valueChanged, this, &LevelPage::gainFaderChanged);
    showGainText(channel, false);
}

void LevelPage::showGainText(int channel, bool force)
{
    QLineEdit *edit = m_strips.at(channel).gainEdit;
    // Text the operator is typing stays until the edit is finished.
    if (!force && edit->hasFocus() && edit->isModified())
        return;
    const QString text = gainText(m_records.at(channel).gain);
    if (edit->text() != text) {
        const QSignalBlocker blocker(edit);
        edit->setText(text);
    }
    m_strips[channel].gainTextShown = true;
}

void LevelPage::setGroup(uchar channel, quint8 group)
{
    if (channel >= m_records.size() || m_records.at(channel).group == group)
        return;
    if (group > m_setup.groups) {
        qCDebug(lcPages) << "level module" << moduleId() << "channel" << channel << "unknown group" << group;
        return;
    }
    m_records[channel].group = group;
    QComboBox *selector = m_strips.at(channel).group;
    disconnect(selector, qOverload<int>(&QComboBox::currentIndexChanged), this, &LevelPage::groupChanged);
    selector->setCurrentIndex(group);
    connect(selector, qOverload<int>(&QComboBox::currentIndexChanged), this, &LevelPage::groupChanged);
}

void LevelPage::setMeter(uchar channel, int level)
{
    if (channel >= m_strips.size())
        return;
    Strip &s = m_strips[channel];
    // Compared as received, so a channel resting below the floor (-80, -100)
    // is neither redrawn nor relayed again on every report.
    if (s.lastReceivedLevel == level)
        return;
    s.lastReceivedLevel = level;
    s.meterLevel = qMax(level, int(MeterFloor));
    setTextIfChanged(s.meterLabel, levelText(s.meterLevel));
    s.meter->setValue(level);
    Q_EMIT sigMeter(channel, level);
}

void LevelPage::setRecord(uchar channel, const LevelRecord &record)
{
    setMute(channel, record.mute);
    setInvert(channel, record.invert);
    setGain(channel, record.gain);
}

void LevelPage::resetMeters()
{
    for (int c = 0; c < m_strips.size(); ++c)
        setMeter(uchar(c), -100);
}

LevelRecord LevelPage::record(uchar channel) const
{
    return channel < m_records.size() ? m_records.at(channel) : LevelRecord();
}

int LevelPage::shownLevel(uchar channel) const
{
    return channel < m_strips.size() ? m_strips.at(channel).meterLevel : MeterFloor;
}

QPushButton *LevelPage::muteButton(int channel) const
{
    return channel >= 0 && channel < m_strips.size() ? m_strips.at(channel).mute : nullptr;
}

QPushButton *LevelPage::invertButton(int channel) const
{
    return channel >= 0 && channel < m_strips.size() ? m_strips.at(channel).invert : nullptr;
}

QFader *LevelPage::fader(int channel) const
{
    return channel >= 0 && channel < m_strips.size() ? m_strips.at(channel).fader : nullptr;
}

QLineEdit *LevelPage::gainEdit(int channel) const
{
    return channel >= 0 && channel < m_strips.size() ? m_strips.at(channel).gainEdit : nullptr;
}

QComboBox *LevelPage::groupSelector(int channel) const
{
    return channel >= 0 && channel < m_strips.size() ? m_strips.at(channel).group : nullptr;
}

QMeterWidget *LevelPage::meter(int channel) const
{
    return channel >= 0 && channel < m_strips.size() ? m_strips.at(channel).meter : nullptr;
}

QLabel *LevelPage::meterLabel(int channel) const
{
    return channel >= 0 && channel < m_strips.size() ? m_strips.at(channel).meterLabel : nullptr;
}

QWidget *LevelPage::stripContent(int channel) const
{
    return channel >= 0 && channel < m_strips.size() ? m_strips.at(channel).content : nullptr;
}

// Operator actions.

QVector<int> LevelPage::targetsOf(int channel) const
{
    const quint8 group = m_records.at(channel).group;
    if (group == 0)
        return {channel};
    QVector<int> targets;
    for (int c = 0; c < m_records.size(); ++c) {
        if (m_records.at(c).group == group)
            targets.append(c);
    }
    return targets;
}

void LevelPage::muteClicked(bool checked)
{
    const int c = channelOf(sender(), &Strip::mute);
    if (c < 0)
        return;
    for (int target : targetsOf(c))
        setMute(uchar(target), checked);
    const uchar on = checked ? 1 : 0;
    sendSet(Mute, uchar(c), &on, 1);
}

void LevelPage::invertClicked(bool checked)
{
    const int c = channelOf(sender(), &Strip::invert);
    if (c < 0)
        return;
    for (int target : targetsOf(c))
        setInvert(uchar(target), checked);
    const uchar on = checked ? 1 : 0;
    sendSet(Invert, uchar(c), &on, 1);
}

void LevelPage::gainFaderChanged(float gain)
{
    const int c = channelOf(sender(), &Strip::fader);
    if (c < 0)
        return;
    for (int target : targetsOf(c))
        setGain(uchar(target), gain);
    m_busy.hold();
    m_strips[c].gainPending.arm();
}

void LevelPage::gainEditingFinished()
{
    const int c = channelOf(sender(), &Strip::gainEdit);
    if (c < 0)
        return;
    QLineEdit *edit = m_strips.at(c).gainEdit;
    const float gain = LevelRecord::clampGain(edit->text().toFloat());
    for (int target : targetsOf(c))
        setGain(uchar(target), gain);
    edit->setModified(false);
    showGainText(c, true);
    // A typed value replaces a fader move still waiting to go out.
    m_strips[c].gainPending.cancel();
    sendGain(c);
}

void LevelPage::groupChanged(int index)
{
    const int c = channelOf(sender(), &Strip::group);
    if (c < 0 || index < 0)
        return;
    setGroup(uchar(c), quint8(index));
    const uchar group = uchar(index);
    sendSet(Group, uchar(c), &group, 1);
}

void LevelPage::sendGain(int channel)
{
    uchar bytes[4];
    WireFloat::write(bytes, m_records.at(channel).gain);
    sendSet(Gain, uchar(channel), bytes, sizeof bytes);
}

// Timer.

void LevelPage::advance()
{
    // Meters and mutes feed the overview, so they are polled whether or not
    // the page is shown.
    if (tickCount() % 5 == 0) {
        queryAll(Meters);
        for (int c = 0; c < m_strips.size(); ++c)
            queryChannel(Mute, uchar(c));
    }
    for (int c = 0; c < m_strips.size(); ++c) {
        if (m_strips[c].gainPending.tick())
            sendGain(c);
    }
    m_busy.tick();
}

void LevelPage::poll(quint32 tick)
{
    if (tick % 10 != 0)
        return;
    if (link())
        link()->sendQuery(Frame::System, Frame::Security, m_setup.lockParam);
    for (int c = 0; c < m_strips.size(); ++c) {
        queryChannel(Gain, uchar(c));
        queryChannel(Invert, uchar(c));
        queryChannel(Group, uchar(c));
    }
    pollOthers();
}

// Replies.

bool LevelPage::heldOff(quint8 param) const
{
    if (!m_busy.isActive())
        return false;
    return m_setup.holdAllWhileBusy || param == Gain;
}

void LevelPage::onMessage(quint8 param, quint8 op, quint16 length, const uchar *payload)
{
    if (!isReport(op) || !payload)
        return;
    if (param == Meters) {
        if (length != ReportSize<Meters> * m_strips.size())
            return;
        for (int c = 0; c < m_strips.size(); ++c)
            setMeter(uchar(c), int(qint8(payload[c])));
        return;
    }
    if (heldOff(param))
        return;
    const int channels = m_strips.size();
    switch (param) {
    case Mute:
        if (length == ReportSize<Mute> && payload[0] < channels)
            setMute(payload[0], payload[1] != 0);
        break;
    case Gain:
        // A NaN or infinite gain is a broken report, not a setting.
        if (length == ReportSize<Gain> && payload[0] < channels && std::isfinite(WireFloat::read(payload + 1)))
            setGain(payload[0], WireFloat::read(payload + 1));
        break;
    case Invert:
        if (length == ReportSize<Invert> && payload[0] < channels)
            setInvert(payload[0], payload[1] != 0);
        break;
    case Group:
        if (length == ReportSize<Group> && payload[0] < channels)
            setGroup(payload[0], payload[1]);
        break;
    case L::Trim:
        if (length == ReportSize<L::Trim> && payload[0] < channels)
            Q_EMIT sigCail(payload[0], WireFloat::read(payload + 1));
        break;
    default:
        onOtherMessage(param, length, payload);
        break;
    }
}

void LevelPage::onOtherMessage(quint8, quint16, const uchar *) {}

// Locks, labels, language, look.

void LevelPage::applySecurityState(uchar channel, uchar state)
{
    applyLock(m_strips.at(channel).content, state);
}

void LevelPage::setChannelLabel(uchar channel, const QString &label)
{
    if (channel >= m_strips.size())
        return;
    const Strip &s = m_strips.at(channel);
    // The unit's default labels repeat the title; only a name of the
    // operator's own is worth the line.
    const QString shown = label.trimmed() == s.title->text() ? QString() : label.trimmed();
    setTextIfChanged(s.caption, s.caption->fontMetrics().elidedText(shown, Qt::ElideRight, CaptionWidth));
    s.caption->setToolTip(shown);
    s.title->setToolTip(shown);
    s.caption->setVisible(!shown.isEmpty());
}

void LevelPage::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    ModulePage::changeEvent(event);
}

void LevelPage::retranslate()
{
    for (int c = 0; c < m_strips.size(); ++c) {
        Strip &s = m_strips[c];
        const QString channel = channelTitle(c);
        if (s.sourceTitle)
            s.sourceTitle->setText(tr("Source"));
        if (s.sourceSelector) {
            s.sourceSelector->setItemText(0, tr("Analog"));
            s.sourceSelector->setItemText(1, tr("AES"));
            // One selector serves the pair; the name says so.
            KeyboardAccess::describe(s.sourceSelector,
                                     tr("%1 and %2 source").arg(channel, channelTitle(c + 1)),
                                     tr("Input source of the pair: analog or AES digital"));
        }
        s.groupTitle->setText(tr("Group"));
        s.gainTitle->setText(tr("Gain(dB)"));
        s.gainTitle->setToolTip(tr("Gain in dB"));
        s.mute->setText(tr("Mute"));
        s.invert->setText(tr("Invert"));
        KeyboardAccess::describe(s.group, tr("%1 link group").arg(channel),
                                 tr("Link group: channels of one group follow each other"));
        KeyboardAccess::describe(s.gainEdit, tr("%1 gain in dB").arg(channel), tr("Gain in dB"));
        KeyboardAccess::describe(s.fader, tr("%1 gain fader").arg(channel), tr("Gain in dB"));
        KeyboardAccess::describe(s.mute, tr("%1 mute").arg(channel));
        KeyboardAccess::describe(s.invert, tr("%1 polarity invert").arg(channel), tr("Invert the polarity"));
    }
    retranslateOthers();
}

void LevelPage::paintEvent(QPaintEvent *)
{
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}
