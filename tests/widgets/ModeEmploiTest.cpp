#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "widgets/qt/Mode_Emploi.h"

namespace glanex {
namespace {

using namespace Qt::Literals::StringLiterals;

const QStringList kGuide = {
    u"Mode d'emploi de Glanex!"_s,
    u""_s,
    u"Le but est de pouvoir récupérer toutes les adresses emails qui"_s,
    u"peuvent être contenues dans un fichier texte ou dans le presse papier."_s,
    u""_s,
    u"Globalement, l'emploi de ce logiciel est très simple."_s,
    u"A chaque passage sur un bouton, une fenêtre, une option, vous avez"_s,
    u"une description qui s'affiche dans la barre de status (tout en bas)."_s,
    u""_s,
    u"- Charger un fichier texte (ou RTF) ou coller des données textes dans la"_s,
    u"fenêtre du haut."_s,
    u"- Cliquez sur le bouton \"Mise en Forme\""_s,
    u"- Le logiciel travaille"_s,
    u"- Vous obtenez dans la fenêtre du bas la liste des adresses emails"_s,
    u"contenues et trouvées à partir de la fenêtre du haut."_s,
    u""_s,
    u"A partir de maintenant, vous avez de choix d'ajouter une virgule à la fin"_s,
    u"de chaque adresse Email (pour un traitement par exemple)."_s,
    u"Et ensuite de sauvegarder les données extraites dans un fichier (ou"_s,
    u"dans le presse papier) pour les coller dans un autre logiciel comme word."_s,
    u""_s,
    u"Pour faire un test, coller le contenu HTML d'une page Web que vous"_s,
    u"savez avoir une adresse email à l'intérieur et voyez ! ;-)"_s,
    u""_s,
    u"Voilà, c'est à peu près tout ce qu'il y a à savoir."_s,
    u""_s,
    u"Bonne utilisation et merci d'utiliser ce petit programme...."_s,
    u"L'équipe Glanex (glanex@glanex.example)"_s,
    u""_s,
    u"Fiche produit : <https://revendeur.example/glanex>"_s,
    u"Commander : <https://revendeur.example/glanex/commande>"_s,
};

class GuideTest : public ::testing::Test {
 protected:
  GuideTest() {
    // Closing a window must not end the test program.
    QApplication::setQuitOnLastWindowClosed(false);
    mainWindow->setGeometry(100, 100, 577, 378);
    mainWindow->show();
  }

  static QPlainTextEdit* memo(TFMode_Emploi& guide) { return guide.findChild<QPlainTextEdit*>(u"Memo1"_s); }
  static QPushButton* button(TFMode_Emploi& guide) { return guide.findChild<QPushButton*>(u"Button1"_s); }

  std::unique_ptr<QWidget> mainWindow = std::make_unique<QWidget>();
};

TEST_F(GuideTest, ShowsTheFixedTextWithTheFocusOnTheCloseButton) {
  TFMode_Emploi& guide = *showGuide(*mainWindow);
  EXPECT_FALSE(guide.testAttribute(Qt::WA_QuitOnClose));
  EXPECT_EQ(memo(guide)->toPlainText().split(u'\n'), kGuide);
  EXPECT_EQ(guide.focusWidget(), button(guide));
  EXPECT_EQ(button(guide)->nextInFocusChain(), memo(guide));
}

TEST_F(GuideTest, TypingChangesNothingButSelectingAndCopyingWork) {
  QPlainTextEdit* text = memo(*showGuide(*mainWindow));
  text->setFocus();
  QTest::keyClicks(text, u"xyz"_s);
  QTest::keyClick(text, Qt::Key_Delete);
  EXPECT_EQ(text->toPlainText(), kGuide.join(u'\n'));
  // Selected from the keyboard, as from the mouse.
  QTest::keyClick(text, Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
  QTest::keyClick(text, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), kGuide.join(u'\n'));
}

TEST_F(GuideTest, TheScrollBarReachesTheLastLine) {
  QPlainTextEdit* text = memo(*showGuide(*mainWindow));
  QScrollBar* bar = text->verticalScrollBar();
  ASSERT_GT(bar->maximum(), 0);
  bar->setValue(bar->maximum());
  const QPoint bottomLeft(2, text->viewport()->height() - 3);
  EXPECT_EQ(text->cursorForPosition(bottomLeft).blockNumber(), kGuide.size() - 1);
}

TEST_F(GuideTest, EnterOnTheFocusedCloseButtonClosesTheWindow) {
  const struct {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
  } rows[] = {{"Enter", Qt::Key_Return, Qt::NoModifier}, {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TFMode_Emploi& guide = *showGuide(*mainWindow);
    QTest::keyClick(button(guide), row.key, row.modifiers);
    EXPECT_FALSE(guide.isVisible());
  }
}

TEST_F(GuideTest, EachCommandOpensOneMoreCentredOverTheMainWindow) {
  TFMode_Emploi* first = showGuide(*mainWindow);
  TFMode_Emploi* second = showGuide(*mainWindow);
  EXPECT_NE(first, second);
  EXPECT_EQ(FMode_Emploi, second);
  for (TFMode_Emploi* guide : {first, second}) {
    EXPECT_TRUE(guide->isVisible());
    EXPECT_LE((guide->frameGeometry().center() - mainWindow->frameGeometry().center()).manhattanLength(), 2);
  }

  mainWindow->move(-400, -300);
  EXPECT_EQ(showGuide(*mainWindow)->pos(), QPoint(0, 0));
}

TEST_F(GuideTest, ClosingHidesAndTheMainWindowTakesEveryGuideWithIt) {
  QPointer<TFMode_Emploi> byButton = showGuide(*mainWindow);
  QPointer<TFMode_Emploi> byCloseBox = showGuide(*mainWindow);
  QTest::mouseClick(button(*byButton), Qt::LeftButton);
  EXPECT_TRUE(byCloseBox->close());
  QCoreApplication::processEvents();
  for (TFMode_Emploi* guide : {byButton.data(), byCloseBox.data()}) {
    ASSERT_NE(guide, nullptr);
    EXPECT_FALSE(guide->isVisible());
  }

  mainWindow.reset();
  EXPECT_TRUE(byButton.isNull());
  EXPECT_TRUE(byCloseBox.isNull());
}

}  // namespace
}  // namespace glanex
