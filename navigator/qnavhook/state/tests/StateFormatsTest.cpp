#include <gtest/gtest.h>
#include <cstring>
#include "Bookmarks.h"
#include "ExtensionMap.h"
#include "FileDateFormat.h"
#include "PasteBufferFile.h"

using namespace qnav::state;

namespace {

PasteBuffer Text(const char* s, std::size_t size) { return MakePasteBuffer(s, std::strlen(s), size); }

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t{b[at + 3]} << 24;
}
void PutLe32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::vector<std::uint8_t> ThreeBufferFile() {
    PasteBuffers in;
    in[0] = Text("alpha", 8);
    in[1] = Text("beta", 5);
    in[4] = Text("gamma", 16);
    return EncodePasteBuffers(in);
}

}  // namespace

TEST(PasteBufferFile, EncodesTheLayoutByteForByte) {
    const auto bytes = ThreeBufferFile();
    ASSERT_EQ(bytes.size(), 84u + 8 + 5 + 16);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 4),
              (std::vector<std::uint8_t>{0x53, 0x58, 0x1A, 0x00}));
    const std::uint32_t expect[10][2] = {{84, 8}, {92, 5}, {0, 0}, {0, 0}, {97, 16},
                                         {0, 0},  {0, 0},  {0, 0}, {0, 0}, {0, 0}};
    for (int n = 0; n < 10; ++n) {
        EXPECT_EQ(Le32(bytes, 4 + 8 * n), expect[n][0]) << "offset of buffer " << n;
        EXPECT_EQ(Le32(bytes, 8 + 8 * n), expect[n][1]) << "size of buffer " << n;
    }
    EXPECT_EQ(std::memcmp(bytes.data() + 84, "alpha\0\0\0beta\0gamma", 19), 0);
    EXPECT_EQ(bytes.back(), 0);
}

TEST(PasteBufferFile, RoundTripKeepsEveryBlockAndNormalisesTail) {
    PasteBuffers in;
    in[0] = PasteBuffer{'a', 'b', '\0', 'x', 'y'};   // junk after the text is not kept
    in[9] = PasteBuffer(4096, 'z');                    // full block without terminator
    const auto bytes = EncodePasteBuffers(in);
    PasteBuffers out = DecodePasteBuffers(bytes.data(), bytes.size());
    EXPECT_EQ(out[0], (PasteBuffer{'a', 'b', '\0', '\0', '\0'}));
    EXPECT_EQ(out[9], in[9]);
    for (int n = 1; n < 9; ++n) EXPECT_TRUE(out[n].empty()) << n;
}

TEST(PasteBufferFile, OversizedBufferIsStoredEmpty) {
    PasteBuffers in;
    in[0] = Text("kept", 5);
    in[1] = PasteBuffer(5000, 'q');
    in[2] = Text("after", 6);
    const auto bytes = EncodePasteBuffers(in);
    EXPECT_EQ(Le32(bytes, 16), 0u) << "size of the 5000-byte buffer";
    PasteBuffers out = DecodePasteBuffers(bytes.data(), bytes.size());
    EXPECT_EQ(out[0], in[0]);
    EXPECT_TRUE(out[1].empty());
    EXPECT_EQ(out[2], in[2]);
}

TEST(PasteBufferFile, DamagedFilesKeepWhatIsValid) {
    struct Case {
        const char* note;
        void (*damage)(std::vector<std::uint8_t>&);
        std::size_t buffersKept;   // leading buffers 0,1 then 4 that survive
    };
    const Case cases[] = {
        {"intact", [](std::vector<std::uint8_t>&) {}, 3},
        {"short", [](std::vector<std::uint8_t>& b) { b.resize(83); }, 0},
        {"empty", [](std::vector<std::uint8_t>& b) { b.clear(); }, 0},
        {"wrong signature", [](std::vector<std::uint8_t>& b) { b[2] = 0x1B; }, 0},
        {"second past the end", [](std::vector<std::uint8_t>& b) { PutLe32(b, 12, 500); }, 1},
        {"second inside header", [](std::vector<std::uint8_t>& b) { PutLe32(b, 12, 80); }, 1},
        {"second over 4096", [](std::vector<std::uint8_t>& b) { PutLe32(b, 16, 4097); }, 1},
        {"offset wraps around", [](std::vector<std::uint8_t>& b) { PutLe32(b, 12, 0xFFFFFFF0u); PutLe32(b, 16, 0x20); }, 1},
        {"file cut in third", [](std::vector<std::uint8_t>& b) { b.resize(b.size() - 1); }, 2},
        {"first huge", [](std::vector<std::uint8_t>& b) { PutLe32(b, 8, 0xFFFFFFFFu); }, 0},
    };
    for (const auto& c : cases) {
        auto bytes = ThreeBufferFile();
        c.damage(bytes);
        PasteBuffers out = DecodePasteBuffers(bytes.data(), bytes.size());
        const int slots[] = {0, 1, 4};
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_EQ(!out[slots[i]].empty(), i < c.buffersKept) << c.note << ", slot " << slots[i];
        if (c.buffersKept > 0) {
            EXPECT_STREQ(out[0].data(), "alpha") << c.note;
        }
    }
}

