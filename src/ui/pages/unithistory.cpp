#include "unithistory.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTcpSocket>
#include <QUndoGroup>
#include <QUndoStack>

#include "core/firmware/progresssteps.h"
#include "core/link/link.h"
#include "core/protocol/protocol.h"
#include "core/state/parametercatalog.h"
#include "core/state/pathframes.h"
#include "core/state/statediff.h"
#include "funcwidget.h"
#include "pagestate.h"
#include "ui/common/prompt.h"

namespace {

// Enough lines of a difference for a question box; the rest is counted.
constexpr int ShownLines = 24;

QString someLines(const QVector<StateChange> &changes)
{
    QStringList lines;
    for (int i = 0; i < changes.size() && i < ShownLines; ++i) {
        const StateChange &c = changes.at(i);
        lines << EditStep::parameterName(c.path) + QStringLiteral(": ") + EditStep::valueText(c.path, c.beforeText)
                     + QStringLiteral(" -> ") + EditStep::valueText(c.path, c.afterText);
    }
    if (changes.size() > ShownLines)
        lines << QCoreApplication::translate("UnitHistory", "... and %1 more").arg(changes.size() - ShownLines);
    return lines.join(QLatin1Char('\n'));
}

bool tracked(const QString &path)
{
    return !path.contains(QLatin1String(".lock")) && path != QLatin1String("unit.family");
}

// What a preset file carries: the DSP settings, not labels or the unit's
// own texts.
bool inPresetFile(const QString &path)
{
    return !path.startsWith(QLatin1String("unit.")) && !path.endsWith(QLatin1String(".label"));
}

QVector<PathValue> afterValues(const QVector<StateChange> &changes)
{
    QVector<PathValue> values;
    for (const StateChange &c : changes)
        values.append(PathValue{c.path, c.after});
    return values;
}

} // namespace

// One step on a unit's undo stack. Pushed after the edit reached the unit,
// so the first redo() (which QUndoStack calls on push) does nothing.
class EditCommand final : public QUndoCommand
{
public:
    static constexpr int Id = 0x4f58;

    EditCommand(UnitHistory *history, const EditStep &step, quint64 gesture, const QString &fixedText)
        : m_history(history), m_step(step), m_gesture(gesture), m_fixedText(fixedText)
    {
        updateText();
    }

    int id() const override { return m_fixedText.isEmpty() ? Id : -1; }

    bool mergeWith(const QUndoCommand *other) override
    {
        if (other->id() != Id)
            return false;
        const auto *next = static_cast<const EditCommand *>(other);
        if (next->m_gesture != m_gesture || !m_step.continuedBy(next->m_step, UnitHistory::GestureWindowMs))
            return false;
        m_step.absorb(next->m_step);
        updateText();
        return true;
    }

    void redo() override
    {
        if (m_pushed) {
            m_pushed = false;
            return;
        }
        m_history->applyStep(m_step, false);
    }

    void undo() override { m_history->applyStep(m_step, true); }

    const EditStep &step() const { return m_step; }

private:
    void updateText()
    {
        // Before the newline: the history's line; after it: the menu's.
        const QString time = m_step.time.toLocalTime().toString(QStringLiteral("HH:mm:ss"));
        if (m_fixedText.isEmpty())
            setText(m_step.historyLine() + QLatin1Char('\n') + m_step.summary());
        else
            setText(time + QStringLiteral("  ") + m_fixedText + QLatin1Char('\n') + m_fixedText);
    }

    UnitHistory *m_history;
    EditStep m_step;
    quint64 m_gesture;
    QString m_fixedText;
    bool m_pushed = true;
};

