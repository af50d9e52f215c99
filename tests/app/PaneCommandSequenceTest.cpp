#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "app/qt/LogoMain.h"
#include "extraction/qt/TRichEdit.h"
#include "extraction/qt/recherche.h"
#include "support/TestSupport.h"

// The commands that rewrite a pane's whole text, run in random order with the view scrolled anywhere and
// with or without a selection: the sequences users reach by opening, pasting and undoing at will.
namespace glanex::test {
namespace {

std::string paneText(TRichEdit* pane) {
  return pane->control().document().plainText();
}

// Lines of addresses, short enough to fit the pane's width or long enough to scroll it sideways.
std::string someLines(std::mt19937& random, bool longLines) {
  const int count = std::uniform_int_distribution(1, 400)(random);
  const std::string filler = longLines ? std::string(300, 'x') + ' ' : "";
  std::string text;
  for (int i = 0; i < count; ++i)
    text += filler + "ligne " + std::to_string(i) + " contact" + std::to_string(i % 7) + "@ex.test\n";
  return text;
}

class PaneCommandSequence : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { QApplication::setQuitOnLastWindowClosed(false); }

  void SetUp() override {
    // A source too big for the working lists ends the run with an error box, which the user closes.
    QObject::connect(&closeBoxes, &QTimer::timeout, [] {
      if (QWidget* box = QApplication::activeModalWidget()) box->close();
    });
    closeBoxes.start(5);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  }

  void click(const char* name) { clickIn(&form, name); }
  static void clickIn(QWidget* window, const char* name) {
    QTest::mouseClick(child<QAbstractButton>(window, name), Qt::LeftButton);
  }

  template <typename T>
  static T* child(QWidget* window, const char* name) {
    T* found = window->findChild<T*>(QLatin1StringView(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }

  void run() {
    click("SpeedButton1");
    ASSERT_NE(RecStatus, nullptr);
    clickIn(RecStatus, "Bok");
    clickIn(RecStatus, "BTermine");
    delete RecStatus;
  }

  TRichEdit* somePane() { return coin() ? form.RichEdit1() : form.RichEdit2(); }
  bool coin() { return std::bernoulli_distribution(0.5)(random); }

  // Moves the caret (and so the view) to the end or the start, selecting on the way or not.
  void scroll(TRichEdit* pane) {
    pane->setFocus();
    const Qt::KeyboardModifiers select = coin() ? Qt::ShiftModifier : Qt::NoModifier;
    QTest::keyClick(pane, coin() ? Qt::Key_End : Qt::Key_Home, Qt::ControlModifier | select);
    if (coin()) QTest::keyClick(pane, Qt::Key_Up, Qt::ShiftModifier);
  }

  QTimer closeBoxes;
  TLogoAppForm form;
  ScratchDir dir;
  std::mt19937 random{20261209};
};

TEST_F(PaneCommandSequence, RandomSequencesOfWholeTextCommandsKeepEveryPaneUsable) {
  const std::string file = dir.file("source.txt");
  const std::vector<std::function<void()>> commands = {
      [&] {
        const std::string lines = someLines(random, coin());
        writeBytes(file, lines);
        form.openFileGivenAtStart(file);
        EXPECT_EQ(form.RichEdit1()->control().lineCount(), std::count(lines.begin(), lines.end(), '\n') + 1);
      },
      [&] {
        QGuiApplication::clipboard()->setText(QString::fromStdString(someLines(random, coin())));
        if (coin()) {
          click("Coller_PP");
        } else {
          child<QAction>(&form, "EffaceretColler1")->trigger();
        }
      },
      [&] {
        click("Vide_PP");
        EXPECT_EQ(paneText(form.RichEdit1()), "");
      },
      [&] { run(); },
      [&] { click("Avec_Virgule"); },
      [&] { click("Sans_Virgule"); },
      [&] { click("Copier_PP"); },
      [&] { QTest::keyClick(somePane(), Qt::Key_Z, Qt::ControlModifier); },
      [&] { scroll(somePane()); },
      [&] { scroll(somePane()); },
  };
  for (int step = 0; step < 300; ++step) {
    const auto which = std::uniform_int_distribution<std::size_t>(0, commands.size() - 1)(random);
    SCOPED_TRACE(testing::Message() << "step " << step << ", command " << which);
    commands[which]();
    QApplication::processEvents();
  }
}

}  // namespace
}  // namespace glanex::test
