#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <limits>

#include "extraction/ExtractionProgress.h"
#include "extraction/StagedExtraction.h"

class QCloseEvent;
class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class QShowEvent;

namespace glanex {

class TGauge;
class TLogoAppForm;

// The processing window: one extraction run over the main window's source pane, with its progress on two
// bars and four gauges, its count, and its final list put into the main window's result pane.
//
// Ready -> (Exécuter) -> Running -> Done; after a failed run the window says so and still offers "Terminé".
// The main window stays hidden from the processing command until the user leaves through "Annuler" or
// "Terminé", so the panes and the separators cannot change under the run. The run is synchronous on the
// user-interface thread: no input is handled while it lasts, and the indicators repaint themselves.
//
// The window is the run's progress sink, which is called for every comparison of the deduplication. A
// report therefore costs two comparisons unless the percentage it shows changes, and indicators repaint at
// most about 60 times a second; what that holds back is shown when the next stage begins and at the end.
class TRecStatus : public QDialog, public ExtractionProgress {
  Q_OBJECT

 public:
  explicit TRecStatus(TLogoAppForm& mainWindow, QWidget* parent = nullptr);
  ~TRecStatus() override;

  void ReportRange(ProgressChannel channel, std::int64_t total) override;
  void ReportPosition(ProgressChannel channel, std::int64_t value) override;

 public Q_SLOTS:
  // Runs the extraction and shows its result; throws what the run throws (Bok runs it through the error box).
  void BokClick();
  // Gives control back to the main window; the handler of both Bannuler and BTermine.
  void BTermineClick();

 protected:
  // Esc.
  void reject() override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  // What one channel's indicator shows. The values in [low, high) show the same percentage as the one
  // on screen, so a report inside them changes nothing visible.
  struct Indicator {
    std::int64_t low = 0;
    std::int64_t high = 0;
    std::int64_t last = 0;
    std::int32_t maximum = 0;
    TGauge* gauge = nullptr;
    QProgressBar* bar = nullptr;
    // When the value was last painted, in milliseconds of the frame clock; long ago at first.
    std::int64_t shownAtMs = std::numeric_limits<std::int64_t>::min() / 2;
  };

  void setUpWindow();
  void createStatusLines();
  void createIndicators();
  void createButtonPanel();
  void setKeyboardOrder();
  void bindIndicators();

  void runThroughErrorBox();
  void showRunning();
  void showCount(std::int64_t count);
  void showInterrupted();
  void putResultIntoMainWindow();
  void pressCancelButton();

  Indicator& indicator(ProgressChannel channel) { return indicators_[static_cast<std::size_t>(channel)]; }
  void setRange(ProgressChannel channel, std::int64_t total);
  void followPosition(Indicator& indicator);
  void showValue(Indicator& indicator);
  void showLastValues();

  TLogoAppForm& mainWindow_;
  // The run with its working lists, which nobody ever sees.
  StagedExtraction extraction_;

  QLabel* StaticText1_ = nullptr;
  QLabel* Label6_ = nullptr;
  QProgressBar* PB1_ = nullptr;
  QProgressBar* PB2_ = nullptr;
  TGauge* G1_ = nullptr;
  TGauge* G1Bis_ = nullptr;
  TGauge* G2_ = nullptr;
  TGauge* G3_ = nullptr;
  QFrame* buttonPanel_ = nullptr;
  QPushButton* Bannuler_ = nullptr;
  QPushButton* Bok_ = nullptr;
  QPushButton* BTermine_ = nullptr;
  QLabel* Label5_ = nullptr;

  std::array<Indicator, 5> indicators_{};
};

// The newest processing window, or null before the first processing command.
extern TRecStatus* RecStatus;

// The processing command: a new processing window, owned by the application until it ends, takes the main
// window's place on screen. Returns it (also stored in RecStatus).
TRecStatus* startProcessing(TLogoAppForm& mainWindow);

}  // namespace glanex
