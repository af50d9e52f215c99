#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "app/QtPrinters.h"
#include "extraction/Pipeline.h"
#include "extraction/qt/TRichEdit.h"
#include "extraction/qt/recherche.h"
#include "widgets/qt/Gauges.h"

namespace glanex::test {
namespace {

const char* const kWorkedExample =
    "Contact : Anne <anne@ex.test>, Bob (bob@ex.test)\r\nPas d'adresse ici.\r\n"
    "@ex.test et marc@ex.test; anne@ex.test\r\nserveur@poste1";

// What the processing window needs of the main window: its two panes, and the window to hide and show.
class MainWindowStandIn : public QWidget {
 public:
  TRichEdit* RichEdit1() const { return source_; }
  TRichEdit* RichEdit2() const { return result_; }

 private:
  TRichEdit* source_ = new TRichEdit(this);
  TRichEdit* result_ = new TRichEdit(this);
};

class ProcessingWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    QApplication::setQuitOnLastWindowClosed(false);
    openWindow();
  }
  // The processing command, from the main window on screen.
  void openWindow() {
    mainWindow.show();
    window.reset(startProcessing(mainWindow, mainWindow.RichEdit1()->Lines(), std::string(kDefaultSeparators),
                                 *mainWindow.RichEdit2()));
  }

