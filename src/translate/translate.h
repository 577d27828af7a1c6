// Element translation: a translation run over a subtree (read the spec
// file, choose every element's spec, write the _Start texts, translate the
// top element, write the _End texts, report unprocessed elements), and the
// translation of one element with a spec.
#pragma once

#include "translate/context.h"
#include "util/outbuf.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace qlx {

struct ElemNode;
class OutBuffer;
struct TranSpec;

// Translations nested inside a spec text (named actions, _id and the other
// special variables that translate elements) run on the machine stack.
// Past kNestingOnCallerStack levels they go on on a thread with a large
// stack of their own (see RunOnLargeStack), so nesting is limited by
// memory: when a nested translation finds less than kStackReserve bytes
// of that stack left, it stops the run with "Error: Named actions nested
// too deep for the stack left, at:", the element's location and status 1,
// so a spec whose actions lead back to where they started ends instead of
// overflowing the stack.  A run done ahead moves to a large stack in the
// same way, so it records what a plain run writes, the stop included.
// Where no such thread can be made, kMaxActionNesting levels are allowed.
inline constexpr int kNestingOnCallerStack = 200;
inline constexpr int kMaxActionNesting = 1000;
inline constexpr size_t kStackReserve = size_t(1) << 20;

// Runs body(arg) on a thread whose stack is `size` bytes (the calling
// thread waits for it), with the stack room checked as said above (t's
// stackLimit, for the time of the call); on the
// calling thread when no such thread can be made.  An exception thrown by
// the body is thrown again by the caller.
void RunOnLargeStack(Translation& t, void (*body)(void*), void* arg, size_t size);
inline constexpr size_t kLargeStack = sizeof(void*) >= 8 ? size_t(512) << 20 : size_t(128) << 20;
// The size of the large stack of nested translations: kLargeStack, or, in
// tests that reach its end, less.  Set only while no translation runs.
inline size_t largeStackSize = kLargeStack;

// Reads the spec file into the translation's spec list, its patterns
// expanded with the translation's variables; false when it could not be
// read (see ReadTranSpec).
bool ReadSpecs(Translation& t, const std::string& specFile);

// One translation run, with the variables `vars`.  A null file name skips
// the run with a message; a null stream (validation) writes no output but
// every message.  Returns the number of files the run needed and could
// not read (see RunState::unreadFiles).
int TranslateTree(ElemNode* top, const char* specFile, OutBuffer* stream, Variables& vars);
// The same with a fresh translation the caller owns (its output is
// t.out), which keeps the run's specs and what the run marked.
void TranslateTree(Translation& t, ElemNode* top, const char* specFile);

// Translates one element and its content with `spec` (null: the element's
// assigned spec, or the empty spec).  The walk over the content keeps its
// own stack, so nesting depth costs no machine stack.
void ProcessElement(Translation& t, ElemNode* elem, OutBuffer* stream, TranSpec* spec);

// The content items [first, last) of `elem`, and everything inside them,
// translated as `spec` (the element's spec) has its content translated.
void TranslateItems(Translation& t, ElemNode* elem, TranSpec* spec, int first, int last, OutBuffer* stream);

// Runs the spec named by SpecID on the element: "5" always, "5t" only when
// spec 5's tests hold for the element.
void RunNamedAction(Translation& t, ElemNode* elem, std::string_view action, OutBuffer* stream);

// One data item of the document: its blanks gathered as the variable
// _blanks asks (t.vars.blankData; `edge`: the item is the first or the
// last of its element's content, where "drop" removes an item of blanks
// alone, while one between two other items still gives a space), the
// character map (unless verbatim), then the output writer.
void WriteData(Translation& t, const char* text, OutBuffer* stream, bool verbatim, bool edge = true);

// One processing instruction, through its _name spec, the _* spec, or as
// "[text]".
void WriteProcessingInstruction(Translation& t, const char* text, OutBuffer* stream);

// The spec's Set and Increment variables, for the element.
void UpdateVariables(Translation& t, const TranSpec& spec, ElemNode* elem);

}  // namespace qlx
