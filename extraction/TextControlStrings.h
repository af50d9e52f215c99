#pragma once

#include "extraction/TStrings.h"
#include "extraction/TextControl.h"

// The line rules written once over a text control: what LineCount leaves out, how GetLine cuts, where
// InsertLine puts its line break. The two pane kinds differ only in the capacity check after an insertion.
namespace glanex {

class TextControlStrings : public TStrings {
 public:
  explicit TextControlStrings(TextControl& control) : control_(control) {}

  std::int64_t LineCount() const override;
  std::string GetLine(std::int64_t i) const override;
  void ReplaceLine(std::int64_t i, const std::string& s) override;
  void InsertLine(std::int64_t i, const std::string& s) override;
  void AppendToLine(std::int64_t i, const std::string& s) override;
  void ClearText() override;

  TextControl& control() const { return control_; }

 protected:
  void BeginUpdate() override { control_.beginUpdate(); }
  void EndUpdate() override { control_.endUpdate(); }
  bool FillEmpty(std::string_view text) override;
  // Called after an insertion of `insertedLength` characters at `point`.
  virtual void CheckInsertion(std::int64_t point, std::int64_t insertedLength) const = 0;

 private:
  bool LineExists(std::int64_t i) const { return i >= 0 && i < control_.lineCount(); }

  TextControl& control_;
};

}  // namespace glanex
