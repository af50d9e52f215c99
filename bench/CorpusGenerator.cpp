#include "bench/CorpusGenerator.h"

#include <array>
#include <cstdio>
#include <set>

#include "extraction/TextEncoding.h"

namespace glanex {

namespace {

constexpr std::string_view kCrLf = "\r\n";

// The word lists are written in UTF-8 here and turned into Windows-1252 once, when the pools are built.
constexpr std::string_view kFirstNames[] = {
    "Hélène",  "Amélie",   "Jérôme",   "François",  "Céline",   "Anaïs",      "Noël",     "Zoé",    "Chloé",
    "Léa",     "Mathéo",   "Gaëlle",   "Loïc",      "Thérèse",  "Benoît",     "Agnès",    "René",   "André",
    "Clément", "Inès",     "Frédéric", "Stéphane",  "Valérie",  "Raphaël",    "Maëlle",   "Josée",  "Pierre",
    "Marie",   "Jean-Luc", "Anne",     "Paul",      "Claire",   "Sophie",     "Nicolas",  "Julien", "Camille",
    "Lucas",   "Emma",     "Hugo",     "Louise",    "Arthur",   "Manon",      "Thomas",   "Sarah",  "Antoine",
    "Julie",   "Vincent",  "Laura",    "Olivier",   "Isabelle", "Philippe",   "Nathalie", "Marc",   "Sylvie",
    "Michel",  "Martine",  "Alain",    "Christine", "Patrick",  "Anne-Sophie"};

constexpr std::string_view kLastNames[] = {
    "Dupré",    "Lefèvre",   "Martin",    "Bernard",   "Petit",    "Robert",   "Richard",  "Durand",
    "Dubois",   "Moreau",    "Laurent",   "Simon",     "Garçon",   "Lefebvre", "Leroy",    "Roux",
    "David",    "Bertrand",  "Morel",     "Fournier",  "Girard",   "Bonnet",   "Dupont",   "Lambert",
    "Fontaine", "Rousseau",  "Vincent",   "Müller",    "Faure",    "André",    "Mercier",  "Blanc",
    "Guérin",   "Boyer",     "Garnier",   "Chevalier", "François", "Legrand",  "Gauthier", "Garcia",
    "Perrin",   "Robin",     "Clément",   "Morin",     "Henry",    "Roussel",  "Mathieu",  "Masson",
    "Marchand", "Duval",     "Denis",     "Dumont",    "Lemaire",  "Noël",     "Meyer",    "Dufour",
    "Meunier",  "Brun",      "Blanchard", "Giraud",    "Joly",     "Rivière",  "Brunet",   "Gaillard",
    "Barbier",  "Arnaud",    "Gérard",    "Roche",     "Renard",   "Schmitt",  "Leroux",   "Colin",
    "Vidal",    "Caron",     "Picard",    "Fabre",     "Aubert",   "Lemoine",  "Renaud",   "Dumas",
    "Lacroix",  "Bourgeois", "Benoît",    "Leclerc",   "Payet",    "Rolland",  "Le Gall",  "D'Almeida"};

constexpr std::string_view kDomains[] = {
    "exemple.fr",         "exemple.com",          "exemple.org",           "courriel.fr",
    "messagerie.fr",      "poste-exemple.fr",     "mairie-exemple.fr",     "asso-riviere.org",
    "univ-exemple.fr",    "etu.univ-exemple.fr",  "cabinet-exemple.fr",    "editions-exemple.fr",
    "club-voile.org",     "comite-des-fetes.org", "lycee-exemple.fr",      "clinique-exemple.fr",
    "agence-exemple.com", "atelier-exemple.net",  "mail.exemple.net",      "exemple.be",
    "exemple.ch",         "exemple.eu",           "fai-exemple.fr",        "webmail-exemple.com",
    "boite-exemple.fr",   "laposte-exemple.net",  "abonne.fai-exemple.fr", "orange-exemple.fr"};

constexpr std::string_view kCities[] = {
    "Besançon", "Orléans", "Nîmes",     "Saint-Étienne", "Évry",   "Béziers", "Périgueux", "Angoulême",
    "Paris",    "Lyon",    "Marseille", "Toulouse",      "Nantes", "Lille",   "Rennes",    "Grenoble",
    "Dijon",    "Brest",   "Caen",      "Tours",         "Metz",   "Nancy",   "Reims",     "Limoges",
    "Poitiers", "Pau",     "Annecy",    "Valence",       "Colmar", "Sète"};

constexpr std::string_view kRoles[] = {
    "Secrétaire", "Trésorier adjoint", "Présidente", "Chargée de communication", "Responsable des bénévoles",
    "Animateur",  "Coordinatrice"};

constexpr std::string_view kOrganisations[] = {
    "Association Rivière Vive",           "Comité des fêtes",    "Club de voile de l’Étang", "Amicale laïque",
    "Maison des jeunes et de la culture", "Cercle généalogique", "Chorale À Cœur Joie"};

constexpr std::string_view kSentences[] = {
    "Bonjour à tous, voici le compte rendu de la réunion de jeudi dernier.",
    "Comme convenu, la prochaine séance aura lieu à la salle des fêtes à 18 h 30.",
    "Merci de confirmer votre présence avant vendredi, même si vous ne pouvez venir qu’une heure.",
    "Le trésorier a présenté le budget prévisionnel ; il reste 1 250 € à répartir entre les ateliers.",
    "Je vous transmets en pièce jointe le procès-verbal signé et la liste des adhérents à jour.",
    "Les inscriptions pour la sortie d’été sont ouvertes jusqu’au 15 juin.",
    "N’oubliez pas d’apporter vos reçus : le remboursement se fait sur présentation des justificatifs.",
    "La mairie nous prête le gymnase le samedi matin, à condition de rendre les clés à l’accueil.",
    "Quelqu’un peut-il se charger des courses pour le goûter des enfants ?",
    "Après discussion, le bureau a décidé de reporter l’assemblée générale à la rentrée.",
    "Le site a été mis à jour : vous y trouverez le calendrier complet et les photos de la fête.",
    "Pour les nouveaux arrivants, une séance de présentation est prévue le premier mercredi du mois.",
    "Je reste à votre disposition pour toute précision, par téléphone ou par courriel.",
    "Le devis du traiteur s’élève à 845 € ; nous attendons encore celui de la boulangerie.",
    "Veuillez noter que le local sera fermé pendant les congés de Noël.",
    "Ça me paraît très bien, je valide la proposition de François.",
    "Il faudrait prévoir des chaises supplémentaires, nous serons sans doute plus de quatre-vingts.",
    "Les cotisations de l’année ont presque toutes été réglées, à l’exception de quelques retardataires.",
    "Dès réception du matériel, je vous préviendrai pour organiser la répartition.",
    "L’équipe d’animation cherche encore deux bénévoles pour tenir la buvette.",
    "Vous trouverez ci-dessous le détail des dépenses engagées depuis septembre.",
    "Si la météo ne le permet pas, l’activité sera déplacée à la médiathèque.",
    "Le concours de pétanque a réuni trente-deux équipes, un record à ce jour.",
    "Chère Thérèse, merci pour ton message et pour la relecture du bulletin.",
    "Je crois qu’il y a une erreur dans le tableau : la ligne de février apparaît deux fois.",
    "Nous avons reçu une subvention de la région, ce qui nous permettra d’acheter un vidéoprojecteur.",
    "Le bulletin d’octobre paraîtra avec un peu de retard, l’imprimeur étant en congé.",
    "À noter : le parking de l’école sera inaccessible pendant les travaux.",
    "Est-ce que quelqu’un a gardé le numéro de l’électricien qui était venu l’an dernier ?",
    "Les enfants ont adoré l’atelier de poterie ; on pourrait le reconduire au printemps.",
    "Rendez-vous @ 14 h devant la mairie, « comme d’habitude » !",
    "Suivez-nous sur les réseaux : @asso_riviere et @comite.fetes."};

// {A} an address, {N} its owner's name, {L} and {D} the parts around its "@", {W} a site's domain.
constexpr std::string_view kAddressSentences[] = {
    "Pour toute question, écrivez à {A} ou passez au secrétariat.",
    "Les inscriptions se font auprès de {A} (merci de préciser le nombre de places).",
    "Copie à {A}, qui suit le dossier depuis le début.",
    "Vous pouvez aussi joindre {N} directement : {A}.",
    "Nouvelle adresse de {N} : {A} — l’ancienne ne sera plus relevée.",
    "Envoyez vos textes pour le bulletin à {A}.",
    "Contact presse : {N} <{A}>, ou le standard au 01 23 45 67 89.",
    "Le formulaire est en ligne : https://www.{W}/inscription?ref=bulletin&annee=2024",
    "Les photos sont sur https://photos.{W}/album/fete-de-l-ete/ (mot de passe à demander).",
    "Écrivez-moi plutôt à {L} at {D}, ma boîte habituelle est pleine.",
    "Mon adresse personnelle : {L} (arobase) {D}.",
    "Désinscription : https://listes.{W}/desinscription?adresse={A}"};

constexpr std::string_view kSubjects[] = {"Réunion du comité de mars",
                                          "Compte rendu de l’assemblée générale",
                                          "Sortie d’été : inscriptions",
                                          "Cotisations 2024",
                                          "Bulletin d’octobre",
                                          "Planning des bénévoles",
                                          "Fête de la musique",
                                          "Devis du traiteur",
                                          "Question sur le remboursement",
                                          "Clés du local",
                                          "Atelier poterie",
                                          "Photos de la fête",
                                          "Nouvelle adresse",
                                          "Budget prévisionnel",
                                          "Travaux à l’école",
                                          "Invitation : vœux du président",
                                          "Rappel : permanence de samedi",
                                          "Ordre du jour"};

constexpr std::string_view kClosings[] = {"Bien cordialement,", "Cordialement,",  "Amitiés,",
                                          "À bientôt,",         "Bonne journée,", "Merci d’avance,"};

constexpr std::string_view kSectionTitles[] = {"Bureau",
                                               "Commission animation",
                                               "Commission des finances",
                                               "Bénévoles",
                                               "Correspondants régionaux",
                                               "Ateliers",
                                               "Partenaires",
                                               "Adhérents — lettres A à F",
                                               "Adhérents — lettres G à O",
                                               "Anciens présidents"};

// Mailing-list footers: the same few list addresses come back in many messages.
constexpr std::string_view kListFooters[] = {
    "_______________________________________________\r\nListe des bénévoles\r\n"
    "benevoles@listes.asso-riviere.org\r\nhttps://listes.asso-riviere.org/mailman/listinfo/benevoles\r\n",
    "-- \r\nVous recevez ce message car vous êtes inscrit à la liste « bureau ».\r\n"
    "Pour vous désinscrire, écrivez à bureau-desinscription@listes.comite-des-fetes.org\r\n",
    "_______________________________________________\r\nAnnonces du club : annonces@club-voile.org\r\n"};

constexpr std::string_view kWeekdays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
constexpr std::string_view kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::string toCp1252(std::string_view utf8) {
  std::string text;
  utf8ToCp1252(utf8, text);
  return text;
}

template <std::size_t N>
std::vector<std::string> toCp1252(const std::string_view (&utf8)[N]) {
  std::vector<std::string> texts;
  for (std::string_view text : utf8) texts.push_back(toCp1252(text));
  return texts;
}

template <typename... Parts>
void appendAll(std::string& out, const Parts&... parts) {
  (out.append(parts), ...);
}

// A Windows-1252 name as an address part: ASCII lower case, accents dropped, spaces and apostrophes gone.
std::string addressPart(std::string_view name) {
  // Bytes C0 to FF; "x" for the two signs in that range, which no name holds.
  constexpr std::string_view kFolded = "aaaaaaaceeeeiiiidnoooooxouuuuytsaaaaaaaceeeeiiiidnoooooxouuuuyty";
  std::string part;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0xC0) {
      part += kFolded[byte - 0xC0];
    } else if ((byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') || byte == '-') {
      part += c;
    } else if (byte >= 'A' && byte <= 'Z') {
      part += static_cast<char>(byte - 'A' + 'a');
    }
  }
  return part;
}

// Lower case that keeps the accents, as people sometimes type an address they spell with them.
std::string accentedLowerCase(std::string_view name) {
  std::string lower;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == ' ' || c == '\'') continue;
    const bool upper = (byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7);
    lower += upper ? static_cast<char>(byte + 0x20) : c;
  }
  return lower;
}

