#include "qsecurity.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "core/link/frame.h"
#include "core/link/link.h"
#include "core/protocol/protocol.h"
#include "qlock.h"
#include "ui/controls/keyboardaccess.h"

namespace {

namespace S = Protocol::Security;

constexpr int PollEvery = 10;

const Protocol::Module &lockTable()
{
    return *Protocol::module(Frame::System, Frame::Security);
}

const Protocol::Param &lockRow(quint8 param)
{
    return *lockTable().find(param);
}

int lockChannels(quint8 param)
{
    return Protocol::count(lockTable().channelsOf(lockRow(param)));
}

bool locksInputs(quint8 param)
{
    return lockTable().channelsOf(lockRow(param)) == Protocol::Channels::Inputs;
}

QString channelName(bool inputs, int channel)
{
    return inputs ? QString::asprintf("IN %c", 'A' + channel) : QString::asprintf("OUT %d", channel + 1);
}

} // namespace

QSecurity::QSecurity(Link *link, QWidget *parent)
    : ModulePage(link, Frame::Security, 0, DefaultTickMs, parent)
{
    setObjectName(QStringLiteral("Security"));
    auto row = [](quint8 param, const char *text) {
        return Row(param, text, lockChannels(param), locksInputs(param));
    };
    m_rows = {
        row(S::InLevel, QT_TR_NOOP("InLevel")),
        row(S::Gate, QT_TR_NOOP("Gate")),
        row(S::Feedback, QT_TR_NOOP("FeedBack")),
        row(S::DynamicEq, QT_TR_NOOP("InDEQ")),
        row(S::InLimiter, QT_TR_NOOP("InLimiter")),
        row(S::InDelay, QT_TR_NOOP("InDelay")),
        row(S::Matrix, QT_TR_NOOP("MixMtx")),
        row(S::Generator, QT_TR_NOOP("Signal")),
        row(S::OutLevel, QT_TR_NOOP("OutLevel")),
        row(S::Fir, QT_TR_NOOP("OutFIR")),
        row(S::OutLimiter, QT_TR_NOOP("OutLimiter")),
        row(S::OutDelay, QT_TR_NOOP("OutDelay")),
    };
    m_filters[0] = FilterTable(InFilterParam, QT_TR_NOOP("InFilter"), lockChannels(InFilterParam), true);
    m_filters[1] = FilterTable(OutFilterParam, QT_TR_NOOP("OutFilter"), lockChannels(OutFilterParam), false);
    for (Row &row : m_rows)
        row.states.fill(0, row.channels);
    for (FilterTable &table : m_filters)
        table.states.fill(QByteArray(FilterEntries, '\0'), table.channels);

    buildPage();
    retranslate();
    // The family is known only from the unit's version report.
    setFamilyRowsVisible(false);
    setLocked(true);

    // A new connection starts with the unit's security page closed.
    if (link) {
        connect(link, &Link::linkLost, this, [this] { setLocked(true); });
        // Answers owed by an earlier connection never come.
        connect(link, &Link::connected, this, [this] {
            m_pageSent = m_pageAnswered = 0;
            m_unlockAnswer = m_changeAnswer = 0;
        });
    }
}

QSecurity::~QSecurity() = default;

