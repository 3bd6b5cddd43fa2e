#include "SharedState.h"

namespace qnav {

// Only the hook library itself places the block in its shared section, so
// every process that maps the library sees one copy. Test programs that link
// the hook's code directly get a private block: a shared section there would
// be shared by every running copy of that test.
#ifdef QNAVHOOK_SHARED_SECTION
SharedHookState g_shared __attribute__((section(".shared"), shared)) = {};
#else
SharedHookState g_shared = {};
#endif

}  // namespace qnav
