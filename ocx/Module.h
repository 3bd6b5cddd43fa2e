// The kvo32.ocx module handle (for resources), set when the library loads.
#pragma once
#include <windows.h>

namespace kvo {
extern HINSTANCE g_module;
}
