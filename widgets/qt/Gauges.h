#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>
#include <cstdint>

#include "extraction/FramePacer.h"
#include "widgets/GaugeRange.h"

namespace glanex {

// What a gauge draws. Held in one byte; the order is fixed.
enum TGaugeKind : std::uint8_t { gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle };

// Whether a gauge keeps a one-pixel black frame around what it draws.
enum TGaugeBorderStyle : std::uint8_t { bsNone, bsSingle };

// A scratch layer of the gauge's drawing: opaque 32-bit pixels, so that layers combine by exclusive or.
class TLayerBitmap : public QImage {
 public:
  // Takes the size (and resolution) of `templateImage` and fills the whole layer with the window-frame
  // colour.
  void MakeLike(const QImage& templateImage);
};

// A progress gauge: shows where Progress stands between MinValue and MaxValue as text, a bar, a pie or a
// needle dial, optionally with the percentage printed in the inverse of the colours beneath it. It draws
// without a native window and composes each paint off screen, copying it in one step. Value and
// appearance setters repaint at once (the event loop may be blocked by a long run), at most about 60 times
// a second; a repaint held back for that is left to the event loop, so the last value is always shown.
class TGauge : public QWidget {
  Q_OBJECT

 public:
  explicit TGauge(QWidget* parent = nullptr);

  std::int32_t MinValue() const { return range_.MinValue(); }
  std::int32_t MaxValue() const { return range_.MaxValue(); }
  std::int32_t Progress() const { return range_.Progress(); }
  // The share of the range that Progress has covered, in whole percent truncated toward zero.
  std::int32_t PercentComplete() const { return range_.PercentComplete(); }
  TGaugeKind Kind() const { return kind_; }
  // Whether the percentage is printed over the drawing.
  bool ShowText() const { return showText_; }
  TGaugeBorderStyle BorderStyle() const { return borderStyle_; }
  // The colour of the bar, wedge, needle and outlines.
  QColor ForeColor() const { return foreColor_; }
  // The colour of the empty part.
  QColor BackColor() const { return backColor_; }
  // The colour around the pie and the dial: the palette's background, so by default the parent's.
  QColor Color() const;

  // Sets the value shown as 0 % and pulls Progress up to it. Outside loading, a value above MaxValue throws
  // EInvalidOperation and changes nothing.
  void setMinValue(std::int32_t value);
  // Sets the value shown as 100 % and pulls Progress down to it. Outside loading, a value below MinValue
  // throws EInvalidOperation and changes nothing.
  void setMaxValue(std::int32_t value);
  // Stores the value clamped into the range; repaints only when the whole percentage changes, so it may be
  // called on every step of a long loop.
  void setProgress(std::int32_t value);
  void setKind(TGaugeKind kind);
  void setShowText(bool showText);
  void setBorderStyle(TGaugeBorderStyle borderStyle);
  void setForeColor(const QColor& color);
  void setBackColor(const QColor& color);
  // Sets the palette's background colour, so the gauge stops following its parent's.
  void setColor(const QColor& color);
  // Replaces the limit on synchronous repaints: a window that paces its gauges itself gives one without any,
  // so that no repaint is held back twice.
  void setRepaintPacer(FramePacer pacer);

  // Suspend and restore the check that MinValue ≤ MaxValue, while initial values are set in any order
  // (LoadingScope does both); calls nest.
  void beginLoading() { range_.beginLoading(); }
  void endLoading() { range_.endLoading(); }

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void repaintNow();
  QImage composeImage() const;

  GaugeRange range_;
  TGaugeKind kind_ = gkHorizontalBar;
  bool showText_ = true;
  TGaugeBorderStyle borderStyle_ = bsSingle;
  QColor foreColor_ = Qt::black;
  QColor backColor_ = Qt::white;
  FramePacer repaintPacer_;
};

}  // namespace glanex
