#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <sys/stat.h>

#include "QtPrinters.h"
#include "app/qt/LogoMain.h"
#include "extraction/DocumentFiles.h"
#include "extraction/TextEncoding.h"
#include "extraction/qt/PlainTextEditControl.h"
#include "extraction/qt/TRichEdit.h"
#include "extraction/qt/recherche.h"
#include "support/TestSupport.h"

namespace glanex::test {
namespace {

using namespace Qt::Literals::StringLiterals;

using Step = std::function<void(QWidget*)>;

std::string paneText(TRichEdit* pane) {
  return pane->control().document().plainText();
}

QString qtPath(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

QString captionFor(const std::string& path) {
  return u" Fichier source [ "_s + qtPath(path) + u" ] "_s;
}

// Runs `action`, handing each modal window it opens to the next step, which must close it. A window beyond
// the steps is closed and counted, so that a test fails rather than hangs.
int unexpectedModalsDuring(const std::function<void()>& action, std::vector<Step> steps) {
  std::size_t next = 0;
  int unexpected = 0;
  QTimer answer;
  answer.setInterval(5);
  QObject::connect(&answer, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) return;
    if (next < steps.size()) {
      steps[next++](modal);
    } else {
      ++unexpected;
      modal->close();
    }
  });
  answer.start();
  action();
  EXPECT_EQ(next, steps.size()) << "some expected windows never opened";
  return unexpected;
}

QFileDialog* fileDialog(QWidget* modal) {
  auto* dialog = qobject_cast<QFileDialog*>(modal);
  EXPECT_NE(dialog, nullptr);
  return dialog;
}

// Types `name` into the dialog's file name field, in `folder`, and confirms it as the user would.
Step typeName(const std::string& folder, const QString& name) {
  return [folder, name](QWidget* modal) {
    QFileDialog* dialog = fileDialog(modal);
    if (dialog == nullptr) {
      modal->close();
      return;
    }
    dialog->setDirectory(qtPath(folder));
    // The dialog deselects the file it offered only once the user types into the focused field.
    QApplication::setActiveWindow(dialog);
    auto* field = dialog->findChild<QLineEdit*>();
    field->setFocus();
    field->selectAll();
    // Key by key, as typed; QTest's own typing knows no letters beyond ASCII.
    for (const QChar letter : name) {
      QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(letter));
      QApplication::sendEvent(field, &key);
    }
    QTest::keyClick(field, Qt::Key_Return);
    // Qt keeps a dialog open on a name it cannot take; fail rather than wait.
    if (dialog->isVisible()) {
      ADD_FAILURE() << "the dialog did not take " << name.toStdString();
      dialog->reject();
    }
  };
}

const Step cancel = [](QWidget* modal) { modal->close(); };

Step clickButton(const QString& text) {
  return [text](QWidget* modal) {
    for (QAbstractButton* button : modal->findChildren<QAbstractButton*>())
      if (button->text() == text) return button->click();
    ADD_FAILURE() << "no button " << text.toStdString();
    modal->close();
  };
}

class DocumentCommands : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // Qt's file dialog keeps its history in the user's settings; the tests keep theirs apart.
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setQuitOnLastWindowClosed(false);
  }

  void SetUp() override {
    form = std::make_unique<TLogoAppForm>();
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  }

  int open(std::vector<Step> steps) { return run("FileOpenItem", std::move(steps)); }
  int save(std::vector<Step> steps) { return run("FileSaveAsItem", std::move(steps)); }

  // Runs a menu entry whose modal windows the steps answer, then gives the window back the activation that
  // a window manager gives it when they close; the offscreen platform does not.
  int run(const char* entry, std::vector<Step> steps) {
    const int unexpected = unexpectedModalsDuring(
        [&] { form->findChild<QAction*>(QLatin1String(entry))->trigger(); }, std::move(steps));
    QApplication::setActiveWindow(form.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    return unexpected;
  }
  void openFile(const std::string& name) { EXPECT_EQ(open({typeName(dir.path(), qtPath(name))}), 0); }

  QString caption() const { return form->GroupBox1()->title(); }
  QWidget* focused() const { return QApplication::focusWidget(); }

  ScratchDir dir;
  std::unique_ptr<TLogoAppForm> form;
};

