#include "unitclient.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QHash>
#include <QTcpSocket>
#include <QTimer>

#include "core/link/link.h"
#include "core/protocol/protocol.h"
#include "core/records/systemtext.h"
#include "core/transfers/presettransfer.h"

namespace {

namespace P = Protocol;

QByteArray triple(quint8 cls, quint8 module, quint8 param)
{
    QByteArray k;
    k.append(char(cls)).append(char(module)).append(char(param));
    return k;
}

QString frameName(const WireFrame &frame)
{
    const P::Module *m = P::module(frame.cls, frame.module);
    const P::Param *p = P::param(m, frame.param);
    QString name = m && p ? QString::fromLatin1(m->name) + QLatin1Char('.') + QString::fromLatin1(p->name)
                          : QStringLiteral("class %1 module %2 param %3").arg(frame.cls).arg(frame.module).arg(frame.param);
    if (!frame.payload.isEmpty() && p && p->queryAddressSize() > 0)
        name += QStringLiteral(" channel %1").arg(quint8(frame.payload.at(0)) + 1);
    return name;
}

QString lockName(LockState state)
{
    return state == LockState::ReadOnly ? QStringLiteral("read-only") : QStringLiteral("hidden");
}

} // namespace

UnitClient::UnitClient(QObject *parent)
    : QObject(parent),
      m_link(new Link(this)),
      m_socket(new QTcpSocket(this))
{
    connect(m_link, &Link::systemMessage, this, &UnitClient::onSystem);
    connect(m_link, &Link::moduleMessage, this, &UnitClient::onModule);
    connect(m_socket, &QTcpSocket::stateChanged, this, [this](QAbstractSocket::SocketState state) {
        m_link->socketStateChanged(m_socket, state);
        if (state == QAbstractSocket::ConnectedState)
            m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        if (state == QAbstractSocket::UnconnectedState)
            m_lost = true;
    });
}

UnitClient::~UnitClient()
{
    m_transfer.reset();
    m_link->setCurrentSocket(nullptr, 0, 0);
    m_socket->abort();
}

QString UnitClient::errorName(Error error)
{
    switch (error) {
    case Error::None: return QStringLiteral("none");
    case Error::NotConnected: return QStringLiteral("not connected");
    case Error::Unreachable: return QStringLiteral("unreachable");
    case Error::Timeout: return QStringLiteral("timeout");
    case Error::LoginRefused: return QStringLiteral("login refused");
    case Error::PasswordRefused: return QStringLiteral("lock password refused");
    case Error::Locked: return QStringLiteral("locked");
    case Error::Malformed: return QStringLiteral("malformed reply");
    case Error::LinkLost: return QStringLiteral("link lost");
    case Error::InvalidValue: return QStringLiteral("invalid value");
    case Error::UnknownPath: return QStringLiteral("unknown path");
    case Error::Failed: return QStringLiteral("failed");
    }
    return QString();
}

bool UnitClient::fail(Error error, const QString &text)
{
    m_error = error;
    m_errorText = text;
    return false;
}

void UnitClient::clearError()
{
    m_error = Error::None;
    m_errorText.clear();
}

bool UnitClient::isConnected() const
{
    return m_socket->state() == QAbstractSocket::ConnectedState && !m_lost;
}

bool UnitClient::requireConnection(const QString &what)
{
    clearError();
    if (isConnected())
        return true;
    if (m_lost && !m_peer.isEmpty())
        return fail(Error::LinkLost, QStringLiteral("%1: the connection to %2 was lost; connect again")
                                         .arg(what, m_peer));
    return fail(Error::NotConnected, QStringLiteral("%1: not connected to a unit; connect first").arg(what));
}

