#include "web/pending_messages.h"

namespace vorlakin {
namespace {

PendingMessagePump gPump = nullptr;

}  // namespace

void SetPendingMessagePump(PendingMessagePump pump) { gPump = pump; }

void ProcessPendingMessages() {
  if (gPump != nullptr) {
    gPump();
  }
}

}  // namespace vorlakin
