#pragma once

#include <array>

// The 420 frequencies, 10 Hz to 32 kHz in steps of 1/36 octave, at which the
// filter and FIR graphs evaluate their responses. Index 239 is 1 kHz.
constexpr int ResponseGridSize = 420;

// One value per grid frequency (a response in dB, for instance).
using ResponseCurve = std::array<double, ResponseGridSize>;

// The grid frequencies in Hz. Every value has at most one decimal place, so
// that the "cut to 0.1 Hz" of the filter response leaves them unchanged.
const ResponseCurve &responseGrid();