TEST_F(DocumentCommands, OpenLoadsRtfOrPlainTextNamesTheFileAndLeavesThePaneEditableWithFocus) {
  const struct {
    const char* name;
    const char* bytes;
    const char* text;
  } rows[] = {
      {"lettre.rtf", "{\\rtf1\\ansi Bonjour {\\b a@b.test}\\par Fin}", "Bonjour a@b.test\r\nFin"},
      {"liste.txt", "x@y.test\ncaf\xe9", "x@y.test\r\ncaf\xe9"},
      // A name without a Windows-1252 form opens, and the caption shows it.
      {"адреса.txt", "a@b.test", "a@b.test"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    writeBytes(dir.file(row.name), row.bytes);
    setPaneText(form->RichEdit1()->control(), "avant");
    form->RichEdit1()->setModifiedFlag(true);
    form->RichEdit1()->setReadOnlyFlag(true);
    form->RichEdit2()->setFocus();
    openFile(row.name);
    EXPECT_EQ(paneText(form->RichEdit1()), row.text);
    EXPECT_EQ(caption(), captionFor(dir.file(row.name)));
    EXPECT_EQ(focused(), form->RichEdit1());
    EXPECT_FALSE(form->RichEdit1()->ModifiedFlag());
    EXPECT_FALSE(form->RichEdit1()->ReadOnly());
    // One undo takes the whole open back.
    QTest::keyClick(form->RichEdit1(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(paneText(form->RichEdit1()), "avant");
  }
  // Emptying the pane names no other file and leaves it editable.
  form->findChild<QAction*>(u"Effacer1"_s)->trigger();
  EXPECT_EQ(paneText(form->RichEdit1()), "");
  EXPECT_EQ(caption(), captionFor(dir.file("адреса.txt")));
  EXPECT_FALSE(form->RichEdit1()->ReadOnly());
}

TEST_F(DocumentCommands, CancellingEitherDialogChangesNothingNotEvenTheFocus) {
  setPaneText(form->RichEdit1()->control(), "source");
  setPaneText(form->RichEdit2()->control(), "a@b.test");
  form->RichEdit2()->setModifiedFlag(true);
  form->Edit1()->setFocus();
  const QString before = caption();
  EXPECT_EQ(open({cancel}), 0);
  EXPECT_EQ(save({cancel}), 0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return focused() != nullptr; }));
  EXPECT_EQ(focused(), form->Edit1());
  EXPECT_EQ(paneText(form->RichEdit1()), "source");
  EXPECT_EQ(caption(), before);
  EXPECT_TRUE(form->RichEdit2()->ModifiedFlag());
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(DocumentCommands, AFileThatCannotBeOpenedShowsTheErrorAndLeavesTheWindowAsItWas) {
  ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", dir.file("zero"));
  // Sparse: a terabyte that takes no disk, and more than any machine here could show.
  writeBytes(dir.file("huge.txt"), "");
  std::filesystem::resize_file(dir.file("huge.txt"), std::uintmax_t{1} << 40);
  const auto notOrdinary = [&](const char* name) {
    return u"Impossible d'ouvrir le fichier \""_s + qtPath(dir.file(name)) +
           u"\". Ce n'est pas un fichier ordinaire."_s;
  };
  const struct {
    const char* name;
    QString message;  // its start
  } rows[] = {
      {"absent.txt", u"Impossible d'ouvrir le fichier \""_s + qtPath(dir.file("absent.txt")) + u'"'},
      {"fifo", notOrdinary("fifo")},
      {"zero", notOrdinary("zero")},
      {"huge.txt", u"Mémoire insuffisante."_s},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    setPaneText(form->RichEdit1()->control(), "source");
    form->RichEdit1()->setModifiedFlag(true);
    form->RichEdit1()->setReadOnlyFlag(true);
    form->Edit1()->setFocus();
    const QString before = caption();
    QString shown;
    bool busyBehindTheBox = true;
    const Step readError = [&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      ASSERT_NE(box, nullptr);
      shown = box->text();
      busyBehindTheBox = QGuiApplication::overrideCursor() != nullptr;
      box->button(QMessageBox::Ok)->click();
    };
    EXPECT_EQ(open({typeName(dir.path(), QString::fromUtf8(row.name)), readError}), 0);
    EXPECT_TRUE(shown.startsWith(row.message)) << shown.toStdString();
    EXPECT_FALSE(busyBehindTheBox);
    EXPECT_EQ(paneText(form->RichEdit1()), "source");
    EXPECT_EQ(caption(), before);
    EXPECT_TRUE(form->RichEdit1()->ModifiedFlag());
    EXPECT_TRUE(form->RichEdit1()->ReadOnly());
    EXPECT_EQ(focused(), form->Edit1());
  }
}

TEST_F(DocumentCommands, AFileWithALineTooLongToShowIsRefusedAndThePaneKeepsItsTextAndHistory) {
  writeBytes(dir.file("binaire.dat"),
             "en-t\xEAte\r\n" + std::string(kLongestLoadedLine + 1, '\x01') + "\r\nfin");
  setPaneText(form->RichEdit1()->control(), "source");
  QTest::keyClicks(form->RichEdit1(), "!");
  form->RichEdit1()->setReadOnlyFlag(true);
  const int undoSteps = form->RichEdit1()->document()->availableUndoSteps();
  const QString before = caption();
  QString shown;
  const Step loadError = [&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    shown = box->text();
    box->button(QMessageBox::Ok)->click();
  };
  EXPECT_EQ(open({typeName(dir.path(), u"binaire.dat"_s), loadError}), 0);
  EXPECT_EQ(shown, u"Erreur au chargement du flux."_s);
  EXPECT_EQ(paneText(form->RichEdit1()), "!source");
  EXPECT_TRUE(form->RichEdit1()->ModifiedFlag());
  EXPECT_TRUE(form->RichEdit1()->ReadOnly());
  EXPECT_EQ(caption(), before);
  EXPECT_EQ(form->RichEdit1()->document()->availableUndoSteps(), undoSteps);
  form->RichEdit1()->undo();
  EXPECT_EQ(paneText(form->RichEdit1()), "source");
}

TEST_F(DocumentCommands, OpeningAgainWhileThePaneIsScrolledToItsEndReplacesTheText) {
  std::string lines;
  for (int i = 1; i <= 100; ++i) lines += std::to_string(i) + " ligne contact@ex.test\n";
  writeBytes(dir.file("contacts.txt"), lines);
  openFile("contacts.txt");
  QTest::keyClick(form->RichEdit1(), Qt::Key_End, Qt::ControlModifier);
  QApplication::processEvents();
  openFile("contacts.txt");
  QApplication::processEvents();
  EXPECT_EQ(form->RichEdit1()->control().lineCount(), 101);
}

TEST_F(DocumentCommands, TypedNamesWithoutExtensionGetRtfUnlessAnExistingFileIsOpened) {
  writeBytes(dir.file("notes"), "sans extension");
  writeBytes(dir.file("liste.rtf"), "avec extension");
  openFile("notes");
  EXPECT_EQ(paneText(form->RichEdit1()), "sans extension");
  openFile("liste");
  EXPECT_EQ(paneText(form->RichEdit1()), "avec extension");
  EXPECT_EQ(caption(), captionFor(dir.file("liste.rtf")));

  // A new name asks nothing and gets the extension, whatever its characters.
  setPaneText(form->RichEdit2()->control(), "a@b.test\r\nc@d.test");
  form->RichEdit2()->setModifiedFlag(true);
  EXPECT_EQ(save({typeName(dir.path(), u"résultat-адреса"_s)}), 0);
  EXPECT_EQ(loadedDocument(dir.file("résultat-адреса.rtf")).plainText(), "a@b.test\r\nc@d.test");
  EXPECT_FALSE(std::filesystem::exists(dir.file("résultat-адреса")));
  EXPECT_FALSE(form->RichEdit2()->ModifiedFlag());
}

TEST_F(DocumentCommands, SavingOverAFileReplacesItOnlyWhenTheUserAnswersOui) {
  const struct {
    const char* name;
    Step answer;
    bool replaced;
  } rows[] = {
      {"Oui", clickButton(u"&Oui"_s), true},
      {"Enter picks the default, Oui", [](QWidget* box) { QTest::keyClick(box, Qt::Key_Return); }, true},
      {"Non", clickButton(u"&Non"_s), false},
      {"Annuler", clickButton(u"Annuler"_s), false},
      {"Escape", [](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); }, false},
      {"closing the box", cancel, false},
  };
  const std::string target = dir.file("liste.rtf");
  auto* copyButton = form->findChild<QWidget*>(u"Copier_PP"_s);
  copyButton->setFocus();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    writeBytes(target, "ancien");
    setPaneText(form->RichEdit2()->control(), "nouveau@b.test");
    form->RichEdit2()->setModifiedFlag(true);
    EXPECT_EQ(save({typeName(dir.path(), u"liste.rtf"_s), row.answer}), 0);
    EXPECT_EQ(readBytes(target) != "ancien", row.replaced);
    if (row.replaced) {
      EXPECT_EQ(loadedDocument(target).plainText(), "nouveau@b.test");
    }
    EXPECT_EQ(form->RichEdit2()->ModifiedFlag(), !row.replaced);
    EXPECT_EQ(focused(), copyButton);
  }
}

