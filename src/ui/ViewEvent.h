// Runs an event of a view's form. The form may close or even destroy the view
// inside the event, so the view shares an `alive` flag that its destructor
// clears; once it is clear nothing of the view may be touched.
#pragma once

#include <memory>

namespace krv {

// Runs `event(events)` unless the view is closed; true when the view still
// stands, open, afterwards.
template <typename Events, typename F>
bool FireViewEvent(const std::shared_ptr<bool>& alive, const bool& closed, Events& events, F&& event) {
  if (closed) return false;
  const std::shared_ptr<bool> kept = alive;  // `alive` itself goes with the view
  event(events);
  return *kept && !closed;
}

}  // namespace krv
