#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "extraction/ExtractionProgress.h"
#include "extraction/TStrings.h"

// The staged extraction: source lines to the final list of addresses, through three working lists.
//
//   source --A--> T1 (lines with "@", once per "@") --B--> Memo1 (tokens around each "@")
//          --C--> T1 (tokens holding ".") --D--> T2 (last occurrence of each token)
//          --E--> T2 (no token starting with "@") --F--> T2 (no empty line): the final list
//
// The stages keep their exact counts (k copies of a line with k "@", every pair compared in D) because the
// progress display and the moment a working list overflows depend on them.
namespace glanex {

// The default separator set: the 39 Windows-1252 characters that end an address.
inline constexpr std::string_view kDefaultSeparators =
    ",;:! <>()\xE9\xE8\xE0\xE7\xF9$*\\/?+=[]^|{}'\"#~&\xA3\xA4\xB5%\xA8\xA7\t";

// The three working lists a run writes to.
struct WorkingLists {
  TStrings& richEditT1;
  TStrings& richEditT2;
  TStrings& memo1;
};

// Whether `character` (zero or one byte) is one of the bytes of `separators`.
bool IsSeparator(std::string_view character, std::string_view separators);

// Runs stages A to F and returns the number of addresses, left one per line in lists.richEditT2.
// `progress` may be null. Errors of the working lists end the run and reach the caller.
std::int64_t RunExtraction(const TStrings& source, std::string_view separators, WorkingLists lists,
                           ExtractionProgress* progress);

void CollectCandidateLines(const TStrings& source, TStrings& richEditT1, ExtractionProgress* progress);
void CutTokens(const TStrings& richEditT1, std::string_view separators, TStrings& memo1,
               ExtractionProgress* progress);
void KeepDottedTokens(const TStrings& memo1, TStrings& richEditT1, ExtractionProgress* progress);
// Returns the number of tokens compared, U.
std::int64_t RemoveDuplicates(const TStrings& richEditT1, TStrings& richEditT2, ExtractionProgress* progress);
void DropAtLeadingLines(TStrings& richEditT2, TStrings& richEditT1);
void DropEmptyLines(TStrings& richEditT2, TStrings& richEditT1);

}  // namespace glanex
