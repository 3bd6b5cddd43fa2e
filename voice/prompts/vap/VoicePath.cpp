#include "VoicePath.h"

#include <algorithm>
#include <cctype>

namespace kvo {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Trailing separators do not make two directories different.
std::string_view Trimmed(std::string_view dir) {
    while (dir.size() > 1 && IsSeparator(dir.back())) dir.remove_suffix(1);
    return dir;
}

}  // namespace

bool SameVoiceName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool IsAbsoluteVoiceName(std::string_view name) {
    return (!name.empty() && IsSeparator(name[0])) || (name.size() >= 2 && name[1] == ':');
}

std::string JoinVoicePath(std::string_view dir, std::string_view name) {
    std::string path(dir);
    // A folder written with slashes only (as on the native build) keeps them.
    const bool slashes = dir.find('/') != std::string_view::npos && dir.find('\\') == std::string_view::npos;
    if (!path.empty() && !IsSeparator(path.back())) path += slashes ? '/' : '\\';
    path += name;
    return path;
}

std::vector<std::string> VoiceCandidates(std::string_view name, const VoiceDirs& dirs) {
    if (IsAbsoluteVoiceName(name)) return {std::string(name)};
    std::vector<std::string> tried;
    std::vector<std::string_view> seen;
    for (const std::string* dir : {&dirs.first, &dirs.project, &dirs.system}) {
        const std::string_view d = Trimmed(*dir);
        // An unset fallback directory adds nothing; an unset first one still
        // gives the bare name, as a plain open would.
        if (d.empty() && dir != &dirs.first) continue;
        if (std::any_of(seen.begin(), seen.end(), [&](std::string_view s) { return SameVoiceName(s, d); }))
            continue;
        seen.push_back(d);
        tried.push_back(JoinVoicePath(*dir, name));
    }
    return tried;
}

ResolvedVoiceName ResolveVoiceName(std::string_view name, const VoiceDirs& dirs,
                                   const std::function<bool(const std::string&)>& exists) {
    const std::vector<std::string> tried = VoiceCandidates(name, dirs);
    for (const std::string& path : tried)
        if (exists(path)) return {path, true};
    return {tried.front(), false};
}

}  // namespace kvo