void QSecurity::buildPage()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);

    auto *bar = new QFrame(this);
    bar->setObjectName(QStringLiteral("panel"));
    auto *barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(8, 4, 8, 4);
    barLayout->setSpacing(8);
    m_legendTitle = new QLabel(bar);
    m_legendTitle->setObjectName(QStringLiteral("titleLabel"));
    barLayout->addWidget(m_legendTitle);
    for (uchar state = QLock::Free; state <= QLock::Hidden; ++state) {
        auto *swatch = new QLabel(bar);
        swatch->setFixedSize(18, 14);
        const QColor c = QLock::stateColor(state);
        swatch->setStyleSheet(QStringLiteral("background-color: rgb(%1, %2, %3); border-radius: 2px;")
                                  .arg(c.red())
                                  .arg(c.green())
                                  .arg(c.blue()));
        auto *name = new QLabel(bar);
        barLayout->addWidget(swatch);
        barLayout->addWidget(name);
        m_legendNames << name;
    }
    barLayout->addStretch(1);
    m_quit = new QPushButton(bar);
    m_quit->setObjectName(QStringLiteral("normalButton"));
    m_quit->setMinimumSize(80, 25);
    connect(m_quit, &QPushButton::clicked, this, &QSecurity::quitClicked);
    barLayout->addWidget(m_quit);
    layout->addWidget(bar);

    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    // Not a stop of its own: Tab walks the lock cells, and the area scrolls
    // the focused cell into view.
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_scroll->setWidgetResizable(true);
    m_grid = new QWidget;
    auto *gridLayout = new QVBoxLayout(m_grid);
    gridLayout->setContentsMargins(0, 0, 0, 0);
    gridLayout->setSpacing(6);
    auto *channelRows = new QHBoxLayout;
    channelRows->setSpacing(6);
    channelRows->addWidget(buildRows(true), 4);
    channelRows->addWidget(buildRows(false), 8);
    gridLayout->addLayout(channelRows);
    for (FilterTable &table : m_filters)
        gridLayout->addWidget(buildFilterTable(table));
    gridLayout->addStretch(1);
    m_scroll->setWidget(m_grid);
    layout->addWidget(m_scroll, 1);

    // The password overlay floats over the grid while the page is locked.
    m_overlay = new QFrame(this);
    m_overlay->setObjectName(QStringLiteral("panel"));
    m_overlay->setAutoFillBackground(true);
    auto *overlayLayout = new QHBoxLayout(m_overlay);
    overlayLayout->setContentsMargins(16, 12, 16, 12);
    m_passwordLabel = new QLabel(m_overlay);
    m_password = new QLineEdit(m_overlay);
    m_password->setMaxLength(MaxPasswordLength);
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setMinimumWidth(120);
    overlayLayout->addWidget(m_passwordLabel);
    overlayLayout->addWidget(m_password);
    m_refused = new QLabel(m_overlay);
    m_refused->setObjectName(QStringLiteral("refusedLabel"));
    m_refused->setStyleSheet(QStringLiteral("color: rgb(230, 80, 70);"));
    m_refused->hide();
    overlayLayout->addWidget(m_refused);
    connect(m_password, &QLineEdit::editingFinished, this, &QSecurity::passwordEditingFinished);
}

QWidget *QSecurity::buildRows(bool inputs)
{
    auto *panel = new QFrame;
    panel->setObjectName(QStringLiteral("panel"));
    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(3);
    const int channels = inputs ? 4 : 8;
    for (int channel = 0; channel < channels; ++channel) {
        auto *title = new QLabel(channelName(inputs, channel), panel);
        title->setAlignment(Qt::AlignCenter);
        grid->addWidget(title, 0, channel + 1);
    }
    int line = 1;
    for (Row &row : m_rows) {
        if (row.inputs != inputs)
            continue;
        row.title = new QLabel(panel);
        row.title->setObjectName(QStringLiteral("titleLabel"));
        grid->addWidget(row.title, line, 0);
        for (int channel = 0; channel < row.channels; ++channel) {
            auto *cell = new QLock(channelName(inputs, channel), panel);
            const quint8 param = row.param;
            connect(cell, &QLock::clicked, this, [this, param, channel] { rowCellClicked(param, channel); });
            grid->addWidget(cell, line, channel + 1);
            row.cells << cell;
        }
        ++line;
    }
    for (int c = 1; c <= channels; ++c)
        grid->setColumnStretch(c, 1);
    grid->setRowStretch(line, 1);
    return panel;
}

QWidget *QSecurity::buildFilterTable(FilterTable &table)
{
    auto *panel = new QFrame;
    panel->setObjectName(QStringLiteral("panel"));
    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(3);
    table.title = new QLabel(panel);
    table.title->setObjectName(QStringLiteral("titleLabel"));
    // Above the channel names, so that their column stays narrow: the 19
    // entries need the width.
    grid->addWidget(table.title, 0, 0, 1, 4);
    table.bandsTitle = new QLabel(panel);
    table.bandsTitle->setAlignment(Qt::AlignCenter);
    grid->addWidget(table.bandsTitle, 0, 4, 1, FilterBands);
    for (int entry = 0; entry < FilterEntries; ++entry) {
        auto *title = new QLabel(panel);
        title->setAlignment(Qt::AlignCenter);
        if (entry >= S::FilterFirstBandEntry)
            title->setText(QString::number(entry - S::FilterFirstBandEntry + 1));
        grid->addWidget(title, 1, entry + 1);
        table.entryTitles << title;
    }
    for (int channel = 0; channel < table.channels; ++channel) {
        auto *name = new QLabel(channelName(table.inputs, channel), panel);
        grid->addWidget(name, channel + 2, 0);
        QVector<QLock *> cells;
        for (int entry = 0; entry < FilterEntries; ++entry) {
            auto *cell = new QLock(channelName(table.inputs, channel), panel);
            const quint8 param = table.param;
            connect(cell, &QLock::clicked, this,
                    [this, param, channel, entry] { filterCellClicked(param, channel, entry); });
            grid->addWidget(cell, channel + 2, entry + 1);
            cells << cell;
        }
        table.cells << cells;
    }
    for (int c = 1; c <= FilterEntries; ++c)
        grid->setColumnStretch(c, 1);
    return panel;
}

