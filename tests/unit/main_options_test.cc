#include <gtest/gtest.h>

#include "main/run.h"
#include "util/settings.h"
#include "util/vartable.h"

namespace qlx {
namespace {

class AssignVariableTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = settings;
    globalVars = NewVarTable(20);
  }
  void TearDown() override { settings = saved_; }
  std::string Get(const char* name) {
    const std::string* v = LookupVar(globalVars, name);
    return v ? *v : "<none>";
  }
  bool Has(const char* name) { return globalVars->index.count(name) != 0; }
  RunSettings saved_;
};

TEST_F(AssignVariableTest, ValueKeepsInnerAndTrailingBlanks) {
  AssignVariable("name=a b ");
  EXPECT_EQ(Get("name"), "a b ");
  AssignVariable("x=  lead");
  EXPECT_EQ(Get("x"), "lead");
  std::string longArg = "long=" + std::string(500, 'v');
  AssignVariable(longArg.c_str());
  EXPECT_EQ(Get("long"), std::string(500, 'v')) << "no 100-character bound";
}

TEST_F(AssignVariableTest, EmptyValueAndNoName) {
  AssignVariable("name=");
  EXPECT_EQ(Get("name"), "");
  AssignVariable("=x");
  EXPECT_TRUE(Has("x"));
  EXPECT_EQ(Get("x"), "<none>");
}

TEST_F(AssignVariableTest, MissingEqualsIsReportedAndSkipped) {
  testing::internal::CaptureStderr();
  AssignVariable("plain");
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Expected an '=' in variable assignment: plain. Ignored\n");
  EXPECT_EQ(globalVars->count(), 0u);
}

TEST_F(AssignVariableTest, ReservedNamesSetTheRunSettings) {
  AssignVariable("verbose=2");
  EXPECT_EQ(settings.verbose, 2);
  AssignVariable("verbose=0");
  EXPECT_EQ(settings.verbose, 0);
  settings.verbose = 1;
  AssignVariable("verbose=");
  EXPECT_EQ(settings.verbose, 0);
  settings.verbose = 1;
  AssignVariable("=verbose");
  EXPECT_EQ(settings.verbose, 0);
  AssignVariable("warnings=0");
  EXPECT_EQ(settings.warnings, 0);
  EXPECT_EQ(globalVars->count(), 0u);
}

}  // namespace
}  // namespace qlx
