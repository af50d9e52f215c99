#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/StartupArguments.h"
#include "app/VersionInfo.h"
#include "app/qt/LogoMain.h"
#include "widgets/qt/About.h"
#include "widgets/qt/ProgramIcon.h"
#include "widgets/qt/WidgetHelpers.h"

namespace {

// The windows name the Windows faces they were designed with; Linux draws them with the metric-compatible
// Liberation faces, so that captions fit their controls as designed.
void substituteWindowsFaces() {
  QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
  QFont::insertSubstitution(QStringLiteral("System"), QStringLiteral("Liberation Sans"));
  QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
}

// Answers what needs no window and returns the exit status, or nothing when the window is to open.
std::optional<int> answerWithoutWindow(const glanex::StartupArguments& arguments) {
  switch (arguments.action) {
    case glanex::StartupArguments::Action::ShowHelp:
      std::fputs(glanex::startupHelpText().c_str(), stdout);
      return std::fflush(stdout) == 0 ? 0 : 1;
    case glanex::StartupArguments::Action::ShowVersion:
      std::printf("glanex %s\n", glanex::fileVersionOf(glanex::runningExecutablePath()).c_str());
      return std::fflush(stdout) == 0 ? 0 : 1;
    case glanex::StartupArguments::Action::Refuse:
      std::fprintf(stderr, "glanex : %s.\nEssayez « glanex --help ».\n", arguments.problem.c_str());
      return 2;
    case glanex::StartupArguments::Action::OpenWindow:
      break;
  }
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  // Read before the application exists: --help and --version need no display. Qt gets the program's name
  // alone, so that it takes no file name for one of its own options ("glanex -- -style").
  const glanex::StartupArguments arguments =
      glanex::readStartupArguments(std::vector<std::string>(argv + 1, argv + argc));
  if (const std::optional<int> status = answerWithoutWindow(arguments)) return *status;
  int qtArgumentCount = 1;
  QApplication application(qtArgumentCount, argv);
  // Not the display name: Qt would append that to every window's caption.
  QCoreApplication::setApplicationName(QStringLiteral("Glanex"));
  QApplication::setWindowIcon(glanex::programIcon());

  // The program speaks French whatever the user's locale, and so do Qt's own dialogs and buttons.
  QTranslator qtTranslations;
  if (qtTranslations.load(QStringLiteral("qtbase_fr"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtTranslations);
  substituteWindowsFaces();

  glanex::TLogoAppForm logoAppForm;
  // Created hidden, once the main window can give it the version; the main window owns it.
  glanex::AboutBox = new glanex::TAboutBox(logoAppForm.GetVersion());
  glanex::ownByMainWindow(logoAppForm, glanex::AboutBox);
  logoAppForm.show();
  // "Open with" from the desktop hands the file over as an argument.
  // Taken as the bytes the system gave: a name that is no UTF-8 (Latin-1 from an old disk) still opens.
  if (arguments.file) logoAppForm.openFileGivenAtStart(*arguments.file);
  return QApplication::exec();
}
