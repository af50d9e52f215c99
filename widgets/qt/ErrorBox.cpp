#include "widgets/qt/ErrorBox.h"

#include <QMessageBox>
#include <QString>

#include <exception>

#include "extraction/Errors.h"

namespace glanex {

void showErrorBox(QWidget* parent, const std::string& message) {
  QMessageBox box(QMessageBox::Critical, QString::fromUtf8(kApplicationTitle),
                  QString::fromStdString(withFinalDot(message)), QMessageBox::Ok, parent);
  // A file name in a message is never taken for markup.
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

void runCommand(QWidget* parent, const std::function<void()>& command) {
  // The box is shown after the catch, so that its event loop never runs with an exception in flight.
  std::string message;
  try {
    command();
    return;
  } catch (...) {
    message = userErrorMessage(std::current_exception());
  }
  showErrorBox(parent, message);
}

}  // namespace glanex
