// The range commands: axis limits set from the extent of all data ("Min and Max"), from the data that
// is drawn ("Auto"), and at a cursor position (the range pop-up's position commands).
//
// They change only xmin, xmax, ymin and ymax of the Document; the caller redraws. None of them checks
// the order of the limits: a range they leave reversed is drawn mirrored (the axis mesh refuses it once
// per drawing), never rejected here.
#pragma once

namespace varnex {

struct Document;
struct DocumentHead;

enum class Axis { X, Y };

// xmin, xmax := dataxmin, dataxmax (or the y pair for Axis::Y): the extent of all points at load. On a
// logarithmic axis the extent is that of the values the axis can show, over every point of every set
// (the positive ones for type 1, the negative ones for type -1), as for the automatic range: a zero or
// a value of the other sign would give a limit the axis cannot take. An extent of no width (one value,
// no value the axis can show, or a Document without data) would leave nothing to draw, so the range
// then stays as it is. Returns whether the limits changed.
bool rangeToDataExtent(Document& doc, Axis axis);

// The automatic range of one axis over the shown data. For the y axis: every point of every set that is
// not hidden (no line and no marker) whose x lies in [xmin, xmax] counts; its y is taken through the
// y-axis transform (values of the wrong sign for a logarithmic axis, which the transform sends far
// outside every range, are left out); ymin and ymax become the back transform of the smallest and
// largest transformed value widened by 5 % of their distance on each side, so a logarithmic axis
// gets its margin in decades. The x axis works the same with x and y exchanged. A limit that the margin
// would take beyond the doubles the axis can show is held at the largest finite double (on a log axis,
// at the smallest one of its sign). The range stays as it is when fewer than two distinct values
// count. Returns whether the limits changed.
bool automaticRange(Document& doc, Axis axis);

// The position commands, offset 1..6 (command 1500 + offset), with the cursor value (x, y):
// 1 xmin := x, 2 xmax := x, 3 ymin := y, 4 ymax := y, 5 xmin := x and ymin := y, 6 xmax := x and
// ymax := y. Any other offset changes nothing. Returns whether the offset names a change.
bool placeRangeEnds(DocumentHead& doc, int offset, double x, double y);

}  // namespace varnex
