#pragma once

#include "extraction/TStrings.h"

// The comma commands of the result list, kept apart from the window so the command line shares them.
namespace glanex {

// Puts one more comma after the last character of every non-empty line.
void AddCommas(TStrings& lines);

// Cuts every line at its first comma among its first 255 characters; other lines stay as they are.
void RemoveCommas(TStrings& lines);

}  // namespace glanex
