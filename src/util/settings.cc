#include "util/settings.h"

namespace qlx {

RunSettings settings;

}  // namespace qlx
