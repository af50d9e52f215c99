// The program PdfReader starts for each PDF file: the file on standard input, the answer on standard
// output. poppler is loaded here only, for the files that need it, and a crash in it ends only this run.
#include <string>

#include <unistd.h>

#include "extraction/PdfAnswer.h"
#include "extraction/PosixIo.h"

int main() {
  std::string bytes;
  if (!glanex::readAll(STDIN_FILENO, 0, bytes)) return 1;
  try {
    glanex::PdfAnswer::write(STDOUT_FILENO, bytes);
  } catch (...) {
    return 1;
  }
  return 0;
}
