// glanex-corpus: writes a seeded benchmark corpus to a file, for the whole-process comparison script.

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "bench/CorpusGenerator.h"
#include "extraction/Errors.h"

namespace {

constexpr const char* kUsage =
    "Usage : glanex-corpus --kind mail|html|csv|dense --size TAILLE [--seed N] --output FICHIER\n"
    "TAILLE en octets, ou suivie de K, M ou G (puissances de 1000) : 10M, 1G.\n";

struct UsageError {
  std::string message;
};

// "123", "10M", "1G": decimal units, as the comparison reports MB/s in millions of bytes.
std::uint64_t parseSize(std::string_view text) {
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  const std::string_view unit = text.substr(static_cast<std::size_t>(end - text.data()));
  std::uint64_t factor = 1;
  if (unit == "K" || unit == "k") {
    factor = 1'000;
  } else if (unit == "M") {
    factor = 1'000'000;
  } else if (unit == "G") {
    factor = 1'000'000'000;
  }
  if (error != std::errc() || end == text.data() || (factor == 1 && !unit.empty()) ||
      value > UINT64_MAX / factor) {
    throw UsageError{"Taille invalide : « " + std::string(text) + " »"};
  }
  return value * factor;
}

std::uint64_t parseSeed(std::string_view text) {
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
    throw UsageError{"Graine invalide : « " + std::string(text) + " »"};
  }
  return value;
}

struct Request {
  glanex::CorpusKind kind = glanex::CorpusKind::Mail;
  bool hasKind = false;
  std::uint64_t size = 0;
  bool hasSize = false;
  std::uint64_t seed = 1;
  std::string output;
};

// "--name value" or "--name=value".
Request parseArguments(const std::vector<std::string>& arguments) {
  Request request;
  for (std::size_t index = 0; index < arguments.size(); ++index) {
    std::string name = arguments[index];
    std::string value;
    if (const std::size_t equals = name.find('='); name.starts_with("--") && equals != std::string::npos) {
      value = name.substr(equals + 1);
      name.resize(equals);
    } else if (index + 1 < arguments.size()) {
      value = arguments[++index];
    } else {
      throw UsageError{"L'option « " + name + " » demande un argument"};
    }
    if (name == "--kind") {
      if (!glanex::parseCorpusKind(value, request.kind)) {
        throw UsageError{"Genre inconnu : « " + value + " » ; mail, html, csv ou dense attendu"};
      }
      request.hasKind = true;
    } else if (name == "--size") {
      request.size = parseSize(value);
      request.hasSize = true;
    } else if (name == "--seed") {
      request.seed = parseSeed(value);
    } else if (name == "--output") {
      request.output = value;
    } else {
      throw UsageError{"Option inconnue : « " + name + " »"};
    }
  }
  if (!request.hasKind || !request.hasSize || request.output.empty()) {
    throw UsageError{"--kind, --size et --output sont obligatoires"};
  }
  return request;
}

void writeCorpus(const Request& request) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(request.output.c_str(), "wb"),
                                                             &std::fclose);
  if (!file) throw glanex::fileCreateError(request.output, errno);
  glanex::CorpusGenerator generator(request.kind, request.seed);
  generator.generate(request.size, [&](std::string_view chunk) {
    if (std::fwrite(chunk.data(), 1, chunk.size(), file.get()) != chunk.size()) {
      throw glanex::EOutOfResources(glanex::kStreamSaveError);
    }
  });
  // A full disk may only show when the last buffer is flushed.
  if (std::fflush(file.get()) != 0) throw glanex::EOutOfResources(glanex::kStreamSaveError);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    writeCorpus(parseArguments(std::vector<std::string>(argv + 1, argv + argc)));
    return 0;
  } catch (const UsageError& error) {
    std::cerr << "glanex-corpus : " << error.message << "\n" << kUsage;
    return 2;
  } catch (const std::exception& error) {
    std::cerr << "glanex-corpus : " << glanex::withFinalDot(error.what()) << "\n";
    return 1;
  }
}
