// Unit-level (class 2) reports as the settings page decodes them, its
// polling, and the sets it sends.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>

#include "core/link/link.h"
#include "testsupport.h"
#include "ui/pages/qsetup.h"
#include "virtualunit.h"

namespace {

struct Sent
{
    quint8 module;
    quint8 param;
};

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

void feed(QSetup &setup, quint8 module, quint8 param, const QByteArray &payload, quint8 op = 0x80)
{
    setup.onSystemMessage(module, param, op, quint16(payload.size()),
                          reinterpret_cast<const uchar *>(payload.constData()));
}

QString shown(QSetup &setup, const QString &name)
{
    if (auto *label = setup.findChild<QLabel *>(name))
        return label->text();
    if (name == QLatin1String("location"))
        return setup.locationEdit()->text();
    if (name == QLatin1String("ip"))
        return setup.ipEdit()->text();
    if (name == QLatin1String("mask"))
        return setup.maskEdit()->text();
    if (name == QLatin1String("inLabel1"))
        return setup.inLabelEdit(1)->text();
    if (name == QLatin1String("outLabel7"))
        return setup.outLabelEdit(7)->text();
    if (name == QLatin1String("lcdPage"))
        return setup.lcdPageCombo()->currentText();
    if (name == QLatin1String("panelLock"))
        return setup.panelLockCombo()->currentText();
    return QStringLiteral("<no widget %1>").arg(name);
}

// A settings page whose link is connected to a virtual unit on loopback.
struct Connected
{
    VirtualUnit unit;
    Link link;
    QTcpSocket socket;
    ScriptedPrompt prompt;
    QSetup setup;

    static VirtualUnit::Options options()
    {
        VirtualUnit::Options o;
        o.address = uniqueLoopback();
        o.port = 0;
        return o;
    }

    Connected()
        : unit(options())
        , setup(&link, &prompt)
    {
        setup.pollTimer()->stop();
    }

    bool connect()
    {
        if (!unit.start())
            return false;
        link.setControlPort(unit.port());
        link.setCurrentSocket(&socket, 1, unit.address().toIPv4Address());
        if (!waitUntil([this] { return socket.state() == QAbstractSocket::ConnectedState && unit.hasClient(); }))
            return false;
        unit.clearReceived();
        return true;
    }

    // Waits until the unit has seen `count` frames and returns them.
    QList<UnitFrame> frames(int count)
    {
        waitUntil([&] { return unit.received().size() >= count; }, 3000);
        QTest::qWait(20);
        return unit.received();
    }

    ~Connected() { link.setCurrentSocket(nullptr, 0, 0); }
};

} // namespace

