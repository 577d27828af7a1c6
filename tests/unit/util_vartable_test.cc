#include <gtest/gtest.h>

#include "util/settings.h"
#include "util/vartable.h"

namespace qlx {
namespace {

std::string Value(const VarTable* t, const char* name) {
  const std::string* v = LookupVar(t, name);
  return v ? *v : "<none>";
}

TEST(VarTable, SetTwiceKeepsPositionAndNewValue) {
  VarTable* t = NewVarTable(3);
  SetMapping(t, "a", "1");
  SetMapping(t, "b", "2");
  SetMapping(t, "a", "3");
  ASSERT_EQ(t->count(), 2u);
  EXPECT_EQ(t->entries[0].name, "a");
  EXPECT_EQ(Value(t, "a"), "3");
  EXPECT_EQ(Value(t, "zz"), "<none>");
}

TEST(VarTable, CapacityGrowsByStep) {
  VarTable* t = NewVarTable(3);
  EXPECT_EQ(t->capacity(), 0u);
  SetMapping(t, "v1", "x");
  EXPECT_EQ(t->capacity(), 3u);
  for (int i = 2; i <= 4; ++i) SetMapping(t, "v" + std::to_string(i), "x");
  EXPECT_EQ(t->capacity(), 6u);
  for (int i = 5; i <= 7; ++i) SetMapping(t, "v" + std::to_string(i), "x");
  EXPECT_EQ(t->capacity(), 9u);
  EXPECT_EQ(NewVarTable(0)->step, 1);
}

TEST(VarTable, NoValueIsLikeUnset) {
  VarTable* t = NewVarTable(1);
  SetMapping(t, "a", "x");
  SetMapping(t, "a", nullptr);
  EXPECT_EQ(t->count(), 1u);
  EXPECT_EQ(LookupVar(t, "a"), nullptr);
}

TEST(VarTable, ReservedNamesSetRunSettingsAndStoreNothing) {
  VarTable* t = NewVarTable(1);
  RunSettings saved = settings;
  SetMapping(t, "warnings", "0");
  SetMapping(t, "verbose", "2x");
  SetMapping(t, "foldcase", "no");
  SetMapping(nullptr, "warnings", "7");  // any table, even none
  EXPECT_EQ(settings.warnings, 7);
  EXPECT_EQ(settings.verbose, 2);
  EXPECT_EQ(settings.foldcase, 0);
  EXPECT_EQ(t->count(), 0u);
  settings = saved;
}

TEST(VarTable, CommandValuesKeepTheFirstLine) {
  VarTable* t = NewVarTable(1);
  SetMapping(t, "two", "!printf 'first\\nsecond\\n'");
  EXPECT_EQ(Value(t, "two"), "first");
  SetMapping(t, "none", "!true");
  EXPECT_EQ(Value(t, "none"), "");
  SetMapping(t, "empty", "!");
  EXPECT_EQ(Value(t, "empty"), "");
  SetMapping(t, "long", "!head -c 200000 /dev/zero | tr '\\0' x; echo; echo tail");
  EXPECT_EQ(Value(t, "long"), std::string(200000, 'x'));
}

TEST(VarTable, SetMappingLineSplitsNameAndValue) {
  VarTable* t = NewVarTable(1);
  SetMappingLine(t, "x  a b");
  SetMappingLine(t, "only");
  SetMappingLine(t, " lead");
  EXPECT_EQ(Value(t, "x"), "a b");
  EXPECT_EQ(Value(t, "only"), "");
  EXPECT_EQ(Value(t, ""), "lead");
  testing::internal::CaptureStderr();
  SetMappingLine(nullptr, "a b");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "SetMapping: Map not initialized.\n");
}

}  // namespace
}  // namespace qlx
