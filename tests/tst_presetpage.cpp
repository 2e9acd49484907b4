// The "Preset" page: the slot list and its highlight, names, confirmed
// actions, and the six unit-led transfers driven reply by reply, with the
// frames the page sends written out from the message table.

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextCodec>
#include <QtEndian>
#include <QtTest>

#include "core/firmware/progresssteps.h"
#include "routingrig.h"
#include "tabchain.h"
#include "ui/pages/qpreset.h"

namespace {

class RecordingProgress : public ProgressSteps
{
public:
    QStringList log;
    bool cancelled = false;

    void start(int maximum, const QString &label) override
    {
        cancelled = false;
        log << QStringLiteral("start %1 %2").arg(maximum).arg(label);
    }
    int step(int value) override
    {
        if (cancelled) {
            cancelled = false;
            log << QStringLiteral("cancelled");
            return -1;
        }
        log << QStringLiteral("step %1").arg(value);
        return 0;
    }
    void finish() override { log << QStringLiteral("finish"); }
    bool wasCancelled() const override { return cancelled; }
};

// Answers the offline save dialog with a path and the kind chosen.
class FilterPrompt : public ScriptedPrompt
{
public:
    QString filter;
    QString lastFilters;

    QString saveFileNameAndFilter(QWidget *, const QString &, const QString &, const QString &filters,
                                  QString *selected) override
    {
        lastFilters = filters;
        *selected = filter;
        return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
    }
};

struct PresetRig : PageRig<QPreset>
{
    FilterPrompt prompt;
    RecordingProgress progress;
    ScratchDir dir;

    PresetRig()
    {
        page.setPrompt(&prompt);
        page.setProgress(&progress);
        page.show();
    }

    // Module-32 frames sent since the last call, as "param/op:payload".
    QStringList presetFrames()
    {
        QStringList out;
        for (const UnitFrame &f : sent()) {
            if (f.cls == 3 && f.module == 32)
                out << QStringLiteral("%1/%2:%3").arg(f.param).arg(f.op).arg(QString::fromLatin1(f.payload.toHex()));
        }
        return out;
    }
    QList<UnitFrame> presetFrameList()
    {
        QList<UnitFrame> out;
        for (const UnitFrame &f : sent()) {
            if (f.cls == 3 && f.module == 32)
                out << f;
        }
        return out;
    }
};

QByteArray u32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian<quint32>(value, bytes.data());
    return bytes;
}

QByteArray u16(quint16 value)
{
    QByteArray bytes(2, '\0');
    qToLittleEndian<quint16>(value, bytes.data());
    return bytes;
}

QString hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex());
}

// A slot-list report: current slot byte, then used flag and 16 name bytes
// for each of the 32 slots.
QByteArray slotList(quint8 current, const QMap<int, QByteArray> &used = {})
{
    QByteArray out(1, char(current));
    for (int s = 0; s < 32; ++s) {
        out.append(char(used.contains(s) ? 1 : 0));
        out.append(used.value(s).leftJustified(16, '\0', true));
    }
    return out;
}

// Bytes whose pattern does not repeat every 64 KiB, so a transfer that
// wraps its offset cannot produce the right file.
QByteArray pattern(int size)
{
    QByteArray out(size, '\0');
    for (int i = 0; i < size; ++i)
        out[i] = char((i * 7 + i / 251 + i / 65536 * 13) & 0xFF);
    return out;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int styledCurrent(const QPreset &page)
{
    int found = -1;
    for (int s = 0; s < QPreset::Slots; ++s) {
        if (page.slotButton(s, QPreset::RecallButton)->styleSheet() == QPreset::CurrentRecallStyle) {
            if (found >= 0)
                return -2; // more than one highlighted
            found = s;
        }
    }
    return found;
}

bool haveGb2312()
{
    return QString::fromUtf8("一").toLocal8Bit() == QByteArray("\xd2\xbb");
}

} // namespace

