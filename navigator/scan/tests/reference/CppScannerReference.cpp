// The C/C++ scanner as it was before its skipping routines were rewritten for
// speed, kept unchanged as the oracle of the differential test and fuzzer:
// both must report the same items, field for field, for any document.
#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>
#include "LineScan.h"
#include "Scanners.h"

namespace qv::reference {

namespace {

// Character classes; the token types of punctuation are the same numbers.
enum : unsigned char {
    kClassOther = 0,
    kClassIdent = 1,
    kClassWhite = 28,
};

constexpr std::array<unsigned char, 256> MakeClasses() {
    std::array<unsigned char, 256> c{};
    for (int ch = 'a'; ch <= 'z'; ++ch) c[ch] = kClassIdent;
    for (int ch = 'A'; ch <= 'Z'; ++ch) c[ch] = kClassIdent;
    for (int ch = '0'; ch <= '9'; ++ch) c[ch] = kClassIdent;
    c['_'] = c['~'] = kClassIdent;
    c['#'] = 2;
    c['('] = 3;
    c[')'] = 4;
    c['{'] = 5;
    c['}'] = 6;
    c['"'] = 7;
    c['\''] = 8;
    c[','] = 9;
    c[';'] = 10;
    c[':'] = 11;
    c['<'] = 12;
    c['>'] = 13;
    c['['] = 14;
    c[']'] = 15;
    c['*'] = 16;
    c[' '] = c['\t'] = c['\n'] = c['\r'] = kClassWhite;
    return c;
}
constexpr std::array<unsigned char, 256> kClasses = MakeClasses();

inline unsigned char ClassOf(char c) { return kClasses[static_cast<unsigned char>(c)]; }

// The characters a preprocessor line's text reacts to.
constexpr std::array<bool, 256> MakeDirectiveStops() {
    std::array<bool, 256> stops{};
    for (unsigned char c : {'\n', '\\', '/', '"', '\''}) stops[c] = true;
    return stops;
}
constexpr std::array<bool, 256> kDirectiveStops = MakeDirectiveStops();

// What the skipping routines may step over without making tokens: characters
// marked 0 are passed, 1 starts an identifier passed whole, 2 needs a token.
enum : unsigned char { kPass = 0, kPassWord = 1, kStop = 2 };
using StopTable = std::array<unsigned char, 256>;

constexpr StopTable MakeStops(std::string_view stops, std::string_view wordStops) {
    StopTable t{};
    for (int c = 0; c < 256; ++c)
        if (kClasses[c] == kClassIdent) t[c] = kPassWord;
    for (char c : "\"'/") t[static_cast<unsigned char>(c)] = kStop;  // literals, comments
    t[0] = kPass;  // the terminator of the literal above
    for (char c : stops) t[static_cast<unsigned char>(c)] = kStop;
    for (char c : wordStops) t[static_cast<unsigned char>(c)] = kStop;
    return t;
}
// In bodies: braces, directives, and words that may be asm, typedef,
// template, class or struct.
constexpr StopTable kBodyStops = MakeStops("{}#", "_acst");
constexpr StopTable kParenStops = MakeStops("()", "");
constexpr StopTable kAngleStops = MakeStops("<>", "");

// First characters of keywords: most identifiers are not keywords and are
// told so by one look-up.
constexpr std::array<bool, 256> MakeKeywordStarts() {
    std::array<bool, 256> starts{};
    for (unsigned char c : {'_', 'a', 'c', 'e', 'f', 'i', 'n', 'o', 'r', 's', 't', 'u', 'w', 'B', 'D', 'I'})
        starts[c] = true;
    return starts;
}
constexpr std::array<bool, 256> kKeywordStarts = MakeKeywordStarts();

enum TokenType : int {
    kEnd = -1,  // end of text; the type-0 "other" token is kOther
    kOther = 0,
    kIdent = 1,
    kHash = 2,
    kLParen = 3,
    kRParen = 4,
    kLBrace = 5,
    kRBrace = 6,
    kDQuote = 7,
    kSQuote = 8,
    kComma = 9,
    kSemicolon = 10,
    kColon = 11,
    kLess = 12,
    kGreater = 13,
    kLBracket = 14,
    kRBracket = 15,
    kStar = 16,
    kAsm = 19,
    kTypedef = 20,
    kTemplate = 21,
    kClass = 22,
    kStruct = 23,
    kOperator = 24,
    kScope = 25,
    kFrameworkMacro = 26,
    kMessageMap = 27,
    kIf = 29,
    kFor = 30,
    kSwitch = 31,
    kWhile = 32,
    kReturn = 33,
    kConst = 34,
    kAuto = 35,
    kStatic = 36,
    kRegister = 37,
    kExtern = 38,
    kEnum = 39,
    kUnion = 40,
    kNamespace = 41,
};

struct Keyword {
    std::string_view word;
    int type;
};

// By length, so a look-up compares only words of the identifier's length.
constexpr Keyword kKeywords[] = {
    {"if", kIf},
    {"asm", kAsm}, {"for", kFor},
    {"_asm", kAsm}, {"auto", kAuto}, {"enum", kEnum},
    {"__asm", kAsm}, {"class", kClass}, {"const", kConst}, {"union", kUnion}, {"while", kWhile},
    {"struct", kStruct}, {"return", kReturn}, {"static", kStatic}, {"extern", kExtern},
    {"switch", kSwitch},
    {"typedef", kTypedef},
    {"template", kTemplate}, {"operator", kOperator}, {"register", kRegister},
    {"namespace", kNamespace},
    {"DECLARE_SERIAL", kFrameworkMacro},
    {"DECLARE_DYNAMIC", kFrameworkMacro},
    {"IMPLEMENT_SERIAL", kFrameworkMacro},
    {"DECLARE_DYNCREATE", kFrameworkMacro}, {"IMPLEMENT_DYNAMIC", kFrameworkMacro},
    {"BEGIN_MESSAGE_MAP", kMessageMap},
    {"IMPLEMENT_DYNCREATE", kFrameworkMacro},
};
constexpr std::size_t kLongestKeyword = 19;

// kKeywordsFrom[n] .. kKeywordsFrom[n + 1]: the keywords of length n.
constexpr std::array<std::size_t, kLongestKeyword + 2> MakeKeywordIndex() {
    std::array<std::size_t, kLongestKeyword + 2> from{};
    for (std::size_t n = 0; n <= kLongestKeyword + 1; ++n) {
        std::size_t i = 0;
        while (i < std::size(kKeywords) && kKeywords[i].word.size() < n) ++i;
        from[n] = i;
    }
    return from;
}
constexpr auto kKeywordsFrom = MakeKeywordIndex();

constexpr bool KeywordsSortedAndStarted() {
    for (std::size_t i = 0; i < std::size(kKeywords); ++i) {
        if (i > 0 && kKeywords[i].word.size() < kKeywords[i - 1].word.size()) return false;
        if (!kKeywordStarts[static_cast<unsigned char>(kKeywords[i].word[0])]) return false;
    }
    return true;
}
static_assert(KeywordsSortedAndStarted(), "keywords by length, each first character a keyword start");

// Keywords match on the whole identifier, length first.
int KeywordType(const char* s, std::size_t n) {
    if (n > kLongestKeyword || !kKeywordStarts[static_cast<unsigned char>(s[0])]) return kIdent;
    for (std::size_t i = kKeywordsFrom[n]; i < kKeywordsFrom[n + 1]; ++i)
        if (kKeywords[i].word[0] == s[0] && std::memcmp(s, kKeywords[i].word.data(), n) == 0)
            return kKeywords[i].type;
    return kIdent;
}

// Item categories.
constexpr std::uint16_t kCatFunction = 4;
constexpr std::uint16_t kCatTemplate = 5;
constexpr std::uint16_t kCatClass = 6;
constexpr std::uint16_t kCatStruct = 7;
constexpr std::uint16_t kCatMacro = 8;
constexpr std::uint16_t kCatDefine = 9;

// Bounds on names and texts.
constexpr std::size_t kFunctionText = 120;
constexpr std::size_t kClassName = 113;
constexpr std::size_t kClassText = 120;
constexpr std::size_t kBaseText = 118;
constexpr std::size_t kStructName = 112;
constexpr std::size_t kDefineName = 111;
constexpr std::size_t kMacroText = 119;
constexpr std::size_t kMapName = 107;
constexpr std::size_t kHeaderText = 510;
constexpr std::size_t kHeaderCut = 110;
// Scope names longer than this are shown shortened; longer copies are useless.
constexpr std::size_t kScopeKeep = 40;
constexpr std::uint32_t kStackDepth = 15;
// Nameless struct and typedef bodies are skipped by recursion; past this depth
// their keywords are plain tokens so hostile input cannot exhaust the stack.
constexpr int kMaxNest = 64;

// Up to N characters of a text that may be longer; `length` is the whole
// text's length so a cut name can be told from a short one.
template <std::size_t N>
struct Text {
    char chars[N] = {};
    std::size_t size = 0;
    std::size_t length = 0;

