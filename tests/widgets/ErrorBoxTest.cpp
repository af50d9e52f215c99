#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <functional>
#include <new>
#include <stdexcept>
#include <vector>

#include "app/QtPrinters.h"
#include "extraction/Errors.h"
#include "widgets/qt/ErrorBox.h"

namespace glanex::test {
namespace {

struct ShownBox {
  QString title;
  QString text;
  QMessageBox::Icon icon;
  QMessageBox::StandardButtons buttons;
  bool modal;
};

// Runs `action` and answers every message box it shows with its OK button, noting what each box showed.
std::vector<ShownBox> boxesShownDuring(const std::function<void()>& action) {
  std::vector<ShownBox> shown;
  QTimer answer;
  answer.setInterval(5);
  QObject::connect(&answer, &QTimer::timeout, [&shown] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    shown.push_back({box->windowTitle(), box->text(), box->icon(), box->standardButtons(), box->isModal()});
    box->button(QMessageBox::Ok)->click();
  });
  answer.start();
  action();
  return shown;
}

TEST(RunCommand, ShowsWhatACommandThrowsInOneErrorBoxAndKeepsWhatItDid) {
  const struct {
    const char* name;
    std::function<void()> fail;
    QString message;
  } rows[] = {
      {"program error gets its dot", [] { throw EFOpenError("Impossible d'ouvrir le fichier"); },
       QStringLiteral("Impossible d'ouvrir le fichier.")},
      {"closing quote sorts before the dot", [] { throw EFCreateError("Impossible de créer \"a\""); },
       QStringLiteral("Impossible de créer \"a\"")},
      {"message ending in a dot", [] { throw EInvalidOperation("Fin."); }, QStringLiteral("Fin.")},
      {"last character sorting before the dot", [] { throw GlanexError("Attention !"); },
       QStringLiteral("Attention !")},
      {"memory", [] { throw std::bad_alloc(); }, QStringLiteral("Mémoire insuffisante.")},
      {"a full list", [] { throw std::length_error("too many distinct tokens"); },
       QStringLiteral("Mémoire insuffisante.")},
      {"the library's English never shows", [] { throw std::out_of_range("vector::_M_range_check"); },
       QStringLiteral("Erreur inattendue.")},
      {"anything else", [] { throw 42; }, QStringLiteral("Erreur inattendue.")},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    int stepsDone = 0;
    const std::vector<ShownBox> shown = boxesShownDuring([&] {
      runCommand(nullptr, [&] {
        ++stepsDone;
        row.fail();
        ++stepsDone;
      });
    });
    EXPECT_EQ(stepsDone, 1);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, QStringLiteral("Glanex !"));
    EXPECT_EQ(shown[0].text, row.message);
    EXPECT_EQ(shown[0].icon, QMessageBox::Critical);
    EXPECT_EQ(shown[0].buttons, QMessageBox::Ok);
    EXPECT_TRUE(shown[0].modal);
  }
}

TEST(RunCommand, ShowsNothingWhenTheCommandSucceeds) {
  bool ran = false;
  EXPECT_TRUE(boxesShownDuring([&] { runCommand(nullptr, [&] { ran = true; }); }).empty());
  EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace glanex::test
