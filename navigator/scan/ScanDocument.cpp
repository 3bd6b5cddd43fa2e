#include "ScanDocument.h"
#include "Scanners.h"

namespace qv {

namespace {

ScanFunction ScannerFor(DocKind kind) {
    switch (kind) {
    case kKindC:
    case kKindCpp:
    case kKindHeader: return ScanCpp;
    case kKindAsm:
    case kKindAsmInclude: return ScanAssembler;
    case kKindResource: return ScanResource;
    case kKindSections:
    case kKindHelpProject: return ScanSections;
    case kKindBasic: return ScanBasic;
    case kKindPascal: return ScanPascal;
    case kKindLog: return ScanFaults;
    case kKindDigest: return ScanSubjects;
    default: return nullptr;
    }
}

}  // namespace

bool HasOutline(DocKind kind) { return ScannerFor(kind) != nullptr; }

int ScanDocument(DocKind kind, LineSource& lines, ItemSink& items, const ScanOptions& options) {
    const ScanFunction scan = ScannerFor(kind);
    return scan ? scan(lines, items, options) : 0;
}

}  // namespace qv
