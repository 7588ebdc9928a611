// Answers built to break a JSON reader or the code that converts its values: numbers past
// 64 bits, nesting far past any real answer, members of the wrong type. Shared by the
// recogniser and translation tests: each must be refused, and nothing may throw.
#pragma once

#include <string>
#include <vector>

struct HostileJson {
  const char* what;
  std::string text;
};

// depth arrays around a number.
inline std::string NestedArrays(int depth) {
  return std::string(depth, '[') + "1" + std::string(depth, ']');
}

// A recogniser result replacing the sentences of the given "rg" value.
inline std::string ReplacingResult(const std::string& range) {
  return R"({"sn":2,"ls":false,"pgs":"rpl","rg":)" + range + R"(,"ws":[{"cw":[{"w":"X","sc":0}]}]})";
}

inline std::vector<HostileJson> HostileJsonTable() {
  return {
      {"rg end past int64", ReplacingResult("[1,1e19]")},
      {"rg end at uint64 max", ReplacingResult("[1,18446744073709551615]")},
      {"rg start past int64", ReplacingResult("[1e19,1]")},
      {"rg start below int64", ReplacingResult("[-1e19,1]")},
      {"2000-level nesting as the whole answer", NestedArrays(2000)},
      {"2000-level nesting inside a member",
       R"({"code":0,"ws":[{"cw":[{"w":"X","sc":0}]}],"data":)" + NestedArrays(2000) + "}"},
      {"rg of the wrong type", ReplacingResult(R"("1,2")")},
      {"rg item of the wrong type", ReplacingResult(R"([1,"2"])")},
      {"rg of the wrong size", ReplacingResult("[1]")},
      {"no object", "[1,2]"},
  };
}
