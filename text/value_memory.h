#pragma once
// Memory for text values. Every byte that a Text, ByteBuffer or TextArray
// holds comes from here; running out of memory is fatal (code 0), with the
// number of bytes that was asked for.

#include <cstddef>
#include <string>

namespace vorlakin {

void* AllocateValueMemory(std::size_t bytes);
void ReleaseValueMemory(void* memory) noexcept;

template <class T>
struct ValueAllocator {
  using value_type = T;

  ValueAllocator() = default;
  template <class U>
  constexpr ValueAllocator(const ValueAllocator<U>&) noexcept {}

  T* allocate(std::size_t count) {
    // An impossible size still reaches AllocateValueMemory, which reports it.
    const std::size_t bytes =
        count > static_cast<std::size_t>(-1) / sizeof(T) ? static_cast<std::size_t>(-1) : count * sizeof(T);
    return static_cast<T*>(AllocateValueMemory(bytes));
  }
  void deallocate(T* memory, std::size_t) noexcept { ReleaseValueMemory(memory); }

  template <class U>
  friend constexpr bool operator==(const ValueAllocator&, const ValueAllocator<U>&) noexcept {
    return true;
  }
};

using ValueString = std::basic_string<char, std::char_traits<char>, ValueAllocator<char>>;

}  // namespace vorlakin
