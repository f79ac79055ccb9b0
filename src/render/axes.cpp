#include "render/axes.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "document/model.h"
#include "render/labels.h"
#include "render/mapping.h"
#include "render/mesh.h"
#include "render/output/drawing.h"
#include "util/numbers.h"

namespace varnex {
namespace {

constexpr std::string_view kLabelFace = "Times New Roman";
constexpr double kSuperscript = 0.75;      // exponent text size relative to the label size unit
constexpr double kMinorTick = 0.65;        // minor tick length relative to the major one
constexpr double kDecadeTolerance = 1e-5;  // page units a decade may lie outside the frame
constexpr int kMeshIntervals = 5;
// Decades beyond this cannot hold a finite value (|log10| of a double stays below 324, and values of
// the wrong sign transform to ±100); the bound keeps the decade loops short whatever the limits are.
constexpr std::int64_t kMaxDecade = 400;

// Text alignment codes: top of the text at y; centred, right-aligned or left-aligned at x.
constexpr int kCentreTop = 11;
constexpr int kRightTop = 12;
constexpr int kLeftTop = 13;

constexpr std::array<int, 8> kAllMultipliers{2, 3, 4, 5, 6, 7, 8, 9};
constexpr std::array<int, 1> kMiddleMultiplier{5};

struct Frame {
    double left, right, bottom, top;
    explicit Frame(const DocumentHead& doc)
        : left(doc.area[0]), right(doc.area[1]), bottom(doc.area[2]), top(doc.area[3]) {}
};

// A tick on the x axis: up from the bottom edge and down from the top edge.
void xTick(Drawing& drawing, const Frame& frame, double px, double length) {
    drawing.moveTo(px, frame.bottom);
    drawing.lineTo(px, frame.bottom + length);
    drawing.moveTo(px, frame.top);
    drawing.lineTo(px, frame.top - length);
}

// A tick on the y axis: right from the left edge and left from the right edge.
void yTick(Drawing& drawing, const Frame& frame, double py, double length) {
    drawing.moveTo(frame.left, py);
    drawing.lineTo(frame.left + length, py);
    drawing.moveTo(frame.right, py);
    drawing.lineTo(frame.right - length, py);
}

// The decades from trunc(tmin − 1) to trunc(tmax + 1), cut toward zero and kept within ±kMaxDecade.
struct DecadeRange {
    int lo, hi;
};
DecadeRange decadeRange(double tmin, double tmax) {
    return {static_cast<int>(truncSaturated(tmin - 1, -kMaxDecade, kMaxDecade)),
            static_cast<int>(truncSaturated(tmax + 1, -kMaxDecade, kMaxDecade))};
}

// Sub-decade multipliers: all of 2..9 while the decades are few, else only 5.
std::span<const int> subDecadeMultipliers(const DecadeRange& decades, int maxSpan) {
    if (decades.hi - decades.lo <= maxSpan) return kAllMultipliers;
    return kMiddleMultiplier;
}

// Minor ticks of a mesh: minor − 1 ticks inside every interval, those within [tmin, tmax].
template <typename Tick>
void meshMinorTicks(const Mesh& mesh, double tmin, double tmax, Tick tick) {
    for (int k = 1; k < mesh.count; ++k) {
        const double vk = mesh.value(k);
        const double step = (mesh.value(k + 1) - vk) / mesh.minor;
        for (int l = 1; l < mesh.minor; ++l) {
            const double v = vk + l * step;
            if (tmin <= v && v <= tmax) tick(v);
        }
    }
}

// The factor "*10" with the raised shift, right and left of (x, y).
void drawFactor(Drawing& drawing, const Mesh& mesh, double x, double y, double a) {
    drawing.setFont(a, 0, kLabelFace);
    drawing.drawText(kFactorText, x, y, kRightTop);
    drawing.setFont(kSuperscript * a, 0, kLabelFace);
    drawing.drawText(integerText(mesh.shift), x, y, kLeftTop);
}

bool isLogarithmic(int type) {
    return type == 1 || type == -1;
}

void drawLogXAxis(Drawing& drawing, const DocumentHead& doc, const Frame& frame, double a, double d) {
    const int type = doc.xtype;
    const DecadeRange decades = decadeRange(doc.txmin, doc.txmax);
    drawing.setPen(0, doc.tickwidth, 0);
    for (int q = decades.lo; q <= decades.hi; ++q) {
        const double px = pageX(doc, q);
        if (!(frame.left - kDecadeTolerance <= px && px <= frame.right + kDecadeTolerance)) continue;
        const DecadeLabel label = decadeLabel(q, type);
        drawing.setFont(a, 0, kLabelFace);
        drawing.drawText(label.base, px + 0.5 * a, frame.bottom - 2.5 * a, kRightTop);
        drawing.setFont(kSuperscript * a, 0, kLabelFace);
        drawing.drawText(label.exponent, px + 1.25 * a, frame.bottom - 1.8 * a, kLeftTop);
        xTick(drawing, frame, px, d);
    }
    drawing.setPen(0, doc.subtickwidth, 0);
    for (int q = decades.lo; q <= decades.hi; ++q) {
        for (int m : subDecadeMultipliers(decades, 8)) {
            const double v = scale(unscale(q, type) * m, type);
            if (doc.txmin <= v && v <= doc.txmax) xTick(drawing, frame, pageX(doc, v), kMinorTick * d);
        }
    }
}

void drawLinearXAxis(Drawing& drawing, const DocumentHead& doc, const Frame& frame, double a, double d,
                     MessageBoxes& messages) {
    const Mesh mesh = makeMesh(kMeshIntervals, doc.txmin, doc.txmax);
    if (mesh.empty()) {
        reportMeshFailure(messages);
        return;
    }
    if (mesh.shift != 0) drawFactor(drawing, mesh, frame.right, frame.bottom - 6 * a, a);
    drawing.setPen(0, doc.tickwidth, 0);
    drawing.setFont(a, 0, kLabelFace);
    for (int k = 2; k < mesh.count; ++k) {
        const double px = pageX(doc, mesh.value(k));
        drawing.drawText(tickLabel(mesh, k), px, frame.bottom - 0.5 * a, kCentreTop);
        xTick(drawing, frame, px, d);
    }
    drawing.setPen(0, doc.subtickwidth, 0);
    meshMinorTicks(mesh, doc.txmin, doc.txmax,
                   [&](double v) { xTick(drawing, frame, pageX(doc, v), kMinorTick * d); });
}

void drawLogYAxis(Drawing& drawing, const DocumentHead& doc, const Frame& frame, double a, double d) {
    const int type = doc.ytype;
    const DecadeRange decades = decadeRange(doc.tymin, doc.tymax);
    drawing.setPen(0, doc.tickwidth, 0);
    for (int q = decades.lo; q <= decades.hi; ++q) {
        const double py = pageY(doc, q);
        if (!(frame.bottom - kDecadeTolerance <= py && py <= frame.top + kDecadeTolerance)) continue;
        const DecadeLabel label = decadeLabel(q, type);
        drawing.setFont(a, 0, kLabelFace);
        drawing.drawText(label.base, frame.left - 3.5 * a, py + 1.5 * a, kRightTop);
        drawing.setFont(kSuperscript * a, 0, kLabelFace);
        drawing.drawText(label.exponent, frame.left - 3.5 * a, py + 2.25 * a, kLeftTop);
        yTick(drawing, frame, py, d);
    }
    drawing.setPen(0, doc.subtickwidth, 0);
    for (int q = decades.lo; q <= decades.hi; ++q) {
        for (int m : subDecadeMultipliers(decades, 10)) {
            const double v = scale(unscale(q, type) * m, type);
            if (doc.tymin <= v && v <= doc.tymax) yTick(drawing, frame, pageY(doc, v), kMinorTick * d);
        }
    }
}

void drawLinearYAxis(Drawing& drawing, const DocumentHead& doc, const Frame& frame, double a, double d,
                     MessageBoxes& messages) {
    const Mesh mesh = makeMesh(kMeshIntervals, doc.tymin, doc.tymax);
    if (mesh.empty()) {
        reportMeshFailure(messages);
        return;
    }
    if (mesh.shift != 0) drawFactor(drawing, mesh, frame.left - 10 * a, frame.top, a);
    drawing.setPen(0, doc.tickwidth, 0);
    drawing.setFont(a, 0, kLabelFace);
    for (int k = 2; k < mesh.count; ++k) {
        const double py = pageY(doc, mesh.value(k));
        drawing.drawText(tickLabel(mesh, k), frame.left - a, py + 1.5 * a, kRightTop);
        yTick(drawing, frame, py, d);
    }
    drawing.setPen(0, doc.subtickwidth, 0);
    meshMinorTicks(mesh, doc.tymin, doc.tymax,
                   [&](double v) { yTick(drawing, frame, pageY(doc, v), kMinorTick * d); });
}

}  // namespace

void drawXAxis(Drawing& drawing, const DocumentHead& doc, double labelUnit, double tickLength,
               MessageBoxes& messages) {
    const Frame frame(doc);
    const double a = labelUnit;
    drawing.setFont(a, 0, doc.xfont);
    drawing.drawText(doc.xtitle, (frame.left + frame.right) / 2, frame.bottom - 6 * a, kCentreTop);
    if (isLogarithmic(doc.xtype)) {
        drawLogXAxis(drawing, doc, frame, a, tickLength);
    } else {
        drawLinearXAxis(drawing, doc, frame, a, tickLength, messages);
    }
}

void drawYAxis(Drawing& drawing, const DocumentHead& doc, double labelUnit, double tickLength,
               MessageBoxes& messages) {
    const Frame frame(doc);
    const double a = labelUnit;
    if (isLogarithmic(doc.ytype)) {
        drawLogYAxis(drawing, doc, frame, a, tickLength);
    } else {
        drawLinearYAxis(drawing, doc, frame, a, tickLength, messages);
    }
    drawing.setFont(a, 90, doc.yfont);
    drawing.drawText(doc.ytitle, frame.left - 12 * a, (frame.bottom + frame.top) / 2, kCentreTop);
}

void drawFrame(Drawing& drawing, const DocumentHead& doc) {
    const Frame frame(doc);
    drawing.setPen(0, doc.framewidth, 0);
    drawing.moveTo(frame.left, frame.bottom);
    drawing.lineTo(frame.right, frame.bottom);
    drawing.lineTo(frame.right, frame.top);
    drawing.lineTo(frame.left, frame.top);
    drawing.lineTo(frame.left, frame.bottom);
}

}  // namespace varnex