bool UnitClient::connectToUnit(const QHostAddress &address, quint16 port)
{
    disconnectFromUnit();
    clearError();
    m_peer = QStringLiteral("%1:%2").arg(address.toString()).arg(port);
    if (address.protocol() != QAbstractSocket::IPv4Protocol)
        return fail(Error::Unreachable, QStringLiteral("%1: units are reached over IPv4; give an IPv4 address")
                                            .arg(address.toString()));
    m_lost = false;
    m_loggedIn = false;
    m_loginReports = 0;
    m_securityOpen = false;
    m_knowFamily = false;
    m_haveState = false;
    m_link->setControlPort(port);
    m_link->setCurrentSocket(m_socket, 0, address.toIPv4Address());
    // The connection refused shows as the socket falling back to unconnected.
    m_lost = false;
    bool refused = false;
    const auto watch = connect(m_socket, &QTcpSocket::stateChanged, this, [&refused](QAbstractSocket::SocketState s) {
        if (s == QAbstractSocket::UnconnectedState)
            refused = true;
    });
    const Wait connected = waitFor(
        [&] { return refused || m_socket->state() == QAbstractSocket::ConnectedState; }, m_timeoutMs);
    disconnect(watch);
    if (connected != Wait::Done || refused || m_socket->state() != QAbstractSocket::ConnectedState) {
        m_socket->abort();
        m_link->setCurrentSocket(nullptr, 0, 0);
        m_lost = false;
        return fail(Error::Unreachable,
                    QStringLiteral("%1: nothing accepted the connection%2; check the address, the port and that the "
                                   "unit is switched on")
                        .arg(m_peer, refused ? QString() : QStringLiteral(" within %1 ms").arg(m_timeoutMs)));
    }
    // The unit reports the login state by itself as soon as it has accepted;
    // a unit that stays silent here would not answer anything else either.
    const Wait reported = waitFor([this] { return m_loginReports > 0; }, m_timeoutMs);
    if (reported == Wait::Lost)
        return fail(Error::LinkLost, QStringLiteral("%1: the unit closed the connection at once; it may be serving "
                                                    "another controller")
                                         .arg(m_peer));
    if (reported == Wait::TimedOut) {
        disconnectFromUnit();
        return fail(Error::Timeout, QStringLiteral("%1: the unit accepted the connection but said nothing within %2 "
                                                   "ms; check that it is a unit of this kind and that it is not busy")
                                        .arg(m_peer)
                                        .arg(m_timeoutMs));
    }
    return true;
}

void UnitClient::disconnectFromUnit()
{
    if (m_transfer && m_transfer->isActive())
        m_transfer->cancel();
    m_link->setCurrentSocket(nullptr, 0, 0);
    m_socket->abort();
    m_loggedIn = false;
    m_securityOpen = false;
    m_haveState = false;
    m_knowFamily = false;
    m_lost = false;
}

UnitClient::Wait UnitClient::waitFor(const std::function<bool()> &done, int ms)
{
    QEventLoop loop;
    QTimer wake;
    wake.setSingleShot(true);
    connect(&wake, &QTimer::timeout, &loop, [] {});
    QElapsedTimer idle;
    idle.start();
    quint64 seen = m_progress;
    wake.start(ms);
    for (;;) {
        if (done())
            return Wait::Done;
        if (m_lost)
            return Wait::Lost;
        if (m_progress != seen) {
            seen = m_progress;
            idle.restart();
            wake.start(ms);
        }
        if (idle.elapsed() >= ms)
            return Wait::TimedOut;
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    }
}

bool UnitClient::send(const WireFrame &frame)
{
    if (!m_link->sendFrame(frame.cls, frame.module, frame.param, frame.op, frame.payload.constData(),
                           quint16(frame.payload.size()))) {
        if (!isConnected())
            return fail(Error::LinkLost, QStringLiteral("%1: the connection to %2 was lost while sending; connect "
                                                        "again")
                                             .arg(frameName(frame), m_peer));
        return fail(Error::InvalidValue, QStringLiteral("%1: the frame could not be sent (%2 bytes)")
                                             .arg(frameName(frame))
                                             .arg(frame.payload.size()));
    }
    ++m_framesSent;
    return true;
}

void UnitClient::onSystem(quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload)
{
    if (op == Frame::Report && length >= 1) {
        if (module == Frame::Login && param == P::Login::Password) {
            m_loggedIn = payload[0] != 0;
            m_link->setLoggedIn(m_loggedIn);
            ++m_loginReports;
            ++m_progress;
        } else if (module == Frame::Security && param == P::Security::Page) {
            // 0: the page is open.
            m_securityOpen = payload[0] == 0;
            ++m_securityReports;
            ++m_progress;
        }
    }
    onFrame(Frame::System, module, param, op, length, payload);
}

void UnitClient::onModule(quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload)
{
    onFrame(Frame::Module, module, param, op, length, payload);
}

