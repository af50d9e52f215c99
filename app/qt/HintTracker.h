#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class QAction;
class QWidget;

namespace glanex {

// The application's current hint: the hint of the control under the pointer, or of its nearest parent that
// has one, or of the highlighted menu entry while a menu is open. Hints are the widgets' and actions'
// status tips. Qt's own status-tip events go to the widget under the pointer only, without asking its
// parents, and they set the bar on every visit; this tracker walks the parents and reports changes only.
class HintTracker : public QObject {
  Q_OBJECT

 public:
  // Watches the input of the whole application for as long as it lives.
  explicit HintTracker(QObject* parent = nullptr);

  // Empty at start, and wherever no hint applies.
  QString currentHint() const { return currentHint_; }

  // Makes the current hint the one that applies at `underPointer`; nullptr stands for no widget at all.
  void updateFor(const QWidget* underPointer);
  // Makes the current hint that of the highlighted menu entry.
  void updateForMenuEntry(const QAction* highlighted);

  // The hint that applies at `widget`: its own, else its nearest parent's within its window, else "".
  static QString hintAt(const QWidget* widget);

 Q_SIGNALS:
  // The current hint has changed.
  void hintChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void setCurrentHint(const QString& hint);
  void updateForPointer();

  QString currentHint_;
  // The innermost widget the pointer is over, as the enter and leave events last told.
  QPointer<QWidget> underPointer_;
  // Fires once the pending input is handled, so that one move through nested widgets gives one update.
  QTimer idle_;
};

}  // namespace glanex
