#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>

#include <optional>

namespace glanex {

// A font with the colour its text is drawn in. Qt keeps a widget's text colour in its palette, but the label
// swaps the two together as one look.
struct ColoredFont {
  QFont font;
  // An invalid colour leaves the label's text colour as it is.
  QColor color;
};

// A label that reacts to the pointer passing over it. While the pointer is over it, it makes HintColor the
// background of the application's tool tips and, with HotTrack on, shows HotTrackFont. Everything else is
// QLabel's, including the buddy that its mnemonic gives the focus to.
class TTrackLabel : public QLabel {
  Q_OBJECT

 public:
  explicit TTrackLabel(QWidget* parent = nullptr);
  ~TTrackLabel() override;

  // Whether the label swaps in HotTrackFont while the pointer is over it.
  bool HotTrack() const { return hotTrack_; }
  void setHotTrack(bool on) { hotTrack_ = on; }
  // The look under the pointer. Attributes its font leaves unset keep the label's own (face, size...).
  const ColoredFont& HotTrackFont() const { return hotTrackFont_; }
  void setHotTrackFont(const ColoredFont& font) { hotTrackFont_ = font; }
  // The tool-tip background while the pointer is over the label; the application's at construction.
  QColor HintColor() const { return hintColor_; }
  void setHintColor(const QColor& color) { hintColor_ = color; }
  // Whether the pointer is over the label: true between an enter and the matching leave.
  bool MouseOver() const { return mouseOver_; }

  // The pointer notifications, which windows and tests may also send directly.
  void handleMouseEnter();
  void handleMouseLeave();

 Q_SIGNALS:
  // Emitted on every enter notification, even one that finds the pointer already over the label.
  void mouseEntered();
  // Emitted on every leave notification, even one without an enter before it.
  void mouseLeft();
  // Emitted when a palette change reaches the label, other than the label's own hover swap. Qt has no
  // notification of a change to a 3-D look, so that one has no counterpart here.
  void parentColorChanged();

 protected:
  bool event(QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  ColoredFont currentLook() const;
  void applyLook(const ColoredFont& look);

  bool hotTrack_ = false;
  ColoredFont hotTrackFont_;
  // The look the hover swap replaced; empty when no swap is to be undone.
  std::optional<ColoredFont> savedFont_;
  QColor hintColor_;
  QColor savedHintColor_;
  bool mouseOver_ = false;
  bool applyingLook_ = false;
};

}  // namespace glanex
