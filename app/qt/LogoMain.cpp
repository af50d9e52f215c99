#include "app/qt/LogoMain.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QUrl>
#include <QWindow>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <optional>

#include "app/DocumentNames.h"
#include "app/ResultPunctuation.h"
#include "app/VersionInfo.h"
#include "app/qt/EtchedGroupBox.h"
#include "app/qt/HintTracker.h"
#include "app/qt/Windows1252Validator.h"
#include "extraction/AvailableMemory.h"
#include "extraction/DocumentFiles.h"
#include "extraction/Pipeline.h"
#include "extraction/TextEncoding.h"
#include "extraction/qt/BusyCursor.h"
#include "extraction/qt/QtCp1252.h"
#include "extraction/qt/TRichEdit.h"
#include "extraction/qt/recherche.h"
#include "widgets/ProductAddresses.h"
#include "widgets/qt/About.h"
#include "widgets/qt/ErrorBox.h"
#include "widgets/qt/HotLink.h"
#include "widgets/qt/Mode_Emploi.h"
#include "widgets/qt/ProgramIcon.h"
#include "widgets/qt/WidgetHelpers.h"

namespace glanex {

using namespace Qt::Literals::StringLiterals;

namespace {

// The window's outer width; everything laid out beyond it (only weblink) stays out of sight.
constexpr int kOuterWidth = 577;
// The client area below the menu bar, the status bar included.
constexpr int kClientHeight = 332;
constexpr int kStatusBarHeight = 17;

// Names a control after its fixed name, puts it at its place in its parent and gives it its hint.
template <typename Control>
Control* placed(Control* control, const char* name, const QRect& geometry, const QString& hint) {
  glanex::placed(control, name, geometry);
  control->setStatusTip(hint);
  control->setAccessibleDescription(hint);
  return control;
}

QGroupBox* newGroupBox(const QString& caption, QWidget* parent) {
  auto* box = new EtchedGroupBox(caption, parent);
  box->setFont(face(u"Times New Roman"_s, 13, QFont::Bold));
  return box;
}

QIcon glyph(QStyle::StandardPixmap standard) {
  return qApp->style()->standardIcon(standard);
}

QPushButton* newButton(QWidget* parent, const QString& caption, const QIcon& icon = {}) {
  auto* button = new QPushButton(icon, caption, parent);
  button->setCursor(Qt::PointingHandCursor);
  // Enter presses the focused button, as Space does; Qt does so on its own only inside a QDialog.
  button->setAutoDefault(true);
  return button;
}

// A speed button: a glyph, maybe a caption, and never the keyboard focus, which stays with the fields.
QToolButton* newSpeedButton(QWidget* parent, const QString& caption, const QIcon& icon) {
  auto* button = new QToolButton(parent);
  button->setText(caption);
  button->setIcon(icon);
  button->setToolButtonStyle(caption.isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
  button->setFocusPolicy(Qt::NoFocus);
  button->setCursor(Qt::PointingHandCursor);
  return button;
}

// The one local file a drag carries, or nothing.
std::optional<QString> draggedFile(const QMimeData& data) {
  const QList<QUrl> urls = data.urls();
  if (urls.size() != 1 || !urls.front().isLocalFile()) return std::nullopt;
  return urls.front().toLocalFile();
}

bool dragsLocalFiles(const QMimeData& data) {
  const QList<QUrl> urls = data.urls();
  return std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}

}  // namespace

TLogoAppForm::TLogoAppForm(QWidget* parent) : QMainWindow(parent) {
  setObjectName(u"LogoAppForm"_s);
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setWindowIcon(programIcon());
  setFont(face(u"System"_s, 13));

  auto* client = new QWidget(this);
  setCentralWidget(client);
  createSourceGroup(client);
  createResultGroup(client);
  createSettingsGroup(client);
  createCommandPanel(client);
  createWebLink(client);
  createMenus();
  createStatusBar();
  fixClientArea();
  setKeyboardOrder();
  // The controls that take text drops see a file's drag before the window does.
  setAcceptDrops(true);
  for (QWidget* target : {RichEdit1_->viewport(), RichEdit2_->viewport(), static_cast<QWidget*>(Edit1_)})
    target->installEventFilter(this);
  FormCreate();
  moveToScreenCentre();
}

QString TLogoAppForm::GetVersion() const {
  return toQString(fileVersionOf(runningExecutablePath()));
}

std::string TLogoAppForm::separators() const {
  return toCp1252(Edit1_->text());
}

QString TLogoAppForm::statusText() const {
  return StatusBar_->text();
}

void TLogoAppForm::createSourceGroup(QWidget* client) {
  GroupBox1_ =
      placed(newGroupBox(u" Données brutes - Fichier source "_s, client), "GroupBox1", {4, 0, 561, 137});

  // The window's child, not the box's: created after the box, it lies over it.
  RichEdit1_ =
      placed(new TRichEdit(client), "RichEdit1", {16, 24, 345, 105}, u"Contenu,  source du traitement"_s);
  RichEdit1_->setAccessibleName(RichEdit1_->statusTip());
  RichEdit1_->setFont(face(u"System"_s, 11));
  // A long line stays one line; the view follows the caret along it, with no bar to scroll it by.
  RichEdit1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  RichEdit1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  RichEdit1_->setLineWrapMode(QPlainTextEdit::NoWrap);
  RichEdit1_->setTabChangesFocus(true);

  OpenBtn_ = placed(newSpeedButton(GroupBox1_, u"Ouvrir"_s, glyph(QStyle::SP_DialogOpenButton)), "OpenBtn",
                    {360, 104, 79, 25}, u"Ouvrir"_s);
  connectCommand(OpenBtn_, &TLogoAppForm::FileOpen);

  Image1_ = placed(new QLabel(GroupBox1_), "Image1", {368, 24, 33, 33});
  Image1_->setPixmap(programIcon().pixmap(32, 32));
  Image1_->setAccessibleName(u"Glanex"_s);

  Panel2_ =
      placed(new QLabel(u"Glanex ! ;-)"_s, GroupBox1_), "Panel2", {408, 24, 137, 33}, u"Glanex ! ;-)"_s);
  Panel2_->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel2_->setAlignment(Qt::AlignCenter);
  Panel2_->setTextFormat(Qt::PlainText);
  Panel2_->setFont(face(u"Times New Roman"_s, 16, QFont::Bold));
  QPalette black = Panel2_->palette();
  black.setColor(QPalette::WindowText, Qt::black);
  Panel2_->setPalette(black);
  // The one control whose hint also pops up; every other hint goes to the status bar only.
  Panel2_->setToolTip(Panel2_->statusTip());

  Vide_PP_ = placed(newButton(GroupBox1_, u"Effacer"_s, glyph(QStyle::SP_TrashIcon)), "Vide_PP",
                    {474, 80, 80, 25}, u"Vider le contenu source"_s);
  connectCommand(Vide_PP_, &TLogoAppForm::Vide_PPClick);

  Coller_PP_ = placed(newButton(GroupBox1_, u"Coller"_s, glyph(QStyle::SP_ArrowLeft)), "Coller_PP",
                      {474, 106, 80, 25}, u"Coller à partir du presse papier dans le fichier source"_s);
  connectCommand(Coller_PP_, &TLogoAppForm::Coller_PPClick);
}

void TLogoAppForm::createResultGroup(QWidget* client) {
  GroupBox2_ = placed(newGroupBox(u" Données traitées "_s, client), "GroupBox2", {4, 168, 297, 145});

  RichEdit2_ = placed(new TRichEdit(GroupBox2_), "RichEdit2", {8, 24, 281, 81},
                      u"Résultats du traitement des données sources"_s);
  RichEdit2_->setAccessibleName(RichEdit2_->statusTip());
  RichEdit2_->setFont(face(u"Times New Roman"_s, 13));
  RichEdit2_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  // "Copier" leaves the whole list selected, which would otherwise stay highlighted once the user moves on.
  RichEdit2_->hideSelectionWithoutFocus();
  RichEdit2_->setTabChangesFocus(true);

  const QFont regular = face(u"Times New Roman"_s, 13);
  Avec_Virgule_ = placed(newButton(GroupBox2_, u"AVEC virgule"_s), "Avec_Virgule", {8, 112, 80, 25},
                         u"Ajouter une virgule à la fin des lignes (Par ex : pour Netscape)"_s);
  Avec_Virgule_->setFont(regular);
  connectCommand(Avec_Virgule_, &TLogoAppForm::Avec_VirguleClick);

  Sans_Virgule_ = placed(newButton(GroupBox2_, u"SANS virgule"_s), "Sans_Virgule", {88, 112, 80, 25},
                         u"Supprimer les virgules à la fin des lignes"_s);
  Sans_Virgule_->setFont(regular);
  connectCommand(Sans_Virgule_, &TLogoAppForm::Sans_VirguleClick);

  SaveBtn_ = placed(newSpeedButton(GroupBox2_, {}, glyph(QStyle::SP_DialogSaveButton)), "SaveBtn",
                    {184, 112, 25, 25}, u"Enregistrer"_s);
  SaveBtn_->setAccessibleName(SaveBtn_->statusTip());
  connectCommand(SaveBtn_, &TLogoAppForm::FileSaveAs);

  Copier_PP_ = placed(newButton(GroupBox2_, u"Copier"_s, glyph(QStyle::SP_FileIcon)), "Copier_PP",
                      {208, 112, 80, 25}, u"Copier les résultats dans le presse papier"_s);
  connectCommand(Copier_PP_, &TLogoAppForm::Copier_PPClick);
}

void TLogoAppForm::createSettingsGroup(QWidget* client) {
  const QString hint = u"Caractères pouvant servir à la séparation des \"Emails\""_s;
  GroupBox3_ = placed(newGroupBox(u"Paramétrage"_s, client), "GroupBox3", {308, 168, 257, 89}, hint);

  const QFont regular = face(u"Times New Roman"_s, 13);
  Label1_ =
      placed(new QLabel(u"Saisir les caractères de détection de champs sans séparation :"_s, GroupBox3_),
             "Label1", {8, 16, 236, 30}, hint);
  Label1_->setTextFormat(Qt::PlainText);
  Label1_->setWordWrap(true);
  Label1_->setFont(regular);

  Edit1_ = placed(new QLineEdit(GroupBox3_), "Edit1", {8, 56, 241, 23}, hint);
  Edit1_->setAccessibleName(hint);
  Edit1_->setFont(regular);
  Edit1_->setValidator(new Windows1252Validator(Edit1_));
  Edit1_->setText(toQString(kDefaultSeparators));
  Edit1_->setCursorPosition(0);
}

void TLogoAppForm::createCommandPanel(QWidget* client) {
  Panel3_ = placed(new QFrame(client), "Panel3", {308, 264, 257, 49});
  // A sunken line outside a raised one: the panel's lowered outer and raised inner bevel.
  Panel3_->setFrameStyle(QFrame::Box | QFrame::Sunken);

  const QFont bold = face(u"Times New Roman"_s, 13, QFont::Bold);
  SpeedButton1_ = placed(newSpeedButton(Panel3_, u"Mise en forme"_s, glyph(QStyle::SP_MediaPlay)),
                         "SpeedButton1", {8, 8, 145, 33}, u"Mise en forme du fichier source"_s);
  SpeedButton1_->setFont(bold);
  connectCommand(SpeedButton1_, &TLogoAppForm::SpeedButton1Click);

  ExitBtn_ = placed(newSpeedButton(Panel3_, u"Quitter"_s, glyph(QStyle::SP_DialogCloseButton)), "ExitBtn",
                    {161, 16, 88, 25}, u"Quitter"_s);
  ExitBtn_->setFont(bold);
  connectCommand(ExitBtn_, &TLogoAppForm::FileExit);
}

// The link the web command clicks. It lies beyond the window's width, out of sight.
void TLogoAppForm::createWebLink(QWidget* client) {
  weblink_ = placed(new THotLink(client), "weblink", {612, 56, 49, 16});
  weblink_->setText(u"weblink"_s);
  weblink_->setFont(face(u"MS Sans Serif"_s, 11));
  QPalette blue = weblink_->palette();
  blue.setColor(QPalette::WindowText, Qt::blue);
  weblink_->setPalette(blue);
}

void TLogoAppForm::createMenus() {
  menuBar()->setObjectName(u"LogoAppMenu"_s);

  QMenu* file = menuBar()->addMenu(u"&Fichier"_s);
  file->setObjectName(u"FileMenu"_s);
  addMenuEntry(file, "FileOpenItem", u"&Ouvrir fichier source..."_s, u"Ouvrir un fichier"_s,
               &TLogoAppForm::FileOpen);
  addMenuEntry(file, "FileSaveAsItem", u"En&registrer le résultat sous..."_s,
               u"Enregistrer le fichier en cours sous un nom différent"_s, &TLogoAppForm::FileSaveAs);
  file->addSeparator()->setObjectName(u"N1"_s);
  addMenuEntry(file, "FileExitItem", u"&Quitter"_s, u"Quitter l'application"_s, &TLogoAppForm::FileExit,
               QKeySequence(Qt::ALT | Qt::Key_X));

  QMenu* run = menuBar()->addMenu(u"&Exécution"_s);
  run->setObjectName(u"Excution1"_s);
  addMenuEntry(run, "Effacer1", u"&Effacer"_s, u"Vider le contenu source"_s, &TLogoAppForm::Effacer1Click);
  addMenuEntry(run, "EffaceretColler1", u"E&ffacer et Coller"_s,
               u"Effacer et coller les données du presse papier"_s, &TLogoAppForm::EffaceretColler1Click);
  addMenuEntry(run, "Coller1", u"&Coller"_s, u"Coller à partir du presse papier dans le fichier source"_s,
               &TLogoAppForm::Coller1Click);
  run->addSeparator()->setObjectName(u"N2"_s);
  addMenuEntry(run, "Miseenforme1", u"&Mise en forme"_s, u"Mise en forme du fichier source"_s,
               &TLogoAppForm::Miseenforme1Click);
  run->addSeparator()->setObjectName(u"N3"_s);
  addMenuEntry(run, "Copier1", u"Co&pier"_s, u"Copier les résultats dans le presse papier"_s,
               &TLogoAppForm::Copier1Click);
  addMenuEntry(run, "MettrelesVirgules1", u"Mettre les &virgules"_s,
               u"Ajouter une virgule à la fin des lignes (Par ex : pour Netscape)"_s,
               &TLogoAppForm::MettrelesVirgules1Click);
  addMenuEntry(run, "Supprimerlesvirgules1", u"Supprimer les vir&gules"_s,
               u"Supprimer les virgules à la fin des lignes"_s, &TLogoAppForm::Supprimerlesvirgules1Click);

  QMenu* help = menuBar()->addMenu(u"&Aide"_s);
  help->setObjectName(u"Help1"_s);
  addMenuEntry(help, "Modedemploi1", u"&Mode d'emploi"_s, u"Mode d'emploi"_s,
               &TLogoAppForm::Modedemploi1Click);
  help->addSeparator()->setObjectName(u"N5"_s);
  addMenuEntry(help, "AboutItem", u"&A propos..."_s, u"A propos..."_s, &TLogoAppForm::About);
  addMenuEntry(help, "WebWSCLesproduitsOnLine1", u"Glanex sur le &Web"_s,
               u"Visiter le site Internet de Glanex"_s, &TLogoAppForm::WebWSCLesproduitsOnLine1Click);
}

void TLogoAppForm::createStatusBar() {
  StatusBar_ = new SimpleStatusBar(this);
  setStatusBar(StatusBar_);
  StatusBar_->setObjectName(u"StatusBar"_s);
  StatusBar_->setFixedHeight(kStatusBarHeight);
  StatusBar_->setText(u"Bienvenu sur Vendrolix ! ;-)"_s);
}

void TLogoAppForm::setKeyboardOrder() {
  QWidget* const order[] = {RichEdit1_, Coller_PP_,    Vide_PP_,      Copier_PP_,
                            RichEdit2_, Avec_Virgule_, Sans_Virgule_, Edit1_};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
  RichEdit1_->setFocus();
}

// The user cannot resize the window: its layout holds it at the size of its fixed client area.
void TLogoAppForm::fixClientArea() {
  centralWidget()->setFixedHeight(kClientHeight - kStatusBarHeight);
  layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TLogoAppForm::FormCreate() {
  fitOuterWidth();
  setWindowTitle(u"Glanex "_s + GetVersion());
  hintTracker_ = new HintTracker(this);
  connect(hintTracker_, &HintTracker::hintChanged, this, &TLogoAppForm::ShowHint);
}

void TLogoAppForm::moveToScreenCentre() {
  move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, sizeHint(), screen()->availableGeometry())
           .topLeft());
}

void TLogoAppForm::addMenuEntry(QMenu* menu, const char* name, const QString& text, const QString& hint,
                                Handler handler, const QKeySequence& shortcut) {
  auto* action = new QAction(text, this);
  action->setObjectName(QLatin1StringView(name));
  action->setShortcut(shortcut);
  action->setStatusTip(hint);
  connectCommand(action, handler);
  menu->addAction(action);
}

void TLogoAppForm::connectCommand(QAbstractButton* button, Handler handler) {
  connect(button, &QAbstractButton::clicked, this, [this, handler] { runHandler(handler); });
}

void TLogoAppForm::connectCommand(QAction* action, Handler handler) {
  connect(action, &QAction::triggered, this, [this, handler] { runHandler(handler); });
}

void TLogoAppForm::runHandler(Handler handler) {
  runCommand(this, [this, handler] { (this->*handler)(); });
}

// The client width is whatever makes the outer width 577. The frame's share is known only once the window
// manager has framed the window, which Qt does not announce: the window checks again whenever it is shown
// or activated. Not on moves: the first one can come while the window manager is still placing the window,
// and a resize then would put the window back where that move said.
void TLogoAppForm::fitOuterWidth() {
  const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
  centralWidget()->setFixedWidth(kOuterWidth - frame.left() - frame.right());
}

bool TLogoAppForm::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::StatusTip:
      // The hint tracker alone writes the status bar; Qt's own status tips would overwrite it.
      return true;
    case QEvent::Hide:
      focusWhileHidden_ = focusWidget();
      break;
    case QEvent::Show:
      fitOuterWidth();
      restoreFocusAfterHiding();
      break;
    case QEvent::WindowActivate:
      fitOuterWidth();
      break;
    default:
      break;
  }
  return QMainWindow::event(event);
}