void UnitClient::onFrame(quint8 cls, quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload)
{
    ++m_framesReceived;
    if (m_listener) {
        m_listener(cls, module, param, op, payload, length);
        return;
    }
    // Reports that come unasked (a security set's echo) keep the kept state current.
    if (m_haveState)
        StateFrames::fold(m_state, cls, module, param, op, payload, length);
}

bool UnitClient::runQueries(const QVector<WireFrame> &queries, UnitState *state, const QString &what)
{
    return runRequests(queries,
                       [state](const WireFrame &, quint8 cls, quint8 module, quint8 param, quint8 op, const uchar *payload,
                               int length) {
                           return StateFrames::fold(*state, cls, module, param, op, payload, length)
                               != StateFrames::Fold::Malformed;
                       },
                       what, state);
}

bool UnitClient::runRequests(const QVector<WireFrame> &queries, const Handler &handler, const QString &what,
                             UnitState *foldUnasked)
{
    QHash<QByteArray, int> outstanding; // query key -> index
    QHash<QByteArray, int> asked;       // class, module, param -> queries outstanding
    int next = 0;
    int answered = 0;
    bool malformed = false;
    QString malformedText;
    bool sendFailed = false;

    auto sendNext = [&]() {
        while (!sendFailed && next < queries.size() && outstanding.size() < m_window) {
            const WireFrame &q = queries.at(next);
            const QByteArray k = StateFrames::queryKey(q);
            if (outstanding.contains(k))
                break; // the same question twice: wait for the first answer
            if (!send(q)) {
                sendFailed = true;
                return;
            }
            outstanding.insert(k, next);
            asked[triple(q.cls, q.module, q.param)] += 1;
            ++next;
        }
    };

    m_listener = [&](quint8 cls, quint8 module, quint8 param, quint8 op, const uchar *payload, int length) {
        const QByteArray k = StateFrames::reportKey(cls, module, param, payload, length);
        const auto it = k.isEmpty() ? outstanding.end() : outstanding.find(k);
        if (it == outstanding.end()) {
            // A frame for a param being asked that matches no question: its
            // addressing bytes are missing or name a channel not asked for.
            if (asked.value(triple(cls, module, param)) > 0 && (op != Frame::Report || k.isEmpty()) && !malformed) {
                malformed = true;
                malformedText = QStringLiteral("a %1-byte frame with op %2").arg(length).arg(op);
            }
            // Reports come in the order the unit made them: one that answers
            // no question (the echo of a set) is as current as the answers.
            StateFrames::fold(foldUnasked ? *foldUnasked : m_state, cls, module, param, op, payload, length);
            return;
        }
        const WireFrame &q = queries.at(it.value());
        if (!handler(q, cls, module, param, op, payload, length) && !malformed) {
            malformed = true;
            malformedText = QStringLiteral("%1 (%2 bytes, op 0x%3)")
                                .arg(frameName(q))
                                .arg(length)
                                .arg(op, 2, 16, QLatin1Char('0'));
        }
        asked[triple(cls, module, param)] -= 1;
        outstanding.erase(it);
        ++answered;
        ++m_progress;
        sendNext();
    };
    struct Reset
    {
        UnitClient *client;
        ~Reset() { client->m_listener = nullptr; }
    } reset{this};

    sendNext();
    if (sendFailed)
        return false;
    const Wait wait = waitFor([&] { return malformed || sendFailed || answered == queries.size(); }, m_timeoutMs);
    if (sendFailed)
        return false;
    if (malformed)
        return fail(Error::Malformed, QStringLiteral("%1: the unit sent a reply the protocol does not allow: %2; "
                                                     "check the unit's firmware")
                                          .arg(what, malformedText));
    if (wait == Wait::Lost)
        return fail(Error::LinkLost, QStringLiteral("%1: the connection to %2 was lost after %3 of %4 replies; "
                                                    "nothing was kept, connect again")
                                         .arg(what, m_peer)
                                         .arg(answered)
                                         .arg(queries.size()));
    if (wait == Wait::TimedOut) {
        int oldest = next;
        for (int index : qAsConst(outstanding))
            oldest = qMin(oldest, index);
        const QString first = oldest < queries.size() ? frameName(queries.at(oldest)) : QString();
        return fail(Error::Timeout, QStringLiteral("%1: the unit did not answer within %2 ms (%3 of %4 replies, "
                                                   "waiting for %5); %6")
                                        .arg(what)
                                        .arg(m_timeoutMs)
                                        .arg(answered)
                                        .arg(queries.size())
                                        .arg(first,
                                             m_loggedIn ? QStringLiteral("check that it is switched on and reachable")
                                                        : QStringLiteral("the unit has not accepted a login: log in "
                                                                         "with its password")));
    }
    return true;
}