class TestSysMessages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decode_data()
    {
        // Each row feeds frames "module/param/op:hexpayload" in turn and reads one display.
        QTest::addColumn<QByteArrayList>("frames");
        QTest::addColumn<QString>("widget");
        QTest::addColumn<QString>("expected");

        QTest::newRow("model text") << QByteArrayList{"2/1:4f56582d34383000"} << "valueModel" << "OVX-480";
        QTest::newRow("model text without NUL") << QByteArrayList{"2/1:4142"} << "valueModel" << "AB";
        QTest::newRow("ARM version") << QByteArrayList{"2/2:01041a"} << "valueArmVer" << "V1.4.26";
        QTest::newRow("version 0.0.0 shows empty") << QByteArrayList{"2/2:010203", "2/2:000000"} << "valueArmVer" << "";
        QTest::newRow("short version ignored") << QByteArrayList{"2/2:010203", "2/2:0409"} << "valueArmVer" << "V1.2.3";
        QTest::newRow("DSP model 1 suffix") << QByteArrayList{"2/27:01", "2/3:010203"} << "valueDspVer" << "V1.2.3-2906";
        QTest::newRow("DSP model 0 suffix, model after version")
            << QByteArrayList{"2/3:010203", "2/27:00"} << "valueDspVer" << "V1.2.3-5310";
        QTest::newRow("DSP model 7: no suffix") << QByteArrayList{"2/27:07", "2/3:010203"} << "valueDspVer" << "V1.2.3";
        QTest::newRow("DSP model of two bytes ignored")
            << QByteArrayList{"2/3:010203", "2/27:0100"} << "valueDspVer" << "V1.2.3";
        QTest::newRow("serial") << QByteArrayList{"2/4:434e2d3100"} << "valueSerial" << "CN-1";
        QTest::newRow("channel configuration 0x0804") << QByteArrayList{"2/5:0408"} << "valueChannelCfg" << "0408";
        QTest::newRow("run time 1d 1h 1m 1s") << QByteArrayList{"2/6:cd5f0100"} << "valueRunTime" << "1 day(s) 01:01:01";
        QTest::newRow("total time 0") << QByteArrayList{"2/7:00000000"} << "valueTotalTime" << "0 day(s) 00:00:00";
        QTest::newRow("boot count") << QByteArrayList{"2/8:2a000000"} << "valueBootCounts" << "42";
        QTest::newRow("temperature 41.5") << QByteArrayList{"2/9:00002642"} << "valueCpuTemp" << "41.5";
        QTest::newRow("location") << QByteArrayList{"2/10:48616c6c00"} << "location" << "Hall";
        QTest::newRow("location of another op ignored")
            << QByteArrayList{"2/10/1:48616c6c00"} << "location" << "";
        QTest::newRow("network: IP") << QByteArrayList{"2/12:1401a8c000ffffff0101a8c0"} << "ip" << "192.168.1.20";
        QTest::newRow("network: mask") << QByteArrayList{"2/12:1401a8c000ffffff0101a8c0"} << "mask" << "255.255.255.0";
        QTest::newRow("network of 11 bytes ignored") << QByteArrayList{"2/12:1401a8c000ffffff0101a8"} << "ip" << "0.0.0.0";
        QTest::newRow("fault 0x09: DSP") << QByteArrayList{"2/13:09"} << "valueFaultDsp" << "ERROR";
        QTest::newRow("fault 0x09: Flash") << QByteArrayList{"2/13:09"} << "valueFaultFlash" << "Normal";
        QTest::newRow("fault 0x09: DAC") << QByteArrayList{"2/13:09"} << "valueFaultDac" << "ERROR";
        QTest::newRow("fault 0x09: Temp") << QByteArrayList{"2/13:09"} << "valueFaultTemp" << "Normal";
        QTest::newRow("fault 0x04: Temp") << QByteArrayList{"2/13:04"} << "valueFaultTemp" << "ERROR";
        QTest::newRow("panel lock") << QByteArrayList{"2/20:01"} << "panelLock" << "Yes";
        QTest::newRow("LCD page 0xFF is Polling") << QByteArrayList{"2/22:02", "2/22:ff"} << "lcdPage" << "Polling";
        QTest::newRow("LCD page 5") << QByteArrayList{"2/22:05"} << "lcdPage" << "Fixed on run time";
        QTest::newRow("LCD page out of range ignored")
            << QByteArrayList{"2/22:01", "2/22:09"} << "lcdPage" << "Fixed on IP address";
        QTest::newRow("device id is signed") << QByteArrayList{"2/26:fbffffff"} << "valueDeviceId" << "-5";
        QTest::newRow("code number a-c-b") << QByteArrayList{"4/1:3930a6020200"} << "valueCode" << "12345-2-00678";
        QTest::newRow("input label 16 bytes without NUL")
            << QByteArrayList{"3/1:" + QByteArray(16, '\0').toHex() + QByteArray("ABCDEFGHIJKLMNOP").toHex()
                           + QByteArray(32, '\0').toHex()}
            << "inLabel1" << "ABCDEFGHIJKLMNOP";
        QTest::newRow("output label 8") << QByteArrayList{"3/2:" + QByteArray(112, '\0').toHex() + "5375620000000000"
                                                       + QByteArray(8, '\0').toHex()}
                                        << "outLabel7" << "Sub";
        QTest::newRow("labels of 63 bytes ignored")
            << QByteArrayList{"3/1:" + QByteArray(16, '\0').toHex() + QByteArray("Kick").toHex()
                           + QByteArray(43, '\0').toHex()}
            << "inLabel1" << "";
    }
    void decode()
    {
        QFETCH(QByteArrayList, frames);
        QFETCH(QString, widget);
        QFETCH(QString, expected);
        Link link;
        ScriptedPrompt prompt;
        QSetup setup(&link, &prompt);
        for (const QByteArray &f : frames) {
            const QByteArrayList headPayload = f.split(':');
            const QByteArrayList head = headPayload.at(0).split('/');
            const quint8 op = head.size() > 2 ? quint8(head.at(2).toUInt(nullptr, 16)) : 0x80;
            feed(setup, quint8(head.at(0).toUInt()), quint8(head.at(1).toUInt()),
                 QByteArray::fromHex(headPayload.at(1)), op);
        }
        QCOMPARE(shown(setup, widget), expected);
    }

    void faultStylesAndSignalOnChangeOnly()
    {
        Link link;
        ScriptedPrompt prompt;
        QSetup setup(&link, &prompt);
        QSignalSpy fault(&setup, &QSetup::sigFault);
        feed(setup, 2, 13, hex("08"));
        feed(setup, 2, 13, hex("08"));
        QCOMPARE(fault.size(), 1);
        QCOMPARE(fault.at(0).at(0).value<uchar>(), uchar(0x08));
        QCOMPARE(setup.faultByte(), uchar(0x08));
        QCOMPARE(setup.findChild<QLabel *>(QStringLiteral("valueFaultDac"))->styleSheet(),
                 QStringLiteral("color: rgb(204, 0, 0);"));
        QCOMPARE(setup.findChild<QLabel *>(QStringLiteral("valueFaultDsp"))->styleSheet(),
                 QStringLiteral("color:rgb(167, 167, 167);"));

        // Losing the unit clears the fault, and says so once.
        setup.resetDisplays();
        QCOMPARE(fault.size(), 2);
        QCOMPARE(fault.at(1).at(0).value<uchar>(), uchar(0));
        QCOMPARE(setup.findChild<QLabel *>(QStringLiteral("valueFaultDac"))->text(), QStringLiteral("Normal"));
    }

    void signalsToTheOverview()
    {
        Link link;
        ScriptedPrompt prompt;
        QSetup setup(&link, &prompt);
        QSignalSpy arm(&setup, &QSetup::sigArmVer);
        QSignalSpy model(&setup, &QSetup::sigModel);
        QSignalSpy allMute(&setup, &QSetup::sigAllMute);
        QSignalSpy ip(&setup, &QSetup::sigIpaddr);
        QSignalSpy load(&setup, &QSetup::sigDspRes);
        QSignalSpy inLabel(&setup, &QSetup::sigInLabelChanged);
        for (int i = 0; i < 2; ++i) {
            feed(setup, 2, 2, hex("020100"));
            feed(setup, 2, 1, hex("4100"));
            feed(setup, 2, 15, hex("01"));
            feed(setup, 2, 12, hex("0100007f000000ff0100007f"));
            feed(setup, 2, 16, hex("0000bc410000f841"));
            feed(setup, 3, 1, hex("4b69636b") + QByteArray(60, '\0'));
        }
        // The ARM version drives the page set and all-mute the overview's own
        // flag: both on every report. The rest only on change.
        QCOMPARE(arm.size(), 2);
        QCOMPARE(allMute.size(), 2);
        QCOMPARE(model.size(), 1);
        QCOMPARE(ip.size(), 1);
        QCOMPARE(ip.at(0).at(0).toUInt(), 0x7F000001u);
        QCOMPARE(load.size(), 1);
        QCOMPARE(load.at(0).at(0).toFloat(), 23.5f);
        QCOMPARE(load.at(0).at(1).toFloat(), 31.0f);
        QCOMPARE(inLabel.size(), 1);
        QCOMPARE(inLabel.at(0).at(1).toString(), QStringLiteral("Kick"));
    }

    void resetKeepsCountersAndClearsIdentity()
    {
        Link link;
        ScriptedPrompt prompt;
        QSetup setup(&link, &prompt);
        feed(setup, 2, 1, hex("4100"));
        feed(setup, 2, 27, hex("00"));
        feed(setup, 2, 3, hex("010203"));
        feed(setup, 2, 12, hex("0100007f000000ff0100007f"));
        feed(setup, 2, 10, hex("4800"));
        feed(setup, 2, 8, hex("07000000"));
        setup.resetDisplays();
        QCOMPARE(shown(setup, QStringLiteral("valueModel")), QString());
        QCOMPARE(shown(setup, QStringLiteral("valueDspVer")), QString());
        QCOMPARE(shown(setup, QStringLiteral("ip")), QStringLiteral("0.0.0.0"));
        QCOMPARE(shown(setup, QStringLiteral("location")), QString());
        QCOMPARE(shown(setup, QStringLiteral("valueBootCounts")), QStringLiteral("7"));
        // After the reset the DSP model is "none": the same version shows no suffix.
        feed(setup, 2, 3, hex("010203"));
        QCOMPARE(shown(setup, QStringLiteral("valueDspVer")), QStringLiteral("V1.2.3"));
    }

    void lcdPageRowFollowsArmVersion_data()
    {
        QTest::addColumn<QByteArray>("version");
        QTest::addColumn<bool>("shown");
        QTest::newRow("V1.4.25") << hex("010419") << false;
        QTest::newRow("V1.4.26") << hex("01041a") << true;
        QTest::newRow("V1.5.0") << hex("010500") << true;
        QTest::newRow("V2.0.0") << hex("020000") << false;
    }
    void lcdPageRowFollowsArmVersion()
    {
        QFETCH(QByteArray, version);
        QFETCH(bool, shown);
        Link link;
        ScriptedPrompt prompt;
        QSetup setup(&link, &prompt);
        feed(setup, 2, 2, version);
        QCOMPARE(setup.lcdPageRowShown(), shown);
    }

    void pollingOrder_data()
    {
        QTest::addColumn<bool>("visible");
        QTest::newRow("settings page hidden") << false;
        QTest::newRow("settings page shown") << true;
    }
    void pollingOrder()
    {
        QFETCH(bool, visible);
        Connected c;
        QVERIFY(c.connect());
        if (visible)
            c.setup.show();
        QList<QPair<int, int>> expected;
        for (int i = 0; i < 10; ++i)
            expected << qMakePair(2, 15);
        for (int p : {1, 2, 3, 27, 10, 11, 16, 12, 13})
            expected << qMakePair(2, p);
        if (visible) {
            for (int p : {4, 6, 7, 8, 9, 5})
                expected << qMakePair(2, p);
            expected << qMakePair(4, 1);
            for (int p : {20, 26, 22})
                expected << qMakePair(2, p);
            expected << qMakePair(3, 1) << qMakePair(3, 2);
        }
        for (int i = 0; i < 10; ++i)
            c.setup.timeOut100ms();
        const QList<UnitFrame> frames = c.frames(expected.size());
        QList<QPair<int, int>> got;
        for (const UnitFrame &f : frames) {
            QCOMPARE(int(f.cls), 2);
            QCOMPARE(int(f.op), 0);
            QVERIFY(f.payload.isEmpty());
            got << qMakePair(int(f.module), int(f.param));
        }
        QCOMPARE(got, expected);
    }

    void loginQueries()
    {
        Connected c;
        QVERIFY(c.connect());
        c.setup.queryAfterLogin();
        const QList<UnitFrame> frames = c.frames(4);
        QCOMPARE(frames.size(), 4);
        const QList<QPair<int, int>> expected = {{3, 1}, {3, 2}, {2, 2}, {2, 22}};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(qMakePair(int(frames.at(i).module), int(frames.at(i).param)), expected.at(i));
    }

    void sets_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("module");
        QTest::addColumn<int>("param");
        QTest::addColumn<QByteArray>("payload");
        QTest::newRow("location") << "location" << 2 << 10 << QByteArray("Stage");
        QTest::newRow("description") << "description" << 2 << 11 << QByteArray("Fill");
        QTest::newRow("input label B") << "inLabel" << 3 << 1 << QByteArray("\x01Kick", 5);
        QTest::newRow("output label 8") << "outLabel" << 3 << 2 << QByteArray("\x07Sub", 4);
        QTest::newRow("IP address: all three") << "ip" << 2 << 12 << hex("1401a8c0000000ff0100007f");
        QTest::newRow("panel lock Yes") << "panelLock" << 2 << 20 << hex("01");
        QTest::newRow("LCD page Polling is -1") << "lcdPolling" << 2 << 22 << hex("ff");
        QTest::newRow("LCD page fixed on preset") << "lcdPreset" << 2 << 22 << hex("04");
    }
    void sets()
    {
        QFETCH(QString, action);
        QFETCH(int, module);
        QFETCH(int, param);
        QFETCH(QByteArray, payload);
        Connected c;
        QVERIFY(c.connect());
        // Known network settings first: 127.0.0.1 / 255.0.0.0 / 127.0.0.1.
        feed(c.setup, 2, 12, hex("0100007f000000ff0100007f"));
        feed(c.setup, 2, 22, hex("02"));
        c.setup.show();
        QLineEdit *edit = nullptr;
        QString text;
        if (action == QLatin1String("location")) {
            edit = c.setup.locationEdit();
            text = QStringLiteral("Stage");
        } else if (action == QLatin1String("description")) {
            edit = c.setup.descriptionEdit();
            text = QStringLiteral("Fill");
        } else if (action == QLatin1String("inLabel")) {
            edit = c.setup.inLabelEdit(1);
            text = QStringLiteral("Kick");
        } else if (action == QLatin1String("outLabel")) {
            edit = c.setup.outLabelEdit(7);
            text = QStringLiteral("Sub");
        } else if (action == QLatin1String("ip")) {
            edit = c.setup.ipEdit();
            text = QStringLiteral("192.168.1.20");
        } else if (action == QLatin1String("panelLock")) {
            c.setup.panelLockCombo()->setCurrentIndex(1);
        } else if (action == QLatin1String("lcdPolling")) {
            c.setup.lcdPageCombo()->setCurrentIndex(0);
        } else if (action == QLatin1String("lcdPreset")) {
            c.setup.lcdPageCombo()->setCurrentIndex(5);
        }
        if (edit) {
            edit->setFocus();
            edit->selectAll();
            QTest::keyClicks(edit, text);
            QTest::keyClick(edit, Qt::Key_Return);
        }
        const QList<UnitFrame> frames = c.frames(1);
        QCOMPARE(frames.size(), 1);
        QCOMPARE(int(frames.at(0).cls), 2);
        QCOMPARE(int(frames.at(0).module), module);
        QCOMPARE(int(frames.at(0).param), param);
        QCOMPARE(int(frames.at(0).op), 1);
        QCOMPARE(frames.at(0).payload, payload);
    }

    void reportsDoNotEcho()
    {
        Connected c;
        QVERIFY(c.connect());
        c.setup.show();
        feed(c.setup, 2, 20, hex("01"));
        feed(c.setup, 2, 22, hex("03"));
        feed(c.setup, 3, 1, QByteArray("Vox") + QByteArray(61, '\0'));
        feed(c.setup, 2, 12, hex("0100007f000000ff0100007f"));
        QCOMPARE(c.setup.panelLockCombo()->currentIndex(), 1);
        QCOMPARE(c.setup.lcdPageCombo()->currentIndex(), 4);
        QTest::qWait(100);
        QVERIFY(c.unit.received().isEmpty());
    }

    void networkEntries()
    {
        Connected c;
        QVERIFY(c.connect());
        c.setup.show();
        feed(c.setup, 2, 12, hex("0100007f000000ff0100007f"));
        QLineEdit *ip = c.setup.ipEdit();

        // Leaving the field unchanged must not make the unit re-apply its network.
        ip->setFocus();
        QTest::keyClick(ip, Qt::Key_Return);
        // Text the validator let through but that is no address is put back.
        ip->setText(QStringLiteral("10.0.0.0001"));
        Q_EMIT ip->editingFinished();
        QCOMPARE(ip->text(), QStringLiteral("127.0.0.1"));
        QTest::qWait(100);
        QVERIFY(c.unit.received().isEmpty());
    }

    void validators_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("acceptable");
        QTest::newRow("IP refuses multicast 224.0.0.1") << "ip" << "224.0.0.1" << false;
        QTest::newRow("IP takes 223.255.255.254") << "ip" << "223.255.255.254" << true;
        QTest::newRow("IP refuses 256 in the last octet") << "ip" << "10.0.0.256" << false;
        QTest::newRow("gateway refuses 255.255.255.255") << "gateway" << "255.255.255.255" << false;
        QTest::newRow("mask takes 255.255.255.0") << "mask" << "255.255.255.0" << true;
        QTest::newRow("mask refuses three octets") << "mask" << "255.255.255" << false;
    }
    void validators()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(bool, acceptable);
        Link link;
        ScriptedPrompt prompt;
        QSetup setup(&link, &prompt);
        QLineEdit *edit = field == QLatin1String("ip") ? setup.ipEdit()
            : field == QLatin1String("mask")           ? setup.maskEdit()
                                                       : setup.gatewayEdit();
        QString input = text;
        int pos = 0;
        QCOMPARE(edit->validator()->validate(input, pos) == QValidator::Acceptable, acceptable);
    }

    void fieldLengths()
    {
        Link link;
        ScriptedPrompt prompt;
        QSetup setup(&link, &prompt);
        setup.show();
        setup.locationEdit()->setFocus();
        QTest::keyClicks(setup.locationEdit(), QStringLiteral("ABCDEFGHIJKLMNOPQ"));
        QCOMPARE(setup.locationEdit()->text(), QStringLiteral("ABCDEFGHIJKLMNOP"));
        QCOMPARE(setup.ipEdit()->maxLength(), 15);
        QCOMPARE(setup.inLabelEdit(0)->maxLength(), 16);
    }
};

QTEST_MAIN(TestSysMessages)
#include "tst_sysmessages.moc"
