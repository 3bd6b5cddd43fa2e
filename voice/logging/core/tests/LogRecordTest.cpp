// Record bytes as they land in the file, and reading damaged files back.
#include "LogRecord.h"

#include <gtest/gtest.h>

#include <random>

namespace kvo {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes FileOf(std::initializer_list<Bytes> records) {
    auto header = LogFileHeader();
    Bytes file(header.begin(), header.end());
    for (const Bytes& r : records) file.insert(file.end(), r.begin(), r.end());
    return file;
}

Bytes Encode(int channel, int kind, std::initializer_list<LogValue> values) {
    auto record = MakeLogRecord(channel, kind, values);
    EXPECT_TRUE(record.has_value()) << "kind " << kind;
    return record ? EncodeLogRecord(*record) : Bytes{};
}

// Reads every record of `channel`, straight from memory or through blocks of
// the given size; returns them and how the reading ended.
std::vector<LogRecord> ReadAll(const Bytes& file, int channel, LogHeaderStatus* header = nullptr,
                               std::size_t block = 0) {
    MemoryByteSource memory(file.data(), file.size());
    BlockByteSource blocks(memory, block);
    LogByteSource& source = block ? static_cast<LogByteSource&>(blocks) : memory;
    LogHeaderStatus status = ReadLogHeader(source);
    if (header) *header = status;
    std::vector<LogRecord> out;
    if (status != LogHeaderStatus::Current) return out;
    LogRecord r;
    for (LogReadResult res; (res = ReadLogRecord(source, channel, r)) != LogReadResult::End;)
        if (res == LogReadResult::Record) out.push_back(r);
    return out;
}

TEST(LogRecordTest, HeaderIsIdentifierThenVersion) {
    const Bytes expected = {0x83, 0x41, 0x9D, 0x44, 0x2A, 0x39, 0xCF, 0x11, 0x94, 0xA1,
                            0x00, 0xC0, 0xF0, 0x04, 0x0A, 0x74, 0x00, 0x01, 0x00, 0x00};
    auto header = LogFileHeader();
    EXPECT_EQ(Bytes(header.begin(), header.end()), expected);
}

TEST(LogRecordTest, RecordBytes) {
    struct Case {
        const char* note;
        Bytes bytes;
        Bytes expected;
    } cases[] = {
        {"text record of line 3",
         Encode(3, LK_TEXT, {"hello"}),
         {0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 6, 0, 0, 0, 'h', 'e', 'l', 'l', 'o', 0}},
        {"exit via node: number then string",
         Encode(0, LK_EXIT_NODE, {7, "Menu"}),
         {11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9, 0, 0, 0, 7, 0, 0, 0, 'M', 'e', 'n', 'u', 0}},
        {"null string is stored empty",
         Encode(1, LK_NUMBER_TO_DIAL, {static_cast<const char*>(nullptr)}),
         {8, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0}},
        {"no arguments, test channel",
         Encode(kTestChannel, LK_SYSTEM_START, {}),
         {81, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}},
        {"voice event: two numbers, negative value",
         Encode(2, LK_VOICE_EVENT, {29, -1}),
         {44, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 8, 0, 0, 0, 29, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"extra arguments beyond the kind's list are dropped",
         Encode(0, LK_DELAY_START, {5, "x", 6}),
         {2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 5, 0, 0, 0}},
        {"a number where a string belongs is written as its digits",
         Encode(0, LK_NUMBER_TO_DIAL, {42}),
         {8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, '4', '2', 0}},
        {"a string where a number belongs is 0",
         Encode(0, LK_DELAY_START, {"12"}),
         {2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.bytes, c.expected) << c.note;
}

TEST(LogRecordTest, TimeBytesAreMinuteHourUnusedSecond) {
    auto r = MakeLogRecord(0, LK_SYSTEM_START, {});
    ASSERT_TRUE(r);
    r->time = {12, 23, 0, 59};
    Bytes bytes = EncodeLogRecord(*r);
    EXPECT_EQ(Bytes(bytes.begin() + 4, bytes.begin() + 8), (Bytes{12, 23, 0, 59}));
}

TEST(LogRecordTest, KindOutsideTableMakesNoRecord) {
    EXPECT_FALSE(MakeLogRecord(0, -1, {}));
    EXPECT_FALSE(MakeLogRecord(0, kLogKindCount, {}));
}

TEST(LogRecordTest, LongStringsAreCutSoEveryRecordStaysReadable) {
    const std::string huge(1000, 'a');
    const Bytes file = FileOf({Encode(0, LK_INI_VALUE, {huge.c_str(), huge.c_str(), huge.c_str(), huge.c_str()}),
                               Encode(0, LK_TEXT, {huge.c_str()}),
                               Encode(0, LK_RECORD_OK, {})});
    auto records = ReadAll(file, 0);
    ASSERT_EQ(records.size(), 3u) << "a long record must not end the reading of the file";
    std::size_t total = 0;
    for (const LogArg& a : records[0].args) {
        EXPECT_LE(a.text.size(), kLogMaxString);
        total += a.text.size() + 1;
    }
    EXPECT_LE(total, kLogMaxPayload);
    EXPECT_EQ(records[0].args[0].text.size(), kLogMaxString) << "earlier strings keep the most";
    EXPECT_EQ(records[1].args[0].text, std::string(kLogMaxString, 'a'));
    EXPECT_EQ(records[2].kind, LK_RECORD_OK);
}

TEST(LogRecordTest, RoundTripKeepsFieldsAndSkipsOtherLines) {
    auto a = MakeLogRecord(4, LK_EXIT_NODE_VALUE, {3, "Main", "42"});
    a->time = {1, 2, 0, 3};
    const Bytes file = FileOf({EncodeLogRecord(*a), Encode(5, LK_TEXT, {"other"}),
                               Encode(4, LK_CONTROL_ENTER, {"Menu", "GetDigits", 2})});
    auto records = ReadAll(file, 4);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].kind, LK_EXIT_NODE_VALUE);
    EXPECT_EQ(records[0].time.minute, 1);
    EXPECT_EQ(records[0].time.hour, 2);
    EXPECT_EQ(records[0].time.second, 3);
    EXPECT_EQ(records[0].args[0].number, 3);
    EXPECT_EQ(records[0].args[1].text, "Main");
    EXPECT_EQ(records[0].args[2].text, "42");
    EXPECT_EQ(records[1].args[2].number, 2);
    EXPECT_EQ(ReadAll(file, 5).size(), 1u);
}

TEST(LogRecordTest, HeaderStatus) {
    auto header = LogFileHeader();
    auto withVersion = [&](std::uint32_t v) {
        Bytes b(header.begin(), header.begin() + 16);
        for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        return b;
    };
    Bytes foreign = withVersion(0x100);
    foreign[15] ^= 1;
    struct Case {
        const char* note;
        Bytes bytes;
        LogHeaderStatus expected;
    } cases[] = {
        {"current", withVersion(0x100), LogHeaderStatus::Current},
        {"old", withVersion(0xFF), LogHeaderStatus::Old},
        {"version 0 is old", withVersion(0), LogHeaderStatus::Old},
        {"newer", withVersion(0x101), LogHeaderStatus::Newer},
        {"identifier differs", foreign, LogHeaderStatus::Invalid},
        {"empty file", {}, LogHeaderStatus::Invalid},
        {"short identifier", Bytes(header.begin(), header.begin() + 10), LogHeaderStatus::Invalid},
        {"identifier without version", Bytes(header.begin(), header.begin() + 18),
         LogHeaderStatus::Invalid},
    };
    for (const Case& c : cases) {
        MemoryByteSource source(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(ReadLogHeader(source), c.expected) << c.note;
    }
}

// Damage ends the reading there: the records before it stay, nothing after
// it is trusted (a good record follows each damaged one here).
TEST(LogRecordTest, DamagedRecordsEndTheReading) {
    const Bytes good = Encode(0, LK_EXIT_NODE, {7, "Menu"});
    auto patched = [&](std::size_t at, std::uint8_t value) {
        Bytes b = good;
        b[at] = value;
        return b;
    };
    struct Case {
        const char* note;
        Bytes damaged;
        bool atEnd;  // truncation can only be seen at the end of the file
        std::size_t expected;
    } cases[] = {
        {"truncated record head", Bytes(good.begin(), good.begin() + 10), true, 1},
        {"truncated payload", Bytes(good.begin(), good.end() - 2), true, 1},
        {"payload length above the limit", patched(13, 0x02), false, 1},
        {"negative payload length", patched(15, 0x80), false, 1},
        {"kind outside the table", patched(1, 0x10), false, 1},
        {"negative kind", patched(3, 0xFF), false, 1},
        {"no damage", good, false, 3},
    };
    for (const Case& c : cases) {
        Bytes file = FileOf({good, c.damaged});
        if (!c.atEnd) file.insert(file.end(), good.begin(), good.end());
        EXPECT_EQ(ReadAll(file, 0).size(), c.expected) << c.note;
    }
}

// A payload shorter than the kind's arguments (its length lies about them)
// gives the arguments it holds and never reads past itself.
TEST(LogRecordTest, PayloadShorterThanArgumentsKeepsWhatItHas) {
    struct Case {
        const char* note;
        Bytes payload;
        int strings;     // expected arguments read
        std::string second;
    } cases[] = {
        {"empty payload", {}, 0, ""},
        {"number cut short", {7, 0}, 0, ""},
        {"string without its NUL", {7, 0, 0, 0, 'M', 'e'}, 2, "Me"},
        {"complete", {7, 0, 0, 0, 'M', 0}, 2, "M"},
    };
    for (const Case& c : cases) {
        Bytes record = {11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                        static_cast<std::uint8_t>(c.payload.size()), 0, 0, 0};
        record.insert(record.end(), c.payload.begin(), c.payload.end());
        auto records = ReadAll(FileOf({record}), 0);
        ASSERT_EQ(records.size(), 1u) << c.note;
        int present = 0;
        for (const LogArg& a : records[0].args) present += a.type != LogArgType::None;
        EXPECT_EQ(present, c.strings) << c.note;
        EXPECT_EQ(records[0].args[1].text, c.second) << c.note;
    }
}

// Random garbage after a valid header: the reader must always stop, within
// bounds (the sanitizers watch), with no more records than bytes allow.
TEST(LogRecordTest, RandomBytesNeverCrashTheReader) {
    std::mt19937 rng(1234);
    for (int round = 0; round < 2000; ++round) {
        Bytes file = FileOf({});
        const std::size_t n = rng() % 600;
        for (std::size_t i = 0; i < n; ++i) file.push_back(static_cast<std::uint8_t>(rng()));
        // Plausible heads now and then, so the payload paths run too.
        if (n > 16 && round % 2) {
            file[20] = static_cast<std::uint8_t>(rng() % kLogKindCount);
            file[21] = file[22] = file[23] = 0;
            file[28] = file[29] = file[30] = file[31] = 0;
            file[32] = static_cast<std::uint8_t>(rng() % 40);
            file[33] = file[34] = file[35] = 0;
        }
        const std::int32_t channel = static_cast<std::int32_t>(rng() % 2);
        auto records = ReadAll(file, channel);
        EXPECT_LE(records.size() * kLogRecordHeaderSize, n);
    }
}

}  // namespace
}  // namespace kvo

namespace kvo {
namespace {

bool SameRecords(const std::vector<LogRecord>& a, const std::vector<LogRecord>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].kind != b[i].kind || a[i].channel != b[i].channel || a[i].time.second != b[i].time.second)
            return false;
        for (int k = 0; k < kLogArgSlots; ++k)
            if (a[i].args[k].type != b[i].args[k].type || a[i].args[k].number != b[i].args[k].number ||
                a[i].args[k].text != b[i].args[k].text)
                return false;
    }
    return true;
}