TEST_F(DocumentCommands, OverwriteQuestionNamesTheFileOffersOuiNonAnnulerAndSitsMidScreen) {
  writeBytes(dir.file("liste.rtf"), "ancien");
  const Step inspect = [&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), u"Confirmation"_s);
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    EXPECT_EQ(box->text(), u"Le fichier \""_s + qtPath(dir.file("liste.rtf")) +
                               u"\" existe déjà.\nVoulez-vous le remplacer ?"_s);
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    QList<QAbstractButton*> buttons = box->buttons();
    std::sort(buttons.begin(), buttons.end(),
              [](QAbstractButton* a, QAbstractButton* b) { return a->x() < b->x(); });
    QStringList order;
    for (QAbstractButton* button : buttons) order << button->text();
    EXPECT_EQ(order, QStringList({u"&Oui"_s, u"&Non"_s, u"Annuler"_s}));
    EXPECT_EQ(box->defaultButton()->text(), u"&Oui"_s);
    EXPECT_EQ(box->escapeButton()->text(), u"Annuler"_s);
    const QPoint offset = box->frameGeometry().center() - box->screen()->availableGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 4) << offset.x() << "," << offset.y();
    box->close();
  };
  // Moved off the centre, so that a box centred on its parent would show.
  form->move(10, 10);
  EXPECT_EQ(save({typeName(dir.path(), u"liste.rtf"_s), inspect}), 0);
}

