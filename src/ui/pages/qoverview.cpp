#include "qoverview.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "core/link/frame.h"
#include "core/link/link.h"
#include "core/protocol/protocol.h"
#include "core/records/systemtext.h"
#include "ui/controls/keyboardaccess.h"
#include "ui/controls/qmeterwidget.h"

namespace {

const QString LampOff = QStringLiteral("border-radius:5px;padding:2px 4px;background-color:#707070");
const QString LampOn = QStringLiteral("border-radius:5px;padding:2px 4px;background-color:#00FF00");
const QString StateOnline = QStringLiteral("color: rgb(167,167,167);");
const QString StateOffline = QStringLiteral("color: rgb(255,0,0);");

// Gain reduction shown on the "Comp" meters, in dB.
constexpr int CompRange = 35;

QFont pointFont(const QWidget *widget, int points)
{
    QFont f = widget->font();
    f.setPointSize(points);
    return f;
}

QLabel *smallLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setFont(pointFont(label, 7));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QMeterWidget *newMeter(QWidget *parent)
{
    auto *meter = new QMeterWidget(parent);
    meter->setFixedSize(10, QOverView::MinMeterHeight);
    meter->setSegmentCount(24);
    return meter;
}

} // namespace

QOverView::QOverView(Link *link, QWidget *parent)
    : QWidget(parent)
    , m_link(link)
{
    setObjectName(QStringLiteral("overView"));
    auto *layout = new QHBoxLayout(this);
    layout->setSpacing(2);
    layout->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < Inputs; ++i)
        layout->addWidget(buildStrip(m_in[i], true, i), 1);
    layout->addWidget(buildInfoBox(), 4);
    for (int i = 0; i < Outputs; ++i)
        layout->addWidget(buildStrip(m_out[i], false, i), 1);

    m_floorShortcut = new QShortcut(QKeySequence(QStringLiteral("Ctrl+N")), this);
    connect(m_floorShortcut, &QShortcut::activated, this, &QOverView::CtrlNClicked);
    m_muteShortcut = new QShortcut(this);
    connect(m_muteShortcut, &QShortcut::activated, this, &QOverView::muteAccess);

    retranslate();
    refreshState();
}

QOverView::~QOverView() = default;

QFrame *QOverView::buildStrip(Strip &strip, bool input, int channel)
{
    strip.frame = new QFrame(this);
    strip.frame->setObjectName(input ? QStringLiteral("inBgWidget") : QStringLiteral("outBgWidget"));
    auto *column = new QVBoxLayout(strip.frame);
    column->setContentsMargins(2, 3, 2, 3);
    column->setSpacing(2);

    strip.title = new QLabel(input ? QString::asprintf("IN %c", 'A' + channel) : QString::asprintf("OUT %d", channel + 1),
                             strip.frame);
    strip.title->setObjectName(QStringLiteral("titleLabel"));
    strip.title->setAlignment(Qt::AlignCenter);
    strip.title->setFont(pointFont(strip.title, 9));
    column->addWidget(strip.title);

    // Title, mute, gate lamp, then the meters: the parts of every strip
    // line up across the row whatever the meters' height.
    strip.mute = new QPushButton(strip.frame);
    strip.mute->setObjectName(QStringLiteral("muteButton"));
    strip.mute->setCheckable(true);
    strip.mute->setFixedSize(50, 25);
    strip.mute->setFont(pointFont(strip.mute, 8));
    column->addWidget(strip.mute, 0, Qt::AlignHCenter);
    connect(strip.mute, &QPushButton::clicked, this, input ? &QOverView::inMuteClicked : &QOverView::outMuteClicked);

    strip.gateLamp = nullptr;
    if (input) {
        strip.gateLamp = new QLabel(strip.frame);
        strip.gateLamp->setFixedSize(22, 10);
        strip.gateLamp->setStyleSheet(LampOff);
        column->addWidget(strip.gateLamp, 0, Qt::AlignHCenter);
    } else {
        column->addSpacing(10 + column->spacing());
    }

    strip.level = newMeter(strip.frame);
    strip.level->setRange(m_floor, MeterTop);
    strip.level->setValue(m_floor);
    strip.comp = newMeter(strip.frame);
    strip.comp->setRange(0, CompRange);
    strip.comp->setTopDown(true);
    strip.comp->setWarnLevel(CompRange);
    strip.comp->setValue(0);
    strip.levelLabel = smallLabel(strip.frame);
    strip.compLabel = smallLabel(strip.frame);
    strip.levelCaption = smallLabel(strip.frame);
    strip.compCaption = smallLabel(strip.frame);

    auto *meters = new QGridLayout;
    meters->setSpacing(1);
    meters->addWidget(strip.levelCaption, 0, 0);
    meters->addWidget(strip.compCaption, 0, 1);
    meters->addWidget(strip.level, 1, 0, Qt::AlignHCenter);
    meters->addWidget(strip.comp, 1, 1, Qt::AlignHCenter);
    meters->addWidget(strip.levelLabel, 2, 0);
    meters->addWidget(strip.compLabel, 2, 1);
    meters->setRowStretch(1, 1);
    column->addLayout(meters, 1);

    showLevel(strip);
    showComp(strip);
    return strip.frame;
}

