// The parameter file: the settings of every View of a graph, kept beside its data file.
//
// Name: the data file's path with the extension of its file name replaced by ".P" ("/d/run.dat" →
// "/d/run.P"): the text from the last '.' of the base name. A file name without '.' gets ".P"
// appended ("/d.x/run" → "/d.x/run.P"); a '.' in a folder name never counts, so two data files never
// share a parameter file. Files written on a system that ignores case may carry ".p": it is read when
// no ".P" exists; ".P" is always written.
//
// Format: text, lines ending in CR LF (LF alone reads the same), numbers in the C locale.
//
//   view=2                      1-based position of the current view
//   then for each view, in list order, a section:
//   <empty line>
//   file=..\sub\x.dat           one per appended file, in list order: the name relative to the main
//   file=*.1.@                  data file with '\' separators, a child file with '*' for the main
//                               file's path; a file with no relative name (on another drive) by its
//                               absolute name
//   vtitle=No Title             text values as they are (at most 255 bytes, fonts 49)
//   xtype=0                     -1, 0 or 1
//   xsize=100%                  percent
//   xtitle=X
//   xfont=Times New Roman
//   ytype=0, ysize=100%, ytitle=Y, yfont=Times New Roman (one line each, as for x)
//   xmin=0, ymin=0, xmax=1, ymax=1, printw=15, framewidth=0.3, graphwidth=0.3, markersize=1.3
//                               (one line each, in this order; "%g": 6 significant digits)
//   data=2                      number of data sets; ends the section's key lines
//   1 1 0 0 0                   per set: number, interp, linetype, marker, shape
//   2 1 0 0 0
//
// Readers recognise a key only at the start of a line, after any leading blanks (a title that
// contains "data=" or "file=" stays a title), take the value after the key, and read the set lines as whitespace-separated integers
// across line ends. Lines are read in pieces of at most 255 bytes ('#' lines are comments), so a text
// value keeps at most 255 bytes less its key (248 after "vtitle="); the writer cuts it to that, so
// that no rest of a line is read as a line of its own. printox, printoy, tickwidth and subtickwidth
// are not stored. Reading: document/parameter_reader.h; writing: document/parameter_writer.h.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace varnex {

// The keys, as they appear in the file.
inline constexpr std::string_view kViewKey = "view=";
inline constexpr std::string_view kFileKey = "file=";
inline constexpr std::string_view kDataKey = "data=";
inline constexpr std::string_view kVtitleKey = "vtitle=";
inline constexpr std::string_view kXtypeKey = "xtype=";
inline constexpr std::string_view kXsizeKey = "xsize=";
inline constexpr std::string_view kXtitleKey = "xtitle=";
inline constexpr std::string_view kXfontKey = "xfont=";
inline constexpr std::string_view kYtypeKey = "ytype=";
inline constexpr std::string_view kYsizeKey = "ysize=";
inline constexpr std::string_view kYtitleKey = "ytitle=";
inline constexpr std::string_view kYfontKey = "yfont=";
inline constexpr std::string_view kXminKey = "xmin=";
inline constexpr std::string_view kYminKey = "ymin=";
inline constexpr std::string_view kXmaxKey = "xmax=";
inline constexpr std::string_view kYmaxKey = "ymax=";
inline constexpr std::string_view kPrintwKey = "printw=";
inline constexpr std::string_view kFramewidthKey = "framewidth=";
inline constexpr std::string_view kGraphwidthKey = "graphwidth=";
inline constexpr std::string_view kMarkersizeKey = "markersize=";
// "follow=1" when the view follows its newest point; absent when it does not.
inline constexpr std::string_view kFollowKey = "follow=";

// The name of the parameter file of dataPath, as described above (always with ".P").
std::string parameterFileName(std::string_view dataPath);

// The parameter file to read for dataPath: parameterFileName if that is a file, else the same name
// with ".p" if that is a file, else nullopt. (Folders of those names do not count.)
std::optional<std::string> findParameterFile(std::string_view dataPath);

}  // namespace varnex