// A hidden window can still be activated, by a late activation from the platform (the closed menu hands it
// back while the processing window takes over), and Qt then moves the focus from the hidden control to the
// next one. The control that had the focus gets it back whatever happened meanwhile.
void TLogoAppForm::restoreFocusAfterHiding() {
  if (focusWhileHidden_) focusWhileHidden_->setFocus(Qt::OtherFocusReason);
  focusWhileHidden_ = nullptr;
}

void TLogoAppForm::ShowHint() {
  StatusBar_->setText(hintTracker_->currentHint());
}

void TLogoAppForm::FileOpen() {
  if (const std::optional<QString> path = fileDialogs_.askOpenPath())
    openSource(QFile::encodeName(*path).toStdString());
}

// A failed load throws before anything changes, so focus, flags and caption stay as they were. What the
// window cannot show (a FIFO or device that may never end, more text than memory holds) is refused first.
void TLogoAppForm::openSource(const std::string& path) {
  checkWindowCanLoad(path, availableMemory());
  {
    const BusyCursor busy;
    const TRichEdit::UndoStep step(*RichEdit1_);
    RichEdit1_->Lines().LoadFile(path);
  }
  RichEdit1_->setFocus();
  RichEdit1_->setModifiedFlag(false);
  RichEdit1_->setReadOnlyFlag(false);
  GroupBox1_->setTitle(QString::fromStdString(sourceCaption(displayableUtf8(path))));
}