void replaceAll(std::string& text, std::string_view placeholder, std::string_view value) {
  for (std::size_t at = text.find(placeholder); at != std::string::npos;
       at = text.find(placeholder, at + value.size())) {
    text.replace(at, placeholder.size(), value);
  }
}

// Words joined into lines of at most `width` bytes (a longer word keeps a line of its own), each ended
// by CR LF, as mail programs wrap plain text.
std::string wrapped(std::string_view text, std::size_t width = 72) {
  std::string out;
  std::size_t lineLength = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(' ', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view word = text.substr(start, end - start);
    if (lineLength > 0 && lineLength + 1 + word.size() > width) {
      out += kCrLf;
      lineLength = 0;
    } else if (lineLength > 0) {
      out += ' ';
      ++lineLength;
    }
    out += word;
    lineLength += word.size();
    start = end + 1;
  }
  out += kCrLf;
  return out;
}

std::string quoted(std::string_view paragraph) {
  std::string out;
  std::size_t start = 0;
  while (start < paragraph.size()) {
    const std::size_t end = paragraph.find(kCrLf, start);
    appendAll(out, std::string_view("> "), paragraph.substr(start, end + kCrLf.size() - start));
    start = end + kCrLf.size();
  }
  return out;
}

// A CSV field between double quotes, inner quotes doubled.
std::string csvQuoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

}  // namespace

