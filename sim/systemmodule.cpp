#include "systemmodule.h"

#include <QtEndian>

#include <cmath>
#include <cstring>

#include "core/link/frame.h"
#include "core/protocol/protocol.h"

namespace {

namespace S = Protocol::Status;
namespace L = Protocol::Labels;
constexpr int LabelSize = L::LabelSize;

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
    QByteArray block(count * LabelSize, '\0');
    for (int i = 0; i < count; ++i)
        std::memcpy(block.data() + i * LabelSize, labels[i].constData(), size_t(qMin(labels[i].size(), LabelSize)));
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
    for (int i = 0; i < Inputs; ++i)
        inputLabels[i] = "IN " + QByteArray(1, char('A' + i));
    for (int i = 0; i < Outputs; ++i)
        outputLabels[i] = "OUT " + QByteArray::number(i + 1);
}

void SystemModule::connected(VirtualUnit &unit)
{
    loggedIn = password.isEmpty() && !rejectLogins;
    sendLoginReport(unit);
}

void SystemModule::sendLoginReport(VirtualUnit &unit)
{
    unit.sendReport(Frame::System, Frame::Login, Protocol::Login::Password, u8(loggedIn ? 1 : 0));
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
        if (frame.param == Protocol::Login::Password && frame.op == Frame::Set) {
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
        if (frame.param == Protocol::Code::Number && frame.op == Frame::Query)
            unit.sendReport(Frame::System, Frame::CodeNumber, Protocol::Code::Number,
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
        case S::Location: location = p.left(S::TextSize); break;
        case S::Description: description = p.left(S::TextSize); break;
        case S::Network:
            if (p.size() == Protocol::SetSize<S::params, S::Network>) {
                ipAddress = readU32(p, 0);
                subnetMask = readU32(p, 4);
                gateway = readU32(p, 8);
            }
            break;
        case S::LoginPassword:
            // Only an administrator who has logged in may change the password.
            if (loggedIn && p.size() <= Protocol::Login::MaxPasswordLength)
                password = QString::fromLatin1(p);
            break;
        case S::AllMute:
            if (p.size() == Protocol::SetSize<S::params, S::AllMute>)
                allMute = p.at(0) != 0;
            break;
        case S::FactoryReset:
            ++factoryResets;
            location.clear();
            description.clear();
            restoreFactoryDefaults();
            break;
        case S::PanelLock:
            if (p.size() == Protocol::SetSize<S::params, S::PanelLock>)
                panelLock = quint8(p.at(0));
            break;
        case S::LcdPage:
            if (p.size() == Protocol::SetSize<S::params, S::LcdPage>)
                lcdPage = qint8(p.at(0));
            break;
        case S::DspModel:
            if (p.size() == Protocol::SetSize<S::params, S::DspModel>)
                dspModel = quint8(p.at(0));
            break;
        case S::FactorySetup: factoryRecord = p; break;
        default: break;
        }
        return true;
    }
    if (frame.op != Frame::Query)
        return true;
    QByteArray r;
    switch (frame.param) {
    case S::Model: r = text(model); break;
    case S::ArmVersion: r = QByteArray(reinterpret_cast<const char *>(armVersion), 3); break;
    case S::DspVersion: r = QByteArray(reinterpret_cast<const char *>(dspVersion), 3); break;
    case S::Serial: r = text(serial); break;
    case S::ChannelConfig: r = u16(channelConfig); break;
    case S::RunTime: r = u32(runTime(unit)); break;
    case S::TotalTime: r = u32(totalTimeBase + runTime(unit)); break;
    case S::BootCount: r = u32(bootCount); break;
    case S::Temperature: r = f32(temperature); break;
    case S::Location: r = text(location); break;
    case S::Description: r = text(description); break;
    case S::Network: r = u32(ipAddress) + u32(subnetMask) + u32(gateway); break;
    case S::Fault: r = u8(faultBits); break;
    case S::AllMute: r = u8(allMute ? 1 : 0); break;
    case S::DspLoad: r = f32(dspLoad[0]) + f32(dspLoad[1]); break;
    case S::PanelLock: r = u8(panelLock); break;
    case S::LcdPage: r = u8(quint8(lcdPage)); break;
    case S::DeviceId: r = u32(quint32(deviceId)); break;
    case S::DspModel: r = u8(dspModel); break;
    default: return true;
    }
    unit.sendReport(Frame::System, Frame::Status, frame.param, r);
    return true;
}

bool SystemModule::handleLabels(VirtualUnit &unit, const UnitFrame &frame)
{
    const bool inputs = frame.param == L::Inputs;
    if (frame.param != L::Inputs && frame.param != L::Outputs)
        return true;
    if (frame.op == Frame::Query) {
        unit.sendReport(Frame::System, Frame::Labels, frame.param,
                        inputs ? labelBlock(inputLabels, Inputs) : labelBlock(outputLabels, Outputs));
    } else if (frame.op == Frame::Set && !frame.payload.isEmpty()) {
        const int channel = quint8(frame.payload.at(0));
        const QByteArray label = frame.payload.mid(1, LabelSize);
        if (inputs && channel < Inputs)
            inputLabels[channel] = label;
        else if (!inputs && channel < Outputs)
            outputLabels[channel] = label;
    }
    return true;
}
