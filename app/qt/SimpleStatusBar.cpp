#include "app/qt/SimpleStatusBar.h"

#include <QLabel>
#include <QResizeEvent>

namespace glanex {

namespace {

// The text's distance from the bar's ends.
constexpr int kTextIndent = 2;

}  // namespace

SimpleStatusBar::SimpleStatusBar(QWidget* parent) : QStatusBar(parent), panel_(new QLabel(this)) {
  setSizeGripEnabled(false);
  panel_->setTextFormat(Qt::PlainText);
  panel_->setContentsMargins(kTextIndent, 0, kTextIndent, 0);
}

QString SimpleStatusBar::text() const {
  return panel_->text();
}

void SimpleStatusBar::setText(const QString& text) {
  panel_->setText(text);
}

void SimpleStatusBar::resizeEvent(QResizeEvent* event) {
  QStatusBar::resizeEvent(event);
  panel_->setGeometry(rect());
}

}  // namespace glanex
