#include "files/file_facts.h"

#include "errors/runtime_error.h"
#include "files/line_reader.h"

#include <cerrno>
#include <unistd.h>
#include <vector>

namespace vb {

TextFacts FactsOfFile(const std::string& path) {
    // Read as every command reads it: a UTF-16 file as its UTF-8, a UTF-8 mark not part of the first line.
    LineReader reader(path);
    TextFactsScan scan;
    std::string_view bytes;
    while (reader.nextBytes(bytes))
        scan.feed(bytes);
    TextFacts facts = scan.facts();
    facts.bytes = reader.fileBytes();
    switch (reader.byteOrderMark()) {
    case ByteOrderMark::Utf16Le:
        facts.encoding = Encoding::Utf16Le;
        break;
    case ByteOrderMark::Utf16Be:
        facts.encoding = Encoding::Utf16Be;
        break;
    case ByteOrderMark::Utf8:
        facts.encoding = Encoding::Utf8WithMark;
        break;
    case ByteOrderMark::None:
        break;
    }
    return facts;
}

} // namespace vb
