#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QGroupBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <QUrl>
#include <QWindow>

#include <functional>
#include <memory>

#include "QtPrinters.h"
#include "app/qt/HintTracker.h"
#include "app/qt/LogoMain.h"
#include "extraction/Pipeline.h"
#include "extraction/qt/TRichEdit.h"
#include "extraction/qt/recherche.h"
#include "support/TestSupport.h"
#include "widgets/ProductAddresses.h"
#include "widgets/qt/About.h"
#include "widgets/qt/HotLink.h"
#include "widgets/qt/Mode_Emploi.h"

namespace glanex::test {
namespace {

using namespace Qt::Literals::StringLiterals;

std::string paneText(TRichEdit* pane) {
  return pane->control().document().plainText();
}

// Receives the addresses the desktop is asked to open, instead of a browser.
class UrlCatcher : public QObject {
  Q_OBJECT

 public:
  UrlCatcher() { QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "open"); }
  ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("https")); }
  QList<QUrl> opened;

 public Q_SLOTS:
  void open(const QUrl& url) { opened.append(url); }
};

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    // Closing the window must not end the test program.
    QApplication::setQuitOnLastWindowClosed(false);
    form = std::make_unique<TLogoAppForm>();
  }

  // Shows the window and makes it the active one, as the user finds it at start.
  void showActive() {
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  }

  template <typename T = QWidget>
  T* control(const char* name) const {
    T* found = form->findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }

  QAction* entry(const char* name) const { return control<QAction>(name); }

  std::unique_ptr<TLogoAppForm> form;
};

TEST_F(MainWindow, CaptionIsGlanexFollowedByTheVersionWhichTheTestProgramLacks) {
  EXPECT_EQ(form->GetVersion(), QString());
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Glanex "));
}

TEST_F(MainWindow, ControlsSitAtTheirPlacesInTheirParents) {
  const struct {
    const char* name;
    const char* parent;  // "" for the client area
    QRect geometry;
  } rows[] = {
      {"GroupBox1", "", {4, 0, 561, 137}},          {"RichEdit1", "", {16, 24, 345, 105}},
      {"OpenBtn", "GroupBox1", {360, 104, 79, 25}}, {"Image1", "GroupBox1", {368, 24, 33, 33}},
      {"Panel2", "GroupBox1", {408, 24, 137, 33}},  {"Coller_PP", "GroupBox1", {474, 106, 80, 25}},
      {"RichEdit2", "GroupBox2", {8, 24, 281, 81}}, {"SaveBtn", "GroupBox2", {184, 112, 25, 25}},
      {"Label1", "GroupBox3", {8, 16, 236, 30}},    {"Edit1", "GroupBox3", {8, 56, 241, 23}},
      {"Panel3", "", {308, 264, 257, 49}},          {"ExitBtn", "Panel3", {161, 16, 88, 25}},
      {"weblink", "", {612, 56, 49, 16}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const QWidget* widget = control(row.name);
    ASSERT_NE(widget, nullptr);
    const QWidget* parent = *row.parent ? control(row.parent) : form->centralWidget();
    EXPECT_EQ(widget->parentWidget(), parent);
    EXPECT_EQ(widget->geometry(), row.geometry);
  }
}

TEST_F(MainWindow, HasAFixedClientAreaOf332BelowTheMenuAndNoMaximizeButton) {
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  // The offscreen platform reports a frame, whose share the client width gives up.
  const QMargins frame = form->windowHandle()->frameMargins();
  ASSERT_GT(frame.left() + frame.right(), 0);
  EXPECT_EQ(form->frameGeometry().width(), 577);
  EXPECT_EQ(form->centralWidget()->width(), 577 - frame.left() - frame.right());
  EXPECT_EQ(form->centralWidget()->height() + form->StatusBar()->height(), 332);
  EXPECT_EQ(form->StatusBar()->height(), 17);
  EXPECT_EQ(form->centralWidget()->y(), form->menuBar()->geometry().bottom() + 1);
  EXPECT_EQ(form->minimumSize(), form->maximumSize());
  EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(form->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(form->StatusBar()->isSizeGripEnabled());
}

// Children take their parent's font unless they name their own, so the group boxes' bold face reaches the
// buttons inside them but not the controls that ask for the regular face.
// j, g, p and q reach below the baseline: the panel must hold the font's full line height.
TEST_F(MainWindow, StatusTextShowsWholeLettersInItsBar) {
  showActive();
  const auto* panel = form->StatusBar()->findChild<QLabel*>();
  ASSERT_NE(panel, nullptr);
  const QRect text(panel->mapTo(form->StatusBar(), panel->contentsRect().topLeft()),
                   panel->contentsRect().size());
  EXPECT_TRUE(form->StatusBar()->rect().contains(text));
  EXPECT_GE(text.height(), panel->fontMetrics().height());
}

// Neither pane shows a horizontal bar: the source pane keeps a long line on one line and scrolls along it
// with the caret, the result pane wraps it at its width.
TEST_F(MainWindow, PanesShowNoHorizontalBarForALongLine) {
  const struct {
    TRichEdit* pane;
    bool wraps;
  } rows[] = {{form->RichEdit1(), false}, {form->RichEdit2(), true}};
  showActive();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.pane->objectName().toStdString());
    setPaneText(row.pane->control(), std::string(20, 'x') + "@" + std::string(300, 'y') + ".test");
    row.pane->setFocus();
    QTest::keyClick(row.pane, Qt::Key_End);
    QCoreApplication::processEvents();
    EXPECT_FALSE(row.pane->horizontalScrollBar()->isVisible());
    EXPECT_EQ(row.pane->document()->firstBlock().layout()->lineCount() > 1, row.wraps);
    EXPECT_TRUE(row.pane->viewport()->rect().contains(row.pane->cursorRect()));
  }
}

