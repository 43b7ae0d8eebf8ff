#include "bad_input.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace vbtest {

std::string Repeated(std::string_view line, int times) {
    std::string text;
    text.reserve(line.size() * static_cast<std::size_t>(times > 0 ? times : 0));
    for (int i = 0; i < times; ++i)
        text += line;
    return text;
}

std::string BinaryJunk() {
    // Neighbouring bytes differ by 37, which no key's first two letters do; "F" is taken out as well.
    std::string junk;
    for (int i = 0; i < 65536; ++i)
        junk += static_cast<char>(i % 7 == 0 ? '\0' : (i * 37) % 256 == 'F' ? 'f' : (i * 37) % 256);
    return junk;
}

void WriteHugeFile(const std::string& path, std::string_view head, std::size_t size, char fill,
                   std::string_view tail) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << head;
    const std::string chunk(1u << 20, fill);
    for (std::size_t done = 0; done < size; done += chunk.size())
        out.write(chunk.data(), static_cast<std::streamsize>(std::min(chunk.size(), size - done)));
    out << tail;
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

} // namespace vbtest
