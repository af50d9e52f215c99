#include "app/StartupArguments.h"

#include "extraction/DocumentFormats.h"

namespace glanex {

namespace {

StartupArguments refusal(std::string problem) {
  StartupArguments refused;
  refused.action = StartupArguments::Action::Refuse;
  refused.problem = std::move(problem);
  return refused;
}

}  // namespace

StartupArguments readStartupArguments(const std::vector<std::string>& arguments) {
  StartupArguments read;
  bool optionsEnded = false;
  for (const std::string& argument : arguments) {
    if (!optionsEnded && argument == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && (argument == "-h" || argument == "--help")) {
      read.action = StartupArguments::Action::ShowHelp;
      return read;
    } else if (!optionsEnded && (argument == "-V" || argument == "--version")) {
      read.action = StartupArguments::Action::ShowVersion;
      return read;
    } else if (!optionsEnded && argument.size() > 1 && argument.front() == '-') {
      return refusal("option inconnue « " + argument + " »");
    } else if (read.file) {
      return refusal("un seul fichier à la fois : « " + argument + " » est en trop");
    } else {
      read.file = argument;
    }
  }
  return read;
}

std::string startupHelpText() {
  return "Usage : glanex [options] [FICHIER]\n"
         "Ouvre la fenêtre de Glanex, qui relève les adresses e-mail d'un texte ; FICHIER (texte ou RTF)\n"
         "y est ouvert au démarrage.\n"
         "Les documents " +
         documentKindsRead() +
         "\n"
         "s'y ouvrent en texte.\n"
         "\n"
         "Options :\n"
         "  -h, --help     affiche cette aide\n"
         "  -V, --version  affiche la version\n"
         "\n"
         "Après « -- », tout argument est un nom de fichier.\n"
         "Pour relever les adresses sans fenêtre, depuis un terminal ou un script : glanex-cli --help.\n";
}

}  // namespace glanex
