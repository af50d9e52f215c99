#include "app/ErrorBox.h"

#include <QMessageBox>
#include <QString>

#include <exception>
#include <new>

#include "extraction/Errors.h"

namespace glanex {

namespace {

// For a throw that carries no message at all.
constexpr char kUnknownErrorMessage[] = "Erreur inattendue";

}  // namespace

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
  } catch (const std::bad_alloc&) {
    message = kOutOfMemoryMessage;
  } catch (const std::exception& error) {
    // The program's own errors (GlanexError) carry their French message here too.
    message = error.what();
  } catch (...) {
    message = kUnknownErrorMessage;
  }
  showErrorBox(parent, message);
}

}  // namespace glanex
