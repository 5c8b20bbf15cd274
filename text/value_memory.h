#pragma once
// Memory for text values. Every byte that a Text, ByteBuffer or TextArray
// holds comes from here; running out of memory is fatal (code 0), with the
// number of bytes that was asked for.

#include <cstddef>
#include <string_view>
#include <utility>

namespace vorlakin {

void* AllocateValueMemory(std::size_t bytes);
// Grows or shrinks memory from AllocateValueMemory; large blocks move
// without copying.
void* ReallocateValueMemory(void* memory, std::size_t bytes);
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

// The bytes of one text or buffer, with a NUL kept after them so that a
// text can be handed to C functions as it is. Growth by appending is
// amortised and reuses the block where the allocator can (large blocks are
// remapped, not copied), so a buffer that grows chunk by chunk costs time
// and memory in proportion to its size.
class ValueString {
 public:
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

  ValueString() noexcept = default;
  explicit ValueString(std::string_view bytes);
  ValueString(std::size_t count, char fill);
  ValueString(const ValueString& other) : ValueString(other.view()) {}
  ValueString(ValueString&& other) noexcept { swap(other); }
  ValueString& operator=(ValueString other) noexcept {
    swap(other);
    return *this;
  }
  ~ValueString() { ReleaseValueMemory(data_); }

  std::size_t size() const noexcept { return size_; }
  bool empty() const noexcept { return size_ == 0; }
  char* data() noexcept { return data_; }
  const char* data() const noexcept { return data_ != nullptr ? data_ : ""; }
  const char* c_str() const noexcept { return data(); }
  std::string_view view() const noexcept { return {data(), size_}; }
  operator std::string_view() const noexcept { return view(); }  // NOLINT: a view of the bytes
  char& operator[](std::size_t i) noexcept { return data_[i]; }

  void reserve(std::size_t bytes);  // room for this many bytes, exactly
  void append(std::string_view bytes);
  void resize(std::size_t bytes);  // new bytes are zero
  std::size_t find(char c) const noexcept { return view().find(c); }
  void swap(ValueString& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    std::swap(capacity_, other.capacity_);
  }

  friend bool operator==(const ValueString& a, const ValueString& b) noexcept { return a.view() == b.view(); }

 private:
  char* data_ = nullptr;  // size_ bytes and a NUL, or nothing at all
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace vorlakin
