#include "render/spline.h"

#include <algorithm>
#include <cstddef>

#include "util/message_boxes.h"

namespace varnex {

namespace {

// One end row of the system: 2 M_end + alpha M_next = r.
struct EndRow {
    double alpha = 0;
    double r = 0;
};

// The slope at point r of the polynomial through the points first..last (r among them), the
// derivative of the Lagrange form. False when two abscissae of the window are equal.
bool windowSlope(std::span<const double> x, std::span<const double> y, int first, int last, int r,
                 double& slope) {
    const auto at = [](std::span<const double> a, int i) { return a[static_cast<std::size_t>(i)]; };
    double sum = 0;
    double own = 0;
    for (int j = first; j <= last; ++j) {
        if (j == r) continue;
        double product = 1;
        for (int k = first; k <= last; ++k) {
            if (k == r || k == j) continue;
            const double num = at(x, r) - at(x, k);
            const double den = at(x, j) - at(x, k);
            if (num == 0 || den == 0) return false;
            product *= num / den;
        }
        const double gap = at(x, j) - at(x, r);
        if (gap == 0) return false;
        sum += at(y, j) * product / gap;
        own += 1 / -gap;
    }
    slope = sum + at(y, r) * own;
    return true;
}

}  // namespace

int dascm(std::span<const double> x, std::span<const double> y, int n, SplineEnd first, SplineEnd last,
          std::span<double> b, std::span<double> c, std::span<double> d, MessageBoxes& messages) {
    auto fail = [&](int code) {
        messages.inform(kErrorCaption,
                        code == kSplineArgumentError ? "*** IER=2000, DASCM ***" : "*** IER=2100, DASCM ***");
        return code;
    };
    const auto size = static_cast<std::size_t>(std::max(n, 0));
    const bool typesValid = first.type >= 1 && first.type <= 4 && last.type >= 1 && last.type <= 4;
    if (n < 2 || !typesValid || x.size() <= size || y.size() <= size || b.size() < size || c.size() < size ||
        d.size() < size) {
        return fail(kSplineArgumentError);
    }

    const auto X = [&](int i) { return x[static_cast<std::size_t>(i)]; };
    const auto h = [&](int i) { return X(i + 1) - X(i); };
    const auto delta = [&](int i) {
        return (y[static_cast<std::size_t>(i + 1)] - y[static_cast<std::size_t>(i)]) / h(i);
    };
    const auto at = [](std::span<double> a, int i) -> double& { return a[static_cast<std::size_t>(i)]; };

    // The end rows; for the first end the interval is 1, for the last n − 1.
    EndRow rows[2];
    const SplineEnd ends[2] = {first, last};
    for (int e = 0; e < 2; ++e) {
        const SplineEnd& end = ends[e];
        if (end.type == kSplineSecondDerivative) {
            rows[e] = {0, 2 * end.value};
            continue;
        }
        if (end.type == kSplineRatio) {
            rows[e] = {-2 * end.value, 0};
            continue;
        }
        double slope = end.value;
        if (end.type == kSplineEstimatedSlope) {
            const int windowFirst = e == 0 ? 1 : std::max(1, n - 3);
            const int windowLast = e == 0 ? std::min(n, 4) : n;
            if (!windowSlope(x, y, windowFirst, windowLast, e == 0 ? 1 : n, slope))
                return fail(kSplineAbscissaError);
        }
        const int interval = e == 0 ? 1 : n - 1;
        const double width = h(interval);
        if (width <= 0) return fail(kSplineAbscissaError);
        const double chord = delta(interval);
        rows[e] = {1, e == 0 ? 6 / width * (chord - slope) : 6 / width * (slope - chord)};
    }

    // Interior rows: mu_i M_{i−1} + 2 M_i + lambda_i M_{i+1} = g_i, with lambda, mu, g in b, c, d.
    for (int i = 1; i < n; ++i) {
        if (h(i) <= 0) return fail(kSplineAbscissaError);
        if (i == 1) continue;
        const double lambda = h(i) / (h(i - 1) + h(i));
        at(b, i) = lambda;
        at(c, i) = 1 - lambda;
        at(d, i) = 6 * (delta(i) - delta(i - 1)) / (h(i - 1) + h(i));
    }

    // Forward elimination to M_i = beta_i M_{i+1} + gamma_i, beta in b and gamma in c.
    at(b, 1) = -rows[0].alpha / 2;
    at(c, 1) = rows[0].r / 2;
    for (int i = 2; i < n; ++i) {
        const double lambda = at(b, i);
        const double mu = at(c, i);
        const double e = mu * at(b, i - 1) + 2;
        at(b, i) = -lambda / e;
        at(c, i) = (at(d, i) - mu * at(c, i - 1)) / e;
    }

    // Back substitution from M_n, turning the second derivatives into the coefficients.
    double next = (rows[1].r - rows[1].alpha * at(c, n - 1)) / (rows[1].alpha * at(b, n - 1) + 2);
    for (int i = n - 1; i >= 1; --i) {
        const double m = at(b, i) * next + at(c, i);
        at(d, i) = (next - m) / (6 * h(i));
        at(c, i) = m / 2;
        at(b, i) = delta(i) - h(i) * (at(c, i) + h(i) * at(d, i));
        next = m;
    }
    return 0;
}

}  // namespace varnex