TEST(PasteBufferFile, UnterminatedTextStaysInsideItsBlock) {
    auto bytes = ThreeBufferFile();
    std::memset(bytes.data() + 84, 'x', bytes.size() - 84);   // no zero byte anywhere
    PasteBuffers out = DecodePasteBuffers(bytes.data(), bytes.size());
    EXPECT_EQ(out[0], PasteBuffer(8, 'x'));
    EXPECT_EQ(out[4], PasteBuffer(16, 'x'));
}

TEST(Bookmarks, ParseTable) {
    struct Case {
        const char* value;
        bool valid;
        unsigned line, column;
        const char* path;
    };
    const Case cases[] = {
        {"12,4,C:\\src\\main.cpp", true, 12, 4, "C:\\SRC\\MAIN.CPP"},
        {" \t7,\r\n3,x.h", true, 7, 3, "X.H"},
        {"1,2,a,b", true, 1, 2, "A,B"},
        {"x,y,f", true, 0, 0, "F"},
        {"12,4,", false, 0, 0, ""},
        {"12,4", false, 0, 0, ""},
        {"", false, 0, 0, ""},
    };
    for (const auto& c : cases) {
        auto b = ParseBookmark(c.value);
        ASSERT_EQ(b.has_value(), c.valid) << c.value;
        if (!b) continue;
        EXPECT_EQ(b->line, c.line) << c.value;
        EXPECT_EQ(b->column, c.column) << c.value;
        EXPECT_EQ(b->path, c.path) << c.value;
    }
    EXPECT_EQ(FormatBookmark({12, 4, "C:\\SRC\\MAIN.CPP"}), "12,4,C:\\SRC\\MAIN.CPP");
}

TEST(ExtensionMap, TakesKnownTypesInFileOrder) {
    UserExtensionMap map({{"TXT", "CPP"},
                          {"DOC", "NOTHING"},
                          {"pl", "log"},
                          {"ABCDEFGHIJKLMNOPQ", "C"},   // 17 characters
                          {".", "INI"}});
    EXPECT_EQ(map.Entries().size(), 3u);
    struct Case { const char* path; qv::DocKind kind; };
    const Case cases[] = {
        {"C:\\SRC\\NOTES.TXT", qv::kKindCpp},
        {"C:\\SRC\\MEMO.DOC", qv::kKindOther},
        {"run.PL", qv::kKindLog},
        {"C:\\SRC\\MAKEFILE", qv::kKindSections},
        {"main.c", qv::kKindC},   // built-in table still answers
    };
    for (const auto& c : cases) EXPECT_EQ(qv::DocKindOf(c.path, &map), c.kind) << c.path;

    std::vector<std::pair<std::string, std::string>> many;
    for (int i = 0; i < 40; ++i) many.emplace_back("E" + std::to_string(i), "H");
    UserExtensionMap full(many);
    EXPECT_EQ(full.Entries().size(), 32u);
    EXPECT_EQ(full.Entries().back().extension, "E31");
}

TEST(FileDateFormat, PatternsAndClocks) {
    auto dosDate = [](unsigned y, unsigned m, unsigned d) {
        return static_cast<std::uint16_t>((y - 1980) << 9 | m << 5 | d);
    };
    auto dosTime = [](unsigned h, unsigned min) { return static_cast<std::uint16_t>(h << 11 | min << 5); };
    IntlSettings us;
    us.amSuffix = "AM";
    us.pmSuffix = "PM";
    IntlSettings de;
    de.shortDate = "dd.MM.yyyy";
    de.clock24 = 1;
    de.hourLeadingZero = 1;
    de.timeSeparator = '.';
    IntlSettings odd;
    odd.shortDate = "yyy-D/m y";
    struct Case {
        const IntlSettings* intl;
        std::uint16_t date, time;
        const char* text;
    };
    const Case cases[] = {
        {&de, dosDate(2001, 3, 5), dosTime(9, 7), "05.03.2001  09.07 "},
        {&us, dosDate(2001, 3, 5), dosTime(9, 7), "3/5/01   9:07 AM"},
        {&us, dosDate(1999, 12, 31), dosTime(23, 59), "12/31/99  11:59 PM"},
        {&odd, dosDate(2007, 11, 2), dosTime(0, 0), "07-2/11 y  12:00 "},
        {&us, dosDate(2001, 3, 5), dosTime(12, 30), "3/5/01  12:30 PM"},
        {&us, dosDate(2001, 3, 5), dosTime(0, 5), "3/5/01  12:05 AM"},
        {&us, 0, 0, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatFileDateTime(c.date, c.time, *c.intl), c.text);
}
