#ifndef EXPFILTER_H
#define EXPFILTER_H

// First-order exponential low-pass and high-pass filter.
struct ExpFilter
{
    double y = 0.0;
    double alpha = 0.0;

    void set_tbase(double t);
    double lp_add(double x);
    double lp_add(double x, double a);
    double hp_add(double x);
    double hp_add(double x, double a);
};

#endif // EXPFILTER_H
