// Directives: closing lines of a data file that set the axis limits and drawing choices when the
// file has no parameter file.
//
// They are read from the file's last block, which must be a text block after at least one numeric
// block. In it, line by line (comments skipped):
//   - a line containing "%%%%%%" ends the directives;
//   - a line not beginning with '%' is ignored;
//   - a '%' line is lower-cased and the text after the '%' is tested for containing, in this order:
//       "x"  : the first two numbers after the first '=' are xmin and xmax; xtype is 1 if the text
//              after the '=' contains "log", else 0;
//       "y"  : the same for ymin, ymax and ytype;
//       "nh" : the numbers after '=' are the interp codes of sets 1, 2, ... (truncated; 4 or more is
//              reduced by 2, and a 3 then becomes 2);
//       "nk" : the numbers after '=' are the marker codes of sets 1, 2, ... (truncated);
//     and a '%' line with none of these ends the directives.
// Malformed directives change nothing and do not end the directives, so the lines after them still
// apply: an x, y, nh or nk line without '=', and an x or y line with fewer than two numbers (neither
// limit nor the type changes, so a range is never set half). Numbers are counted as the tokenizer
// counts them (document/line_reader.h): a word such as "log" is a number 0. Numbers beyond the given
// sets are ignored. Codes saturate at the limits of their 8-bit fields.
// Lower-casing and every search step over whole characters of the system code page.
#pragma once

#include <span>
#include <string>

#include "document/model.h"

namespace varnex {

class ByteSource;
struct BlockIndex;

// Applies the directives of source to head (xmin, xmax, xtype, ymin, ymax, ytype) and to the
// GraphParams of sets (element 0 is set 1). True when the file has directives to read: a numeric
// block and a final text block (whatever that block holds); false otherwise, with nothing changed.
// A file whose scan was cut short (more than 511 blocks) has no directives: its end was not seen.
bool readDirectives(ByteSource& source, DocumentHead& head, std::span<DataSet> sets);
// The same with the blocks of source already scanned (document/data_file_reader.h scanBlocks).
bool readDirectives(ByteSource& source, const BlockIndex& index, DocumentHead& head, std::span<DataSet> sets);
// The same on a file; false if it cannot be opened.
bool readDirectives(const std::string& path, DocumentHead& head, std::span<DataSet> sets);

}  // namespace varnex
