#include <clocale>
#include <string>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "cli/CommandLine.h"

int main(int argc, char** argv) {
  // System error descriptions in messages follow the user's language.
  std::setlocale(LC_ALL, "");
#if defined(__GLIBC__)
  // The address tables grow by doubling; glibc would raise its mapping threshold to each freed block's
  // size and keep the next, larger blocks in the heap, where freed memory stays resident: 15 to 35 MB
  // more at the peak on large inputs. A fixed threshold gives large blocks back when they are freed.
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
  return glanex::runCommandLine(std::vector<std::string>(argv + 1, argv + argc));
}
