#include <QSignalSpy>
#include <QTcpSocket>
#include <QtTest>

#include "core/link/frame.h"
#include "core/link/link.h"
#include "systemmodule.h"
#include "testsupport.h"
#include "virtualunit.h"

namespace {

struct Report
{
    quint8 cls, module, param, op;
    QByteArray payload;
};

} // namespace

class TestLinkEndToEnd : public QObject
{
    Q_OBJECT

    QList<Report> reports;

    void collect(Link &link)
    {
        auto record = [this](quint8 cls) {
            return [this, cls](quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload) {
                reports.append({cls, module, param, op, QByteArray(reinterpret_cast<const char *>(payload), length)});
            };
        };
        connect(&link, &Link::systemMessage, this, record(2));
        connect(&link, &Link::moduleMessage, this, record(3));
        connect(&link, &Link::upgradeAck, this, record(1));
    }

    QList<Report> matching(quint8 cls, quint8 module, quint8 param) const
    {
        QList<Report> out;
        for (const Report &r : reports)
            if (r.cls == cls && r.module == module && r.param == param)
                out << r;
        return out;
    }

private Q_SLOTS:
    void init() { reports.clear(); }

    void sendingBeforeConnectedDropsSilently()
    {
        Link link;
        QVERIFY(!link.sendFrame(2, 2, 1, 0, nullptr, 0));
        QTcpSocket socket;
        link.setCurrentSocket(&socket, 1, 0x7F000001);
        QVERIFY(!link.sendFrame(2, 2, 1, 0, nullptr, 0));
        link.setCurrentSocket(nullptr, 0, 0);
    }

    void oversizePayloadIsRefused()
    {
        VirtualUnit::Options options;
        options.address = uniqueLoopback();
        options.port = 0;
        VirtualUnit unit(options);
        QVERIFY(unit.start());
        Link link;
        link.setControlPort(unit.port());
        QTcpSocket socket;
        link.setCurrentSocket(&socket, 1, options.address.toIPv4Address());
        QVERIFY(socket.waitForConnected(3000));
        const QByteArray big(4085, 'x');
        QVERIFY(!link.sendFrame(3, 17, 1, 1, big.constData(), quint16(big.size())));
        QVERIFY(!link.sendModuleFrame(17, 1, 0, big.constData(), 4084));
        QVERIFY(link.sendFrame(3, 17, 1, 1, big.constData(), 4084));
        QVERIFY(waitUntil([&] { return unit.receivedMatching(3, 17, 1).size() == 1; }));
        QCOMPARE(unit.receivedMatching(3, 17, 1).at(0).payload.size(), 4084);
        link.setCurrentSocket(nullptr, 0, 0);
    }

