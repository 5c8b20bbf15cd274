#include "text/fatal_error.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "text/code_page.h"

namespace vorlakin {
namespace {

FatalErrorPresenter gPresenter = nullptr;

void WriteToStderr(int code, std::string_view message) {
  std::string line;
  try {
    line = GbkToUtf8(message);
  } catch (...) {
    line.assign(message);  // out of memory: the raw bytes still say something
  }
  if (code != 0) {
    std::fprintf(stderr, "vorlakin: error %d: %s\n", code, line.c_str());
  } else {
    std::fprintf(stderr, "vorlakin: error: %s\n", line.c_str());
  }
  std::fflush(stderr);
}

}  // namespace

void SetFatalErrorPresenter(FatalErrorPresenter presenter) { gPresenter = presenter; }

void ReportFatalError(int code, std::string_view message) {
  WriteToStderr(code, message);
  if (gPresenter != nullptr) {
    gPresenter(code, message);
  }
  std::_Exit(-1);
}

}  // namespace vorlakin
