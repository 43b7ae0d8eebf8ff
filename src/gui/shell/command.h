#pragma once
// The boundary of every window command: a runtime error that a command does not handle itself ends up
// here, after the stack has unwound (files closed, written lines flushed), and goes to the fatal-error
// report.

#include <QString>

#include <functional>

namespace shell {

class Desktop;

// Runs `body`; a vb::RuntimeError (and running out of memory, as error 7) goes to the desktop's
// fatal-error report titled `title`.
void RunCommand(Desktop& desktop, const QString& title, const std::function<void()>& body);

} // namespace shell