// Drives the real dialogs: the choice confirmed last comes back, a cancelled one does not.
TEST_F(DocumentCommands, EachDialogOffersTheNameAndFilterItLastReturned) {
  writeBytes(dir.file("LISEZMOI"), "lisez");
  writeBytes(dir.file("liste.txt"), "liste");
  const auto expectOffered = [](QString name, QString filter) {
    return [name, filter](QFileDialog* dialog) {
      EXPECT_EQ(dialog->selectedNameFilter(), filter);
      EXPECT_EQ(dialog->findChild<QLineEdit*>()->text(), name);
    };
  };
  const auto then = [](std::function<void(QFileDialog*)> check, std::function<void(QFileDialog*)> act) {
    return [check, act](QWidget* modal) {
      QFileDialog* dialog = fileDialog(modal);
      if (dialog == nullptr) {
        modal->close();
        return;
      }
      check(dialog);
      act(dialog);
    };
  };
  const auto choose = [&](QString filter, QString name) {
    return [this, filter, name](QFileDialog* dialog) {
      dialog->selectNameFilter(filter);
      typeName(dir.path(), name)(dialog);
    };
  };

  const Step firstOpen = then(
      [&](QFileDialog* dialog) {
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_TRUE(dialog->isSizeGripEnabled());
        const auto* list = dialog->findChild<QComboBox*>(u"fileTypeCombo"_s);
        ASSERT_NE(list, nullptr);
        QStringList shown;
        for (int i = 0; i < list->count(); ++i) shown << list->itemText(i);
        EXPECT_EQ(shown, QStringList({u"Tous les fichiers (*.*)"_s, u"Fichiers RTF (*.rtf)"_s,
                                      u"Fichiers textes (*.txt)"_s}));
        expectOffered({}, u"Tous les fichiers (*.*)"_s)(dialog);
        // "All files" lists a name without a dot too.
        dialog->setDirectory(qtPath(dir.path()));
        auto* model = dialog->findChild<QFileSystemModel*>();
        EXPECT_TRUE(QTest::qWaitFor([&] { return model->index(qtPath(dir.file("LISEZMOI"))).isValid(); }));
      },
      choose(u"Fichiers textes (*.txt)"_s, u"liste.txt"_s));
  const Step cancelledOpen =
      then(expectOffered(u"liste.txt"_s, u"Fichiers textes (*.txt)"_s), [](QFileDialog* dialog) {
        dialog->selectNameFilter(u"Fichiers RTF (*.rtf)"_s);
        dialog->findChild<QLineEdit*>()->setText(u"autre"_s);
        dialog->reject();
      });
  const Step thirdOpen = then(expectOffered(u"liste.txt"_s, u"Fichiers textes (*.txt)"_s),
                              choose(u"Tous les fichiers (*.*)"_s, u"LISEZMOI"_s));
  const Step fourthOpen = then(expectOffered(u"LISEZMOI"_s, u"Tous les fichiers (*.*)"_s), cancel);
  for (const Step& step : {firstOpen, cancelledOpen, thirdOpen, fourthOpen}) EXPECT_EQ(open({step}), 0);
  EXPECT_EQ(paneText(form->RichEdit1()), "lisez");

  // The save dialog keeps its own choice, RTF files first; choosing "all files" leaves the typed name alone.
  const Step firstSave = then(expectOffered({}, u"Fichiers RTF (*.rtf)"_s), [&](QFileDialog* dialog) {
    dialog->setDirectory(qtPath(dir.path()));
    auto* field = dialog->findChild<QLineEdit*>();
    field->setText(u"sortie.rtf"_s);
    dialog->selectNameFilter(u"Tous les fichiers (*.*)"_s);
    EXPECT_EQ(field->text(), u"sortie.rtf"_s);
    QTest::keyClick(field, Qt::Key_Return);
  });
  const Step secondSave = then(expectOffered(u"sortie.rtf"_s, u"Tous les fichiers (*.*)"_s), cancel);
  for (const Step& step : {firstSave, secondSave}) EXPECT_EQ(save({step}), 0);
  EXPECT_TRUE(std::filesystem::exists(dir.file("sortie.rtf")));
}

