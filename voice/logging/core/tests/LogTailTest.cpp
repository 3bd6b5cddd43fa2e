// Where the whole records of a file end, whatever a torn write left behind.
#include "LogTail.h"

#include <gtest/gtest.h>

namespace kvo {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Text(int channel, const std::string& text) {
    return EncodeLogRecord(*MakeLogRecord(channel, LK_TEXT, {text.c_str()}));
}

std::uint64_t WholeOf(const Bytes& records) {
    MemoryByteSource source(records.data(), records.size());
    return WholeRecordsLength(source);
}

TEST(LogTailTest, WholeRecordsEndBeforeWhatATornWriteLeft) {
    const Bytes a = Text(0, "first"), b = Text(7, "second record");
    Bytes ab = a;
    ab.insert(ab.end(), b.begin(), b.end());
    auto with = [](Bytes bytes, const Bytes& tail) {
        bytes.insert(bytes.end(), tail.begin(), tail.end());
        return bytes;
    };
    const Bytes hugeLength = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x11, 0x01, 0, 0};   // 273
    struct Case {
        const char* note;
        Bytes records;
        std::uint64_t whole;
    } cases[] = {
        {"no records", {}, 0},
        {"two whole records", ab, ab.size()},
        {"a head cut short", with(ab, Bytes(b.begin(), b.begin() + 15)), ab.size()},
        {"a payload cut short", with(ab, Bytes(b.begin(), b.end() - 1)), ab.size()},
        {"a length no reader takes", with(a, with(hugeLength, Bytes(300, 'x'))), a.size()},
        {"what follows a bad length is not looked at", with(with(a, hugeLength), b), a.size()},
    };
    for (const Case& c : cases) EXPECT_EQ(WholeOf(c.records), c.whole) << c.note;
}

TEST(LogTailTest, RecordsAcrossReadBlocks) {
    // Enough records that heads and payloads straddle the reader's blocks.
    Bytes records;
    for (int i = 0; i < 5000; ++i) {
        const Bytes r = Text(i % 48, "record " + std::to_string(i) + std::string(i % 50, '.'));
        records.insert(records.end(), r.begin(), r.end());
    }
    EXPECT_EQ(WholeOf(records), records.size());
    const std::size_t whole = records.size();
    const Bytes torn = Text(1, "torn");
    records.insert(records.end(), torn.begin(), torn.end() - 3);
    EXPECT_EQ(WholeOf(records), whole);
}

}  // namespace
}  // namespace kvo
