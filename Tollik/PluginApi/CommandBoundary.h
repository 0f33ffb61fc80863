#pragma once
// The export boundary of the command: the one place where failures stop.
// No C++ exception may reach the host, so whatever ends the command is shown
// to the user in a message box owned by the host window.

#include <exception>

#include "os/SystemApi.h"

namespace tollik {

// The texts shown for failures that carry no message of their own.
inline constexpr char16_t kOutOfMemoryMessage[] =
    u"メモリが不足しているため、HSP コンパイル/実行を中止しました。";
inline constexpr char16_t kUnexpectedFailureMessage[] =
    u"予期しないエラーのため、HSP コンパイル/実行を中止しました。";

// Shows the failure in flight as an error message box owned by `host`.
void ReportFailure(os::SystemApi& api, os::WindowHandle host, std::exception_ptr failure) noexcept;

template <class Command>
void RunAtBoundary(os::SystemApi& api, os::WindowHandle host, Command&& command) noexcept {
    try {
        command();
    } catch (...) {
        ReportFailure(api, host, std::current_exception());
    }
}

}  // namespace tollik
