#include "text/text_value.h"

#include <cmath>
#include <cstring>

#include "text/fatal_error.h"
#include "text/program_texts.inc"

namespace vorlakin {

Text::Text(const char* literal) {
  if (literal != nullptr) {
    bytes_.emplace(literal);
  }
}

Text Text::Present(std::string_view bytes) {
  const std::size_t nul = bytes.find('\0');
  Text text;
  text.bytes_.emplace(bytes.substr(0, nul));
  return text;
}

Text Text::PresentOrAbsent(std::string_view bytes) {
  return bytes.empty() ? Text() : Present(bytes);
}

Text Text::Slice(std::string_view bytesOfAText) {
  Text text;
  if (!bytesOfAText.empty()) {
    text.bytes_.emplace(bytesOfAText);
  }
  return text;
}

Text Text::Adopt(ValueString&& bytes) {
  Text text;
  text.bytes_.emplace(std::move(bytes));
  return text;
}

ByteBuffer ByteBuffer::Present(std::string_view bytes) {
  ByteBuffer buffer;
  buffer.bytes_.emplace(bytes);
  return buffer;
}

ByteBuffer ByteBuffer::PresentOrAbsent(std::string_view bytes) {
  return bytes.empty() ? ByteBuffer() : Present(bytes);
}

ByteBuffer ByteBuffer::Adopt(ValueString&& bytes) {
  ByteBuffer buffer;
  buffer.bytes_.emplace(std::move(bytes));
  return buffer;
}

std::size_t TextArray::CheckedOffset(std::int64_t index) const {
  if (index < 1) {
    ReportFatalError(4, kIndexBelowOne);
  }
  if (index > MemberCount()) {
    ReportFatalError(1, kIndexAboveCount);
  }
  return static_cast<std::size_t>(index - 1);
}

const Text& TextArray::operator[](std::int64_t index) const { return members_[CheckedOffset(index)]; }

Text& TextArray::operator[](std::int64_t index) { return members_[CheckedOffset(index)]; }

int CompareTextBytes(const Text& a, const Text& b) {
  const std::string_view x = a.View();
  const std::string_view y = b.View();
  const std::size_t common = x.size() < y.size() ? x.size() : y.size();
  const int order = common == 0 ? 0 : std::memcmp(x.data(), y.data(), common);  // memcmp is unsigned
  if (order != 0) {
    return order < 0 ? -1 : 1;
  }
  if (x.size() == y.size()) {
    return 0;
  }
  return x.size() < y.size() ? -1 : 1;
}

std::int64_t TextLength(const Text& text) { return text.Length(); }

Text ConcatTextViews(std::initializer_list<std::string_view> parts) {
  std::size_t total = 0;
  for (const std::string_view part : parts) {
    total += part.size();
  }
  ValueString bytes;
  bytes.reserve(total);
  for (const std::string_view part : parts) {
    bytes.append(part);
  }
  return Text::Adopt(std::move(bytes));
}

ByteBuffer ConcatByteBuffers(const ByteBuffer& first, const ByteBuffer& second) {
  if (first.IsEmpty() && second.IsEmpty()) {
    return ByteBuffer();
  }
  ValueString bytes;
  bytes.reserve(static_cast<std::size_t>(first.Length() + second.Length()));
  bytes.append(first.View());
  bytes.append(second.View());
  return ByteBuffer::Adopt(std::move(bytes));
}

ByteBuffer ConcatByteBuffers(ByteBuffer&& first, const ByteBuffer& second) {
  if (first.IsEmpty()) {
    const ByteBuffer nothing;
    return ConcatByteBuffers(nothing, second);
  }
  ByteBuffer grown = std::move(first);
  grown.bytes_->append(second.View());
  return grown;
}

std::int64_t TruncateToInteger(double value) {
  // 2^63 is exactly representable; anything at or beyond it does not fit.
  constexpr double kLimit = 9223372036854775808.0;
  if (!(value >= -kLimit && value < kLimit)) {
    return INT64_MIN;
  }
  return static_cast<std::int64_t>(std::trunc(value));
}

std::int64_t ArrayMemberCount(const TextArray& array) { return array.MemberCount(); }

}  // namespace vorlakin
