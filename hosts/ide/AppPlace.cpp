// The fixed places of the application object. This file must be the first
// object on the link line: after the start-up code's few words, the 256-byte
// alignment puts each place at offset 0x100 of its section (checked at start).
#include "AppObject.h"

namespace ide {

// A non-zero initialiser keeps this one in ".data".
alignas(256) unsigned char g_dataPlace[kPlaceSize] = {1};
// Zero-initialised, so in ".bss".
alignas(256) unsigned char g_bssPlace[kPlaceSize];

}  // namespace ide
