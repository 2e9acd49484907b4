// Preset transfers without a window: a PresetTransfer on a Link to the
// virtual unit over loopback, waited for the way a console program waits.
// One slot and all slots both ways; a unit that falls silent or drops the
// link part way; the file outcomes.

#include <QDir>
#include <QTcpSocket>
#include <QtTest>

#include "core/firmware/progresssteps.h"
#include "core/link/link.h"
#include "core/transfers/presettransfer.h"
#include "coresupport.h"
#include "presetmodule.h"
#include "virtualunit.h"

namespace {

constexpr int ReplyTimeoutMs = 400;

class CountingProgress : public ProgressSteps
{
public:
    int starts = 0;
    int finishes = 0;
    int maximum = -1;
    int last = -1;

    void start(int max, const QString &) override
    {
        ++starts;
        maximum = max;
    }
    int step(int value) override
    {
        last = value;
        return 0;
    }
    void finish() override { ++finishes; }
    bool wasCancelled() const override { return false; }
};

struct Rig
{
    ScratchDir dir{false};
    VirtualUnit unit{options()};
    Link link;
    QTcpSocket socket;
    CountingProgress progress;
    PresetTransfer transfer{&link};
    PresetModule *store = unit.findModule<PresetModule>();

    static VirtualUnit::Options options()
    {
        VirtualUnit::Options o;
        o.address = uniqueLoopback();
        o.port = 0;
        return o;
    }

    Rig()
    {
        transfer.setProgress(&progress);
        transfer.setReplyTimeout(ReplyTimeoutMs);
        // What the device table does for the current unit's socket.
        QObject::connect(&socket, &QTcpSocket::stateChanged, &link,
                         [this](QAbstractSocket::SocketState state) { link.socketStateChanged(&socket, state); });
    }
    ~Rig() { link.setCurrentSocket(nullptr, 0, 0); }

    bool connect()
    {
        if (!store || !unit.start())
            return false;
        link.setControlPort(unit.port());
        link.setCurrentSocket(&socket, 1, unit.address().toIPv4Address());
        return waitUntil([this] { return link.isLinkUp() && unit.hasClient(); });
    }

    QString path(const QString &name) const { return dir.filePath(name); }

    // Three used slots with settings and names of their own.
    void fillStore()
    {
        for (int slot : {0, 5, 31}) {
            store->save(unit, slot);
            store->rename(slot, "Slot " + QByteArray::number(slot));
        }
        store->rename(5, "ABCDEFGHIJKLMNOP");
    }

    bool start(bool exporting, bool all, int slot, const QString &file)
    {
        if (exporting)
            return all ? transfer.exportAll(file) : transfer.exportSlot(slot, file);
        return all ? transfer.importAll(file) : transfer.importSlot(slot, file);
    }
};

} // namespace