void QSecurity::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    ModulePage::changeEvent(event);
}

void QSecurity::retranslate()
{
    m_legendTitle->setText(tr("Legend"));
    for (int state = 0; state < m_legendNames.size(); ++state)
        m_legendNames.at(state)->setText(QLock::stateName(uchar(state)));
    m_quit->setText(tr("Quit"));
    m_passwordLabel->setText(tr("Password :"));
    m_refused->setText(tr("Wrong lock password"));
    KeyboardAccess::describe(m_password, tr("Lock password"));
    for (Row &row : m_rows) {
        row.title->setText(tr(row.text));
        for (int channel = 0; channel < row.cells.size(); ++channel)
            row.cells.at(channel)->setCaption(row.title->text() + QLatin1Char(' ') + channelName(row.inputs, channel));
    }
    for (FilterTable &table : m_filters) {
        table.title->setText(tr(table.text));
        table.bandsTitle->setText(tr("Parametric EQ"));
        table.entryTitles.at(S::FilterGraphEntry)->setText(tr("Graph"));
        table.entryTitles.at(S::FilterHighPassEntry)->setText(tr("HPF"));
        table.entryTitles.at(S::FilterLowPassEntry)->setText(tr("LPF"));
        table.entryTitles.at(S::FilterHighPassEntry)->setToolTip(tr("High-pass filter"));
        table.entryTitles.at(S::FilterLowPassEntry)->setToolTip(tr("Low-pass filter"));
        for (int channel = 0; channel < table.cells.size(); ++channel) {
            for (int entry = 0; entry < FilterEntries; ++entry) {
                const QString what = entry < S::FilterFirstBandEntry
                    ? table.entryTitles.at(entry)->text()
                    : table.bandsTitle->text() + QLatin1Char(' ')
                        + QString::number(entry - S::FilterFirstBandEntry + 1);
                table.cells.at(channel).at(entry)->setCaption(table.title->text() + QLatin1Char(' ')
                                                              + channelName(table.inputs, channel) + QLatin1Char(' ')
                                                              + what);
            }
        }
    }
    placeOverlay();
}

void QSecurity::resizeEvent(QResizeEvent *event)
{
    ModulePage::resizeEvent(event);
    placeOverlay();
}

void QSecurity::placeOverlay()
{
    if (!m_overlay)
        return;
    m_overlay->adjustSize();
    const QSize size = m_overlay->sizeHint();
    m_overlay->setGeometry((width() - size.width()) / 2, (height() - size.height()) / 3, size.width(),
                           size.height());
}

void QSecurity::setLocked(bool locked)
{
    m_locked = locked;
    m_grid->setEnabled(!locked);
    m_quit->setEnabled(!locked);
    m_overlay->setVisible(locked);
    if (locked) {
        placeOverlay();
        m_overlay->raise();
    } else {
        m_password->clear();
        m_refused->hide();
    }
}

void QSecurity::setFamilyRowsVisible(bool visible)
{
    for (Row &row : m_rows) {
        // Rows of pages the other family lacks.
        if (lockRow(row.param).in(Protocol::Family::Hz48k))
            continue;
        row.title->setVisible(visible);
        for (QLock *cell : qAsConst(row.cells))
            cell->setVisible(visible);
    }
}

bool QSecurity::isRowShown(quint8 param) const
{
    const Row *row = findRow(param);
    return row && !row->title->isHidden();
}

QSecurity::Row *QSecurity::findRow(quint8 param)
{
    for (Row &row : m_rows) {
        if (row.param == param)
            return &row;
    }
    return nullptr;
}

const QSecurity::Row *QSecurity::findRow(quint8 param) const
{
    return const_cast<QSecurity *>(this)->findRow(param);
}

QSecurity::FilterTable *QSecurity::findFilter(quint8 param)
{
    for (FilterTable &table : m_filters) {
        if (table.param == param)
            return &table;
    }
    return nullptr;
}

