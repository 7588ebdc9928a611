// The skin XML parser: structure, attributes, entities, whitespace and its failure messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "markup/XmlMarkup.h"

namespace ui {
namespace {

std::vector<std::wstring> ChildNames(XmlNode node) {
  std::vector<std::wstring> names;
  for (XmlNode child = node.FirstChild(); child.IsValid(); child = child.NextSibling())
    names.push_back(child.Name());
  return names;
}

std::wstring Nested(int depth) {
  std::wstring text;
  for (int i = 0; i < depth; ++i) text += L"<e>";
  for (int i = 0; i < depth; ++i) text += L"</e>";
  return text;
}

TEST(XmlMarkup, ReportsEachFailureWithItsMessage) {
  const std::pair<std::wstring, const wchar_t*> cases[] = {
      {L"text", L"Expected start tag"},
      {L"\uFEFF<Window/>", L"Expected start tag"},
      {L"<Window", L"Error parsing element name"},
      {L"<Window /x>", L"Expected start-tag closing"},
      {L"<Window></Box>", L"Unmatched closing tag"},
      {L"<Window></Window x>", L"Unmatched closing tag"},
      {L"<Window size>", L"Error while parsing attributes"},
      {L"<Window size='1'/>", L"Expected attribute value"},
      {L"<Window size=\"1", L"Error while parsing attribute string"},
      {L"<!-- never closed <Window/>", L"Unterminated comment"},
      {L"<?xml version=\"1.0\"", L"Unterminated processing instruction"},
      {L"<Window><Box><Label>text", L"Unexpected end of text"},
      {L"<Window><Box><Label/>", L"Unexpected end of text"},
      {Nested(XmlMarkup::kMaxDepth + 1), L"Elements nested too deeply"},
  };
  for (const auto& [text, message] : cases) {
    SCOPED_TRACE(text.substr(0, 40));
    XmlMarkup xml;
    EXPECT_FALSE(xml.LoadFromString(text.c_str()));
    EXPECT_STREQ(xml.GetLastErrorMessage(), message);
    EXPECT_FALSE(xml.Root().IsValid());
  }
}

TEST(XmlMarkup, AcceptsDocumentEndingInsideRootContent) {
  XmlMarkup xml;
  ASSERT_TRUE(xml.LoadFromString(L"<?xml version=\"1.0\"?><!-- c --><Window><Box>text"));
  EXPECT_STREQ(xml.Root().Name(), L"Window");
  EXPECT_EQ(ChildNames(xml.Root()), std::vector<std::wstring>{L"Box"});
  EXPECT_TRUE(xml.LoadFromString(Nested(XmlMarkup::kMaxDepth).c_str()));  // one more fails
  // Attributes of a root whose text ends right after its start tag.
  ASSERT_TRUE(xml.LoadFromString(L"<Window a=\"1\" >"));
  XmlNode root = xml.Root();
  EXPECT_EQ(root.AttributeCount(), 1u);
  EXPECT_STREQ(root.AttributeValue(0), L"1");
}

TEST(XmlMarkup, BuildsTheElementTree) {
  XmlMarkup xml;
  ASSERT_TRUE(
      xml.LoadFromString(L"<Window>\n <!-- skipped -->\n <Box a=\"1\"><Label/><Button /></Box>\n "
                         L"<Option/>\n</Window>"));
  XmlNode root = xml.Root();
  EXPECT_EQ(ChildNames(root), (std::vector<std::wstring>{L"Box", L"Option"}));
  EXPECT_EQ(ChildNames(root.FirstChild()), (std::vector<std::wstring>{L"Label", L"Button"}));
  EXPECT_FALSE(root.NextSibling().IsValid());
  EXPECT_FALSE(root.FirstChild().NextSibling().FirstChild().IsValid());
}

TEST(XmlMarkup, ReadsAttributesAndDecodesEntities) {
  XmlMarkup xml;
  ASSERT_TRUE(xml.LoadFromString(
      L"<Window a=\"&amp;&lt;&gt;&quot;&apos;\" b = \"&foo; &ap;&lt&quo;&amp;amp; &amp\" c=\"\" "
      L"标题=\"窗口\"/>"));
  XmlNode root = xml.Root();
  ASSERT_EQ(root.AttributeCount(), 4u);
  const std::pair<const wchar_t*, const wchar_t*> expected[] = {
      {L"a", L"&<>\"'"}, {L"b", L"&foo; &ap;&lt&quo;&amp; &amp"}, {L"c", L""}, {L"标题", L"窗口"}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_STREQ(root.AttributeName(i), expected[i].first);
    EXPECT_STREQ(root.AttributeValue(i), expected[i].second);
  }
  EXPECT_STREQ(root.AttributeName(-1), L"");
  EXPECT_STREQ(root.AttributeValue(4), L"");
  EXPECT_FALSE(root.FirstChild().IsValid());
}

TEST(XmlMarkup, MapsAtMost64Attributes) {
  std::wstring text = L"<Window";
  for (int i = 0; i < 65; ++i)
    text += L" a" + std::to_wstring(i) + L"=\"" + std::to_wstring(i) + L"\"";
  text += L"></Window>";
  XmlMarkup xml;
  ASSERT_TRUE(xml.LoadFromString(text.c_str()));
  XmlNode root = xml.Root();
  EXPECT_EQ(root.AttributeCount(), 64u);
  EXPECT_STREQ(root.AttributeValue(63), L"63");
}

TEST(XmlMarkup, WhitespaceInValues) {
  const wchar_t* text = L"<Window v=\"x  \ty\tz\"/>";
  XmlMarkup preserving(true), collapsing(false);
  ASSERT_TRUE(preserving.LoadFromString(text));
  ASSERT_TRUE(collapsing.LoadFromString(text));
  EXPECT_STREQ(preserving.Root().AttributeValue(0), L"x  \ty\tz");
  EXPECT_STREQ(collapsing.Root().AttributeValue(0), L"x y\tz");
}

TEST(XmlMarkup, BytesDropTheByteOrderMark) {
  const std::string with_bom = "\xEF\xBB\xBF<Window text=\"\xE7\x95\x8C\"/>";
  XmlMarkup xml;
  ASSERT_TRUE(
      xml.LoadFromBytes(reinterpret_cast<const uint8_t*>(with_bom.data()), with_bom.size()));
  EXPECT_STREQ(xml.Root().AttributeValue(0), L"界");
}

TEST(XmlMarkup, SecondLoadReplacesTheFirst) {
  XmlMarkup xml;
  ASSERT_TRUE(xml.LoadFromString(L"<A><B/><C/></A>"));
  ASSERT_TRUE(xml.LoadFromString(L"<D><E/></D>"));
  EXPECT_STREQ(xml.Root().Name(), L"D");
  EXPECT_EQ(ChildNames(xml.Root()), std::vector<std::wstring>{L"E"});
}

}  // namespace
}  // namespace ui
