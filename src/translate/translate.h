// Element translation: a translation run over a subtree (read the spec
// file, choose every element's spec, write the _Start texts, translate the
// top element, write the _End texts, report unprocessed elements), and the
// translation of one element with a spec.
#pragma once

#include <cstdio>
#include <string_view>

namespace qlx {

struct ElemNode;
struct TranSpec;

// One translation run.  A null file name skips the run with a message; a
// null stream (validation) writes no output but every message.
void TranslateTree(ElemNode* top, const char* specFile, std::FILE* stream);

// Translates one element and its content with `spec` (null: the element's
// assigned spec, or the empty spec).  The walk over the content keeps its
// own stack, so nesting depth costs no machine stack.
void ProcessElement(ElemNode* elem, std::FILE* stream, TranSpec* spec);

// Runs the spec named by SpecID on the element: "5" always, "5t" only when
// spec 5's tests hold for the element.
void RunNamedAction(ElemNode* elem, std::string_view action, std::FILE* stream);

// One data item of the document: character map (unless verbatim), then the
// output writer.
void WriteData(const char* text, std::FILE* stream, bool verbatim);

// One processing instruction, through its _name spec, the _* spec, or as
// "[text]".
void WriteProcessingInstruction(const char* text, std::FILE* stream);

// The spec's Set and Increment variables, for the element.
void UpdateVariables(const TranSpec& spec, ElemNode* elem);

}  // namespace qlx