const QSecurity::FilterTable *QSecurity::findFilter(quint8 param) const
{
    return const_cast<QSecurity *>(this)->findFilter(param);
}

uchar QSecurity::lockState(quint8 param, int channel) const
{
    const Row *row = findRow(param);
    return row && channel >= 0 && channel < row->channels ? row->states.at(channel) : 0;
}

uchar QSecurity::filterLockState(quint8 param, int channel, int entry) const
{
    const FilterTable *table = findFilter(param);
    if (!table || channel < 0 || channel >= table->channels || entry < 0 || entry >= FilterEntries)
        return 0;
    return uchar(table->states.at(channel).at(entry));
}

QLock *QSecurity::cell(quint8 param, int channel) const
{
    const Row *row = findRow(param);
    return row && channel >= 0 && channel < row->cells.size() ? row->cells.at(channel) : nullptr;
}

QLock *QSecurity::filterCell(quint8 param, int channel, int entry) const
{
    const FilterTable *table = findFilter(param);
    if (!table || channel < 0 || channel >= table->cells.size() || entry < 0 || entry >= FilterEntries)
        return nullptr;
    return table->cells.at(channel).at(entry);
}

bool QSecurity::sendSystem(quint8 param, quint8 op, const void *payload, quint16 length)
{
    Link *l = link();
    return l && l->sendFrame(Frame::System, Frame::Security, param, op, payload, length);
}

void QSecurity::passwordEditingFinished()
{
    const QString text = m_password->text();
    if (text.isEmpty())
        return;
    // Characters outside Latin-1 go out as Latin-1's replacement.
    const QByteArray bytes = text.toLatin1();
    m_password->clear();
    m_refused->hide();
    if (sendPageParam(bytes.constData(), quint16(bytes.size())))
        m_unlockAnswer = m_pageSent;
}

void QSecurity::quitClicked()
{
    sendPageParam(S::QuitCode, sizeof S::QuitCode);
}

void QSecurity::changeLockPassword(const QByteArray &current, const QByteArray &next)
{
    // An open page stays open after a wrong password, so its answer would
    // prove nothing: it is closed first.
    if (!m_locked)
        sendPageParam(S::QuitCode, sizeof S::QuitCode);
    if (sendPageParam(current.constData(), quint16(current.size())))
        m_changeAnswer = m_pageSent;
    sendSystem(NewPasswordParam, Frame::Set, next.constData(), quint16(next.size()));
}

bool QSecurity::sendPageParam(const void *payload, quint16 length, quint8 op)
{
    if (!sendSystem(PageLockParam, op, payload, length))
        return false;
    ++m_pageSent;
    return true;
}

void QSecurity::pageReport(bool locked)
{
    // A report nobody asked for is not counted as an answer.
    if (m_pageAnswered < m_pageSent)
        ++m_pageAnswered;
    if (m_unlockAnswer > 0 && m_pageAnswered >= m_unlockAnswer) {
        m_unlockAnswer = 0;
        m_refused->setVisible(locked);
        if (locked)
            placeOverlay();
    }
    if (m_changeAnswer > 0 && m_pageAnswered >= m_changeAnswer) {
        m_changeAnswer = 0;
        Q_EMIT lockPasswordChanged(!locked);
    }
}

void QSecurity::rowCellClicked(quint8 param, int channel)
{
    const Row *row = findRow(param);
    if (m_locked || !row || channel >= row->channels)
        return;
    const uchar payload[2] = {uchar(channel), QLock::nextState(row->states.at(channel))};
    sendSystem(param, Frame::Set, payload, sizeof payload);
}

void QSecurity::filterCellClicked(quint8 param, int channel, int entry)
{
    const FilterTable *table = findFilter(param);
    if (m_locked || !table || channel >= table->channels || entry >= FilterEntries)
        return;
    uchar payload[1 + FilterEntries];
    payload[0] = uchar(channel);
    const QByteArray &record = table->states.at(channel);
    for (int i = 0; i < FilterEntries; ++i)
        payload[1 + i] = uchar(record.at(i));
    payload[1 + entry] = QLock::nextState(payload[1 + entry]);
    sendSystem(param, Frame::Set, payload, sizeof payload);
}