TEST_F(MainWindow, ControlsUseTheirFacesAtTheirPixelSizes) {
  const struct {
    const char* name;
    const char* family;
    int pixelSize;
    bool bold;
  } rows[] = {
      {"GroupBox1", "Times New Roman", 13, true},
      {"RichEdit1", "System", 11, false},
      {"Panel2", "Times New Roman", 16, true},
      {"Vide_PP", "Times New Roman", 13, true},
      {"RichEdit2", "Times New Roman", 13, false},
      {"Avec_Virgule", "Times New Roman", 13, false},
      {"Edit1", "Times New Roman", 13, false},
      {"SpeedButton1", "Times New Roman", 13, true},
      {"Panel3", "System", 13, false},
      {"weblink", "MS Sans Serif", 11, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const QFont font = control(row.name)->font();
    EXPECT_EQ(font.family(), QLatin1String(row.family));
    EXPECT_EQ(font.pixelSize(), row.pixelSize);
    EXPECT_EQ(font.bold(), row.bold);
  }
}

TEST_F(MainWindow, OnlyPanel2PopsUpItsHint) {
  for (const QWidget* widget : form->findChildren<QWidget*>()) {
    SCOPED_TRACE(widget->objectName().toStdString());
    EXPECT_EQ(widget->toolTip(),
              widget->objectName() == QLatin1String("Panel2") ? widget->statusTip() : QString());
  }
}

TEST_F(MainWindow, ButtonsShowTheHandAndTextFieldsTheIBeam) {
  for (const char* name : {"OpenBtn", "Vide_PP", "Coller_PP", "Avec_Virgule", "Sans_Virgule", "SaveBtn",
                           "Copier_PP", "SpeedButton1", "ExitBtn", "weblink"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(control(name)->cursor().shape(), Qt::PointingHandCursor);
  }
  EXPECT_EQ(form->RichEdit1()->viewport()->cursor().shape(), Qt::IBeamCursor);
  EXPECT_EQ(form->RichEdit2()->viewport()->cursor().shape(), Qt::IBeamCursor);
  EXPECT_EQ(form->Edit1()->cursor().shape(), Qt::IBeamCursor);
}

TEST_F(MainWindow, FocusStartsOnTheSourcePaneAndTabVisitsTheFieldsInOrder) {
  showActive();
  EXPECT_EQ(QApplication::focusWidget(), form->RichEdit1());
  for (const char* name : {"Coller_PP", "Vide_PP", "Copier_PP", "RichEdit2", "Avec_Virgule", "Sans_Virgule",
                           "Edit1", "RichEdit1"}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QLatin1String(name));
  }
}

// The user leaves for another window three times in a row, as a user repeats a run; every time, the control
// that had the focus has it again.
TEST_F(MainWindow, FocusComesBackToItsControlAfterEachSecondaryWindow) {
  const auto runProcessing = [](const std::function<void()>& start) {
    return [start] {
      start();
      ASSERT_NE(RecStatus, nullptr);
      // The user reaches for "Exécuter" once the windows have settled.
      QCoreApplication::processEvents();
      ASSERT_TRUE(QTest::qWaitForWindowActive(RecStatus));
      RecStatus->findChild<QPushButton*>(u"Bok"_s)->click();
      RecStatus->findChild<QPushButton*>(u"BTermine"_s)->click();
    };
  };
  const struct {
    const char* name;
    const char* focused;
    std::function<void()> leaveAndComeBack;
  } rows[] = {
      {"Mise en forme from the menu, by keys", "RichEdit1", runProcessing([&] {
         QTest::keyClick(form.get(), Qt::Key_E, Qt::AltModifier);
         // The menu opens and takes the activation before the user picks from it.
         QCoreApplication::processEvents();
         ASSERT_NE(QApplication::activePopupWidget(), nullptr);
         QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_M);
       })},
      {"Mise en forme from its button", "Edit1",
       runProcessing([&] { control<QAbstractButton>("SpeedButton1")->click(); })},
      {"the About window", "Copier_PP",
       [&] {
         QTimer::singleShot(0, AboutBox, [] { AboutBox->accept(); });
         entry("AboutItem")->trigger();
       }},
      {"a guide window, closed", "RichEdit2",
       [&] {
         entry("Modedemploi1")->trigger();
         ASSERT_TRUE(QTest::qWaitForWindowActive(FMode_Emploi));
         FMode_Emploi->findChild<QPushButton*>(u"Button1"_s)->click();
       }},
  };
  AboutBox = new TAboutBox(QString(), form.get());
  showActive();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    QWidget* focused = control(row.focused);
    focused->setFocus();
    for (int round = 1; round <= 3; ++round) {
      SCOPED_TRACE(round);
      row.leaveAndComeBack();
      // As the window manager does when the other window goes; the offscreen platform may not.
      QApplication::setActiveWindow(form.get());
      ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
      QCoreApplication::processEvents();
      EXPECT_EQ(QApplication::focusWidget(), focused);
    }
  }
}

