// The XML reader: builds the document tree straight from an XML document,
// parsed by libxml2 (the library xsltproc and xmllint are built on), with
// the tree that onsgmls with the bundled xml-esis.dcl would give through
// its ESIS: names upper-cased, name-token attribute values upper-cased,
// implied attributes absent and defaulted ones present, white space of
// element-only content dropped, line ends in data under the record-end
// rules of SGML, processing instructions as PI items, ENTITY attributes
// with their entity records.  The records go through the same tree
// builder as the ESIS reader's.
//
// The parser reads the DTD and its entities (public identifiers through
// the XML catalogs, never the network), applies attribute defaults,
// processes XInclude, and reports validity errors as warnings (silenced
// by -W).  A well-formedness error is reported with its file, line and
// column and ends the program with status 1.
#pragma once

#include <string_view>

#include "doc/tree.h"

namespace qlx {

// Whether an input that begins with `head` is XML: after an optional
// byte-order mark and white space, it begins with '<' (no ESIS record
// does).  `head` must reach past the white space, or be the whole input.
bool LooksLikeXml(std::string_view head);

// Reads the XML document whose first bytes, already read from `fd`, are
// `head`, and the rest from `fd`.  `inputName` is the file's name (null:
// standard input); it names the elements' file and resolves relative
// system identifiers and XInclude references.  Returns the root.  With
// `threaded`, the parsing runs on a second thread and the tree is built on
// the calling one, which writes every message that ends the reading.  An
// included file that cannot be read is reported, and counted in
// *unreadFiles (when given); the reading goes on.
ElemNode* ReadXML(int fd, std::string_view head, const char* inputName, bool threaded = false,
                  int* unreadFiles = nullptr);

}  // namespace qlx
