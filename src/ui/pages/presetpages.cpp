#include "presetpages.h"

#include "funcwidget.h"
#include "ui/modules/deqwidget.h"
#include "ui/modules/firwidget.h"
#include "ui/modules/qfeedback.h"
#include "ui/modules/qgate.h"
#include "ui/modules/qindelay.h"
#include "ui/modules/qinfilter.h"
#include "ui/modules/qinlevel.h"
#include "ui/modules/qinlimiter.h"
#include "ui/modules/qmixer.h"
#include "ui/modules/qoutdelay.h"
#include "ui/modules/qoutfilter.h"
#include "ui/modules/qoutlevel.h"
#include "ui/modules/qoutlimiter.h"
#include "ui/modules/qsiggenerator.h"

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