TEST_F(MainWindow, EnterPressesTheFocusedButton) {
  showActive();
  for (QPushButton* button : form->findChildren<QPushButton*>()) {
    SCOPED_TRACE(button->objectName().toStdString());
    QSignalSpy clicks(button, &QPushButton::clicked);
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Return);
    QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(clicks.count(), 2);
  }
}

TEST_F(MainWindow, EveryControlWithACaptionOrHintHasAnAccessibleName) {
  for (const char* name : {"GroupBox1", "RichEdit1", "OpenBtn", "Image1", "Panel2", "Vide_PP", "Coller_PP",
                           "GroupBox2", "RichEdit2", "Avec_Virgule", "Sans_Virgule", "SaveBtn", "Copier_PP",
                           "GroupBox3", "Label1", "Edit1", "SpeedButton1", "ExitBtn", "weblink"}) {
    SCOPED_TRACE(name);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control(name));
    ASSERT_NE(accessible, nullptr);
    EXPECT_FALSE(accessible->text(QAccessible::Name).trimmed().isEmpty());
  }
}

TEST_F(MainWindow, MenusListTheirEntriesInOrderEachWithAnAccessLetterAndAHint) {
  const struct {
    const char* menu;
    std::vector<const char*> entries;  // separators included
  } menus[] = {
      {"FileMenu", {"FileOpenItem", "FileSaveAsItem", "N1", "FileExitItem"}},
      {"Excution1",
       {"Effacer1", "EffaceretColler1", "Coller1", "N2", "Miseenforme1", "N3", "Copier1",
        "MettrelesVirgules1", "Supprimerlesvirgules1"}},
      {"Help1", {"Modedemploi1", "N5", "AboutItem", "WebWSCLesproduitsOnLine1"}},
  };
  const QList<QAction*> bar = form->menuBar()->actions();
  ASSERT_EQ(bar.size(), static_cast<qsizetype>(std::size(menus)));
  for (std::size_t m = 0; m < std::size(menus); ++m) {
    SCOPED_TRACE(menus[m].menu);
    const QMenu* menu = bar[static_cast<qsizetype>(m)]->menu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->objectName(), QLatin1String(menus[m].menu));
    EXPECT_TRUE(menu->title().contains(u'&'));
    EXPECT_TRUE(menu->menuAction()->statusTip().isEmpty());
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(menus[m].entries.size()));
    for (qsizetype i = 0; i < actions.size(); ++i) {
      const QAction* action = actions[i];
      SCOPED_TRACE(menus[m].entries[static_cast<std::size_t>(i)]);
      EXPECT_EQ(action->objectName(), QLatin1String(menus[m].entries[static_cast<std::size_t>(i)]));
      if (action->isSeparator()) continue;
      EXPECT_TRUE(action->text().contains(u'&'));
      EXPECT_FALSE(action->statusTip().isEmpty());
      EXPECT_EQ(action->shortcut().isEmpty(), action->objectName() != QLatin1String("FileExitItem"));
    }
  }
  EXPECT_EQ(entry("FileExitItem")->shortcut(), QKeySequence(Qt::ALT | Qt::Key_X));
}