    void Clear() { size = length = 0; }
    void Append(const char* s, std::size_t n) {
        const std::size_t room = N - size;
        const std::size_t k = n < room ? n : room;
        if (k) std::memcpy(chars + size, s, k);
        size += k;
        length += n;
    }
    void Append(std::string_view s) { Append(s.data(), s.size()); }
    void Assign(const char* s, std::size_t n) { Clear(); Append(s, n); }
    std::string_view View() const { return {chars, size}; }
};

std::string_view Cut(std::string_view s, std::size_t max) { return s.substr(0, max); }

struct Pos {
    std::uint32_t line = 0;
    std::uint16_t start = 0;
    std::uint16_t end = 0;
};

// The comment run last seen: its first line and the line it ended on.
struct Marks {
    std::uint32_t runStart = 1;
    std::uint32_t last = 1;
};

struct Token {
    int type = kEnd;
    const char* text = nullptr;  // in the line buffer: valid until the next line
    std::size_t length = 0;
    Pos pos;
    std::string_view View() const { return {text, length}; }
};

struct Candidate {
    Text<kFunctionText> name;
    Pos pos;
    Text<kScopeKeep> scope;
    bool hasScope = false;
    Marks marks;
};

struct StackEntry {
    Text<kScopeKeep> name;
    bool has = false;
};

enum class Head { None, Body, Function };

class Scanner {
public:
    Scanner(LineSource& lines, ItemSink& sink, const ScanOptions& options)
        : lines_(lines), sink_(sink), opt_(options) {}

