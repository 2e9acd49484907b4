// Feeds the reassembly loop a large stream of mixed frames (small meter
// reports and 2079-byte FIR frames) in random-sized reads, and compares the
// throughput with a plain memcpy of the same bytes in the same run.

#include <QByteArray>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <cstdio>
#include <cstring>
#include <vector>

#include "core/link/frame.h"
#include "core/link/frameassembler.h"

namespace {

QByteArray makeFrame(quint8 cls, quint8 module, quint8 param, int length, quint32 seed)
{
    QByteArray payload(length, '\0');
    for (int i = 0; i < length; ++i)
        payload[i] = char((seed + quint32(i) * 31u) & 0xFF);
    QByteArray frame(length + Frame::Overhead, '\0');
    Frame::encode(reinterpret_cast<uchar *>(frame.data()), 1, cls, module, param, 0x80, payload.constData(),
                  quint16(length));
    return frame;
}

QByteArray makeStream(qint64 targetBytes, double firShare, int *frames)
{
    QByteArray stream;
    stream.reserve(int(targetBytes + 4096));
    QRandomGenerator rng(1234);
    *frames = 0;
    while (stream.size() < targetBytes) {
        const bool fir = rng.generateDouble() < firShare;
        stream += fir ? makeFrame(3, 17, 1, 2067, rng.generate()) : makeFrame(3, 1, 3, 4, rng.generate());
        ++*frames;
    }
    return stream;
}

struct Result
{
    double seconds;
    int delivered;
    quint64 checksum;
};

Result runAssembler(FrameAssembler &assembler, const QByteArray &stream, const std::vector<int> &reads)
{
    Result r{0, 0, 0};
    QElapsedTimer timer;
    timer.start();
    int pos = 0;
    size_t readIndex = 0;
    while (pos < stream.size()) {
        const int n = qMin(reads[readIndex++ % reads.size()], stream.size() - pos);
        assembler.append(stream.constData() + pos, n);
        pos += n;
        assembler.parse([&](quint8, quint8 module, quint8, quint8, quint16 length, const uchar *payload) {
            // What a receiver does at least: copy out what it keeps.
            uchar keep[4096];
            std::memcpy(keep, payload, qMin<int>(length, sizeof keep));
            r.checksum += module + keep[0] + length;
            ++r.delivered;
        });
    }
    r.seconds = timer.nsecsElapsed() / 1e9;
    return r;
}

double runMemcpy(std::vector<char> &target, const QByteArray &stream, const std::vector<int> &reads, quint64 *sink)
{
    QElapsedTimer timer;
    timer.start();
    int pos = 0;
    size_t readIndex = 0;
    // The same reads copied into one reused buffer, as a socket read would be.
    while (pos < stream.size()) {
        const int n = qMin(reads[readIndex++ % reads.size()], stream.size() - pos);
        if (size_t(n) > target.size())
            target.resize(size_t(n));
        std::memcpy(target.data(), stream.constData() + pos, size_t(n));
        *sink += quint64(target[0]);
        pos += n;
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    return seconds;
}

std::vector<int> randomReads(int maxRead)
{
    QRandomGenerator rng(99);
    std::vector<int> reads(4096);
    for (int &r : reads)
        r = 1 + int(rng.bounded(maxRead));
    return reads;
}

} // namespace

int main()
{
    quint64 sink = 0;
    std::printf("Reassembly benchmark (random reads of 1..65536 bytes)\n\n");
    const std::vector<int> reads = randomReads(65536);

    for (double firShare : {0.0, 0.5, 1.0}) {
        int frames = 0;
        const QByteArray stream = makeStream(64 << 20, firShare, &frames);
        Result best{1e9, 0, 0};
        double bestCopy = 1e9;
        FrameAssembler assembler;
        std::vector<char> target(65536, 1);
        for (int round = 0; round < 5; ++round) {
            const Result r = runAssembler(assembler, stream, reads);
            if (r.seconds < best.seconds)
                best = r;
            bestCopy = qMin(bestCopy, runMemcpy(target, stream, reads, &sink));
        }
        sink += best.checksum;
        const double mb = stream.size() / 1e6;
        std::printf("FIR share %3.0f%%: %d frames, %.1f MB\n", firShare * 100, frames, mb);
        std::printf("  reassembly: %10.0f frames/s %8.1f MB/s (%d delivered)\n", best.delivered / best.seconds,
                    mb / best.seconds, best.delivered);
        std::printf("  memcpy:                       %8.1f MB/s\n", mb / bestCopy);
        std::printf("  ratio reassembly/memcpy: %.3f (target >= 0.25 for FIR frames)\n\n",
                    bestCopy / best.seconds);
    }

    // Linear time: one burst delivered in a single read, doubled twice.
    std::printf("Single-read bursts (linearity)\n");
    double previous = 0;
    for (int mib : {4, 8, 16, 32}) {
        int frames = 0;
        const QByteArray stream = makeStream(qint64(mib) << 20, 0.3, &frames);
        const std::vector<int> oneRead{stream.size()};
        double best = 1e9;
        FrameAssembler assembler;
        for (int round = 0; round < 5; ++round)
            best = qMin(best, runAssembler(assembler, stream, oneRead).seconds);
        std::vector<char> target(size_t(stream.size()), 1);
        double copy = 1e9;
        for (int round = 0; round < 5; ++round)
            copy = qMin(copy, runMemcpy(target, stream, oneRead, &sink));
        std::printf("  %2d MiB burst: %8.2f ms (memcpy %6.2f ms)", mib, best * 1e3, copy * 1e3);
        if (previous > 0)
            std::printf("   (x%.2f for double the bytes)", best / previous);
        std::printf("\n");
        previous = best;
    }
    std::printf("\n(sink %llu)\n", static_cast<unsigned long long>(sink));
    return 0;
}
