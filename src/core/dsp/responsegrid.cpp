#include "responsegrid.h"

#include <cmath>

namespace {

// 1000 * 2^((i - 239) / 36) to three significant digits. Five points of the
// grid the graphs have always used depart from the rounded series; they stay
// as they are so that curves keep their familiar points.
double gridFrequency(int i)
{
    switch (i) {
    case 59:
        return 31.3;
    case 116:
        return 94.0;
    case 117:
        return 95.0;
    case 118:
        return 97.0;
    case 119:
        return 99.0;
    default:
        break;
    }
    const double exact = 1000.0 * std::pow(2.0, (i - 239) / 36.0);
    const int exponent = int(std::floor(std::log10(exact)));
    // Divide by an exact power of ten (rather than multiply by 0.1) so that
    // 31.9 comes out as the double nearest to 31.9.
    if (exponent >= 2)
        return std::floor(exact / std::pow(10.0, exponent - 2) + 0.5) * std::pow(10.0, exponent - 2);
    return std::floor(exact * std::pow(10.0, 2 - exponent) + 0.5) / std::pow(10.0, 2 - exponent);
}

ResponseCurve buildGrid()
{
    ResponseCurve grid{};
    for (int i = 0; i < ResponseGridSize; ++i)
        grid[size_t(i)] = gridFrequency(i);
    return grid;
}

} // namespace

const ResponseCurve &responseGrid()
{
    static const ResponseCurve grid = buildGrid();
    return grid;
}
