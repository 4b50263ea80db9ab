#ifndef STATISTICSFILTER_H
#define STATISTICSFILTER_H

// Running statistics of one signal (Welford update, population deviation).
struct StatisticsFilter
{
    bool initialised = false;
    double last = 0.0;
    double mean = 0.0;
    double previousMean = 0.0;
    double minimum = 0.0;
    double maximum = 0.0;
    double meanOfSquares = 0.0;
    double M2 = 0.0;
    double standardDeviation = 0.0;
    double rms = 0.0;

    // Adds sample x; n is the caller's sample count including this sample.
    void add(double x, unsigned int n);
};

#endif // STATISTICSFILTER_H
