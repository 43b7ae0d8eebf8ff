#pragma once
// What the text file at a path is made of (its line ends, ASCII / UTF-8 / 8-bit), read in one streaming
// pass through a buffer.

#include "text/text_facts.h"

#include <string>

namespace vb {

// The facts of the file at `path`; RuntimeError as for any reading (53, 75, 57, ...).
TextFacts FactsOfFile(const std::string& path);

} // namespace vb
