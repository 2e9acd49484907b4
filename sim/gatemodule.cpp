#include "gatemodule.h"

#include <cmath>

#include "levelmodule.h"
#include "core/link/frame.h"
#include "core/protocol/protocol.h"
#include "virtualunit.h"

namespace {

namespace G = Protocol::Gate;
namespace F = Protocol::Feedback;
constexpr int RecordQuerySize = Protocol::QuerySize<G::params, G::Record>;
constexpr int RecordSetSize = Protocol::SetSize<G::params, G::Record>;
constexpr int FeedbackQuerySize = Protocol::QuerySize<F::params, F::Enable>;
constexpr int FeedbackSetSize = Protocol::SetSize<F::params, F::Enable>;
constexpr int TickMs = 100;
constexpr double Pi = 3.14159265358979323846;

// Where each input's signal sits and how far it swings: a vocal that comes
// and goes, a steady music feed, a mostly idle spare and a noisy line.
constexpr std::array<float, GateModule::Inputs> ModelCentre{{-40.0f, -22.0f, -78.0f, -58.0f}};
constexpr std::array<float, GateModule::Inputs> ModelSwing{{30.0f, 6.0f, 8.0f, 12.0f}};
constexpr std::array<int, GateModule::Inputs> ModelPeriodTicks{{47, 90, 130, 23}};

} // namespace

GateModule::GateModule()
{
    for (int i = 0; i < Inputs; ++i)
        level[size_t(i)] = ModelCentre[size_t(i)];
}

bool GateModule::handle(VirtualUnit &unit, const UnitFrame &frame)
{
    if (frame.cls != Frame::Module)
        return false;
    if (frame.module == Frame::Gate)
        return handleGate(unit, frame);
    if (frame.module == Frame::Feedback)
        return handleFeedback(unit, frame);
    return false;
}

bool GateModule::handleGate(VirtualUnit &unit, const UnitFrame &frame)
{
    const QByteArray &p = frame.payload;
    if (frame.param == G::Open && frame.op == Frame::Query) {
        QByteArray states(Inputs, '\0');
        for (int i = 0; i < Inputs; ++i)
            states[i] = open[size_t(i)] ? 1 : 0;
        unit.sendReport(Frame::Module, Frame::Gate, G::Open, states);
        return true;
    }
    if (frame.param != G::Record || p.isEmpty() || quint8(p.at(0)) >= Inputs)
        return true;
    const int input = quint8(p.at(0));
    if (frame.op == Frame::Query && p.size() == RecordQuerySize) {
        QByteArray report(Protocol::ReportSize<G::params, G::Record>, '\0');
        report[0] = char(input);
        gates[size_t(input)].encode(reinterpret_cast<uchar *>(report.data()) + 1);
        unit.sendReport(Frame::Module, Frame::Gate, G::Record, report);
    } else if (frame.op == Frame::Set && p.size() == RecordSetSize) {
        gates[size_t(input)] = GateRecord::decode(reinterpret_cast<const uchar *>(p.constData()) + 1);
    }
    return true;
}

bool GateModule::handleFeedback(VirtualUnit &unit, const UnitFrame &frame)
{
    const QByteArray &p = frame.payload;
    if (frame.param != F::Enable || p.isEmpty() || quint8(p.at(0)) >= Inputs)
        return true;
    const int input = quint8(p.at(0));
    if (frame.op == Frame::Query && p.size() == FeedbackQuerySize) {
        QByteArray report(Protocol::ReportSize<F::params, F::Enable>, '\0');
        report[0] = char(input);
        report[1] = feedback[size_t(input)] ? 1 : 0;
        unit.sendReport(Frame::Module, Frame::Feedback, F::Enable, report);
    } else if (frame.op == Frame::Set && p.size() == FeedbackSetSize) {
        feedback[size_t(input)] = p.at(1) != 0;
    }
    return true;
}

void GateModule::modelLevels()
{
    for (int i = 0; i < Inputs; ++i) {
        const double phase = 2.0 * Pi * (m_ticks % ModelPeriodTicks[size_t(i)]) / ModelPeriodTicks[size_t(i)];
        level[size_t(i)] = ModelCentre[size_t(i)] + ModelSwing[size_t(i)] * float(std::sin(phase));
    }
}

void GateModule::updateOpenStates(int elapsedMs)
{
    for (int i = 0; i < Inputs; ++i) {
        const float dB = levelSource ? levelSource(i) : level[size_t(i)];
        const GateRecord &gate = gates[size_t(i)];
        if (dB >= gate.threshold) {
            m_belowMs[size_t(i)] = 0;
            open[size_t(i)] = true;
        } else {
            m_belowMs[size_t(i)] += elapsedMs;
            // The gate releases once the level has stayed below for the
            // decay time.
            if (m_belowMs[size_t(i)] >= gate.decay)
                open[size_t(i)] = false;
        }
    }
}

void GateModule::tick(VirtualUnit &unit)
{
    ++m_ticks;
    if (!freezeLevels && !levelSource) {
        // The gates sit after the input gain, where the input meters read.
        if (const auto *meters = unit.findModule<LevelModule>()) {
            for (int i = 0; i < Inputs; ++i)
                level[size_t(i)] = float(meters->inputMeter(i));
        } else {
            modelLevels();
        }
    }
    updateOpenStates(TickMs);
}
