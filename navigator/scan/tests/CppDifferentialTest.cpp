// The C/C++ scanner against its previous implementation: on generated
// documents and on hostile ones, with every flag setting and both line
// conventions, both must report the same items, field for field, and the
// same count. The generated texts mix the constructs the skipping routines
// treat differently (bodies, literals, comments, directives, continuations,
// long lines), so a fast path that drifts from the plain one shows here.
#include <gtest/gtest.h>
#include <cstdint>
#include <random>
#include <string>
#include <vector>
#include "ExactLineSource.h"
#include "ScanOptionBits.h"
#include "OutlineText.h"
#include "Scanners.h"
#include "TextLineSource.h"
#include "reference/CppScannerReference.h"

namespace {

// The outline with the count the scan returned, one line per item.
std::string OutlineOf(qv::ScanFunction scan, qv::LineSource& lines, const qv::ScanOptions& options) {
    qv::CollectingSink sink;
    const int count = scan(lines, sink, options);
    std::string out = "count " + std::to_string(count) + "\n";
    for (const qv::OutlineItem& item : sink.items) out += qv::FormatItem("f", item) + "\n";
    return out;
}

// Compares both scanners on one text; the note names the case in a failure.
// The scanner reads a text source's lines in place and one line at a time
// from any other source, so it runs both ways.
void ExpectSame(const std::string& text, unsigned flagBits, const std::string& note) {
    for (auto convention : {qv::LineConvention::OwnNewline, qv::LineConvention::NoNewline}) {
        qv::ScanOptions o = qvtest::ScanOptionsFromBits(flagBits);
        o.linesCarryNewline = convention == qv::LineConvention::OwnNewline;
        const std::string how = note + ", flags " + std::to_string(flagBits) + ", " +
                                (o.linesCarryNewline ? "own newline" : "newline added");
        qvtest::ExactLineSource oracleLines(text, convention);
        const std::string want = OutlineOf(qv::reference::ScanCppReference, oracleLines, o);
        qvtest::ExactLineSource lines(text, convention);
        ASSERT_EQ(OutlineOf(qv::ScanCpp, lines, o), want) << how << ", line by line";
        qv::TextLineSource inPlace(text, convention);
        ASSERT_EQ(OutlineOf(qv::ScanCpp, inPlace, o), want) << how << ", in place";
        std::size_t rest = 0;
        ASSERT_EQ(inPlace.NextLine(rest), nullptr) << how << ": the text was not read to its end";
    }
}

// Stand-ins in the table below for what a C string cannot hold.
const char kLongLine[] = "\x01long";
const char kZero[] = "\x01zero";

// Pieces a document is put together from: what the scanner reacts to, the
// words it must not take for keywords, and the bytes that end or break
// constructs.
const char* const kPieces[] = {
    "{", "}", "(", ")", "<", ">", "[", "]", ";", ",", ":", "::", "*", "&", "=", "#", "/", "~",
    " ", " ", "\t", "\n", "\n", "\r\n", "\\\n", "\\ \t\r\n", "\\",
    "\"", "'", "\"str\\\"ing\"", "'c'", "'\\''", "\"//not\"", "\"/*not*/\"", "L\"w\"",
    "/*", "*/", "/* block */", "/* two\nlines */", "// line\n", "//", "/**/",
    "#define ", "#define M(a) a\n", "#define K 1\n", "#define L \\\n 2\n", "#if 0\n", "#endif\n",
    "# define X", "#include <a.h>\n",
    "class ", "struct ", "template ", "typedef ", "namespace ", "extern ", "\"C\" ", "operator",
    "asm", "_asm", "__asm", "const ", "static ", "enum ", "union ", "return ", "if ", "for ",
    "DECLARE_DYNAMIC(", "IMPLEMENT_DYNCREATE(", "BEGIN_MESSAGE_MAP(", "END_MESSAGE_MAP()",
    "ON_COMMAND(", "public ", "virtual ",
    "classy", "structure", "asmx", "typedefs", "templates", "a", "c", "s", "t", "_", "__x",
    "Foo", "CView", "m_x", "x1", "42", "0x1F", "~Foo", "operator()", "operator==", "operator int",
    "void f() {", "int g(int a) { return a; }", "CFoo::CFoo() : m_x(0) {", "A::B::f() {",
    "class C : public B, private D {", "template <class T> class V {", "struct { int a; } s;",
    "typedef struct T { int a; } U;", "asm { mov ax, 1 ; c }\n", "_asm mov ax, bx\n",
    "\x80\xff", kLongLine, kZero,
};

std::string Piece(std::mt19937& rng) {
    const std::size_t n = std::size(kPieces);
    const char* piece = kPieces[rng() % n];
    if (piece == kZero) return std::string(1, '\0');
    if (piece == kLongLine) return std::string(2040 + rng() % 20, 'x');  // about the line limit
    return piece;
}

TEST(CppDifferential, GeneratedDocuments) {
    std::mt19937 rng(20261207);
    for (int doc = 0; doc < 400; ++doc) {
        std::string text;
        const int pieces = 20 + static_cast<int>(rng() % 400);
        for (int k = 0; k < pieces; ++k) text += Piece(rng);
        ExpectSame(text, rng() % 128, "generated document " + std::to_string(doc));
        if (HasFatalFailure()) return;
    }
}

std::string Repeat(std::string_view s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

TEST(CppDifferential, HostileDocuments) {
    const std::string longLine = std::string(2047, 'a') + "{ void f() {} }\nvoid g() {}\n";
    struct Case {
        const char* note;
        std::string text;
    } cases[] = {
        {"open braces to the end", Repeat("{", 100000)},
        {"close braces first", Repeat("}", 1000) + "void f() {}\n"},
        {"nested class bodies", Repeat("class A { ", 40) + "void f() { } " + Repeat("}; ", 40)},
        {"bodies with nameless structs", Repeat("void f() { struct { ", 100) + "int a;"},
        {"unterminated block comment", "void f() {} /* " + Repeat("x\n", 100)},
        {"unterminated string in a body", "void f() { \"abc\nint g() {}\n}\nvoid h() {}\n"},
        {"stray quotes", "void f() { a = '; }\nint g() { }\n"},
        {"continued directive to the end", "#define A \\\n\\\n\\"},
        {"define at the end", "#define"},
        {"operator at the end", "void X::operator"},
        {"operator cut by a line end", "void X::operator+\n(int) {}\n"},
        {"long template header", "template <" + Repeat("class T, ", 80) + "class U> class V {};\n"},
        {"line past the limit", longLine},
        {"keyword cut at the limit in a body", "void f() {\n" + std::string(2043, ' ') + "classX y; }\nvoid g() {}\n"},
        {"brace past the limit in a body", "void f() {\n" + std::string(2050, ' ') + "}\n}\nvoid g() {}\n"},
        {"lines at the limit with carriage returns",
         "void f() {\n" + std::string(2046, ' ') + "\r\n" + std::string(2047, ' ') + "\r\n}\r\nvoid g() {}\r\n"},
        {"body to an unterminated last line", "void f() {\n int a;\n }"},
        {"body keywords at a cut line", std::string(2045, ' ') + "class X {};\n"},
        {"carriage returns alone", "void f()\r{\r}\rvoid g() {}\r"},
        {"zero bytes", std::string("void f(\0) {\0}\nint g() {}\n", 24)},
        {"high bytes", "void \xe4\xf6() {}\nvoid f\xff() {}\n"},
        {"asm block to the end", "void f() { asm { mov ax, 1 ; {"},
        {"message map without end", "BEGIN_MESSAGE_MAP(CA, CB)\n ON_X()\n"},
        {"framework macro without close", "IMPLEMENT_DYNCREATE(CA"},
        {"scope carried over a comment", "void f() { a /* x */ ::b; }\nvoid A /* c */ ::g() {}\n"},
        {"scope over a line end", "void Alpha\n::Beta() {}\n"},
        {"keywords inside words", "void f() { classy x; structure y; typedefs z; asmx w; }\n"},
        {"types in bodies", "void f() { class L { void m() {} }; struct S { }; typedef struct T { } U; }\n"},
        {"template in a body", "void f() { template <class T> class Q { }; }\n"},
        {"initializer lists", "A::A() : b{1}, c(2) { }\nB::B() : d<int>{3} { }\n"},
    };
    for (const Case& c : cases) {
        for (unsigned flags : {0u, 127u, 63u}) {
            ExpectSame(c.text, flags, c.note);
            if (HasFatalFailure()) return;
        }
    }
}

}  // namespace