void QSecurity::poll(quint32 tick)
{
    if (tick % PollEvery != 0)
        return;
    Link *l = link();
    if (!l)
        return;
    auto query = [l](quint8 param) { l->sendQuery(Frame::System, Frame::Security, param); };
    auto queryChannels = [l](quint8 param, int channels) {
        for (int channel = 0; channel < channels; ++channel) {
            const uchar ch = uchar(channel);
            l->sendFrame(Frame::System, Frame::Security, param, Frame::Query, &ch, 1);
        }
    };
    sendPageParam(nullptr, 0, Frame::Query);
    query(S::InLevel);
    query(S::Gate);
    query(S::Feedback);
    queryChannels(InFilterParam, lockChannels(InFilterParam));
    query(S::DynamicEq);
    query(S::InLimiter);
    query(S::InDelay);
    query(S::Matrix);
    query(S::Generator);
    query(S::OutLevel);
    queryChannels(OutFilterParam, lockChannels(OutFilterParam));
    query(S::Fir);
    query(S::OutLimiter);
    query(S::OutDelay);
}

void QSecurity::onMessage(quint8 param, quint8 op, quint16 length, const uchar *payload)
{
    if (!isReport(op) || !payload)
        return;
    if (param == PageLockParam) {
        if (!lockRow(PageLockParam).report.length.fits(length))
            return;
        const bool locked = payload[0] != 0;
        if (locked != m_locked)
            setLocked(locked);
        pageReport(locked);
        return;
    }
    if (FilterTable *table = findFilter(param)) {
        if (lockRow(param).report.length.fits(length) && payload[0] < table->channels)
            applyFilterReport(*table, payload);
        return;
    }
    if (Row *row = findRow(param)) {
        if (lockRow(param).reportLength(row->channels).fits(length))
            applyRowReport(*row, payload);
    }
}

void QSecurity::applyRowReport(Row &row, const uchar *states)
{
    for (int channel = 0; channel < row.channels; ++channel) {
        if (row.states.at(channel) == states[channel])
            continue;
        row.states[channel] = states[channel];
        row.cells.at(channel)->setState(states[channel]);
        emitRowLock(row.param, uchar(channel), states[channel]);
    }
}

void QSecurity::applyFilterReport(FilterTable &table, const uchar *record)
{
    const uchar channel = record[0];
    QByteArray &kept = table.states[channel];
    for (int entry = 0; entry < FilterEntries; ++entry) {
        const uchar state = record[1 + entry];
        if (uchar(kept.at(entry)) == state)
            continue;
        kept[entry] = char(state);
        table.cells.at(channel).at(entry)->setState(state);
        emitFilterLock(table.param, channel, entry);
    }
}

void QSecurity::emitRowLock(quint8 param, uchar channel, uchar state)
{
    switch (param) {
    case S::InLevel: Q_EMIT inlevelLockChanged(channel, state); break;
    case S::Gate: Q_EMIT gateLockChanged(channel, state); break;
    case S::Feedback: Q_EMIT feedbackLockChanged(channel, state); break;
    case S::InLimiter: Q_EMIT inlimiterLockChanged(channel, state); break;
    case S::InDelay: Q_EMIT indelayLockChanged(channel, state); break;
    case S::Matrix: Q_EMIT mtxmixLockChanged(channel, state); break;
    case S::Generator: Q_EMIT signalLockChanged(channel, state); break;
    case S::OutLevel: Q_EMIT outlevelLockChanged(channel, state); break;
    case S::OutLimiter: Q_EMIT outlimiterLockChanged(channel, state); break;
    case S::OutDelay: Q_EMIT outdelayLockChanged(channel, state); break;
    case S::DynamicEq: Q_EMIT inDEQLockChanged(channel, state); break;
    case S::Fir: Q_EMIT outFIRLockChanged(channel, state); break;
    default: break;
    }
}

void QSecurity::emitFilterLock(quint8 param, uchar channel, int entry)
{
    const bool input = param == InFilterParam;
    switch (entry) {
    case S::FilterGraphEntry:
        if (input)
            Q_EMIT inFilterGraphLockChanged(channel);
        else
            Q_EMIT outFilterGraphLockChanged(channel);
        break;
    case S::FilterHighPassEntry:
        if (input)
            Q_EMIT inHPFilterLockChanged(channel);
        else
            Q_EMIT outHPFilterLockChanged(channel);
        break;
    case S::FilterLowPassEntry:
        if (input)
            Q_EMIT inLPFilterLockChanged(channel);
        else
            Q_EMIT outLPFilterLockChanged(channel);
        break;
    default:
        if (input)
            Q_EMIT inFilterBandLockChanged(channel, uchar(entry - S::FilterFirstBandEntry));
        else
            Q_EMIT outFilterBandLockChanged(channel, uchar(entry - S::FilterFirstBandEntry));
        break;
    }
}
