#include "text/text_operations.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <locale.h>  // newlocale, strtod_l
#include <string>

#include "text/byte_search.h"

namespace vorlakin {
namespace {

std::size_t Clamp(std::int64_t value, std::size_t high) {
  if (value <= 0) {
    return 0;
  }
  return static_cast<std::uint64_t>(value) > high ? high : static_cast<std::size_t>(value);
}

// The walk of TextToUpper and TextToLower: one-byte characters change, pairs
// are skipped whole, a lone lead byte at the end stays.
template <class ChangeByte>
Text ChangeOneByteCharacters(const Text& text, ChangeByte change) {
  if (text.IsEmpty()) {
    return Text();
  }
  ValueString bytes(text.View());
  const std::size_t n = bytes.size();
  for (std::size_t i = 0; i < n;) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      bytes[i] = static_cast<char>(change(b));
      ++i;
    } else {
      i += 2;
    }
  }
  return Text::Adopt(std::move(bytes));
}

// Full-width forms that TextToNumber reads as ASCII.
void AppendHalfWidth(std::string& out, unsigned char lead, unsigned char trail) {
  if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
    out += static_cast<char>(trail & 0x7F);
  } else if (lead == 0xA1 && trail == 0xA1) {
    out += ' ';
  } else if (lead == 0xA1 && trail == 0xAB) {
    out += '~';
  } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
    out += '*';
  } else {
    out += static_cast<char>(lead);
    out += static_cast<char>(trail);
  }
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Upper case of a code page 936 double-byte character, as lead * 256 + trail.
unsigned UpperDoubleByte(unsigned lead, unsigned trail) {
  if (lead == 0xA3 && trail >= 0xE1 && trail <= 0xFA) return lead * 256 + trail - 0x20;  // ａ-ｚ
  if (lead == 0xA6 && trail >= 0xC1 && trail <= 0xD8) return lead * 256 + trail - 0x20;  // α-ω
  if (lead == 0xA7 && trail >= 0xD1 && trail <= 0xF1) return lead * 256 + trail - 0x30;  // а-я
  if (lead == 0xA2 && trail >= 0xA1 && trail <= 0xAA) return lead * 256 + trail + 0x50;  // ⅰ-ⅹ
  return lead * 256 + trail;
}

// The next character of code page 936 text, or 0 at the end; a lead byte
// (0x81-0xFE) right before the end counts as the end.
unsigned NextCodePageCharacter(std::string_view text, std::size_t& i, bool caseSensitive) {
  if (i >= text.size()) {
    return 0;
  }
  const auto b = static_cast<unsigned char>(text[i]);
  if (b >= 0x81 && b <= 0xFE) {
    if (i + 1 >= text.size()) {
      i = text.size();
      return 0;
    }
    const auto trail = static_cast<unsigned char>(text[i + 1]);
    i += 2;
    return caseSensitive ? b * 256u + trail : UpperDoubleByte(b, trail);
  }
  ++i;
  return caseSensitive ? b : detail::FoldAscii(b);
}

}  // namespace

Text TextLeft(const Text& text, std::int64_t count) {
  return Text::Slice(text.View().substr(0, Clamp(count, text.View().size())));
}

Text TextRight(const Text& text, std::int64_t count) {
  const std::string_view bytes = text.View();
  const std::size_t m = Clamp(count, bytes.size());
  return Text::Slice(bytes.substr(bytes.size() - m));
}

Text TextMiddle(const Text& text, std::int64_t start, std::int64_t count) {
  const std::string_view bytes = text.View();
  if (start < 1 || static_cast<std::uint64_t>(start - 1) >= bytes.size() || count <= 0) {
    return Text();
  }
  const auto offset = static_cast<std::size_t>(start - 1);
  return Text::Slice(bytes.substr(offset, Clamp(count, bytes.size() - offset)));
}

std::int64_t FindText(const Text& text, const Text& subtext, std::int64_t start, bool caseInsensitive) {
  return detail::FindBytes(text.View(), subtext.View(), start, caseInsensitive);
}

Text TextToUpper(const Text& text) {
  return ChangeOneByteCharacters(text, [](unsigned char b) {
    return (b >= 'a' && b <= 'z') ? static_cast<unsigned char>(b - 0x20) : b;
  });
}

Text TextToLower(const Text& text) { return ChangeOneByteCharacters(text, detail::FoldAscii); }

double TextToNumber(const Text& text) {
  const std::string_view bytes = text.View();
  std::string s;
  s.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      s += static_cast<char>(b);
      ++i;
    } else if (i + 1 < bytes.size()) {
      AppendHalfWidth(s, b, static_cast<unsigned char>(bytes[i + 1]));
      i += 2;
    } else {
      break;  // a lone lead byte is dropped and ends the pass
    }
  }

  std::size_t i = s.find_first_not_of(" \t\n\v\f\r");
  if (i == std::string::npos) {
    return 0.0;
  }
  std::string number;
  if (s[i] == '+' || s[i] == '-') {
    number += s[i++];
  }
  std::size_t digits = 0;
  for (; i < s.size() && IsDigit(s[i]); ++i, ++digits) number += s[i];
  if (i < s.size() && s[i] == '.') {
    number += s[i++];
    for (; i < s.size() && IsDigit(s[i]); ++i, ++digits) number += s[i];
  }
  if (digits == 0) {
    return 0.0;
  }
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
      exponent += s[j++];
    }
    if (j < s.size() && IsDigit(s[j])) {
      for (; j < s.size() && IsDigit(s[j]); ++j) exponent += s[j];
      number += exponent;
    }
  }
  // The C locale's decimal point, whatever the process locale says.
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return strtod_l(number.c_str(), nullptr, cLocale);
}

