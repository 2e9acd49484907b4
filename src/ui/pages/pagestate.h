#pragma once

#include "core/state/unitstate.h"

class FuncWidget;

// The function pages' state as one UnitState: every DSP record the pages
// mirror (as PresetPages reads them), the channel labels, location and
// description of the settings page. What the pages do not hold (security
// locks, front-panel settings, trims, sources) keeps the value of `base`.
class PageState
{
public:
    static UnitState capture(const FuncWidget &pages, const UnitState &base);
    static UnitState capture(const FuncWidget &pages);
    // Shows `state` on the pages the way a report from the unit would: the
    // records that differ from what the pages hold are set, nothing is sent.
    static void show(FuncWidget &pages, const UnitState &state);
};
