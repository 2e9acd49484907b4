// "cfg.dat" and "translations/language.dat" as the application reads them at
// start-up. The first input byte picks the file (bit 0: language.dat); the
// rest is its content.
//
// cfg.dat must survive the application's own write: what it writes after
// reading a damaged file reads back as the same values.

#include "core/settings/languagelist.h"
#include "core/settings/localconfig.h"
#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::scratchDir();
    if (size < 1)
        return 0;
    if (data[0] & 1) {
        FuzzSupport::writeFile(QStringLiteral("translations/language.dat"), data + 1, size - 1);
        LanguageList list;
        FUZZ_CHECK(list.read());
        FUZZ_CHECK(list.count() <= LanguageList::MaxLanguages);
        FUZZ_CHECK(list.files.size() == list.fonts.size());
        return 0;
    }

    FuzzSupport::writeFile(QStringLiteral("cfg.dat"), data + 1, size - 1);
    const bool highDpi = LocalConfig::readHighDpiScaling();
    LocalConfig config;
    FUZZ_CHECK(config.read());
    config.highDpiScaling = highDpi;
    // The window takes only an index its language list has.
    if (config.currentLanguage < 0 || config.currentLanguage >= LanguageList::MaxLanguages)
        config.currentLanguage = 0;
    FUZZ_CHECK(config.write());

    LocalConfig again;
    FUZZ_CHECK(again.read());
    FUZZ_CHECK(LocalConfig::readHighDpiScaling() == config.highDpiScaling);
    FUZZ_CHECK(again.currentLanguage == config.currentLanguage);
    FUZZ_CHECK(again.code == config.code);
    FUZZ_CHECK(again.englishTitle == config.englishTitle);
    FUZZ_CHECK(again.chineseTitle == config.chineseTitle);
    return 0;
}
