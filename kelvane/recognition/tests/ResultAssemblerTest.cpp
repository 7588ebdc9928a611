#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HostileJson.h"
#include "ResultAssembler.h"

namespace {

// A result with one word position holding one candidate.
std::string Word(const std::string& text) {
  return R"({"sn":1,"ls":false,"ws":[{"cw":[{"w":")" + text + R"(","sc":0}]}]})";
}

// A replacing result over the given "rg" value.
std::string Replace(const std::string& range, const std::string& text) {
  return R"({"sn":2,"pgs":"rpl","rg":)" + range + R"(,"ws":[{"cw":[{"w":")" + text +
         R"(","sc":0}]}]})";
}

struct AcceptedCase {
  const char* name;
  std::vector<std::string> results;
  std::string text;
};

TEST(ResultAssemblerTest, BuildsTheTextFromResults) {
  const AcceptedCase cases[] = {
      {"sentences append", {Word("A"), Word("B")}, "AB"},
      {"rpl [1,1] replaces the first", {Word("A"), Replace("[1,1]", "B")}, "B"},
      {"rpl over a middle range", {Word("A"), Word("B"), Word("C"), Replace("[2,3]", "D")}, "AD"},
      {"range past the list", {Word("A"), Word("B"), Replace("[2,9]", "C")}, "AC"},
      {"first after last replaces nothing", {Word("A"), Word("B"), Replace("[3,2]", "C")}, "ABC"},
      {"range below 1 is clamped", {Word("A"), Word("B"), Replace("[-4,1]", "C")}, "BC"},
      {"null range replaces nothing", {Word("A"), Replace("null", "B")}, "AB"},
      {"highest score wins, first of equals",
       {R"({"ws":[{"cw":[{"w":"x","sc":0.2},{"w":"y","sc":0.5},{"w":"z","sc":0.5}]}]})"}, "y"},
      {"score -1 never wins", {R"({"ws":[{"cw":[{"w":"x","sc":-1},{"w":"y","sc":-3}]}]})"}, ""},
      {"word positions in order",
       {R"({"ws":[{"cw":[{"w":"你","sc":0}]},{"cw":[]},{"cw":[{"w":"好","sc":0}]}]})"}, "你好"},
      {"unexpected member types read as missing",
       {R"({"ws":{"0":{"cw":[{"w":"x"}]}}})", R"({"ws":[{"cw":{"w":"x"}}]})",
        R"({"ws":[{"cw":[{"w":5,"sc":1}]}, 7, {"cw":[{"w":"y","sc":"9"}]}]})",
        R"({"pgs":1,"rg":[1,3],"ws":[{"cw":[{"w":"z"}]}]})"},
       "yz"},
  };
  for (const AcceptedCase& c : cases) {
    CResultAssembler assembler;
    for (const std::string& result : c.results) {
      EXPECT_TRUE(assembler.Parse(result)) << c.name << ": " << result;
    }
    EXPECT_EQ(assembler.Text(), c.text) << c.name;
  }
}

void ExpectRefusedWithoutChange(const std::string& json) {
  CResultAssembler assembler;
  ASSERT_TRUE(assembler.Parse(Word("A")));
  EXPECT_FALSE(assembler.Parse(json));
  EXPECT_TRUE(assembler.Parse(Word("B")));
  EXPECT_EQ(assembler.Text(), "AB");
}

TEST(ResultAssemblerTest, RejectsBadInputWithoutChange) {
  const std::string rejected[] = {
      "not json", "", R"({"ws":)", "[1,2]", "5", R"("text")",
      Replace(R"("1,2")", "X"), Replace("[1]", "X"), Replace("[1,2,3]", "X"),
      Replace(R"([1,"2"])", "X"), Replace("[1.5,2]", "X"), Replace(R"({"a":1,"b":2})", "X"),
  };
  for (const std::string& json : rejected) {
    SCOPED_TRACE(json);
    ExpectRefusedWithoutChange(json);
  }
}

TEST(ResultAssemblerTest, RefusesHostileAnswersWithoutThrowing) {
  for (const HostileJson& answer : HostileJsonTable()) {
    SCOPED_TRACE(answer.what);
    ExpectRefusedWithoutChange(answer.text);
  }
}

TEST(ResultAssemblerTest, RangesAtTheEdgeOf64BitsAreClamped) {
  CResultAssembler assembler;
  ASSERT_TRUE(assembler.Parse(Word("A")));
  ASSERT_TRUE(assembler.Parse(Word("B")));
  ASSERT_TRUE(assembler.Parse(Replace("[-9223372036854775808,1]", "C")));
  ASSERT_TRUE(assembler.Parse(Replace("[9223372036854775807,9223372036854775807]", "D")));
  EXPECT_EQ(assembler.Text(), "BCD");
}

TEST(ResultAssemblerTest, ClearStartsTheNextSession) {
  CResultAssembler assembler;
  ASSERT_TRUE(assembler.Parse(Word("A")));
  EXPECT_EQ(assembler.Text(), "A");
  assembler.Clear();
  EXPECT_EQ(assembler.Text(), "");
  ASSERT_TRUE(assembler.Parse(Replace("[1,1]", "B")));
  EXPECT_EQ(assembler.Text(), "B");  // the range counts sentences of the new session only
}

}  // namespace
