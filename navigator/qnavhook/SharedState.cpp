#include "SharedState.h"

namespace qnav {

// Zero-initialised but explicitly placed: the linker marks the section shared
// so every process that maps the library sees one copy.
SharedHookState g_shared __attribute__((section(".shared"), shared)) = {};

}  // namespace qnav
