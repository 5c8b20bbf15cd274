#pragma once
// The 79 courier companies the program can query: the name the user picks
// and the code the tracking service expects for it.

#include <array>
#include <cstddef>
#include <string_view>

#include "text/text_value.h"

namespace vorlakin {

struct CourierEntry {
  std::string_view displayName;  // GBK bytes, as shown in the courier box
  std::string_view courierCode;  // lower-case ASCII letters
  int comboPosition;             // 1..79: the place in the courier box
};

inline constexpr std::size_t kCourierCount = 79;

// The entries in table order.
const std::array<CourierEntry, kCourierCount>& CourierCatalogue();

// The entries in the order of the courier box, position 1 first.
const std::array<const CourierEntry*, kCourierCount>& CouriersInComboOrder();

// The code of the entry whose display name has exactly these bytes (case and
// spaces count); the empty text when none has.
Text LookUpCourierCode(const Text& displayName);

}  // namespace vorlakin