QFrame *QOverView::buildInfoBox()
{
    auto *box = new QFrame(this);
    box->setObjectName(QStringLiteral("devInfoBgWidget"));
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(6, 3, 6, 3);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(1);

    m_versionTitle = new QLabel(applicationVersion(), box);
    m_versionTitle->setObjectName(QStringLiteral("titleLabel"));
    m_versionTitle->setFont(pointFont(m_versionTitle, 9));
    m_allMuteButton = new QPushButton(box);
    m_allMuteButton->setObjectName(QStringLiteral("muteButton"));
    m_allMuteButton->setCheckable(true);
    m_allMuteButton->setFixedSize(55, 25);
    m_allMuteButton->setFont(pointFont(m_allMuteButton, 8));
    connect(m_allMuteButton, &QPushButton::clicked, this, &QOverView::allMuteClicked);
    grid->addWidget(m_versionTitle, 0, 0);
    grid->addWidget(m_allMuteButton, 0, 1, Qt::AlignRight);

    QLabel **values[8] = {&m_model, &m_location, &m_ip, &m_description,
                          &m_armVer, &m_state, &m_dspVer, &m_dspLoad};
    for (int i = 0; i < 8; ++i) {
        m_infoTitles[i] = smallLabel(box);
        m_infoTitles[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QLabel *value = smallLabel(box);
        value->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        // Long texts are clipped, with the whole text in the tool tip.
        value->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        value->setMinimumWidth(40);
        *values[i] = value;
        grid->addWidget(m_infoTitles[i], 1 + i, 0);
        grid->addWidget(value, 1 + i, 1);
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(9, 1);
    setIPAddrState(0);
    return box;
}

void QOverView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void QOverView::retranslate()
{
    static const char *const titles[8] = {
        QT_TR_NOOP("Model :"), QT_TR_NOOP("Loca :"), QT_TR_NOOP("IPAddr :"), QT_TR_NOOP("Desc :"),
        QT_TR_NOOP("ARM Ver :"), QT_TR_NOOP("State :"), QT_TR_NOOP("DSP Ver :"), QT_TR_NOOP("DSP :"),
    };
    // The titles are abbreviated to fit the strip; their tool tips spell them out.
    static const char *const spelledOut[8] = {
        QT_TR_NOOP("Model"), QT_TR_NOOP("Location"), QT_TR_NOOP("IP address"), QT_TR_NOOP("Description"),
        QT_TR_NOOP("ARM firmware version"), QT_TR_NOOP("Connection state"), QT_TR_NOOP("DSP firmware version"),
        QT_TR_NOOP("DSP load: usage and peak"),
    };
    for (int i = 0; i < 8; ++i) {
        m_infoTitles[i]->setText(tr(titles[i]));
        m_infoTitles[i]->setToolTip(tr(spelledOut[i]));
    }
    const QString levelTip = tr("Level in dB");
    const QString compTip = tr("Compressor gain reduction in dB");
    for (Strip *strips : {m_in, m_out}) {
        const bool inputs = strips == m_in;
        const int count = inputs ? Inputs : Outputs;
        for (int i = 0; i < count; ++i) {
            strips[i].mute->setText(tr("Mute"));
            strips[i].levelCaption->setText(tr("dB"));
            strips[i].compCaption->setText(tr("Comp"));
            strips[i].levelCaption->setToolTip(levelTip);
            strips[i].compCaption->setToolTip(compTip);
            strips[i].title->setToolTip(strips[i].title->text());
            // The fixed channel title, not the operator's label (which may repeat).
            const QString channel = inputs ? QString::asprintf("IN %c", 'A' + i) : QString::asprintf("OUT %d", i + 1);
            KeyboardAccess::describe(strips[i].mute, tr("%1 mute").arg(channel));
        }
    }
    m_allMuteButton->setText(tr("Mute"));
    KeyboardAccess::describe(m_allMuteButton, tr("Mute all"), tr("Mute every input and output"));
    m_muteShortcut->setKey(QKeySequence(tr("Ctrl+M")));
    refreshState();
}

void QOverView::refreshState()
{
    const bool online = m_link && m_link->isLoggedIn();
    setInfoText(m_state, online ? tr("Connected") : tr("Unconnected"));
    const QString &style = online ? StateOnline : StateOffline;
    if (m_state->styleSheet() != style)
        m_state->setStyleSheet(style);
}

void QOverView::reset()
{
    for (int i = 0; i < Inputs; ++i) {
        setInMeter(uchar(i), -100);
        setInCompMeter(uchar(i), 0);
        // A lamp left lit would claim an open gate on a unit that is gone.
        setGateState(uchar(i), false);
    }
    for (int i = 0; i < Outputs; ++i) {
        setOutMeter(uchar(i), -100);
        setOutCompMeter(uchar(i), 0);
    }
    setInfoText(m_dspLoad, QString());
    m_allMute = 0;
    const QSignalBlocker blocker(m_allMuteButton);
    m_allMuteButton->setChecked(false);
}

void QOverView::setDark(bool dark)
{
    for (Strip *strips : {m_in, m_out}) {
        const int count = strips == m_in ? Inputs : Outputs;
        for (int i = 0; i < count; ++i) {
            strips[i].level->setDark(dark);
            strips[i].comp->setDark(dark);
        }
    }
}

bool QOverView::isDark() const
{
    return m_in[0].level->isDark();
}

void QOverView::setMeterHeight(int height)
{
    height = qBound(int(MinMeterHeight), height, int(MaxMeterHeight));
    for (Strip *strips : {m_in, m_out}) {
        const int count = strips == m_in ? Inputs : Outputs;
        for (int i = 0; i < count; ++i) {
            strips[i].level->setFixedHeight(height);
            strips[i].comp->setFixedHeight(height);
        }
    }
}

int QOverView::meterHeight() const
{
    return m_in[0].level->height();
}

void QOverView::setInfoText(QLabel *label, const QString &text)
{
    if (label->text() == text)
        return;
    label->setText(text);
    label->setToolTip(text);
}

// Meters.

void QOverView::showLevel(Strip &strip)
{
    const int shown = qMax(strip.levelValue, m_floor);
    strip.level->setValue(shown);
    strip.levelLabel->setText(QString::number(shown));
}

void QOverView::showComp(Strip &strip)
{
    strip.comp->setValue(strip.compValue);
    strip.compLabel->setText(QString::number(strip.compValue));
}

void QOverView::setInMeter(uchar channel, int value)
{
    if (channel >= Inputs || m_in[channel].levelValue == value)
        return;
    m_in[channel].levelValue = value;
    showLevel(m_in[channel]);
}

void QOverView::setOutMeter(uchar channel, int value)
{
    if (channel >= Outputs || m_out[channel].levelValue == value)
        return;
    m_out[channel].levelValue = value;
    showLevel(m_out[channel]);
}

void QOverView::setInCompMeter(uchar channel, int value)
{
    if (channel >= Inputs)
        return;
    m_in[channel].compValue = value;
    showComp(m_in[channel]);
}

void QOverView::setOutCompMeter(uchar channel, int value)
{
    if (channel >= Outputs)
        return;
    m_out[channel].compValue = value;
    showComp(m_out[channel]);
}

void QOverView::CtrlNClicked()
{
    m_floor = m_floor == -60 ? -100 : -60;
    for (Strip *strips : {m_in, m_out}) {
        const int count = strips == m_in ? Inputs : Outputs;
        for (int i = 0; i < count; ++i) {
            strips[i].level->setMinimum(m_floor);
            showLevel(strips[i]);
        }
    }
}

// Mutes.

void QOverView::inMuteClicked(bool checked)
{
    for (int i = 0; i < Inputs; ++i) {
        if (sender() != m_in[i].mute)
            continue;
        Q_EMIT inMuteChanged(uchar(i), checked);
        const uchar on = checked ? 1 : 0;
        if (m_link)
            m_link->sendModuleFrame(Frame::InLevel, Protocol::Level::Mute, uchar(i), &on, 1);
    }
}

void QOverView::outMuteClicked(bool checked)
{
    for (int i = 0; i < Outputs; ++i) {
        if (sender() != m_out[i].mute)
            continue;
        Q_EMIT outMuteChanged(uchar(i), checked);
        const uchar on = checked ? 1 : 0;
        if (m_link)
            m_link->sendModuleFrame(Frame::OutLevel, Protocol::Level::Mute, uchar(i), &on, 1);
    }
}

void QOverView::setInMute(uchar ucChannel, bool mute)
{
    if (ucChannel >= Inputs || m_in[ucChannel].mute->isChecked() == mute)
        return;
    const QSignalBlocker blocker(m_in[ucChannel].mute);
    m_in[ucChannel].mute->setChecked(mute);
}

void QOverView::setOutMute(uchar ucChannel, bool mute)
{
    if (ucChannel >= Outputs || m_out[ucChannel].mute->isChecked() == mute)
        return;
    const QSignalBlocker blocker(m_out[ucChannel].mute);
    m_out[ucChannel].mute->setChecked(mute);
}

void QOverView::sendAllMute()
{
    if (m_link)
        m_link->sendFrame(Frame::System, Frame::Status, Protocol::Status::AllMute, Frame::Set, &m_allMute, 1);
}

void QOverView::allMuteClicked(bool isChecked)
{
    m_allMute = isChecked ? 1 : 0;
    sendAllMute();
}

void QOverView::muteAccess()
{
    m_allMute = m_allMute ? 0 : 1;
    {
        const QSignalBlocker blocker(m_allMuteButton);
        m_allMuteButton->setChecked(m_allMute != 0);
    }
    sendAllMute();
}

void QOverView::setAllMute(bool mute)
{
    if ((m_allMute != 0) == mute)
        return;
    m_allMute = mute ? 1 : 0;
    const QSignalBlocker blocker(m_allMuteButton);
    m_allMuteButton->setChecked(mute);
}

void QOverView::setGateState(uchar ucChannel, bool open)
{
    if (ucChannel >= Inputs || m_in[ucChannel].gateOpen == open)
        return;
    m_in[ucChannel].gateOpen = open;
    m_in[ucChannel].gateLamp->setStyleSheet(open ? LampOn : LampOff);
}

// Texts.

void QOverView::setModel(QString model)
{
    setInfoText(m_model, model);
}

void QOverView::setIPAddrState(uint ipaddr)
{
    setInfoText(m_ip, SystemText::ipv4(ipaddr));
}

void QOverView::setDspRes(float usage, float peak)
{
    setInfoText(m_dspLoad, QString::asprintf("%0.1f%c-%0.1f%c", double(usage), '%', double(peak), '%'));
}

void QOverView::setArmVer(QString ver)
{
    setInfoText(m_armVer, ver);
}

void QOverView::setDspVer(QString ver)
{
    setInfoText(m_dspVer, ver);
}

void QOverView::setLocation(QString location)
{
    setInfoText(m_location, location);
}

void QOverView::setDescription(QString description)
{
    setInfoText(m_description, description);
}
