#include "extraction/qt/recherche.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>

#include <algorithm>
#include <initializer_list>
#include <limits>
#include <utility>

#include "extraction/qt/BusyCursor.h"
#include "extraction/qt/TRichEdit.h"
#include "widgets/qt/ErrorBox.h"
#include "widgets/qt/Gauges.h"
#include "widgets/qt/WidgetHelpers.h"

namespace glanex {

using namespace Qt::Literals::StringLiterals;

QPointer<TRecStatus> RecStatus;

namespace {

constexpr QSize kClientSize(305, 184);

QFont boldVersionOf(QFont font) {
  font.setBold(true);
  return font;
}

// A run's counts are 64-bit; the indicators hold 32-bit values from 0 to their maximum.
std::int32_t clampedToRange(std::int64_t value, std::int32_t maximum) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, 0, maximum));
}

// Qt shows a bar whose range is 0 to 0 as a busy animation; an empty range must show an empty bar.
void setBarRange(QProgressBar& bar, std::int32_t maximum) {
  bar.setRange(0, std::max(maximum, 1));
}

}  // namespace

TRecStatus::TRecStatus(const TStrings& sourceLines, std::string separators, TRichEdit& resultPane,
                       std::function<void()> showMainWindow)
    : sourceLines_(sourceLines),
      separators_(std::move(separators)),
      resultPane_(resultPane),
      showMainWindow_(std::move(showMainWindow)) {
  setUpWindow();
  createStatusLines();
  createIndicators();
  createButtonPanel();
  setKeyboardOrder();
  bindIndicators();
}

void TRecStatus::setUpWindow() {
  setObjectName(u"RecStatus"_s);
  // A title bar without system menu or close button: the window is left through its buttons.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setWindowTitle(u"Glanex - Traitement des données"_s);
  setFixedSize(kClientSize);
  setFont(QFont(u"MS Sans Serif"_s, 8));
  // Only the main window's closing ends the program: leaving this window while the main one is still
  // hidden must never quit and lose the user's text.
  setAttribute(Qt::WA_QuitOnClose, false);
}

void TRecStatus::createStatusLines() {
  StaticText1_ =
      placed(new QLabel(u" Prêt à effectuer le traitement... "_s, this), "StaticText1", {8, 1, 289, 17});
  StaticText1_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  StaticText1_->setFont(boldVersionOf(font()));

  Label6_ =
      placed(new QLabel(u"Cliquez sur OK pour lancer le traitement"_s, this), "Label6", {8, 24, 289, 17});
  Label6_->setFont(boldVersionOf(font()));
  Label6_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
}

void TRecStatus::createIndicators() {
  const auto newBar = [this](const char* name, int top) {
    auto* bar = placed(new QProgressBar(this), name, {8, top, 289, 17});
    // The bars show only how far a stage has come; the gauges below print percentages.
    bar->setTextVisible(false);
    bar->hide();
    return bar;
  };
  PB1_ = newBar("PB1", 24);
  PB2_ = newBar("PB2", 48);

  const auto newGauge = [this](const char* name, int top, const QColor& foreColor) {
    auto* gauge = placed(new TGauge(this), name, {8, top, 289, 13});
    gauge->setForeColor(foreColor);
    gauge->setBackColor(palette().color(QPalette::Button));
    // The window paces the gauge's repaints; the gauge must not hold one back a second time.
    gauge->setRepaintPacer(FramePacer(0));
    gauge->hide();
    return gauge;
  };
  G1_ = newGauge("G1", 72, QColor(0, 128, 128));
  G1Bis_ = newGauge("G1Bis", 88, QColor(128, 0, 0));
  G2_ = newGauge("G2", 104, QColor(192, 192, 192));
  G3_ = newGauge("G3", 120, QColor(0, 128, 0));
}

void TRecStatus::createButtonPanel() {
  buttonPanel_ = placed(new QFrame(this), "ButtonPanel", {8, 136, 289, 41});
  // A lowered outer and a raised inner bevel: the etched frame.
  buttonPanel_->setFrameStyle(QFrame::Box | QFrame::Sunken);

  const auto newButton = [this](const char* name, const QString& caption, QStyle::StandardPixmap glyph,
                                int left) {
    auto* button =
        placed(new QPushButton(style()->standardIcon(glyph), caption, buttonPanel_), name, {left, 8, 75, 25});
    button->setCursor(Qt::PointingHandCursor);
    return button;
  };
  Bannuler_ = newButton("Bannuler", u"Annuler"_s, QStyle::SP_DialogCancelButton, 8);
  Bok_ = newButton("Bok", u"Exécuter"_s, QStyle::SP_DialogOkButton, 206);
  Bok_->setDefault(true);
  BTermine_ = newButton("BTermine", u"Terminé"_s, QStyle::SP_DialogCancelButton, 206);
  BTermine_->hide();

  Label5_ = placed(new QLabel(buttonPanel_), "Label5", {88, 20, 113, 13});
  Label5_->setFont(boldVersionOf(font()));
  Label5_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  Label5_->hide();

  connect(Bok_, &QPushButton::clicked, this, &TRecStatus::runThroughErrorBox);
  connect(Bannuler_, &QPushButton::clicked, this, &TRecStatus::BTermineClick);
  connect(BTermine_, &QPushButton::clicked, this, &TRecStatus::BTermineClick);
}

void TRecStatus::setKeyboardOrder() {
  setTabOrder(Bok_, Bannuler_);
  setTabOrder(Bannuler_, BTermine_);
  Bok_->setFocus();
}

void TRecStatus::bindIndicators() {
  indicator(ProgressChannel::LineScan).bar = PB2_;
  indicator(ProgressChannel::Cutting).gauge = G1_;
  indicator(ProgressChannel::Filtering).gauge = G1Bis_;
  indicator(ProgressChannel::DedupOuter).gauge = G2_;
  indicator(ProgressChannel::DedupInner).gauge = G3_;
}

