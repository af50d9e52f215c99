#include "app/qt/FileDialogs.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QWindow>

#include <string>

#include "app/DocumentNames.h"

namespace glanex {

using namespace Qt::Literals::StringLiterals;

namespace {

std::string fileSystemPath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

// Qt takes a choice's patterns from the last parentheses of its text, so the dialog gets the description
// followed by the patterns as they match here, and its list shows the description alone: "Tous les fichiers
// (*.*)" reads as written and still lists names without a dot.
void setFilter(QFileDialog& dialog, const char* filter) {
  QStringList qtFilters;
  QStringList descriptions;
  for (const FilterChoice& choice : filterChoices(filter)) {
    QStringList patterns;
    for (const std::string& pattern : choice.patterns) patterns << QString::fromStdString(pattern);
    descriptions << QString::fromStdString(choice.description);
    qtFilters << descriptions.back() + u" ("_s + patterns.join(u' ') + u')';
  }
  dialog.setNameFilters(qtFilters);
  if (auto* list = dialog.findChild<QComboBox*>(u"fileTypeCombo"_s)) {
    for (int i = 0; i < descriptions.size() && i < list->count(); ++i) list->setItemText(i, descriptions[i]);
  }
}

// A message box at the centre of the screen rather than over its parent.
class ScreenCentredBox : public QMessageBox {
 public:
  using QMessageBox::QMessageBox;

 protected:
  void showEvent(QShowEvent* event) override {
    // Sizes the box and places it over its parent; the frame is not there yet, so the parent's stands in.
    QMessageBox::showEvent(event);
    const QWindow* parentWindow = parentWidget() ? parentWidget()->window()->windowHandle() : nullptr;
    const QMargins frame = parentWindow ? parentWindow->frameMargins() : QMargins();
    const QRect outer = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size().grownBy(frame),
                                            screen()->availableGeometry());
    move(outer.topLeft() + QPoint(frame.left(), frame.top()));
  }
};

}  // namespace

std::optional<QString> FileDialogs::askOpenPath() {
  return ask(false, lastOpened_);
}

std::optional<QString> FileDialogs::askSavePath() {
  return ask(true, lastSaved_);
}

// A new dialog each time, set up from what the last confirmed one returned, so that nothing the user did in
// a cancelled one carries over.
std::optional<QString> FileDialogs::ask(bool saving, Choice& last) {
  QFileDialog dialog(window_);
  // Qt's dialog checks neither that an opened file exists nor whether a saved one does: the commands decide.
  dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  setFilter(dialog, saving ? kSaveDialogFilter : kOpenDialogFilter);
  if (!last.filter.isEmpty()) dialog.selectNameFilter(last.filter);
  if (!last.path.isEmpty()) dialog.selectFile(last.path);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;

  const std::string chosen = fileSystemPath(dialog.selectedFiles().constFirst());
  last.path =
      QFile::decodeName(QByteArray::fromStdString(saving ? saveDialogPath(chosen) : openDialogPath(chosen)));
  last.filter = dialog.selectedNameFilter();
  return last.path;
}

bool FileDialogs::confirmOverwrite(const QString& path) const {
  ScreenCentredBox box(QMessageBox::Question, u"Confirmation"_s,
                       QString::fromStdString(overwriteQuestion(fileSystemPath(path))), QMessageBox::NoButton,
                       window_);
  // A path may look like markup; it is shown as it is.
  box.setTextFormat(Qt::PlainText);
  // One role for all three keeps them in this order whatever the desktop's button order.
  QPushButton* yes = box.addButton(u"&Oui"_s, QMessageBox::ActionRole);
  box.addButton(u"&Non"_s, QMessageBox::ActionRole);
  QPushButton* cancel = box.addButton(u"Annuler"_s, QMessageBox::ActionRole);
  box.setDefaultButton(yes);
  // Escape and the box's close button both answer "Annuler".
  box.setEscapeButton(cancel);
  box.exec();
  return box.clickedButton() == yes;
}

}  // namespace glanex
