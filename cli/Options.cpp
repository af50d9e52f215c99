#include "cli/Options.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <span>
#include <string_view>

#include "cli/UsageError.h"
#include "extraction/DocumentFormats.h"
#include "extraction/TextEncoding.h"

namespace glanex {

namespace {

// One row per option, so that a new option is one more row and its setter.
struct OptionRule {
  char shortName;  // '\0' for a long name only
  std::string_view longName;
  bool takesValue;
  void (*apply)(Options& options, const std::string& value);
};

void setSeparators(Options& options, const std::string& utf8) {
  std::string cp1252;
  if (!utf8ToCp1252(utf8, cp1252)) {
    throw UsageError("Les séparateurs contiennent un caractère sans équivalent Windows-1252");
  }
  options.separators = std::move(cp1252);
}

// Names are read in any case, as other programs write them: UTF-8, utf8, CP1252, windows-1252.
void setEncoding(Options& options, const std::string& name) {
  std::string lowered = name;
  for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lowered == "utf-8" || lowered == "utf8") {
    options.encoding = OutputEncoding::Utf8;
  } else if (lowered == "cp1252" || lowered == "windows-1252") {
    options.encoding = OutputEncoding::Cp1252;
  } else {
    throw UsageError("Encodage inconnu : « " + name + " » ; utf-8 ou cp1252 attendu");
  }
}

// More threads than this only cost memory: no machine it runs on has that many cores.
constexpr std::size_t kMostThreads = 1024;

void setThreads(Options& options, const std::string& count) {
  std::size_t threads = 0;
  const auto [end, error] = std::from_chars(count.data(), count.data() + count.size(), threads);
  if (error != std::errc() || end != count.data() + count.size() || threads == 0 || threads > kMostThreads) {
    throw UsageError("Nombre de fils invalide : « " + count + " » ; entier de 1 à " +
                     std::to_string(kMostThreads) + " attendu");
  }
  options.threads = threads;
}

constexpr OptionRule kOptionRules[] = {
    {'s', "separateurs", true, setSeparators},
    {'\0', "virgules", false, [](Options& options, const std::string&) { options.addCommas = true; }},
    {'o', "sortie", true, [](Options& options, const std::string& path) { options.outputPath = path; }},
    {'e', "encodage", true, setEncoding},
    // The default now; still read, so that scripts written when it was not keep working.
    {'\0', "sans-limite", false, [](Options& options, const std::string&) { options.unlimited = true; }},
    {'\0', "fenetre", false, [](Options& options, const std::string&) { options.unlimited = false; }},
    {'r', "recursif", false, [](Options& options, const std::string&) { options.recursive = true; }},
    {'i', "ignorer-casse", false, [](Options& options, const std::string&) { options.ignoreCase = true; }},
    {'j', "fils", true, setThreads},
    {'q', "silencieux", false, [](Options& options, const std::string&) { options.quiet = true; }},
    {'h', "help", false, [](Options& options, const std::string&) { options.action = CliAction::ShowHelp; }},
    {'V', "version", false,
     [](Options& options, const std::string&) { options.action = CliAction::ShowVersion; }},
};

UsageError ambiguousOption(std::string_view name, const std::vector<const OptionRule*>& matches) {
  std::string candidates;
  for (const OptionRule* rule : matches) {
    candidates += (candidates.empty() ? "--" : ", --") + std::string(rule->longName);
  }
  return UsageError("Option ambiguë : « --" + std::string(name) + " » (" + candidates + ")");
}

// The rule named `name` or, as getopt does, the only one whose name starts with it.
const OptionRule* findLong(std::string_view name) {
  std::vector<const OptionRule*> matches;
  for (const OptionRule& rule : kOptionRules) {
    if (rule.longName == name) return &rule;
    if (rule.longName.starts_with(name)) matches.push_back(&rule);
  }
  if (matches.size() > 1) throw ambiguousOption(name, matches);
  return matches.empty() ? nullptr : matches.front();
}

const OptionRule* findShort(char name) {
  for (const OptionRule& rule : kOptionRules) {
    if (rule.shortName == name) return &rule;
  }
  return nullptr;
}

UsageError unknownOption(std::string_view spelling) {
  return UsageError("Option inconnue : « " + std::string(spelling) + " »");
}

UsageError missingValue(std::string_view spelling) {
  return UsageError("L'option « " + std::string(spelling) + " » demande un argument");
}

// The argument after position `index`, which a value-taking option consumes whatever it looks like.
const std::string& nextArgument(std::span<const std::string> arguments, std::size_t& index,
                                std::string_view spelling) {
  if (index + 1 >= arguments.size()) throw missingValue(spelling);
  return arguments[++index];
}

// "--name", "--name=value" or "--name value"; advances `index` past a value taken from the next argument.
void parseLongOption(std::span<const std::string> arguments, std::size_t& index, Options& options) {
  const std::string_view argument = arguments[index];
  const std::size_t equals = argument.find('=');
  const std::string_view spelling = argument.substr(0, equals);
  const OptionRule* rule = findLong(spelling.substr(2));
  if (rule == nullptr) throw unknownOption(spelling);
  if (!rule->takesValue) {
    if (equals != std::string_view::npos) {
      throw UsageError("L'option « " + std::string(spelling) + " » ne prend pas d'argument");
    }
    rule->apply(options, {});
  } else if (equals != std::string_view::npos) {
    rule->apply(options, std::string(argument.substr(equals + 1)));
  } else {
    rule->apply(options, nextArgument(arguments, index, spelling));
  }
}

// A group such as "-q", "-qV" or "-s,;" (the rest of the group is the value) or "-s" followed by its value.
void parseShortOptions(std::span<const std::string> arguments, std::size_t& index, Options& options) {
  const std::string& argument = arguments[index];
  for (std::size_t position = 1; position < argument.size(); ++position) {
    const std::string spelling = {'-', argument[position]};
    const OptionRule* rule = findShort(argument[position]);
    if (rule == nullptr) throw unknownOption(spelling);
    if (!rule->takesValue) {
      rule->apply(options, {});
      if (options.action != CliAction::Extract) return;
      continue;
    }
    if (position + 1 < argument.size()) {
      rule->apply(options, argument.substr(position + 1));
    } else {
      rule->apply(options, nextArgument(arguments, index, spelling));
    }
    return;
  }
}

// Standard input cannot be read twice, and the window's run reads one file and compares exact bytes.
void refuseConflicts(const Options& options) {
  if (std::count(options.inputPaths.begin(), options.inputPaths.end(), "-") > 1) {
    throw UsageError("L'entrée standard « - » ne peut être lue qu'une fois");
  }
  if (options.unlimited) return;
  if (options.inputPaths.size() > 1 || options.recursive) {
    throw UsageError("--fenetre lit un seul fichier, comme la fenêtre");
  }
  if (options.ignoreCase) {
    throw UsageError(
        "--ignorer-casse ne va pas avec --fenetre : la fenêtre compare les adresses telles quelles");
  }
  if (options.threads != 0) {
    throw UsageError("--fils ne va pas avec --fenetre : la fenêtre travaille sur un seul fil");
  }
}

}  // namespace

