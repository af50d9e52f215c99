#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace glanex {

// The text of a document read through its format, built line by line: a paragraph, a table row or a
// spreadsheet row makes one line, and the target of each link met in it follows it on a line of its own.
// Inside a table cell, paragraphs join with a space and cells with a tab.
class DocumentText {
 public:
  // Adds UTF-8 text to the line being built.
  void append(std::string_view text);
  void addLink(std::string_view target);

  // Ends a paragraph: the line, or inside a cell the paragraph within it.
  void endParagraph();
  void startRow();
  void startCell();
  // Ends the row and its line; rows nested in a cell's table stay in the outer row's line.
  void endRow();

  // The text as a pane holds it: Windows-1252 ("?" for characters without a form), lines ended by CR LF.
  std::string paneText() const;

 private:
  void endLine();

  std::string text_;
  std::string line_;
  std::vector<std::string> links_;
  int rowDepth_ = 0;
  bool rowHasCell_ = false;
  // Where the cell being read starts in line_, and whether a space must part its next text from the last.
  std::size_t cellStart_ = 0;
  bool pendingSpace_ = false;
};

}  // namespace glanex
