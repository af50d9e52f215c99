#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

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

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
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
  // "Open with" from the desktop hands the file over as the first argument.
  // Taken as the bytes the system gave: a name that is no UTF-8 (Latin-1 from an old disk) still opens.
  if (argc > 1) logoAppForm.openFileGivenAtStart(argv[1]);
  return QApplication::exec();
}