UnitHistory::UnitHistory(FuncWidget *pages, Link *link, Prompt *prompt, QObject *parent)
    : QObject(parent), m_pages(pages), m_link(link), m_prompt(prompt), m_group(new QUndoGroup(this)),
      m_shown(PageState::capture(*pages))
{
    m_group->setActiveStack(stackFor(0));
    m_unitKnown = true;
    m_quiet.setSingleShot(true);
    m_readTimer.setSingleShot(true);
    connect(&m_quiet, &QTimer::timeout, this, &UnitHistory::quietTimeout);
    connect(&m_readTimer, &QTimer::timeout, this, &UnitHistory::readingDone);
    connect(m_link, &Link::setOffered, this, &UnitHistory::setOffered);
    connect(m_link, &Link::moduleMessage, this, [this](quint8 module, quint8 param, quint8 op) {
        if (op == Frame::Report)
            reportReceived(Frame::Module, module, param);
    });
    connect(m_link, &Link::systemMessage, this, [this](quint8 module, quint8 param, quint8 op) {
        if (op == Frame::Report && (module == Frame::Status || module == Frame::Labels))
            reportReceived(Frame::System, module, param);
    });
    connect(m_link, &Link::linkUpChanged, this, &UnitHistory::noteUnit);
    connect(m_link, &Link::loggedInChanged, this, [this](bool in) {
        noteUnit();
        if (in && m_prepared)
            startReading(Reading::OnConnect);
    });
    connect(m_pages, &FuncWidget::offlineImported, this, [this] {
        m_shown = PageState::capture(*m_pages, m_shown);
        close(tr("Preset file imported: history before this point cannot be undone"));
        m_preparedAll = true;
        setPrepared(m_shown);
        // With a unit connected, its reports will show on the pages again;
        // the file's settings stay prepared until "Send to unit..." or the
        // next connection's question.
        if (unitConnected())
            Q_EMIT message(tr("The preset file is prepared: \"Send to unit...\" sends it to the unit."));
    });
    QCoreApplication::instance()->installEventFilter(this);
}

UnitHistory::~UnitHistory()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

bool UnitHistory::unitConnected() const
{
    const QTcpSocket *socket = m_link->currentSocket();
    return socket && socket->state() == QAbstractSocket::ConnectedState;
}

QUndoStack *UnitHistory::stack() const
{
    return m_group->activeStack();
}

QUndoStack *UnitHistory::stackFor(quint32 unit)
{
    QUndoStack *&stack = m_stacks[unit];
    if (!stack) {
        stack = new QUndoStack(this);
        m_group->addStack(stack);
    }
    return stack;
}

QString UnitHistory::closingLine() const
{
    return m_closingLines.value(m_unit);
}

bool UnitHistory::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        ++m_gesture;
        m_sinceTouch.restart();
        break;
    case QEvent::KeyPress:
        if (!static_cast<QKeyEvent *>(event)->isAutoRepeat())
            ++m_gesture;
        m_sinceTouch.restart();
        break;
    case QEvent::MouseMove:
        if (static_cast<QMouseEvent *>(event)->buttons() != Qt::NoButton)
            m_sinceTouch.restart();
        break;
    case QEvent::Wheel:
    case QEvent::MouseButtonRelease:
    case QEvent::KeyRelease:
        m_sinceTouch.restart();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void UnitHistory::noteUnit()
{
    const quint32 unit = m_link->currentSocket() ? m_link->currentUnitId() : 0;
    if (m_unitKnown && unit == m_unit)
        return;
    m_unit = unit;
    m_unitKnown = true;
    m_group->setActiveStack(stackFor(unit));
    // What the pages show now belongs to the unit chosen before; the new
    // unit's reports replace it and are taken in as they come.
    m_shown = PageState::capture(*m_pages, m_shown);
    Q_EMIT currentUnitChanged(unit);
}

QString UnitHistory::closingLineFor(quint8 cls, quint8 module, quint8 param, const uchar *payload,
                                    quint16 length) const
{
    if (cls == Frame::Firmware)
        return tr("Firmware sent to the unit: history before this point cannot be undone");
    if (cls == Frame::Module && module == Frame::Presets) {
        namespace P = Protocol::Presets;
        if (param == P::Recall && length >= 1)
            return tr("Preset %1 recalled: history before this point cannot be undone").arg(int(payload[0]) + 1);
        if (param == P::Import || param == P::ImportAll || param == P::ImportAllBlock || param == P::ImportChunk)
            return tr("Presets copied to the unit: history before this point cannot be undone");
        return QString();
    }
    if (cls != Frame::System)
        return QString();
    if (module == Frame::Status) {
        namespace S = Protocol::Status;
        switch (param) {
        case S::FactoryReset: return tr("Factory settings restored: history before this point cannot be undone");
        case S::FactorySetup: return tr("Factory set-up written: history before this point cannot be undone");
        case S::Network: return tr("Network settings changed: history before this point cannot be undone");
        case S::LoginPassword: return tr("Password changed: history before this point cannot be undone");
        default: return QString();
        }
    }
    if (module == Frame::Security && param == Protocol::Security::NewPassword)
        return tr("Lock password changed: history before this point cannot be undone");
    return QString();
}

