#pragma once

#include <QByteArray>

#include <array>

#include "core/protocol/protocol.h"
#include "unitmodule.h"

// The preset store of the virtual unit (module 32): 32 slots, each a
// snapshot of the unit's whole DSP state with a name of up to 16 bytes.
//
// Save takes the snapshot, recall reports its progress (param 9, 0 to 100 in
// steps of ten, one per 100 ms tick) and then puts the snapshot back into
// every module, so the pages see it on their next poll. One slot or all
// slots travel to and from the PC in chunks the PC asks for; the images are
// this unit's own format (see slotImage() and allImage()), which the PC keeps
// byte for byte and never looks into. An image that comes back damaged (bad
// magic, version or checksum) is refused and changes nothing.
class PresetModule final : public UnitModule
{
public:
    static constexpr int Slots = Protocol::Presets::Slots;
    static constexpr int NameSize = Protocol::Presets::NameSize;
    static constexpr int ChunkSize = Protocol::Presets::ChunkSize;

    // The unit's DSP settings, encoded: levels (with link groups and the
    // input sources), gates and feedback suppressors, limiters, filters,
    // delays, matrix, generator, dynamic EQ and FIR. Calibration trims are
    // the unit's own and stay out of presets.
    static QByteArray captureSettings(const VirtualUnit &unit);
    // False (nothing changed) when `settings` is not a whole encoding.
    static bool applySettings(VirtualUnit &unit, const QByteArray &settings);
    static int settingsSize();

    struct Slot
    {
        bool used = false;
        QByteArray name = QByteArray(NameSize, '\0');
        QByteArray settings; // captureSettings() of the moment it was saved
    };

    // The single-slot image: magic "OXPS", version, used flag, name, the
    // settings (defaults when unused), CRC-16 of all before it.
    static QByteArray slotImage(const Slot &slot);
    static int slotImageSize();
    static bool readSlotImage(const QByteArray &image, Slot *slot);
    // The all-slots image: magic "OXPA", version, the current slot (i8),
    // 32 single-slot images, CRC-16.
    QByteArray allImage() const;
    static int allImageSize();
    bool readAllImage(const QByteArray &image);

    bool handle(VirtualUnit &unit, const UnitFrame &frame) override;
    void tick(VirtualUnit &unit) override;

    // Operations, as the messages perform them.
    void save(const VirtualUnit &unit, int slot);
    void erase(int slot);
    void rename(int slot, const QByteArray &name);
    // Applies a slot at once (the message form takes a second).
    bool recallNow(VirtualUnit &unit, int slot);
    // The name of the slot in use, up to its first NUL; empty when no used
    // slot is current.
    QByteArray currentName() const;

    // State, readable and settable by tests.
    std::array<Slot, Slots> slotTable{};
    int current = -1;
    // Completed transfers into the unit, and damaged images refused.
    int importsApplied = 0;
    int importsRefused = 0;
    int recallsApplied = 0;
    bool isRecalling() const { return m_recallSlot >= 0; }

private:
    void reportList(VirtualUnit &unit);
    void reportSize(VirtualUnit &unit, quint8 param, int size);
    void finishSingleImport();
    void finishAllImport();

    int m_recallSlot = -1;
    int m_recallProgress = 0;

    QByteArray m_export;
    int m_exportCursor = 0;
    QByteArray m_exportAll;

    int m_importSlot = -1;
    QByteArray m_import;
    QByteArray m_importAll;
    int m_importAllEnd = -1; // -1: no all-slots import running
};
