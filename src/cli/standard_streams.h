#pragma once
// Writing to standard output and standard error by their descriptors, without the iostream buffers, so
// that every failed write is seen.

#include <string>
#include <string_view>

namespace cli {

// The name that runtime errors show for standard output.
inline constexpr std::string_view kStandardOutputName = "Standardausgabe";

// Writes all of `bytes` to `fd`; RuntimeError (61 when the disk is full, ...) naming `name` on failure.
void WriteAll(int fd, std::string_view bytes, const std::string& name);

// Writes a message line to standard error. Failures are ignored: there is nowhere left to report them.
void WriteToStandardError(std::string_view line);

} // namespace cli
