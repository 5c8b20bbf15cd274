#pragma once
// The program's one fatal path: report an error code and a message, then end
// the process with exit code -1. Messages are GBK bytes, like all program text.

#include <string_view>

namespace vorlakin {

[[noreturn]] void ReportFatalError(int code, std::string_view message);

// Shows the report to the user; filled in by the window layer at start-up.
// Without one, the report goes to stderr only. The process ends after the
// presenter returns.
using FatalErrorPresenter = void (*)(int code, std::string_view message);
void SetFatalErrorPresenter(FatalErrorPresenter presenter);

}  // namespace vorlakin