void UnitHistory::close(const QString &line)
{
    QUndoStack *current = stack();
    if (current->count() == 0 && m_closingLines.value(m_unit) == line)
        return;
    current->clear();
    m_closingLines[m_unit] = line;
    m_connectValues[m_unit].clear();
    // The unit's new values arrive as reports; take them in when quiet.
    m_quiet.start(QuietMs);
    Q_EMIT message(line);
}

void UnitHistory::setOffered(quint8 cls, quint8 module, quint8 param, const uchar *payload, quint16 length,
                             bool written)
{
    if (m_applying)
        return;
    noteUnit();
    const QString line = closingLineFor(cls, module, param, payload, length);
    if (!line.isEmpty()) {
        close(line);
        return;
    }
    const bool edit = (cls == Frame::Module && module != Frame::Presets)
                      || (cls == Frame::System
                          && (module == Frame::Labels
                              || (module == Frame::Status
                                  && (param == Protocol::Status::Location || param == Protocol::Status::Description
                                      || param == Protocol::Status::AllMute))));
    if (!edit)
        return;
    m_sinceTouch.restart();
    const UnitState now = PageState::capture(*m_pages, m_shown);
    const QVector<StateChange> all = StateDiff::between(m_shown, now);
    // Copy and reset reach other channels (and the twin module): all of it
    // is this edit.
    const Protocol::Param *row = Protocol::param(cls, module, param);
    const bool action = row && row->kind == Protocol::Kind::Action;
    QVector<StateChange> changes;
    for (const StateChange &change : all) {
        if (tracked(change.path) && (action || PathFrames::carries(cls, module, change.path)))
            changes.append(change);
    }
    if (changes.isEmpty())
        return;
    if (changes.size() == all.size())
        m_shown = now;
    else
        ParameterCatalog::apply(m_shown, afterValues(changes));

    if (!written) {
        // No unit to take it: prepared for the next one.
        UnitState prepared = m_prepared ? *m_prepared : now;
        ParameterCatalog::apply(prepared, afterValues(changes));
        for (const StateChange &change : changes)
            m_preparedPaths.insert(change.path);
        setPrepared(prepared);
    }
    pushStep(EditStep{QDateTime::currentDateTimeUtc(), changes});
}

void UnitHistory::pushStep(const EditStep &step, const QString &text)
{
    QHash<QString, QJsonValue> &first = m_connectValues[m_unit];
    for (const StateChange &change : step.changes) {
        if (!first.contains(change.path))
            first.insert(change.path, change.before);
    }
    stack()->push(new EditCommand(this, step, m_gesture, text));
}

void UnitHistory::reportReceived(quint8 cls, quint8 module, quint8 param)
{
    noteUnit();
    // Meters keep coming; the reading is over when the settings stop.
    const Protocol::Param *row = Protocol::param(cls, module, param);
    const bool setting = row && row->kind == Protocol::Kind::Setting;
    if (setting && m_reading != Reading::None && m_readClock.elapsed() < ReadLimitMs)
        m_readTimer.start(ReadSettleMs);
    if (!m_quiet.isActive())
        m_quiet.start(QuietMs);
}

void UnitHistory::quietTimeout()
{
    if (m_sinceTouch.isValid() && m_sinceTouch.elapsed() < QuietMs) {
        m_quiet.start(int(QuietMs - m_sinceTouch.elapsed()));
        return;
    }
    settle();
}

void UnitHistory::settle()
{
    noteUnit();
    m_shown = PageState::capture(*m_pages, m_shown);
}

