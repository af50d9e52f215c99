#pragma once

#include <QPointer>
#include <QWidget>

class QPlainTextEdit;
class QPushButton;

namespace glanex {

// The user guide window: a fixed text on how to use the program, which can be read, selected and copied
// but not changed, and a button that closes the window. Each use of the guide command makes a new one;
// closing hides it, and a hidden guide is never shown again.
class TFMode_Emploi : public QWidget {
  Q_OBJECT

 public:
  explicit TFMode_Emploi(QWidget* parent = nullptr);

 public Q_SLOTS:
  // Hides the window, as its close box does.
  void Button1Click();

 private:
  QPushButton* Button1_ = nullptr;
  QPlainTextEdit* Memo1_ = nullptr;
};

// Creates one more guide window, shows it modeless centred over `mainWindow` and makes it FMode_Emploi.
// The guide belongs to the main window (ownByMainWindow), so that either can be brought to the front.
TFMode_Emploi* showGuide(QWidget& mainWindow);

// The guide window shown last.
extern QPointer<TFMode_Emploi> FMode_Emploi;

}  // namespace glanex
