// vbprojekt: the results of the counter and the merger without a window, for scripts and nightly jobs.
// Exit status 0 on success, 1 on a runtime error or a refused merge, 2 on a usage error.

#include "command_line.h"
#include "failures.h"
#include "plain_text.h"
#include "standard_streams.h"

#include "text/runtime_error.h"

#include <new>
#include <string>

namespace {

constexpr int kSuccess = 0;
constexpr int kRuntimeFailure = 1;
constexpr int kUsageFailure = 2;

using cli::kProgram;

// The message of a runtime error. The path is built from the caller's project path and the project's
// entries: a NUL byte in it would cut the message short at a file that was never meant, and an escape or a
// line end would reach the terminal or break the log line, so its control characters are shown as pictures.
std::string MessageOf(const vb::RuntimeError& e) {
    return vb::ErrorLine(e.number(), cli::ControlPictures(e.path()));
}

} // namespace

int main(int argc, char** argv) {
    try {
        cli::RunCommandLine(argc, argv);
        return kSuccess;
    } catch (const cli::UsageError& e) {
        // The message quotes the caller's words; an escape sequence among them must not reach the terminal.
        cli::WriteToStandardError(std::string(kProgram) + ": " + cli::ControlPictures(e.what()));
        cli::WriteToStandardError("Hilfe: vbprojekt --help");
        return kUsageFailure;
    } catch (const cli::Refusal& e) {
        cli::WriteToStandardError(std::string(kProgram) + ": " + e.what());
    } catch (const vb::RuntimeError& e) {
        cli::WriteToStandardError(std::string(kProgram) + ": " + MessageOf(e));
    } catch (const std::bad_alloc&) {
        cli::WriteToStandardError(std::string(kProgram) + ": " +
                                  vb::RuntimeError(vb::err::OutOfMemory).what());
    } catch (const std::exception& e) {
        cli::WriteToStandardError(std::string(kProgram) + ": " + e.what());
    }
    return kRuntimeFailure;
}