bool UnitHistory::applyStep(const EditStep &step, bool undo)
{
    const UnitState current = PageState::capture(*m_pages, m_shown);
    const QStringList conflicts = step.conflicts(current, undo);
    if (!conflicts.isEmpty()) {
        QStringList names;
        for (const QString &path : conflicts)
            names << EditStep::parameterName(path);
        const QString what = undo ? tr("Undo of \"%1\" skipped").arg(step.summary())
                                  : tr("Redo of \"%1\" skipped").arg(step.summary());
        Q_EMIT message(what + QStringLiteral(": ") + tr("changed on the unit by other means: %1").arg(names.join(QStringLiteral(", "))));
        return false;
    }
    UnitState target = current;
    ParameterCatalog::apply(target, step.values(undo));
    m_applying = true;
    PageState::show(*m_pages, target);
    sendValues(target, step.paths(), false);
    m_applying = false;
    m_shown = PageState::capture(*m_pages, target);
    return true;
}

void UnitHistory::sendValues(const UnitState &target, const QStringList &paths, bool withProgress)
{
    const QVector<PathFrame> frames = PathFrames::framesFor(target, paths);
    ProgressSteps *progress = withProgress ? m_progress : nullptr;
    if (progress)
        progress->start(frames.size(), tr("Sending to the unit..."));
    const bool wasApplying = m_applying;
    m_applying = true;
    for (int i = 0; i < frames.size(); ++i) {
        const PathFrame &f = frames.at(i);
        m_link->sendFrame(f.cls, f.module, f.param, Frame::Set, f.payload.constData(), quint16(f.payload.size()));
        if (progress)
            progress->step(i + 1);
    }
    m_applying = wasApplying;
    if (progress)
        progress->finish();
}

void UnitHistory::backToConnect()
{
    const QHash<QString, QJsonValue> first = m_connectValues.value(m_unit);
    if (first.isEmpty()) {
        Q_EMIT message(tr("Nothing was changed since the unit was chosen."));
        return;
    }
    const int answer = m_prompt->ask(
        m_pages, Prompt::Icon::Question, tr("Back to the state at connect"),
        tr("Return the %1 parameters changed in this session to the values the unit had when it was chosen?")
            .arg(first.size()),
        {tr("Back to connect"), tr("Cancel")}, 1);
    if (answer != 0)
        return;
    const UnitState current = PageState::capture(*m_pages, m_shown);
    UnitState target = current;
    QVector<PathValue> values;
    for (auto it = first.constBegin(); it != first.constEnd(); ++it) {
        if (!it.value().isUndefined())
            values.append(PathValue{it.key(), it.value()});
    }
    ParameterCatalog::apply(target, values);
    const QVector<StateChange> changes = StateDiff::between(current, target);
    if (changes.isEmpty())
        return;
    EditStep step{QDateTime::currentDateTimeUtc(), changes};
    m_applying = true;
    PageState::show(*m_pages, target);
    sendValues(target, step.paths(), false);
    m_applying = false;
    m_shown = PageState::capture(*m_pages, target);
    pushStep(step, tr("Back to the state at connect"));
}

void UnitHistory::setPrepared(const std::optional<UnitState> &state)
{
    const bool had = m_prepared.has_value();
    m_prepared = state;
    if (!state) {
        m_preparedPaths.clear();
        m_preparedAll = false;
    }
    if (had != m_prepared.has_value())
        Q_EMIT preparedChanged(m_prepared.has_value());
}

void UnitHistory::sendToUnit()
{
    if (!m_prepared) {
        Q_EMIT message(tr("No prepared settings to send."));
        return;
    }
    if (!unitConnected()) {
        Q_EMIT message(tr("No unit is connected."));
        return;
    }
    startReading(Reading::ForSend);
}

