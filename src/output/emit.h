// The output writer: every translated text reaches the output through
// EmitText, which interprets the escape language and the caret '^', a
// newline written only when the output is not already at the start of a
// line.
//
// The escape language (a backslash and what follows it):
//   \0 .. \7   an octal character code of at most three digits ("\0121."
//              is a newline followed by "1."); the value modulo 256 is
//              written as one byte, a value of 0 writes nothing
//   \n \r      newline, carriage return (the column becomes 0)
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
// only when the column is not 0 (it then becomes 0).  With trackColumn
// set, every written character adds 1 to the column and a newline sets it
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
// the column alone.  A replacement that refers to a name already being
// substituted, or substitutions nested deeper than kMaxSdataNesting, give a
// message and write "[name]" in the same way.  "\|" with no later backslash
// writes '|' and the rest of the text is written as usual.
//
// Where it goes: an OutBuffer (util/outbuf.h), whose column the writer
// keeps; the bytes go straight into the buffer's free room.  Every call
// ends with the buffer's Done(), so a message is written out whole.  In a
// buffer whose column is unknown (work done ahead), a caret that would
// need it writes its newline as held only for a line that already holds
// text (OutBuffer::midLineOnly).  The escapes \n and \r in
// text written without column tracking (a message) reset the column of
// the buffer's columnOwner, the output the message belongs to.
#pragma once

#include <string_view>

#include "output/maps.h"
#include "util/outbuf.h"

namespace qlx {

struct VarTable;

// The output state shared by every stream.
struct OutputState {
  VarTable* sdataMap = nullptr;   // created by the first SDATA map file
  VarTable* sdataUsed = nullptr;  // substitutions made so far
  CharMap charMap;                // the current character map
};

extern OutputState output;

// How deep SDATA replacements may nest inside each other.
inline constexpr int kMaxSdataNesting = 64;

// Writes `text` (null: "^") to `stream` (null or discarding: nothing at all,
// no lookup, no message), with column tracking when trackColumn is non-zero (text for
// the output) and without (messages for standard error).
void EmitText(const char* text, OutBuffer* stream, int trackColumn);

// The same for a run cut out of a longer text: the text ends at the end of
// the view, or at a NUL byte inside it (as does an SDATA replacement).
void EmitText(std::string_view text, OutBuffer* stream, int trackColumn);

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
void EmitData(const char* text, OutBuffer* stream, bool verbatim);

// For a buffer whose column is unknown: runs write(arg) as it runs where
// the line already holds text, and lists what it wrote, to the buffer and
// to the buffer's messages, as held only for such a line
// (OutBuffer::midLineOnly).  Afterwards the column is 0 where that text
// ended a line, and unknown otherwise.
void WriteIfMidLine(OutBuffer* stream, void (*write)(void*), void* arg);
template <class Write>
void WriteIfMidLine(OutBuffer* stream, Write write) {
  WriteIfMidLine(stream, [](void* w) { (*static_cast<Write*>(w))(); }, &write);
}

}  // namespace qlx
