#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class Link;
class ProgressSteps;
class QSaveFile;
class QTimer;

// Copies the unit's preset images (module 32) between the unit and files on
// the PC: one slot (".pst1") or all slots (".pst"), either way.
//
// The unit leads every transfer: after the opening message it announces a
// size, then each reply brings or acknowledges one chunk of at most 1024
// bytes and the next request or chunk goes out from the reply handler. The
// images are the unit's own and are kept byte for byte; the only check made
// here is that a file to import has the size the unit announces.
//
// No widgets and no message boxes: each transfer ends with exactly one
// finished() carrying its outcome, and whoever started it tells the operator.
// It runs on any event loop (a window's, or a QEventLoop of a console
// program waiting in waitForFinished()).
class PresetTransfer : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY(PresetTransfer)

public:
    static constexpr int Slots = 32;
    static constexpr int ChunkSize = 1024;

    enum class Kind { None, ExportOne, ExportAll, ImportOne, ImportAll };

    enum class Outcome {
        Done,
        // The operator cancelled a single-slot transfer, cancel() was called,
        // or another transfer was started over this one.
        Cancelled,
        LinkLost,
        // The file to import is not the size the unit asked for.
        SizeMismatch,
        FileUnreadable,
        FileUnwritable,
        // Nothing (relevant) came back within the reply timeout.
        NoReply,
        // The unit sent an empty chunk or accepted nothing before the end.
        UnitEndedEarly,
        // An all-slots image beyond what 16-bit block numbers can address.
        TooLarge,
    };
    Q_ENUM(Outcome)

    // Where the unit's module-32 replies come from: the link itself (a
    // console program, tests), or whoever routes module messages and calls
    // onMessage() (the preset page, fed by the function pages).
    enum class Delivery { FromLink, ByCaller };

    explicit PresetTransfer(Link *link, Delivery delivery = Delivery::FromLink, QObject *parent = nullptr);
    ~PresetTransfer() override;

    // The shared progress dialog, or null. The labels are shown with it while
    // copying to the PC and from the PC (the caller translates them).
    void setProgress(ProgressSteps *progress) { m_progress = progress; }
    void setProgressLabels(const QString &toPc, const QString &fromPc);

    // Ends a transfer with NoReply when the unit has not answered within `ms`
    // of the last request or chunk; 0 (the default) waits for ever, as the
    // page does: its operator has the cancel button.
    void setReplyTimeout(int ms);
    int replyTimeout() const { return m_replyTimeoutMs; }

    // Each sends the opening message and returns true; false (and nothing
    // started) for a slot outside 0..31. Like every frame, one the link
    // cannot send (no unit connected) is dropped: a started transfer always
    // ends with finished(), here through the reply timeout or the link's
    // loss. Starting while a transfer runs ends that one as Cancelled first.
    bool exportSlot(int slot, const QString &path);
    // The same into memory, for a caller that writes the file itself (a
    // backup writing its files while the next slot travels). The image is
    // exportedImage() once finished with Done; it is empty after any other
    // outcome.
    bool exportSlotToMemory(int slot);
    QByteArray exportedImage() const { return m_memory; }
    bool exportAll(const QString &path);
    bool importSlot(int slot, const QString &path);
    bool importAll(const QString &path);

    // Ends the running transfer as Cancelled; the unit is not told, it just
    // gets no further request or chunk.
    void cancel();

    // Runs a local event loop until the running transfer has finished and
    // returns its outcome (at once, the last one, when none runs). Returns
    // only if the unit answers or a reply timeout is set.
    Outcome waitForFinished();

    Kind kind() const { return m_kind; }
    bool isActive() const { return m_kind != Kind::None; }
    // The file of the running or last transfer.
    QString path() const { return m_path; }
    // Image bytes received or acknowledged so far in the running transfer.
    quint32 transferred() const { return m_done; }
    Outcome lastOutcome() const { return m_outcome; }

    // A class-3 module-32 frame from the unit (any op; only reports count).
    // Returns whether it belongs to a transfer's messages.
    bool onMessage(quint8 param, quint8 op, quint16 length, const uchar *payload);

Q_SIGNALS:
    // Once per transfer, after the progress dialog has been closed and, for
    // an export that is Done, after the file is in place.
    void finished(PresetTransfer::Outcome outcome);

private:
    bool begin(Kind kind, const QString &path, quint8 param, int slot);
    void end(Outcome outcome);
    bool sendPlain(quint8 param, quint8 op, const QByteArray &payload);
    // Sends a step that the unit answers, and times the answer.
    void sendStep(quint8 param, quint8 op, const QByteArray &payload);

    void onExportSize(quint32 size);
    void onExportChunk(quint16 length, const uchar *payload);
    void onExportAllSize(quint32 size);
    void onExportAllBlock(quint16 length, const uchar *payload);
    void onImportSize(quint32 expected);
    void onImportAccepted(quint32 accepted);
    void onImportAllSize(quint32 expected);
    void onImportAllAck(quint16 block);

    void sendImportChunk();
    void sendImportBlock(int block);
    // Appends to the export, which goes to a temporary file beside the
    // target and takes the target's name only once complete.
    bool writeExport(const char *bytes, int count);
    void discardExport();
    void finishExport();
    // The file to import, read whole once its size matches `expected`.
    // Ends the transfer (and returns false) otherwise.
    bool readImport(quint32 expected);

    void startProgress(quint32 maximum, const QString &label);
    // -1 when the operator has cancelled.
    int stepProgress(quint32 value);

    QPointer<Link> m_link;
    ProgressSteps *m_progress = nullptr;
    QString m_toPcLabel;
    QString m_fromPcLabel;
    QTimer *m_replyTimer;
    int m_replyTimeoutMs = 0;

    Kind m_kind = Kind::None;
    Outcome m_outcome = Outcome::Done;
    // Counts transfers, so a handler can tell that the one it was serving
    // ended (or another began) while a modal progress dialog ran events.
    quint64 m_serial = 0;
    QString m_path;
    std::unique_ptr<QSaveFile> m_export;
    bool m_toMemory = false;
    QByteArray m_memory;
    QByteArray m_importData;
    // 32 bits wide, so a single-slot image above 64 KiB travels whole instead
    // of wrapping onto its own beginning.
    quint32 m_offset = 0;
    quint32 m_remaining = 0;
    quint32 m_done = 0;
    int m_block = 0;
    bool m_progressShown = false;
};
