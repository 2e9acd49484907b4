// The offline preset loader for both image sizes: the image codec and the
// function pages' "Offline Import". The first input byte picks the layout
// (bit 0: 96 kHz); the rest is cut or zero-padded to that layout's size, so
// every input reaches the loader. The raw input is also offered as it is,
// which only an image of the right size may pass.
//
// Loading must be stable: what a loaded image packs to loads and packs to
// the same bytes again, through the codec alone and through the pages.

#include "fuzzsupport.h"
#include "core/link/link.h"
#include "core/presets/presetimage.h"
#include "ui/pages/funcwidget.h"
#include "ui/pages/presetpages.h"

namespace {

FuncWidget *pages = nullptr;

void setUp()
{
    FuzzSupport::application();
    FuzzSupport::scratchDir();
    static FuzzSupport::ClosingPrompt prompt;
    // No socket: the pages send nothing while loading anyway.
    static Link link;
    pages = new FuncWidget(&link, &prompt);
}

void check(const QByteArray &packed, const QByteArray &again)
{
    if (again == packed)
        return;
    int at = 0;
    while (at < packed.size() && packed.at(at) == again.at(at))
        ++at;
    fprintf(stderr, "images differ at byte %d\n", at);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool ready = (setUp(), true);
    Q_UNUSED(ready)
    if (size < 1)
        return 0;
    const QByteArray raw(reinterpret_cast<const char *>(data + 1), int(size - 1));
    {
        PresetImage image;
        PresetImage::Variant variant;
        const bool sized = raw.size() == PresetImage::Size48k || raw.size() == PresetImage::Size96k;
        FUZZ_CHECK(image.unpack(raw, &variant) == sized);
    }

    const PresetImage::Variant variant = (data[0] & 1) ? PresetImage::Sharc96k : PresetImage::Sharc48k;
    QByteArray bytes = raw.left(PresetImage::sizeOf(variant));
    bytes.append(QByteArray(PresetImage::sizeOf(variant) - bytes.size(), '\0'));

    PresetImage first;
    PresetImage::Variant seen;
    FUZZ_CHECK(first.unpack(bytes, &seen));
    FUZZ_CHECK(seen == variant);
    const QByteArray packed = first.pack(variant);
    FUZZ_CHECK(packed.size() == PresetImage::sizeOf(variant));

    PresetImage second;
    FUZZ_CHECK(second.unpack(packed));
    check(packed, second.pack(variant));

    // "Offline Import" then "Offline Save": the pages limit what they take
    // (delays to their ranges, for one), and what they then save loads back
    // to exactly the same state.
    pages->importPresetFromPC(quint8(variant), bytes);
    const QByteArray saved = PresetPages::capture(*pages).pack(variant);
    pages->importPresetFromPC(quint8(variant), saved);
    check(saved, PresetPages::capture(*pages).pack(variant));
    return 0;
}
