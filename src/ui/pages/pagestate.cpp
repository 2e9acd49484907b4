#include "pagestate.h"

#include <QLineEdit>
#include <QSignalBlocker>

#include "funcwidget.h"
#include "presetpages.h"
#include "qsetup.h"
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

namespace {

UnitFamily familyOf(const FuncWidget &pages)
{
    return pages.hasInputDelayPage() ? UnitFamily::Sharc96k : UnitFamily::Sharc48k;
}

void showText(QLineEdit *edit, const QString &text)
{
    if (!edit || edit->text() == text)
        return;
    const QSignalBlocker blocker(edit);
    edit->setText(text);
}

} // namespace

UnitState PageState::capture(const FuncWidget &pages)
{
    return capture(pages, UnitState(familyOf(pages)));
}

UnitState PageState::capture(const FuncWidget &pages, const UnitState &base)
{
    UnitState state = base.family() == familyOf(pages) ? base : UnitState(familyOf(pages));
    state.dsp = PresetPages::capture(pages);
    const QSetup *setup = pages.setup();
    for (int c = 0; c < UnitState::Inputs; ++c)
        state.inputLabels[size_t(c)] = setup->inLabelEdit(c)->text();
    for (int o = 0; o < UnitState::Outputs; ++o)
        state.outputLabels[size_t(o)] = setup->outLabelEdit(o)->text();
    state.location = setup->locationEdit()->text();
    state.description = setup->descriptionEdit()->text();
    return state;
}

void PageState::show(FuncWidget &pages, const UnitState &state)
{
    const PresetImage now = PresetPages::capture(pages);
    const PresetImage &to = state.dsp;
    const bool full = UnitState::hasInputDelay(state.family()) && pages.hasInputDelayPage();
    for (int c = 0; c < PresetImage::Inputs; ++c) {
        const size_t i = size_t(c);
        if (!(now.gates[i] == to.gates[i]))
            pages.gate()->setRecord(c, to.gates[i]);
        if (!(now.inputLevels[i] == to.inputLevels[i]))
            pages.inLevel()->setRecord(uchar(c), to.inputLevels[i]);
        if (now.feedback[i] != to.feedback[i])
            pages.feedback()->setSuppressorOn(c, to.feedback[i]);
        if (!(now.inputFilters[i] == to.inputFilters[i]))
            pages.inFilter()->setRecord(c, to.inputFilters[i]);
        if (!(now.inputLimiters[i] == to.inputLimiters[i]))
            pages.inLimiter()->setRecord(uchar(c), to.inputLimiters[i]);
        for (int b = 0; b < PresetImage::DeqBands; ++b) {
            if (!(now.deq[i][size_t(b)] == to.deq[i][size_t(b)]))
                pages.deq()->setBand(c, b, to.deq[i][size_t(b)]);
        }
        if (full && now.inputDelays[i] != to.inputDelays[i])
            pages.inDelay()->setDelay(c, to.inputDelays[i]);
    }
    const GeneratorRecord &g = now.generator;
    const GeneratorRecord &h = to.generator;
    if (g.mute != h.mute || g.frequency != h.frequency || g.source != h.source || g.gain != h.gain
        || g.output != h.output)
        pages.sigGenerator()->setRecord(to.generator);
    for (int o = 0; o < PresetImage::Outputs; ++o) {
        const size_t i = size_t(o);
        if (!(now.mixer[i] == to.mixer[i]))
            pages.mixer()->setOutput(o, to.mixer[i]);
        if (!(now.outputLevels[i] == to.outputLevels[i]))
            pages.outLevel()->setRecord(uchar(o), to.outputLevels[i]);
        if (!(now.fir[i] == to.fir[i]))
            pages.fir()->setRecord(uchar(o), to.fir[i]);
        if (!(now.outputFilters[i] == to.outputFilters[i]))
            pages.outFilter()->setRecord(o, to.outputFilters[i]);
        if (!(now.outputLimiters[i] == to.outputLimiters[i]))
            pages.outLimiter()->setRecord(uchar(o), to.outputLimiters[i]);
        if (now.outputDelays[i] != to.outputDelays[i])
            pages.outDelay()->setDelay(o, to.outputDelays[i]);
    }
    QSetup *setup = pages.setup();
    for (int c = 0; c < UnitState::Inputs; ++c) {
        const QString &label = state.inputLabels[size_t(c)];
        if (setup->inLabelEdit(c)->text() != label) {
            showText(setup->inLabelEdit(c), label);
            pages.setInLabel(uchar(c), label);
        }
    }
    for (int o = 0; o < UnitState::Outputs; ++o) {
        const QString &label = state.outputLabels[size_t(o)];
        if (setup->outLabelEdit(o)->text() != label) {
            showText(setup->outLabelEdit(o), label);
            pages.setOutLabel(uchar(o), label);
        }
    }
    showText(setup->locationEdit(), state.location);
    showText(setup->descriptionEdit(), state.description);
}
