#pragma once

// A module page on a link to an in-process virtual unit over loopback, with
// the page's timer stopped so tests drive it tick by tick. The unit records
// what the page sent; replies reach the page only when the rig routes them
// (end-to-end tests), so page tests see exactly the reports they inject.

#include <QApplication>
#include <QMouseEvent>
#include <QTcpSocket>
#include <QWheelEvent>
#include <QtTest>

#include <cstring>

#include "core/link/link.h"
#include "testsupport.h"
#include "virtualunit.h"

inline QString describeFrames(const QList<UnitFrame> &frames)
{
    QStringList out;
    for (const UnitFrame &f : frames)
        out << QStringLiteral("%1/%2/%3/%4:%5")
                   .arg(f.cls)
                   .arg(f.module)
                   .arg(f.param)
                   .arg(f.op)
                   .arg(QString::fromLatin1(f.payload.toHex()));
    return out.join(QLatin1Char(' '));
}

// Everything `link` sent to `unit` since the last call: a marker frame goes
// out last and TCP keeps the order, so once the unit has it, it has all
// before it.
inline QList<UnitFrame> takeSent(Link &link, VirtualUnit &unit)
{
    link.sendFrame(2, 0x7E, 0x7E, 0, nullptr, 0);
    auto isMarker = [](const UnitFrame &f) { return f.cls == 2 && f.module == 0x7E && f.param == 0x7E; };
    waitUntil([&] {
        for (const UnitFrame &f : unit.received())
            if (isMarker(f))
                return true;
        return false;
    });
    QList<UnitFrame> out;
    for (const UnitFrame &f : unit.received()) {
        if (isMarker(f))
            break;
        out.append(f);
    }
    unit.clearReceived();
    return out;
}

// "%1/%2/%3/%4:%5" of class-3 frames, for compact expectations.
inline QString frameText(quint8 module, quint8 param, quint8 op, const QByteArray &payload)
{
    return QStringLiteral("3/%1/%2/%3:%4").arg(module).arg(param).arg(op).arg(QString::fromLatin1(payload.toHex()));
}

template <class Page>
struct PageRig
{
    VirtualUnit unit;
    Link link;
    QTcpSocket socket;
    Page page;

    static VirtualUnit::Options options(int family)
    {
        VirtualUnit::Options o;
        o.address = uniqueLoopback();
        o.port = 0;
        o.family = family;
        return o;
    }

    explicit PageRig(int family = 1, bool routeReplies = false)
        : unit(options(family))
        , page(&link)
    {
        page.timer()->stop();
        page.resize(1024, 600);
        if (routeReplies) {
            QObject::connect(&link, &Link::moduleMessage, &page,
                             [this](quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload) {
                                 if (module == page.moduleId())
                                     page.onMessage(param, op, length, payload);
                             });
        }
    }
    ~PageRig() { link.setCurrentSocket(nullptr, 0, 0); }

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

    void tick(int count = 1)
    {
        for (int i = 0; i < count; ++i)
            page.timeOut20ms();
    }

    // Everything sent since the last call.
    QList<UnitFrame> sent() { return takeSent(link, unit); }

    // The class-3 sets among them, as frameText() strings.
    QStringList sets()
    {
        QStringList out;
        for (const UnitFrame &f : sent())
            if (f.cls == 3 && f.op == 1)
                out << frameText(f.module, f.param, f.op, f.payload);
        return out;
    }

    // A report from the unit, handed straight to the page.
    void report(quint8 param, const QByteArray &payload, quint8 op = 0x80)
    {
        page.onMessage(param, op, quint16(payload.size()), reinterpret_cast<const uchar *>(payload.constData()));
    }
};

// Little-endian bytes of a float, for reports built in tests.
inline QByteArray f32(float value)
{
    QByteArray bytes(4, '\0');
    std::memcpy(bytes.data(), &value, 4);
#if Q_BYTE_ORDER == Q_BIG_ENDIAN
    std::reverse(bytes.begin(), bytes.end());
#endif
    return bytes;
}

// A drag that starts at `from` and ends at `to`, with the left button held.
inline void dragMouse(QWidget *widget, QPoint from, QPoint to)
{
    auto send = [widget](QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, pos, pos, widget->mapToGlobal(pos), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

inline void wheelNotch(QWidget *widget, int delta)
{
    const QPointF centre = widget->rect().center();
    QWheelEvent event(centre, widget->mapToGlobal(centre.toPoint()), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

// Types into a spin box or line edit and presses Return.
inline void typeAndReturn(QWidget *field, const QString &text)
{
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}
