#include "text/value_memory.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "text/fatal_error.h"
#include "text/program_texts.inc"

namespace vorlakin {
namespace {

[[noreturn]] void ReportOutOfMemory(std::size_t bytes) {
  std::string message = kOutOfMemoryBefore;
  message += std::to_string(bytes);
  message += kOutOfMemoryAfter;
  ReportFatalError(0, message);
}

}  // namespace

void* AllocateValueMemory(std::size_t bytes) {
  if (bytes > static_cast<std::size_t>(PTRDIFF_MAX)) {
    ReportOutOfMemory(bytes);  // no allocator can give this much
  }
  void* memory = std::malloc(bytes == 0 ? 1 : bytes);
  if (memory == nullptr) {
    ReportOutOfMemory(bytes);
  }
  return memory;
}

void* ReallocateValueMemory(void* memory, std::size_t bytes) {
  if (bytes > static_cast<std::size_t>(PTRDIFF_MAX)) {
    ReportOutOfMemory(bytes);
  }
  void* moved = std::realloc(memory, bytes == 0 ? 1 : bytes);
  if (moved == nullptr) {
    ReportOutOfMemory(bytes);
  }
  return moved;
}

void ReleaseValueMemory(void* memory) noexcept { std::free(memory); }

ValueString::ValueString(std::string_view bytes) {
  if (!bytes.empty()) {
    reserve(bytes.size());
    std::memcpy(data_, bytes.data(), bytes.size());
    size_ = bytes.size();
    data_[size_] = '\0';
  }
}

ValueString::ValueString(std::size_t count, char fill) {
  if (count > 0) {
    reserve(count);
    std::memset(data_, fill, count);
    size_ = count;
    data_[size_] = '\0';
  }
}

void ValueString::reserve(std::size_t bytes) {
  if (bytes <= capacity_ && data_ != nullptr) {
    return;
  }
  const std::size_t total = bytes == static_cast<std::size_t>(-1) ? bytes : bytes + 1;  // and the NUL
  data_ = static_cast<char*>(data_ == nullptr ? AllocateValueMemory(total) : ReallocateValueMemory(data_, total));
  capacity_ = bytes;
  data_[size_] = '\0';
}

void ValueString::append(std::string_view bytes) {
  if (bytes.empty()) {
    return;
  }
  const std::size_t needed = size_ + bytes.size();
  if (needed > capacity_ || data_ == nullptr) {
    reserve(std::max(needed, capacity_ + capacity_ / 2));  // grow by half
  }
  std::memcpy(data_ + size_, bytes.data(), bytes.size());
  size_ = needed;
  data_[size_] = '\0';
}

void ValueString::resize(std::size_t bytes) {
  if (bytes > size_) {
    reserve(bytes);
    std::memset(data_ + size_, 0, bytes - size_);
  }
  size_ = bytes;
  if (data_ != nullptr) {
    data_[size_] = '\0';
  }
}

}  // namespace vorlakin
