#include "ExpFilter.h"

namespace {
constexpr double SamplePeriod = 0.002;
}

void ExpFilter::set_tbase(double t)
{
    alpha = SamplePeriod / t;
}

double ExpFilter::lp_add(double x)
{
    return lp_add(x, alpha);
}

double ExpFilter::lp_add(double x, double a)
{
    y = a * x + (1.0 - a) * y;
    return y;
}

double ExpFilter::hp_add(double x)
{
    return x - lp_add(x);
}

double ExpFilter::hp_add(double x, double a)
{
    return x - lp_add(x, a);
}
