#pragma once
// One complete HTTP exchange: sends the request with browser-like header
// lines, reads the whole body in 512-byte chunks (letting the window handle
// its queued messages before each), and returns the body as text. Reports
// no error: a failure gives the empty text, or the part of the body read
// before it. Each call opens and closes its own handles.

#include <optional>

#include "text/text_value.h"

namespace vorlakin {

// url:             where to go; also the value of the default Referer line.
// method:          "post" in any letter case sends a POST with the verb as
//                  spelled; anything else (or nothing) a GET.
// proxy:           when given (even empty), the request goes through the
//                  http proxy "host:port" it names.
// extraHeaders:    the caller's header lines, each ended by CR LF; the
//                  Accept, Referer and Accept-Language lines are added
//                  where the text does not name them.
// postData:        the body of a POST; a GET sends none.
// responseHeaders: when given, receives the raw response head, or 1024
//                  spaces when it cannot be had (a head over 1023 bytes).
// Returns the body up to its first NUL byte.
Text FetchWebPage(const Text& url, const Text& method = Text(), const std::optional<Text>& proxy = std::nullopt,
                  const Text& extraHeaders = Text(), const Text& postData = Text(), Text* responseHeaders = nullptr);

}  // namespace vorlakin
