#pragma once

#include <QHostAddress>
#include <QJsonValue>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <memory>

#include "core/client/stateframes.h"
#include "core/client/unitinfo.h"
#include "core/state/parametercatalog.h"
#include "core/state/statediff.h"
#include "core/state/unitstate.h"

class Link;
class PresetTransfer;
class QEventLoop;
class QTcpSocket;
class QTimer;

// Drives one unit over its control link without a window: connect, log in,
// read what the unit says about itself and its complete state, set single
// parameters by catalog path and bring the unit to a target state by
// sending what differs; preset slots and the security page; and the preset
// transfers over the same connection.
//
// Every call blocks in a private event loop on the client's own socket
// until it is done, failed or timed out, and returns whether it succeeded;
// error() and errorText() say what failed and what to do. A state is only
// ever returned whole: a link lost or a reply missing part way fails the
// read and leaves the caller's state untouched.
//
// Reads are pipelined: up to window() queries are outstanding at once, each
// reply sending the next, so a complete state is a few hundred small round
// trips without waiting out each one.
class UnitClient : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY(UnitClient)

public:
    enum class Error : quint8 {
        None,
        NotConnected,     // no connection: call connectToUnit() first
        Unreachable,      // nothing accepts connections at the address and port
        Timeout,          // the unit did not answer in time
        LoginRefused,     // the unit refused the login password
        PasswordRefused,  // the unit refused the security lock password
        Locked,           // a security lock keeps the parameter from being changed
        Malformed,        // a reply with a length or op the protocol does not allow
        LinkLost,         // the connection closed part way
        InvalidValue,     // the value cannot be set (nothing was sent)
        UnknownPath,      // no parameter of that name (nothing was sent)
        Failed,           // the unit or a transfer reported failure
    };
    Q_ENUM(Error)

    static constexpr int DefaultTimeoutMs = 3000;
    static constexpr int DefaultWindow = 32;

    explicit UnitClient(QObject *parent = nullptr);
    ~UnitClient() override;

    // The longest wait for the connection and for each reply, in ms.
    void setTimeout(int ms) { m_timeoutMs = qMax(1, ms); }
    int timeout() const { return m_timeoutMs; }
    // Queries outstanding at once while reading; 1 reads one at a time.
    void setWindow(int queries) { m_window = qMax(1, queries); }
    int window() const { return m_window; }

    bool connectToUnit(const QHostAddress &address, quint16 port);
    void disconnectFromUnit();
    bool isConnected() const;
    // Sends the login password and waits for the unit's verdict.
    bool login(const QString &password);
    // What the unit last said about the login (it reports it unasked on connection).
    bool isLoggedIn() const { return m_loggedIn; }

    // Names, versions, network settings, texts and the preset list.
    bool readInfo(UnitInfo *info);
    bool readPresets(PresetList *presets);
    // The unit's family from its ARM version (asked when not yet known).
    bool readFamily(UnitFamily *family);
    // Every setting of every module and channel of the unit's family.
    bool readState(UnitState *state);

    // The state as last read and since kept up by the client's own sets;
    // hasState() is false until a read.
    bool hasState() const { return m_haveState; }
    const UnitState &state() const { return m_state; }

    // One parameter by catalog path, limited and rounded as the page does
    // (ParameterCatalog::set); the result says what the unit holds after it,
    // read back from the unit. Reads the state first when none is kept. A
    // failed result names why; error() is InvalidValue, UnknownPath, Locked
    // or a link error.
    SetResult set(const QString &path, const QJsonValue &value);
    SetResult setFromText(const QString &path, const QString &text);

    // Brings the unit to `target` by sending only what differs from the
    // kept state (read first when none is kept), then reads the touched
    // records back. `changes`, when given, receives what was sent. Fails,
    // sending nothing, when the family differs, when a change falls under a
    // lock that is not Free, or when locks change while the security page
    // is closed.
    bool apply(const UnitState &target, QVector<StateChange> *changes = nullptr);

    // Preset slots 0..31. Recall waits until the unit reports it complete.
    bool recallPreset(int slot);
    bool savePreset(int slot);
    bool renamePreset(int slot, const QString &name);
    bool deletePreset(int slot);

    // The security page: its lock password opens it (locks may then be
    // changed and locked parameters set), closing sends the quit code.
    bool openSecurity(const QString &lockPassword);
    bool closeSecurity();
    bool isSecurityOpen() const { return m_securityOpen; }

    // A preset transfer on the client's connection, with the client's
    // timeout as its reply timeout; drive it with its own calls and
    // waitForFinished(). Owned by the client.
    PresetTransfer *presetTransfer();
    Link *link() const { return m_link; }

    Error error() const { return m_error; }
    // What failed and what to do, for people: "in.A.gain_db: the unit did
    // not answer within 3000 ms; check that it is switched on and reachable".
    QString errorText() const { return m_errorText; }
    static QString errorName(Error error);

    // Frames this client sent and received since the last reset.
    quint64 framesSent() const { return m_framesSent; }
    quint64 framesReceived() const { return m_framesReceived; }
    void resetCounts() { m_framesSent = m_framesReceived = 0; }

private:
    bool fail(Error error, const QString &text);
    void clearError();
    bool requireConnection(const QString &what);
    bool send(const WireFrame &frame);
    // Sends `queries` with at most window() outstanding and folds each reply
    // into `state`; fails on a missing, malformed or lost reply.
    bool runQueries(const QVector<WireFrame> &queries, UnitState *state, const QString &what);
    // The same with any handler of the replies; it returns false for a reply it cannot read.
    using Handler = std::function<bool(const WireFrame &query, quint8 cls, quint8 module, quint8 param, quint8 op,
                                       const uchar *payload, int length)>;
    // Reports that answer no question are folded into `foldUnasked` (the
    // kept state when null).
    bool runRequests(const QVector<WireFrame> &queries, const Handler &handler, const QString &what,
                     UnitState *foldUnasked = nullptr);
    bool ensureState(const QString &what);
    bool checkLocks(const QStringList &paths);
    SetResult setWith(const QString &path, const std::function<SetResult(UnitState &)> &apply);
    bool checkSlot(int slot, bool used, const QString &name, const QString &what);
    bool securityPage(const QByteArray &payload, const QString &what);
    // Waits until `done` holds, the link is lost or `ms` pass without progress.
    enum class Wait : quint8 { Done, TimedOut, Lost };
    Wait waitFor(const std::function<bool()> &done, int ms);
    bool sendFramesAndReadBack(const QVector<WireFrame> &frames, const QStringList &paths, const QString &what);
    bool presetAction(quint8 param, int slot, const QByteArray &extra, const QString &what);

    void onSystem(quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload);
    void onModule(quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload);
    void onFrame(quint8 cls, quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload);

    Link *m_link;
    QTcpSocket *m_socket;
    std::unique_ptr<PresetTransfer> m_transfer;
    int m_timeoutMs = DefaultTimeoutMs;
    int m_window = DefaultWindow;
    QString m_peer;

    bool m_loggedIn = false;
    int m_loginReports = 0;
    bool m_securityOpen = false;
    int m_securityReports = 0;
    bool m_lost = false;
    bool m_knowFamily = false;
    UnitFamily m_family = UnitFamily::Sharc96k;
    bool m_haveState = false;
    UnitState m_state;

    // Takes every frame from the unit while a call waits for its replies.
    std::function<void(quint8, quint8, quint8, quint8, const uchar *, int)> m_listener;
    quint64 m_progress = 0;

    Error m_error = Error::None;
    QString m_errorText;
    quint64 m_framesSent = 0;
    quint64 m_framesReceived = 0;
};
