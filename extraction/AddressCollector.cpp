#include "extraction/AddressCollector.h"

#include <cstring>

namespace glanex {

namespace {

SeparatorTable withLineBreaks(SeparatorTable table) {
  table.addLineBreaks();
  return table;
}

}  // namespace

AddressCollector::AddressCollector(std::string_view separators)
    : separators_(withLineBreaks(SeparatorTable(separators))), scan_(separators_) {}

void AddressCollector::feed(std::string_view text) {
  if (!openRun_.empty()) {
    std::size_t runEnd = 0;
    while (runEnd < text.size() && !separators_.contains(text[runEnd])) ++runEnd;
    if (runEnd == text.size()) {
      openRun_.append(text);
      return;
    }
    // The separator that ends the run goes with it: when it is an "@", the token it closes is the run.
    openRun_.append(text.substr(0, runEnd + 1));
    collect(openRun_);
    openRun_.clear();
    text.remove_prefix(runEnd + 1);
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

std::span<const std::string_view> AddressCollector::addressesOfChunk(std::string_view chunk) {
  found_.clear();
  find(chunk);
  return found_;
}

void AddressCollector::collect(std::string_view text) {
  find(text);
  addresses_.addAll(found_);
  found_.clear();
}

void AddressCollector::find(std::string_view text) {
  if (separators_.contains('@')) {
    collectAroundSeparatingAt(text);
  } else {
    scan_.findAddresses(text, found_);
  }
}

void AddressCollector::collectAroundSeparatingAt(std::string_view text) {
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  for (const char* at = begin; at < end; ++at) {
    at = static_cast<const char*>(std::memchr(at, '@', static_cast<std::size_t>(end - at)));
    if (at == nullptr) return;
    const std::string_view token = separators_.tokenAround(text, static_cast<std::size_t>(at - begin));
    if (!token.empty() && token.front() != '@' && token.find('.') != std::string_view::npos) {
      found_.push_back(token);
    }
  }
}

}  // namespace glanex