void TLogoAppForm::FileSaveAs() {
  const std::optional<QString> path = fileDialogs_.askSavePath();
  if (!path) return;
  const std::string file = QFile::encodeName(*path).toStdString();
  if (fileExists(file) && !fileDialogs_.confirmOverwrite(*path)) return;
  const BusyCursor busy;
  RichEdit2_->Lines().SaveFile(file);
  RichEdit2_->setModifiedFlag(false);
}

// Only copying is offered to the source: a file manager may delete a file that was "moved" here.
bool TLogoAppForm::takeFileDrop(QDropEvent* event) {
  const std::optional<QString> file = draggedFile(*event->mimeData());
  if (!file || !(event->possibleActions() & Qt::CopyAction)) return false;
  event->setDropAction(Qt::CopyAction);
  event->accept();
  // Opened once the drop is over, so that the source is not held while an error box waits for the user.
  if (event->type() == QEvent::Drop)
    QMetaObject::invokeMethod(
        this,
        [this, path = QFile::encodeName(*file).toStdString()] {
          runCommand(this, [this, &path] { openSource(path); });
        },
        Qt::QueuedConnection);
  return true;
}

bool TLogoAppForm::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      if (takeFileDrop(drop)) return true;
      // Files the window does not open (several, or only to be moved) do not go in as their names either.
      if (dragsLocalFiles(*drop->mimeData())) {
        drop->ignore();
        return true;
      }
      break;
    }
    default:
      break;
  }
  return QMainWindow::eventFilter(watched, event);
}

