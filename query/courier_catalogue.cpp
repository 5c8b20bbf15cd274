#include "query/courier_catalogue.h"

namespace vorlakin {
namespace {

constexpr std::array<CourierEntry, kCourierCount> kCatalogue = {{
#include "query/courier_table.inc"
}};

constexpr bool ComboPositionsArePermutation() {
  std::array<bool, kCourierCount + 1> seen{};
  for (const CourierEntry& entry : kCatalogue) {
    if (entry.comboPosition < 1 || entry.comboPosition > static_cast<int>(kCourierCount) ||
        seen[static_cast<std::size_t>(entry.comboPosition)]) {
      return false;
    }
    seen[static_cast<std::size_t>(entry.comboPosition)] = true;
  }
  return true;
}
static_assert(ComboPositionsArePermutation(), "combo positions must be 1..79, each once");

constexpr std::array<const CourierEntry*, kCourierCount> MakeComboOrder() {
  std::array<const CourierEntry*, kCourierCount> order{};
  for (const CourierEntry& entry : kCatalogue) {
    order[static_cast<std::size_t>(entry.comboPosition - 1)] = &entry;
  }
  return order;
}

constexpr std::array<const CourierEntry*, kCourierCount> kComboOrder = MakeComboOrder();

}  // namespace

const std::array<CourierEntry, kCourierCount>& CourierCatalogue() { return kCatalogue; }

const std::array<const CourierEntry*, kCourierCount>& CouriersInComboOrder() { return kComboOrder; }

Text LookUpCourierCode(const Text& displayName) {
  Text code;
  for (const CourierEntry& entry : kCatalogue) {
    // Same length, same bytes. Every equal entry sets the result, so a
    // later one would win.
    if (displayName.View() == entry.displayName) {
      code = Text::Present(entry.courierCode);
    }
  }
  return code;
}

}  // namespace vorlakin