TEST_F(MainWindow, MenuEntriesAndButtonsRunTheirCommands) {
  const struct {
    const char* trigger;  // a menu entry or a button
    const char* source;
    const char* result;
    const char* clipboard;
    const char* expectedSource;
    const char* expectedResult;
    const char* expectedClipboard;
  } rows[] = {
      {"Effacer1", "a\r\nb", "r", "c", "", "r", "c"},
      {"Vide_PP", "a\r\nb", "r", "c", "", "r", "c"},
      {"Coller1", "src", "r", "x@y.test", "x@y.testsrc", "r", "x@y.test"},
      {"Coller_PP", "src", "r", "x@y.test", "x@y.testsrc", "r", "x@y.test"},
      {"EffaceretColler1", "src", "r", "x@y.test", "x@y.test", "r", "x@y.test"},
      {"Copier1", "src", "a@x.test\r\nb@y.test", "c", "src", "a@x.test\r\nb@y.test", "a@x.test\nb@y.test"},
      {"Copier_PP", "src", "a@x.test", "c", "src", "a@x.test", "a@x.test"},
      {"MettrelesVirgules1", "src", "a\r\n\r\nb", "c", "src", "a,\r\n\r\nb,", "c"},
      {"Avec_Virgule", "src", "a", "c", "src", "a,", "c"},
      {"Supprimerlesvirgules1", "src", "a,b\r\nc,,", "c", "src", "a\r\nc", "c"},
      {"Sans_Virgule", "src", "a,", "c", "src", "a", "c"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.trigger);
    setPaneText(form->RichEdit1()->control(), row.source);
    setPaneText(form->RichEdit2()->control(), row.result);
    QGuiApplication::clipboard()->setText(QString::fromUtf8(row.clipboard));
    if (auto* button = form->findChild<QAbstractButton*>(QLatin1String(row.trigger)))
      button->click();
    else
      entry(row.trigger)->trigger();
    EXPECT_EQ(paneText(form->RichEdit1()), row.expectedSource);
    EXPECT_EQ(paneText(form->RichEdit2()), row.expectedResult);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8(row.expectedClipboard));
  }
}

