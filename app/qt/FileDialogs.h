#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace glanex {

// The main window's open and save dialogs and its overwrite question. Each dialog offers the file name it
// returned last and the filter chosen then; a cancelled dialog leaves both as they were. Both are Qt's own
// dialogs, the same on every desktop, so that the filters read as written.
class FileDialogs {
 public:
  explicit FileDialogs(QWidget* window) : window_(window) {}

  // The file to open, as a full path; nothing when the user cancels.
  std::optional<QString> askOpenPath();
  // The file to save to, as a full path; nothing when the user cancels.
  std::optional<QString> askSavePath();
  // Whether the user agrees to replace the existing file `path`: only "Oui" does.
  bool confirmOverwrite(const QString& path) const;

 private:
  // What one dialog returned last, with the filter chosen then.
  struct Choice {
    QString path;
    QString filter;
  };

  std::optional<QString> ask(bool saving, Choice& last);

  QWidget* window_;
  Choice lastOpened_;
  Choice lastSaved_;
};

}  // namespace glanex
