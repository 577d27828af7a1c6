// Choosing the spec of an element: the first spec in file order whose
// tests all hold (name, name list, parent, context, attributes, relations,
// parent attribute, position, variable value and pattern, content),
// followed through its "Action:", else the "*" spec, else the empty spec.
#pragma once

#include <atomic>

#include "translate/context.h"

namespace qlx {

struct ElemNode;
struct SpecList;
struct TranSpec;

// wanted = 0: ordinary matching by name.  wanted != 0: only specs with
// that SpecID are candidates (their "GI:" is not looked at).  Never null.
TranSpec* MatchSpec(Translation& t, ElemNode* elem, int wanted);

// Gives every element of the subtree MatchSpec(t, e, 0), in document order
// (ElementSpec tells it; the translation keeps it, and forgets every
// earlier assignment).
void AssignSpecs(Translation& t, ElemNode* top);

// AssignSpecs' work for the elements with serials [*next, to), which must
// lie in the translation's table.  *next is always the element being matched
// (`to` at the end), so a caller whose matching was cut short knows where
// to go on.  With `stop`, it ends early once *stop is set.
void AssignSpecsInRange(Translation& t, int* next, int to, const std::atomic<bool>* stop = nullptr);

// Looks up now every "Action:" target of the list that exists, as matching
// would on first use (a missing one is left to matching, which reports it).
void ResolveActions(SpecList& list);

// The spec AssignSpecs gave the element in this run (null: none yet), and
// setting it (the spec must be in the run's list, or its empty spec, or
// null).
TranSpec* ElementSpec(const Translation& t, const ElemNode* e);
void SetElementSpec(Translation& t, ElemNode* e, TranSpec* spec);

// The spec the translation uses for the element: ElementSpec, or the
// empty spec.
TranSpec* SpecToUse(const Translation& t, const ElemNode* e);

}  // namespace qlx
