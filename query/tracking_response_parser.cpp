#include "query/tracking_response_parser.h"

#include "text/byte_search.h"
#include "text/text_between.h"
#include "text/text_operations.h"

namespace vorlakin {
namespace {

constexpr char kSplitWord[] = "time";
constexpr char kTimeOpener[] = "\":\"";
constexpr char kTimeCloser[] = "\",\"";
constexpr char kContextOpener[] = "context\":\"";
constexpr char kContextCloser[] = "\"}";

// The markers, prepared once for GetTextBetween's search from the first
// byte with ASCII letters matched regardless of case. None of them holds the
// quotation-mark placeholder, so they are searched as they stand.
struct Markers {
  detail::Needle timeOpener{kTimeOpener, true};
  detail::Needle timeCloser{kTimeCloser, true};
  detail::Needle contextOpener{kContextOpener, true};
  detail::Needle contextCloser{kContextCloser, true};
};

Text ValueBetween(std::string_view piece, const detail::Needle& opener, const detail::Needle& closer) {
  return FindBetween(piece, opener, closer, 0).ToText();
}

}  // namespace

std::vector<TrackingRow> ParseTrackingResponse(const Text& reply) {
  // SplitText's pieces, looked at in place rather than copied: piece 1 (the
  // text before the first "time") is skipped, every later piece is one row.
  static const Markers markers;
  std::vector<TrackingRow> rows;
  bool first = true;
  ForEachSplitPiece(reply.View(), kSplitWord, [&](std::string_view piece) {
    if (!first) {
      rows.push_back(
          {ValueBetween(piece, markers.timeOpener, markers.timeCloser),
           ValueBetween(piece, markers.contextOpener, markers.contextCloser)});
    }
    first = false;
    return true;
  });
  return rows;
}

}  // namespace vorlakin
