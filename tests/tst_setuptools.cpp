// The settings page's factory tools: the factory set-up dialog and its
// record, and the firmware image packer.

#include <QComboBox>
#include <QDate>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>

#include "core/firmware/firmwareimage.h"
#include "core/link/link.h"
#include "core/records/factoryrecord.h"
#include "systemmodule.h"
#include "tabchain.h"
#include "testsupport.h"
#include "ui/pages/qoemtool.h"
#include "ui/pages/qsetup.h"
#include "virtualunit.h"

namespace {

QByteArray field20(const char *text)
{
    const QByteArray out(text);
    return out + QByteArray(20 - out.size(), '\0');
}

} // namespace

class TestSetupTools : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void serialFromDate_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("serial");
        QTest::newRow("7 December 2026") << QDate(2026, 12, 7) << "CN-0000-A34-07xx";
        QTest::newRow("1 January 2001") << QDate(2001, 1, 1) << "CN-0000-65-01xx";
        QTest::newRow("31 March 2099") << QDate(2099, 3, 31) << "CN-0000-26AF-31xx";
    }
    void serialFromDate()
    {
        QFETCH(QDate, date);
        QFETCH(QString, serial);
        QCOMPARE(QOEMTool::generateSerial(date), serial);
    }

    void clearedSerialIsRegenerated()
    {
        QOEMTool tool;
        const QString today = QOEMTool::generateSerial(QDate::currentDate());
        QCOMPARE(tool.serialEdit()->text(), today);
        tool.serialEdit()->setText(QStringLiteral("X"));
        tool.serialEdit()->clear();
        QCOMPARE(tool.serialEdit()->text(), today);
        QCOMPARE(tool.lcdLine1Edit()->text(), QStringLiteral("Hello Tonewise!"));
    }

    void recordLayout()
    {
        FactoryRecord record;
        record.model = "OVX-480";
        record.serial = "CN-0000-A34-07xx";
        record.inputs = 4;
        record.outputs = 8;
        record.lcdLine1 = "Hello Tonewise!";
        record.lcdLine2 = "Hall B";
        const QByteArray expected = field20("OVX-480") + field20("CN-0000-A34-07xx") + QByteArray("\x04\x08", 2)
            + QByteArray(7, '\0') + field20("Hello Tonewise!") + field20("Hall B");
        QCOMPARE(expected.size(), 89);
        QCOMPARE(record.encode(), expected);
        QCOMPARE(record.encode(false), expected.left(49));

        const FactoryRecord back = FactoryRecord::decode(expected);
        QCOMPARE(back.model, record.model);
        QCOMPARE(back.serial, record.serial);
        QCOMPARE(back.outputs, quint8(8));
        QCOMPARE(back.lcdLine2, record.lcdLine2);
    }

    void recordTextsKeepTheirTerminator()
    {
        FactoryRecord record;
        record.model = QByteArray(25, 'M');
        const QByteArray bytes = record.encode();
        QCOMPARE(bytes.mid(0, 19), QByteArray(19, 'M'));
        QCOMPARE(bytes.at(19), '\0');
        QCOMPARE(bytes.at(20), '\0');
    }

    void setupSendsDspModelThenRecord_data()
    {
        QTest::addColumn<QByteArray>("armVersion");
        QTest::addColumn<int>("recordSize");
        QTest::newRow("ARM V2: full record") << QByteArray("\x02\x01\x00", 3) << 89;
        QTest::newRow("ARM V1: without LCD lines") << QByteArray("\x01\x05\x00", 3) << 49;
    }
    void setupSendsDspModelThenRecord()
    {
        QFETCH(QByteArray, armVersion);
        QFETCH(int, recordSize);
        VirtualUnit::Options options;
        options.address = uniqueLoopback();
        options.port = 0;
        VirtualUnit unit(options);
        QVERIFY(unit.start());
        Link link;
        link.setControlPort(unit.port());
        QTcpSocket socket;
        ScriptedPrompt prompt;
        QSetup setup(&link, &prompt);
        setup.pollTimer()->stop();
        setup.onSystemMessage(2, 2, 0x80, 3, reinterpret_cast<const uchar *>(armVersion.constData()));
        link.setCurrentSocket(&socket, 1, options.address.toIPv4Address());
        QVERIFY(waitUntil([&] { return unit.hasClient(); }));

        QOEMTool *tool = setup.oemTool();
        QCOMPARE(tool->lcdLine1Edit()->isHidden(), recordSize != 89);
        tool->inputsEdit()->setText(QStringLiteral("4"));
        tool->outputsEdit()->setText(QStringLiteral("8"));
        tool->modelEdit()->setText(QStringLiteral("OVX-480"));
        tool->serialEdit()->setText(QStringLiteral("CN-1"));
        tool->lcdLine2Edit()->setText(QStringLiteral("Hall B"));
        tool->dspModelCombo()->setCurrentIndex(1);
        QTest::mouseClick(tool->setupButton(), Qt::LeftButton);

        QVERIFY(waitUntil([&] { return !unit.system().factoryRecord.isEmpty(); }));
        QCOMPARE(unit.system().dspModel, quint8(1));
        const QList<UnitFrame> frames = unit.received();
        int dsp = -1;
        int record = -1;
        for (int i = 0; i < frames.size(); ++i) {
            if (frames.at(i).module == 2 && frames.at(i).param == 27 && frames.at(i).op == 1)
                dsp = i;
            if (frames.at(i).module == 2 && frames.at(i).param == 80 && frames.at(i).op == 1)
                record = i;
        }
        QVERIFY(dsp >= 0 && record > dsp);
        const QByteArray full = field20("OVX-480") + field20("CN-1") + QByteArray("\x04\x08", 2) + QByteArray(7, '\0')
            + field20("Hello Tonewise!") + field20("Hall B");
        QCOMPARE(unit.system().factoryRecord, full.left(recordSize));
        link.setCurrentSocket(nullptr, 0, 0);
    }

    void packerOutput()
    {
        ScratchDir dir(false);
        QByteArray image(1000, '\0');
        for (int i = 0; i < image.size(); ++i)
            image[i] = char(i * 7);
        dir.write(QStringLiteral("fw.bin"), image);
        ScriptedPrompt prompt;
        prompt.fileNames << dir.filePath(QStringLiteral("fw.bin"));
        Link link;
        QSetup setup(&link, &prompt);
        setup.mksbinimage();
        QVERIFY(prompt.asked.isEmpty());
        const QByteArray packed = dir.read(QStringLiteral("fw.sbin"));
        QCOMPARE(packed.size(), 1012);
        QCOMPARE(packed.left(8), QByteArray("\x7F\x8C\x20\x00\xE8\x03\x00\x00", 8));
        QCOMPARE(packed.right(4), QByteArray("\xF0\x7F\x8C\xF0", 4));
        QCOMPARE(packed.mid(8, 1000), image);
        // The source is left as it was.
        QCOMPARE(dir.read(QStringLiteral("fw.bin")), image);
    }

    void packedNames_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("target");
        QTest::newRow("plain") << "/images/fw.bin" << "/images/fw.sbin";
        QTest::newRow("every .bin of the name") << "/images/fw.bin.bin" << "/images/fw.sbin.sbin";
        QTest::newRow("directories untouched") << "/a.bin/fw.bin" << "/a.bin/fw.sbin";
        QTest::newRow("no .bin: appended, never the source") << "/images/fw.BIN" << "/images/fw.BIN.sbin";
        QTest::newRow("relative") << "fw.bin" << "fw.sbin";
    }
    void packedNames()
    {
        QFETCH(QString, source);
        QFETCH(QString, target);
        QCOMPARE(FirmwareImage::packedPath(source), target);
    }

    void packerReportsFileErrors_data()
    {
        QTest::addColumn<bool>("readable");
        QTest::addColumn<QString>("message");
        QTest::newRow("source missing") << false << "Cannot read the file";
        QTest::newRow("target is a directory") << true << "Cannot write the file";
    }
    void packerReportsFileErrors()
    {
        QFETCH(bool, readable);
        QFETCH(QString, message);
        ScratchDir dir(false);
        if (readable) {
            dir.write(QStringLiteral("fw.bin"), QByteArray(10, 'x'));
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("fw.sbin")));
        }
        ScriptedPrompt prompt;
        prompt.fileNames << dir.filePath(QStringLiteral("fw.bin"));
        Link link;
        QSetup setup(&link, &prompt);
        setup.mksbinimage();
        QCOMPARE(prompt.asked.size(), 1);
        QCOMPARE(prompt.asked.at(0).title, QStringLiteral("warning"));
        QVERIFY2(prompt.asked.at(0).text.startsWith(message), qPrintable(prompt.asked.at(0).text));
    }

    void packerCancelledDoesNothing()
    {
        ScriptedPrompt prompt;
        Link link;
        QSetup setup(&link, &prompt);
        setup.mksbinimage();
        QVERIFY(prompt.asked.isEmpty());
    }

    // Tab goes down the label column, then the information and network
    // sections; the factory dialog row by row. Names carry no colon or
    // abbreviation.
    void tabStopsFollowTheLayout_data()
    {
        QTest::addColumn<bool>("factory");
        QTest::addColumn<QStringList>("expected"); // a run of stops, from its first name on
        QTest::newRow("settings labels") << false
                                         << nameList({"IN A label", "IN B label", "IN C label", "IN D label",
                                                      "OUT 1 label", "OUT 2 label"});
        QTest::newRow("settings information and network")
            << false << nameList({"OUT 8 label", "Location", "Description", "Panel lock", "IP address", "Subnet mask",
                                  "Gateway"});
        QTest::newRow("factory setup") << true
                                       << nameList({"Number of inputs", "Number of outputs", "LCD line 1", "LCD line 2",
                                                    "Model", "Serial number", "DSP model", "Setup"});
    }
    void tabStopsFollowTheLayout()
    {
        QFETCH(bool, factory);
        QFETCH(QStringList, expected);
        Link link;
        QSetup setup(&link, nullptr);
        setup.pollTimer()->stop();
        QOEMTool tool;
        const QStringList names = tabStopNames(factory ? static_cast<QWidget *>(&tool) : &setup);
        const int from = names.indexOf(expected.first());
        QVERIFY2(from >= 0, qPrintable(names.join(QLatin1String(" | "))));
        QCOMPARE(names.mid(from, expected.size()), expected);
    }
};

QTEST_MAIN(TestSetupTools)
#include "tst_setuptools.moc"
