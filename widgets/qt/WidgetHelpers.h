#pragma once

#include <QFont>
#include <QRect>
#include <QString>

class QWidget;

// What every window of the program does alike when it builds its controls and keeps its secondary windows.
namespace glanex {

// Names a control after its fixed name and puts it at its place in its parent.
template <typename Control>
Control* placed(Control* control, const char* name, const QRect& geometry) {
  control->setObjectName(QLatin1StringView(name));
  control->setGeometry(geometry);
  return control;
}

// The font of `family` at `pixelSize` pixels: the windows were designed in pixels, not points.
QFont face(const QString& family, int pixelSize, QFont::Weight weight = QFont::Normal);

// Makes `window` the main window's: it stays, hidden or shown, until the main window is destroyed, which
// destroys it. It is no Qt child of the main window: the window system would then tie the two together,
// keep it above the main window and leave it out of the task bar.
void ownByMainWindow(QWidget& mainWindow, QWidget* window);

}  // namespace glanex
