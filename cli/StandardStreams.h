#pragma once

#include <string>
#include <string_view>

// The three standard streams as the command line uses them: whole reads and whole writes straight on the
// file descriptors, so that no library buffer hides a failure until exit.
namespace glanex {

// Every byte of standard input up to its end. Throws standardInputError when reading fails.
std::string readStandardInput();

// Writes all of `bytes` to standard output. Throws EOutOfResources "Erreur à l'enregistrement du flux"
// when writing fails.
void writeStandardOutput(std::string_view bytes);

// Writes `bytes` to standard error as far as it goes: there is nowhere left to report its own failure.
void writeStandardError(std::string_view bytes) noexcept;

}  // namespace glanex
