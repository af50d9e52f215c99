#pragma once

#include <QKeySequence>
#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <string>

#include "app/qt/FileDialogs.h"
#include "app/qt/SimpleStatusBar.h"

class QAbstractButton;
class QAction;
class QDragEnterEvent;
class QDropEvent;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;

namespace glanex {

class HintTracker;
class THotLink;
class TRichEdit;

// The main window. The user brings raw text into the source pane RichEdit1 (file or clipboard), sets the
// separator characters in Edit1, starts the processing, which fills the result pane RichEdit2 with one
// address per line, then punctuates, copies or saves that list. The status bar shows the hint of whatever
// the pointer or the menu highlight is on.
//
// The window only moves text between its controls and the core: the panes' line rules, the comma commands
// and the extraction live in the core, the dialogs and the other windows in their own classes. Every command
// runs through the error box, so an error ends the command and the program goes on.
class TLogoAppForm : public QMainWindow {
  Q_OBJECT

 public:
  explicit TLogoAppForm(QWidget* parent = nullptr);

  // The version of the running executable, or "" when it carries none.
  QString GetVersion() const;
  // Opens a file named on the command line, as FileOpen does once its dialog has chosen it.
  void openFileGivenAtStart(const std::string& path);
  // Edit1's text in Windows-1252: the separator set the extraction reads.
  std::string separators() const;

  TRichEdit* RichEdit1() const { return RichEdit1_; }
  TRichEdit* RichEdit2() const { return RichEdit2_; }
  QLineEdit* Edit1() const { return Edit1_; }
  QGroupBox* GroupBox1() const { return GroupBox1_; }
  SimpleStatusBar* StatusBar() const { return StatusBar_; }
  THotLink* weblink() const { return weblink_; }
  HintTracker* hintTracker() const { return hintTracker_; }
  // The text of the status bar's one panel.
  QString statusText() const;

 public Q_SLOTS:
  void ShowHint();

  void FileOpen();
  void FileSaveAs();
  void FileExit();
  void Vide_PPClick();
  void Coller_PPClick();
  void EffaceretColler1Click();
  void Copier_PPClick();
  void Avec_VirguleClick();
  void Sans_VirguleClick();
  void SpeedButton1Click();
  void Modedemploi1Click();
  void About();
  void WebWSCLesproduitsOnLine1Click();

  void Effacer1Click();
  void Coller1Click();
  void Copier1Click();
  void MettrelesVirgules1Click();
  void Supprimerlesvirgules1Click();
  void Miseenforme1Click();

 protected:
  bool event(QEvent* event) override;
  // A file dropped anywhere on the window, either pane included, opens as FileOpen opens it.
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  using Handler = void (TLogoAppForm::*)();

  void createSourceGroup(QWidget* client);
  void createResultGroup(QWidget* client);
  void createSettingsGroup(QWidget* client);
  void createCommandPanel(QWidget* client);
  void createWebLink(QWidget* client);
  void createMenus();
  void createStatusBar();
  void fixClientArea();
  void setKeyboardOrder();
  void FormCreate();
  void moveToScreenCentre();

  void addMenuEntry(QMenu* menu, const char* name, const QString& text, const QString& hint, Handler handler,
                    const QKeySequence& shortcut = {});
  void connectCommand(QAbstractButton* button, Handler handler);
  void connectCommand(QAction* action, Handler handler);
  // Runs a handler through the error box.
  void runHandler(Handler handler);
  void fitOuterWidth();
  void restoreFocusAfterHiding();
  // FileOpen once the file is chosen: loads it into RichEdit1 as one undo step and names it in GroupBox1.
  void openSource(const std::string& path);
  // Takes a drag that carries exactly one local file, to be copied; opens it when dropped.
  bool takeFileDrop(QDropEvent* event);

  QGroupBox* GroupBox1_ = nullptr;
  TRichEdit* RichEdit1_ = nullptr;
  QToolButton* OpenBtn_ = nullptr;
  QLabel* Image1_ = nullptr;
  QLabel* Panel2_ = nullptr;
  QPushButton* Vide_PP_ = nullptr;
  QPushButton* Coller_PP_ = nullptr;
  QGroupBox* GroupBox2_ = nullptr;
  TRichEdit* RichEdit2_ = nullptr;
  QPushButton* Avec_Virgule_ = nullptr;
  QPushButton* Sans_Virgule_ = nullptr;
  QToolButton* SaveBtn_ = nullptr;
  QPushButton* Copier_PP_ = nullptr;
  QGroupBox* GroupBox3_ = nullptr;
  QLabel* Label1_ = nullptr;
  QLineEdit* Edit1_ = nullptr;
  QFrame* Panel3_ = nullptr;
  QToolButton* SpeedButton1_ = nullptr;
  QToolButton* ExitBtn_ = nullptr;
  SimpleStatusBar* StatusBar_ = nullptr;
  THotLink* weblink_ = nullptr;
  HintTracker* hintTracker_ = nullptr;
  // The control that had the focus when the window was last hidden, until it is shown again.
  QPointer<QWidget> focusWhileHidden_;
  FileDialogs fileDialogs_{this};
};

}  // namespace glanex
