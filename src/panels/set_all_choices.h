// Giving one graph-panel choice to all data sets at once (Graph "&Set Parameter").
//
// The choice is the one of the focused row list: row j, column c (0 interpolation, 1 line type,
// 2 marker, 3 shape) and its selected position v. The user is asked first (Yes, No or Cancel):
// - line type and shape: Yes gives v to every set that is drawn in that respect (a line for the line
//   type, a marker for the shape); No gives those sets the values of a cycle, the k-th drawn set
//   (v + k − j) mod m (m = 5 line types, 4 shapes), so that row j keeps v when every set before it is
//   drawn;
// - interpolation and marker: Yes gives v to every set whose choice is not none (hidden sets are left
//   out); No gives v to every set.
// Cancel changes nothing. Whatever the answer, the choices the data cannot support are reduced
// afterwards: a spline of fewer than two points becomes a line, error bars without error data go.
#pragma once

#include <string>

#include "util/message_boxes.h"

namespace varnex {

struct Document;

// The question for column c, with its item name filled in (UTF-8).
std::string setAllQuestion(int column);

// Gives the choice to sets 1..rows of doc as answered. REQUIRES: 1 <= row <= rows <= 255, 0 <= column <= 3
void giveChoiceToAll(Document& doc, int rows, int row, int column, int value, Answer answer);

// The per-set rules of the normalisation for sets 1..rows: interp 2 with fewer than 2 points becomes
// 1; without error data, marker 2 becomes 0 and marker 3 becomes 1.
void normaliseChoices(Document& doc, int rows);

}  // namespace varnex