// "Copier" leaves the whole result selected; the pane shows it only while it has the focus.
TEST_F(MainWindow, ResultPaneShowsItsSelectionOnlyWhileFocused) {
  TRichEdit* pane = form->RichEdit2();
  const auto looks = [pane] { return pane->viewport()->grab().toImage(); };
  const auto showsHighlight = [pane](const QImage& image) {
    const QRgb highlight = pane->palette().color(QPalette::Active, QPalette::Highlight).rgb();
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (image.pixel(x, y) == highlight) return true;
    return false;
  };
  showActive();
  setPaneText(pane->control(), "a@b.test\r\nc@d.test");
  QTest::mouseClick(control("Copier_PP"), Qt::LeftButton);
  ASSERT_EQ(QApplication::focusWidget(), control("Copier_PP"));
  ASSERT_EQ(pane->textCursor().selectedText().size(), 17);
  const QImage selectedUnfocused = looks();
  pane->setFocus();
  EXPECT_TRUE(showsHighlight(looks()));

  form->Edit1()->setFocus();
  QTextCursor caret = pane->textCursor();
  caret.clearSelection();
  pane->setTextCursor(caret);
  EXPECT_TRUE(selectedUnfocused == looks()) << "the selection shows without the focus";
}

TEST_F(MainWindow, WebEntryOpensTheProductPageThroughTheLink) {
  UrlCatcher catcher;
  entry("WebWSCLesproduitsOnLine1")->trigger();
  EXPECT_EQ(form->weblink()->Url(), QString::fromUtf8(kProductWebPage));
  ASSERT_EQ(catcher.opened.size(), 1);
  EXPECT_EQ(catcher.opened.front(), QUrl(QString::fromUtf8(kProductWebPage)));
}

TEST_F(MainWindow, OneUndoTakesBackAWholeCommand) {
  const struct {
    const char* trigger;
    TRichEdit* (TLogoAppForm::*pane)() const;
    const char* before;
  } rows[] = {
      {"MettrelesVirgules1", &TLogoAppForm::RichEdit2, "a@x.test\r\nb@y.test\r\nc@z.test"},
      {"Supprimerlesvirgules1", &TLogoAppForm::RichEdit2, "a,\r\nb,\r\nc,"},
      {"EffaceretColler1", &TLogoAppForm::RichEdit1, "one\r\ntwo"},
  };
  showActive();
  QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
  for (const auto& row : rows) {
    SCOPED_TRACE(row.trigger);
    TRichEdit* pane = (form.get()->*row.pane)();
    setPaneText(pane->control(), row.before);
    entry(row.trigger)->trigger();
    ASSERT_NE(paneText(pane), row.before);
    pane->setFocus();
    QTest::keyClick(pane, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(paneText(pane), row.before);
  }
}

TEST_F(MainWindow, SeparatorFieldHoldsTheDefaultSetAndOnlyWindows1252Characters) {
  EXPECT_EQ(form->separators(), kDefaultSeparators);
  QLineEdit* field = form->Edit1();
  field->setText(QStringLiteral("ab"));
  field->setCursorPosition(1);
  // Omega has no Windows-1252 form; the euro sign has one.
  for (const QString& typed : {QStringLiteral("\u03A9"), QStringLiteral("\u20AC")}) {
    QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, typed);
    QApplication::sendEvent(field, &key);
  }
  EXPECT_EQ(field->text(), QStringLiteral("a?\u20ACb"));
  EXPECT_EQ(field->cursorPosition(), 3);
  EXPECT_EQ(form->separators(),
            "a?\x80"
            "b");
}