void UnitHistory::startReading(Reading why)
{
    if (!unitConnected())
        return;
    m_reading = why;
    m_readClock.restart();
    const Protocol::Family family =
        m_pages->hasInputDelayPage() ? Protocol::Family::Hz96k : Protocol::Family::Hz48k;
    for (const Protocol::Module &module : Protocol::Modules) {
        const bool wanted = (module.cls == Frame::Module && module.id != Frame::Presets)
                            || (module.cls == Frame::System && module.id == Frame::Labels);
        if (!wanted || !module.in(family))
            continue;
        for (const Protocol::Param &row : module) {
            if (!row.in(family) || !row.isQueried() || row.kind != Protocol::Kind::Setting)
                continue;
            const int channels = module.channelCount(row, family);
            if (row.scope == Protocol::Scope::Channel) {
                for (int c = 0; c < channels; ++c) {
                    const uchar address = uchar(c);
                    m_link->sendFrame(module.cls, module.id, row.id, Frame::Query, &address, 1);
                }
            } else if (row.scope == Protocol::Scope::Band) {
                for (int c = 0; c < channels; ++c) {
                    for (int b = 0; b < module.bands; ++b) {
                        const uchar address[2] = {uchar(c), uchar(b)};
                        m_link->sendFrame(module.cls, module.id, row.id, Frame::Query, address, 2);
                    }
                }
            } else {
                m_link->sendFrame(module.cls, module.id, row.id, Frame::Query, nullptr, 0);
            }
        }
    }
    for (quint8 param : {Protocol::Status::Location, Protocol::Status::Description})
        m_link->sendFrame(Frame::System, Frame::Status, param, Frame::Query, nullptr, 0);
    m_readTimer.start(ReadLimitMs);
}

void UnitHistory::finishReading()
{
    if (m_reading != Reading::None)
        readingDone();
}

void UnitHistory::readingDone()
{
    const Reading why = m_reading;
    m_reading = Reading::None;
    m_readTimer.stop();
    if (why == Reading::None)
        return;
    m_shown = PageState::capture(*m_pages, m_shown);
    if (!m_prepared)
        return;
    QVector<StateChange> changes;
    for (const StateChange &c : StateDiff::between(m_shown, *m_prepared)) {
        if (tracked(c.path) && ((m_preparedAll && inPresetFile(c.path)) || m_preparedPaths.contains(c.path))
            && PathFrames::frameFor(*m_prepared, c.path))
            changes.append(c);
    }
    if (changes.isEmpty()) {
        setPrepared(std::nullopt);
        Q_EMIT message(tr("The prepared settings are those of the unit."));
        return;
    }
    const QString lines = someLines(changes);
    if (why == Reading::OnConnect) {
        const int answer = m_prompt->ask(
            m_pages, Prompt::Icon::Question, tr("Prepared settings"),
            tr("The settings prepared without the unit differ from the unit's in %1 parameters:\n\n%2\n\n"
               "Send the prepared settings to the unit, or take the unit's settings?")
                .arg(changes.size())
                .arg(lines),
            {tr("Send the prepared settings"), tr("Take the unit's settings")}, 1);
        if (answer == 0) {
            sendPrepared(changes);
        } else if (answer == 1) {
            setPrepared(std::nullopt);
            Q_EMIT message(tr("The unit's settings were taken; the prepared settings were dropped."));
        } else {
            Q_EMIT message(tr("The prepared settings are kept: \"Send to unit...\" sends them."));
        }
        return;
    }
    const int answer = m_prompt->ask(m_pages, Prompt::Icon::Question, tr("Send to unit"),
                                     tr("Send these %1 parameters to the unit?\n\n%2").arg(changes.size()).arg(lines),
                                     {tr("Send"), tr("Cancel")}, 1);
    if (answer == 0)
        sendPrepared(changes);
}

void UnitHistory::sendPrepared(const QVector<StateChange> &changes)
{
    UnitState target = m_shown;
    ParameterCatalog::apply(target, afterValues(changes));
    m_applying = true;
    PageState::show(*m_pages, target);
    EditStep step{QDateTime::currentDateTimeUtc(), changes};
    sendValues(target, step.paths(), true);
    m_applying = false;
    m_shown = PageState::capture(*m_pages, target);
    setPrepared(std::nullopt);
    pushStep(step, tr("Prepared settings sent (%1 parameters)").arg(changes.size()));
    m_prompt->tell(m_pages, Prompt::Icon::Information, tr("Send to unit"),
                   tr("Sent %1 parameters to the unit:\n\n%2").arg(changes.size()).arg(someLines(changes)));
}