bool UnitClient::readFamily(UnitFamily *family)
{
    if (!requireConnection(QStringLiteral("reading the unit's family")))
        return false;
    if (!m_knowFamily) {
        const WireFrame query{Frame::System, Frame::Status, P::Status::ArmVersion, Frame::Query, {}};
        firmware arm;
        const bool ok = runRequests(
            {query},
            [&arm](const WireFrame &, quint8, quint8, quint8, quint8 op, const uchar *payload, int length) {
                if (op != Frame::Report || length < 3)
                    return false;
                arm.major = payload[0];
                arm.minor = payload[1];
                arm.patch = payload[2];
                return true;
            },
            QStringLiteral("reading the ARM firmware version"));
        if (!ok)
            return false;
        m_family = UnitState::familyOfArmMajor(arm.major);
        m_knowFamily = true;
    }
    if (family)
        *family = m_family;
    return true;
}

bool UnitClient::readInfo(UnitInfo *info)
{
    const QString what = QStringLiteral("reading the unit's information");
    if (!requireConnection(what))
        return false;
    namespace S = P::Status;
    UnitInfo read;
    QVector<WireFrame> queries;
    for (quint8 param : {S::Model, S::ArmVersion, S::DspVersion, S::Serial, S::ChannelConfig, S::Location,
                         S::Description, S::Network, S::DeviceId, S::DspModel})
        queries.append(WireFrame{Frame::System, Frame::Status, param, Frame::Query, {}});
    queries.append(WireFrame{Frame::Module, Frame::Presets, P::Presets::List, Frame::Query, {}});

    auto handler = [&read](const WireFrame &, quint8 cls, quint8 module, quint8 param, quint8 op,
                           const uchar *p, int length) {
        const P::Param *row = P::param(cls, module, param);
        if (op != Frame::Report || !row || !row->report.length.fits(length))
            return false;
        if (cls == Frame::Module)
            return read.presets.decode(p, length);
        switch (param) {
        case S::Model: read.model = SystemText::text(p, length); break;
        case S::Serial: read.serial = SystemText::text(p, length); break;
        case S::ArmVersion: read.armVersion = firmware{p[0], p[1], p[2]}; break;
        case S::DspVersion: read.dspVersion = firmware{p[0], p[1], p[2]}; break;
        case S::ChannelConfig: read.channelConfig = Frame::readU16(p); break;
        case S::Location: read.location = SystemText::text(p, length); break;
        case S::Description: read.description = SystemText::text(p, length); break;
        case S::Network:
            read.ipAddress = SystemText::readU32(p);
            read.subnetMask = SystemText::readU32(p + 4);
            read.gateway = SystemText::readU32(p + 8);
            break;
        case S::DeviceId: read.deviceId = SystemText::readI32(p); break;
        case S::DspModel: read.dspModel = p[0]; break;
        default: break;
        }
        return true;
    };
    if (!runRequests(queries, handler, what))
        return false;
    m_family = read.family();
    m_knowFamily = true;
    if (info)
        *info = read;
    return true;
}

bool UnitClient::readPresets(PresetList *presets)
{
    const QString what = QStringLiteral("reading the preset list");
    if (!requireConnection(what))
        return false;
    PresetList list;
    const WireFrame query{Frame::Module, Frame::Presets, P::Presets::List, Frame::Query, {}};
    if (!runRequests(
            {query},
            [&list](const WireFrame &, quint8, quint8, quint8, quint8 op, const uchar *p, int length) {
                return op == Frame::Report && list.decode(p, length);
            },
            what))
        return false;
    if (presets)
        *presets = list;
    return true;
}

bool UnitClient::readState(UnitState *state)
{
    const QString what = QStringLiteral("reading the unit's state");
    UnitFamily family;
    if (!readFamily(&family))
        return false;
    UnitState read(family);
    m_haveState = false;
    if (!runQueries(StateFrames::stateQueries(family), &read, what))
        return false;
    m_state = read;
    m_haveState = true;
    if (state)
        *state = read;
    return true;
}

