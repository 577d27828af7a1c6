#include <gtest/gtest.h>

#include "main/run.h"
#include "util/settings.h"
#include "util/vartable.h"

namespace qlx {
namespace {

class AssignVariableTest : public testing::Test {
 protected:
  void SetUp() override { saved_ = settings; }
  void TearDown() override { settings = saved_; }
  std::string Get(const char* name) {
    const std::string* v = LookupVar(&vars_, name);
    return v ? *v : "<none>";
  }
  bool Has(const char* name) { return vars_.index.count(name) != 0; }
  RunSettings saved_;
  VarTable vars_;
};

TEST_F(AssignVariableTest, ValueKeepsInnerAndTrailingBlanks) {
  AssignVariable(&vars_, "name=a b ");
  EXPECT_EQ(Get("name"), "a b ");
  AssignVariable(&vars_, "x=  lead");
  EXPECT_EQ(Get("x"), "lead");
  std::string longArg = "long=" + std::string(500, 'v');
  AssignVariable(&vars_, longArg.c_str());
  EXPECT_EQ(Get("long"), std::string(500, 'v')) << "no 100-character bound";
}

TEST_F(AssignVariableTest, EmptyValueAndNoName) {
  AssignVariable(&vars_, "name=");
  EXPECT_EQ(Get("name"), "");
  AssignVariable(&vars_, "=x");
  EXPECT_TRUE(Has("x"));
  EXPECT_EQ(Get("x"), "<none>");
}

TEST_F(AssignVariableTest, MissingEqualsIsReportedAndSkipped) {
  testing::internal::CaptureStderr();
  AssignVariable(&vars_, "plain");
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Expected an '=' in variable assignment: plain. Ignored\n");
  EXPECT_EQ(vars_.count(), 0u);
}

TEST_F(AssignVariableTest, ReservedNamesSetTheRunSettings) {
  AssignVariable(&vars_, "verbose=2");
  EXPECT_EQ(settings.verbose, 2);
  AssignVariable(&vars_, "verbose=0");
  EXPECT_EQ(settings.verbose, 0);
  settings.verbose = 1;
  AssignVariable(&vars_, "verbose=");
  EXPECT_EQ(settings.verbose, 0);
  settings.verbose = 1;
  AssignVariable(&vars_, "=verbose");
  EXPECT_EQ(settings.verbose, 0);
  AssignVariable(&vars_, "warnings=0");
  EXPECT_EQ(settings.warnings, 0);
  EXPECT_EQ(vars_.count(), 0u);
}

}  // namespace
}  // namespace qlx
