#pragma once

#include <exception>
#include <functional>
#include <string>

// The boundary between Qt's event loop and the program's handlers: no C++
// exception may unwind through Qt, so every handler the framework calls runs
// through dispatch(), and whatever it throws goes to the unhandled-exception
// routine instead.
namespace fw {

// Calls fn and hands back the exception it raised, or nullptr when it raised none.
using ExceptionHelper = std::exception_ptr (*)(const std::function<void()>& fn);

std::exception_ptr CallFunctionWithExceptionHandling(const std::function<void()>& fn);

// Registers the helper that dispatch() calls handlers through.
void RuntimeSetExceptionHelper(ExceptionHelper helper);

// Runs a handler of the program; an exception it raises is reported by
// UnhandledException and never propagates. Once an exception has gone
// unhandled, no handler runs any more.
void dispatch(const std::function<void()>& fn) noexcept;

// The framework's routine for an exception that no handler took: it stops all
// further handlers, reports the exception and ends the application's event
// loop with status 1.
void UnhandledException(std::exception_ptr error) noexcept;

// A one-line description of an exception, for the report.
const char* describeException(std::exception_ptr error, std::string& storage) noexcept;

namespace testing {
// Lets handlers run again after an unhandled exception (each test starts afresh).
void clearMustShutDown();
} // namespace testing

} // namespace fw
