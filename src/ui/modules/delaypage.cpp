#include "delaypage.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <cmath>

#include "core/link/frame.h"
#include "core/link/link.h"
#include "core/protocol/protocol.h"
#include "ui/controls/keyboardaccess.h"
#include "ui/controls/qhslider.h"
#include "ui/controls/valuefield.h"

namespace {

namespace D = Protocol::Delay;
constexpr int ReportSize = Protocol::ReportSize<D::params, D::Milliseconds>;
constexpr int TitleWidth = 140;
constexpr int SliderWidth = 280;
constexpr int SliderHeight = 40;
constexpr int FieldWidth = 70;

// 70 pixels hold the longest distance ("2230.944" feet) in Arial; a wider
// font gets wider fields rather than cut-off digits.
int fieldWidthFor(const QFont &font)
{
    return qMax(FieldWidth, QFontMetrics(font).horizontalAdvance(QStringLiteral("0000.000")) + 20);
}
constexpr int RowSpacing = 8;
constexpr int RowMargin = 8;

} // namespace

DelayPage::DelayPage(Link *link, quint8 moduleId, int channelCount, quint8 lockParam, int maxMs,
                     const QString &contentName, const QString &rowName, QWidget *parent)
    : ModulePage(link, moduleId, channelCount, DefaultTickMs, parent)
    , m_rows(channelCount)
    , m_fullMaxMs(maxMs)
    , m_lockParam(lockParam)
{
    setStyleSheet(QStringLiteral("QWidget#%1 { background-color: rgb(40, 40, 41); border-radius: 4px; }").arg(rowName));
    QFont font = this->font();
    font.setPointSize(10);
    auto *content = new QWidget(this);
    content->setObjectName(contentName);
    content->setFont(font);
    auto *column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);

    m_fieldWidth = fieldWidthFor(font);
    // Each heading is centred over its column of the rows below.
    auto *headings = new QHBoxLayout;
    headings->setContentsMargins(0, 0, 0, 0);
    headings->setSpacing(0);
    headings->addSpacing(RowMargin + TitleWidth + RowSpacing + SliderWidth + RowSpacing - RowSpacing / 2);
    // Plain and a point smaller, so "Millisecond" stays within its column.
    m_msHeading = new QLabel(content);
    m_metresHeading = new QLabel(content);
    m_feetHeading = new QLabel(content);
    QFont headingFont = font;
    headingFont.setPointSize(9);
    for (QLabel *heading : {m_msHeading, m_metresHeading, m_feetHeading}) {
        heading->setFont(headingFont);
        heading->setFixedWidth(m_fieldWidth + RowSpacing);
        heading->setAlignment(Qt::AlignCenter);
        headings->addWidget(heading);
    }
    headings->addSpacing(RowMargin - RowSpacing / 2);
    column->addLayout(headings);

    for (int channel = 0; channel < channelCount; ++channel) {
        buildRow(channel, maxMs, rowName, content);
        column->addWidget(m_rows[channel].background);
    }

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addStretch(1);
    layout->addWidget(content, 0, Qt::AlignTop);
    layout->addStretch(1);
    retranslate();
}

DelayPage::~DelayPage() = default;

void DelayPage::buildRow(int channel, int maxMs, const QString &rowName, QWidget *content)
{
    Row &row = m_rows[channel];
    row.maxMs = maxMs;
    row.background = new QWidget(content);
    row.background->setObjectName(rowName);
    QSizePolicy policy = row.background->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    row.background->setSizePolicy(policy);
    auto *layout = new QHBoxLayout(row.background);
    layout->setContentsMargins(RowMargin, 0, RowMargin, 0);
    layout->setSpacing(RowSpacing);

    row.title = new QLabel(row.background);
    row.title->setObjectName(QStringLiteral("titleLabel"));
    row.title->setFixedWidth(TitleWidth);

    row.slider = new QHSlider(row.background);
    row.slider->setFixedSize(SliderWidth, SliderHeight);
    row.slider->setRange(0, maxMs);
    row.slider->setValue(0.0f);
    row.slider->setDecimals(2);
    row.slider->setStep(0.01f);
    connect(row.slider, &QHSlider::valueChanged, this, &DelayPage::delaySliderChanged);

    row.spin = new ValueSpinBox(row.background);
    row.spin->setFixedWidth(m_fieldWidth);
    row.spin->setDecimals(2);
    row.spin->setValueRange(0.0, maxMs, QStringLiteral("ms"));
    row.spin->setSingleStep(0.01);
    row.spin->setValue(0.0);
    row.spin->setAlignment(Qt::AlignCenter);
    row.spin->setButtonSymbols(QAbstractSpinBox::NoButtons);
    // Typed values go out when finished, not digit by digit: "1500" typed
    // slowly must not put 1, 15 and 150 ms on a live system first.
    row.spin->setKeyboardTracking(false);
    connect(row.spin, qOverload<double>(&QDoubleSpinBox::valueChanged), this, &DelayPage::msChanged);

    row.metres = new QLineEdit(row.background);
    row.feet = new QLineEdit(row.background);
    for (QLineEdit *field : {row.metres, row.feet}) {
        field->setFixedWidth(m_fieldWidth);
        field->setReadOnly(true);
        // Shown, never typed into: styled as a label (no frame, no field
        // background) so nobody tries to enter a distance.
        field->setObjectName(QStringLiteral("displayField"));
        field->setFrame(false);
        // Read-only, but reachable with Tab so that a screen reader can read
        // the distance out; a click still leaves the focus where it was.
        field->setFocusPolicy(Qt::TabFocus);
        field->setAlignment(Qt::AlignCenter);
        field->setText(QStringLiteral("0.000"));
    }

    layout->addWidget(row.title);
    layout->addWidget(row.slider);
    layout->addWidget(row.spin);
    layout->addWidget(row.metres);
    layout->addWidget(row.feet);
}