void TLogoAppForm::dragEnterEvent(QDragEnterEvent* event) {
  takeFileDrop(event);
}

void TLogoAppForm::dropEvent(QDropEvent* event) {
  takeFileDrop(event);
}

// As the main window, closing it ends the program, without a question.
void TLogoAppForm::FileExit() {
  close();
}

void TLogoAppForm::Vide_PPClick() {
  const TRichEdit::UndoStep step(*RichEdit1_);
  RichEdit1_->ClearText();
}

void TLogoAppForm::Coller_PPClick() {
  const BusyCursor busy;
  const TRichEdit::UndoStep step(*RichEdit1_);
  RichEdit1_->PasteClipboard();
}

void TLogoAppForm::EffaceretColler1Click() {
  const BusyCursor busy;
  const TRichEdit::UndoStep step(*RichEdit1_);
  Vide_PPClick();
  Coller_PPClick();
}

void TLogoAppForm::Copier_PPClick() {
  const BusyCursor busy;
  RichEdit2_->SelectWhole();
  RichEdit2_->CopySelection();
}

void TLogoAppForm::Avec_VirguleClick() {
  const BusyCursor busy;
  const TRichEdit::UndoStep step(*RichEdit2_);
  AddCommas(RichEdit2_->Lines());
}

void TLogoAppForm::Sans_VirguleClick() {
  const BusyCursor busy;
  const TRichEdit::UndoStep step(*RichEdit2_);
  RemoveCommas(RichEdit2_->Lines());
}