bool UnitClient::ensureState(const QString &what)
{
    if (m_haveState)
        return true;
    if (!readState(nullptr)) {
        m_errorText = what + QStringLiteral(": ") + m_errorText;
        return false;
    }
    return true;
}

bool UnitClient::checkLocks(const QStringList &paths)
{
    for (const QString &path : paths) {
        if (m_securityOpen)
            break;
        if (StateFrames::isLockPath(path))
            return fail(Error::Locked, QStringLiteral("%1: security locks change only while the security page is "
                                                      "open; open it with the lock password first")
                                           .arg(path));
        const LockState lock = StateFrames::lockOf(m_state, path);
        if (lock != LockState::Free)
            return fail(Error::Locked, QStringLiteral("%1: the page is %2 for this channel by a security lock; open "
                                                      "the security page with the lock password to change it")
                                           .arg(path, lockName(lock)));
    }
    return true;
}

bool UnitClient::sendFramesAndReadBack(const QVector<WireFrame> &frames, const QStringList &paths,
                                       const QString &what)
{
    for (const WireFrame &frame : frames) {
        if (!send(frame)) {
            m_haveState = false;
            m_errorText = what + QStringLiteral(": ") + m_errorText;
            return false;
        }
    }
    // What the unit holds now, read back into the kept state: it answers in
    // order, so the replies also confirm the sets before them.
    // The unit's model closes the read-back: it is never set, so no echo of
    // a set can answer it, and by its reply every report before it is in.
    QVector<WireFrame> queries = StateFrames::queriesFor(m_state.family(), paths);
    queries.append(WireFrame{Frame::System, Frame::Status, P::Status::Model, Frame::Query, {}});
    UnitState after = m_state;
    if (!runQueries(queries, &after, what)) {
        m_haveState = false;
        return false;
    }
    m_state = after;
    return true;
}

SetResult UnitClient::set(const QString &path, const QJsonValue &value)
{
    return setWith(path, [&value, &path](UnitState &state) { return ParameterCatalog::set(state, path, value); });
}

SetResult UnitClient::setFromText(const QString &path, const QString &text)
{
    return setWith(path, [&text, &path](UnitState &state) { return ParameterCatalog::setFromText(state, path, text); });
}

SetResult UnitClient::setWith(const QString &path, const std::function<SetResult(UnitState &)> &apply)
{
    SetResult failed;
    failed.path = path;
    failed.outcome = SetResult::Outcome::Failed;
    auto failWith = [&](Error error, const QString &text) {
        fail(error, text);
        failed.message = text;
        return failed;
    };
    UnitFamily family;
    if (!readFamily(&family)) {
        failed.message = m_errorText;
        return failed;
    }
    const ParameterCatalog &catalog = ParameterCatalog::of(family);
    if (!catalog.find(path)) {
        QStringList suggestions;
        const QString text = catalog.unknownPathMessage(path, &suggestions);
        failed.suggestions = suggestions;
        return failWith(Error::UnknownPath, text);
    }
    if (!ensureState(path)) {
        failed.message = m_errorText;
        return failed;
    }
    UnitState next = m_state;
    SetResult result = apply(next);
    if (!result.ok()) {
        fail(Error::InvalidValue, result.message);
        return result;
    }
    QStringList paths{path};
    paths += result.followers;
    if (!checkLocks(paths))
        return failWith(m_error, m_errorText);
    if (!sendFramesAndReadBack(StateFrames::setFrames(m_state, next, paths), paths, path)) {
        failed.message = m_errorText;
        return failed;
    }
    result.value = catalog.find(path)->value(m_state);
    return result;
}

