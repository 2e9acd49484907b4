// Firmware images as the upgrade reads them: the ARM header check of the
// uploader and the ".sbin" packer. The first input byte picks the target
// (bit 0: DSP); the rest is the image file.

#include "fuzzsupport.h"
#include "core/firmware/firmwareimage.h"
#include "core/firmware/firmwareuploader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::scratchDir();
    if (size < 1)
        return 0;
    const auto target = (data[0] & 1) ? FirmwareUploader::Dsp : FirmwareUploader::Arm;
    FuzzSupport::writeFile(QStringLiteral("image.bin"), data + 1, size - 1);

    const FirmwareUploader::Image image = FirmwareUploader::readImage(target, QStringLiteral("image.bin"));
    const QByteArray file(reinterpret_cast<const char *>(data + 1), int(size - 1));
    if (image.check == FirmwareUploader::Check::Ok) {
        FUZZ_CHECK(image.bytes == file);
        FUZZ_CHECK(target == FirmwareUploader::Dsp || FirmwareUploader::isArmHeader(file));
    } else {
        FUZZ_CHECK(image.bytes.isEmpty());
    }
    if (file.isEmpty())
        FUZZ_CHECK(image.check == FirmwareUploader::Check::Empty);

    // Whatever ".bin" is packed, the result passes the ARM check and carries
    // the image unchanged between its head and tail.
    FUZZ_CHECK(FirmwareImage::packFile(QStringLiteral("image.bin"), QStringLiteral("image.sbin"))
               == FirmwareImage::Result::Ok);
    const FirmwareUploader::Image packed = FirmwareUploader::readImage(FirmwareUploader::Arm,
                                                                      QStringLiteral("image.sbin"));
    FUZZ_CHECK(packed.check == FirmwareUploader::Check::Ok);
    FUZZ_CHECK(packed.bytes.mid(FirmwareImage::HeadSize, file.size()) == file);
    FUZZ_CHECK(packed.bytes.size() == FirmwareImage::HeadSize + file.size() + FirmwareImage::TailSize);
    return 0;
}
