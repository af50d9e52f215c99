#include "extraction/AddressCollector.h"

#include <cstring>

namespace glanex {

AddressCollector::AddressCollector(std::string_view separators) : separators_(separators) {
  separators_.addLineBreaks();
}

void AddressCollector::feed(std::string_view text) {
  if (!openRun_.empty()) {
    std::size_t runEnd = 0;
    while (runEnd < text.size() && !separators_.contains(text[runEnd])) ++runEnd;
    openRun_.append(text.substr(0, runEnd));
    if (runEnd == text.size()) return;
    collect(openRun_);
    openRun_.clear();
    text.remove_prefix(runEnd);
  }
  std::size_t lastSeparator = text.size();
  while (lastSeparator > 0 && !separators_.contains(text[lastSeparator - 1])) --lastSeparator;
  collect(text.substr(0, lastSeparator));
  openRun_.assign(text.substr(lastSeparator));
}

void AddressCollector::finish() {
  collect(openRun_);
  openRun_.clear();
}

void AddressCollector::collect(std::string_view text) {
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  for (const char* at = begin; at < end; ++at) {
    at = static_cast<const char*>(std::memchr(at, '@', static_cast<std::size_t>(end - at)));
    if (at == nullptr) return;
    const std::string_view token = separators_.tokenAround(text, static_cast<std::size_t>(at - begin));
    if (!token.empty() && token.front() != '@' && token.find('.') != std::string_view::npos) {
      addresses_.add(token);
    }
  }
}

}  // namespace glanex
