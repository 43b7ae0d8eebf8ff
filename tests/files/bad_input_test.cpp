// Files and names that are not what a text file should be: the reader and writer refuse them with a
// numbered error instead of reading the wrong file, waiting for ever or reading without end.
#include "errors/runtime_error.h"
#include "files/line_reader.h"
#include "files/line_writer.h"
#include "files/member_path.h"
#include "resource_probe.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace {

using vbtest::TempDir;

template <typename Action> int ErrorNumberOf(Action action) {
    try {
        action();
    } catch (const vb::RuntimeError& e) {
        return e.number();
    }
    return 0;
}

TEST(BadInput, NameWithANulByteIs52AndNeverReachesTheShorterName) {
    TempDir dir;
    // "Haupt" exists; the NUL would cut "Haupt\0.frm" down to it.
    const std::string cut = dir.write("Haupt", "other file\r\n");
    const std::string withNul = cut + std::string("\0.frm", 5);
    EXPECT_EQ(ErrorNumberOf([&] { vb::LineReader reader(withNul); }), 52);
    EXPECT_EQ(ErrorNumberOf([&] { vb::ResolveMemberPath(withNul); }), 52);
    EXPECT_EQ(ErrorNumberOf([&] { vb::LineWriter writer(withNul); }), 52);
    EXPECT_EQ(vbtest::ReadBytes(cut), "other file\r\n") << "the shorter name was written";
}

TEST(BadInput, PipesAndDevicesAreRefusedInsteadOfRead) {
    TempDir dir;
    const std::string pipe = dir.file("pipe.frm");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // Opening a pipe without a writer would wait for ever; /dev/zero would never end.
    EXPECT_EQ(ErrorNumberOf([&] { vb::LineReader reader(pipe); }), 75);
    if (std::filesystem::exists("/dev/zero")) {
        EXPECT_EQ(ErrorNumberOf([] { vb::LineReader reader("/dev/zero"); }), 75);
    }
    EXPECT_EQ(ErrorNumberOf([&] { vb::LineReader reader(dir.path().string()); }), 75);
    // Nor does writing to a pipe that nobody reads wait for ever.
    EXPECT_EQ(ErrorNumberOf([&] { vb::LineWriter writer(pipe); }), 75);
}

TEST(BadInput, BinaryBytesPassAsLinesUnchanged) {
    TempDir dir;
    std::string bytes;
    for (int i = 0; i < 4096; ++i)
        bytes += static_cast<char>((i * 131 + 7) % 256);
    const std::string path = dir.write("binary.frm", bytes);
    vb::LineReader reader(path, 16);
    std::string joined;
    std::string_view line;
    std::size_t ends = 0;
    while (reader.next(line)) {
        EXPECT_EQ(line.find_first_of("\r\n"), std::string_view::npos);
        joined += line;
        ++ends;
    }
    std::string withoutEnds;
    for (const char c : bytes)
        if (c != '\r' && c != '\n')
            withoutEnds += c;
    EXPECT_EQ(joined, withoutEnds) << "NUL and every other byte reach the lines";
    EXPECT_GT(ends, 1u);
}

// One line of 200 MB is read once, and the buffer grows to hold it once, not many times over.
TEST(BadInput, TwoHundredMegabyteLineIsReadOnceInABoundedBuffer) {
    TempDir dir;
    constexpr std::size_t kLine = 200u << 20;
    const std::string path = dir.file("riesig.frm");
    {
        std::string chunk(1u << 20, 'x');
        FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        for (std::size_t i = 0; i < kLine / chunk.size(); ++i)
            std::fwrite(chunk.data(), 1, chunk.size(), f);
        std::fputs("\r\nAttribute VB_Name = \"Riesig\"\r\n", f);
        std::fclose(f);
    }
    const auto usage = vbtest::MeasureInChild([&] {
        vb::LineReader reader(path);
        std::string_view line;
        if (!reader.next(line) || line.size() != kLine)
            throw std::runtime_error("the long line was not read whole");
        if (!reader.next(line) || line != "Attribute VB_Name = \"Riesig\"" || reader.next(line))
            throw std::runtime_error("the line after it was lost");
        if (reader.bufferCapacity() > 2 * (kLine + 2) + 2 * vb::LineReader::kMaxRead)
            throw std::runtime_error("the buffer grew past twice the line");
    });
    ASSERT_TRUE(usage.completed) << usage.failure;
    const auto fileSize = static_cast<long long>(std::filesystem::file_size(path));
    EXPECT_GE(usage.bytesRead, fileSize);
    EXPECT_LT(usage.bytesRead, fileSize + (1 << 20)) << "read more than once";
    if (!vbtest::kSanitized) {
        EXPECT_LT(usage.peakGrowthKb, 3 * static_cast<long>(kLine >> 10)) << "memory of the 200 MB line";
    }
}

} // namespace
