#include "widgets/qt/WidgetHelpers.h"

#include <QWidget>

namespace glanex {

QFont face(const QString& family, int pixelSize, QFont::Weight weight) {
  QFont font(family);
  font.setPixelSize(pixelSize);
  font.setWeight(weight);
  return font;
}

void ownByMainWindow(QWidget& mainWindow, QWidget* window) {
  // Deleting the window first removes this connection with it.
  QObject::connect(&mainWindow, &QObject::destroyed, window, [window] { delete window; });
}

}  // namespace glanex
