// Status records as the discovery listener takes them: the input is cut into
// 140-byte datagrams (a shorter tail is one more datagram) and merged into a
// device table with its device database open. No unit is ever chosen, so
// the table never connects anywhere, and its listener only binds a free
// port. (The device list is left out: building its tiles would cut the rate
// a hundredfold; the flood test and benchmark drive it.)

#include "core/devices/devicedatabase.h"
#include "fuzzsupport.h"
#include "ui/devices/qdevtable.h"

namespace {

QDevTable *table = nullptr;

// Done on the first input, not in LLVMFuzzerInitialize: with -jobs the
// driver process must keep its working directory, where the job logs go.
void setUp()
{
    FuzzSupport::application();
    FuzzSupport::scratchDir();
    static FuzzSupport::ClosingPrompt prompt;
    QDevTable::Network network;
    network.discoveryPort = 0;
    network.commandAddress = QHostAddress(QHostAddress::LocalHost);
    network.commandPort = 9;
    network.controlPort = 9;
    table = new QDevTable(network, &prompt, nullptr);
    table->loadDevices();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool ready = (setUp(), true);
    Q_UNUSED(ready)
    static quint64 runs = 0;
    table->database()->beginBatch();
    for (size_t at = 0; at < size; at += broadcastMsg::Size) {
        const size_t n = std::min<size_t>(broadcastMsg::Size, size - at);
        table->processDatagram(QByteArray(reinterpret_cast<const char *>(data + at), int(n)));
    }

    for (int i = 0; i < table->count(); ++i) {
        const broadcastMsg *record = table->recordAt(i);
        FUZZ_CHECK(record);
        FUZZ_CHECK(table->indexOfMachineId(record->machineid) == i);
        // What is kept of a location or description is what is shown.
        FUZZ_CHECK(broadcastMsg::fieldText(record->location, broadcastMsg::TextSize).size()
                   <= QDevTable::StoredTextBytes);
        FUZZ_CHECK(broadcastMsg::fieldText(record->description, broadcastMsg::TextSize).size()
                   <= QDevTable::StoredTextBytes);
        // A record round-trips through its wire form.
        broadcastMsg again;
        FUZZ_CHECK(broadcastMsg::decode(record->encode(), &again));
        FUZZ_CHECK(again.encode() == record->encode());
    }

    // Every input starts from an empty table.
    while (table->count() > 0)
        table->removeDev(table->count() - 1);
    table->database()->endBatch();
    if (++runs % 64 == 0) {
        // What the widgets let go of with deleteLater() goes only here: no
        // event loop runs between inputs.
        // Posted events only: socket notifiers and timers would make a run
        // depend on the clock, and CI's fixed-seed run must repeat exactly.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return 0;
}
