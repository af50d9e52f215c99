#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "app/QtPrinters.h"
#include "widgets/ExecutableDate.h"
#include "widgets/qt/About.h"
#include "widgets/qt/HotLink.h"
#include "widgets/qt/ProgramIcon.h"

namespace glanex {
namespace {

using namespace Qt::Literals::StringLiterals;

constexpr FileDateTime kMorning{2026, 12, 9, 10, 22, 4};

TEST(CompilationCaption, FollowsTheLocaleFormatsWithoutATimeZone) {
  const struct {
    const char* name;
    const char* locale;
    FileDateTime date;
    QString expected;
  } rows[] = {
      {"French", "fr_FR", kMorning, u"Compilation du 09/12/2026 10:22:04"_s},
      {"American", "en_US", kMorning, u"Compilation du 12/9/26 10:22:04 AM"_s},
      {"zone in brackets", "es_ES", kMorning, u"Compilation du 9/12/26 10:22:04"_s},
      {"zone in front", "zh_CN", kMorning, u"Compilation du 2026/12/9 10:22:04"_s},
      {"midnight shows the date alone", "fr_FR", {2026, 12, 9, 0, 0, 0}, u"Compilation du 09/12/2026"_s},
      {"two seconds past midnight", "fr_FR", {2026, 12, 9, 0, 0, 2}, u"Compilation du 09/12/2026 00:00:02"_s},
      {"the fallback date", "fr_FR", kNoFileDate, u"Compilation du 01/01/1980"_s},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(compilationCaption(row.date, QLocale(QString::fromLatin1(row.locale))), row.expected);
  }
}

// Pins the user's formats for as long as it lives.
struct FrenchFormats {
  FrenchFormats() { QLocale::setDefault(QLocale(u"fr_FR"_s)); }
  ~FrenchFormats() { QLocale::setDefault(QLocale::system()); }
};

class AboutBoxTest : public ::testing::Test {
 protected:
  template <typename Control>
  Control* control(const char* name) {
    auto* found = box.findChild<Control*>(QLatin1StringView(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }

  // The window reads the formats when it is built, so they are pinned first.
  FrenchFormats formats;
  TAboutBox box{u"2.2.1.20"_s};
};

TEST_F(AboutBoxTest, ShowsTheBuildDateOfTheRunningProgramAndTheGivenVersion) {
  const FileDateTime built =
      ExecutableFileDate(QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString());
  EXPECT_NE(built, kNoFileDate);
  EXPECT_EQ(control<QLabel>("Label1")->text(), compilationCaption(built, QLocale(u"fr_FR"_s)));
  EXPECT_EQ(control<QLabel>("Label6")->text(), u"Construction interne v2.2.1.20"_s);
  // Sized to their text, so nothing is cut off.
  EXPECT_GE(control<QLabel>("Label1")->width(), control<QLabel>("Label1")->sizeHint().width());
}

// The pictures come from the program's resources, which a static library can easily leave out.
TEST_F(AboutBoxTest, ShowsTheProgramIconTwiceAndOpensOnOk) {
  const QImage icon = programIcon().pixmap(32, 32).toImage();
  EXPECT_FALSE(icon.isNull());
  for (const char* name : {"Image1", "Image2"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(control<QLabel>(name)->pixmap().toImage(), icon);
  }
  EXPECT_EQ(box.focusWidget(), control<QPushButton>("OKButton"));
}

TEST_F(AboutBoxTest, LinksOpenTheWebPageAndAMessageToTheContact) {
  auto* web = control<THotLink>("HotLink2");
  EXPECT_EQ(web->text(), u"https://www.glanex.example/sharewares"_s);
  EXPECT_EQ(web->Url(), web->text());
  auto* mail = control<THotLink>("HotLink1");
  EXPECT_EQ(mail->text(), u"glanex@glanex.example"_s);
  EXPECT_EQ(mail->Url(), u"mailto:glanex@glanex.example?subject=GLANEX_A_Propos"_s);
  for (THotLink* link : {web, mail}) {
    SCOPED_TRACE(link->objectName().toStdString());
    EXPECT_EQ(link->palette().color(QPalette::Active, QPalette::WindowText), QColor(Qt::blue));
    EXPECT_FALSE(link->font().underline());
    link->handleMouseEnter();
    EXPECT_TRUE(link->font().underline());
    link->handleMouseLeave();
  }
}

TEST_F(AboutBoxTest, RunsModallyAndOnlyOkOrEnterEndIt) {
  bool escapeIgnored = false;
  QTimer::singleShot(0, &box, [&] {
    EXPECT_EQ(QApplication::activeModalWidget(), &box);
    QTest::keyClick(box.focusWidget(), Qt::Key_Escape);
    escapeIgnored = box.isVisible();
    QTest::keyClick(box.focusWidget(), Qt::Key_Return);
  });
  EXPECT_EQ(box.exec(), QDialog::Accepted);
  EXPECT_TRUE(escapeIgnored);
  EXPECT_FALSE(box.isVisible());
}

TEST_F(AboutBoxTest, EndsHiddenAndKeepsItsTextsForTheNextShowing) {
  const QString date = control<QLabel>("Label1")->text();
  box.show();
  const QRect screen = box.screen()->availableGeometry();
  EXPECT_LE((box.frameGeometry().center() - screen.center()).manhattanLength(), 2);
  QTest::mouseClick(control<QPushButton>("OKButton"), Qt::LeftButton);
  EXPECT_FALSE(box.isVisible());
  box.show();
  EXPECT_TRUE(box.close());
  EXPECT_FALSE(box.isVisible());
  EXPECT_FALSE(box.testAttribute(Qt::WA_DeleteOnClose));
  EXPECT_EQ(control<QLabel>("Label1")->text(), date);
  EXPECT_FALSE(box.testAttribute(Qt::WA_QuitOnClose));
}

}  // namespace
}  // namespace glanex
