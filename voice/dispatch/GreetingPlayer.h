// Saying a greeting made of wave-file phrases on a line: each file is played
// from the end of its 308-byte header in the system play format, ended by a
// key when the greeting says TermOnDTMF.
#pragma once
#include <string>

#include "SavedForm.h"

namespace kvo {

// Where a wave file header ends and the voice data begins.
constexpr long kWaveDataOffset = 308;

// Plays the greeting's wave phrases on `line` (0-based) and returns the
// voice interface's result (0 when nothing was played). Phrases of other
// kinds are passed over; a file that cannot be opened is logged and skipped.
long PlayWaveGreeting(int line, const GreetingData& greeting);
// True when playing the greeting would send sound to the line: a loop that
// plays it again and again needs another way to pass the time otherwise.
bool GreetingHasSound(const GreetingData& greeting);
// A single wave file, as the greeting `name` (the default phrases).
long PlayWaveFile(int line, const std::string& file, const std::string& name);

}  // namespace kvo
