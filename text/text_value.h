#pragma once
// The program's three value types and the operations that work on them
// directly.
//
//   Text       GBK bytes with no NUL inside; absent or present, where the
//              present value may be empty. Every operation treats the two
//              empty forms alike; only a platform call that takes a string
//              pointer sees the difference (absent is a null pointer).
//   ByteBuffer counted bytes, NUL bytes allowed; absent or present.
//   TextArray  members addressed 1..n, each a Text.
//
// Lengths, positions and counts are in bytes; positions start at 1.

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <vector>

#include "text/value_memory.h"

namespace vorlakin {

class Text {
 public:
  Text() noexcept = default;  // absent
  // A literal of the program: present, even when it is "". Bytes after a NUL
  // cannot be part of a text. A null pointer gives the absent text.
  Text(const char* literal);  // NOLINT(google-explicit-constructor): literals read naturally
  // Present text of these bytes, cut at the first NUL.
  static Text Present(std::string_view bytes);
  // Absent when there are no bytes, as every operation's result is.
  static Text PresentOrAbsent(std::string_view bytes);
  static Text Adopt(ValueString&& bytes);  // present; bytes must hold no NUL
  // Bytes cut from another text, so they hold no NUL: absent when empty.
  static Text Slice(std::string_view bytesOfAText);

  bool IsAbsent() const noexcept { return !bytes_.has_value(); }
  bool IsEmpty() const noexcept { return !bytes_ || bytes_->empty(); }
  std::int64_t Length() const noexcept { return bytes_ ? static_cast<std::int64_t>(bytes_->size()) : 0; }
  std::string_view View() const noexcept { return bytes_ ? std::string_view(*bytes_) : std::string_view(); }
  // The NUL-ended bytes, or a null pointer for the absent text.
  const char* CString() const noexcept { return bytes_ ? bytes_->c_str() : nullptr; }

  // Absent and present-empty differ here: tests and platform calls care.
  friend bool operator==(const Text&, const Text&) = default;

 private:
  std::optional<ValueString> bytes_;
};

class ByteBuffer {
 public:
  ByteBuffer() noexcept = default;  // absent
  static ByteBuffer Present(std::string_view bytes);
  static ByteBuffer PresentOrAbsent(std::string_view bytes);
  static ByteBuffer Adopt(ValueString&& bytes);

  bool IsAbsent() const noexcept { return !bytes_.has_value(); }
  bool IsEmpty() const noexcept { return !bytes_ || bytes_->empty(); }
  std::int64_t Length() const noexcept { return bytes_ ? static_cast<std::int64_t>(bytes_->size()) : 0; }
  std::string_view View() const noexcept { return bytes_ ? std::string_view(*bytes_) : std::string_view(); }
  // Where a platform read may write; null for the absent buffer.
  char* MutableData() noexcept { return bytes_ ? bytes_->data() : nullptr; }
  // The storage itself, for a conversion that keeps it; the buffer is used up.
  ValueString TakeBytes() && { return bytes_ ? std::move(*bytes_) : ValueString(); }

  friend bool operator==(const ByteBuffer&, const ByteBuffer&) = default;

 private:
  friend ByteBuffer ConcatByteBuffers(ByteBuffer&& first, const ByteBuffer& second);
  std::optional<ValueString> bytes_;
};

class TextArray {
 public:
  std::int64_t MemberCount() const noexcept { return static_cast<std::int64_t>(members_.size()); }

  // Members 1..n. An index below 1 is fatal with code 4, one above the member
  // count fatal with code 1.
  const Text& operator[](std::int64_t index) const;
  Text& operator[](std::int64_t index);

  void Append(Text member) { members_.push_back(std::move(member)); }

  friend bool operator==(const TextArray&, const TextArray&) = default;

 private:
  std::size_t CheckedOffset(std::int64_t index) const;
  std::vector<Text, ValueAllocator<Text>> members_;
};

// -1, 0 or 1, comparing unsigned bytes; a prefix orders first.
int CompareTextBytes(const Text& a, const Text& b);

std::int64_t TextLength(const Text& text);

// The bytes of every argument in order; always present.
Text ConcatTextViews(std::initializer_list<std::string_view> parts);
inline std::string_view ViewOf(const Text& text) noexcept { return text.View(); }
inline std::string_view ViewOf(const char* literal) noexcept { return literal ? literal : ""; }
template <class First, class Second, class... More>
Text ConcatTexts(const First& first, const Second& second, const More&... more) {
  return ConcatTextViews({ViewOf(first), ViewOf(second), ViewOf(more)...});
}

// Absent when the total is empty.
ByteBuffer ConcatByteBuffers(const ByteBuffer& first, const ByteBuffer& second);
// The same value, grown in place: for a buffer that keeps growing, such as
// a reply read chunk by chunk, without copying it whole each time.
ByteBuffer ConcatByteBuffers(ByteBuffer&& first, const ByteBuffer& second);

// Drops the fraction, toward zero. A value beyond the 64-bit range (or NaN)
// gives the lowest 64-bit integer, as the processor's conversion does.
std::int64_t TruncateToInteger(double value);

std::int64_t ArrayMemberCount(const TextArray& array);

}  // namespace vorlakin
