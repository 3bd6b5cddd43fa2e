// C and Pascal comment every stretch of code between existing comments and
// keep literals whole; the line-comment languages only mark line starts.
#include "CommentText.h"
#include <vector>

namespace qnav::text {

namespace {

enum class Style { None, CLike, Semicolon, Quote, Pascal };

Style StyleOf(qv::DocKind kind) {
    switch (kind) {
    case qv::kKindC: case qv::kKindCpp: case qv::kKindHeader: case qv::kKindResource: return Style::CLike;
    case qv::kKindAsm: case qv::kKindAsmInclude: case qv::kKindDefinition: case qv::kKindSections:
    case qv::kKindHelpProject: return Style::Semicolon;
    case qv::kKindBasic: return Style::Quote;
    case qv::kKindPascal: return Style::Pascal;
    default: return Style::None;
    }
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Lines without their ends, and the ends themselves, so joining them again
// gives back the text byte for byte.
struct Split {
    std::vector<std::string_view> lines;
    std::vector<std::string_view> ends;
};

Split SplitLines(std::string_view text) {
    Split s;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n') continue;
        const std::size_t end = i > start && text[i - 1] == '\r' ? i - 1 : i;
        s.lines.push_back(text.substr(start, end - start));
        s.ends.push_back(text.substr(end, i + 1 - end));
        start = i + 1;
    }
    s.lines.push_back(text.substr(start));
    s.ends.push_back({});
    return s;
}

// `prefix` at the start and after every line end that more text follows.
std::string PrefixLines(std::string_view text, std::string_view prefix) {
    std::string out(prefix);
    for (std::size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == '\n' && i + 1 < text.size()) out += prefix;
    }
    return out;
}

// Per line: after leading blanks, every leading `mark` and one blank go.
std::string StripLineMarks(std::string_view text, char mark) {
    const Split s = SplitLines(text);
    std::string out;
    for (std::size_t n = 0; n < s.lines.size(); ++n) {
        std::string_view l = s.lines[n];
        std::size_t i = 0;
        while (i < l.size() && IsBlank(l[i])) ++i;
        std::size_t j = i;
        while (j < l.size() && l[j] == mark) ++j;
        if (j > i && j < l.size() && l[j] == ' ') ++j;
        out.append(l.substr(0, i)).append(l.substr(j)).append(s.ends[n]);
    }
    return out;
}

// The block-comment languages: how comments open and close and how literals
// are written.
struct BlockSyntax {
    std::string_view open, close;       // the comment this tool writes
    std::string_view lineComment;       // empty if none
    std::string_view altOpen, altClose; // a second block form kept as it is
    bool backslashEscapes;
    std::string_view quotes;
};

constexpr BlockSyntax kC{"/*", "*/", "//", {}, {}, true, "\"'"};
constexpr BlockSyntax kPascal{"(*", "*)", {}, "{", "}", false, "'"};

bool At(std::string_view l, std::size_t i, std::string_view what) {
    return !what.empty() && l.substr(i, what.size()) == what;
}

// Where a literal starting at `i` ends (just past its closing quote, or the line end).
std::size_t LiteralEnd(std::string_view l, std::size_t i, const BlockSyntax& syn) {
    const char q = l[i];
    for (std::size_t j = i + 1; j < l.size(); ++j) {
        if (syn.backslashEscapes && l[j] == '\\') { ++j; continue; }
        if (l[j] == q) return j + 1;
    }
    return l.size();
}

// Which block comment is open across lines: none, ours or the alternative.
enum class Open { None, Main, Alt };

std::string CommentBlocks(std::string_view text, const BlockSyntax& syn) {
    const Split s = SplitLines(text);
    std::string out;
    Open open = Open::None;
    for (std::size_t n = 0; n < s.lines.size(); ++n) {
        const std::string_view l = s.lines[n];
        std::size_t i = 0;
        std::string line;
        while (i < l.size()) {
            if (open != Open::None) {
                const std::string_view close = open == Open::Main ? syn.close : syn.altClose;
                const std::size_t end = l.find(close, i);
                const std::size_t stop = end == std::string_view::npos ? l.size() : end + close.size();
                line.append(l.substr(i, stop - i));
                if (end != std::string_view::npos) open = Open::None;
                i = stop;
                continue;
            }
            if (At(l, i, syn.lineComment)) { line.append(l.substr(i)); break; }
            if (At(l, i, syn.open)) { open = Open::Main; line.append(syn.open); i += syn.open.size(); continue; }
            if (At(l, i, syn.altOpen)) { open = Open::Alt; line.append(syn.altOpen); i += syn.altOpen.size(); continue; }
            if (IsBlank(l[i])) { line += l[i++]; continue; }
            // A stretch of code up to the line end or the next comment.
            std::size_t j = i;
            while (j < l.size() && !At(l, j, syn.lineComment) && !At(l, j, syn.open) && !At(l, j, syn.altOpen))
                j = syn.quotes.find(l[j]) != std::string_view::npos ? LiteralEnd(l, j, syn) : j + 1;
            line.append(syn.open).append(" ").append(l.substr(i, j - i)).append(" ").append(syn.close);
            if (j < l.size()) line += ' ';
            i = j;
        }
        out.append(line).append(s.ends[n]);
    }
    return out;
}

// Per line: a leading line comment mark goes, or a leading block comment
// loses its delimiters (with their extra stars and inner blank).
std::string UncommentBlocks(std::string_view text, const BlockSyntax& syn) {
    const Split s = SplitLines(text);
    const char star = syn.open.back() == '*' ? '*' : syn.open.back();
    std::string out;
    for (std::size_t n = 0; n < s.lines.size(); ++n) {
        const std::string_view l = s.lines[n];
        std::size_t i = 0;
        while (i < l.size() && IsBlank(l[i])) ++i;
        std::string line(l.substr(0, i));
        if (At(l, i, syn.lineComment)) {
            line.append(l.substr(i + syn.lineComment.size()));
        } else if (At(l, i, syn.open)) {
            std::size_t j = i + syn.open.size();
            while (j < l.size() && l[j] == star) ++j;
            if (j < l.size() && l[j] == ' ') ++j;
            std::size_t close = std::string_view::npos;
            for (std::size_t k = j; k < l.size();) {
                if (At(l, k, syn.close)) { close = k; break; }
                k = syn.quotes.find(l[k]) != std::string_view::npos ? LiteralEnd(l, k, syn) : k + 1;
            }
            if (close == std::string_view::npos) {
                line.append(l.substr(j));
            } else {
                std::size_t innerEnd = close;
                while (innerEnd > j && l[innerEnd - 1] == star) --innerEnd;
                if (innerEnd > j && l[innerEnd - 1] == ' ') --innerEnd;
                line.append(l.substr(j, innerEnd - j));
                std::size_t rest = close + syn.close.size();
                // The blank commenting put between our comment and one that follows.
                if (rest + 1 < l.size() && l[rest] == ' ' &&
                    (At(l, rest + 1, syn.open) || At(l, rest + 1, syn.lineComment) || At(l, rest + 1, syn.altOpen)))
                    ++rest;
                line.append(l.substr(rest));
            }
        } else {
            line.append(l.substr(i));
        }
        out.append(line).append(s.ends[n]);
    }
    return out;
}

}  // namespace

bool HasCommentStyle(qv::DocKind kind) { return StyleOf(kind) != Style::None; }

std::optional<std::string> CommentBlock(qv::DocKind kind, bool lineComments, std::string_view text) {
    switch (StyleOf(kind)) {
    case Style::CLike: return lineComments ? PrefixLines(text, "//") : CommentBlocks(text, kC);
    case Style::Semicolon: return PrefixLines(text, "; ");
    case Style::Quote: return PrefixLines(text, "' ");
    case Style::Pascal: return CommentBlocks(text, kPascal);
    case Style::None: break;
    }
    return std::nullopt;
}

std::optional<std::string> UncommentBlock(qv::DocKind kind, std::string_view text) {
    switch (StyleOf(kind)) {
    case Style::CLike: return UncommentBlocks(text, kC);
    case Style::Semicolon: return StripLineMarks(text, ';');
    case Style::Quote: return StripLineMarks(text, '\'');
    case Style::Pascal: return UncommentBlocks(text, kPascal);
    case Style::None: break;
    }
    return std::nullopt;
}

}  // namespace qnav::text