Text ReplaceTextAt(const Text& text, std::int64_t position, std::int64_t count, const Text& replacement) {
  const std::string_view bytes = text.View();
  const std::size_t s = Clamp(position - 1, bytes.size());
  const std::size_t d = Clamp(count, bytes.size() - s);
  ValueString out;
  out.reserve(bytes.size() - d + replacement.View().size());
  out.append(bytes.substr(0, s));
  out.append(replacement.View());
  out.append(bytes.substr(s + d));
  return out.empty() ? Text() : Text::Adopt(std::move(out));
}

Text ReplaceSubtext(const Text& text, const Text& subtext, const Text& replacement, std::int64_t start,
                    std::optional<std::int64_t> count, bool caseSensitive) {
  const std::string_view bytes = text.View();
  const std::string_view needle = subtext.View();
  const std::size_t begin = start > 1 ? Clamp(start - 1, bytes.size()) : 0;
  if (bytes.empty() || needle.empty() || begin >= bytes.size() || (count && *count == 0)) {
    return Text::Slice(bytes);
  }
  ValueString out;
  out.reserve(bytes.size());
  std::size_t copied = 0;  // bytes before this offset are in `out`
  std::int64_t replaced = 0;
  detail::ForEachMatch(bytes, needle, !caseSensitive, begin, [&](std::size_t hit) {
    out.append(bytes.substr(copied, hit - copied));
    out.append(replacement.View());
    copied = hit + needle.size();
    return !(count && *count > 0 && ++replaced == *count);
  });
  out.append(bytes.substr(copied));
  return out.empty() ? Text() : Text::Adopt(std::move(out));
}

TextArray SplitText(const Text& text, const Text& delimiter, std::optional<std::int64_t> maxMembers) {
  TextArray members;
  if (maxMembers && *maxMembers <= 0) {
    return members;
  }
  ForEachSplitPiece(text.View(), delimiter.View(), [&](std::string_view piece) {
    members.Append(Text::Slice(piece));
    return !maxMembers || members.MemberCount() < *maxMembers;  // with a limit, the rest is dropped
  });
  return members;
}

Text BlankText(std::int64_t count) {
  if (count <= 0) {
    return Text();
  }
  return Text::Adopt(ValueString(static_cast<std::size_t>(count), ' '));
}

int CompareText(const Text& a, const Text& b, bool caseSensitive) {
  const std::string_view x = a.View();
  const std::string_view y = b.View();
  std::size_t i = 0;
  std::size_t j = 0;
  for (;;) {
    // Texts hold no NUL, so 0 marks the end and orders before any character.
    const unsigned cx = NextCodePageCharacter(x, i, caseSensitive);
    const unsigned cy = NextCodePageCharacter(y, j, caseSensitive);
    if (cx != cy) {
      return cx < cy ? -1 : 1;
    }
    if (cx == 0) {
      return 0;
    }
  }
}

ByteBuffer BytesLeft(const ByteBuffer& buffer, std::int64_t count) {
  return ByteBuffer::PresentOrAbsent(buffer.View().substr(0, Clamp(count, buffer.View().size())));
}

ByteBuffer BytesLeft(ByteBuffer&& buffer, std::int64_t count) {
  const std::size_t keep = Clamp(count, buffer.View().size());
  if (keep == 0) {
    return ByteBuffer();
  }
  ValueString bytes = std::move(buffer).TakeBytes();
  bytes.resize(keep);
  return ByteBuffer::Adopt(std::move(bytes));
}

ByteBuffer BlankBytes(std::int64_t count) {
  if (count <= 0) {
    return ByteBuffer();
  }
  return ByteBuffer::Adopt(ValueString(static_cast<std::size_t>(count), '\0'));
}

Text ToText(const ByteBuffer& buffer) {
  const std::string_view bytes = buffer.View();
  return Text::Slice(bytes.substr(0, bytes.find('\0')));
}

Text ToText(ByteBuffer&& buffer) {
  ValueString bytes = std::move(buffer).TakeBytes();
  const std::size_t nul = bytes.find('\0');
  if (nul != ValueString::npos) {
    bytes.resize(nul);
  }
  return bytes.empty() ? Text() : Text::Adopt(std::move(bytes));
}

Text ToText(std::int64_t number) { return Text::Present(std::to_string(number)); }

Text ToText(const Text& text) { return Text::Slice(text.View()); }

}  // namespace vorlakin
