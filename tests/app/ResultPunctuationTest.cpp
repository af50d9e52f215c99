#include <gtest/gtest.h>

#include "app/ResultPunctuation.h"
#include "support/TestSupport.h"

namespace glanex::test {
namespace {

std::string afterCommand(const std::string& text, void (*command)(TStrings&), int times = 1) {
  TextPane pane = TextPane::document();
  setPaneText(pane.buffer(), text);
  for (int i = 0; i < times; ++i) command(pane.Lines());
  return pane.buffer().text();
}

TEST(AddCommas, AddsOneCommaPerUseToEveryNonEmptyLine) {
  EXPECT_EQ(afterCommand("", AddCommas), "");
  EXPECT_EQ(afterCommand("abc\r\n", AddCommas), "abc,\r\n");
  EXPECT_EQ(afterCommand("abc\r\n", AddCommas, 2), "abc,,\r\n");
  EXPECT_EQ(afterCommand("a\r\n\r\nb\r\n", AddCommas), "a,\r\n\r\nb,\r\n");
}

TEST(AddCommas, KeepsLinesLongerThanTheLineBufferWhole) {
  const std::string line(5000, 'x');
  EXPECT_EQ(afterCommand(line + "\r\n", AddCommas), line + ",\r\n");
}

TEST(RemoveCommas, CutsAtTheFirstCommaWithinTheFirst255Positions) {
  const struct {
    const char* name;
    std::string text;
    std::string expected;
  } rows[] = {
      {"two trailing commas", "abc,,\r\n", "abc\r\n"},
      {"two addresses", "a@x.test,b@y.test\r\n", "a@x.test\r\n"},
      {"leading comma leaves an empty line", ",abc\r\nd,\r\n", "\r\nd\r\n"},
      {"empty line stays", "a,\r\n\r\nb,\r\n", "a\r\n\r\nb\r\n"},
      {"comma at 256 is out of reach", std::string(255, 'x') + ",tail\r\n",
       std::string(255, 'x') + ",tail\r\n"},
      {"comma at 255 cuts", std::string(254, 'x') + ",tail\r\n", std::string(254, 'x') + "\r\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(afterCommand(row.text, RemoveCommas), row.expected);
  }
}

TEST(RemoveCommas, UndoesAddCommasOnALineWithoutCommas) {
  TextPane pane = TextPane::document();
  setPaneText(pane.buffer(), "a@x.test\r\nb@y.test\r\n");
  AddCommas(pane.Lines());
  RemoveCommas(pane.Lines());
  EXPECT_EQ(pane.buffer().text(), "a@x.test\r\nb@y.test\r\n");
  RemoveCommas(pane.Lines());
  EXPECT_EQ(pane.buffer().text(), "a@x.test\r\nb@y.test\r\n");
}

}  // namespace
}  // namespace glanex::test
