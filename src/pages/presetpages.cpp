#include "presetpages.h"

#include "modules/deqwidget.h"
#include "modules/firwidget.h"
#include "modules/qfeedback.h"
#include "modules/qgate.h"
#include "modules/qindelay.h"
#include "modules/qinfilter.h"
#include "modules/qinlevel.h"
#include "modules/qinlimiter.h"
#include "modules/qmixer.h"
#include "modules/qoutdelay.h"
#include "modules/qoutfilter.h"
#include "modules/qoutlevel.h"
#include "modules/qoutlimiter.h"
#include "modules/qsiggenerator.h"
#include "pages/funcwidget.h"

PresetImage PresetPages::capture(const FuncWidget &pages)
{
    PresetImage image;
    for (int c = 0; c < PresetImage::Inputs; ++c) {
        const size_t i = size_t(c);
        image.gates[i] = pages.gate()->record(c);
        image.inputLevels[i] = pages.inLevel()->record(uchar(c));
        image.feedback[i] = pages.feedback()->isSuppressorOn(c);
        image.inputFilters[i] = pages.inFilter()->record(c);
        image.inputLimiters[i] = pages.inLimiter()->record(uchar(c));
        for (int b = 0; b < PresetImage::DeqBands; ++b)
            image.deq[i][size_t(b)] = pages.deq()->band(c, b);
        image.inputDelays[i] = pages.inDelay()->delay(c);
    }
    image.generator = pages.sigGenerator()->record();
    for (int o = 0; o < PresetImage::Outputs; ++o) {
        const size_t i = size_t(o);
        image.mixer[i] = pages.mixer()->output(o);
        image.outputLevels[i] = pages.outLevel()->record(uchar(o));
        image.fir[i] = pages.fir()->record(uchar(o));
        image.outputFilters[i] = pages.outFilter()->record(o);
        image.outputLimiters[i] = pages.outLimiter()->record(uchar(o));
        image.outputDelays[i] = pages.outDelay()->delay(o);
    }
    return image;
}

void PresetPages::apply(FuncWidget &pages, const PresetImage &image, PresetImage::Variant variant)
{
    const bool full = variant == PresetImage::Sharc96k;
    for (int c = 0; c < PresetImage::Inputs; ++c) {
        const size_t i = size_t(c);
        pages.gate()->setRecord(c, image.gates[i]);
        pages.inLevel()->setRecord(uchar(c), image.inputLevels[i]);
        pages.feedback()->setSuppressorOn(c, image.feedback[i]);
        pages.inFilter()->setRecord(c, image.inputFilters[i]);
        pages.inLimiter()->setRecord(uchar(c), image.inputLimiters[i]);
        if (full) {
            for (int b = 0; b < PresetImage::DeqBands; ++b)
                pages.deq()->setBand(c, b, image.deq[i][size_t(b)]);
            pages.inDelay()->setDelay(c, image.inputDelays[i]);
        }
    }
    pages.sigGenerator()->setRecord(image.generator);
    for (int o = 0; o < PresetImage::Outputs; ++o) {
        const size_t i = size_t(o);
        pages.mixer()->setOutput(o, image.mixer[i]);
        pages.outLevel()->setRecord(uchar(o), image.outputLevels[i]);
        // The FIR page is already set to the 96 kHz variant here, so the
        // records are shown with 512 taps at 96 kHz.
        if (full)
            pages.fir()->setRecord(uchar(o), image.fir[i]);
        pages.outFilter()->setRecord(o, image.outputFilters[i]);
        pages.outLimiter()->setRecord(uchar(o), image.outputLimiters[i]);
        pages.outDelay()->setDelay(o, image.outputDelays[i]);
    }
}
