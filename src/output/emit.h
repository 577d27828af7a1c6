// The output writer: every translated text reaches the output through
// EmitText, which interprets the escape language (\n \r \s \t, octal codes,
// SDATA references \|name\|) and the caret '^', a newline written only when
// the output is not already at the start of a line.
#pragma once

#include <cstdio>
#include <string_view>

namespace qlx {

struct VarTable;
struct CharMapEntry;

// The output state shared by every stream.
struct OutputState {
  int outputColumn = 0;           // characters since the last newline
  VarTable* sdataMap = nullptr;   // created by the first SDATA map file
  VarTable* sdataUsed = nullptr;  // substitutions made so far
};

extern OutputState output;

// Writes `text` (null: "^") to `stream` (null: nothing at all), with column
// tracking when trackColumn is non-zero (text for the output) and without
// (messages for standard error).
void EmitText(const char* text, std::FILE* stream, int trackColumn);

}  // namespace qlx
