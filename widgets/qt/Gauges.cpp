#include "widgets/qt/Gauges.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "widgets/GaugeMath.h"

namespace glanex {
namespace {

constexpr long double kPi = std::numbers::pi_v<long double>;

// A rectangle by its edges. The drawing rules count the right and bottom edges out: a filled rectangle, an
// ellipse or a pie covers the pixels up to one short of them.
struct Edges {
  int left;
  int top;
  int right;
  int bottom;
};

// What one paint needs from the gauge, read once.
struct Look {
  TGaugeKind kind;
  TGaugeBorderStyle borderStyle;
  QColor fore;
  QColor back;
  QColor color;
  int percent;
  int controlWidth;
};

void ClearToBlack(QImage& image) {
  image.fill(Qt::black);
}

// Combines `layer` into `image` by exclusive or. On opaque pixels this is exact: over a black image the
// layer is copied as it is, and a white pixel turns the one beneath into its complement.
void xorCopy(QImage& image, const QImage& layer) {
  QPainter painter(&image);
  painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  painter.drawImage(0, 0, layer);
}

int roundHalfEven(long double value) {
  return static_cast<int>(std::lrint(value));
}

// A one-pixel pen whose lines stop one pixel short of their end point.
QPen outlinePen(const QColor& color) {
  QPen pen(color, 1);
  pen.setCapStyle(Qt::FlatCap);
  return pen;
}

void fillEdges(QPainter& painter, const Edges& edges, const QColor& color) {
  // Crossed edges fill nothing; they are not swapped.
  if (edges.right <= edges.left || edges.bottom <= edges.top) return;
  painter.fillRect(QRect(edges.left, edges.top, edges.right - edges.left, edges.bottom - edges.top), color);
}

// Qt's outlined shape in a box w wide covers w + 1 pixels, so the box one smaller keeps the shape inside the
// edges.
QRect shapeBox(const Edges& edges) {
  return QRect(edges.left, edges.top, edges.right - edges.left - 1, edges.bottom - edges.top - 1);
}

// Qt's angle, in sixteenths of a degree, for the ray from the box's centre through `point`. Qt places an
// angle on an ellipse parametrically, so the ray's direction is first divided by the radii.
int rayAngle(const QRect& box, QPoint point) {
  const double rx = box.width() / 2.0;
  const double ry = box.height() / 2.0;
  const double dx = point.x() - (box.left() + rx);
  const double dy = point.y() - (box.top() + ry);
  return qRound(std::atan2(-dy * rx, dx * ry) * (180 * 16) / std::numbers::pi);
}

// The pie cut from the ellipse in `box` counter-clockwise from the ray through `start` to the ray through
// `end`; the whole ellipse when the two points coincide.
void drawPieEdges(QPainter& painter, const Edges& box, QPoint start, QPoint end) {
  const QRect shape = shapeBox(box);
  if (start == end) {
    painter.drawEllipse(shape);
    return;
  }
  constexpr int kFullTurn = 360 * 16;
  const int startAngle = rayAngle(shape, start);
  int span = rayAngle(shape, end) - startAngle;
  while (span <= 0) span += kFullTurn;
  painter.drawPie(shape, startAngle, span);
}

void drawLineEdges(QPainter& painter, QPoint from, QPoint to) {
  if (from != to) painter.drawLine(from, to);
}

void drawPlain(QPainter& painter, const Edges& paintRect, const Look& look) {
  fillEdges(painter, paintRect, look.back);
}

void drawBar(QPainter& painter, const Edges& paintRect, const Look& look) {
  const int w = paintRect.right - paintRect.left + 1;
  const int h = paintRect.bottom - paintRect.top + 1;
  fillEdges(painter, paintRect, look.back);
  // The filled length serves as the bar's right (or top) edge itself, not as an offset from PaintRect's
  // left: with the frame, a full bar still stops inside it.
  if (look.kind == gkHorizontalBar) {
    const int filled = std::min(PercentToLength(look.percent, w), w);
    if (filled > 0) fillEdges(painter, {paintRect.left, paintRect.top, filled, h}, look.fore);
  } else {
    const int filled = std::min(PercentToLength(look.percent, h), h - 1);
    if (filled > 0) fillEdges(painter, {paintRect.left, h - filled, w, h}, look.fore);
  }
}

// With the frame, the one added pixel makes the box reach PaintRect's right and bottom edges in both styles.
int frameAllowance(const Look& look) {
  return look.borderStyle == bsSingle ? 1 : 0;
}

void drawPie(QPainter& painter, const Edges& paintRect, const Look& look) {
  const int w = paintRect.right - paintRect.left + frameAllowance(look);
  const int h = paintRect.bottom - paintRect.top + frameAllowance(look);
  const Edges box{paintRect.left, paintRect.top, w, h};
  fillEdges(painter, paintRect, look.color);
  painter.setPen(outlinePen(look.fore));
  painter.setBrush(look.back);
  painter.drawEllipse(shapeBox(box));
  if (look.percent <= 0) return;

  painter.setBrush(look.fore);
  const int mx = w / 2;
  const int my = h / 2;
  const long double angle = (look.percent / 50.0L + 0.5L) * kPi;
  const QPoint start(roundHalfEven(mx * (1 - std::cos(angle))), roundHalfEven(my * (1 - std::sin(angle))));
  const QPoint twelveOClock(mx, 0);
  // On a small pie a low percentage rounds onto twelve o'clock, which would fill the whole ellipse: there
  // the wedge is too thin to show at all.
  if (start == twelveOClock && look.percent < 50) return;
  drawPieEdges(painter, box, start, twelveOClock);
}

void drawNeedle(QPainter& painter, const Edges& paintRect, const Look& look) {
  const int x = paintRect.left;
  const int y = paintRect.top;
  const int w = paintRect.right - paintRect.left + frameAllowance(look);
  const int h = paintRect.bottom - paintRect.top + frameAllowance(look);
  const int baseRow = paintRect.bottom - 1;
  fillEdges(painter, paintRect, look.color);
  painter.setPen(outlinePen(look.fore));
  painter.setBrush(look.back);
  // The upper half of an ellipse twice as high: a half-disc dial standing on the base row.
  drawPieEdges(painter, {x, y, w, 2 * h - 1}, QPoint(x + w, baseRow), QPoint(x, baseRow));
  // The row below PaintRect: with the frame, it colours the frame's bottom row.
  drawLineEdges(painter, QPoint(x, paintRect.bottom), QPoint(x + w, paintRect.bottom));
  if (look.percent <= 0) return;

  // The pivot is at the middle of the whole control, not of PaintRect.
  const int mx = look.controlWidth / 2;
  const long double angle = look.percent / 100.0L * kPi;
  const QPoint tip(roundHalfEven((1 - std::cos(angle)) * mx), roundHalfEven((1 - std::sin(angle)) * baseRow));
  drawLineEdges(painter, QPoint(mx, baseRow), tip);
}

// Prints the percentage centred on PaintRect, each glyph pixel turning the pixel beneath into its
// complement.
void drawPercentText(QImage& image, const Edges& paintRect, int percent, const QFont& font) {
  TLayerBitmap layer;
  layer.MakeLike(image);
  ClearToBlack(layer);
  const QString text = QString::number(percent) + u'%';
  {
    QPainter painter(&layer);
    // Only pure white glyph pixels invert exactly; smoothed edges would leave stray colours.
    QFont textFont = font;
    textFont.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(textFont);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setPen(Qt::white);
    const QFontMetrics metrics = painter.fontMetrics();
    const int x = (paintRect.right - paintRect.left + 1 - metrics.horizontalAdvance(text)) / 2;
    const int y = (paintRect.bottom - paintRect.top + 1 - metrics.height()) / 2;
    painter.setClipRect(QRect(paintRect.left, paintRect.top, paintRect.right - paintRect.left,
                              paintRect.bottom - paintRect.top));
    painter.drawText(x, y + metrics.ascent(), text);
  }
  xorCopy(image, layer);
}

}  // namespace

void TLayerBitmap::MakeLike(const QImage& templateImage) {
  QImage layer(templateImage.size(), QImage::Format_RGB32);
  layer.setDotsPerMeterX(templateImage.dotsPerMeterX());
  layer.setDotsPerMeterY(templateImage.dotsPerMeterY());
  // The window-frame system colour; Qt's nearest palette entry is the window text colour.
  layer.fill(QGuiApplication::palette().color(QPalette::WindowText));
  QImage::operator=(std::move(layer));
}

TGauge::TGauge(QWidget* parent) : QWidget(parent) {
  // Every paint covers every pixel, so nothing behind the gauge needs erasing first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  resize(100, 100);
}

QColor TGauge::Color() const {
  return palette().color(backgroundRole());
}

void TGauge::setMinValue(std::int32_t value) {
  if (range_.setMinValue(value)) repaintNow();
}

void TGauge::setMaxValue(std::int32_t value) {
  if (range_.setMaxValue(value)) repaintNow();
}

void TGauge::setProgress(std::int32_t value) {
  if (range_.setProgress(value)) repaintNow();
}

void TGauge::setKind(TGaugeKind kind) {
  if (kind == kind_) return;
  kind_ = kind;
  repaintNow();
}

void TGauge::setShowText(bool showText) {
  if (showText == showText_) return;
  showText_ = showText;
  repaintNow();
}

void TGauge::setBorderStyle(TGaugeBorderStyle borderStyle) {
  if (borderStyle == borderStyle_) return;
  borderStyle_ = borderStyle;
  repaintNow();
}

void TGauge::setForeColor(const QColor& color) {
  if (color == foreColor_) return;
  foreColor_ = color;
  repaintNow();
}

void TGauge::setBackColor(const QColor& color) {
  if (color == backColor_) return;
  backColor_ = color;
  repaintNow();
}

void TGauge::setColor(const QColor& color) {
  QPalette changed = palette();
  changed.setColor(backgroundRole(), color);
  setPalette(changed);
}

void TGauge::setRepaintPacer(FramePacer pacer) {
  repaintPacer_ = std::move(pacer);
}

QSize TGauge::sizeHint() const {
  return QSize(100, 100);
}

void TGauge::repaintNow() {
  if (!isVisible()) return;
  // The clock is read only when what the gauge shows has changed, and at each paint. A repaint held back is
  // posted to the event loop; should another synchronous one come first, it shows the newer values anyway.
  if (repaintPacer_.due()) {
    repaint();
  } else {
    update();
  }
}

void TGauge::paintEvent(QPaintEvent* /*event*/) {
  repaintPacer_.markShown();
  const QImage image = composeImage();
  QPainter painter(this);
  painter.drawImage(0, 0, image);
}

QImage TGauge::composeImage() const {
  QImage image(size(), QImage::Format_RGB32);
  // The text is measured on the image, so the image takes the screen's resolution to size it alike.
  image.setDotsPerMeterX(qRound(logicalDpiX() / 0.0254));
  image.setDotsPerMeterY(qRound(logicalDpiY() / 0.0254));
  ClearToBlack(image);

  // With the frame, the outer ring is never drawn on and stays black.
  const Edges paintRect =
      borderStyle_ == bsSingle ? Edges{1, 1, width() - 1, height() - 1} : Edges{0, 0, width(), height()};
  const Look look{kind_, borderStyle_, foreColor_, backColor_, Color(), PercentComplete(), width()};

  TLayerBitmap overlay;
  overlay.MakeLike(image);
  ClearToBlack(overlay);
  {
    QPainter painter(&overlay);
    switch (kind_) {
      case gkText:
        drawPlain(painter, paintRect, look);
        break;
      case gkHorizontalBar:
      case gkVerticalBar:
        drawBar(painter, paintRect, look);
        break;
      case gkPie:
        drawPie(painter, paintRect, look);
        break;
      case gkNeedle:
        drawNeedle(painter, paintRect, look);
        break;
    }
  }
  xorCopy(image, overlay);
  if (showText_) drawPercentText(image, paintRect, PercentComplete(), font());
  return image;
}

}  // namespace glanex
