#pragma once
// Failures that end the program other than a runtime error of the core.

#include <stdexcept>

namespace cli {

// The command line asks for something the program does not offer: exit status 2. The message is German.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The command was understood but is refused before anything is opened or written: exit status 1.
class Refusal : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace cli
