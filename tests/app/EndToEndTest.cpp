#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <utility>

#include <QDir>
#include <QGroupBox>

#include "app/qt/LogoMain.h"
#include "extraction/qt/TRichEdit.h"
#include "extraction/qt/recherche.h"
#include "support/TestSupport.h"

// The main job as a user does it: paste, "Mise en forme", "Exécuter", "Terminé", commas, copy.
namespace glanex::test {
namespace {

using namespace Qt::Literals::StringLiterals;

std::string paneText(TRichEdit* pane) {
  return pane->control().document().plainText();
}

template <typename T>
T* child(QWidget* window, const char* name) {
  T* found = window->findChild<T*>(QLatin1StringView(name));
  EXPECT_NE(found, nullptr) << name;
  return found;
}

TEST(EndToEnd, PasteRunCommaAndCopyThroughTheWindowsControls) {
  QApplication::setQuitOnLastWindowClosed(false);
  TLogoAppForm mainWindow;
  mainWindow.show();
  QGuiApplication::clipboard()->setText(
      QString::fromUtf8("Contact : Anne <anne@ex.test>, Bob (bob@ex.test)\nPas d'adresse ici.\n"
                        "@ex.test et marc@ex.test; anne@ex.test\nserveur@poste1\n"));
  QTest::mouseClick(child<QPushButton>(&mainWindow, "Coller_PP"), Qt::LeftButton);

  QTest::mouseClick(child<QToolButton>(&mainWindow, "SpeedButton1"), Qt::LeftButton);
  ASSERT_NE(RecStatus, nullptr);
  TRecStatus* processing = RecStatus;
  EXPECT_FALSE(mainWindow.isVisible());
  EXPECT_TRUE(processing->isVisible());

  QTest::mouseClick(child<QPushButton>(processing, "Bok"), Qt::LeftButton);
  EXPECT_EQ(child<QLabel>(processing, "Label5")->text(), QStringLiteral("= 3 Email(s)"));
  EXPECT_EQ(processing->windowTitle(), QStringLiteral("Recherche terminé !"));
  QTest::mouseClick(child<QPushButton>(processing, "BTermine"), Qt::LeftButton);
  EXPECT_TRUE(mainWindow.isVisible());
  EXPECT_FALSE(processing->isVisible());
  EXPECT_EQ(paneText(mainWindow.RichEdit2()), "bob@ex.test\r\nmarc@ex.test\r\nanne@ex.test\r\n");

  QTest::mouseClick(child<QPushButton>(&mainWindow, "Avec_Virgule"), Qt::LeftButton);
  EXPECT_EQ(paneText(mainWindow.RichEdit2()), "bob@ex.test,\r\nmarc@ex.test,\r\nanne@ex.test,\r\n");
  QTest::mouseClick(child<QPushButton>(&mainWindow, "Copier_PP"), Qt::LeftButton);
  EXPECT_EQ(QGuiApplication::clipboard()->text(),
            QStringLiteral("bob@ex.test,\nmarc@ex.test,\nanne@ex.test,\n"));
  QTest::mouseClick(child<QPushButton>(&mainWindow, "Sans_Virgule"), Qt::LeftButton);
  EXPECT_EQ(paneText(mainWindow.RichEdit2()), "bob@ex.test\r\nmarc@ex.test\r\nanne@ex.test\r\n");

  // A second run needs the command again, and gets a window of its own.
  QTest::mouseClick(child<QToolButton>(&mainWindow, "SpeedButton1"), Qt::LeftButton);
  EXPECT_NE(RecStatus, processing);
  QTest::keyClick(RecStatus, Qt::Key_Escape);
  EXPECT_TRUE(mainWindow.isVisible());
  delete RecStatus;
  delete processing;
}

TEST(EndToEnd, AFileNamedAtStartOpensUnderItsFullPathWhateverTheBytesOfItsName) {
  ScratchDir folder;
  const QString previous = QDir::currentPath();
  QDir::setCurrent(QString::fromStdString(folder.path().string()));
  // A Latin-1 name from an old disk is no UTF-8: the caption shows it with a replacement character.
  for (const auto& [name, shown] :
       {std::pair{"liste.txt", u"liste.txt"_s}, {"caf\xE9.txt", u"caf\uFFFD.txt"_s}}) {
    SCOPED_TRACE(name);
    writeBytes(folder.file(name), "a@b.test\n");
    TLogoAppForm mainWindow;
    mainWindow.openFileGivenAtStart(name);
    EXPECT_EQ(paneText(mainWindow.RichEdit1()), "a@b.test\r\n");
    EXPECT_EQ(
        mainWindow.GroupBox1()->title(),
        u" Fichier source [ "_s + QString::fromStdString(folder.path().string()) + u"/"_s + shown + u" ] "_s);
  }
  QDir::setCurrent(previous);
}

}  // namespace
}  // namespace glanex::test
