#pragma once

#include <QValidator>

namespace glanex {

// Keeps a field's text within Windows-1252, the only text the core reads: a character with no Windows-1252
// form becomes "?" as it enters the field, so what the user sees is what the core gets.
class Windows1252Validator : public QValidator {
  Q_OBJECT

 public:
  using QValidator::QValidator;

  // Replaces the characters in place and keeps the cursor after the same characters; always acceptable.
  State validate(QString& input, int& position) const override;
};

}  // namespace glanex
