// Fixed tables of named entries, kept sorted by name: the keywords of a
// spec file, the special variables, the table instructions.  A table is a
// plain array of structs with a `std::string_view name` member; it is
// checked sorted and free of duplicates at compile time
// (static_assert(SortedByName(table))) and searched by binary search.
#pragma once

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <string_view>

namespace qlx {

// Whether every name is greater than the one before it.
template <typename Entry, std::size_t N>
constexpr bool SortedByName(const Entry (&table)[N]) {
  for (std::size_t i = 1; i < N; ++i)
    if (!(table[i - 1].name < table[i].name)) return false;
  return true;
}

// The entry named `name`, or null.
template <typename Entry, std::size_t N>
const Entry* FindByName(const Entry (&table)[N], std::string_view name) {
  const Entry* end = std::end(table);
  const Entry* at = std::lower_bound(std::begin(table), end, name,
                                     [](const Entry& e, std::string_view n) { return e.name < n; });
  return at != end && at->name == name ? at : nullptr;
}

}  // namespace qlx
