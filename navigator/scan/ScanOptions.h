// What a scan reads from the settings: the parser flags and the IDE's line
// convention. Filled from HookSettings inside the IDE, from the command line
// in qnavscan.
#pragma once

namespace qv {

struct ScanOptions {
    bool cTemplates = true;
    bool cClasses = true;
    bool cStructs = true;
    bool cMacros = true;
    bool cDefines = true;
    bool cMFCMacros = true;
    bool asmStructs = true;
    bool asmMacros = true;
    bool ShowQualifiedClass = true;
    bool ShowBaseList = true;
    bool ShowProcAttributes = true;
    // Developer Studio lines carry their own newline; Visual C++ 2.x lines
    // do not, and the C/C++ scanner supplies it.
    bool linesCarryNewline = true;
};

}  // namespace qv