// Sends a drag over `target` and, when it is taken, the drop; gives the action of a drop taken.
std::optional<Qt::DropAction> drop(QWidget* target, const QMimeData& data,
                                   Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction) {
  QDragEnterEvent enter(QPoint(5, 5), actions, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  if (!enter.isAccepted()) return std::nullopt;
  QDragMoveEvent move(QPoint(6, 6), actions, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &move);
  QDropEvent dropped(QPointF(6, 6), actions, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &dropped);
  // The file opens once the drop is over.
  QCoreApplication::processEvents();
  if (!dropped.isAccepted()) return std::nullopt;
  return dropped.dropAction();
}

// Clipboard text that notes whether the busy pointer shows while the pane reads it.
class ObservedClipboardText : public QMimeData {
 public:
  explicit ObservedClipboardText(bool& busy) : busy_(busy) {}
  QStringList formats() const override { return {u"text/plain"_s}; }

 protected:
  QVariant retrieveData(const QString&, QMetaType) const override {
    busy_ = QGuiApplication::overrideCursor() != nullptr;
    return u"a@b.test"_s;
  }

 private:
  bool& busy_;
};

TEST_F(DocumentCommands, APasteShowsTheBusyPointerWhileItWorksAndOnlyThen) {
  bool busy = false;
  QGuiApplication::clipboard()->setMimeData(new ObservedClipboardText(busy));
  form->findChild<QAction*>(u"Coller1"_s)->trigger();
  EXPECT_TRUE(busy);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(paneText(form->RichEdit1()), "a@b.test");
}

TEST_F(DocumentCommands, OneFileDroppedOnThePanesTheFieldOrTheWindowOpensAsTheOpenCommandDoes) {
  writeBytes(dir.file("glissé.txt"), "a@b.test");
  QMimeData file;
  file.setUrls({QUrl::fromLocalFile(qtPath(dir.file("glissé.txt")))});
  file.setText(qtPath(dir.file("glissé.txt")));
  const QWidget* targets[] = {form->RichEdit1()->viewport(), form->RichEdit2()->viewport(), form->Edit1(),
                              form.get()};
  for (const QWidget* target : targets) {
    SCOPED_TRACE(target->metaObject()->className());
    setPaneText(form->RichEdit1()->control(), "avant");
    form->RichEdit1()->setReadOnlyFlag(true);
    form->Edit1()->setFocus();
    const std::string separators = form->separators();
    // Copied, never moved: a file manager deletes what it sees moved.
    EXPECT_EQ(drop(const_cast<QWidget*>(target), file), Qt::CopyAction);
    EXPECT_EQ(paneText(form->RichEdit1()), "a@b.test");
    EXPECT_EQ(paneText(form->RichEdit2()), "");
    EXPECT_EQ(form->separators(), separators);
    EXPECT_EQ(caption(), captionFor(dir.file("glissé.txt")));
    EXPECT_EQ(focused(), form->RichEdit1());
    EXPECT_FALSE(form->RichEdit1()->ReadOnly());
  }
}

TEST_F(DocumentCommands, OnlyADragOfOneLocalFileThatMayBeCopiedOpensIt) {
  writeBytes(dir.file("a.txt"), "a");
  writeBytes(dir.file("b.txt"), "b");
  const QUrl a = QUrl::fromLocalFile(qtPath(dir.file("a.txt")));
  const struct {
    const char* name;
    QList<QUrl> urls;
    Qt::DropActions actions;
  } rows[] = {
      {"two files", {a, QUrl::fromLocalFile(qtPath(dir.file("b.txt")))}, Qt::CopyAction},
      {"a file that may only be moved", {a}, Qt::MoveAction},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    setPaneText(form->RichEdit1()->control(), "avant");
    QMimeData data;
    data.setUrls(row.urls);
    // Taken by neither the window nor the pane, which would insert the names.
    EXPECT_EQ(drop(form.get(), data, row.actions), std::nullopt);
    EXPECT_EQ(drop(form->RichEdit1()->viewport(), data, row.actions), std::nullopt);
    EXPECT_EQ(paneText(form->RichEdit1()), "avant");
  }
  // Text and web addresses still go into the pane as text, and open nothing.
  QMimeData text;
  text.setText(u"x@y.test "_s);
  QMimeData web;
  web.setUrls({QUrl(u"https://example.test/a.txt"_s)});
  setPaneText(form->RichEdit1()->control(), "avant");
  EXPECT_EQ(drop(form.get(), web), std::nullopt);
  EXPECT_NE(drop(form->RichEdit1()->viewport(), text), std::nullopt);
  EXPECT_NE(drop(form->RichEdit1()->viewport(), web), std::nullopt);
  EXPECT_EQ(paneText(form->RichEdit1()), "https://example.test/a.txtx@y.test avant");
}

TEST_F(DocumentCommands, AWordDocumentOpensAsItsTextAndGivesItsAddresses) {
  const std::string sample = testDataFile("lettre-libreoffice.docx");
  writeBytes(dir.file("lettre.docx"), readBytes(sample));
  openFile("lettre.docx");
  EXPECT_EQ(caption(), captionFor(dir.file("lettre.docx")));
  EXPECT_EQ(paneText(form->RichEdit1()).substr(0, 36), "F\xEAte du village\r\nMadame, Monsieur,\r\n");

  form->findChild<QToolButton*>(u"SpeedButton1"_s)->click();
  ASSERT_NE(RecStatus, nullptr);
  RecStatus->findChild<QPushButton*>(u"Bok"_s)->click();
  RecStatus->findChild<QPushButton*>(u"BTermine"_s)->click();
  std::string expected;
  for (char c : readBytes(sample + ".expected"))
    expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(paneText(form->RichEdit2()), expected);
  delete RecStatus;
}

}  // namespace
}  // namespace glanex::test
