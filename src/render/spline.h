// The interpolating cubic spline DASCM: coefficients of the cubic on every interval between n points
// with strictly increasing abscissae, with a choice of end condition at each end.
//
// Arrays are indexed from 1 like the point arrays of a data set (element 0 unused): x and y hold
// points 1..n; b, c and d receive, for every interval i = 1..n − 1, the cubic
//     S_i(t) = y[i] + b[i] t + c[i] t² + d[i] t³,   t = x − x[i],
// and serve as work space while the system is solved, so each must have at least n elements.
#pragma once

#include <span>

namespace varnex {

class MessageBoxes;

// End condition types.
inline constexpr int kSplineSecondDerivative = 1;  // the second derivative at the end is `value`
inline constexpr int kSplineSlope = 2;             // the first derivative at the end is `value`
inline constexpr int kSplineRatio = 3;             // M_end = value × M_next (ratio of second derivatives)
inline constexpr int kSplineEstimatedSlope = 4;  // slope of the cubic through the 4 end points; value unused

struct SplineEnd {
    int type = kSplineEstimatedSlope;
    double value = 0;
};

// Error codes of dascm.
inline constexpr int kSplineArgumentError =
    2000;  // fewer than 2 points, a type outside 1..4, arrays too short
inline constexpr int kSplineAbscissaError =
    2100;  // abscissae not strictly increasing or equal in an end window

// Computes the spline. Returns 0 on success. On failure shows "*** IER=2000, DASCM ***" or
// "*** IER=2100, DASCM ***" (caption kErrorCaption) once and returns the code: after 2000 nothing is
// computed, after 2100 b, c and d hold whatever the computation had reached.
int dascm(std::span<const double> x, std::span<const double> y, int n, SplineEnd first, SplineEnd last,
          std::span<double> b, std::span<double> c, std::span<double> d, MessageBoxes& messages);

}  // namespace varnex
