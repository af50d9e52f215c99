#include <clocale>
#include <string>
#include <vector>

#include "cli/CommandLine.h"

int main(int argc, char** argv) {
  // System error descriptions in messages follow the user's language.
  std::setlocale(LC_ALL, "");
  return glanex::runCommandLine(std::vector<std::string>(argv + 1, argv + argc));
}
