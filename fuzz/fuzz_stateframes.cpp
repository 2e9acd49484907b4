// The unit's reports as UnitClient reads them, without a socket: arbitrary
// bytes through reassembly into StateFrames::fold for a state of either
// family, the pairing of reports with queries and the preset list reader.
//
// Input: the first byte's bit 0 picks the family (1: 96 kHz); the rest is
// the byte stream as the socket would deliver it.
//
// What a fold leaves must be a state the wire can carry again: the frames
// that set it from the defaults stay within a frame's payload, and a set
// frame for each path holds the table's set length.

#include <QByteArray>
#include <QLoggingCategory>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "core/client/stateframes.h"
#include "core/client/unitinfo.h"
#include "core/link/frame.h"
#include "core/link/frameassembler.h"
#include "core/protocol/protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool quiet = (QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false")), true);
    Q_UNUSED(quiet)
    if (size < 1)
        return 0;
    const UnitFamily family = (data[0] & 1) ? UnitFamily::Sharc96k : UnitFamily::Sharc48k;
    UnitState state(family);
    PresetList presets;
    FrameAssembler assembler;
    assembler.append(reinterpret_cast<const char *>(data + 1), int(size - 1));
    bool applied = false;
    assembler.parse([&](quint8 cls, quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload) {
        StateFrames::reportKey(cls, module, param, payload, length);
        if (StateFrames::fold(state, cls, module, param, op, payload, length) == StateFrames::Fold::Applied)
            applied = true;
        if (cls == Frame::Module && module == Frame::Presets && param == Protocol::Presets::List)
            presets.decode(payload, length);
    });
    if (!applied)
        return 0;
    for (const WireFrame &frame : StateFrames::diffFrames(UnitState(family), state)) {
        const Protocol::Param *row = Protocol::param(frame.cls, frame.module, frame.param);
        if (frame.payload.size() > Frame::MaxSendPayload || !row || !row->set.length.fits(frame.payload.size())) {
            fprintf(stderr, "set frame class %d module %d param %d of %d bytes\n", frame.cls, frame.module,
                    frame.param, int(frame.payload.size()));
            std::abort();
        }
    }
    return 0;
}
