// The includes of a document and where to look for them: the #include scan
// of C-like sources, the /I directories of a project file, and bounded path
// joins (a candidate longer than a path may be is skipped, never cut).
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>
#include "AsmIncludes.h"
#include "Outline.h"

namespace qnav::text {

// Reports the name of every #include (or ??=include) outside comments and
// literals, as written between <> or ""; returns how many.
int ScanCIncludes(qv::LineSource& lines, qv::IncludeSink& includes);

// The quoted directories after " /I" on the project file's lines (a quoted
// part may follow a backslash continuation), ';'-separated, at most
// kMaxIncludeDirs characters; lines starting with '#' or '!' are skipped.
constexpr std::size_t kMaxIncludeDirs = 2048;
std::string ProjectIncludeDirs(std::string_view projectText);

// Longest path the include search builds (MAX_PATH less the terminator).
constexpr std::size_t kMaxPath = 259;

// An absolute name: starts with '\\' or '/', or has ':' second.
bool IsAbsolutePath(std::string_view name);

// `dir` + separator + `name` into `out`; false when it would pass kMaxPath.
bool JoinPath(std::string_view dir, std::string_view name, std::string& out);

// The directory part of a path, with its trailing separator ("" if none).
std::string DirectoryOf(std::string_view path);

// The places, in order, an include is looked for: the absolute name itself,
// or the document's directory, the project's directory, each project /I
// directory and each IDE include directory (relative ones taken from the
// project's directory); over-long candidates are left out. The bare name,
// the last resort, is not among them.
std::vector<std::string> IncludeCandidates(std::string_view name, std::string_view documentPath,
                                           std::string_view projectPath, std::string_view projectDirs,
                                           std::string_view ideDirs);

// ASCII upper case, as paths are compared and stored.
std::string UpperPath(std::string_view path);

}  // namespace qnav::text
