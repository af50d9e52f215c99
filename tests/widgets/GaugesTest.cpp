#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFont>
#include <QImage>
#include <QPalette>
#include <functional>

#include "widgets/qt/Gauges.h"

namespace glanex {
namespace {

constexpr QRgb kBlack = 0xFF000000;

QImage render(TGauge& gauge) {
  return gauge.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Compares every pixel with `expected(x, y)`; reports how many differ and where the first one is.
void expectPixels(const QImage& image, const std::function<QRgb(int, int)>& expected) {
  int wrong = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) != expected(x, y) && wrong++ == 0) {
        ADD_FAILURE() << "first wrong pixel (" << x << ", " << y << "): " << std::hex << image.pixel(x, y)
                      << " instead of " << expected(x, y);
      }
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST(TGauge, BarsFillTheLengthTheirPercentageGives) {
  const struct {
    const char* name;
    TGaugeKind kind;
    TGaugeBorderStyle border;
    int width, height;
    std::int32_t maxValue, progress;
    QRect filled;  // in ForeColor; the rest of the inside in BackColor
  } rows[] = {
      {"default gauge at 50 %: W = 99 gives F = 49", gkHorizontalBar, bsSingle, 100, 100, 100, 50,
       QRect(QPoint(1, 1), QPoint(48, 98))},
      {"5 % of W = 100 fills to column 3", gkHorizontalBar, bsNone, 99, 20, 100, 5,
       QRect(QPoint(0, 0), QPoint(3, 19))},
      {"full bar keeps inside the frame", gkHorizontalBar, bsSingle, 100, 100, 100, 100,
       QRect(QPoint(1, 1), QPoint(98, 98))},
      {"progress past MaxValue shows full", gkHorizontalBar, bsSingle, 100, 100, 100, 105,
       QRect(QPoint(1, 1), QPoint(98, 98))},
      {"empty range shows an empty bar", gkHorizontalBar, bsSingle, 100, 100, 0, 10, QRect()},
      {"vertical 50 % grows from the bottom", gkVerticalBar, bsSingle, 100, 100, 100, 50,
       QRect(QPoint(1, 50), QPoint(98, 98))},
      {"vertical 100 % without frame leaves row 0", gkVerticalBar, bsNone, 100, 100, 100, 100,
       QRect(QPoint(0, 1), QPoint(99, 99))},
      {"text kind shows only the empty part", gkText, bsSingle, 100, 100, 100, 70, QRect()},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TGauge gauge;
    gauge.resize(row.width, row.height);
    gauge.setKind(row.kind);
    gauge.setBorderStyle(row.border);
    gauge.setShowText(false);
    gauge.setMaxValue(row.maxValue);
    gauge.setProgress(row.progress);
    gauge.setForeColor(QColor(0, 128, 128));
    gauge.setBackColor(QColor(255, 255, 0));
    const QRect inner = row.border == bsSingle ? QRect(1, 1, row.width - 2, row.height - 2)
                                               : QRect(0, 0, row.width, row.height);
    expectPixels(render(gauge), [&](int x, int y) {
      if (!inner.contains(x, y)) return kBlack;
      return row.filled.contains(x, y) ? gauge.ForeColor().rgb() : gauge.BackColor().rgb();
    });
  }
}

TEST(TGauge, TextTurnsEachPixelBeneathIntoItsComplement) {
  const struct {
    const char* name;
    int width, height;
    TGaugeBorderStyle border;
    int fontPixels;
    std::int32_t progress;
  } rows[] = {
      {"text over the bar's end", 100, 100, bsSingle, 20, 50},
      {"text wider than the gauge is clipped inside the frame", 24, 12, bsSingle, 30, 100},
      {"text without a frame", 60, 30, bsNone, 16, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TGauge gauge;
    gauge.resize(row.width, row.height);
    gauge.setBorderStyle(row.border);
    QFont font = gauge.font();
    font.setPixelSize(row.fontPixels);
    gauge.setFont(font);
    gauge.setForeColor(QColor(0, 128, 128));
    gauge.setBackColor(QColor(255, 255, 0));
    gauge.setProgress(row.progress);
    const QImage withText = render(gauge);
    gauge.setShowText(false);
    const QImage plain = render(gauge);

    const QRect paintRect = row.border == bsSingle ? QRect(1, 1, row.width - 2, row.height - 2)
                                                   : QRect(0, 0, row.width, row.height);
    int overFore = 0;
    int overBack = 0;
    expectPixels(withText, [&](int x, int y) {
      const QRgb beneath = plain.pixel(x, y);
      if (withText.pixel(x, y) == beneath || !paintRect.contains(x, y)) return beneath;
      overFore += beneath == gauge.ForeColor().rgb();
      overBack += beneath == gauge.BackColor().rgb();
      return beneath ^ 0x00FFFFFF;
    });
    EXPECT_GT(overFore + overBack, 0) << "no text drawn";
    if (row.progress == 50) {
      EXPECT_GT(overFore, 0);
      EXPECT_GT(overBack, 0);
    }
  }
}

TEST(TGauge, PieAndNeedleShowTheirKindsColours) {
  enum Expect { Fore, Back, Around, Frame };
  const struct {
    const char* name;
    TGaugeKind kind;
    int size;
    std::int32_t progress;
    QPoint at;
    Expect expected;
  } rows[] = {
      {"full pie fills the centre", gkPie, 100, 100, {50, 50}, Fore},
      {"around the pie", gkPie, 100, 0, {3, 3}, Around},
      {"quarter pie covers the upper right", gkPie, 100, 25, {70, 30}, Fore},
      {"quarter pie leaves the upper left", gkPie, 100, 25, {30, 30}, Back},
      {"a wedge too thin to see leaves a small pie empty", gkPie, 12, 1, {6, 6}, Back},
      {"a small full pie", gkPie, 12, 100, {6, 6}, Fore},
      {"needle at 50 % points straight up", gkNeedle, 100, 50, {50, 20}, Fore},
      {"beside the needle", gkNeedle, 100, 50, {45, 20}, Back},
      {"no needle at 0 %", gkNeedle, 100, 0, {50, 20}, Back},
      {"above the dial", gkNeedle, 100, 50, {3, 3}, Around},
      {"the dial's base takes the frame's bottom row", gkNeedle, 100, 0, {50, 99}, Fore},
      {"the rest of the frame stays black", gkNeedle, 100, 0, {0, 50}, Frame},
  };
  QWidget parent;
  QPalette palette = parent.palette();
  palette.setColor(QPalette::Window, QColor(10, 20, 30));
  parent.setPalette(palette);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TGauge gauge(&parent);
    gauge.resize(row.size, row.size);
    gauge.setBorderStyle(row.size < 20 ? bsNone : bsSingle);
    gauge.setKind(row.kind);
    gauge.setShowText(false);
    gauge.setForeColor(QColor(200, 0, 0));
    gauge.setBackColor(QColor(0, 200, 0));
    gauge.setProgress(row.progress);
    const QRgb expected[] = {gauge.ForeColor().rgb(), gauge.BackColor().rgb(), qRgb(10, 20, 30), kBlack};
    EXPECT_EQ(render(gauge).pixel(row.at), expected[row.expected]);
  }
}

// A shown gauge that counts its paints and remembers the percentage each one showed. Its repaint limit reads
// a clock that stands still until settle() moves it.
class CountingGauge : public TGauge {
 public:
  CountingGauge() {
    setRepaintPacer(FramePacer(kFrameIntervalMs, [this] { return now; }));
    show();
    settle();
  }
  // Runs pending events, then lets the repaint interval pass, so that the next change paints at once.
  void settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    now += kFrameIntervalMs;
  }