    int Run();

private:
    static constexpr int kEof = -1;

    // Characters.
    bool FetchLine();
    int Get();
    void Unget() { if (pos_ > 0) --pos_; }
    char Peek() const { return pos_ < len_ ? cur_[pos_] : '\n'; }
    void SkipBlanks();

    // Tokens.
    Token Next();
    void Unread(const Token& t) { pushed_ = t; hasPushed_ = true; }
    Token ReadIdentifier();

    // Skipping routines.
    void SkipBlockComment();
    void SkipLineComment();
    void SkipLiteral(char quote);
    void SkipNested(int open, int close);
    void PassText(const StopTable& stops);
    void SkipBody();
    void SkipAsm();
    void SkipInitializers();
    void SkipMessageMap();
    void Preprocessor(bool items);
    void RestOfPreprocessorLine();

    // Handlers.
    bool ReadOperator(const Token& kw, Candidate& c);
    bool ArgumentText(Text<kHeaderText>& out);
    Head Refuse(const Token& t);
    Head Entered(std::string_view name);
    Head ClassHead();
    Head StructHead(const Token& kw);
    Head TemplateHead(const Token& kw, bool inBody);
    void TypedefHead(const Token& kw);
    void FrameworkMacro(const Token& t);
    void MessageMap();

    // Items.
    void SetCandidate(Candidate& c, const Token& t);
    void ReportFunction(Candidate& c);
    void Report(const Pos& pos, std::uint16_t category, std::uint32_t topLine,
                std::string_view a, std::string_view b = {}, std::string_view c = {},
                std::size_t max = kItemTextSize - 1, std::string_view qualifier = {});
    static std::uint32_t TopLine(std::uint32_t line, const Marks& m);
    void Enter();
    void Leave();

    LineSource& lines_;
    ItemSink& sink_;
    const ScanOptions opt_;  // read once: a scan sees one set of flags
    int count_ = 0;

    // Reading position: the current line always ends in one newline. It is
    // the source's own line when that already ends so, else a copy in buf_.
    const char* cur_ = buf_;
    char buf_[kMaxLineLength + 1] = {};
    std::size_t len_ = 0;
    std::size_t pos_ = 0;
    std::uint32_t line_ = 0;
    bool atEnd_ = false;
    Marks marks_;

    // Tokenizer state: the scope name carried from token to token and the
    // identifier a following "::" would make the scope.
    Text<kScopeKeep> scope_;
    bool hasScope_ = false;
    const char* lastIdent_ = nullptr;
    std::size_t lastIdentLength_ = 0;
    bool lastWasIdent_ = false;
    char lastIdentSaved_[kScopeKeep] = {};
    Token pushed_;
    bool hasPushed_ = false;

    // Main loop state.
    int s_ = 0;
    int p_ = 0;
    // Candidates A and B live in two slots; "B := A" shares A's slot until A
    // is next written, which saves copying on every identifier.
    Candidate slots_[2];
    int a_ = 0;
    int b_ = 0;
    Candidate& A() { return slots_[a_]; }
    Candidate& B() { return slots_[b_]; }
    Candidate& NewA() {
        if (a_ == b_) a_ ^= 1;
        return slots_[a_];
    }
    Candidate remembered_;  // the template handler's name
    std::uint32_t depth_ = 0;
    StackEntry stack_[kStackDepth + 1];
    StackEntry bodyName_;   // what a handler that entered a body names it
    int nest_ = 0;

