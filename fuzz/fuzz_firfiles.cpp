// The FIR page's file readers: the 18-byte ".chFIR" design header and the
// coefficient text (its own companion files and files from other tools).
// The first input byte picks the reader (bit 0: coefficients) and the tap
// limit (bit 1: 512 taps, else 256); the rest is the file.

#include <cmath>

#include "fuzzsupport.h"
#include "core/files/firfiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const int maxTaps = (data[0] & 2) ? 512 : 256;
    const QByteArray file(reinterpret_cast<const char *>(data + 1), int(size - 1));

    if (!(data[0] & 1)) {
        FirChannel header;
        const FirFiles::Result result = FirFiles::readHeader(file, maxTaps, &header);
        if (result == FirFiles::Result::Ok) {
            // What the page accepts is a design it can show as it is.
            FUZZ_CHECK(header.normalised().headerBytes() == header.headerBytes());
            FUZZ_CHECK(header.taps <= maxTaps);
            FirChannel again;
            FUZZ_CHECK(FirFiles::readHeader(header.headerBytes(), maxTaps, &again) == FirFiles::Result::Ok);
            FUZZ_CHECK(again.headerBytes() == header.headerBytes());
        }
        return 0;
    }

    QVector<float> values;
    const FirFiles::Result result = FirFiles::readCoefficients(file, maxTaps, &values);
    FUZZ_CHECK(values.size() <= maxTaps);
    for (float v : qAsConst(values))
        FUZZ_CHECK(std::isfinite(v) && std::fabs(v) <= FirFiles::MaxCoefficient);
    if (result == FirFiles::Result::Ok) {
        FUZZ_CHECK(!values.isEmpty());
        // What the page writes back reads as the same filter.
        QVector<float> again;
        FUZZ_CHECK(FirFiles::readCoefficients(FirFiles::coefficientText(values.constData(), values.size()), maxTaps,
                                              &again)
                   == FirFiles::Result::Ok);
        FUZZ_CHECK(again.size() == values.size());
        for (int i = 0; i < values.size(); ++i)
            FUZZ_CHECK(again.at(i) == values.at(i));
    }
    return 0;
}
