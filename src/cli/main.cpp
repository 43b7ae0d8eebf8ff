// vbprojekt: the results of the counter and the merger without a window, for scripts and nightly jobs.
// Exit status 0 on success, 1 on a runtime error, a refused merge or a member file that could not be opened
// (check, components, --keep-going), 2 on a usage error.

#include "command_line.h"
#include "failures.h"
#include "plain_text.h"
#include "standard_streams.h"

#include "errors/runtime_error.h"

#include <new>
#include <string>

namespace {

constexpr int kSuccess = 0;
constexpr int kRuntimeFailure = 1;
constexpr int kUsageFailure = 2;

using cli::kProgram;

} // namespace

int main(int argc, char** argv) {
    try {
        // A command that went on past a member file that could not be opened has said so already.
        return cli::RunCommandLine(argc, argv) ? kSuccess : kRuntimeFailure;
    } catch (const cli::UsageError& e) {
        // The message quotes the caller's words; an escape sequence among them must not reach the terminal.
        cli::WriteToStandardError(std::string(kProgram) + ": " + cli::ControlPictures(e.what()));
        cli::WriteToStandardError("Hilfe: vbprojekt --help");
        return kUsageFailure;
    } catch (const cli::Refusal& e) {
        cli::WriteToStandardError(std::string(kProgram) + ": " + e.what());
    } catch (const vb::RuntimeError& e) {
        cli::WriteToStandardError(cli::ErrorMessage(e));
    } catch (const std::bad_alloc&) {
        cli::WriteToStandardError(std::string(kProgram) + ": " +
                                  vb::RuntimeError(vb::err::OutOfMemory).what());
    } catch (const std::exception& e) {
        cli::WriteToStandardError(std::string(kProgram) + ": " + e.what());
    }
    return kRuntimeFailure;
}
