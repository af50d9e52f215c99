#include "widgets/qt/About.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTime>

#include "widgets/ProductAddresses.h"
#include "widgets/qt/HotLink.h"
#include "widgets/qt/ProgramIcon.h"
#include "widgets/qt/WidgetHelpers.h"

namespace glanex {

using namespace Qt::Literals::StringLiterals;

QPointer<TAboutBox> AboutBox;

namespace {

constexpr QSize kClientSize(298, 225);
// The mail program opens a new message with this subject, so that the maker can sort the mail it gets.
constexpr char kMailSubject[] = "GLANEX_A_Propos";

void setTextColour(QWidget* widget, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, colour);
  widget->setPalette(palette);
}

// A label that takes the size of its text, as the labels of the window's design do.
QLabel* fittedLabel(QWidget* parent, const char* name, QPoint position, const QString& text = {}) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QLatin1StringView(name));
  label->setTextFormat(Qt::PlainText);
  label->move(position);
  label->adjustSize();
  return label;
}

QLabel* iconPicture(QWidget* parent, const char* name, QPoint position) {
  auto* picture = placed(new QLabel(parent), name, {position, QSize(33, 33)});
  picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  picture->setPixmap(programIcon().pixmap(32, 32));
  return picture;
}

// Both links rest in plain blue; THotLink underlines them under the pointer.
THotLink* link(QWidget* parent, const char* name, const QRect& geometry, const QString& address,
               const QString& url) {
  auto* hotLink = placed(new THotLink(parent), name, geometry);
  hotLink->setTextFormat(Qt::PlainText);
  hotLink->setText(address);
  hotLink->setUrl(url);
  hotLink->setFont(face(u"MS Sans Serif"_s, 11));
  setTextColour(hotLink, Qt::blue);
  return hotLink;
}

// The long time format with its time-zone field taken out, with the space or the brackets that set it
// apart: the file's date is a local time and the window never named a zone. Quoted text is kept as it is.
QString timeFormatWithoutZone(const QString& format) {
  QString result;
  bool quoted = false;
  for (qsizetype i = 0; i < format.size(); ++i) {
    const QChar c = format[i];
    if (c == u'\'') quoted = !quoted;
    if (quoted || c != u't') {
      result += c;
      continue;
    }
    while (i + 1 < format.size() && format[i + 1] == u't') ++i;
    if (result.endsWith(u'(') && i + 1 < format.size() && format[i + 1] == u')') {
      result.chop(1);
      ++i;
    }
    if (!result.isEmpty() && result.back().isSpace())
      result.chop(1);
    else if (i + 1 < format.size() && format[i + 1].isSpace())
      ++i;
  }
  return result;
}

}  // namespace

QString compilationCaption(const FileDateTime& date, const QLocale& locale) {
  QString caption =
      u"Compilation du "_s + locale.toString(QDate(date.year, date.month, date.day), QLocale::ShortFormat);
  if (!date.isMidnight()) {
    caption += u' ' + locale.toString(QTime(date.hour, date.minute, date.second),
                                      timeFormatWithoutZone(locale.timeFormat(QLocale::LongFormat)));
  }
  return caption;
}

TAboutBox::TAboutBox(const QString& version, QWidget* parent) : QDialog(parent) {
  setObjectName(u"AboutBox"_s);
  setWindowTitle(u"A propos"_s);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  // Hidden or shown, it must not keep the program running once the main window has closed.
  setAttribute(Qt::WA_QuitOnClose, false);
  setFixedSize(kClientSize);
  setFont(face(u"MS Sans Serif"_s, 11));

  createPanel();
  createOKButton();
  FormCreate(version);
}

void TAboutBox::createPanel() {
  auto* panel = placed(new QFrame(this), "Panel1", {8, 8, 281, 185});
  // A sunken line outside a raised one: the panel's lowered outer and raised inner bevel.
  panel->setFrameStyle(QFrame::Box | QFrame::Sunken);

  ProductName_ = placed(new QLabel(u"Glanex"_s, panel), "ProductName", {8, 8, 265, 20});
  ProductName_->setTextFormat(Qt::PlainText);
  ProductName_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  ProductName_->setFont(face(u"MS Sans Serif"_s, 16, QFont::Bold));
  setTextColour(ProductName_, Qt::black);

  Image1_ = iconPicture(panel, "Image1", {8, 8});
  Image2_ = iconPicture(panel, "Image2", {240, 8});

  const QString webPage = QString::fromUtf8(kProductWebPage);
  HotLink2_ = link(panel, "HotLink2", {4, 32, 273, 13}, webPage, webPage);
  HotLink2_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

  Label1_ = fittedLabel(panel, "Label1", {8, 64});
  Label6_ = fittedLabel(panel, "Label6", {8, 80});
  Label2_ = fittedLabel(panel, "Label2", {8, 112}, u"Me contacter par email :"_s);

  const QString contact = QString::fromUtf8(kContactAddress);
  HotLink1_ = link(panel, "HotLink1", {128, 112, 142, 13}, contact,
                   u"mailto:"_s + contact + u"?subject="_s + QLatin1StringView(kMailSubject));

  Comments_ = placed(new QLabel(u"Glanex stockés dans un fichier en vrac et mise en forme pour une "
                                u"exploitation correcte."_s,
                                panel),
                     "Comments", {8, 152, 262, 26});
  Comments_->setTextFormat(Qt::PlainText);
  Comments_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Comments_->setWordWrap(true);
}

void TAboutBox::createOKButton() {
  OKButton_ = placed(new QPushButton(u"OK"_s, this), "OKButton", {118, 198, 65, 26});
  OKButton_->setDefault(true);
  OKButton_->setCursor(Qt::PointingHandCursor);
  connect(OKButton_, &QPushButton::clicked, this, &QDialog::accept);
  OKButton_->setFocus();
}

// Both texts are read once: the window shows the same build date and version at every showing, even if
// the executable is replaced meanwhile.
void TAboutBox::FormCreate(const QString& version) {
  const FileDateTime built =
      ExecutableFileDate(QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString());
  Label1_->setText(compilationCaption(built));
  Label1_->adjustSize();
  Label6_->setText(u"Construction interne v"_s + version);
  Label6_->adjustSize();
}

// The design has no Cancel button, so Escape must not close the window as it would any other dialog.
void TAboutBox::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Cancel))
    event->accept();
  else
    QDialog::keyPressEvent(event);
}

// Centred on the screen at every showing, not over the main window as Qt places dialogs.
void TAboutBox::showEvent(QShowEvent* event) {
  move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, frameGeometry().size(),
                           screen()->availableGeometry())
           .topLeft());
  QDialog::showEvent(event);
}

}  // namespace glanex
