#include "systemmodule.h"

#include <QtEndian>

#include <cmath>
#include <cstring>

#include "core/link/frame.h"

namespace {

QByteArray u8(quint8 v) { return QByteArray(1, char(v)); }

QByteArray u16(quint16 v)
{
    QByteArray b(2, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

QByteArray u32(quint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

QByteArray f32(float v)
{
    quint32 bits;
    std::memcpy(&bits, &v, 4);
    return u32(bits);
}

QByteArray text(const QByteArray &t) { return t + '\0'; }

QByteArray labelBlock(const QByteArray *labels, int count)
{
    QByteArray block(count * 16, '\0');
    for (int i = 0; i < count; ++i)
        std::memcpy(block.data() + i * 16, labels[i].constData(), size_t(qMin(labels[i].size(), 16)));
    return block;
}

quint32 readU32(const QByteArray &b, int at) { return qFromLittleEndian<quint32>(b.constData() + at); }

} // namespace

SystemModule::SystemModule(const VirtualUnit::Options &options)
{
    password = options.password;
    faultBits = options.faultBits;
    if (options.family != 1) {
        armVersion[0] = 2;
        armVersion[1] = 1;
        armVersion[2] = 0;
        model = "OVX-480L";
    }
    ipAddress = options.address.toIPv4Address();
    gateway = (ipAddress & 0xFF000000) | 1;
    restoreFactoryDefaults();
}

QByteArray SystemModule::systemResetKeyword()
{
    return QByteArrayLiteral("SYS_RST*");
}

void SystemModule::restoreFactoryDefaults()
{
    for (int i = 0; i < 4; ++i)
        inputLabels[i] = "IN " + QByteArray(1, char('A' + i));
    for (int i = 0; i < 8; ++i)
        outputLabels[i] = "OUT " + QByteArray::number(i + 1);
}

void SystemModule::connected(VirtualUnit &unit)
{
    loggedIn = password.isEmpty() && !rejectLogins;
    sendLoginReport(unit);
}

void SystemModule::sendLoginReport(VirtualUnit &unit)
{
    unit.sendReport(Frame::System, Frame::Login, 1, u8(loggedIn ? 1 : 0));
}

void SystemModule::tick(VirtualUnit &unit)
{
    ++m_ticks;
    // Slow, plausible drift of the live values.
    const double t = m_ticks / 10.0;
    temperature = float(41.5 + 2.0 * std::sin(t / 30.0));
    dspLoad[0] = float(23.5 + 3.0 * std::sin(t / 7.0));
    dspLoad[1] = float(31.0 + 4.0 * std::sin(t / 11.0));
    Q_UNUSED(unit)
}

bool SystemModule::handle(VirtualUnit &unit, const UnitFrame &frame)
{
    if (frame.cls != Frame::System)
        return false;
    switch (frame.module) {
    case Frame::Login:
        if (frame.param == 1 && frame.op == Frame::Set) {
            if (frame.payload == systemResetKeyword()) {
                ++configResets;
            } else {
                loggedIn = !rejectLogins && frame.payload == password.toLatin1();
            }
            sendLoginReport(unit);
        }
        return true;
    case Frame::Status:
        return handleStatus(unit, frame);
    case Frame::Labels:
        return handleLabels(unit, frame);
    case Frame::CodeNumber:
        if (frame.param == 1 && frame.op == Frame::Query)
            unit.sendReport(Frame::System, Frame::CodeNumber, 1,
                            u16(codeNumber[0]) + u16(codeNumber[1]) + u16(codeNumber[2]));
        return true;
    default:
        return false;
    }
}

bool SystemModule::handleStatus(VirtualUnit &unit, const UnitFrame &frame)
{
    const QByteArray &p = frame.payload;
    if (frame.op == Frame::Set) {
        switch (frame.param) {
        case 10: location = p.left(16); break;
        case 11: description = p.left(16); break;
        case 12:
            if (p.size() == 12) {
                ipAddress = readU32(p, 0);
                subnetMask = readU32(p, 4);
                gateway = readU32(p, 8);
            }
            break;
        case 14:
            // Only an administrator who has logged in may change the password.
            if (loggedIn && p.size() <= 8)
                password = QString::fromLatin1(p);
            break;
        case 15: if (p.size() == 1) allMute = p.at(0) != 0; break;
        case 17:
            ++factoryResets;
            location.clear();
            description.clear();
            restoreFactoryDefaults();
            break;
        case 20: if (p.size() == 1) panelLock = quint8(p.at(0)); break;
        case 22: if (p.size() == 1) lcdPage = qint8(p.at(0)); break;
        case 27: if (p.size() == 1) dspModel = quint8(p.at(0)); break;
        case 80: factoryRecord = p; break;
        default: break;
        }
        return true;
    }
    if (frame.op != Frame::Query)
        return true;
    QByteArray r;
    switch (frame.param) {
    case 1: r = text(model); break;
    case 2: r = QByteArray(reinterpret_cast<const char *>(armVersion), 3); break;
    case 3: r = QByteArray(reinterpret_cast<const char *>(dspVersion), 3); break;
    case 4: r = text(serial); break;
    case 5: r = u16(channelConfig); break;
    case 6: r = u32(runTime(unit)); break;
    case 7: r = u32(totalTimeBase + runTime(unit)); break;
    case 8: r = u32(bootCount); break;
    case 9: r = f32(temperature); break;
    case 10: r = text(location); break;
    case 11: r = text(description); break;
    case 12: r = u32(ipAddress) + u32(subnetMask) + u32(gateway); break;
    case 13: r = u8(faultBits); break;
    case 15: r = u8(allMute ? 1 : 0); break;
    case 16: r = f32(dspLoad[0]) + f32(dspLoad[1]); break;
    case 20: r = u8(panelLock); break;
    case 22: r = u8(quint8(lcdPage)); break;
    case 26: r = u32(quint32(deviceId)); break;
    case 27: r = u8(dspModel); break;
    default: return true;
    }
    unit.sendReport(Frame::System, Frame::Status, frame.param, r);
    return true;
}

bool SystemModule::handleLabels(VirtualUnit &unit, const UnitFrame &frame)
{
    const bool inputs = frame.param == 1;
    if (frame.param != 1 && frame.param != 2)
        return true;
    if (frame.op == Frame::Query) {
        unit.sendReport(Frame::System, Frame::Labels, frame.param,
                        inputs ? labelBlock(inputLabels, 4) : labelBlock(outputLabels, 8));
    } else if (frame.op == Frame::Set && !frame.payload.isEmpty()) {
        const int channel = quint8(frame.payload.at(0));
        const QByteArray label = frame.payload.mid(1, 16);
        if (inputs && channel < 4)
            inputLabels[channel] = label;
        else if (!inputs && channel < 8)
            outputLabels[channel] = label;
    }
    return true;
}
