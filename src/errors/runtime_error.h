#pragma once
// A failure as the programs report it: VB's runtime error number with its German description and,
// where a file was involved, that file's path as the program tried it.

#include <stdexcept>
#include <string>
#include <string_view>

namespace vb {

class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(int number, std::string path = {});

    // Maps an errno value from a failed system call to the matching error number.
    static RuntimeError FromErrno(int errnoValue, std::string path = {});

    int number() const noexcept { return number_; }
    const std::string& description() const noexcept { return description_; }
    const std::string& path() const noexcept { return path_; }

private:
    int number_;
    std::string description_;
    std::string path_;
};

// The German description of a runtime error number (UTF-8).
std::string DescriptionOf(int number);

// The error in one line, as what() holds it: "Laufzeitfehler 53: Datei nicht gefunden", followed by ": "
// and `path` unless that is empty. A caller that shows the path otherwise (its control characters as
// pictures) passes it shown so.
std::string ErrorLine(int number, std::string_view path = {});

// The runtime error number for an errno value.
int ErrorNumberOfErrno(int errnoValue);

// Error numbers the programs raise themselves.
namespace err {
inline constexpr int InvalidCall = 5;
inline constexpr int Overflow = 6;
inline constexpr int OutOfMemory = 7;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int BadFileName = 52;
inline constexpr int FileNotFound = 53;
inline constexpr int DeviceIo = 57;
inline constexpr int DiskFull = 61;
inline constexpr int PermissionDenied = 70;
inline constexpr int PathFileAccess = 75;
inline constexpr int PathNotFound = 76;
// A file whose bytes cannot be passed on as they are (UTF-16 text where bytes are copied).
inline constexpr int BadFileFormat = 321;
} // namespace err

} // namespace vb
