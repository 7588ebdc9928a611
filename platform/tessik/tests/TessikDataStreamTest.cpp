#include "tessik/TessikDataStream.h"

#include <gtest/gtest.h>

#include <string>

namespace {

unsigned long Held(const CTessikDataStream& stream) {
  tagStreamInfo info{};
  stream.GetBurthenInfo(info);
  return info.ulDataLength;
}

std::string Query(const CTessikDataStream& stream, unsigned long length) {
  std::string out(length, '\0');
  out.resize(stream.QueryData(out.data(), length));
  return out;
}

TEST(TessikDataStreamTest, QueryPeeksTellRemovesInOrder) {
  CTessikDataStream stream;
  char first[] = "abc";
  char second[] = "defg";
  ASSERT_TRUE(stream.InsertData(first, 3));
  ASSERT_TRUE(stream.InsertData(second, 4));
  EXPECT_EQ(Held(stream), 7u);

  EXPECT_EQ(Query(stream, 5), "abcde");
  EXPECT_EQ(Query(stream, 5), "abcde") << "a query removes nothing";
  EXPECT_EQ(Held(stream), 7u);

  EXPECT_EQ(stream.TellData(2), 2u);
  EXPECT_EQ(Held(stream), 5u);
  EXPECT_EQ(Query(stream, 100), "cdefg") << "a query copies at most what is held";
}

TEST(TessikDataStreamTest, TellingMoreThanHeldEmptiesTheStream) {
  CTessikDataStream stream;
  char bytes[] = "xy";
  stream.InsertData(bytes, 2);
  EXPECT_EQ(stream.TellData(10), 2u);
  EXPECT_EQ(Held(stream), 0u);
  EXPECT_EQ(Query(stream, 4), "");
}

TEST(TessikDataStreamTest, RejectsNullDataWithALength) {
  CTessikDataStream stream;
  EXPECT_FALSE(stream.InsertData(nullptr, 4));
  EXPECT_TRUE(stream.InsertData(nullptr, 0));
  EXPECT_EQ(Held(stream), 0u);
}

}  // namespace