class TestPresetTransfer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data()
    {
        QTest::addColumn<bool>("all");
        QTest::newRow("one slot") << false;
        QTest::newRow("all slots") << true;
    }
    void roundTrip()
    {
        QFETCH(bool, all);
        Rig rig;
        QVERIFY(rig.connect());
        rig.fillStore();
        const QString file = rig.path(all ? QStringLiteral("unit.pst") : QStringLiteral("five.pst1"));
        const QByteArray image = all ? rig.store->allImage() : PresetModule::slotImage(rig.store->slotTable[5]);
        QVERIFY(image.size() > 2 * PresetTransfer::ChunkSize);

        QVERIFY(rig.start(true, all, 5, file));
        QCOMPARE(rig.transfer.kind(), all ? PresetTransfer::Kind::ExportAll : PresetTransfer::Kind::ExportOne);
        QCOMPARE(rig.transfer.waitForFinished(), PresetTransfer::Outcome::Done);
        QCOMPARE(rig.dir.read(QFileInfo(file).fileName()), image);
        QCOMPARE(rig.transfer.transferred(), quint32(image.size()));
        QCOMPARE(rig.progress.maximum, image.size());
        QCOMPARE(rig.progress.finishes, 1);

        // The unit changes; the file puts it back (all slots) or copies the
        // slot into another one.
        rig.store->erase(0);
        rig.store->rename(5, "Changed");
        QVERIFY(rig.start(false, all, 9, file));
        QCOMPARE(rig.transfer.waitForFinished(), PresetTransfer::Outcome::Done);
        QCOMPARE(rig.store->importsApplied, 1);
        QCOMPARE(rig.store->importsRefused, 0);
        if (all) {
            QCOMPARE(rig.store->allImage(), image);
        } else {
            QCOMPARE(PresetModule::slotImage(rig.store->slotTable[9]), image);
            QCOMPARE(rig.store->slotTable[9].name, QByteArray("ABCDEFGHIJKLMNOP"));
        }
        QCOMPARE(rig.progress.starts, 2);
        QCOMPARE(rig.progress.finishes, 2);
    }

    // Into memory: the same bytes, no file; a broken one leaves nothing.
    void exportToMemory()
    {
        Rig rig;
        QVERIFY(rig.connect());
        rig.fillStore();
        QVERIFY(!rig.transfer.exportSlotToMemory(32));
        QVERIFY(rig.transfer.exportSlotToMemory(5));
        QCOMPARE(rig.transfer.waitForFinished(), PresetTransfer::Outcome::Done);
        QCOMPARE(rig.transfer.exportedImage(), PresetModule::slotImage(rig.store->slotTable[5]));
        QVERIFY(QDir(rig.dir.path()).entryList(QDir::Files).isEmpty());
        QVERIFY(rig.transfer.exportSlotToMemory(31));
        rig.unit.setSilent(true);
        QCOMPARE(rig.transfer.waitForFinished(), PresetTransfer::Outcome::NoReply);
        QVERIFY(rig.transfer.exportedImage().isEmpty());
    }

    // The unit falls silent (or its link goes) part way: the transfer ends
    // with the reason, nothing is left under the file's name and an older
    // file of that name is untouched.
    void brokenTransfers_data()
    {
        QTest::addColumn<bool>("exporting");
        QTest::addColumn<bool>("all");
        QTest::addColumn<int>("param");  // the request that is not answered
        QTest::addColumn<int>("nth");    // ... the how-manieth of its kind
        QTest::addColumn<bool>("drop");  // the link goes instead of the unit falling silent
        QTest::addColumn<bool>("older"); // a file of that name exists already
        QTest::addColumn<PresetTransfer::Outcome>("outcome");
        const auto NoReply = PresetTransfer::Outcome::NoReply;
        QTest::newRow("export: no size") << true << false << 10 << 1 << false << false << NoReply;
        QTest::newRow("export: silent after one chunk") << true << false << 12 << 2 << false << false << NoReply;
        QTest::newRow("export over an older file") << true << false << 12 << 3 << false << true << NoReply;
        QTest::newRow("export all: silent at block 3") << true << true << 6 << 3 << false << false << NoReply;
        QTest::newRow("export all: link dropped") << true << true << 6 << 2 << true << true
                                                  << PresetTransfer::Outcome::LinkLost;
        QTest::newRow("import: silent after one chunk") << false << false << 15 << 2 << false << false << NoReply;
        QTest::newRow("import all: silent at block 2") << false << true << 7 << 2 << false << false << NoReply;
    }
    void brokenTransfers()
    {
        QFETCH(bool, exporting);
        QFETCH(bool, all);
        QFETCH(int, param);
        QFETCH(int, nth);
        QFETCH(bool, drop);
        QFETCH(bool, older);
        QFETCH(PresetTransfer::Outcome, outcome);
        Rig rig;
        QVERIFY(rig.connect());
        rig.fillStore();
        const QString name = all ? QStringLiteral("unit.pst") : QStringLiteral("slot.pst1");
        const QByteArray olderBytes("an older file");
        if (!exporting)
            rig.dir.write(name, all ? rig.store->allImage() : PresetModule::slotImage(rig.store->slotTable[5]));
        else if (older)
            rig.dir.write(name, olderBytes);
        const QByteArray storeBefore = rig.store->allImage();

        int seen = 0;
        QObject::connect(&rig.unit, &VirtualUnit::frameReceived, &rig.unit, [&](const UnitFrame &f) {
            if (f.cls != 3 || f.module != 32 || f.param != param || ++seen != nth)
                return;
            if (drop)
                QTimer::singleShot(0, &rig.unit, [&] { rig.unit.dropClient(); });
            else
                rig.unit.setSilent(true);
        });
        QElapsedTimer clock;
        clock.start();
        QVERIFY(rig.start(exporting, all, 5, rig.path(name)));
        QCOMPARE(rig.transfer.waitForFinished(), outcome);
        QVERIFY(clock.elapsed() < 10 * ReplyTimeoutMs);
        QCOMPARE(seen, nth);
        QVERIFY(!rig.transfer.isActive());
        QCOMPARE(rig.progress.finishes, rig.progress.starts);
        // No partial file, no temporary one left beside it.
        const QStringList files = QDir(rig.dir.path()).entryList(QDir::Files);
        if (exporting) {
            QCOMPARE(files, older ? QStringList{name} : QStringList());
            if (older)
                QCOMPARE(rig.dir.read(name), olderBytes);
        } else {
            QCOMPARE(files, QStringList{name});
            QCOMPARE(rig.store->importsApplied, 0);
            QCOMPARE(rig.store->allImage(), storeBefore);
        }
    }

    void fileOutcomes_data()
    {
        QTest::addColumn<bool>("exporting");
        QTest::addColumn<bool>("all");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("size"); // of the file written first; -1: none
        QTest::addColumn<PresetTransfer::Outcome>("outcome");
        QTest::newRow("export into a missing folder")
            << true << false << "missing/slot.pst1" << -1 << PresetTransfer::Outcome::FileUnwritable;
        QTest::newRow("export all into a missing folder")
            << true << true << "missing/unit.pst" << -1 << PresetTransfer::Outcome::FileUnwritable;
        QTest::newRow("import of a missing file")
            << false << false << "gone.pst1" << -1 << PresetTransfer::Outcome::FileUnreadable;
        QTest::newRow("import of a file one byte short")
            << false << false << "short.pst1" << PresetModule::slotImageSize() - 1
            << PresetTransfer::Outcome::SizeMismatch;
        QTest::newRow("import all of a file one byte long")
            << false << true << "long.pst" << PresetModule::allImageSize() + 1
            << PresetTransfer::Outcome::SizeMismatch;
    }
    void fileOutcomes()
    {
        QFETCH(bool, exporting);
        QFETCH(bool, all);
        QFETCH(QString, file);
        QFETCH(int, size);
        QFETCH(PresetTransfer::Outcome, outcome);
        Rig rig;
        QVERIFY(rig.connect());
        rig.fillStore();
        if (size >= 0)
            rig.dir.write(file, QByteArray(size, 'x'));
        const QByteArray storeBefore = rig.store->allImage();
        rig.unit.clearReceived();
        QVERIFY(rig.start(exporting, all, 5, rig.path(file)));
        QCOMPARE(rig.transfer.waitForFinished(), outcome);
        QCOMPARE(rig.transfer.lastOutcome(), outcome);
        QCOMPARE(rig.progress.finishes, rig.progress.starts);
        QCOMPARE(rig.store->allImage(), storeBefore);
        if (exporting) {
            QCOMPARE(QDir(rig.dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
        } else {
            // Nothing went out after the opening message.
            QTest::qWait(50);
            const QList<UnitFrame> frames = rig.unit.received();
            QCOMPARE(frames.size(), 1);
            QCOMPARE(int(frames.at(0).param), all ? 14 : 13);
        }
    }

    void withoutAUnit()
    {
        ScratchDir dir(false);
        Link link;
        PresetTransfer transfer(&link);
        QSignalSpy finished(&transfer, &PresetTransfer::finished);
        QVERIFY(!transfer.exportSlot(32, dir.filePath(QStringLiteral("x.pst1"))));
        QVERIFY(!transfer.importSlot(-1, dir.filePath(QStringLiteral("x.pst1"))));
        QVERIFY(!transfer.isActive());
        QCOMPARE(finished.size(), 0);
        // Nothing is connected: the opening message is dropped and only the
        // timeout ends the wait.
        transfer.setReplyTimeout(50);
        QVERIFY(transfer.exportAll(dir.filePath(QStringLiteral("x.pst"))));
        QCOMPARE(transfer.waitForFinished(), PresetTransfer::Outcome::NoReply);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
        // Without a timeout it waits until cancelled.
        transfer.setReplyTimeout(0);
        QVERIFY(transfer.importAll(dir.filePath(QStringLiteral("x.pst"))));
        QTest::qWait(100);
        QVERIFY(transfer.isActive());
        transfer.cancel();
        QCOMPARE(transfer.lastOutcome(), PresetTransfer::Outcome::Cancelled);
        QCOMPARE(finished.size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestPresetTransfer)
#include "tst_presettransfer.moc"