    // Handler scratch; handlers never run inside one another while using it.
    Text<kHeaderText> header_;
    Text<kClassName> className_;
    Text<kStructName> structName_;
    Text<kMacroText> macro_;
};

// ---- characters -------------------------------------------------------

bool Scanner::FetchLine() {
    if (atEnd_) return false;
    // A "::" on the next line may still name the identifier that ended this
    // one, whose characters the source may reuse once asked for another line.
    if (lastWasIdent_ && lastIdent_ != lastIdentSaved_) {
        const std::size_t k = lastIdentLength_ < kScopeKeep ? lastIdentLength_ : kScopeKeep;
        std::memcpy(lastIdentSaved_, lastIdent_, k);
        lastIdent_ = lastIdentSaved_;
    }
    std::size_t n = 0;
    const char* p = lines_.NextLine(n);
    if (!p) {
        atEnd_ = true;
        pos_ = len_ = 0;
        return false;
    }
    if (n > kMaxLineLength) n = kMaxLineLength;
    if (opt_.linesCarryNewline && n > 0 && p[n - 1] == '\n') {
        cur_ = p;
    } else {
        // Lines of either convention, a cut line and an unterminated last
        // line all end here in exactly one newline.
        std::memcpy(buf_, p, n);
        buf_[n++] = '\n';
        cur_ = buf_;
    }
    len_ = n;
    pos_ = 0;
    ++line_;
    return true;
}

int Scanner::Get() {
    if (pos_ >= len_ && !FetchLine()) return kEof;
    return static_cast<unsigned char>(cur_[pos_++]);
}

// Blanks, tabs and carriage returns, never past the line end.
void Scanner::SkipBlanks() {
    while (pos_ < len_ && (cur_[pos_] == ' ' || cur_[pos_] == '\t' || cur_[pos_] == '\r')) ++pos_;
}

// ---- tokens -----------------------------------------------------------

// At an identifier character.
Token Scanner::ReadIdentifier() {
    Token t;
    const std::size_t start = pos_;
    // The newline that ends every line stops the run. A local pointer: the
    // compiler must otherwise store pos_ before every character it reads.
    const char* p = cur_ + start + 1;
    while (ClassOf(*p) == kClassIdent) ++p;
    pos_ = static_cast<std::size_t>(p - cur_);
    t.text = cur_ + start;
    t.length = pos_ - start;
    t.type = KeywordType(t.text, t.length);
    t.pos = {line_, static_cast<std::uint16_t>(start), static_cast<std::uint16_t>(pos_)};
    return t;
}

Token Scanner::Next() {
    if (hasPushed_) {
        hasPushed_ = false;
        return pushed_;
    }
    for (;;) {
        if (pos_ >= len_ && !FetchLine()) {
            hasScope_ = lastWasIdent_ = false;
            Token end;
            end.pos = {line_, 0, 0};
            return end;
        }
        const char* p = cur_ + pos_;
        const char* const end = cur_ + len_;
        while (p < end && ClassOf(*p) == kClassWhite) ++p;
        pos_ = static_cast<std::size_t>(p - cur_);
        if (p == end) continue;
        const char ch = *p;
        const unsigned char cls = ClassOf(ch);
        if (cls == kClassIdent) {
            Token t = ReadIdentifier();
            // Identifiers and keywords carry the scope name on.
            lastWasIdent_ = t.type == kIdent;
            if (lastWasIdent_) {
                lastIdent_ = t.text;
                lastIdentLength_ = t.length;
            }
            return t;
        }
        const std::size_t start = pos_++;
        if (ch == '/' && (cur_[pos_] == '*' || cur_[pos_] == '/')) {
            // Comments keep the scope name and the identifier before them.
            if (cur_[pos_++] == '*') SkipBlockComment();
            else SkipLineComment();
            continue;
        }
        Token t;
        t.type = cls;
        t.text = cur_ + start;
        t.length = 1;
        t.pos = {line_, static_cast<std::uint16_t>(start), static_cast<std::uint16_t>(start + 1)};
        if (ch == ':' && cur_[pos_] == ':') {
            ++pos_;
            t.type = kScope;
            t.length = 2;
            t.pos.end = static_cast<std::uint16_t>(pos_);
            hasScope_ = lastWasIdent_;
            if (hasScope_) scope_.Assign(lastIdent_, lastIdentLength_);
            lastWasIdent_ = false;
            return t;
        }
        if (cls == kDQuote || cls == kSQuote) SkipLiteral(ch);
        hasScope_ = lastWasIdent_ = false;
        return t;
    }
}

// ---- skipping routines ------------------------------------------------

void Scanner::SkipBlockComment() {
    if (line_ > marks_.last + 1) marks_.runStart = line_;
    for (;;) {
        if (pos_ >= len_ && !FetchLine()) break;
        // A "*/" never spans lines, and every line ends in a newline, so the
        // character after a '*' is always inside the buffer.
        const void* star = std::memchr(cur_ + pos_, '*', len_ - pos_);
        if (!star) {
            pos_ = len_;
            continue;
        }
        pos_ = static_cast<std::size_t>(static_cast<const char*>(star) - cur_) + 1;
        if (cur_[pos_] == '/') {
            ++pos_;
            break;
        }
    }
    marks_.last = line_;
}

void Scanner::SkipLineComment() {
    if (line_ > marks_.last + 1) marks_.runStart = line_;
    marks_.last = line_;
    pos_ = len_;
}

// A string or character literal. An unescaped line end also ends it, so a
// stray quote (an apostrophe in "#if 0" text) costs one line, not the file.
void Scanner::SkipLiteral(char quote) {
    for (;;) {
        const int c = Get();
        if (c == kEof || c == quote) return;
        if (c == '\n') {
            Unget();
            return;
        }
        if (c == '\\') {
            const int d = Get();
            if (d == kEof) return;
            if (d == '\r' && Peek() == '\n') ++pos_;
        }
    }
}

// After an opening bracket: up to the matching close (parentheses, angle
// brackets), stepping over literals and comments.
void Scanner::SkipNested(int open, int close) {
    const StopTable& stops = open == kLParen ? kParenStops : kAngleStops;
    std::uint32_t depth = 1;
    for (;;) {
        PassText(stops);
        const Token t = Next();
        if (t.type == kEnd) return;
        if (t.type == open) ++depth;
        else if (t.type == close && --depth == 0) return;
    }
}

// Steps over text no token of which matters to the caller. The tokens passed
// would only have cleared the carried scope name, which the closing token
// the caller waits for clears anyway.
void Scanner::PassText(const StopTable& stops) {
    if (hasPushed_) return;
    for (;;) {
        if (pos_ >= len_ && !FetchLine()) return;
        const char* p = cur_ + pos_;
        const char* const end = cur_ + len_;
        while (p < end) {
            const unsigned char k = stops[static_cast<unsigned char>(*p)];
            if (k == kPass) {
                ++p;
            } else if (k == kPassWord) {
                // The newline ending the line ends the word.
                do ++p; while (ClassOf(*p) == kClassIdent);
            } else {
                pos_ = static_cast<std::size_t>(p - cur_);
                return;
            }
        }
        pos_ = len_;
    }
}

void Scanner::SkipBody() {
    ++nest_;
    const bool handlers = nest_ <= kMaxNest;
    // Bodies entered by the handlers close with braces counted here too.
    std::uint32_t depth = 1;
    while (depth > 0) {
        PassText(kBodyStops);
        const Token t = Next();
        switch (t.type) {
        case kEnd: depth = 0; break;
        case kLBrace: ++depth; break;
        case kRBrace: --depth; break;
        case kHash: Preprocessor(true); break;
        case kAsm: SkipAsm(); break;
        case kTypedef: if (handlers) TypedefHead(t); break;
        case kTemplate: if (handlers && TemplateHead(t, true) == Head::Body) ++depth; break;
        case kClass: if (handlers && ClassHead() == Head::Body) ++depth; break;
        case kStruct: if (handlers && StructHead(t) == Head::Body) ++depth; break;
        default: break;
        }
    }
    --nest_;
}

void Scanner::SkipAsm() {
    Token t = Next();
    if (t.type == kLBrace) {
        std::uint32_t depth = 1;
        for (;;) {
            const int c = Get();
            if (c == kEof) return;
            if (c == '{') ++depth;
            else if (c == '}' && --depth == 0) return;
            else if (c == ';') pos_ = len_;  // assembler comment
        }
    }
    while (t.type == kHash || t.type == kDQuote || t.type == kSQuote) {
        if (t.type == kHash) Preprocessor(true);
        t = Next();
    }
    Unread(t);
}

// After the ':' of a constructor's initializer list.
void Scanner::SkipInitializers() {
    int previous = kColon;
    for (;;) {
        const Token t = Next();
        switch (t.type) {
        case kEnd: return;
        case kLBrace:
            SkipBody();
            // "m_a{1}" initialises a member; the body follows later.
            if (previous == kIdent || previous == kGreater) break;
            return;
        case kRParen:
        case kRBrace: Unread(t); return;
        case kLParen: SkipNested(kLParen, kRParen); break;
        case kHash: Preprocessor(true); break;
        default: break;
        }
        previous = t.type;
    }
}

void Scanner::SkipMessageMap() {
    for (;;) {
        const Token t = Next();
        if (t.type == kEnd) return;
        if (t.type == kHash) {
            Preprocessor(false);
            continue;
        }
        if (t.type != kIdent || t.View() != "END_MESSAGE_MAP") continue;
        const Token open = Next();
        if (open.type != kLParen) {
            Unread(open);
            continue;
        }
        const Token close = Next();
        if (close.type == kRParen) return;
        Unread(close);
    }
}

void Scanner::Preprocessor(bool items) {
    SkipBlanks();
    if (ClassOf(Peek()) == kClassIdent) {
        const Token directive = ReadIdentifier();
        if (items && directive.View() == "define") {
            SkipBlanks();
            if (ClassOf(Peek()) == kClassIdent) {
                const Token name = ReadIdentifier();
                const char next = Peek();
                if (name.type == kIdent || name.type == kFrameworkMacro) {
                    const std::string_view shown = Cut(name.View(), kDefineName);
                    if ((ClassOf(next) == kClassWhite || next == '\\') && opt_.cDefines)
                        Report(name.pos, kCatDefine, name.pos.line, "#define ", shown);
                    else if (next == '(' && opt_.cMacros)
                        Report(name.pos, kCatMacro, name.pos.line, "#define ", shown);
                }
            }
        }
    }
    RestOfPreprocessorLine();
}

void Scanner::RestOfPreprocessorLine() {
    for (;;) {
        // Most of a directive is plain text: step over it in one go.
        const char* p = cur_ + pos_;
        const char* const end = cur_ + len_;
        while (p < end && !kDirectiveStops[static_cast<unsigned char>(*p)]) ++p;
        pos_ = static_cast<std::size_t>(p - cur_);
        const int c = Get();
        if (c == kEof || c == '\n') return;
        if (c == '\\') {
            SkipBlanks();
            if (Peek() == '\n') ++pos_;  // continued on the next line
        } else if (c == '/' && Peek() == '*') {
            ++pos_;
            SkipBlockComment();
            return;
        } else if (c == '/' && Peek() == '/') {
            ++pos_;
            SkipLineComment();
            return;
        } else if (c == '"' || c == '\'') {
            // A quoted "//" or "/*" is text, not a comment.
            SkipLiteral(static_cast<char>(c));
        }
    }
}

// ---- handlers ---------------------------------------------------------

// After `operator`: the name runs from its 'o' over the operator symbol up to
// the parameters' '(', which is consumed.
bool Scanner::ReadOperator(const Token& kw, Candidate& c) {
    const std::size_t start = kw.pos.start;
    std::size_t end = kw.pos.end;
    bool symbol = false;
    for (;;) {
        const int ch = Get();
        if (ch == kEof || ch == '\n' || ch == ';') return false;
        if (ch == '(') {
            // "operator()": the first "()" is the symbol, unless a symbol
            // came first ("operator int()").
            if (symbol || Peek() != ')') break;
            ++pos_;
            symbol = true;
            end = pos_;
            continue;
        }
        if (ch != ' ' && ch != '\t' && ch != '\r') {
            symbol = true;
            end = pos_;
        }
    }
    Token name = kw;
    name.length = end - start;
    name.pos.end = static_cast<std::uint16_t>(end);
    SetCandidate(c, name);
    return true;
}

// After '<' (already appended): the template argument text up to and
// including the '>' that closes it. Fails at literals, ';', braces, '#' and
// keywords that cannot appear in a type.
bool Scanner::ArgumentText(Text<kHeaderText>& out) {
    std::uint32_t open = 1;
    bool blank = false;  // a word needs a blank before it
    auto add = [&](std::string_view s) { out.Append(s); };
    for (;;) {
        const Token t = Next();
        switch (t.type) {
        case kIdent:
        case kClass:
        case kStruct:
        case kConst:
            if (blank) add(" ");
            add(t.View());
            blank = true;
            break;
        case kScope:
        case kLess:
            add(t.View());
            blank = false;
            if (t.type == kLess) ++open;
            break;
        case kGreater:
            add(">");
            blank = true;
            if (--open == 0) return true;
            break;
        case kOther:
        case kLParen:
        case kRParen:
        case kComma:
        case kColon:
        case kLBracket:
        case kRBracket:
        case kStar:
            add(t.View());
            blank = true;
            break;
        default:
            Unread(t);
            return false;
        }
    }
}

// A head that cannot go on leaves its last token to the caller.
Head Scanner::Refuse(const Token& t) {
    Unread(t);
    return Head::None;
}

// A head that opened a body; its name, if any, qualifies what the body holds.
Head Scanner::Entered(std::string_view name) {
    bodyName_.has = !name.empty();
    bodyName_.name.Assign(name.data(), name.size());
    return Head::Body;
}

Head Scanner::ClassHead() {
    int phase = 1;
    Pos namePos;
    header_.Clear();  // the base text
    for (;;) {
        const Token t = Next();
        switch (t.type) {
        case kHash:
            Preprocessor(false);
            continue;
        case kClass:
            phase = 1;
            header_.Clear();
            continue;
        case kIdent:
            if (phase <= 2) {
                className_.Assign(t.text, t.length);
                namePos = t.pos;
                phase = 2;
            } else {
                if (phase == 4) header_.Append(" ");
                header_.Append(t.View());
                phase = 4;
            }
            continue;
        case kColon:
            if (phase != 2) return Refuse(t);
            header_.Append(" :");
            phase = 4;
            continue;
        case kComma:
        case kScope:
            if (phase < 3) return Refuse(t);
            header_.Append(t.View());
            phase = t.type == kComma ? 4 : 3;
            continue;
        case kLess:
            if (phase < 2) return Refuse(t);
            header_.Append("<");
            if (!ArgumentText(header_)) return Head::None;
            continue;
        case kGreater:
            if (phase < 2) return Refuse(t);
            header_.Append(">");
            continue;
        case kLBrace:
            if (phase == 1) return Entered({});  // a class without a name
            if (opt_.cClasses) {
                const std::string_view base =
                    opt_.ShowBaseList ? Cut(header_.View(), kBaseText) : std::string_view{};
                Report(namePos, kCatClass, namePos.line, "class ", className_.View(), base,
                       kClassText);
            }
            return Entered(className_.View());
        default:
            return Refuse(t);
        }
    }
}

Head Scanner::StructHead(const Token& kw) {
    Pos at = kw.pos;
    bool named = false;
    bool skipped = false;  // a nameless body lies behind
    Pos namePos;
    for (;;) {
        const Token t = Next();
        switch (t.type) {
        case kHash:
            Preprocessor(false);
            continue;
        case kStruct:
            at = t.pos;
            named = skipped = false;
            continue;
        case kLess:
            if (skipped) return Refuse(t);
            SkipNested(kLess, kGreater);
            continue;
        case kIdent:
            if (skipped) {
                // "struct { ... } name;": reported, but the body is already
                // behind us, so no nesting follows.
                if (opt_.cStructs)
                    Report(at, kCatStruct, at.line, "struct ", Cut(t.View(), kStructName));
                return Head::None;
            }
            if (named) return Refuse(t);
            structName_.Assign(t.text, t.length);
            namePos = t.pos;
            named = true;
            continue;
        case kLBrace:
            if (skipped) return Refuse(t);
            if (!named) {
                SkipBody();
                skipped = true;
                continue;
            }
            if (opt_.cStructs) Report(namePos, kCatStruct, namePos.line, "struct ", structName_.View());
            return Entered(structName_.View());
        default:
            return Refuse(t);
        }
    }
}

Head Scanner::TemplateHead(const Token& kw, bool inBody) {
    header_.Clear();
    bool named = false;
    bool colon = false;
    for (;;) {
        const Token t = Next();
        // After ':' the base list is kept only when it is to be shown.
        const bool keep = !colon || opt_.ShowBaseList;
        switch (t.type) {
        case kLess: {
            const std::size_t size = header_.size, length = header_.length;
            header_.Append("<");
            if (!ArgumentText(header_)) return Head::None;
            if (!keep) header_.size = size, header_.length = length;
            continue;
        }
        case kIdent:
        case kClass:
        case kStruct:
        case kConst:
            if (keep) {
                if (header_.size) header_.Append(" ");
                header_.Append(t.View());
            }
            if (t.type == kIdent && !colon) {
                SetCandidate(remembered_, t);
                named = true;
            }
            continue;
        case kComma:
        case kOther:
            if (keep) header_.Append(t.View());
            continue;
        case kColon:
            colon = true;
            if (opt_.ShowBaseList) header_.Append(" :");
            continue;
        case kGreater:
            if (keep) header_.Append(">");
            continue;
        case kLParen:
            if (!named || inBody) return Refuse(t);
            NewA() = remembered_;
            SkipNested(kLParen, kRParen);
            return Head::Function;
        case kOperator:
            if (inBody) return Refuse(t);
            if (!ReadOperator(t, NewA())) return Head::None;
            SkipNested(kLParen, kRParen);
            return Head::Function;
        case kLBrace: {
            const Pos at = named ? remembered_.pos : kw.pos;
            if (opt_.cTemplates) {
                // A long header is cut and marked; what is kept must fit the
                // item's text beside the prefix and the mark.
                constexpr std::string_view prefix = "template ", mark = "...";
                std::string_view h = header_.View();
                std::string_view more;
                if (header_.length >= kHeaderCut) {
                    h = h.substr(0, kItemTextSize - 1 - prefix.size() - mark.size());
                    more = mark;
                }
                Report(at, kCatTemplate, at.line, prefix, h, more);
            }
            return Entered(named ? remembered_.name.View() : std::string_view{});
        }
        default:
            return Refuse(t);
        }
    }
}

// Only "typedef struct" is recognised; the body never nests.
void Scanner::TypedefHead(const Token& kw) {
    Token t = Next();
    if (t.type != kStruct) {
        Unread(t);
        return;
    }
    t = Next();
    const bool tagged = t.type == kIdent;
    if (tagged) {
        structName_.Assign(t.text, t.length);
        const Pos at = t.pos;
        t = Next();
        if (t.type == kLBrace && opt_.cStructs) Report(at, kCatStruct, at.line, "struct ", structName_.View());
    }
    if (t.type != kLBrace) {
        Unread(t);
        return;
    }
    SkipBody();
    if (tagged) return;
    t = Next();
    if (t.type != kIdent) {
        Unread(t);
        return;
    }
    if (opt_.cStructs) Report(kw.pos, kCatStruct, kw.pos.line, "struct ", Cut(t.View(), kStructName));
}

void Scanner::FrameworkMacro(const Token& t) {
    const Pos at = t.pos;
    macro_.Assign(t.text, t.length);
    Token n = Next();
    if (n.type != kLParen) {
        Unread(n);
        return;
    }
    bool argument = false;
    std::uint32_t depth = 1;
    for (;;) {
        n = Next();
        if (n.type == kEnd) return;
        if (n.type == kLParen) ++depth;
        else if (n.type == kRParen && --depth == 0) break;
        else if (n.type == kIdent && !argument) {
            argument = true;
            macro_.Append("(");
            macro_.Append(n.View());
            macro_.Append(")");
        }
    }
    if (opt_.cMFCMacros) Report(at, kCatMacro, at.line, macro_.View(), {}, {}, kMacroText);
}

void Scanner::MessageMap() {
    const Marks marks = marks_;
    const Token open = Next();
    if (open.type == kLParen) {
        const Token name = Next();
        if (name.type == kIdent && opt_.cMFCMacros)
            Report(name.pos, kCatMacro, TopLine(name.pos.line, marks), Cut(name.View(), kMapName),
                   " MESSAGE MAP");
        if (name.type != kIdent) Unread(name);
    } else {
        Unread(open);
    }
    SkipMessageMap();
}

// ---- items ------------------------------------------------------------

void Scanner::SetCandidate(Candidate& c, const Token& t) {
    c.name.Assign(t.text, t.length);
    c.pos = t.pos;
    c.hasScope = hasScope_;
    if (hasScope_) c.scope = scope_;
    c.marks = marks_;
}

std::uint32_t Scanner::TopLine(std::uint32_t line, const Marks& m) {
    if (line > 2 && m.last <= line && line - m.last <= 2) return m.runStart;
    return line;
}

void Scanner::Report(const Pos& pos, std::uint16_t category, std::uint32_t topLine,
                     std::string_view a, std::string_view b, std::string_view c,
                     std::size_t max, std::string_view qualifier) {
    // Line fields are 16 bits wide; later lines stay at the last one.
    auto line16 = [](std::uint32_t v) { return static_cast<std::uint16_t>(v > 0xFFFF ? 0xFFFF : v); };
    OutlineItem item;
    item.line = line16(pos.line);
    item.topLine = line16(topLine);
    item.startColumn = pos.start;
    item.endColumn = pos.end;
    item.category = category;
    std::size_t used = 0;
    for (std::string_view part : {a, b, c}) used = linescan::AppendBounded(item.text, max + 1, used, part);
    linescan::AppendBounded(item.qualifier, sizeof item.qualifier, 0, qualifier);
    ++count_;
    sink_.AddItem(item);
}

void Scanner::ReportFunction(Candidate& c) {
    if (!c.hasScope && depth_ >= 1 && depth_ <= kStackDepth && stack_[depth_].has) {
        c.scope = stack_[depth_].name;
        c.hasScope = true;
    }
    std::string_view qualifier;
    char shown[kItemQualifierSize] = {};
    if (c.hasScope) {
        const bool cut = c.scope.length >= kScopeKeep;
        const std::size_t used = linescan::AppendBounded(
            shown, sizeof shown, 0, cut ? c.scope.View().substr(0, kScopeKeep - 3) : c.scope.View());
        linescan::AppendBounded(shown, sizeof shown, used, cut ? "...::" : "::");
        qualifier = shown;
    }
    Report(c.pos, kCatFunction, TopLine(c.pos.line, c.marks), Cut(c.name.View(), kFunctionText),
           {}, {}, kFunctionText, qualifier);
}

void Scanner::Enter() {
    ++depth_;
    if (depth_ <= kStackDepth) stack_[depth_] = bodyName_;
}

void Scanner::Leave() {
    if (depth_ == 0) return;
    if (depth_ <= kStackDepth) stack_[depth_].has = false;
    --depth_;
}

// ---- main loop --------------------------------------------------------

int Scanner::Run() {
    for (;;) {
        const Token t = Next();
        if (t.type == kEnd) return count_;
        if (t.type == kLBrace && (s_ == 2 || p_ == 2)) {
            ReportFunction(s_ == 2 ? A() : B());
            s_ = p_ = 0;
        }
        switch (t.type) {
        case kIdent:
            if (s_ == 5) {
                s_ = 6;
                break;
            }
            SetCandidate(NewA(), t);
            s_ = 1;
            if (p_ != 2) {
                b_ = a_;
                p_ = 1;
            }
            break;
        case kLParen:
            if (s_ == 1) {
                s_ = 2;
                b_ = a_;
                p_ = 2;
            } else {
                s_ = 0;
                p_ = p_ == 1 ? 2 : 0;
            }
            SkipNested(kLParen, kRParen);
            break;
        case kOperator:
            if (ReadOperator(t, NewA())) {
                s_ = p_ = 2;
                b_ = a_;
                SkipNested(kLParen, kRParen);
            } else {
                s_ = p_ = 0;
            }
            break;
        case kLBrace:
            if (s_ >= 4) s_ = 0;  // extern "C", namespace: their contents are scanned
            else SkipBody();
            p_ = 0;
            break;
        case kRBrace:
            Leave();
            s_ = p_ = 0;
            break;
        case kColon:
            if (s_ == 2) {
                // A constructor's initializer list: reported here, once.
                ReportFunction(A());
                p_ = 0;
                SkipInitializers();
            }
            s_ = 0;
            break;
        case kSemicolon:
        case kComma:
        case kLBracket:
        case kRBracket:
        case kStar:
        case kConst:
            s_ = 0;
            break;
        case kDQuote:
            s_ = s_ == 3 ? 4 : 0;
            p_ = 0;
            break;
        case kHash:
            Preprocessor(true);
            s_ = 0;
            break;
        case kExtern:
            s_ = 3;
            p_ = 0;
            break;
        case kNamespace:
            s_ = 5;
            p_ = 0;
            break;
        case kTypedef:
            TypedefHead(t);
            s_ = p_ = 0;
            break;
        case kTemplate:
        case kClass:
        case kStruct: {
            const Head h = t.type == kTemplate ? TemplateHead(t, false)
                           : t.type == kClass  ? ClassHead()
                                               : StructHead(t);
            if (h == Head::Function) {
                s_ = p_ = 2;
                b_ = a_;
                break;
            }
            if (h == Head::Body) Enter();
            s_ = p_ = 0;
            break;
        }
        case kFrameworkMacro:
            FrameworkMacro(t);
            s_ = p_ = 0;
            break;
        case kMessageMap:
            MessageMap();
            s_ = p_ = 0;
            break;
        default:
            s_ = p_ = 0;
            break;
        }
    }
}

}  // namespace

int ScanCppReference(LineSource& lines, ItemSink& items, const ScanOptions& options) {
    Scanner scanner(lines, items, options);
    return scanner.Run();
}

}  // namespace qv::reference
