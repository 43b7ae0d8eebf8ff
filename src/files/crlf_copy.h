#pragma once
// Copies the rest of a text file with every line ended by CR LF, in runs of the read buffer instead of line
// by line: bytes that already end their lines with CR LF go to the writer as they are, and only a CR alone
// or an LF alone is rewritten. The bytes written are those that writing each line with
// LineWriter::writeLine would give.

#include "files/line_reader.h"
#include "files/line_writer.h"

namespace vb {

// Writes every line `in` has left, each followed by CR LF (the last line of the file too when it has no
// end), and reads `in` to its end.
void CopyRestWithCrLf(LineReader& in, LineWriter& out);

} // namespace vb