  template <typename T = QWidget>
  T* control(const char* name) const {
    T* found = window->findChild<T*>(QLatin1StringView(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  QString text(const char* label) const { return control<QLabel>(label)->text(); }
  static void put(TRichEdit* pane, const std::string& text) {
    pane->control().setDocument(FormattedText::fromPlainText(text));
  }
  std::string resultLines() const {
    std::string lines;
    TStrings& result = mainWindow.RichEdit2()->Lines();
    for (std::int64_t i = 0; i < result.LineCount(); ++i) lines += result.GetLine(i) + "\r\n";
    return lines;
  }
  void expectBackInMainWindow() const {
    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_FALSE(window->isVisible());
  }

  MainWindowStandIn mainWindow;
  std::unique_ptr<TRecStatus> window;
};

TEST_F(ProcessingWindow, TakesTheMainWindowsPlaceInItsReadyState) {
  EXPECT_EQ(RecStatus, window.get());
  EXPECT_FALSE(mainWindow.isVisible());
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Glanex - Traitement des données"));
  EXPECT_EQ(window->size(), QSize(305, 184));
  EXPECT_FALSE(window->windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_EQ(text("StaticText1"), QStringLiteral(" Prêt à effectuer le traitement... "));
  EXPECT_EQ(text("Label6"), QStringLiteral("Cliquez sur OK pour lancer le traitement"));
  EXPECT_TRUE(control<QPushButton>("Bok")->isDefault());
  for (const char* hidden : {"PB1", "PB2", "G1", "G1Bis", "G2", "G3", "BTermine", "Label5"}) {
    EXPECT_TRUE(control(hidden)->isHidden()) << hidden;
  }
}

TEST_F(ProcessingWindow, RunsTheWorkedExampleFromClickOrEnterAndHandsTheListBackInOneUndoStep) {
  for (const bool byKeyboard : {false, true}) {
    SCOPED_TRACE(byKeyboard ? "Enter" : "click");
    openWindow();
    put(mainWindow.RichEdit1(), kWorkedExample);
    put(mainWindow.RichEdit2(), "ancien@ex.test\r\n");
    if (byKeyboard) {
      QTest::keyClick(window.get(), Qt::Key_Return);
    } else {
      QTest::mouseClick(control<QPushButton>("Bok"), Qt::LeftButton);
    }
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Recherche terminé !"));
    EXPECT_EQ(text("StaticText1"), QStringLiteral(" Traitement terminé ! "));
    EXPECT_EQ(text("Label5"), QStringLiteral("= 3 Email(s)"));
    EXPECT_EQ(control<QProgressBar>("PB1")->value(), 4);
    EXPECT_EQ(control<QProgressBar>("PB2")->value(), 4);
    for (const char* gauge : {"G1", "G1Bis", "G2", "G3"}) {
      EXPECT_TRUE(control(gauge)->isVisible()) << gauge;
      EXPECT_EQ(control<TGauge>(gauge)->PercentComplete(), 100) << gauge;
    }
    EXPECT_FALSE(control<QPushButton>("Bannuler")->isEnabled());
    EXPECT_TRUE(control<QPushButton>("Bok")->isHidden());
    EXPECT_EQ(resultLines(), "bob@ex.test\r\nmarc@ex.test\r\nanne@ex.test\r\n");

    QTest::mouseClick(control<QPushButton>("BTermine"), Qt::LeftButton);
    expectBackInMainWindow();
    QTest::keyClick(mainWindow.RichEdit2(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(resultLines(), "ancien@ex.test\r\n");
  }
}

TEST_F(ProcessingWindow, LeavingBeforeTheRunKeepsTheResultPane) {
  const std::function<void()> leave[] = {
      [this] { QTest::mouseClick(control<QPushButton>("Bannuler"), Qt::LeftButton); },
      [this] { QTest::keyClick(window.get(), Qt::Key_Escape); },
      [this] { window->close(); },
  };
  for (const auto& way : leave) {
    openWindow();
    put(mainWindow.RichEdit1(), kWorkedExample);
    put(mainWindow.RichEdit2(), "ancien@ex.test\r\n");
    way();
    expectBackInMainWindow();
    EXPECT_EQ(resultLines(), "ancien@ex.test\r\n");
  }
}

TEST_F(ProcessingWindow, EmptySourceCountsNothingAndEmptiesTheResultPane) {
  put(mainWindow.RichEdit2(), "ancien@ex.test\r\n");
  control<QPushButton>("Bok")->click();
  EXPECT_EQ(text("Label5"), QStringLiteral("= 0 Email(s)"));
  EXPECT_EQ(resultLines(), "");
  EXPECT_EQ(control<TGauge>("G1")->PercentComplete(), 0);
  QTest::keyClick(window.get(), Qt::Key_Escape);
  expectBackInMainWindow();
}

TEST_F(ProcessingWindow, FullWorkingListShowsTheErrorThenLetsTheUserBack) {
  std::string source;
  for (int i = 0; i < 800; ++i) source += std::string(87, 'x') + " a@b.test\r\n";
  put(mainWindow.RichEdit1(), source);
  put(mainWindow.RichEdit2(), "ancien@ex.test\r\n");
  QString shownMessage;
  QString statusBehindBox;
  QTimer::singleShot(0, [&] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* box = qobject_cast<QMessageBox*>(widget); box != nullptr && box->isVisible()) {
        shownMessage = box->text();
        statusBehindBox = text("StaticText1");
        box->close();
      }
    }
  });
  control<QPushButton>("Bok")->click();
  EXPECT_EQ(shownMessage, QStringLiteral("Erreur d'insertion de ligne RichEdit."));
  EXPECT_EQ(statusBehindBox, QStringLiteral(" Traitement interrompu ! "));
  EXPECT_EQ(text("StaticText1"), QStringLiteral(" Traitement interrompu ! "));
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Glanex - Traitement des données"));
  EXPECT_TRUE(control("Label5")->isHidden());
  EXPECT_FALSE(control<QPushButton>("Bannuler")->isEnabled());
  EXPECT_EQ(control<QProgressBar>("PB2")->value(), 668);

  window->close();
  expectBackInMainWindow();
  EXPECT_EQ(resultLines(), "ancien@ex.test\r\n");
}

// The window skips reports that change nothing visible and holds back repaints: nothing may be lost.
TEST_F(ProcessingWindow, EveryIndicatorReachesItsLastReportedValueWhenTheNextStageBegins) {
  auto* g1 = control<TGauge>("G1");
  window->ReportRange(ProgressChannel::Cutting, 1000);
  for (int i = 0; i <= 997; ++i) window->ReportPosition(ProgressChannel::Cutting, i);
  EXPECT_TRUE(control("G1Bis")->isHidden());
  window->ReportRange(ProgressChannel::Filtering, 3'000'000'000);
  EXPECT_EQ(g1->Progress(), 997);
  EXPECT_FALSE(control("G1Bis")->isHidden());
  EXPECT_EQ(control<TGauge>("G1Bis")->MaxValue(), 2'147'483'647);

  window->ReportRange(ProgressChannel::LineScan, 0);
  window->ReportPosition(ProgressChannel::LineScan, 5);
  EXPECT_EQ(control<QProgressBar>("PB2")->value(), 0);
  EXPECT_GT(control<QProgressBar>("PB2")->maximum(), 0) << "a 0..0 bar would show a busy animation";
}

TEST_F(ProcessingWindow, AReportThatChangesTheShownPercentageShowsOnceAFramePassed) {
  const struct {
    std::int64_t maximum, before, after;
  } rows[] = {{1000, 9, 10}, {1000, 10, 9}, {7, 0, 1}, {7, 6, 7}, {3, 1, 2}, {300, 299, 300}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.maximum * 10000 + row.before);
    window->ReportRange(ProgressChannel::Cutting, row.maximum);
    window->ReportPosition(ProgressChannel::Cutting, row.before);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    window->ReportPosition(ProgressChannel::Cutting, row.after);
    EXPECT_EQ(control<TGauge>("G1")->Progress(), row.after);
  }
}

}  // namespace
}  // namespace glanex::test