void TRecStatus::BokClick() {
  const BusyCursor busy;
  showRunning();
  const std::int64_t count = extraction_.run(sourceLines_, separators_, this);
  showLastValues();
  showCount(count);
  setWindowTitle(u"Recherche terminé !"_s);
  BTermine_->show();
  BTermine_->setFocus();
  putResultIntoMainWindow();
}

void TRecStatus::BTermineClick() {
  showMainWindow_();
  // A processing window is never shown again: closing it only hides it until the application ends.
  hide();
}

void TRecStatus::runThroughErrorBox() {
  runCommand(this, [this] {
    try {
      BokClick();
    } catch (...) {
      // Behind the error box, the window already tells how the run ended.
      showInterrupted();
      throw;
    }
  });
}

void TRecStatus::showRunning() {
  Bok_->hide();
  Bannuler_->setEnabled(false);
  Label6_->hide();
  for (QWidget* shown : std::initializer_list<QWidget*>{PB1_, PB2_, G1_, G2_, G3_}) shown->show();
  StaticText1_->setText(u" Traitement en cours... "_s);
  // The run keeps the event loop from painting, so the running face is painted before it starts.
  repaint();
}

void TRecStatus::showCount(std::int64_t count) {
  // DecimalText's rule: QString::number writes the same digits, with no grouping.
  Label5_->setText(u"= "_s + QString::number(count) + u" Email(s)"_s);
  Label5_->show();
  StaticText1_->setText(u" Traitement terminé ! "_s);
}

void TRecStatus::showInterrupted() {
  showLastValues();
  StaticText1_->setText(u" Traitement interrompu ! "_s);
  // The main window stays hidden until BTermineClick: the user must keep a way back to it.
  BTermine_->show();
  BTermine_->setFocus();
}

void TRecStatus::putResultIntoMainWindow() {
  // One undo step, so that Ctrl+Z in the result pane takes the whole result back at once.
  const TRichEdit::UndoStep step(resultPane_);
  resultPane_.Lines().ClearText();
  resultPane_.Lines().AssignLines(extraction_.RichEditT2().Lines());
}

// Esc and every other way of closing do what the shown cancel-kind button does; while the run holds the
// window, no button answers and the window stays.
void TRecStatus::pressCancelButton() {
  for (QPushButton* button : {Bannuler_, BTermine_}) {
    if (!button->isHidden() && button->isEnabled()) {
      button->click();
      return;
    }
  }
}

void TRecStatus::reject() {
  pressCancelButton();
}

void TRecStatus::closeEvent(QCloseEvent* event) {
  // The title bar offers no close button, yet Alt+F4 or the window manager may still ask.
  event->ignore();
  if (isVisible()) pressCancelButton();
}

void TRecStatus::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) {
    move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen()->availableGeometry())
             .topLeft());
  }
  QDialog::showEvent(event);
}

void TRecStatus::ReportRange(ProgressChannel channel, std::int64_t total) {
  setRange(channel, total);
  // A stage begins: the one before it stops moving, so whatever the rate limit held back is shown now.
  showLastValues();
}

void TRecStatus::ReportPosition(ProgressChannel channel, std::int64_t value) {
  Indicator& shown = indicator(channel);
  if (!shown.pacer.keep(value)) followPosition(shown);
}

// Out of line, so that the reports that change nothing pay no more than the pacer's two comparisons.
void TRecStatus::followPosition(Indicator& shown) {
  if (shown.pacer.changeLook()) showValue(shown);
}

void TRecStatus::setRange(ProgressChannel channel, std::int64_t total) {
  Indicator& shown = indicator(channel);
  const std::int32_t maximum = clampedToRange(total, std::numeric_limits<std::int32_t>::max());
  shown.pacer.setRange(maximum);
  if (channel == ProgressChannel::LineScan) {
    // The first bar stands for the source lines, all of them known from the start.
    setBarRange(*PB1_, maximum);
    PB1_->setValue(maximum);
    setBarRange(*PB2_, maximum);
    return;
  }
  // The filter stage's gauge appears only once the cutting stage is over.
  if (channel == ProgressChannel::Filtering) G1Bis_->show();
  shown.gauge->setMaxValue(maximum);
}

void TRecStatus::showValue(Indicator& shown) {
  const auto value = static_cast<std::int32_t>(shown.pacer.shownPosition());
  if (shown.bar != nullptr) {
    shown.bar->setValue(value);
    // Qt paints a bar only after a step of several pixels; every percent should show.
    shown.bar->repaint();
  } else {
    shown.gauge->setProgress(value);
  }
}

void TRecStatus::showLastValues() {
  for (Indicator& shown : indicators_) {
    showValue(shown);
    shown.pacer.markShown();
  }
  // What changed without a repaint (the bars' ranges, a gauge just shown) waits for the event loop, which
  // the run blocks: paint it now.
  for (QWidget* shown : std::initializer_list<QWidget*>{PB1_, PB2_, G1_, G1Bis_, G2_, G3_}) {
    if (shown->isVisible()) shown->repaint();
  }
}

TRecStatus* startProcessing(QWidget& mainWindow, const TStrings& sourceLines, std::string separators,
                            TRichEdit& resultPane) {
  auto* window =
      new TRecStatus(sourceLines, std::move(separators), resultPane, [&mainWindow] { mainWindow.show(); });
  // Every processing window stays, hidden once left, as long as the main window.
  ownByMainWindow(mainWindow, window);
  RecStatus = window;
  mainWindow.hide();
  window->show();
  return window;
}

}  // namespace glanex
