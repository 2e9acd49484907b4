// Firmware upload: blocks driven only by the unit's acknowledgements, the ARM
// header check, cancel, refused images, and a full upload to the virtual unit.

#include <QFile>
#include <QProgressDialog>
#include <QRandomGenerator>
#include <QSettings>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QtTest>

#include "core/firmware/firmwareimage.h"
#include "core/firmware/firmwareuploader.h"
#include "core/firmware/progresssteps.h"
#include "core/link/link.h"
#include "firmwaremodule.h"
#include "testsupport.h"
#include "ui/pages/firmwareupload.h"
#include "ui/window/mainwindow.h"
#include "virtualunit.h"

Q_DECLARE_METATYPE(FirmwareUploader::Outcome)

namespace {

// Records the progress operations; `cancelled` plays the operator.
class ScriptedProgress : public ProgressSteps
{
public:
    QStringList calls;
    bool cancelled = false;

    void start(int maximum, const QString &) override { calls << QStringLiteral("start %1").arg(maximum); }
    int step(int value) override
    {
        calls << QStringLiteral("step %1").arg(value);
        return cancelled ? -1 : 0;
    }
    void finish() override
    {
        calls << QStringLiteral("finish");
        cancelled = false;
    }
    bool wasCancelled() const override { return cancelled; }
};

QByteArray pattern(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + i / 1024) & 0xFF);
    return bytes;
}

QByteArray ack(quint16 block)
{
    return QByteArray(1, char(block & 0xFF)) + char(block >> 8);
}

// An uploader on a link to a virtual unit that records blocks but does not
// acknowledge them: the test plays the unit's acknowledgements.
struct UploadRig
{
    VirtualUnit unit;
    Link link;
    QTcpSocket socket;
    ScriptedProgress progress;
    FirmwareUploader uploader{&link, &progress};

    static VirtualUnit::Options options()
    {
        VirtualUnit::Options o;
        o.address = uniqueLoopback();
        o.port = 0;
        return o;
    }

    UploadRig()
        : unit(options())
    {
        unit.findModule<FirmwareModule>()->acknowledge = false;
    }
    ~UploadRig() { link.setCurrentSocket(nullptr, 0, 0); }

    bool connect()
    {
        if (!unit.start())
            return false;
        link.setControlPort(unit.port());
        link.setCurrentSocket(&socket, 1, unit.address().toIPv4Address());
        return waitUntil([this] { return socket.state() == QAbstractSocket::ConnectedState && unit.hasClient(); });
    }

    void acknowledge(quint16 block, quint8 target = 1, quint8 param = 1, quint8 op = 0x80, QByteArray payload = {})
    {
        if (payload.isNull())
            payload = ack(block);
        uploader.onUpgradeAck(target, param, op, quint16(payload.size()),
                              reinterpret_cast<const uchar *>(payload.constData()));
    }

    // The class-1 frames the unit has received since the last call, behind a
    // marker frame so that none is still on its way.
    QList<UnitFrame> blocks()
    {
        link.sendFrame(2, 0x7E, 0x7E, 0, nullptr, 0);
        waitUntil([this] { return !unit.receivedMatching(2, 0x7E, 0x7E).isEmpty(); });
        QList<UnitFrame> out;
        for (const UnitFrame &f : unit.received())
            if (f.cls == 1)
                out << f;
        unit.clearReceived();
        return out;
    }
};

} // namespace

