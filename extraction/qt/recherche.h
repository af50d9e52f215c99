#pragma once

#include <QDialog>
#include <QPointer>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "extraction/ExtractionProgress.h"
#include "extraction/ProgressPacer.h"
#include "extraction/StagedExtraction.h"
#include "extraction/TStrings.h"

class QCloseEvent;
class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class QShowEvent;

namespace glanex {

class TGauge;
class TRichEdit;

// The processing window: one extraction run over the main window's source lines, with its progress on two
// bars and four gauges, its count, and its final list put into the main window's result pane.
//
// Ready -> (Exécuter) -> Running -> Done; after a failed run the window says so and still offers "Terminé".
// The main window stays hidden from the processing command until the user leaves through "Annuler" or
// "Terminé", so the panes and the separators cannot change under the run. The run is synchronous on the
// user-interface thread: no input is handled while it lasts, and the indicators repaint themselves.
//
// The window is the run's progress sink, which is called for every comparison of the deduplication. Each
// indicator's ProgressPacer makes a report cost two comparisons unless the percentage it shows changes, and
// repaints at most about 60 times a second; the window shows every last value when a stage begins, at the
// end and after an error. The window paces its gauges itself, so they never hold a repaint back as well.
class TRecStatus : public QDialog, public ExtractionProgress {
  Q_OBJECT

 public:
  // The run reads `sourceLines` with `separators` and puts its final list into `resultPane`; leaving the
  // window calls `showMainWindow`. The lines and the pane outlive the window.
  TRecStatus(const TStrings& sourceLines, std::string separators, TRichEdit& resultPane,
             std::function<void()> showMainWindow);

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
  // The control that shows one channel, and when it shows a new value.
  struct Indicator {
    ProgressPacer pacer;
    TGauge* gauge = nullptr;
    QProgressBar* bar = nullptr;
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

  Indicator& indicator(ProgressChannel channel) { return indicators_[channelIndex(channel)]; }
  void setRange(ProgressChannel channel, std::int64_t total);
  void followPosition(Indicator& indicator);
  void showValue(Indicator& indicator);
  void showLastValues();

  const TStrings& sourceLines_;
  const std::string separators_;
  TRichEdit& resultPane_;
  const std::function<void()> showMainWindow_;
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

  std::array<Indicator, kProgressChannelCount> indicators_;
};

// The newest processing window, or null before the first processing command.
extern QPointer<TRecStatus> RecStatus;

// The processing command: a new processing window over `sourceLines` and `separators`, which puts its final
// list into `resultPane`, takes `mainWindow`'s place on screen. The window belongs to the main window
// (ownByMainWindow) and gives it back its place when left. Returns it (also stored in RecStatus).
TRecStatus* startProcessing(QWidget& mainWindow, const TStrings& sourceLines, std::string separators,
                            TRichEdit& resultPane);

}  // namespace glanex
