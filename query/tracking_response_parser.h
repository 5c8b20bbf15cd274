#pragma once
// Cuts the tracking service's reply into events with plain text searches:
// the reply is split at every "time", the text before the first is skipped,
// and each later piece gives one row, its time after `":"` up to `","` and
// its context after `context":"` up to `"}`. No JSON is read: whatever the
// reply holds, the parser gives rows (maybe with empty texts) or none.

#include <vector>

#include "text/text_value.h"

namespace vorlakin {

struct TrackingRow {
  Text time;
  Text context;

  friend bool operator==(const TrackingRow&, const TrackingRow&) = default;
};

std::vector<TrackingRow> ParseTrackingResponse(const Text& reply);

}  // namespace vorlakin
