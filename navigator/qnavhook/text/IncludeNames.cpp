#include "IncludeNames.h"

namespace qnav::text {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool StartsWithWord(std::string_view s, std::size_t i, std::string_view word) {
    return s.substr(i, word.size()) == word;
}

// After '#': blanks, "include", blanks and a bracketed or quoted name.
void MatchDirective(const char* l, std::size_t n, std::size_t i, qv::IncludeSink& sink, int& count) {
    const std::string_view line(l, n);
    while (i < n && IsBlank(l[i])) ++i;
    if (!StartsWithWord(line, i, "include")) return;
    i += 7;
    while (i < n && IsBlank(l[i])) ++i;
    if (i >= n || (l[i] != '<' && l[i] != '"')) return;
    const std::size_t start = ++i;
    while (i < n && l[i] != '>' && l[i] != '"' && l[i] != '\r' && l[i] != '\n' && i - start < qv::kMaxIncludeName) ++i;
    if (i == start) return;
    sink.AddInclude(l + start, i - start);
    ++count;
}

}  // namespace

int ScanCIncludes(qv::LineSource& lines, qv::IncludeSink& includes) {
    enum { Code, Block } state = Code;
    int count = 0;
    std::size_t n = 0;
    while (const char* l = lines.NextLine(n)) {
        for (std::size_t i = 0; i < n; ++i) {
            const char c = l[i];
            if (state == Block) {
                if (c == '*' && i + 1 < n && l[i + 1] == '/') { state = Code; ++i; }
                continue;
            }
            if (c == '/' && i + 1 < n && l[i + 1] == '/') break;
            if (c == '/' && i + 1 < n && l[i + 1] == '*') { state = Block; ++i; continue; }
            if (c == '"' || c == '\'') {
                for (++i; i < n && l[i] != c; ++i)
                    if (l[i] == '\\') ++i;
                continue;
            }
            if (c == '#') { MatchDirective(l, n, i + 1, includes, count); break; }
            if (c == '?' && i + 2 < n && l[i + 1] == '?' && l[i + 2] == '=') {
                MatchDirective(l, n, i + 3, includes, count);
                break;
            }
        }
    }
    return count;
}

namespace {

// Physical lines joined where one ends in a backslash: the project file's
// logical lines.
std::vector<std::string> LogicalLines(std::string_view text) {
    std::vector<std::string> out(1);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view l = text.substr(start, end - start);
        while (!l.empty() && (l.back() == '\r' || IsBlank(l.back()))) l.remove_suffix(1);
        const bool continued = !l.empty() && l.back() == '\\';
        if (continued) l.remove_suffix(1);
        out.back().append(l);
        if (continued) out.back() += ' ';
        else out.emplace_back();
        start = end + 1;
    }
    return out;
}

}  // namespace

std::string ProjectIncludeDirs(std::string_view text) {
    std::string out;
    for (const std::string& line : LogicalLines(text)) {
        if (line.empty() || line[0] == '#' || line[0] == '!') continue;
        for (std::size_t at = line.find("/I"); at != std::string::npos; at = line.find("/I", at + 2)) {
            if (at == 0 || !IsBlank(line[at - 1])) continue;
            std::size_t q = at + 2;
            while (q < line.size() && IsBlank(line[q])) ++q;
            if (q >= line.size() || line[q] != '"') continue;
            const std::size_t end = line.find('"', q + 1);
            if (end == std::string::npos) continue;
            const std::string_view dir = std::string_view(line).substr(q + 1, end - q - 1);
            if (dir.empty() || out.size() + dir.size() + (out.empty() ? 0 : 1) > kMaxIncludeDirs) continue;
            if (!out.empty()) out += ';';
            out.append(dir);
        }
    }
    return out;
}

bool IsAbsolutePath(std::string_view name) {
    return !name.empty() && (name[0] == '\\' || name[0] == '/' || (name.size() > 1 && name[1] == ':'));
}

bool JoinPath(std::string_view dir, std::string_view name, std::string& out) {
    const bool separator = !dir.empty() && dir.back() != '\\' && dir.back() != '/';
    if (dir.size() + (separator ? 1 : 0) + name.size() > kMaxPath) return false;
    out.assign(dir);
    if (separator) out += '\\';
    out.append(name);
    return true;
}

std::string DirectoryOf(std::string_view path) {
    const std::size_t cut = path.find_last_of("\\/:");
    return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut + 1));
}

std::vector<std::string> IncludeCandidates(std::string_view name, std::string_view documentPath,
                                           std::string_view projectPath, std::string_view projectDirs,
                                           std::string_view ideDirs) {
    std::vector<std::string> out;
    std::string joined;
    if (IsAbsolutePath(name)) {
        if (name.size() <= kMaxPath) out.emplace_back(name);
        return out;
    }
    auto add = [&](std::string_view dir) {
        if (JoinPath(dir, name, joined)) out.push_back(joined);
    };
    if (!documentPath.empty()) add(DirectoryOf(documentPath));
    const std::string projectDir = projectPath.empty() ? std::string() : DirectoryOf(projectPath);
    if (!projectPath.empty()) add(projectDir);
    for (std::string_view list : {projectDirs, ideDirs}) {
        std::size_t start = 0;
        while (start <= list.size()) {
            std::size_t end = list.find(';', start);
            if (end == std::string_view::npos) end = list.size();
            std::string_view dir = list.substr(start, end - start);
            while (!dir.empty() && IsBlank(dir.front())) dir.remove_prefix(1);
            while (!dir.empty() && IsBlank(dir.back())) dir.remove_suffix(1);
            if (!dir.empty()) {
                std::string full;
                if (IsAbsolutePath(dir) || projectDir.empty()) add(dir);
                else if (JoinPath(projectDir, dir, full)) add(full);
            }
            start = end + 1;
        }
    }
    return out;
}

std::string UpperPath(std::string_view path) {
    std::string out(path);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

}  // namespace qnav::text
