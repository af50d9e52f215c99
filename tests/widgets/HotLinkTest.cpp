#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <QUrl>
#include <QVBoxLayout>

#include <memory>

#include "widgets/qt/HotLink.h"

namespace glanex {
namespace {

QColor hintColour() {
  return QToolTip::palette().color(QPalette::ToolTipBase);
}
QColor textColour(const QWidget& widget) {
  return widget.palette().color(QPalette::Active, QPalette::WindowText);
}

// Stands in for the user's browser and mail program, and logs what the link does in order.
class DesktopRecorder : public QObject {
  Q_OBJECT

 public:
  QStringList log;

 public Q_SLOTS:
  void open(const QUrl& url) { log << "open " + url.toString(); }
};

class TrackLabelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A hint colour of its own, so that a leave that restores nothing cannot pass by chance.
    label.setHintColor(Qt::yellow);
    label.setHotTrackFont({QFont("Serif", 20), Qt::red});
  }
  // The tool tips' palette belongs to the whole application.
  void TearDown() override { QToolTip::setPalette(toolTipPalette); }

  const QPalette toolTipPalette = QToolTip::palette();
  const QColor applicationHint = hintColour();
  TTrackLabel label;
};

TEST_F(TrackLabelTest, WithoutHotTrackAVisitSwapsOnlyTheHintColour) {
  const QFont rest = label.font();
  label.handleMouseEnter();
  EXPECT_EQ(hintColour(), QColor(Qt::yellow));
  EXPECT_EQ(label.font(), rest);
  label.handleMouseLeave();
  EXPECT_EQ(hintColour(), applicationHint);
  EXPECT_EQ(label.font(), rest);
}

TEST_F(TrackLabelTest, RepeatedEntersSaveOnceButEachIsReported) {
  label.setHotTrack(true);
  const QFont rest = label.font();
  const QColor restColour = textColour(label);
  QSignalSpy entered(&label, &TTrackLabel::mouseEntered);
  label.handleMouseEnter();
  EXPECT_EQ(label.font().pointSize(), 20);
  EXPECT_EQ(textColour(label), QColor(Qt::red));
  label.handleMouseEnter();
  EXPECT_EQ(entered.count(), 2);
  label.handleMouseLeave();
  EXPECT_EQ(hintColour(), applicationHint);
  EXPECT_EQ(label.font(), rest);
  EXPECT_EQ(textColour(label), restColour);
}

TEST_F(TrackLabelTest, ALeaveWithoutEnterRestoresNothingButIsReported) {
  QSignalSpy left(&label, &TTrackLabel::mouseLeft);
  label.handleMouseLeave();
  EXPECT_EQ(left.count(), 1);
  EXPECT_EQ(hintColour(), applicationHint);
}

// Losing a font set under the pointer is intended; restoring a look that was never saved would not be.
TEST_F(TrackLabelTest, ALeaveRestoresTheLookItsEnterSaved) {
  const QFont rest = label.font();
  label.handleMouseEnter();
  label.setHotTrack(true);
  label.handleMouseLeave();
  EXPECT_EQ(label.font(), rest);
  label.handleMouseEnter();
  label.setFont(QFont("Monospace", 31));
  label.handleMouseLeave();
  EXPECT_EQ(label.font(), rest);
}

TEST_F(TrackLabelTest, ALabelDestroyedUnderThePointerGivesTheHintColourBack) {
  auto doomed = std::make_unique<TTrackLabel>();
  doomed->setHintColor(Qt::green);
  doomed->handleMouseEnter();
  doomed.reset();
  EXPECT_EQ(hintColour(), applicationHint);
}

TEST_F(TrackLabelTest, ReportsPaletteChangesFromTheParentButNotItsOwnHoverSwap) {
  QWidget parent;
  label.setParent(&parent);
  label.setHotTrack(true);
  QSignalSpy changed(&label, &TTrackLabel::parentColorChanged);
  label.handleMouseEnter();
  label.handleMouseLeave();
  EXPECT_EQ(changed.count(), 0);
  QPalette colours = parent.palette();
  colours.setColor(QPalette::Window, Qt::darkCyan);
  parent.setPalette(colours);
  EXPECT_EQ(changed.count(), 1);
  label.setParent(nullptr);
}

TEST_F(TrackLabelTest, AMnemonicPassesOverABuddyThatTabSkips) {
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* first = new QLineEdit(&window);
  auto* name = new TTrackLabel(&window);
  auto* frame = new QWidget(&window);
  auto* next = new QLineEdit(&window);
  for (QWidget* widget : window.findChildren<QWidget*>()) layout->addWidget(widget);
  name->setText("&Name");
  name->setBuddy(frame);
  frame->setFocusPolicy(Qt::ClickFocus);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  first->setFocus();
  QTest::keyClick(&window, Qt::Key_N, Qt::AltModifier);
  EXPECT_TRUE(next->hasFocus());
}

class HotLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* scheme : {"https", "mailto"}) QDesktopServices::setUrlHandler(scheme, &desktop, "open");
    QObject::connect(&link, &THotLink::clicked, &desktop, [this] { desktop.log << "clicked"; });
    // Each window gives its links their colour.
    QPalette colours = window.palette();
    colours.setColor(QPalette::WindowText, QColor(0, 0, 255));
    window.setPalette(colours);
    link.setText("weblink");
  }
  void TearDown() override {
    for (const char* scheme : {"https", "mailto"}) QDesktopServices::unsetUrlHandler(scheme);
  }

  DesktopRecorder desktop;
  QWidget window;
  THotLink& link = *new THotLink(&window);
};

TEST_F(HotLinkTest, IsUnderlinedOnlyUnderThePointerAndStaysBlue) {
  const QFont rest = link.font();
  EXPECT_FALSE(rest.underline());
  QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
  QCoreApplication::sendEvent(&link, &enter);
  EXPECT_TRUE(link.font().underline());
  EXPECT_EQ(link.font().family(), rest.family());
  EXPECT_EQ(link.font().pointSize(), rest.pointSize());
  EXPECT_EQ(textColour(link), QColor(0, 0, 255));
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(&link, &leave);
  EXPECT_FALSE(link.font().underline());
  EXPECT_EQ(textColour(link), QColor(0, 0, 255));
}

TEST_F(HotLinkTest, AClickReportsItselfThenOpensTheWholeUrl) {
  link.resize(40, 10);
  for (const QString url :
       {"https://www.glanex.example/produits/", "mailto:x@glanex.example?subject=GLANEX_A_Propos"}) {
    SCOPED_TRACE(url.toStdString());
    desktop.log.clear();
    link.setUrl(url);
    QTest::mousePress(&link, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&link, Qt::LeftButton, {}, QPoint(60, 5));
    EXPECT_TRUE(desktop.log.isEmpty()) << "a release outside the link is no click";
    QTest::mouseClick(&link, Qt::LeftButton);
    EXPECT_EQ(desktop.log, QStringList({"clicked", "open " + url}));
  }
}

TEST_F(HotLinkTest, AnEmptyUrlFailsSilently) {
  link.setUrl("");
  link.click();
  EXPECT_EQ(desktop.log, QStringList{"clicked"});
  EXPECT_FALSE(THotLink::OpenDocument(""));
}

}  // namespace
}  // namespace glanex

#include "HotLinkTest.moc"