void TLogoAppForm::SpeedButton1Click() {
  startProcessing(*this, RichEdit1_->Lines(), separators(), *RichEdit2_);
}

void TLogoAppForm::Modedemploi1Click() {
  showGuide(*this);
}

void TLogoAppForm::About() {
  // The About window exists once start-up has created it; a window built alone (in tests) has none.
  if (AboutBox) AboutBox->exec();
}

void TLogoAppForm::openFileGivenAtStart(const std::string& path) {
  // The caption names the file by its full path, as the open dialog gives it; the bytes stay as given.
  std::error_code error;
  const std::string fullPath = std::filesystem::absolute(path, error).string();
  runCommand(this, [this, &fullPath] { openSource(fullPath); });
}

void TLogoAppForm::WebWSCLesproduitsOnLine1Click() {
  weblink_->setUrl(QString::fromUtf8(kProductWebPage));
  weblink_->click();
}

void TLogoAppForm::Effacer1Click() {
  Vide_PPClick();
}
void TLogoAppForm::Coller1Click() {
  Coller_PPClick();
}
void TLogoAppForm::Copier1Click() {
  Copier_PPClick();
}
void TLogoAppForm::MettrelesVirgules1Click() {
  Avec_VirguleClick();
}
void TLogoAppForm::Supprimerlesvirgules1Click() {
  Sans_VirguleClick();
}
void TLogoAppForm::Miseenforme1Click() {
  SpeedButton1Click();
}

}  // namespace glanex
