// Where a prompt or wave file named in a phrase or in the editor is looked
// for. Only names are handled here; whether a file is there is asked of the
// caller, so the run time can use its own file calls (and log a miss as
// "file open error '%s', code %lx" with the path this returns).
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kvo {

// A name that starts with a backslash (or slash) or has a colon as its second
// character is used as it is.
bool IsAbsoluteVoiceName(std::string_view name);

// `dir` and `name` joined with one backslash between them (a slash when the
// folder is written with slashes only).
std::string JoinVoicePath(std::string_view dir, std::string_view name);

struct VoiceDirs {
    std::string first;    // run time: the channel's language directory; editor: the project voice directory
    std::string project;  // the frame's voice directory
    std::string system;   // the system voice directory of KVO32.INI
};

// The paths tried for `name`, in order: the name itself when absolute; else
// the name in `first`, then in `project`, then in `system`, each directory
// tried once (directories compared without regard to case).
std::vector<std::string> VoiceCandidates(std::string_view name, const VoiceDirs& dirs);

struct ResolvedVoiceName {
    std::string path;  // the first candidate that exists, else the first one tried
    bool found = false;
};
ResolvedVoiceName ResolveVoiceName(std::string_view name, const VoiceDirs& dirs,
                                   const std::function<bool(const std::string&)>& exists);

// Case-insensitive (ASCII) equality, as file names compare on the platform.
bool SameVoiceName(std::string_view a, std::string_view b);

}  // namespace kvo
