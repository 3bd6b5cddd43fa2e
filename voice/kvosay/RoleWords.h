// What each clip of the system prompt files is recorded to say, in English
// words, so a clip sequence can be read without listening to it.
#pragma once
#include <string>

#include "Clips.h"

namespace kvo {

// The role word of a clip; "?" for a number no role uses.
std::string RoleWord(const Clip& clip);

}  // namespace kvo
