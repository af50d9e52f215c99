#pragma once

#include <cstdint>
#include <string>

// Sources for the benchmarks, as Windows-1252 text with CR LF line breaks, built in code so that every run
// measures the same bytes.
namespace glanex {

// The four lines of the worked example.
std::string workedExampleSource();

// A web page of about `approximateBytes` bytes: contact cards with mailto links, some addresses repeated,
// between paragraphs without any. Stays within the working lists' capacity up to about 60 KB.
std::string webPageSource(std::uint32_t seed, std::size_t approximateBytes);

// Distinct lines each holding one shortest dotted address, as many as the first working list can take:
// the most tokens duplicate removal can be given to compare.
std::string fullWorkingListSource();

// `count` distinct addresses, one per line, as a final list holds them.
std::string addressListSource(int count);

}  // namespace glanex
