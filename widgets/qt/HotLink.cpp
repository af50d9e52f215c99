#include "widgets/qt/HotLink.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

namespace glanex {

namespace {

// Never shown: every link of the program has its address set before it can be clicked.
constexpr char kDefaultUrl[] = "https://www.glanex.example/";

}  // namespace

THotLink::THotLink(QWidget* parent) : TTrackLabel(parent), url_(QString::fromLatin1(kDefaultUrl)) {
  setCursor(Qt::PointingHandCursor);
  setHotTrack(true);
  // Only the style and colour are set, so the link keeps its window's face and size under the pointer.
  QFont hot;
  hot.setUnderline(true);
  hot.setWeight(QFont::Normal);
  hot.setItalic(false);
  hot.setStrikeOut(false);
  setHotTrackFont({hot, QColor(0, 0, 255)});
}

bool THotLink::OpenDocument(const QString& document) {
  return QDesktopServices::openUrl(QUrl(document));
}

void THotLink::click() {
  Q_EMIT clicked();
  OpenDocument(url_);
}

// Taking the press makes the release come here too, wherever the pointer has gone meanwhile.
void THotLink::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton)
    event->accept();
  else
    TTrackLabel::mousePressEvent(event);
}

// A press released outside the link is a change of mind, not a click.
void THotLink::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    event->accept();
    click();
  } else {
    TTrackLabel::mouseReleaseEvent(event);
  }
}

}  // namespace glanex