    void loginReportAndQueriesBothWays()
    {
        VirtualUnit::Options options;
        options.address = uniqueLoopback();
        options.port = 0;
        VirtualUnit unit(options);
        QVERIFY(unit.start());

        Link link;
        link.setCode(0x0203);
        link.setControlPort(unit.port());
        collect(link);
        QTcpSocket socket;
        connect(&socket, &QTcpSocket::stateChanged, &link,
                [&](QAbstractSocket::SocketState s) { link.socketStateChanged(&socket, s); });
        link.setCurrentSocket(&socket, 42, options.address.toIPv4Address());
        QCOMPARE(link.currentUnitId(), 42u);

        // The unit reports its login state by itself.
        QVERIFY(waitUntil([&] { return !matching(2, 1, 1).isEmpty(); }));
        QVERIFY(link.isLinkUp());
        QCOMPARE(matching(2, 1, 1).at(0).payload, QByteArray("\x01", 1));
        QCOMPARE(int(matching(2, 1, 1).at(0).op), 0x80);

        // Queries are answered with reports of the exact lengths.
        const quint8 params[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15, 16, 20, 22, 26, 27};
        const int lengths[] = {-1, 3, 3, -1, 2, 4, 4, 4, 4, -1, -1, 12, 1, 1, 8, 1, 1, 4, 1};
        for (quint8 p : params)
            QVERIFY(link.sendQuery(2, 2, p));
        link.sendQuery(2, 3, 1);
        link.sendQuery(2, 3, 2);
        link.sendQuery(2, 4, 1);
        QVERIFY(waitUntil([&] { return !matching(2, 4, 1).isEmpty(); }));
        for (int i = 0; i < int(sizeof params); ++i) {
            const QList<Report> r = matching(2, 2, params[i]);
            QVERIFY2(r.size() == 1, qPrintable(QStringLiteral("param %1").arg(params[i])));
            if (lengths[i] >= 0)
                QCOMPARE(r.at(0).payload.size(), lengths[i]);
            else
                QVERIFY(r.at(0).payload.endsWith('\0'));
        }
        QCOMPARE(matching(2, 2, 1).at(0).payload, QByteArray("OVX-480\0", 8));
        QCOMPARE(matching(2, 3, 1).at(0).payload.size(), 64);
        QCOMPARE(matching(2, 3, 2).at(0).payload.size(), 128);
        QCOMPARE(matching(2, 4, 1).at(0).payload.size(), 6);

        // Every frame carries the code word.
        const QList<UnitFrame> seen = unit.received();
        QVERIFY(!seen.isEmpty());
        for (const UnitFrame &f : seen)
            QCOMPARE(f.code, link.code());

        // A set is stored and reported back.
        const QByteArray location("Stage left");
        QVERIFY(link.sendFrame(2, 2, 10, 1, location.constData(), quint16(location.size())));
        reports.clear();
        link.sendQuery(2, 2, 10);
        QVERIFY(waitUntil([&] { return !matching(2, 2, 10).isEmpty(); }));
        QCOMPARE(matching(2, 2, 10).at(0).payload, location + '\0');

        // A channel-prefixed module set reaches the unit as [channel, bytes...].
        const uchar gain[] = {0x00, 0x00, 0x20, 0x41};
        QVERIFY(link.sendModuleFrame(1, 1, 2, gain, 4));
        QVERIFY(waitUntil([&] { return !unit.receivedMatching(3, 1, 1).isEmpty(); }));
        QCOMPARE(unit.receivedMatching(3, 1, 1).at(0).payload, QByteArray("\x02\x00\x00\x20\x41", 5));

        // Losing the link is noticed.
        QSignalSpy lost(&link, &Link::linkLost);
        unit.dropClient();
        QVERIFY(waitUntil([&] { return lost.count() == 1; }));
        QVERIFY(!link.isLinkUp());
        QVERIFY(!link.isLoggedIn());
        link.setCurrentSocket(nullptr, 0, 0);
    }

    void codeWordInEveryFrame()
    {
        VirtualUnit::Options options;
        options.address = uniqueLoopback();
        options.port = 0;
        VirtualUnit unit(options);
        QVERIFY(unit.start());
        Link link;
        link.setCode(0xBEEF);
        link.setControlPort(unit.port());
        QTcpSocket socket;
        link.setCurrentSocket(&socket, 1, options.address.toIPv4Address());
        QVERIFY(socket.waitForConnected(3000));
        QVERIFY(link.sendQuery(2, 2, 15));
        QVERIFY(link.sendModuleFrame(9, 2, 3, "\x01", 1));
        QVERIFY(waitUntil([&] { return unit.received().size() == 2; }));
        for (const UnitFrame &f : unit.received())
            QCOMPARE(f.code, quint16(0xBEEF));
        link.setCurrentSocket(nullptr, 0, 0);
    }

    void passwordRejectedThenAccepted()
    {
        VirtualUnit::Options options;
        options.address = uniqueLoopback();
        options.port = 0;
        options.password = QStringLiteral("s3cret");
        VirtualUnit unit(options);
        QVERIFY(unit.start());
        Link link;
        link.setControlPort(unit.port());
        collect(link);
        QTcpSocket socket;
        link.setCurrentSocket(&socket, 1, options.address.toIPv4Address());
        QVERIFY(waitUntil([&] { return matching(2, 1, 1).size() == 1; }));
        QCOMPARE(matching(2, 1, 1).at(0).payload, QByteArray("\x00", 1));
        link.sendFrame(2, 1, 1, 1, "nope", 4);
        QVERIFY(waitUntil([&] { return matching(2, 1, 1).size() == 2; }));
        QCOMPARE(matching(2, 1, 1).at(1).payload, QByteArray("\x00", 1));
        link.sendFrame(2, 1, 1, 1, "s3cret", 6);
        QVERIFY(waitUntil([&] { return matching(2, 1, 1).size() == 3; }));
        QCOMPARE(matching(2, 1, 1).at(2).payload, QByteArray("\x01", 1));
        link.setCurrentSocket(nullptr, 0, 0);
    }
};

QTEST_GUILESS_MAIN(TestLinkEndToEnd)
#include "tst_link_e2e.moc"