class TestFirmware : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qRegisterMetaType<FirmwareUploader::Outcome>(); }

    void armHeader_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("7F 8C 20") << QByteArray("\x7F\x8C\x20\x00\x10\x00\x00\x00", 8) << true;
        QTest::newRow("7F 8C 10") << QByteArray("\x7F\x8C\x10\x00\x10\x00\x00\x00", 8) << true;
        QTest::newRow("7F 8C 30") << QByteArray("\x7F\x8C\x30\x00\x10\x00\x00\x00", 8) << false;
        QTest::newRow("bytes swapped") << QByteArray("\x8C\x7F\x20\x00\x10\x00\x00\x00", 8) << false;
        QTest::newRow("two bytes only") << QByteArray("\x7F\x8C", 2) << false;
    }
    void armHeader()
    {
        QFETCH(QByteArray, head);
        QFETCH(bool, accepted);
        ScratchDir dir(false);
        dir.write(QStringLiteral("fw.sbin"), head);
        const auto arm = FirmwareUploader::readImage(FirmwareUploader::Arm, dir.filePath(QStringLiteral("fw.sbin")));
        QCOMPARE(arm.check == FirmwareUploader::Check::Ok, accepted);
        if (!accepted)
            QCOMPARE(arm.check, FirmwareUploader::Check::BadHeader);
        // DSP images have no header to check.
        const auto dsp = FirmwareUploader::readImage(FirmwareUploader::Dsp, dir.filePath(QStringLiteral("fw.sbin")));
        QCOMPARE(dsp.check, FirmwareUploader::Check::Ok);
    }

    void blocksFollowAcknowledgements_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QList<int>>("blockSizes");
        QTest::addColumn<int>("maximum");
        QTest::newRow("2048 bytes") << 2048 << QList<int>{1024, 1024} << 2;
        QTest::newRow("1 byte") << 1 << QList<int>{1} << 0;
        QTest::newRow("2500 bytes") << 2500 << QList<int>{1024, 1024, 452} << 2;
    }
    void blocksFollowAcknowledgements()
    {
        QFETCH(int, size);
        QFETCH(QList<int>, blockSizes);
        QFETCH(int, maximum);
        UploadRig rig;
        QVERIFY(rig.connect());
        QSignalSpy ended(&rig.uploader, &FirmwareUploader::ended);
        const QByteArray image = pattern(size);
        QVERIFY(rig.uploader.start(FirmwareUploader::Dsp, image, QStringLiteral("updating...")));
        QCOMPARE(rig.progress.calls.value(0), QStringLiteral("start %1").arg(maximum));

        int offset = 0;
        for (int block = 0; block < blockSizes.size(); ++block) {
            const QList<UnitFrame> frames = rig.blocks();
            QCOMPARE(frames.size(), 1); // nothing goes out before the acknowledgement
            const UnitFrame &f = frames.at(0);
            QCOMPARE(f.module, quint8(2));
            QCOMPARE(f.param, quint8(1));
            QCOMPARE(f.op, quint8(1));
            QCOMPARE(f.payload.left(2), ack(quint16(block)));
            QCOMPARE(f.payload.mid(2), image.mid(offset, blockSizes.at(block)));
            offset += blockSizes.at(block);
            QVERIFY(ended.isEmpty());
            rig.acknowledge(quint16(block), 2);
        }
        QVERIFY(rig.blocks().isEmpty());
        QCOMPARE(ended.size(), 1);
        QCOMPARE(ended.at(0).at(0).value<FirmwareUploader::Outcome>(), FirmwareUploader::Outcome::Finished);
        QCOMPARE(rig.progress.calls.last(), QStringLiteral("finish"));
        QCOMPARE(rig.progress.calls.count(QStringLiteral("step %1").arg(blockSizes.size() - 1)),
                 blockSizes.size() > 1 ? 1 : 0);
        // A late acknowledgement does not start anything again.
        rig.acknowledge(0, 2);
        QVERIFY(rig.blocks().isEmpty());
    }

    void nextBlockFollowsTheAcknowledgedOne()
    {
        UploadRig rig;
        QVERIFY(rig.connect());
        const QByteArray image = pattern(10 * 1024);
        QVERIFY(rig.uploader.start(FirmwareUploader::Arm, image, QString()));
        rig.blocks();
        rig.acknowledge(5);
        const QList<UnitFrame> frames = rig.blocks();
        QCOMPARE(frames.size(), 1);
        QCOMPARE(frames.at(0).module, quint8(1));
        QCOMPARE(frames.at(0).payload.left(2), QByteArray("\x06\x00", 2));
        QCOMPARE(frames.at(0).payload.mid(2), image.mid(6 * 1024, 1024));
    }

    void malformedAcknowledgementsAreIgnored_data()
    {
        QTest::addColumn<quint8>("target");
        QTest::addColumn<quint8>("param");
        QTest::addColumn<quint8>("op");
        QTest::addColumn<QByteArray>("payload");
        QTest::newRow("three bytes") << quint8(1) << quint8(1) << quint8(0x80) << QByteArray("\x00\x00\x00", 3);
        QTest::newRow("one byte") << quint8(1) << quint8(1) << quint8(0x80) << QByteArray("\x00", 1);
        QTest::newRow("op 1") << quint8(1) << quint8(1) << quint8(1) << QByteArray("\x00\x00", 2);
        QTest::newRow("param 2") << quint8(1) << quint8(2) << quint8(0x80) << QByteArray("\x00\x00", 2);
        QTest::newRow("other processor") << quint8(2) << quint8(1) << quint8(0x80) << QByteArray("\x00\x00", 2);
    }
    void malformedAcknowledgementsAreIgnored()
    {
        QFETCH(quint8, target);
        QFETCH(quint8, param);
        QFETCH(quint8, op);
        QFETCH(QByteArray, payload);
        UploadRig rig;
        QVERIFY(rig.connect());
        QVERIFY(rig.uploader.start(FirmwareUploader::Arm, pattern(4096), QString()));
        rig.blocks();
        rig.acknowledge(0, target, param, op, payload);
        QVERIFY(rig.blocks().isEmpty());
        QVERIFY(rig.uploader.isActive());
    }

    void cancelStopsAtTheNextAcknowledgement()
    {
        UploadRig rig;
        QVERIFY(rig.connect());
        QSignalSpy ended(&rig.uploader, &FirmwareUploader::ended);
        QVERIFY(rig.uploader.start(FirmwareUploader::Arm, pattern(8192), QString()));
        rig.acknowledge(0);
        QCOMPARE(rig.blocks().size(), 2);
        rig.progress.cancelled = true;
        QVERIFY(ended.isEmpty()); // the unit is not told; the dialog waits for it
        rig.acknowledge(1);
        QVERIFY(rig.blocks().isEmpty());
        QCOMPARE(rig.progress.calls.last(), QStringLiteral("finish"));
        QCOMPARE(ended.size(), 1);
        QCOMPARE(ended.at(0).at(0).value<FirmwareUploader::Outcome>(), FirmwareUploader::Outcome::Cancelled);
        rig.acknowledge(2);
        QVERIFY(rig.blocks().isEmpty());
    }

    void largestImageDoesNotWrapTheBlockNumber()
    {
        UploadRig rig;
        QVERIFY(rig.connect());
        QByteArray image(int(FirmwareUploader::MaxImageSize), '\0');
        QVERIFY(rig.uploader.start(FirmwareUploader::Dsp, image, QString()));
        image.clear();
        rig.blocks();
        rig.acknowledge(65534, 2);
        QCOMPARE(rig.blocks().at(0).payload.left(2), QByteArray("\xFF\xFF", 2));
        // Block 65536 would be block 0 again on the wire: the image ends here.
        rig.acknowledge(65535, 2);
        QVERIFY(rig.blocks().isEmpty());
        QVERIFY(!rig.uploader.isActive());
    }

    void refusedImages_data()
    {
        QTest::addColumn<qint64>("size"); // -1: no such file
        QTest::addColumn<int>("check");
        QTest::newRow("missing") << qint64(-1) << int(FirmwareUploader::Check::CannotOpen);
        QTest::newRow("empty") << qint64(0) << int(FirmwareUploader::Check::Empty);
        QTest::newRow("65536 blocks and a byte")
            << FirmwareUploader::MaxImageSize + 1 << int(FirmwareUploader::Check::TooLarge);
        QTest::newRow("65536 blocks") << FirmwareUploader::MaxImageSize << int(FirmwareUploader::Check::Ok);
    }
    void refusedImages()
    {
        QFETCH(qint64, size);
        QFETCH(int, check);
        ScratchDir dir(false);
        const QString path = dir.filePath(QStringLiteral("fw.ldr"));
        if (size >= 0) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.resize(size));
        }
        QCOMPARE(int(FirmwareUploader::readImage(FirmwareUploader::Dsp, path).check), check);
    }

    void lostLinkEndsTheUpload()
    {
        UploadRig rig;
        QVERIFY(rig.connect());
        rig.link.socketStateChanged(&rig.socket, QAbstractSocket::ConnectedState);
        QSignalSpy ended(&rig.uploader, &FirmwareUploader::ended);
        QVERIFY(rig.uploader.start(FirmwareUploader::Arm, pattern(4096), QString()));
        rig.link.socketStateChanged(&rig.socket, QAbstractSocket::UnconnectedState);
        QCOMPARE(ended.size(), 1);
        QCOMPARE(ended.at(0).at(0).value<FirmwareUploader::Outcome>(), FirmwareUploader::Outcome::LinkLost);
        QCOMPARE(rig.progress.calls.last(), QStringLiteral("finish"));
    }

    // The menu procedure in the window, against the virtual unit.

    void menuRefusesBadFiles_data()
    {
        QTest::addColumn<bool>("arm");
        QTest::addColumn<QByteArray>("content"); // null: the file does not exist
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("buttons");
        QTest::newRow("bad ARM header") << true << QByteArray("\x7F\x8C\x30\x00\x04\x00\x00\x00", 8)
                                        << QStringLiteral("Bad file format")
                                        << QStringList{QStringLiteral("Yes"), QStringLiteral("No")};
        QTest::newRow("missing ARM file") << true << QByteArray() << QStringLiteral("Cannot read the firmware file")
                                          << QStringList{QStringLiteral("OK")};
        QTest::newRow("missing DSP file") << false << QByteArray() << QStringLiteral("Cannot read the firmware file")
                                          << QStringList{QStringLiteral("OK")};
        QTest::newRow("empty DSP file") << false << QByteArray("") << QStringLiteral("The firmware file is empty.")
                                        << QStringList{QStringLiteral("OK")};
    }
    void menuRefusesBadFiles()
    {
        QFETCH(bool, arm);
        QFETCH(QByteArray, content);
        QFETCH(QString, text);
        QFETCH(QStringList, buttons);
        ScratchDir dir;
        const QString path = dir.filePath(QStringLiteral("image.bin"));
        if (!content.isNull())
            dir.write(QStringLiteral("image.bin"), content);
        VirtualUnit::Options options;
        options.address = uniqueLoopback();
        options.port = 0;
        VirtualUnit unit(options);
        QVERIFY(unit.start());
        ScriptedPrompt prompt;
        prompt.fileNames = QStringList{path};
        AppOptions appOptions;
        appOptions.controlPort = unit.port();
        QSettings settings(dir.filePath(QStringLiteral("s.ini")), QSettings::IniFormat);
        mainWindow w(appOptions, &prompt, &settings);
        QTcpSocket socket;
        w.link()->setCurrentSocket(&socket, 7, options.address.toIPv4Address());
        QVERIFY(waitUntil([&] { return w.link()->isLoggedIn(); }));

        arm ? w.armUpdateClicked() : w.dspUpdateClicked();
        QCOMPARE(prompt.asked.size(), 1);
        QCOMPARE(prompt.asked.at(0).icon, Prompt::Icon::Critical);
        QCOMPARE(prompt.asked.at(0).title, QStringLiteral("Error")); // "error" as English shows it
        QVERIFY2(prompt.asked.at(0).text.startsWith(text), qPrintable(prompt.asked.at(0).text));
        QCOMPARE(prompt.asked.at(0).buttons, buttons);
        QVERIFY(!w.progressDialog()->isVisible());
        QVERIFY(!w.firmwareUpload()->uploader()->isActive());
        QCOMPARE(arm ? w.firmwareUpload()->armPath() : w.firmwareUpload()->dspPath(), path);
        w.link()->sendFrame(2, 2, 1, 0, nullptr, 0);
        QVERIFY(waitUntil([&] { return !unit.receivedMatching(2, 2, 1).isEmpty(); }));
        QVERIFY(unit.receivedMatching(1, arm ? 1 : 2, 1).isEmpty());
        w.link()->setCurrentSocket(nullptr, 0, 0);
    }

    void cancelInTheWindow()
    {
        ScratchDir dir;
        dir.write(QStringLiteral("fw.ldr"), pattern(5000));
        VirtualUnit::Options options;
        options.address = uniqueLoopback();
        options.port = 0;
        VirtualUnit unit(options);
        unit.findModule<FirmwareModule>()->acknowledge = false;
        QVERIFY(unit.start());
        ScriptedPrompt prompt;
        prompt.fileNames = QStringList{dir.filePath(QStringLiteral("fw.ldr"))};
        AppOptions appOptions;
        appOptions.controlPort = unit.port();
        QSettings settings(dir.filePath(QStringLiteral("s.ini")), QSettings::IniFormat);
        mainWindow w(appOptions, &prompt, &settings);
        QTcpSocket socket;
        w.link()->setCurrentSocket(&socket, 7, options.address.toIPv4Address());
        QVERIFY(waitUntil([&] { return w.link()->isLoggedIn(); }));
        w.dspUpdateClicked();
        QVERIFY(waitUntil([&] { return unit.receivedMatching(1, 2, 1).size() == 1; }));
        QVERIFY(w.progressDialog()->isVisible());
        QCOMPARE(w.progressDialog()->maximum(), 4);

        w.progressDialog()->cancel();
        QVERIFY(w.firmwareUpload()->uploader()->isActive()); // until the unit answers
        // The unit's acknowledgement of block 0, as it arrives on the link.
        w.link()->receive(QByteArray("\x82\x7D\x01\x00\x01\x02\x01\x80\x02\x00\x00\x00\x7D\x82", 14));
        QVERIFY(!w.firmwareUpload()->uploader()->isActive());
        QVERIFY(!w.progressDialog()->isVisible());
        QVERIFY(!w.progressDialog()->wasCanceled());
        w.link()->sendFrame(2, 2, 1, 0, nullptr, 0);
        QVERIFY(waitUntil([&] { return !unit.receivedMatching(2, 2, 1).isEmpty(); }));
        QCOMPARE(unit.receivedMatching(1, 2, 1).size(), 1);
        QVERIFY(prompt.asked.isEmpty());
        w.link()->setCurrentSocket(nullptr, 0, 0);
    }

    void imagesArriveWhole_data()
    {
        QTest::addColumn<bool>("arm");
        QTest::addColumn<int>("bodySize");
        // 1 MiB in all: the unit finds the end from the ARM head.
        QTest::newRow("ARM, 1 MiB") << true << (1 << 20) - FirmwareImage::HeadSize - FirmwareImage::TailSize;
        // The unit finds the end from the short last block.
        QTest::newRow("DSP, 300000 bytes") << false << 300000;
    }
    void imagesArriveWhole()
    {
        QFETCH(bool, arm);
        QFETCH(int, bodySize);
        ScratchDir dir;
        QByteArray body(bodySize, '\0');
        QRandomGenerator generator(42);
        generator.fillRange(reinterpret_cast<quint32 *>(body.data()), bodySize / 4);
        const QByteArray image = arm ? FirmwareImage::pack(body) : body;
        const QString name = arm ? QStringLiteral("fw.sbin") : QStringLiteral("fw.ldr");
        dir.write(name, image);

        VirtualUnit::Options options;
        options.address = uniqueLoopback();
        options.port = 0;
        VirtualUnit unit(options);
        QVERIFY(unit.start());
        ScriptedPrompt prompt;
        prompt.fileNames = QStringList{dir.filePath(name)};
        AppOptions appOptions;
        appOptions.controlPort = unit.port();
        QSettings settings(dir.filePath(QStringLiteral("s.ini")), QSettings::IniFormat);
        mainWindow w(appOptions, &prompt, &settings);
        // Before login the menu does nothing, not even ask for a file.
        w.armUpdateClicked();
        QCOMPARE(prompt.fileNames.size(), 1);

        QTcpSocket socket;
        w.link()->setCurrentSocket(&socket, 7, options.address.toIPv4Address());
        QVERIFY(waitUntil([&] { return w.link()->isLoggedIn(); }));
        arm ? w.armUpdateClicked() : w.dspUpdateClicked();
        QVERIFY(w.progressDialog()->isVisible());
        QCOMPARE(w.progressDialog()->maximum(), image.size() / 1024);

        const quint8 target = arm ? 1 : 2;
        const FirmwareModule *firmware = unit.findModule<FirmwareModule>();
        QVERIFY(waitUntil([&] { return firmware->isComplete(target); }, 60000));
        QVERIFY(waitUntil([&] { return !w.firmwareUpload()->uploader()->isActive(); }));
        QCOMPARE(firmware->imageSize(target), image.size());
        QCOMPARE(firmware->checksum(target), FirmwareModule::crc32(image));
        QVERIFY(firmware->image(target) == image);
        QCOMPARE(firmware->upload(target).outOfSequence, 0);
        QVERIFY(!w.progressDialog()->isVisible());
        QVERIFY(prompt.asked.isEmpty());
        w.link()->setCurrentSocket(nullptr, 0, 0);
    }
};

QTEST_MAIN(TestFirmware)
#include "tst_firmware.moc"
