#include <QtTest>

#include "core/link/frame.h"
#include "core/link/frameassembler.h"
#include "core/link/logging.h"

namespace {

struct Delivered
{
    quint8 cls, module, param, op;
    QByteArray payload;
};

QStringList g_log;
QLoggingCategory::CategoryFilter g_previousFilter = nullptr;

// The protocol texts are debug lines of orvalix.link; keep them on whatever
// the environment's logging rules say.
void enableLinkDebug(QLoggingCategory *category)
{
    if (g_previousFilter)
        g_previousFilter(category);
    if (qstrcmp(category->categoryName(), "orvalix.link") == 0)
        category->setEnabled(QtDebugMsg, true);
}

void captureHandler(QtMsgType, const QMessageLogContext &, const QString &message)
{
    g_log << message;
}

// Frames written out byte by byte from the protocol table, not by the encoder.
QByteArray frameBytes(quint8 cls, quint8 module, quint8 param, quint8 op, const QByteArray &payload,
                      quint16 code = 1)
{
    QByteArray f;
    f += "\x82\x7d";
    f += char(code & 0xFF);
    f += char(code >> 8);
    f += char(cls);
    f += char(module);
    f += char(param);
    f += char(op);
    f += char(payload.size() & 0xFF);
    f += char(payload.size() >> 8);
    f += payload;
    f += "\x7d\x82";
    return f;
}

} // namespace

class TestFrameCodec : public QObject
{
    Q_OBJECT

private:
    FrameAssembler assembler;
    QList<Delivered> delivered;

    void feed(const QByteArray &bytes)
    {
        assembler.append(bytes);
        assembler.parse([this](quint8 c, quint8 m, quint8 p, quint8 o, quint16 n, const uchar *data) {
            delivered.append({c, m, p, o, QByteArray(reinterpret_cast<const char *>(data), n)});
        });
    }

private Q_SLOTS:
    void init()
    {
        assembler.clear();
        delivered.clear();
        g_log.clear();
        if (!g_previousFilter)
            g_previousFilter = QLoggingCategory::installFilter(enableLinkDebug);
        qInstallMessageHandler(captureHandler);
    }
    void cleanup() { qInstallMessageHandler(nullptr); }

    void encodeMatchesTable()
    {
        uchar out[64];
        const uchar payload[] = {0x00, 0x01, 0x02};
        const int size = Frame::encode(out, 0x1234, 3, 4, 1, 1, payload, 3);
        QCOMPARE(size, 15);
        QCOMPARE(QByteArray(reinterpret_cast<char *>(out), size),
                 QByteArray("\x82\x7d\x34\x12\x03\x04\x01\x01\x03\x00\x00\x01\x02\x7d\x82", 15));
        QCOMPARE(Frame::encode(out, 1, 2, 2, 15, 0, nullptr, 0), 12);
        QCOMPARE(QByteArray(reinterpret_cast<char *>(out), 12),
                 QByteArray("\x82\x7d\x01\x00\x02\x02\x0f\x00\x00\x00\x7d\x82", 12));
    }

    void splitReadsDeliverOnce_data()
    {
        QTest::addColumn<int>("splitAt");
        for (int i = 1; i < 17; ++i)
            QTest::addRow("split at %d", i) << i;
    }
    void splitReadsDeliverOnce()
    {
        QFETCH(int, splitAt);
        const QByteArray f = frameBytes(3, 1, 5, 0x80, QByteArray("\x01\x02\x03\x04\x05", 5));
        feed(f.left(splitAt));
        QVERIFY(delivered.isEmpty());
        feed(f.mid(splitAt));
        QCOMPARE(delivered.size(), 1);
        QCOMPARE(delivered.at(0).payload, QByteArray("\x01\x02\x03\x04\x05", 5));
        QCOMPARE(assembler.pending(), 0);
    }

    void severalFramesInOneReadInOrder()
    {
        QByteArray bytes;
        for (int i = 0; i < 5; ++i)
            bytes += frameBytes(2, 2, quint8(i), 0x80, QByteArray(i, char('a' + i)));
        feed(bytes);
        QCOMPARE(delivered.size(), 5);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(int(delivered.at(i).param), i);
            QCOMPARE(delivered.at(i).payload, QByteArray(i, char('a' + i)));
        }
    }

    void garbageBeforeHeadIsSkippedByteByByte()
    {
        feed(QByteArray("\x01\x02\x82\x11\x7d", 5) + frameBytes(3, 9, 1, 0x80, QByteArray("\x07", 1)));
        QCOMPARE(delivered.size(), 1);
        QCOMPARE(int(delivered.at(0).module), 9);
        QCOMPARE(g_log.count(QStringLiteral("PacketHeader Error!!!")), 5);
    }

    void badTailDropsWholeFrameAndParsesNext()
    {
        QByteArray bad = frameBytes(3, 1, 1, 0x80, QByteArray("\x82\x7d\x00\x00", 4));
        bad[bad.size() - 1] = '\x00';
        const QByteArray good = frameBytes(3, 2, 2, 0x80, QByteArray("\x05", 1));
        feed(bad + good);
        QCOMPARE(delivered.size(), 1);
        QCOMPARE(int(delivered.at(0).module), 2);
        QCOMPARE(g_log, QStringList{QStringLiteral("PacketTailer Error!!! len= %1").arg(bad.size() + good.size())});
    }

    void thresholds()
    {
        const QByteArray f = frameBytes(2, 1, 1, 0x80, QByteArray());
        QCOMPARE(f.size(), 12);
        // Ten bytes are not examined at all, even when they are garbage.
        feed(QByteArray(10, '\x55'));
        QVERIFY(g_log.isEmpty());
        assembler.clear();
        feed(f.left(11));
        QVERIFY(delivered.isEmpty());
        QVERIFY(g_log.isEmpty());
        feed(f.mid(11));
        QCOMPARE(delivered.size(), 1);
        QCOMPARE(delivered.at(0).payload.size(), 0);
    }

    void largestPayloadOnTheWire()
    {
        const QByteArray payload(65535, '\x42');
        feed(frameBytes(3, 17, 1, 0x80, payload));
        QCOMPARE(delivered.size(), 1);
        QCOMPARE(delivered.at(0).payload, payload);
    }

    void handlerMayClearTheAssembler()
    {
        const QByteArray bytes = frameBytes(2, 1, 1, 0x80, QByteArray("\x01", 1))
            + frameBytes(2, 1, 1, 0x80, QByteArray("\x02", 1));
        assembler.append(bytes);
        int calls = 0;
        assembler.parse([&](quint8, quint8, quint8, quint8, quint16 n, const uchar *data) {
            ++calls;
            QCOMPARE(int(n), 1);
            QCOMPARE(int(data[0]), 1);
            assembler.clear();
        });
        QCOMPARE(calls, 1);
        QCOMPARE(assembler.pending(), 0);
    }
};

QTEST_GUILESS_MAIN(TestFrameCodec)
#include "tst_framecodec.moc"
