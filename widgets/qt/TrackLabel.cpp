#include "widgets/qt/TrackLabel.h"

#include <QEnterEvent>
#include <QToolTip>

namespace glanex {

namespace {

// The tool tips take their background from QToolTip's palette, not from the application palette.
QColor applicationHintColor() {
  return QToolTip::palette().color(QPalette::ToolTipBase);
}

void setApplicationHintColor(const QColor& color) {
  QPalette palette = QToolTip::palette();
  palette.setColor(QPalette::ToolTipBase, color);
  QToolTip::setPalette(palette);
}

}  // namespace

TTrackLabel::TTrackLabel(QWidget* parent) : QLabel(parent), hintColor_(applicationHintColor()) {}

// A label destroyed under the pointer gets no leave, and the tool tips would keep its colour for good.
TTrackLabel::~TTrackLabel() {
  if (mouseOver_) setApplicationHintColor(savedHintColor_);
}

void TTrackLabel::handleMouseEnter() {
  if (!mouseOver_) {
    savedHintColor_ = applicationHintColor();
    setApplicationHintColor(hintColor_);
    if (hotTrack_) {
      // Saved at the start of each visit, so a font set while the pointer is over the label is lost on leave.
      savedFont_ = currentLook();
      applyLook({hotTrackFont_.font.resolve(font()), hotTrackFont_.color});
    }
    mouseOver_ = true;
  }
  Q_EMIT mouseEntered();
}

void TTrackLabel::handleMouseLeave() {
  if (mouseOver_) {
    setApplicationHintColor(savedHintColor_);
    // Undo the swap this visit made, and only that: HotTrack may have changed since the enter.
    if (savedFont_) {
      applyLook(*savedFont_);
      savedFont_.reset();
    }
    mouseOver_ = false;
  }
  Q_EMIT mouseLeft();
}

bool TTrackLabel::event(QEvent* event) {
  const bool handled = QLabel::event(event);
  // The mnemonic has focused the buddy; a buddy the Tab key skips (a frame, a group) passes the focus on to
  // the control that follows it.
  if (handled && event->type() == QEvent::Shortcut) {
    const QWidget* active = window()->focusWidget();
    if (active && !(active->focusPolicy() & Qt::TabFocus)) focusNextChild();
  }
  return handled;
}

// Qt sends the same palette notification whether the change came from the parent or was made on the label
// itself; only the label's own hover swap is told apart.
void TTrackLabel::changeEvent(QEvent* event) {
  QLabel::changeEvent(event);
  if (event->type() == QEvent::PaletteChange && !applyingLook_) Q_EMIT parentColorChanged();
}

void TTrackLabel::enterEvent(QEnterEvent* event) {
  QLabel::enterEvent(event);
  handleMouseEnter();
}

void TTrackLabel::leaveEvent(QEvent* event) {
  QLabel::leaveEvent(event);
  handleMouseLeave();
}

ColoredFont TTrackLabel::currentLook() const {
  return {font(), palette().color(QPalette::Active, foregroundRole())};
}

// The colour goes to the active and inactive groups only, so that a disabled label still looks disabled.
void TTrackLabel::applyLook(const ColoredFont& look) {
  applyingLook_ = true;
  setFont(look.font);
  if (look.color.isValid()) {
    QPalette colours = palette();
    colours.setColor(QPalette::Active, foregroundRole(), look.color);
    colours.setColor(QPalette::Inactive, foregroundRole(), look.color);
    setPalette(colours);
  }
  applyingLook_ = false;
}

}  // namespace glanex