Options parseOptions(const std::vector<std::string>& arguments) {
  Options options;
  std::vector<std::string> files;
  for (std::size_t index = 0; index < arguments.size(); ++index) {
    const std::string& argument = arguments[index];
    if (argument == "--") {
      files.insert(files.end(), arguments.begin() + static_cast<std::ptrdiff_t>(index) + 1, arguments.end());
      break;
    }
    if (argument.starts_with("--")) {
      parseLongOption(arguments, index, options);
    } else if (argument.size() > 1 && argument.front() == '-') {
      parseShortOptions(arguments, index, options);
    } else {
      files.push_back(argument);
    }
    if (options.action != CliAction::Extract) return options;
  }
  if (!files.empty()) options.inputPaths = std::move(files);
  refuseConflicts(options);
  return options;
}

std::string helpText() {
  return "Usage : glanex-cli [options] [FICHIER...]\n"
         "Relève les adresses e-mail du texte des FICHIERs (texte ou RTF) et les écrit une par ligne,\n"
         "chacune une seule fois, comme si les fichiers étaient lus l'un après l'autre.\n"
         "Les documents " +
         documentKindsRead() +
         "\n"
         "sont reconnus à leur contenu et lus par leur texte.\n"
         "Sans FICHIER, ou avec « - » (une fois au plus), le texte est lu sur l'entrée standard.\n"
         "\n"
         "Options :\n"
         "  -s, --separateurs TEXTE  caractères qui bornent une adresse ; vide : aucun\n"
         "                           (par défaut : ponctuation, espace, tabulation, é è à ç ù…)\n"
         "      --virgules           ajoute une virgule après chaque adresse\n"
         "  -o, --sortie FICHIER     enregistre la liste en RTF dans FICHIER au lieu de l'afficher\n"
         "                           (un fichier existant est remplacé, jamais un fichier lu ;\n"
         "                           /dev/stdout écrit sur la sortie standard)\n"
         "  -e, --encodage ENC       encodage de la liste affichée : utf-8 (par défaut) ou cp1252\n"
         "  -r, --recursif           lit les fichiers des dossiers et de leurs sous-dossiers, par\n"
         "                           ordre de nom (les liens vers des dossiers ne sont pas suivis)\n"
         "  -i, --ignorer-casse      les adresses qui ne diffèrent que par la casse ASCII n'en font\n"
         "                           qu'une, écrite comme à sa dernière occurrence\n"
         "      --fenetre            le traitement de la fenêtre, avec ses limites (lignes lues\n"
         "                           jusqu'à 4 096 caractères, listes de travail de 64 Kio) ;\n"
         "                           un seul fichier\n"
         "      --sans-limite        sans limite de ligne ni de liste : le traitement par défaut,\n"
         "                           option gardée pour les scripts existants\n"
         "  -j, --fils N             N fils de calcul (par défaut : un par cœur)\n"
         "  -q, --silencieux         n'affiche ni la progression ni le nombre d'adresses\n"
         "  -h, --help               affiche cette aide\n"
         "  -V, --version            affiche la version\n"
         "\n"
         "Les options longues s'abrègent tant qu'il n'y a pas d'ambiguïté ; « -- » termine les options.\n"
         "Un fichier illisible est signalé, les autres sont lus, et le code de sortie est 1.\n"
         "Code de sortie : 0 en cas de succès, 1 en cas d'erreur, 2 si la ligne de commande est invalide.\n";
}

}  // namespace glanex
