#pragma once

#include <functional>
#include <string>

class QWidget;

// The one place where the windows show errors. Every command of a window runs through runCommand: an error
// ends the command where it arose, is shown to the user, and the program goes on with the state the
// command reached. No exception may leave a handler, since Qt's event loop cannot carry one.
namespace glanex {

// The application's title, the caption of every error box.
inline constexpr char kApplicationTitle[] = "Glanex !";

// Shows the UTF-8 `message`, with the final "." rule, in a modal box with the error icon and one OK button.
void showErrorBox(QWidget* parent, const std::string& message);

// Runs `command` and shows in the error box whatever it throws.
void runCommand(QWidget* parent, const std::function<void()>& command);

}  // namespace glanex
