#pragma once

#include "core/presets/presetimage.h"

class FuncWidget;

// Moves the parameter state between the function pages and a preset image:
// what "Offline Save" writes and "Offline Import" loads. Reading takes every
// page's mirror as it stands; loading hands each value to its page the way a
// reply from the unit would reach it, so the pages show it and nothing is
// sent.
class PresetPages
{
public:
    static PresetImage capture(const FuncWidget &pages);
    // `variant` says which blocks the image carried: the 48 kHz image has no
    // input delays, dynamic EQ or FIR, and those pages keep what they hold.
    static void apply(FuncWidget &pages, const PresetImage &image, PresetImage::Variant variant);
};
