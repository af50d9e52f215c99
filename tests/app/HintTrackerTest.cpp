#include <gtest/gtest.h>

#include <QAction>
#include <QWidget>

#include "QtPrinters.h"
#include "app/qt/HintTracker.h"

namespace glanex::test {
namespace {

TEST(HintTracker, AWidgetWithoutHintTakesItsNearestParentsWithinItsWindow) {
  QWidget window;
  window.setStatusTip(QStringLiteral("fenêtre"));
  auto* group = new QWidget(&window);
  auto* inner = new QWidget(group);
  auto* field = new QWidget(inner);
  field->setStatusTip(QStringLiteral("court|long|encore"));
  auto* dialog = new QWidget(inner, Qt::Dialog);
  auto* dialogChild = new QWidget(dialog);

  EXPECT_EQ(HintTracker::hintAt(inner), QStringLiteral("fenêtre"));
  group->setStatusTip(QStringLiteral("groupe"));
  EXPECT_EQ(HintTracker::hintAt(inner), QStringLiteral("groupe"));
  EXPECT_EQ(HintTracker::hintAt(field), QStringLiteral("long|encore"));
  // A window of its own does not borrow the hints of the window it belongs to.
  EXPECT_EQ(HintTracker::hintAt(dialogChild), QString());
  EXPECT_EQ(HintTracker::hintAt(nullptr), QString());
}

TEST(HintTracker, AMenuEntryShowsTheLongPartOfItsHint) {
  QAction entry(QStringLiteral("&Entrée"));
  entry.setStatusTip(QStringLiteral("Entrée|Choisir l'entrée"));
  HintTracker tracker;
  tracker.updateForMenuEntry(&entry);
  EXPECT_EQ(tracker.currentHint(), QStringLiteral("Choisir l'entrée"));
  tracker.updateForMenuEntry(nullptr);
  EXPECT_EQ(tracker.currentHint(), QString());
}

}  // namespace
}  // namespace glanex::test
