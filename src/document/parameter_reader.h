// Reading a parameter file (the format: document/parameter_file.h) into a Document and the View list.
//
// Every function reads from a ByteSource from its current position on, so that the reader can be
// tested and fuzzed on text in memory; the path versions open the file. Badly formed input is never
// an error: lines that match no key are ignored, numbers read as atof/atoi read them, integer fields
// saturate at the limits of their 8-bit fields, and text values are cut to their fields.
#pragma once

#include <span>
#include <string_view>

#include "document/model.h"

namespace varnex {

class ByteSource;
class MessageBoxes;
class ViewList;

// Reads the settings stored for doc's main file (doc.files.name(0)) into doc and the sets.
//
//   sets   the loaded data sets (element 0 = set 1): only these take GraphParams, and the `data` of
//          doc and of every view is capped at their number, so no slot that was not filled is used.
//          Empty when only the file list and axis settings are wanted (doc.data then reads 0).
//   views  when given, rebuilt: one view per stored section in file order (the first view and the
//          views after it are reused, new ones appended), the stored current view made current, the
//          views after the last section freed; doc and sets then receive the current view.
//          Without a view list doc and sets receive the stored current view.
//   boxes  receives the message of absoluteName if the main file's folder is invalid.
//
// doc.files is first reduced to the main file; then the current section's "file=" names are appended,
// made absolute against the main file. A folder is skipped (it cannot be read); the main file itself is
// kept (a file appended to itself loads twice); names beyond 31 are dropped.
//
// A "view=" index of 0 or below reads as 1; an index beyond the sections selects the last section.
// Sections after the kMaxViews-th (document/views.h) are not read when a view list is given. In a view
// whose `data` exceeds the loaded sets, the slots past the loaded ones keep the stored GraphParams on
// fresh records (count 0), ready for when that view's own files are loaded.
//
// Without a parameter file (".P", or ".p" when there is no ".P") the directives of the data file
// apply instead (document/directives.h); with a view list, the first view then takes doc and the sets
// and becomes the only view. Returns true when settings were read (a section, or the directives);
// false when the data file cannot be opened, has no directives, or the parameter file holds no
// complete section (doc then keeps its settings).
//
// REQUIRES: doc and sets are not a view's own records (pass a work copy): views are overwritten and
// freed while they are read.
bool readParameters(DocumentHead& doc, std::span<DataSet> sets, ViewList* views, MessageBoxes& boxes);

// The same on the bytes of a parameter file (no directives: false when it holds no section). A UTF-8
// byte-order mark at position 0 is skipped, here and in isReferenced.
bool readParameters(ByteSource& source, DocumentHead& doc, std::span<DataSet> sets, ViewList* views,
                    MessageBoxes& boxes);

// Reads lines up to the first that begins with "view=" and returns the integer after that line's first
// '=', at least 1. Without such a line the source goes back to where it was and 1 is returned.
int readViewIndex(ByteSource& source);

// Reads the key lines of one section into doc (doc.files first reduced to the main file) up to its
// "data=" line (a key counts only at the start of a line, after any leading blanks), and returns that count (0..255: negative counts read as 0, larger ones as 255), which
// is also stored in doc.data without any cap. Returns 0 at the end of the data; doc has then taken
// whatever key lines came before it. The set lines that follow are left for readSetLines.
int readViewSection(ByteSource& source, DocumentHead& doc, MessageBoxes& boxes);

// Reads n set lines: five integers each, as scanf's "%d" reads them, across line ends. The first
// number is ignored (lines fill the sets in order); the others are interp, linetype, marker and
// shape of sets[0], sets[1], ...; lines beyond sets.size() are read and dropped. An interp above 3 is
// reduced by 2, and a 3 then becomes 2. Reading stops before a line that does not hold five integers
// (a section cut short): the remaining sets keep their GraphParams, and the next line is left for the
// next section. Returns the number of lines read.
int readSetLines(ByteSource& source, std::span<DataSet> sets, int n);

// True if the parameter file of dataPath has a line beginning with "file=" whose value equals relName,
// compared without regard to ASCII case and to the kind of separator ('\' or '/'). False without a
// parameter file.
bool isReferenced(std::string_view dataPath, std::string_view relName);
bool isReferenced(ByteSource& source, std::string_view relName);

}  // namespace varnex
