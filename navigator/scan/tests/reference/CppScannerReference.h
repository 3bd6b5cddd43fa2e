// The previous C/C++ scanner, the oracle the current one is compared with.
#pragma once
#include "Outline.h"
#include "ScanOptions.h"

namespace qv::reference {

int ScanCppReference(LineSource& lines, ItemSink& items, const ScanOptions& options);

}  // namespace qv::reference
