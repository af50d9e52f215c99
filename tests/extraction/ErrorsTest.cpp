#include "extraction/Errors.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <exception>
#include <filesystem>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <system_error>

namespace glanex::test {
namespace {

std::exception_ptr thrownBy(const std::function<void()>& action) {
  try {
    action();
  } catch (...) {
    return std::current_exception();
  }
  return nullptr;
}

// Tests run in the "C" locale, so the system's descriptions are the C library's English ones.
TEST(UserErrorMessage, GivesFrenchWordsOrTheSystemsForWhateverWasThrown) {
  const struct {
    const char* name;
    std::function<void()> fail;
    std::string message;
  } rows[] = {
      {"program error", [] { throw EFOpenError("Impossible d'ouvrir le fichier \"a\""); },
       "Impossible d'ouvrir le fichier \"a\""},
      {"memory", [] { throw std::bad_alloc(); }, "Mémoire insuffisante"},
      {"too many distinct addresses", [] { throw std::length_error("too many distinct tokens"); },
       "Mémoire insuffisante"},
      {"system error", [] { throw std::system_error(ENOSPC, std::generic_category(), "write"); },
       "Erreur du système : Plus de place sur le périphérique"},
      {"file system error",
       [] {
         throw std::filesystem::filesystem_error("rename", "/a", "/b",
                                                 std::make_error_code(std::errc::permission_denied));
       },
       "Erreur du système : Permission refusée"},
      {"other library error", [] { throw std::out_of_range("basic_string::substr"); }, "Erreur inattendue"},
      {"no exception class", [] { throw 42; }, "Erreur inattendue"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(userErrorMessage(thrownBy(row.fail)), row.message);
  }
}

// The C library describes errors in English unless the session says otherwise; the user reads French.
TEST(SystemErrorDescription, NeverGivesTheLibrarysEnglishText) {
  for (int errorNumber = 1; errorNumber < 134; ++errorNumber) {
    SCOPED_TRACE(errorNumber);
    const std::string description = systemErrorDescription(errorNumber);
    EXPECT_FALSE(description.empty());
    EXPECT_NE(description, std::strerror(errorNumber));
    EXPECT_NE(description.back(), '.');
  }
}

}  // namespace
}  // namespace glanex::test
