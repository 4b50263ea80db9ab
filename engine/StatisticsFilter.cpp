#include "StatisticsFilter.h"

#include <cmath>

void StatisticsFilter::add(double x, unsigned int n)
{
    if (!initialised) {
        initialised = true;
        last = x;
        mean = x;
        minimum = x;
        maximum = x;
        meanOfSquares = x * x;
        return;
    }

    const double count = static_cast<double>(n);
    const double delta = x - mean;
    previousMean = mean;
    if (minimum > x)
        minimum = x;
    mean += delta / count;
    meanOfSquares += (x * x - meanOfSquares) / count;
    if (maximum < x)
        maximum = x;
    last = x;
    rms = std::sqrt(meanOfSquares);
    M2 += (x - mean) * delta;
    standardDeviation = std::sqrt(M2 / count);
}
