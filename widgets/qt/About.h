#pragma once

#include <QDialog>
#include <QLocale>
#include <QPointer>
#include <QString>

#include "widgets/ExecutableDate.h"

class QLabel;
class QPushButton;

namespace glanex {

class THotLink;

// The About window: the program's name between two copies of its icon, the link to the maker's web page,
// the build date and internal version, a mail link to the maker and a one-line description. It is built
// once, hidden, at start-up, so its texts are those of that moment for the whole run; every showing is
// modal and ends hidden, never destroyed, on OK, Enter or the close box. Escape is deliberately not a way
// out.
class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  // `version` is the main window's GetVersion(); the build date is read from the running executable.
  explicit TAboutBox(const QString& version, QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void createPanel();
  void createOKButton();
  void FormCreate(const QString& version);

  QLabel* ProductName_ = nullptr;
  QLabel* Image1_ = nullptr;
  QLabel* Image2_ = nullptr;
  THotLink* HotLink2_ = nullptr;
  QLabel* Label1_ = nullptr;
  QLabel* Label6_ = nullptr;
  QLabel* Label2_ = nullptr;
  THotLink* HotLink1_ = nullptr;
  QLabel* Comments_ = nullptr;
  QPushButton* OKButton_ = nullptr;
};

// The build-date line: "Compilation du ", then `date` in the locale's short date format and, unless the
// time is exactly midnight, a space and its long time format without the time zone.
QString compilationCaption(const FileDateTime& date, const QLocale& locale = QLocale());

// The application's one About window, created by start-up.
extern QPointer<TAboutBox> AboutBox;

}  // namespace glanex