class TestPresetPage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // The application runs with the GB2312 local code page.
        if (QTextCodec *codec = QTextCodec::codecForName("GB2312"))
            QTextCodec::setCodecForLocale(codec);
    }

    void pollsTheSlotListEvery200msWhileShown()
    {
        PresetRig rig;
        QVERIFY(rig.connect());
        rig.tick(9);
        QCOMPARE(rig.presetFrames(), QStringList());
        rig.tick(1);
        QCOMPARE(rig.presetFrames(), QStringList{QStringLiteral("1/0:")});
        rig.page.hide();
        rig.tick(20);
        QCOMPARE(rig.presetFrames(), QStringList());
    }

    void currentSlotHighlight_data()
    {
        QTest::addColumn<QList<int>>("reports");
        QTest::addColumn<int>("current");
        QTest::newRow("a slot") << QList<int>{5} << 5;
        QTest::newRow("0xFF clears") << QList<int>{5, 0xFF} << -1;
        QTest::newRow("0x80 clears") << QList<int>{5, 0x80} << -1;
        QTest::newRow("40 leaves it") << QList<int>{5, 40} << 5;
        QTest::newRow("32 leaves it") << QList<int>{7, 32} << 7;
        QTest::newRow("moves on") << QList<int>{5, 31} << 31;
        QTest::newRow("first slot") << QList<int>{0xFF, 0} << 0;
    }
    void currentSlotHighlight()
    {
        QFETCH(QList<int>, reports);
        QFETCH(int, current);
        PresetRig rig;
        for (int byte : reports)
            rig.report(1, slotList(quint8(byte)));
        QCOMPARE(rig.page.currentSlot(), current);
        QCOMPARE(styledCurrent(rig.page), current);
    }

    void usedSlotsOfferRecallExportDelete()
    {
        PresetRig rig;
        rig.report(1, slotList(0xFF, {{0, "A"}, {7, "B"}}));
        for (int s = 0; s < QPreset::Slots; ++s) {
            const bool used = s == 0 || s == 7;
            QCOMPARE(rig.page.isUsed(s), used);
            QCOMPARE(rig.page.slotButton(s, QPreset::RecallButton)->isEnabled(), used);
            QCOMPARE(rig.page.slotButton(s, QPreset::ExportButton)->isEnabled(), used);
            QCOMPARE(rig.page.slotButton(s, QPreset::DeleteButton)->isEnabled(), used);
            QVERIFY(rig.page.slotButton(s, QPreset::SaveButton)->isEnabled());
            QVERIFY(rig.page.slotButton(s, QPreset::ImportButton)->isEnabled());
            QVERIFY(rig.page.nameEdit(s)->isEnabled());
        }
        rig.report(1, slotList(0xFF, {{0, "A"}}));
        QVERIFY(!rig.page.slotButton(7, QPreset::RecallButton)->isEnabled());
        QVERIFY(!rig.page.slotButton(7, QPreset::DeleteButton)->isEnabled());
    }

    void namesAsTheUnitSendsThem_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("16 bytes without terminator") << QByteArray("ABCDEFGHIJKLMNOP") << "ABCDEFGHIJKLMNOP";
        QTest::newRow("NUL padded") << QByteArray("Stage\0xyz", 9) << "Stage";
        QTest::newRow("empty") << QByteArray() << "";
        QTest::newRow("GB2312") << QByteArray("\xce\xe8\xcc\xa8") << QString::fromUtf8("舞台");
    }
    void namesAsTheUnitSendsThem()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        if (!bytes.isEmpty() && uchar(bytes.at(0)) >= 0x80 && !haveGb2312())
            QSKIP("no GB2312 codec");
        PresetRig rig;
        rig.report(1, slotList(0xFF, {{12, bytes}}));
        QCOMPARE(rig.page.nameEdit(12)->text(), shown);
    }

    void renaming_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("sent");  // param 5 payload, empty: nothing sent
        QTest::addColumn<bool>("refused");  // the "Preset" box
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << "Stage" << QStringLiteral("03") + hex("Stage") << false << "Stage";
        QTest::newRow("16 bytes") << "ABCDEFGHIJKLMNOP" << QStringLiteral("03") + hex("ABCDEFGHIJKLMNOP") << false
                                  << "ABCDEFGHIJKLMNOP";
        QTest::newRow("empty puts the name back") << "" << "" << false << "Old";
        QTest::newRow("8 two-byte characters") << QString::fromUtf8("一二三四五六七八")
                                               << "03d2bbb6fec8fdcbc4cee5c1f9c6dfb0cb" << false
                                               << QString::fromUtf8("一二三四五六七八");
        QTest::newRow("9 two-byte characters: 18 bytes") << QString::fromUtf8("一二三四五六七八九") << "" << true
                                                         << "Old";
        QTest::newRow("8 two-byte and one more: 17 bytes") << QString::fromUtf8("一二三四五六七八") + QLatin1Char('x')
                                                           << "" << true << "Old";
    }
    void renaming()
    {
        QFETCH(QString, typed);
        QFETCH(QString, sent);
        QFETCH(bool, refused);
        QFETCH(QString, shown);
        if (typed.toLatin1() != typed.toUtf8() && !haveGb2312())
            QSKIP("no GB2312 codec");
        PresetRig rig;
        QVERIFY(rig.connect());
        rig.report(1, slotList(0xFF, {{3, "Old"}}));
        QLineEdit *edit = rig.page.nameEdit(3);
        edit->setFocus();
        edit->setText(typed);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(rig.presetFrames(), sent.isEmpty() ? QStringList() : QStringList{QStringLiteral("5/1:") + sent});
        QCOMPARE(edit->text(), shown);
        QVERIFY(!edit->hasFocus());
        QCOMPARE(rig.prompt.asked.size(), refused ? 1 : 0);
        if (refused) {
            QCOMPARE(rig.prompt.asked.at(0).title, QStringLiteral("Preset"));
            QCOMPARE(rig.prompt.asked.at(0).text,
                     QStringLiteral("The preset name's length can not be greater than 16 bytes, please enter again!"));
            QCOMPARE(rig.prompt.asked.at(0).buttons, QStringList{QStringLiteral("OK")});
        }
        // The handler is back for the next entry.
        edit->setFocus();
        edit->setText(QStringLiteral("Next"));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(rig.presetFrames(), QStringList{QStringLiteral("5/1:03") + hex("Next")});
    }

    // Each question names the slot; those that overwrite or erase something
    // default to "No", so Enter alone changes nothing there.
    void confirmedActions_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("defaultButton");
        QTest::addColumn<QString>("frame");
        const int save = QPreset::SaveButton, recall = QPreset::RecallButton, erase = QPreset::DeleteButton;
        const int enter = ScriptedPrompt::Enter;
        // The question, then the slot: number and stored name.
        auto live = [](const char *question) -> QString {
            return QString::fromLatin1(question) + QLatin1String("\nPreset 10 \"Live\"");
        };
        QTest::newRow("save yes") << 9 << save << 0 << live("Save preset?") << 1 << "2/1:09";
        QTest::newRow("save no") << 9 << save << 1 << live("Save preset?") << 1 << "";
        QTest::newRow("save over a preset, Enter") << 9 << save << enter << live("Save preset?") << 1 << "";
        QTest::newRow("save into an empty slot, Enter")
            << 2 << save << enter << "Save preset?\nPreset 3" << 0 << "2/1:02";
        QTest::newRow("recall yes") << 9 << recall << 0 << live("Recall preset?") << 1 << "9/1:09";
        QTest::newRow("recall closed") << 9 << recall << -1 << live("Recall preset?") << 1 << "";
        QTest::newRow("recall, Enter") << 9 << recall << enter << live("Recall preset?") << 1 << "";
        QTest::newRow("delete yes") << 9 << erase << 0 << live("Erase preset?") << 1 << "4/1:09";
        QTest::newRow("delete no") << 9 << erase << 1 << live("Erase preset?") << 1 << "";
        QTest::newRow("delete, Enter") << 9 << erase << enter << live("Erase preset?") << 1 << "";
    }
    void confirmedActions()
    {
        QFETCH(int, slot);
        QFETCH(int, button);
        QFETCH(int, answer);
        QFETCH(QString, text);
        QFETCH(int, defaultButton);
        QFETCH(QString, frame);
        PresetRig rig;
        QVERIFY(rig.connect());
        rig.report(1, slotList(0xFF, {{9, "Live"}}));
        rig.prompt.answers = {answer};
        QTest::mouseClick(rig.page.slotButton(slot, QPreset::SlotButton(button)), Qt::LeftButton);
        QCOMPARE(rig.prompt.asked.size(), 1);
        QCOMPARE(rig.prompt.asked.at(0).icon, Prompt::Icon::Warning);
        QCOMPARE(rig.prompt.asked.at(0).title, QStringLiteral("warning"));
        QCOMPARE(rig.prompt.asked.at(0).text, text);
        QCOMPARE(rig.prompt.asked.at(0).buttons, (QStringList{QStringLiteral("Yes"), QStringLiteral("No")}));
        QCOMPARE(rig.prompt.asked.at(0).defaultButton, defaultButton);
        QCOMPARE(rig.presetFrames(), frame.isEmpty() ? QStringList() : QStringList{frame});
    }

    void recallProgress()
    {
        PresetRig rig;
        for (int value : {0, 40, 99, 100, 101})
            rig.report(9, QByteArray(1, char(value)));
        rig.report(9, QByteArray());
        QCOMPARE(rig.progress.log,
                 (QStringList{QStringLiteral("start 100 "), QStringLiteral("step 40"),
                              QStringLiteral("step 99"), QStringLiteral("finish")}));
    }

    void exportOneSlot_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("three chunks") << 2500;
        QTest::newRow("one whole chunk") << 1024;
        QTest::newRow("above 64 KiB") << 70000;
        QTest::newRow("empty image") << 0;
    }
    void exportOneSlot()
    {
        QFETCH(int, size);
        PresetRig rig;
        QVERIFY(rig.connect());
        const QString path = rig.dir.filePath(QStringLiteral("slot.pst1"));
        const QByteArray image = pattern(size);
        rig.report(1, slotList(0xFF, {{2, "Two"}}));
        rig.prompt.fileNames = QStringList{path};
        QTest::mouseClick(rig.page.slotButton(2, QPreset::ExportButton), Qt::LeftButton);
        QCOMPARE(rig.presetFrames(), QStringList{QStringLiteral("10/1:02")});

        rig.report(10, u32(quint32(size)));
        QCOMPARE(rig.progress.log.value(0), QStringLiteral("start %1 Export to PC...").arg(size));
        // The first request asks for a whole chunk; the unit sends what it has.
        QStringList frames = rig.presetFrames();
        QCOMPARE(frames, QStringList{QStringLiteral("12/1:00040000")});
        int offset = 0;
        while (true) {
            const int count = qMin(1024, size - offset);
            rig.report(12, image.mid(offset, count));
            offset += count;
            frames = rig.presetFrames();
            if (offset == size)
                break;
            QCOMPARE(frames, QStringList{QStringLiteral("12/1:") + hex(u32(quint32(qMin(1024, size - offset))))});
        }
        QCOMPARE(frames, QStringList());
        QCOMPARE(rig.progress.log.last(), QStringLiteral("finish"));
        QCOMPARE(rig.page.transfer(), QPreset::Transfer::None);
        QCOMPARE(fileBytes(path), image);
        QVERIFY(rig.prompt.asked.isEmpty());
    }

    void cancelStopsSingleSlotTransfers_data()
    {
        QTest::addColumn<bool>("exporting");
        QTest::newRow("export") << true;
        QTest::newRow("import") << false;
    }
    void cancelStopsSingleSlotTransfers()
    {
        QFETCH(bool, exporting);
        PresetRig rig;
        QVERIFY(rig.connect());
        const QString path = rig.dir.filePath(QStringLiteral("slot.pst1"));
        const QByteArray image = pattern(3000);
        if (!exporting)
            rig.dir.write(QStringLiteral("slot.pst1"), image);
        rig.report(1, slotList(0xFF, {{4, "Four"}}));
        rig.prompt.fileNames = QStringList{path};
        QTest::mouseClick(rig.page.slotButton(4, exporting ? QPreset::ExportButton : QPreset::ImportButton),
                          Qt::LeftButton);
        rig.report(exporting ? 10 : 13, u32(3000));
        rig.presetFrames();
        if (exporting)
            rig.report(12, image.left(1024));
        else
            rig.report(15, u32(1024));
        QCOMPARE(rig.presetFrames().size(), 1);
        rig.progress.cancelled = true;
        if (exporting)
            rig.report(12, image.mid(1024, 1024));
        else
            rig.report(15, u32(1024));
        QCOMPARE(rig.presetFrames(), QStringList());
        QCOMPARE(rig.page.transfer(), QPreset::Transfer::None);
        QVERIFY(rig.progress.log.contains(QStringLiteral("cancelled")));
        // Later replies of the stopped transfer change nothing.
        rig.report(exporting ? 12 : 15, exporting ? image.mid(2048) : u32(1024));
        QCOMPARE(rig.presetFrames(), QStringList());
    }

    void exportAllEndsOnlyOnAShortBlock_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("exact multiple of 1024") << 2048;
        QTest::newRow("partial last block") << 2500;
        QTest::newRow("empty") << 0;
    }
    void exportAllEndsOnlyOnAShortBlock()
    {
        QFETCH(int, size);
        PresetRig rig;
        QVERIFY(rig.connect());
        // A longer file from before is replaced, not overwritten in part.
        rig.dir.write(QStringLiteral("all.pst"), QByteArray(5000, 'x'));
        const QString path = rig.dir.filePath(QStringLiteral("all.pst"));
        const QByteArray image = pattern(size);
        rig.prompt.fileNames = QStringList{path};
        QTest::mouseClick(rig.page.exportAllButton(), Qt::LeftButton);
        QCOMPARE(rig.presetFrames(), QStringList{QStringLiteral("11/1:")});
        rig.report(11, u32(quint32(size)));
        QCOMPARE(rig.progress.log.value(0), QStringLiteral("start %1 Export to PC...").arg(size));
        QCOMPARE(rig.presetFrames(), QStringList{QStringLiteral("6/1:0000")});
        for (int block = 0;; ++block) {
            const QByteArray data = image.mid(block * 1024, 1024);
            // A reply for another block is a stray and asks for nothing.
            rig.report(6, u16(quint16(block + 7)) + QByteArray(1024, 'z'));
            QCOMPARE(rig.presetFrames(), QStringList());
            rig.report(6, u16(quint16(block)) + data);
            const QStringList frames = rig.presetFrames();
            if (data.size() < 1024) {
                QCOMPARE(frames, QStringList());
                break;
            }
            QCOMPARE(frames, QStringList{QStringLiteral("6/1:") + hex(u16(quint16(block + 1)))});
        }
        QCOMPARE(rig.progress.log.last(), QStringLiteral("finish"));
        QCOMPARE(fileBytes(path), image);
    }

    void importOneSlot_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("three chunks") << 2500;
        QTest::newRow("above 64 KiB") << 70000;
    }
    void importOneSlot()
    {
        QFETCH(int, size);
        PresetRig rig;
        QVERIFY(rig.connect());
        const QByteArray image = pattern(size);
        rig.dir.write(QStringLiteral("in.pst1"), image);
        rig.prompt.fileNames = QStringList{rig.dir.filePath(QStringLiteral("in.pst1"))};
        QTest::mouseClick(rig.page.slotButton(30, QPreset::ImportButton), Qt::LeftButton);
        QCOMPARE(rig.presetFrames(), QStringList{QStringLiteral("13/1:1e")});
        rig.report(13, u32(quint32(size)));
        QCOMPARE(rig.progress.log.value(0), QStringLiteral("start %1 Import from PC...").arg(size));
        QByteArray received;
        while (true) {
            const QList<UnitFrame> frames = rig.presetFrameList();
            if (received.size() == size) {
                QCOMPARE(frames.size(), 0);
                break;
            }
            QCOMPARE(frames.size(), 1);
            QCOMPARE(int(frames.at(0).param), 15);
            QCOMPARE(int(frames.at(0).op), 1);
            QCOMPARE(frames.at(0).payload.size(), qMin(1024, size - received.size()));
            received += frames.at(0).payload;
            rig.report(15, u32(quint32(frames.at(0).payload.size())));
        }
        QCOMPARE(received, image);
        QCOMPARE(rig.progress.log.last(), QStringLiteral("finish"));
        QCOMPARE(rig.page.transfer(), QPreset::Transfer::None);
    }

    void importAllSendsQueriesAndChecksAcknowledgements()
    {
        PresetRig rig;
        QVERIFY(rig.connect());
        const QByteArray image = pattern(2048);
        rig.dir.write(QStringLiteral("all.pst"), image);
        rig.prompt.fileNames = QStringList{rig.dir.filePath(QStringLiteral("all.pst")),
                                           rig.dir.filePath(QStringLiteral("all.pst"))};
        // Replacing every preset of the unit: Enter alone refuses.
        rig.prompt.answers = {ScriptedPrompt::Enter, 0};
        QTest::mouseClick(rig.page.importAllButton(), Qt::LeftButton);
        QCOMPARE(rig.presetFrames(), QStringList());
        QCOMPARE(rig.prompt.asked.value(0).defaultButton, 1);
        QTest::mouseClick(rig.page.importAllButton(), Qt::LeftButton);
        QCOMPARE(rig.presetFrames(), QStringList{QStringLiteral("14/1:")});
        rig.report(14, u32(2048));
        QCOMPARE(rig.presetFrames(), QStringList{QStringLiteral("7/0:0000") + hex(image.left(1024))});
        // An acknowledgement for any block but the one sent: nothing.
        rig.report(7, u16(1));
        rig.report(7, u16(0xFFFF));
        QCOMPARE(rig.presetFrames(), QStringList());
        // Cancelling does not stop the all-slots import.
        rig.progress.cancelled = true;
        rig.report(7, u16(0));
        QCOMPARE(rig.presetFrames(), QStringList{QStringLiteral("7/0:0100") + hex(image.mid(1024))});
        rig.report(7, u16(0));
        QCOMPARE(rig.presetFrames(), QStringList());
        // The file has no block 2: the transfer ends.
        rig.report(7, u16(1));
        QCOMPARE(rig.presetFrames(), QStringList());
        QCOMPARE(rig.progress.log.last(), QStringLiteral("finish"));
        QCOMPARE(rig.page.transfer(), QPreset::Transfer::None);
    }

    void importSizeMismatchIsAFormatError_data()
    {
        QTest::addColumn<bool>("all");
        QTest::newRow("one slot") << false;
        QTest::newRow("all slots") << true;
    }
    void importSizeMismatchIsAFormatError()
    {
        QFETCH(bool, all);
        PresetRig rig;
        QVERIFY(rig.connect());
        rig.dir.write(QStringLiteral("in.pst"), pattern(1000));
        rig.prompt.fileNames = QStringList{rig.dir.filePath(QStringLiteral("in.pst"))};
        if (all)
            QTest::mouseClick(rig.page.importAllButton(), Qt::LeftButton);
        else
            QTest::mouseClick(rig.page.slotButton(0, QPreset::ImportButton), Qt::LeftButton);
        rig.presetFrames();
        rig.report(all ? 14 : 13, u32(1001));
        // Replacing every preset was asked first.
        QTRY_COMPARE(rig.prompt.asked.size(), all ? 2 : 1);
        QCOMPARE(rig.prompt.asked.last().icon, Prompt::Icon::Critical);
        QCOMPARE(rig.prompt.asked.last().title, QStringLiteral("ERROR"));
        QCOMPARE(rig.prompt.asked.last().text, QStringLiteral("preset file format error!"));
        QCOMPARE(rig.presetFrames(), QStringList());
        QCOMPARE(rig.progress.log, QStringList());
        // A late acknowledgement starts nothing.
        rig.report(all ? 7 : 15, all ? u16(0) : u32(1000));
        QCOMPARE(rig.presetFrames(), QStringList());
    }

    void fileTroubleStopsTheTransfer_data()
    {
        QTest::addColumn<int>("button"); // -1: Export All
        QTest::addColumn<int>("sizeParam");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("text");
        QTest::newRow("export to a folder that is not there")
            << int(QPreset::ExportButton) << 10 << "missing/slot.pst1" << "Can not write the file";
        QTest::newRow("export all to a folder that is not there")
            << -1 << 11 << "missing/all.pst" << "Can not write the file";
        QTest::newRow("import of a file gone meanwhile")
            << int(QPreset::ImportButton) << 13 << "gone.pst1" << "Can not read the file";
    }
    void fileTroubleStopsTheTransfer()
    {
        QFETCH(int, button);
        QFETCH(int, sizeParam);
        QFETCH(QString, file);
        QFETCH(QString, text);
        PresetRig rig;
        QVERIFY(rig.connect());
        rig.report(1, slotList(0xFF, {{1, "One"}}));
        rig.prompt.fileNames = QStringList{rig.dir.filePath(file)};
        if (button < 0)
            QTest::mouseClick(rig.page.exportAllButton(), Qt::LeftButton);
        else
            QTest::mouseClick(rig.page.slotButton(1, QPreset::SlotButton(button)), Qt::LeftButton);
        rig.presetFrames();
        rig.report(quint8(sizeParam), u32(3000));
        rig.presetFrames();
        if (sizeParam == 10)
            rig.report(12, pattern(1024));
        else if (sizeParam == 11)
            rig.report(6, u16(0) + pattern(1024));
        // An import over a stored preset asks first.
        QTRY_COMPARE(rig.prompt.asked.size(), button == int(QPreset::ImportButton) ? 2 : 1);
        QCOMPARE(rig.prompt.asked.last().icon, Prompt::Icon::Critical);
        QVERIFY2(rig.prompt.asked.last().text.startsWith(text), qPrintable(rig.prompt.asked.last().text));
        QCOMPARE(rig.page.transfer(), QPreset::Transfer::None);
        // Nothing more goes out: no request for the next chunk or block.
        const QStringList frames = rig.presetFrames();
        for (const QString &f : frames)
            QVERIFY2(!f.startsWith(QLatin1String("12/")) && !f.startsWith(QLatin1String("6/1:0100")), qPrintable(f));
        if (!rig.progress.log.isEmpty())
            QCOMPARE(rig.progress.log.last(), QStringLiteral("finish"));
    }

    void aUnitThatStopsGivingEndsTheTransfer_data()
    {
        QTest::addColumn<bool>("exporting");
        QTest::newRow("export: an empty chunk before the end") << true;
        QTest::newRow("import: nothing accepted") << false;
    }
    void aUnitThatStopsGivingEndsTheTransfer()
    {
        QFETCH(bool, exporting);
        PresetRig rig;
        QVERIFY(rig.connect());
        rig.dir.write(QStringLiteral("slot.pst1"), pattern(3000));
        rig.report(1, slotList(0xFF, {{1, "One"}}));
        rig.prompt.fileNames = QStringList{rig.dir.filePath(QStringLiteral("slot.pst1"))};
        QTest::mouseClick(rig.page.slotButton(1, exporting ? QPreset::ExportButton : QPreset::ImportButton),
                          Qt::LeftButton);
        rig.report(exporting ? 10 : 13, u32(3000));
        rig.presetFrames();
        if (exporting)
            rig.report(12, QByteArray());
        else
            rig.report(15, u32(0));
        QCOMPARE(rig.presetFrames(), QStringList());
        QTRY_COMPARE(rig.prompt.asked.size(), exporting ? 1 : 2); // an import over "One" asks first
        QCOMPARE(rig.page.transfer(), QPreset::Transfer::None);
    }

    void linkLossEndsTheTransfer()
    {
        PresetRig rig;
        QVERIFY(rig.connect());
        rig.link.socketStateChanged(&rig.socket, QAbstractSocket::ConnectedState);
        rig.prompt.fileNames = QStringList{rig.dir.filePath(QStringLiteral("all.pst"))};
        QTest::mouseClick(rig.page.exportAllButton(), Qt::LeftButton);
        rig.report(11, u32(5000));
        rig.link.socketStateChanged(&rig.socket, QAbstractSocket::UnconnectedState);
        QCOMPARE(rig.page.transfer(), QPreset::Transfer::None);
        QCOMPARE(rig.progress.log.last(), QStringLiteral("finish"));
        QTRY_COMPARE(rig.prompt.asked.size(), 1);
        QCOMPARE(rig.prompt.asked.at(0).icon, Prompt::Icon::Critical);
    }

    void wrongLengthsIgnored_data()
    {
        QTest::addColumn<int>("param");
        QTest::addColumn<int>("length");
        QTest::newRow("slot list 544") << 1 << 544;
        QTest::newRow("slot list 546") << 1 << 546;
        QTest::newRow("export size 3") << 10 << 3;
        QTest::newRow("export size 5") << 10 << 5;
        QTest::newRow("export all size 3") << 11 << 3;
        QTest::newRow("import size 5") << 13 << 5;
        QTest::newRow("import all size 2") << 14 << 2;
        QTest::newRow("import ack 3") << 15 << 3;
    }
    void wrongLengthsIgnored()
    {
        QFETCH(int, param);
        QFETCH(int, length);
        PresetRig rig;
        QVERIFY(rig.connect());
        rig.dir.write(QStringLiteral("f.pst"), pattern(4));
        rig.report(1, slotList(3, {{3, "Three"}}));
        rig.prompt.fileNames = QStringList{rig.dir.filePath(QStringLiteral("f.pst"))};
        const QMap<int, QPushButton *> starters{{10, rig.page.slotButton(3, QPreset::ExportButton)},
                                                {11, rig.page.exportAllButton()},
                                                {13, rig.page.slotButton(3, QPreset::ImportButton)},
                                                {14, rig.page.importAllButton()},
                                                {15, rig.page.slotButton(3, QPreset::ImportButton)}};
        if (QPushButton *start = starters.value(param))
            QTest::mouseClick(start, Qt::LeftButton);
        if (param == 15)
            rig.report(13, u32(4));
        rig.presetFrames();
        const QStringList log = rig.progress.log;
        QByteArray payload(length, '\x04');
        payload[0] = char(0xFF);
        rig.report(quint8(param), payload);
        QCOMPARE(rig.presetFrames(), QStringList());
        QCOMPARE(rig.progress.log, log);
        QCOMPARE(rig.page.currentSlot(), 3);
    }

    void offlineSaveChoosesTheLayout_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<int>("saveType");
        QTest::newRow("48K") << "SHARC21488_48K (*.pst1)" << 0;
        QTest::newRow("96K") << "SHARC21489_96K (*.pst1)" << 1;
    }
    void offlineSaveChoosesTheLayout()
    {
        QFETCH(QString, filter);
        QFETCH(int, saveType);
        PresetRig rig;
        QSignalSpy saves(&rig.page, &QPreset::sigSave);
        rig.prompt.filter = filter;
        rig.prompt.fileNames = QStringList{QStringLiteral("/tmp/x.pst1")};
        QTest::mouseClick(rig.page.offlineSaveButton(), Qt::LeftButton);
        QCOMPARE(rig.prompt.lastFilters, QStringLiteral("SHARC21489_96K (*.pst1);;SHARC21488_48K (*.pst1)"));
        QCOMPARE(saves.size(), 1);
        QCOMPARE(int(saves.at(0).at(0).value<uchar>()), saveType);
        QCOMPARE(saves.at(0).at(1).toString(), QStringLiteral("/tmp/x.pst1"));
        // No path chosen: nothing.
        QTest::mouseClick(rig.page.offlineSaveButton(), Qt::LeftButton);
        QCOMPARE(saves.size(), 1);
    }

    // A file of either size replaces the pages only after a question that
    // defaults to "No"; any other size says which sizes are valid.
    void offlineImportChecksTheSize_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("type"); // -1: nothing imported
        QTest::newRow("48K") << 2726 << 0 << 0;
        QTest::newRow("96K") << 19642 << 0 << 1;
        QTest::newRow("96K, Enter") << 19642 << int(ScriptedPrompt::Enter) << -1;
        QTest::newRow("one byte short") << 2725 << 0 << -1;
        QTest::newRow("one byte over") << 19643 << 0 << -1;
        QTest::newRow("empty") << 0 << 0 << -1;
    }
    void offlineImportChecksTheSize()
    {
        QFETCH(int, size);
        QFETCH(int, answer);
        QFETCH(int, type);
        PresetRig rig;
        QSignalSpy imports(&rig.page, &QPreset::sigImport);
        const QByteArray data = pattern(size);
        rig.dir.write(QStringLiteral("off.pst1"), data);
        rig.prompt.fileNames = QStringList{rig.dir.filePath(QStringLiteral("off.pst1"))};
        rig.prompt.answers = {answer};
        QTest::mouseClick(rig.page.offlineImportButton(), Qt::LeftButton);
        QCOMPARE(rig.prompt.asked.size(), 1);
        const ScriptedPrompt::Asked &asked = rig.prompt.asked.at(0);
        if (size != 2726 && size != 19642) {
            QCOMPARE(asked.title, QStringLiteral("ERROR"));
            QCOMPARE(asked.text, QStringLiteral("preset file format error!\nAn offline preset file has 2726 bytes "
                                                "(48 kHz unit) or 19642 bytes (96 kHz unit)."));
        } else {
            QVERIFY(asked.text.startsWith(QLatin1String("Replace the settings of every page with those of ")));
            QCOMPARE(asked.defaultButton, 1);
        }
        QCOMPARE(imports.size(), type < 0 ? 0 : 1);
        if (type >= 0) {
            QCOMPARE(int(imports.at(0).at(0).value<uchar>()), type);
            QCOMPARE(imports.at(0).at(1).toByteArray(), data);
        }
    }

    // The table itself is no stop: Tab goes row by row through each slot's
    // name and buttons (those of an empty slot are disabled and passed by),
    // then the buttons below the table.
    void tabStopsFollowTheLayout_data()
    {
        QTest::addColumn<int>("usedSlot");
        QTest::addColumn<QStringList>("expected"); // a run of stops, from its first name on
        QTest::newRow("empty slots") << -1
                                     << nameList({"Preset 1 name", "Preset 1 save", "Preset 1 import", "Preset 2 name"});
        QTest::newRow("slot 2 used") << 1
                                     << nameList({"Preset 2 name", "Preset 2 save", "Preset 2 recall", "Preset 2 import",
                                                  "Preset 2 export", "Preset 2 delete", "Preset 3 name"});
        QTest::newRow("below the table")
            << -1 << nameList({"Preset 32 import", "Import All", "Export All", "Offline Save", "Offline Import"});
    }
    void tabStopsFollowTheLayout()
    {
        QFETCH(int, usedSlot);
        QFETCH(QStringList, expected);
        Link link;
        QPreset page(&link);
        page.timer()->stop();
        if (usedSlot >= 0) {
            QByteArray list(545, '\0');
            list[0] = char(0xFF); // no current preset
            list[1 + usedSlot * 17] = 1;
            page.onMessage(1, 0x80, quint16(list.size()), reinterpret_cast<const uchar *>(list.constData()));
        }
        const QStringList names = tabStopNames(&page);
        const int from = names.indexOf(expected.first());
        QVERIFY2(from >= 0, qPrintable(names.join(QLatin1String(" | "))));
        QCOMPARE(names.mid(from, expected.size()), expected);
    }
};

QTEST_MAIN(TestPresetPage)
#include "tst_presetpage.moc"
