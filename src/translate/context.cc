#include "translate/context.h"

#include "doc/tree.h"
#include "util/fatal.h"

namespace qlx {

Variables::Variables() {
  step = 20;
  owner = this;
  onStore = [](void* self, std::string_view name, const std::string_view* value) {
    auto& vars = *static_cast<Variables*>(self);
    if (name == "_blanks")
      vars.blankData = !value ? 0 : *value == "collapse" ? 1 : *value == "drop" ? 2 : 0;
    else if (name == "_space")
      vars.blankText = value ? std::string(*value) : std::string();
  };
}

QLX_ENDS_PROCESS void Translation::Stop(int status) {
  if (ahead) throw FatalStop{status};
  Fatal(status);
}

bool Translation::IsProcessed(const ElemNode* e) const {
  return size_t(e->serial) < run.processed.size() && run.processed[size_t(e->serial)];
}

void Translation::MarkProcessed(const ElemNode* e) {
  if (finished) {
    finished->push_back(e->serial);
    return;
  }
  if (size_t(e->serial) >= run.processed.size()) run.processed.resize(size_t(doc.nextSerial));
  run.processed[size_t(e->serial)] = true;
}

void Translation::SetInsertedSpecId(const ElemNode* e, char where, int id) {
  auto& marks = where == 'S' ? run.insertedBefore : run.insertedAfter;
  if (id != 0) marks[e] = id;
  else marks.erase(e);
}

}  // namespace qlx
