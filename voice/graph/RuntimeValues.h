// The runtime's side of value access and substitution: the call-flow
// controls of the registry, the process's Frames, whether the system runs,
// the user prompt through the owner's Frame and the channel log.
#pragma once
#include "Substitute.h"

namespace kvo {

// The one ValueContext of the process.
ValueContext& RuntimeValues();

// While a greeting editor page exists no value is read (the page would see
// a line's values as its own).
void SetGreetingsPageOpen(bool open);

}  // namespace kvo
