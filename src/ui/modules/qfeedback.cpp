#include "qfeedback.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/link/frame.h"
#include "core/link/link.h"
#include "core/protocol/protocol.h"
#include "ui/controls/keyboardaccess.h"

namespace {

namespace F = Protocol::Feedback;
constexpr quint8 LockParam = Protocol::Security::lockParam(Frame::Feedback);

QString inputTitle(int input)
{
    return QStringLiteral("IN %1").arg(QChar(QLatin1Char('A').unicode() + input));
}

} // namespace

QFeedback::QFeedback(Link *link, QWidget *parent)
    : ModulePage(link, Frame::Feedback, InputCount, DefaultTickMs, parent)
{
    setObjectName(QStringLiteral("feedbackWidget"));
    setStyleSheet(
        QStringLiteral("QWidget#feedbackCtrlBgWidget { background-color: rgb(40, 40, 41); border-radius: 4px; }"));
    QFont font = this->font();
    font.setPointSize(10);

    auto *row = new QHBoxLayout;
    row->setSpacing(8);
    row->addStretch(1);
    for (int input = 0; input < InputCount; ++input) {
        auto *strip = new QWidget(this);
        strip->setObjectName(QStringLiteral("feedbackCtrlBgWidget"));
        strip->setFont(font);
        strip->setMinimumWidth(150);
        auto *column = new QVBoxLayout(strip);
        column->setContentsMargins(10, 8, 10, 12);
        column->setSpacing(10);
        auto *title = new QLabel(inputTitle(input), strip);
        title->setObjectName(QStringLiteral("titleLabel"));
        title->setAlignment(Qt::AlignCenter);
        auto *button = new QPushButton(strip);
        button->setObjectName(QStringLiteral("normalButton"));
        button->setCheckable(true);
        button->setMinimumSize(70, 30);
        button->setFixedHeight(30);
        connect(button, &QPushButton::clicked, this, &QFeedback::enableClicked);
        for (QWidget *w : std::initializer_list<QWidget *>{title, button}) {
            QSizePolicy policy = w->sizePolicy();
            policy.setRetainSizeWhenHidden(true);
            w->setSizePolicy(policy);
        }
        column->addWidget(title);
        column->addWidget(button, 0, Qt::AlignHCenter);
        row->addWidget(strip);
        m_strips[size_t(input)] = strip;
        m_titles[size_t(input)] = title;
        m_buttons[size_t(input)] = button;
    }
    row->addStretch(1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(row);
    layout->addStretch(1);
    retranslate();
}

QFeedback::~QFeedback() = default;

void QFeedback::retranslate()
{
    for (int input = 0; input < InputCount; ++input) {
        QPushButton *button = m_buttons[size_t(input)];
        button->setText(tr("Enable"));
        KeyboardAccess::describe(button, tr("%1 feedback suppressor enable").arg(inputTitle(input)));
    }
}

void QFeedback::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    ModulePage::changeEvent(event);
}

void QFeedback::setInLabel(uchar channel, const QString &label)
{
    if (channel < InputCount)
        m_titles[channel]->setText(label.isEmpty() ? inputTitle(channel) : label);
}

void QFeedback::enableClicked(bool checked)
{
    for (int input = 0; input < InputCount; ++input) {
        if (sender() != m_buttons[size_t(input)])
            continue;
        m_enable[size_t(input)] = checked;
        const quint8 value = checked ? 1 : 0;
        sendSet(F::Enable, quint8(input), &value, 1);
        return;
    }
}

void QFeedback::setEnable(int input, bool enable)
{
    m_enable[size_t(input)] = enable;
    setCheckedQuietly(m_buttons[size_t(input)], enable);
}

void QFeedback::setSuppressorOn(int input, bool on)
{
    if (input >= 0 && input < InputCount)
        setEnable(input, on);
}

void QFeedback::poll(quint32 tick)
{
    if (tick % 10 != 0)
        return;
    if (Link *l = link())
        l->sendQuery(Frame::System, Frame::Security, LockParam);
    for (int input = 0; input < InputCount; ++input)
        queryChannel(F::Enable, quint8(input));
}

void QFeedback::onMessage(quint8 param, quint8 op, quint16 length, const uchar *payload)
{
    if (!isReport(op) || param != F::Enable || length != Protocol::ReportSize<F::params, F::Enable> || !payload
        || payload[0] >= InputCount)
        return;
    setEnable(payload[0], payload[1] != 0);
}

void QFeedback::applySecurityState(uchar channel, uchar state)
{
    if (channel >= InputCount)
        return;
    applyLock(m_buttons[channel], state);
    // Hidden takes the title away too; read-only keeps it readable.
    m_titles[channel]->setVisible(state <= 1);
}
