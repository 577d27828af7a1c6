// The output writer: every translated text reaches the output through
// EmitText, which interprets the escape language and the caret '^', a
// newline written only when the output is not already at the start of a
// line.
//
// The escape language (a backslash and what follows it):
//   \0 .. \7   an octal character code of at most three digits ("\0121."
//              is a newline followed by "1."); the value modulo 256 is
//              written as one byte, a value of 0 writes nothing
//   \n \r      newline, carriage return (outputColumn becomes 0)
//   \s \t      space, tab
//   \#NNN;     the character with the decimal number NNN, in UTF-8 (the
//              form onsgmls uses for characters it cannot write); a number
//              that names no character writes U+FFFD; "\#" not followed by
//              digits and ';' writes '#'
//   \|name\|   an SDATA reference, see below
//   \x         any other character x is written itself ("\\" writes one
//              backslash, "\^" a caret); a backslash at the end of the text
//              writes nothing
//
// A caret writes a newline: always when trackColumn is 0, and otherwise
// only when outputColumn is not 0 (it then becomes 0).  With trackColumn
// set, every written character adds 1 to outputColumn and a newline sets it
// to 0; an escape adds 1 for its backslash only.  The counter saturates
// instead of overflowing; only whether it is 0 matters.
//
// SDATA references: the name runs from after "\|" to the next backslash;
// that backslash and the character after it close the reference.  The name
// is looked up in output.sdataUsed, then in output.sdataMap (a name found
// only in the map is recorded in sdataUsed, so its replacement stays fixed
// for the run).  The replacement is written as if it stood in the text
// (escapes, carets, further references), without recursion on the machine
// stack.  An unknown name gives "Error: Could not find SDATA substitution
// '%s'.\n" on standard error and writes "[name]" as it stands, leaving
// outputColumn alone.  A replacement that refers to a name already being
// substituted, or substitutions nested deeper than kMaxSdataNesting, give a
// message and write "[name]" in the same way.  "\|" with no later backslash
// writes '|' and the rest of the text is written as usual.
//
// Buffering: on a fully buffered stream (the output) the bytes go straight
// into the stream's own buffer, as putc would put them; on a line-buffered
// or unbuffered stream (standard error) each call collects them in a local
// block and hands it over with fwrite (one call per block, never one per
// character).  Either way nothing stays inside this module between calls;
// whoever lets another process write to the same file descriptor must
// fflush the stream first.  Messages that a call writes to standard error
// are written after the bytes written before them have been handed to the
// stream.
#pragma once

#include <cstdio>
#include <string_view>

#include "output/maps.h"

namespace qlx {

struct VarTable;

// The output state shared by every stream.
struct OutputState {
  VarTable* sdataMap = nullptr;   // created by the first SDATA map file
  VarTable* sdataUsed = nullptr;  // substitutions made so far
  CharMap charMap;                // the current character map
};

extern OutputState output;

// Characters written since the last newline, on this thread.  A thread that
// translates part of a document ahead writes into a buffer of its own and
// keeps its own column there.
extern thread_local constinit int outputColumn;

// How deep SDATA replacements may nest inside each other.
inline constexpr int kMaxSdataNesting = 64;

// Writes `text` (null: "^") to `stream` (null: nothing at all, no lookup,
// no message), with column tracking when trackColumn is non-zero (text for
// the output) and without (messages for standard error).
void EmitText(const char* text, std::FILE* stream, int trackColumn);

// The same for a run cut out of a longer text: the text ends at the end of
// the view, or at a NUL byte inside it (as does an SDATA replacement).
void EmitText(std::string_view text, std::FILE* stream, int trackColumn);

// Writes a data text of the document (what the data writer of the
// translation uses for each data item), with trackColumn set:
//  - unless `verbatim` is set, the character map is applied first (see
//    ApplyCharMap; an empty map leaves the data as it is);
//  - the escapes of the data (ESIS writes "\n", "\012", "\\", "\|[amp ]\|",
//    "\#8364;") are interpreted as by EmitText;
//  - a caret of the document's own data is written as a caret, never as a
//    line break, while a caret in a character-map replacement or an SDATA
//    replacement keeps its line-break meaning.
// A null stream writes nothing; a null text is empty.
void EmitData(const char* text, std::FILE* stream, bool verbatim);

}  // namespace qlx
