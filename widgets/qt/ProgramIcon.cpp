#include "widgets/qt/ProgramIcon.h"

#include <QString>

namespace glanex {

QIcon programIcon() {
  // Pictures rendered ahead from the scalable drawing (data/icons, scripts/render-icons): the desktop
  // shows the same ones, and the small sizes keep the sharp lines drawn for them.
  QIcon icon;
  for (const int size : {16, 32, 48})
    icon.addFile(QStringLiteral(":/icons/%1x%1/org.example.Glanex.png").arg(size), QSize(size, size));
  return icon;
}

}  // namespace glanex