bool UnitClient::apply(const UnitState &target, QVector<StateChange> *changes)
{
    const QString what = QStringLiteral("applying a state");
    UnitFamily family;
    if (!readFamily(&family))
        return false;
    if (target.family() != family)
        return fail(Error::InvalidValue, QStringLiteral("%1: the state is for a %2 unit, this unit is %3; nothing "
                                                        "was sent")
                                             .arg(what, UnitState::familyName(target.family()),
                                                  UnitState::familyName(family)));
    if (!ensureState(what))
        return false;
    const QVector<StateChange> diff = StateDiff::between(m_state, target);
    QStringList paths;
    for (const StateChange &change : diff)
        paths.append(change.path);
    if (!checkLocks(paths))
        return false;
    if (changes)
        *changes = diff;
    if (paths.isEmpty())
        return true;
    if (!sendFramesAndReadBack(StateFrames::setFrames(m_state, target, paths), paths, what))
        return false;
    const QVector<StateChange> left = StateDiff::between(m_state, target);
    if (!left.isEmpty()) {
        const QStringList lines = StateDiff::lines(left.mid(0, 5));
        return fail(Error::Failed, QStringLiteral("%1: the unit holds other values for %2 parameter(s): %3")
                                       .arg(what)
                                       .arg(left.size())
                                       .arg(lines.join(QStringLiteral("; "))));
    }
    return true;
}

bool UnitClient::presetAction(quint8 param, int slot, const QByteArray &extra, const QString &what)
{
    if (!requireConnection(what))
        return false;
    if (slot < 0 || slot >= PresetList::Slots)
        return fail(Error::InvalidValue, QStringLiteral("%1: slot %2 does not exist; slots are 1 to %3")
                                             .arg(what)
                                             .arg(slot + 1)
                                             .arg(PresetList::Slots));
    return send(WireFrame{Frame::Module, Frame::Presets, param, Frame::Set, QByteArray(1, char(slot)) + extra});
}

bool UnitClient::recallPreset(int slot)
{
    const QString what = QStringLiteral("recalling preset %1").arg(slot + 1);
    PresetList list;
    if (!readPresets(&list))
        return false;
    if (slot >= 0 && slot < PresetList::Slots && !list.entries.at(slot).used)
        return fail(Error::InvalidValue, QStringLiteral("%1: the slot is empty; save a preset there first").arg(what));
    int progress = -1;
    m_listener = [&progress, this](quint8 cls, quint8 module, quint8 param, quint8 op, const uchar *p, int length) {
        if (cls == Frame::Module && module == Frame::Presets && param == P::Presets::Recall && op == Frame::Report
            && length == 1) {
            progress = p[0];
            ++m_progress;
        }
    };
    struct Reset
    {
        UnitClient *client;
        ~Reset() { client->m_listener = nullptr; }
    } reset{this};
    if (!presetAction(P::Presets::Recall, slot, {}, what))
        return false;
    // The unit reports the recall's progress; each report restarts the wait.
    const Wait wait = waitFor([&progress] { return progress >= 100; }, m_timeoutMs);
    // Every setting may have changed.
    m_haveState = false;
    if (wait == Wait::Lost)
        return fail(Error::LinkLost, QStringLiteral("%1: the connection to %2 was lost during the recall; connect "
                                                    "again and read the state")
                                         .arg(what, m_peer));
    if (wait == Wait::TimedOut)
        return fail(Error::Timeout, QStringLiteral("%1: the unit reported no progress within %2 ms (last %3%)")
                                        .arg(what)
                                        .arg(m_timeoutMs)
                                        .arg(qMax(progress, 0)));
    return true;
}

bool UnitClient::checkSlot(int slot, bool used, const QString &name, const QString &what)
{
    PresetList list;
    if (!readPresets(&list))
        return false;
    const PresetSlotInfo &info = list.entries.at(slot);
    if (info.used != used || (!name.isNull() && info.name != name))
        return fail(Error::Failed, QStringLiteral("%1: the unit's list does not show the change (slot %2 is %3 "
                                                  "\"%4\"); it may be locked or busy")
                                       .arg(what)
                                       .arg(slot + 1)
                                       .arg(info.used ? QStringLiteral("used") : QStringLiteral("empty"), info.name));
    return true;
}

bool UnitClient::savePreset(int slot)
{
    const QString what = QStringLiteral("saving preset %1").arg(slot + 1);
    return presetAction(P::Presets::Save, slot, {}, what) && checkSlot(slot, true, QString(), what);
}

