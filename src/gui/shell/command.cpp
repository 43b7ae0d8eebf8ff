#include "gui/shell/command.h"

#include "errors/runtime_error.h"
#include "gui/shell/desktop.h"

#include <new>

namespace shell {

void RunCommand(Desktop& desktop, const QString& title, const std::function<void()>& body) {
    try {
        body();
    } catch (const vb::RuntimeError& error) {
        desktop.reportFatalError(title, error);
    } catch (const std::bad_alloc&) {
        desktop.reportFatalError(title, vb::RuntimeError(vb::err::OutOfMemory));
    } catch (const std::length_error&) {
        desktop.reportFatalError(title, vb::RuntimeError(vb::err::OutOfMemory));
    }
}

} // namespace shell