TEST_F(MainWindow, AltXClosesTheWindowWithoutAQuestion) {
  showActive();
  setPaneText(form->RichEdit2()->control(), "unsaved@result.test");
  QTest::keyClick(form.get(), Qt::Key_X, Qt::AltModifier);
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

class MainWindowHints : public MainWindow {
 protected:
  HintTracker& tracker() { return *form->hintTracker(); }
};

TEST_F(MainWindowHints, GreetingStaysUntilTheFirstHint) {
  const QString greeting = QStringLiteral("Bienvenu sur Vendrolix ! ;-)");
  EXPECT_EQ(form->statusText(), greeting);
  tracker().updateFor(control("GroupBox1"));
  tracker().updateFor(form->StatusBar());
  EXPECT_EQ(form->statusText(), greeting);
  tracker().updateFor(control("Vide_PP"));
  EXPECT_EQ(form->statusText(), QStringLiteral("Vider le contenu source"));
}

TEST_F(MainWindowHints, PointerShowsTheHintOfTheControlOrItsNearestParent) {
  const struct {
    const QWidget* underPointer;
    QString bar;
  } path[] = {
      {form->RichEdit1()->viewport(), QStringLiteral("Contenu,  source du traitement")},
      {control("GroupBox1"), {}},
      {control("Label1"), QStringLiteral("Caractères pouvant servir à la séparation des \"Emails\"")},
      {control("Panel3"), {}},
      {control("SpeedButton1"), QStringLiteral("Mise en forme du fichier source")},
      {form->RichEdit2()->verticalScrollBar(), QStringLiteral("Résultats du traitement des données sources")},
      {form->StatusBar(), {}},
      {nullptr, {}},
  };
  for (const auto& step : path) {
    SCOPED_TRACE(step.underPointer ? step.underPointer->objectName().toStdString() : "nothing");
    tracker().updateFor(step.underPointer);
    EXPECT_EQ(form->statusText(), step.bar);
  }
}

TEST_F(MainWindowHints, OnlyAChangeOfHintReachesTheStatusBar) {
  int shown = 0;
  QObject::connect(&tracker(), &HintTracker::hintChanged, form.get(), [&] { ++shown; });
  tracker().updateFor(form->RichEdit1());
  tracker().updateFor(form->RichEdit1()->viewport());
  EXPECT_EQ(shown, 1);
  // Panes, label and field of the settings share one hint: moving between them changes nothing.
  tracker().updateFor(control("GroupBox3"));
  tracker().updateFor(control("Label1"));
  tracker().updateFor(form->Edit1());
  EXPECT_EQ(shown, 2);
  tracker().updateFor(control("GroupBox1"));
  EXPECT_EQ(shown, 3);
  EXPECT_EQ(form->statusText(), QString());
}

TEST_F(MainWindowHints, QtsOwnStatusTipsLeaveTheBarToTheTracker) {
  tracker().updateFor(form->RichEdit1());
  QStatusTipEvent tip(QStringLiteral("Vider le contenu source"));
  QApplication::sendEvent(control("Vide_PP"), &tip);
  EXPECT_TRUE(form->StatusBar()->currentMessage().isEmpty());
  EXPECT_EQ(form->statusText(), QStringLiteral("Contenu,  source du traitement"));
}

TEST_F(MainWindowHints, HighlightedMenuEntryShowsItsHint) {
  showActive();
  tracker().updateFor(control("Vide_PP"));
  auto* menu = control<QMenu>("Excution1");
  menu->popup(form->mapToGlobal(QPoint(40, 20)));
  // The menu's own title has no hint.
  EXPECT_EQ(form->statusText(), QString());
  menu->setActiveAction(entry("EffaceretColler1"));
  EXPECT_EQ(form->statusText(), QStringLiteral("Effacer et coller les données du presse papier"));
  menu->setActiveAction(entry("Copier1"));
  EXPECT_EQ(form->statusText(), QStringLiteral("Copier les résultats dans le presse papier"));
  menu->close();
}

TEST_F(MainWindowHints, MovingThePointerUpdatesTheBarOnceTheInputIsHandled) {
  showActive();
  QTest::mouseMove(form->RichEdit1()->viewport(), QPoint(20, 20));
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return form->statusText() == QStringLiteral("Contenu,  source du traitement"); }));
  // The left edge of the group box's frame, beside the pane that lies over the box.
  QTest::mouseMove(control("GroupBox1"), QPoint(5, 60));
  EXPECT_TRUE(QTest::qWaitFor([&] { return form->statusText().isEmpty(); }));
}

}  // namespace
}  // namespace glanex::test

#include "MainWindowTest.moc"