bool UnitClient::renamePreset(int slot, const QString &name)
{
    const QString what = QStringLiteral("renaming preset %1").arg(slot + 1);
    const QByteArray bytes = SystemText::encode(name, P::Presets::NameSize);
    if (bytes.isEmpty() || bytes.size() != name.toLocal8Bit().size())
        return fail(Error::InvalidValue, QStringLiteral("%1: a name has 1 to %2 bytes; \"%3\" has %4")
                                             .arg(what)
                                             .arg(P::Presets::NameSize)
                                             .arg(name)
                                             .arg(name.toLocal8Bit().size()));
    PresetList list;
    if (!readPresets(&list))
        return false;
    if (slot >= 0 && slot < PresetList::Slots && !list.entries.at(slot).used)
        return fail(Error::InvalidValue, QStringLiteral("%1: the slot is empty; save a preset there first").arg(what));
    return presetAction(P::Presets::Rename, slot, bytes, what) && checkSlot(slot, true, name, what);
}

bool UnitClient::deletePreset(int slot)
{
    const QString what = QStringLiteral("deleting preset %1").arg(slot + 1);
    return presetAction(P::Presets::Erase, slot, {}, what) && checkSlot(slot, false, QString(), what);
}

bool UnitClient::securityPage(const QByteArray &payload, const QString &what)
{
    if (!requireConnection(what))
        return false;
    const int before = m_securityReports;
    if (!send(WireFrame{Frame::System, Frame::Security, P::Security::Page, Frame::Set, payload}))
        return false;
    const Wait wait = waitFor([&] { return m_securityReports > before; }, m_timeoutMs);
    if (wait == Wait::Lost)
        return fail(Error::LinkLost, QStringLiteral("%1: the connection to %2 was lost; connect again").arg(what, m_peer));
    if (wait == Wait::TimedOut)
        return fail(Error::Timeout, QStringLiteral("%1: the unit did not answer within %2 ms").arg(what).arg(m_timeoutMs));
    return true;
}

bool UnitClient::openSecurity(const QString &lockPassword)
{
    const QString what = QStringLiteral("opening the security page");
    const QByteArray bytes = lockPassword.toLatin1();
    if (bytes.isEmpty() || bytes.size() > P::Login::MaxPasswordLength || QString::fromLatin1(bytes) != lockPassword)
        return fail(Error::InvalidValue, QStringLiteral("%1: a lock password has 1 to %2 Latin-1 characters")
                                             .arg(what)
                                             .arg(P::Login::MaxPasswordLength));
    if (!securityPage(bytes, what))
        return false;
    if (!m_securityOpen)
        return fail(Error::PasswordRefused, QStringLiteral("%1: the unit refused the lock password; check it with "
                                                           "the administrator")
                                                .arg(what));
    return true;
}

bool UnitClient::closeSecurity()
{
    const QByteArray quit(reinterpret_cast<const char *>(P::Security::QuitCode), sizeof P::Security::QuitCode);
    return securityPage(quit, QStringLiteral("closing the security page"));
}

bool UnitClient::login(const QString &password)
{
    const QString what = QStringLiteral("logging in");
    if (!requireConnection(what))
        return false;
    const QByteArray bytes = password.toLatin1();
    if (bytes.size() > P::Login::MaxPasswordLength || QString::fromLatin1(bytes) != password)
        return fail(Error::InvalidValue, QStringLiteral("%1: a password has at most %2 Latin-1 characters")
                                             .arg(what)
                                             .arg(P::Login::MaxPasswordLength));
    const int before = m_loginReports;
    if (!send(WireFrame{Frame::System, Frame::Login, P::Login::Password, Frame::Set, bytes}))
        return false;
    const Wait wait = waitFor([&] { return m_loginReports > before; }, m_timeoutMs);
    if (wait == Wait::Lost)
        return fail(Error::LinkLost, QStringLiteral("%1: the connection to %2 was lost; connect again").arg(what, m_peer));
    if (wait == Wait::TimedOut)
        return fail(Error::Timeout, QStringLiteral("%1: the unit did not answer within %2 ms").arg(what).arg(m_timeoutMs));
    if (!m_loggedIn)
        return fail(Error::LoginRefused, QStringLiteral("%1: the unit refused the password; check it (passwords "
                                                        "are case-sensitive)")
                                             .arg(what));
    return true;
}

PresetTransfer *UnitClient::presetTransfer()
{
    if (!m_transfer)
        m_transfer = std::make_unique<PresetTransfer>(m_link, PresetTransfer::Delivery::FromLink);
    m_transfer->setReplyTimeout(m_timeoutMs);
    return m_transfer.get();
}