  std::int64_t now = 0;
  int paints = 0;
  std::int32_t lastPainted = -1;

 protected:
  void paintEvent(QPaintEvent* event) override {
    TGauge::paintEvent(event);
    ++paints;
    lastPainted = PercentComplete();
  }
};

TEST(TGauge, ProgressRepaintsAtOnceOnlyWhenThePercentageChanges) {
  CountingGauge gauge;
  gauge.setMaxValue(1000);
  gauge.settle();
  int before = gauge.paints;
  gauge.setProgress(100);
  EXPECT_EQ(gauge.paints, before + 1) << "painted without the event loop";

  gauge.settle();
  before = gauge.paints;
  gauge.setProgress(109);
  gauge.settle();
  EXPECT_EQ(gauge.paints, before) << "still 10 %";
  gauge.setProgress(110);
  EXPECT_EQ(gauge.paints, before + 1);
  EXPECT_EQ(gauge.lastPainted, 11);
}

TEST(TGauge, AppearanceSettersRepaintAtOnceUnlessTheValueIsUnchanged) {
  const struct {
    const char* name;
    std::function<void(TGauge&)> keep, change;
  } rows[] = {
      {"Kind", [](TGauge& g) { g.setKind(gkHorizontalBar); }, [](TGauge& g) { g.setKind(gkPie); }},
      {"ShowText", [](TGauge& g) { g.setShowText(true); }, [](TGauge& g) { g.setShowText(false); }},
      {"BorderStyle", [](TGauge& g) { g.setBorderStyle(bsSingle); },
       [](TGauge& g) { g.setBorderStyle(bsNone); }},
      {"ForeColor", [](TGauge& g) { g.setForeColor(Qt::black); }, [](TGauge& g) { g.setForeColor(Qt::red); }},
      {"BackColor", [](TGauge& g) { g.setBackColor(Qt::white); }, [](TGauge& g) { g.setBackColor(Qt::red); }},
      {"MinValue", [](TGauge& g) { g.setMinValue(0); }, [](TGauge& g) { g.setMinValue(1); }},
      {"MaxValue", [](TGauge& g) { g.setMaxValue(100); }, [](TGauge& g) { g.setMaxValue(99); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    CountingGauge gauge;
    const int before = gauge.paints;
    row.keep(gauge);
    EXPECT_EQ(gauge.paints, before);
    row.change(gauge);
    EXPECT_EQ(gauge.paints, before + 1);
  }
}

TEST(TGauge, RapidChangesPaintAtMostSixtyTimesASecondAndAlwaysTheLastValue) {
  CountingGauge gauge;
  const int before = gauge.paints;
  for (int i = 0; i < 1000; ++i) gauge.setProgress(i % 2 == 0 ? 30 : 70);
  gauge.setProgress(42);
  EXPECT_LT(gauge.paints - before, 100);
  EXPECT_GE(gauge.paints - before, 1) << "the first change paints at once";
  gauge.settle();
  EXPECT_EQ(gauge.lastPainted, 42);
}

}  // namespace
}  // namespace glanex