void DelayPage::retranslate()
{
    m_msHeading->setText(tr("Millisecond"));
    m_metresHeading->setText(tr("Meters"));
    m_feetHeading->setText(tr("Feet"));
    // While the base is being built the rows have no title yet and
    // defaultTitle() cannot be called; setTitle() names them then.
    for (int channel = 0; channel < m_rows.size(); ++channel) {
        if (!m_rows.at(channel).title->text().isEmpty())
            describeRow(channel);
    }
}

void DelayPage::describeRow(int channel)
{
    const Row &row = m_rows.at(channel);
    // The fixed channel title, not the operator's label, which may repeat.
    const QString title = defaultTitle(channel);
    KeyboardAccess::describe(row.slider, tr("%1 delay slider").arg(title), tr("Delay in milliseconds"));
    KeyboardAccess::describe(row.spin, tr("%1 delay in ms").arg(title), tr("Delay in milliseconds"));
    KeyboardAccess::describe(row.metres, tr("%1 delay distance in meters").arg(title));
    KeyboardAccess::describe(row.feet, tr("%1 delay distance in feet").arg(title));
}

void DelayPage::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    ModulePage::changeEvent(event);
}

void DelayPage::setTitle(int channel, const QString &label)
{
    if (channel < 0 || channel >= m_rows.size())
        return;
    m_rows[channel].title->setText(label.isEmpty() ? defaultTitle(channel) : label);
    describeRow(channel);
}

int DelayPage::rowOf(const QObject *control) const
{
    for (int channel = 0; channel < m_rows.size(); ++channel) {
        if (control == m_rows[channel].slider || control == m_rows[channel].spin)
            return channel;
    }
    return -1;
}

void DelayPage::delaySliderChanged(float ms)
{
    const int channel = rowOf(sender());
    if (channel >= 0)
        operatorChange(channel, double(ms));
}

void DelayPage::msChanged(double ms)
{
    const int channel = rowOf(sender());
    if (channel >= 0)
        operatorChange(channel, ms);
}

void DelayPage::operatorChange(int channel, double ms)
{
    if (!std::isfinite(ms))
        return;
    Row &row = m_rows[channel];
    row.record.ms = float(qBound(0.0, acceptedValue(ms), double(row.maxMs)));
    // Always rewritten: a snapped value must replace what was typed even
    // when the stored delay does not change.
    showControls(channel);
    row.pending.arm();
    m_busy.hold();
}

void DelayPage::showControls(int channel)
{
    Row &row = m_rows[channel];
    const float ms = row.record.ms;
    row.slider->setValue(qMin(ms, float(row.maxMs)));
    // The spin box pulls a stored value beyond the row's range in itself.
    {
        const QSignalBlocker blocker(row.spin);
        row.spin->setValue(double(ms));
    }
    const QString metres = DelayRecord::metresText(double(ms));
    const QString feet = DelayRecord::feetText(double(ms));
    if (row.metres->text() != metres)
        row.metres->setText(metres);
    if (row.feet->text() != feet)
        row.feet->setText(feet);
}

void DelayPage::setRowRange(int channel, int maxMs, double step)
{
    Row &row = m_rows[channel];
    row.maxMs = maxMs;
    const QSignalBlocker blocker(row.spin);
    row.spin->setValueRange(0.0, maxMs, QStringLiteral("ms"));
    row.spin->setSingleStep(step);
    // The slider works in hundredths and pulls its value into the range.
    row.slider->setRange(0, maxMs);
    row.slider->setStep(float(step));
    // Leaving the reduced range shows the stored delay again in full.
    showControls(channel);
}

void DelayPage::sendDelay(int channel)
{
    uchar bytes[DelayRecord::WireSize];
    m_rows[channel].record.encode(bytes);
    sendSet(D::Milliseconds, quint8(channel), bytes, DelayRecord::WireSize);
}

void DelayPage::advance()
{
    for (int channel = 0; channel < m_rows.size(); ++channel) {
        if (m_rows[channel].pending.tick())
            sendDelay(channel);
    }
    m_busy.tick();
}

void DelayPage::poll(quint32 tick)
{
    if (tick % 10 != 0)
        return;
    if (Link *l = link())
        l->sendQuery(Frame::System, Frame::Security, m_lockParam);
    for (int channel = 0; channel < m_rows.size(); ++channel)
        queryChannel(D::Milliseconds, quint8(channel));
}

void DelayPage::onMessage(quint8 param, quint8 op, quint16 length, const uchar *payload)
{
    if (!isReport(op) || param != D::Milliseconds || length != ReportSize || !payload
        || payload[0] >= m_rows.size() || m_busy.isActive())
        return;
    const int channel = payload[0];
    DelayRecord record;
    if (!record.decode(payload + 1))
        return;
    Row &row = m_rows[channel];
    // The reduced range limits what the controls show, not what the unit
    // holds: a 500 ms delay reported while 148 ms is the row's limit stays
    // 500 ms here (the controls show 148).
    record.ms = qBound(0.0f, record.ms, float(m_fullMaxMs));
    if (record == row.record)
        return;
    row.record = record;
    showControls(channel);
}

void DelayPage::setDelay(int channel, float ms)
{
    if (channel < 0 || channel >= m_rows.size() || std::isnan(ms))
        return;
    Row &row = m_rows[channel];
    DelayRecord record;
    record.ms = qBound(0.0f, ms, float(m_fullMaxMs));
    if (record == row.record)
        return;
    row.record = record;
    showControls(channel);
}

void DelayPage::applySecurityState(uchar channel, uchar state)
{
    if (channel < m_rows.size())
        applyLock(m_rows[channel].background, state);
}
