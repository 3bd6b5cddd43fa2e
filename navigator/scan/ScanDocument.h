// One entry for the outline list and qnavscan: the scanner that belongs to a
// document kind.
#pragma once
#include "DocKind.h"
#include "Outline.h"
#include "ScanOptions.h"

namespace qv {

// True when the kind has an outline (C/C++, assembler, resource scripts,
// section files, Basic, Pascal, logs and digests).
bool HasOutline(DocKind kind);

// Scans the document with its kind's scanner; a kind without an outline
// reports nothing. Returns the number of items.
int ScanDocument(DocKind kind, LineSource& lines, ItemSink& items, const ScanOptions& options);

}  // namespace qv