// Records cross block boundaries at every offset; whatever the block size,
// the same records come back, those of other lines passed over unread.
TEST(LogRecordTest, BlocksOfAnySizeReadTheSameRecords) {
    Bytes file = FileOf({});
    std::mt19937 rng(7);
    for (int i = 0; i < 400; ++i) {
        const std::string text(rng() % 40, static_cast<char>('a' + i % 26));
        Bytes r = i % 3 == 0 ? Encode(static_cast<int>(rng() % 4), LK_EXIT_NODE, {i, text.c_str()})
                             : Encode(static_cast<int>(rng() % 4), LK_INI_VALUE,
                                      {text.c_str(), "", text.c_str(), "k"});
        file.insert(file.end(), r.begin(), r.end());
    }
    const Bytes cut(file.begin(), file.end() - 3);  // the last record truncated
    for (const Bytes* f : {static_cast<const Bytes*>(&file), &cut}) {
        for (int line = 0; line < 4; ++line) {
            const auto expected = ReadAll(*f, line);
            ASSERT_FALSE(expected.empty());
            for (std::size_t block : {1u, 5u, 16u, 17u, 300u, 4096u, 1u << 20})
                EXPECT_TRUE(SameRecords(ReadAll(*f, line, nullptr, block), expected))
                    << "line " << line << ", block " << block << (f == &cut ? ", truncated" : "");
        }
    }
}

// A source that counts how often it is asked.
class CountingSource : public LogByteSource {
public:
    CountingSource(const Bytes& bytes) : memory_(bytes.data(), bytes.size()) {}
    std::size_t Read(void* buffer, std::size_t size) override {
        ++reads;
        return memory_.Read(buffer, size);
    }
    int reads = 0;

private:
    MemoryByteSource memory_;
};

TEST(LogRecordTest, BlockSourceAsksItsSourceOncePerBlock) {
    Bytes file = FileOf({});
    for (int i = 0; i < 1000; ++i) {
        const Bytes r = Encode(i % 2, LK_TEXT, {"some text of a line"});
        file.insert(file.end(), r.begin(), r.end());
    }
    CountingSource counting(file);
    BlockByteSource source(counting, 4096);
    EXPECT_EQ(ReadLogHeader(source), LogHeaderStatus::Current);
    LogRecord r;
    int records = 0;
    for (LogReadResult res; (res = ReadLogRecord(source, 1, r)) != LogReadResult::End;)
        records += res == LogReadResult::Record;
    EXPECT_EQ(records, 500);
    EXPECT_EQ(counting.reads, static_cast<int>(file.size() / 4096 + 1)) << "a short block is the end";
}

}  // namespace
}  // namespace kvo
