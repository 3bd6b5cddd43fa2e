// One scanner per family of documents; each reads the whole document once
// and returns the number of items it reported.
#pragma once
#include "Outline.h"
#include "ScanOptions.h"

namespace qv {

using ScanFunction = int (*)(LineSource& lines, ItemSink& items, const ScanOptions& options);

int ScanCpp(LineSource& lines, ItemSink& items, const ScanOptions& options);
int ScanAssembler(LineSource& lines, ItemSink& items, const ScanOptions& options);
int ScanResource(LineSource& lines, ItemSink& items, const ScanOptions& options);
int ScanSections(LineSource& lines, ItemSink& items, const ScanOptions& options);
int ScanBasic(LineSource& lines, ItemSink& items, const ScanOptions& options);
int ScanPascal(LineSource& lines, ItemSink& items, const ScanOptions& options);
int ScanFaults(LineSource& lines, ItemSink& items, const ScanOptions& options);
int ScanSubjects(LineSource& lines, ItemSink& items, const ScanOptions& options);

}  // namespace qv
