#include "app/qt/HintTracker.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QWidget>

namespace glanex {

namespace {

// A hint written short|long shows its long part.
QString longHint(const QString& hint) {
  const qsizetype bar = hint.indexOf(u'|');
  return bar < 0 ? hint : hint.mid(bar + 1);
}

}  // namespace

HintTracker::HintTracker(QObject* parent) : QObject(parent) {
  idle_.setSingleShot(true);
  idle_.setInterval(0);
  connect(&idle_, &QTimer::timeout, this, &HintTracker::updateForPointer);
  qApp->installEventFilter(this);
}

void HintTracker::updateFor(const QWidget* underPointer) {
  setCurrentHint(hintAt(underPointer));
}

void HintTracker::updateForMenuEntry(const QAction* highlighted) {
  setCurrentHint(highlighted ? longHint(highlighted->statusTip()) : QString());
}

QString HintTracker::hintAt(const QWidget* widget) {
  for (; widget; widget = widget->isWindow() ? nullptr : widget->parentWidget()) {
    if (!widget->statusTip().isEmpty()) return longHint(widget->statusTip());
  }
  return {};
}

bool HintTracker::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::Enter:
      // Qt enters the outermost widget first, so the last enter names the innermost one.
      if (auto* entered = qobject_cast<QWidget*>(watched)) {
        underPointer_ = entered;
        idle_.start();
      }
      break;
    case QEvent::Leave:
      // Qt leaves the innermost widget first; when no enter follows, the pointer is on the last one's parent.
      if (const auto* left = qobject_cast<QWidget*>(watched)) {
        underPointer_ = left->isWindow() ? nullptr : left->parentWidget();
        idle_.start();
      }
      break;
    case QEvent::Show:
      // A menu that opens highlights its own title first; its entries report themselves as they are
      // highlighted.
      if (auto* menu = qobject_cast<QMenu*>(watched)) {
        connect(menu, &QMenu::hovered, this, &HintTracker::updateForMenuEntry, Qt::UniqueConnection);
        updateForMenuEntry(menu->menuAction());
      }
      break;
    case QEvent::Hide:
      if (qobject_cast<QMenu*>(watched)) idle_.start();
      break;
    default:
      break;
  }
  return false;
}

void HintTracker::setCurrentHint(const QString& hint) {
  if (hint == currentHint_) return;
  currentHint_ = hint;
  Q_EMIT hintChanged();
}

void HintTracker::updateForPointer() {
  // While a menu is open, its highlighted entry owns the hint, wherever the pointer is.
  if (qobject_cast<QMenu*>(QApplication::activePopupWidget())) return;
  updateFor(underPointer_);
}

}  // namespace glanex
