#include "text/value_memory.h"

#include <cstdlib>
#include <string>

#include "text/fatal_error.h"
#include "text/program_texts.inc"

namespace vorlakin {

void* AllocateValueMemory(std::size_t bytes) {
  void* memory = std::malloc(bytes == 0 ? 1 : bytes);
  if (memory == nullptr) {
    std::string message = kOutOfMemoryBefore;
    message += std::to_string(bytes);
    message += kOutOfMemoryAfter;
    ReportFatalError(0, message);
  }
  return memory;
}

void ReleaseValueMemory(void* memory) noexcept { std::free(memory); }

}  // namespace vorlakin
