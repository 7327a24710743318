// ChartScale.cpp - label width and value positions of the line chart.
#include "tools/ChartScale.h"

#include <cmath>

namespace {

int BoundDigits(float bound)
{
    if (bound == 0.0f)
        return 0;
    const double magnitude = std::fabs((double)bound);
    double l = std::log10(magnitude);
    if (!std::isfinite(l))
        return 39; // beyond any float: keep the label area bounded
    int d = (int)std::fabs(std::trunc(l));
    // log10 of an exact power of ten may come out a hair below it (10 gives
    // 0.99999...), depending on how the runtime computes it: a bound of 1 or
    // more has its digits counted against the powers of ten themselves,
    // multiplied up (exact as far as a float's bounds go).
    if (magnitude >= 1.0) {
        d = 0;
        for (double power = 10.0; d < 39 && magnitude >= power; power *= 10.0)
            ++d;
    }
    return d > 39 ? 39 : d;
}

} // namespace

int ChartLabelDigits(float minY, float maxY)
{
    int a = BoundDigits(minY), b = BoundDigits(maxY);
    return a > b ? a : b;
}

int ChartPlotLeft(int clientLeft, float minY, float maxY, int decimals)
{
    return clientLeft + (ChartLabelDigits(minY, maxY) + decimals + 4) * 6;
}

int ChartValueToY(float value, float minValue, float maxValue, int top, int bottom)
{
    const int h = bottom - top;
    const double range = (double)maxValue - (double)minValue;
    if (range == 0.0 || !std::isfinite(range) || std::isnan(value))
        return top + h / 2;
    double offset = ((double)maxValue - (double)value) / range * h;
    if (offset < 0.0)
        offset = 0.0;
    if (offset > h)
        offset = h;
    return top + (int)offset;
}