bool parseCorpusKind(std::string_view name, CorpusKind& kind) {
  if (name == "mail") {
    kind = CorpusKind::Mail;
  } else if (name == "html") {
    kind = CorpusKind::Html;
  } else if (name == "csv") {
    kind = CorpusKind::Csv;
  } else if (name == "dense") {
    kind = CorpusKind::Dense;
  } else {
    return false;
  }
  return true;
}

CorpusGenerator::CorpusGenerator(CorpusKind kind, std::uint64_t seed) : kind_(kind), randomState_(seed) {
  buildPeople();
  buildParagraphs();
  buildMessageIds();
}

// SplitMix64: tiny, fast, and the same sequence on every platform, unlike the standard distributions.
std::uint64_t CorpusGenerator::nextRandom() {
  std::uint64_t z = (randomState_ += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

std::size_t CorpusGenerator::below(std::size_t bound) {
  return static_cast<std::size_t>(nextRandom() % bound);
}

void CorpusGenerator::buildPeople() {
  constexpr std::size_t kPeople = 3000;
  const std::vector<std::string> firstNames = toCp1252(kFirstNames);
  const std::vector<std::string> lastNames = toCp1252(kLastNames);
  const std::vector<std::string> cities = toCp1252(kCities);
  const std::vector<std::string> roles = toCp1252(kRoles);
  const std::vector<std::string> organisations = toCp1252(kOrganisations);
  const std::string phoneLabel = toCp1252("Tél. : ");
  const std::string dash = toCp1252(" — ");
  std::set<std::string> taken;
  while (people_.size() < kPeople) {
    Person person;
    person.firstName = pick(firstNames);
    const std::string& lastName = pick(lastNames);
    person.displayName = person.firstName + " " + lastName;
    const std::string first = addressPart(person.firstName);
    const std::string last = addressPart(lastName);
    std::string local;
    switch (below(8)) {
      case 0:
        local = first.substr(0, 1) + "." + last;
        break;
      case 1:
        local = first + last;
        break;
      case 2:
        local = last + "." + first;
        break;
      case 3:
        local = first + "_" + last;
        break;
      case 4:
        local = first + "." + last + std::to_string(10 + below(90));
        break;
      case 5:
        local = last + first.substr(0, 1) + std::to_string(below(100));
        break;
      default:
        local = first + "." + last;
        break;
    }
    // A few addresses keep their accents: every tool cuts them somewhere else.
    if (chance(2)) local = accentedLowerCase(person.firstName) + "." + accentedLowerCase(lastName);
    const std::string domain(kDomains[below(std::size(kDomains))]);
    person.address = local + "@" + domain;
    while (!taken.insert(person.address).second) {
      person.address = local + std::to_string(below(1000)) + "@" + domain;
    }
    if (chance(10)) {
      person.mailbox = "\"" + lastName + ", " + person.firstName + "\" <" + person.address + ">";
    } else if (chance(10)) {
      person.mailbox = person.address;
    } else {
      person.mailbox = person.displayName + " <" + person.address + ">";
    }
    person.city = pick(cities);
    person.phone = {'0', static_cast<char>('1' + below(9))};
    for (int pair = 0; pair < 4; ++pair) {
      person.phone += ' ';
      person.phone += static_cast<char>('0' + below(10));
      person.phone += static_cast<char>('0' + below(10));
    }
    // One call per statement: the order in which the operands of one expression run is unspecified, and
    // the bytes must not depend on the compiler.
    const std::string& role = pick(roles);
    const std::string& organisation = pick(organisations);
    const bool addressOnPhoneLine = chance(50);
    appendAll(person.signature, std::string_view("-- \r\n"), person.displayName, kCrLf, role, dash,
              organisation, kCrLf, phoneLabel, person.phone);
    appendAll(person.signature, addressOnPhoneLine ? dash : "\r\nCourriel : ", person.address, kCrLf);
    // CSV fields made once, bare and quoted, since a gigabyte of rows would otherwise spend its time here.
    appendAll(person.csvNames[0], lastName, std::string_view(";"), person.firstName, std::string_view(";"));
    appendAll(person.csvNames[1], csvQuoted(lastName), std::string_view(";"), csvQuoted(person.firstName),
              std::string_view(";"));
    person.csvAddress = {person.address, csvQuoted(person.address)};
    appendAll(person.csvPlace[0], std::string_view(";"), person.city, std::string_view(";"), person.phone,
              std::string_view(";"));
    appendAll(person.csvPlace[1], std::string_view(";"), csvQuoted(person.city), std::string_view(";"),
              csvQuoted(person.phone), std::string_view(";"));
    people_.push_back(std::move(person));
  }
}

std::string CorpusGenerator::sentenceWithAddress() {
  static const std::vector<std::string> templates = toCp1252(kAddressSentences);
  const Person& person = pick(people_);
  std::string address = person.address;
  // Now and then someone capitalises an address: a different string for every tool.
  if (chance(5)) {
    address[0] = static_cast<char>(address[0] & ~0x20);
    const std::size_t at = address.find('@');
    address[at + 1] = static_cast<char>(address[at + 1] & ~0x20);
  }
  const std::size_t at = person.address.find('@');
  std::string sentence = pick(templates);
  replaceAll(sentence, "{A}", address);
  replaceAll(sentence, "{N}", person.displayName);
  replaceAll(sentence, "{L}", std::string_view(person.address).substr(0, at));
  replaceAll(sentence, "{D}", std::string_view(person.address).substr(at + 1));
  replaceAll(sentence, "{W}", kDomains[below(std::size(kDomains))]);
  return sentence;
}

void CorpusGenerator::buildParagraphs() {
  constexpr std::size_t kParagraphs = 2500;
  constexpr std::size_t kComments = 600;
  const std::vector<std::string> sentences = toCp1252(kSentences);
  for (std::size_t i = 0; i < kParagraphs; ++i) {
    const std::size_t count = 1 + below(4);
    const std::size_t withAddress = chance(40) ? below(count + 1) : count + 1;
    std::string text;
    const std::string* previous = nullptr;
    for (std::size_t s = 0; s <= count; ++s) {
      if (s == withAddress) {
        appendAll(text, text.empty() ? "" : " ", sentenceWithAddress());
      } else if (s < count) {
        const std::string* sentence = &pick(sentences);
        while (sentence == previous) sentence = &pick(sentences);
        appendAll(text, text.empty() ? "" : " ", *sentence);
        previous = sentence;
      }
    }
    paragraphs_.push_back(wrapped(text));
    quotedParagraphs_.push_back(quoted(paragraphs_.back()));
  }
  for (std::size_t i = 0; i < kComments; ++i) {
    const std::string sentence = chance(30) ? sentenceWithAddress() : pick(sentences);
    csvComments_.push_back(chance(10) ? csvQuoted("\"" + sentence + "\"") : csvQuoted(sentence));
  }
}

// Message ids come from a bounded set, so that the distinct strings around an "@" stay a few thousand
// at every size; an archive that big would repeat its threads anyway.
void CorpusGenerator::buildMessageIds() {
  constexpr std::size_t kMessageIds = 1000;
  constexpr std::string_view kHex = "0123456789abcdef";
  for (std::size_t i = 0; i < kMessageIds; ++i) {
    std::string id = "<2024";
    for (int digit = 0; digit < 10; ++digit) id += static_cast<char>('0' + below(10));
    id += '.';
    for (int digit = 0; digit < 8; ++digit) id += kHex[below(16)];
    appendAll(id, std::string_view("@mail."), kDomains[below(std::size(kDomains))], std::string_view(">"));
    messageIds_.push_back(std::move(id));
  }
}

// One random moment of 2024 in the three spellings a message needs, so that they agree.
CorpusGenerator::MessageDates CorpusGenerator::messageDates() {
  const std::string_view weekday = kWeekdays[below(7)];
  const std::size_t month = below(12);
  const int day = 1 + static_cast<int>(below(28));
  const int hour = static_cast<int>(below(24));
  const int minute = static_cast<int>(below(60));
  const int second = static_cast<int>(below(60));
  std::array<char, 64> text{};
  MessageDates dates;
  std::snprintf(text.data(), text.size(), "%.3s, %02d %.3s 2024 %02d:%02d:%02d +0100", weekday.data(), day,
                kMonths[month].data(), hour, minute, second);
  dates.header = text.data();
  std::snprintf(text.data(), text.size(), "%.3s %.3s %2d %02d:%02d:%02d 2024", weekday.data(),
                kMonths[month].data(), day, hour, minute, second);
  dates.separator = text.data();
  std::snprintf(text.data(), text.size(), "%02d/%02zu/2024 \xE0 %02d:%02d", day, month + 1, hour, minute);
  dates.attribution = text.data();
  return dates;
}

void CorpusGenerator::appendMessage(std::string& out) {
  static const std::vector<std::string> subjects = toCp1252(kSubjects);
  static const std::vector<std::string> closings = toCp1252(kClosings);
  static const std::vector<std::string> listFooters = toCp1252(kListFooters);
  static const std::string wrote = toCp1252(" a écrit :");
  const Person& from = pick(people_);
  const Person& to = pick(people_);
  const MessageDates dates = messageDates();
  const bool reply = chance(50);

  appendAll(out, std::string_view("From "), from.address, std::string_view("  "), dates.separator, kCrLf);
  appendAll(out, std::string_view("Message-ID: "), pick(messageIds_), kCrLf);
  appendAll(out, std::string_view("Date: "), dates.header, kCrLf);
  appendAll(out, std::string_view("From: "), from.mailbox, kCrLf);
  appendAll(out, std::string_view("To: "), to.mailbox, kCrLf);
  if (chance(40)) {
    out += "Cc: ";
    for (std::size_t copies = 1 + below(3); copies > 0; --copies) {
      appendAll(out, pick(people_).mailbox, copies > 1 ? std::string_view(",\r\n    ") : kCrLf);
    }
  }
  if (chance(15)) appendAll(out, std::string_view("Reply-To: "), pick(people_).address, kCrLf);
  appendAll(out, std::string_view("Subject: "), reply ? "Re: " : "", pick(subjects), kCrLf);
  if (reply) {
    const std::string& parent = pick(messageIds_);
    appendAll(out, std::string_view("In-Reply-To: "), parent, kCrLf);
    appendAll(out, std::string_view("References: "), pick(messageIds_), std::string_view(" "), parent, kCrLf);
  }
  out += "Content-Type: text/plain; charset=windows-1252\r\nContent-Transfer-Encoding: 8bit\r\n\r\n";

  appendAll(out, std::string_view("Bonjour "), to.firstName, std::string_view(",\r\n\r\n"));
  for (std::size_t paragraphs = 1 + below(4); paragraphs > 0; --paragraphs) {
    appendAll(out, pick(paragraphs_), kCrLf);
  }
  if (chance(60)) {
    appendAll(out, pick(closings), kCrLf, from.signature);
  } else {
    appendAll(out, pick(closings), kCrLf, from.firstName, kCrLf);
  }
  if (reply) {
    appendAll(out, kCrLf, std::string_view("Le "), dates.attribution, std::string_view(", "), to.displayName,
              wrote, kCrLf);
    for (std::size_t paragraphs = 1 + below(3); paragraphs > 0; --paragraphs) {
      appendAll(out, pick(quotedParagraphs_), paragraphs > 1 ? std::string_view(">\r\n") : "");
    }
  }
  if (chance(25)) out += pick(listFooters);
  out += kCrLf;
}

void CorpusGenerator::appendSection(std::string& out) {
  static const std::vector<std::string> titles = toCp1252(kSectionTitles);
  static const std::vector<std::string> organisations = toCp1252(kOrganisations);
  static const std::string tableHead = toCp1252(
      "<table "
      "class=\"annuaire\">\r\n<tr><th>Nom</th><th>Courriel</th><th>Ville</th><th>Téléphone</th></tr>\r\n");
  static const std::string write = toCp1252("écrire");
  appendAll(out, std::string_view("<h2>"), pick(titles), std::string_view("</h2>\r\n"));
  for (std::size_t paragraphs = 1 + below(2); paragraphs > 0; --paragraphs) {
    const std::string& paragraph = pick(paragraphs_);
    appendAll(out, std::string_view("<p>"), std::string_view(paragraph).substr(0, paragraph.size() - 2),
              std::string_view("</p>\r\n"));
  }
  out += tableHead;
  for (std::size_t rows = 5 + below(16); rows > 0; --rows) {
    const Person& person = pick(people_);
    appendAll(out, std::string_view("<tr><td>"), person.displayName, std::string_view("</td><td>"));
    const std::size_t form = below(100);
    if (form < 80) {
      appendAll(out, std::string_view("<a href=\"mailto:"), person.address, std::string_view("\">"),
                person.address, std::string_view("</a>"));
    } else if (form < 90) {
      appendAll(out, std::string_view("<a href=\"mailto:"), person.address,
                std::string_view("?subject=Adh%E9sion%202024\">"), write, std::string_view("</a>"));
    } else if (form < 95) {
      // Spelled with an entity to keep robots away: no "@" in the bytes.
      const std::size_t at = person.address.find('@');
      appendAll(out, std::string_view(person.address).substr(0, at), std::string_view("&#64;"),
                std::string_view(person.address).substr(at + 1));
    }
    appendAll(out, std::string_view("</td><td>"), person.city, std::string_view("</td><td>"), person.phone,
              std::string_view("</td></tr>\r\n"));
  }
  out += "</table>\r\n<ul class=\"liens\">\r\n";
  for (std::size_t links = 2 + below(3); links > 0; --links) {
    const std::string_view domain = kDomains[below(std::size(kDomains))];
    appendAll(out, std::string_view("<li><a href=\"https://www."), domain, std::string_view("/\">Site de "),
              pick(organisations), std::string_view("</a></li>\r\n"));
  }
  out += "</ul>\r\n";
}

void CorpusGenerator::appendRows(std::string& out) {
  for (int row = 0; row < 20; ++row) {
    const Person& person = pick(people_);
    // Some export tools quote every field, others only those that need it.
    const std::size_t quoting = chance(30) ? 1 : 0;
    out += person.csvNames[quoting];
    const std::size_t form = below(100);
    if (form < 85) {
      out += person.csvAddress[quoting];
    } else if (form < 93) {
      appendAll(out, std::string_view("\""), person.address, std::string_view(", "), pick(people_).address,
                std::string_view("\""));
    }
    out += person.csvPlace[quoting];
    if (chance(40)) out += pick(csvComments_);
    out += kCrLf;
  }
}

// A sender or recipient line, then a line of prose: about 200 bytes per address, CR LF, accents in
// Windows-1252.
void CorpusGenerator::appendDenseLines(std::string& out) {
  static const std::string to = toCp1252("À : ");
  const Person& person = pick(people_);
  const std::size_t at = person.address.find('@');
  const std::string variant = "." + std::to_string(below(addressVariants_));
  appendAll(out, chance(50) ? std::string_view("De : ") : std::string_view(to), person.displayName,
            std::string_view(" <"), std::string_view(person.address).substr(0, at), variant,
            std::string_view(person.address).substr(at), std::string_view(">\r\n"));
  // The paragraph's first lines, up to about 220 characters.
  const std::string_view paragraph = pick(paragraphs_);
  const std::size_t lineEnd = paragraph.find(kCrLf, 220);
  out.append(lineEnd == std::string_view::npos ? paragraph : paragraph.substr(0, lineEnd + kCrLf.size()));
}

std::string CorpusGenerator::header() const {
  switch (kind_) {
    case CorpusKind::Html:
      return toCp1252(
          "<!DOCTYPE html>\r\n<html lang=\"fr\">\r\n<head>\r\n<meta charset=\"windows-1252\">\r\n"
          "<title>Annuaire des adhérents</title>\r\n</head>\r\n<body>\r\n<h1>Annuaire des "
          "adhérents</h1>\r\n");
    case CorpusKind::Csv:
      return toCp1252("Nom;Prénom;Courriel;Ville;Téléphone;Commentaire\r\n");
    case CorpusKind::Mail:
    case CorpusKind::Dense:
      break;
  }
  return {};
}

std::string CorpusGenerator::footer() const {
  return kind_ == CorpusKind::Html ? "</body>\r\n</html>\r\n" : "";
}

void CorpusGenerator::generate(std::uint64_t size, const std::function<void(std::string_view)>& sink) {
  constexpr std::size_t kChunk = std::size_t{4} << 20;
  // 50,000 distinct addresses per 100 MB, drawn from the people.
  addressVariants_ = std::max<std::size_t>(1, static_cast<std::size_t>(size / 2'000 / people_.size()));
  const std::string opening = header();
  const std::string closing = footer();
  if (opening.size() + closing.size() > size) return;
  std::string buffer;
  buffer.reserve(kChunk + (std::size_t{64} << 10));
  buffer += opening;
  std::uint64_t total = opening.size();
  std::string unit;
  for (;;) {
    unit.clear();
    switch (kind_) {
      case CorpusKind::Mail:
        appendMessage(unit);
        break;
      case CorpusKind::Html:
        appendSection(unit);
        break;
      case CorpusKind::Csv:
        appendRows(unit);
        break;
      case CorpusKind::Dense:
        appendDenseLines(unit);
        break;
    }
    if (total + unit.size() + closing.size() > size) break;
    buffer += unit;
    total += unit.size();
    if (buffer.size() >= kChunk) {
      sink(buffer);
      buffer.clear();
    }
  }
  buffer += closing;
  sink(buffer);
}

}  // namespace glanex
