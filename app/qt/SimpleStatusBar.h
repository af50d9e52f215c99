#pragma once

#include <QStatusBar>
#include <QString>

class QLabel;
class QResizeEvent;

namespace glanex {

// A status bar of one panel across the whole bar, showing one line of plain text. The panel is a label, so
// that screen readers read it. Qt's bar keeps a few pixels above and below the widgets it lays out, more
// than a low bar can spare: the panel lies over the whole bar instead, so that letters reaching below the
// baseline (j, g, p, q) show whole.
class SimpleStatusBar : public QStatusBar {
  Q_OBJECT

 public:
  explicit SimpleStatusBar(QWidget* parent = nullptr);

  QString text() const;
  void setText(const QString& text);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QLabel* panel_ = nullptr;
};

}  // namespace glanex
