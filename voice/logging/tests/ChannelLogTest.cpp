// The logger: what system start, writers and stop leave in the day's file.
#include "ChannelLog.h"

#include <gtest/gtest.h>

#include <thread>

#include "LogTestSupport.h"
#include "fw/testing/Dialogs.h"

extern "C" void __stdcall kvo_write_log(unsigned short line, const char* text);

namespace kvo {
namespace {

using fw::testing::ReadBytes;
using test::ReadLogFile;

class ChannelLogTest : public test::LoggingTest {
protected:
    std::string TodayName() { return dir.File(LogFileName(test::kPinnedTime.wDay, test::kPinnedTime.wMonth)); }
};

TEST_F(ChannelLogTest, StartWritesHeaderAndStartRecordsStopWritesStopRecords) {
    LogSystemStart(2);
    EXPECT_EQ(TodayLogPath(), TodayName());
    kvo_write_log(1, "hello");
    LogSystemStop(2);

    for (int line = 0; line < 2; ++line) {
        auto records = ReadLogFile(TodayName(), line);
        ASSERT_GE(records.size(), 2u) << line;
        EXPECT_EQ(records.front().kind, LK_SYSTEM_START);
        EXPECT_EQ(records.back().kind, LK_SYSTEM_STOP);
    }
    auto line1 = ReadLogFile(TodayName(), 1);
    ASSERT_EQ(line1.size(), 3u);
    EXPECT_EQ(line1[1].kind, LK_TEXT);
    EXPECT_EQ(line1[1].args[0].text, "hello");
}

TEST_F(ChannelLogTest, WriteLogExportAppendsTextRecordBelowLine48Only) {
    LogSystemStart(0);
    kvo_write_log(3, "hello");
    kvo_write_log(48, "ignored");
    kvo_write_log(65535, "ignored");
    kvo_write_log(0, nullptr);
    LogSystemStop(0);

    auto header = LogFileHeader();
    std::vector<std::uint8_t> expected(header.begin(), header.end());
    const std::vector<std::uint8_t> hello = {0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 6, 0, 0, 0,
                                             'h', 'e', 'l', 'l', 'o', 0};
    const std::vector<std::uint8_t> empty = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0};
    expected.insert(expected.end(), hello.begin(), hello.end());
    expected.insert(expected.end(), empty.begin(), empty.end());
    EXPECT_EQ(ReadBytes(TodayName()), expected);
}

TEST_F(ChannelLogTest, NothingIsWrittenUnlessEnabledAndRunning) {
    kvo_write_log(0, "before start");
    ini.Set("System", "Logs", "0");
    LogSystemStart(1);
    EXPECT_FALSE(LoggingEnabled());
    kvo_write_log(0, "disabled");
    LogSystemStop(1);
    EXPECT_EQ(ReadBytes(TodayName()).size(), kLogHeaderSize);

    ini.Set("System", "Logs", "1");
    LogSystemStart(0);
    LogSystemStop(0);
    kvo_write_log(0, "after stop");
    EXPECT_EQ(ReadBytes(TodayName()).size(), kLogHeaderSize);
}

// What a run finds in today's file decides whether it appends or starts over.
TEST_F(ChannelLogTest, StartAppendsToCurrentFileAndReplacesForeignHeader) {
    auto header = LogFileHeader();
    // Today's date in an older format: its records must not resurface
    // behind the new run's.
    std::vector<std::uint8_t> older(header.begin(), header.end());
    older[16] = 0xFF;
    older[17] = 0;
    for (const char* text : {"old-a", "old-b", "old-c"}) {
        const auto bytes = EncodeLogRecord(*MakeLogRecord(0, LK_TEXT, {text}));
        older.insert(older.end(), bytes.begin(), bytes.end());
    }
    struct Case {
        const char* note;
        std::vector<std::uint8_t> foreign;  // bytes a stranger left in the file
        bool earlierRun;                    // a run of today already wrote it
        std::vector<std::string> expected;
    } cases[] = {
        {"no file", {}, false, {"run"}},
        {"today's file of an earlier run", {}, true, {"earlier", "run"}},
        {"a foreign header", std::vector<std::uint8_t>(20, 'x'), false, {"run"}},
        {"an older format", older, false, {"run-a"}},
    };
    for (const Case& c : cases) {
        DeleteFileA(TodayName().c_str());
        if (!c.foreign.empty()) fw::testing::WriteBytes(TodayName(), c.foreign);
        if (c.earlierRun) {
            LogSystemStart(0);
            kvo_write_log(0, "earlier");
            LogSystemStop(0);
        }
        LogSystemStart(0);
        kvo_write_log(0, c.expected.back().c_str());
        LogSystemStop(0);
        std::vector<std::string> texts;
        for (const LogRecord& r : ReadLogFile(TodayName(), 0)) texts.push_back(r.args[0].text);
        EXPECT_EQ(texts, c.expected) << c.note;
        EXPECT_TRUE(std::equal(header.begin(), header.end(), ReadBytes(TodayName()).begin())) << c.note;
    }
}

TEST_F(ChannelLogTest, RunGoesOnWithoutAFileThatCannotBeCreated) {
    const std::string missing = dir.File("nodir\\");
    SetLogDirectory(missing);
    std::string said;
    {
        fw::testing::DialogWatcher box("", [&](HWND b) {
            said = fw::testing::MessageBoxText(b);
            fw::testing::Press(b, IDOK);
        });
        LogSystemStart(1);
    }
    EXPECT_EQ(said, "cannot create log file " + TodayLogPath());
    EXPECT_EQ(TodayLogPath().rfind(missing, 0), 0u);
    EXPECT_TRUE(LogSystemRunning());
    kvo_write_log(0, "nowhere to go");
    LogSystemStop(1);
}

TEST_F(ChannelLogTest, LogDirectoryFallsBackToVoiceDirectory) {
    ini.Set("Directories", "LogFiles", "");
    std::string voice = dir.Path();
    voice.pop_back();  // the separator is added when missing
    ini.Set("Directories", "Voice", voice.c_str());
    EXPECT_EQ(LogDirectory(), dir.Path());
    SetLogDirectory("d:\\other\\");
    EXPECT_EQ(LogDirectory(), "d:\\other\\");
}

TEST_F(ChannelLogTest, FileMaskFromIniFiltersTheFile) {
    ini.Set("LogFile", "Errors", "0");
    ini.Set("LogFile", "Functions", "1");
    LoadLogMasks();
    LogSystemStart(0);
    WriteLogS(0, LK_CONTROL_NOT_FOUND, "Main");   // error: off
    WriteLog(0, LK_VOICE_PLAY);                   // driver function: on
    WriteLogNN(0, LK_VOICE_EVENT, 0, 0);          // driver event: default off
    WriteLogNS(0, LK_EXIT_NODE, 1, "x");          // structure: always on
    LogSystemStop(0);
    std::vector<int> kinds;
    for (const LogRecord& r : ReadLogFile(TodayName(), 0)) kinds.push_back(r.kind);
    EXPECT_EQ(kinds, (std::vector<int>{LK_VOICE_PLAY, LK_EXIT_NODE}));
}

TEST_F(ChannelLogTest, TestModeRecordsGoToTheSinkOnly) {
    struct Sink : TestLogSink {
        std::vector<LogRecord> records;
        void AddRecord(const LogRecord& r) override { records.push_back(r); }
    } sink;
    LogSystemStart(0);
    SetTestLogSink(&sink);
    SetLogTestMode(true);
    WriteLogS(5, LK_TEXT, "test");
    SetLogTestMode(false);
    SetTestLogSink(nullptr);
    LogSystemStop(0);
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].channel, kTestChannel);
    EXPECT_TRUE(ReadLogFile(TodayName(), 5).empty());
}

// 48 lines log at once: every record arrives whole, in its line's order.
TEST_F(ChannelLogTest, FortyEightThreadsLoseOrTearNoRecord) {
    constexpr int kPerThread = 150;
    LogSystemStart(0);
    std::vector<std::thread> threads;
    for (int line = 0; line < kMaxLogLines; ++line) {
        threads.emplace_back([line] {
            for (int i = 0; i < kPerThread; ++i) {
                const std::string text = "line " + std::to_string(line) + " record " +
                                         std::to_string(i) + std::string(i % 40, '.');
                if (i % 2)
                    WriteLogNS(line, LK_EXIT_NODE, i, text.c_str());
                else
                    WriteLogS(line, LK_TEXT, text.c_str());
            }
        });
    }
    for (auto& t : threads) t.join();
    LogSystemStop(0);

    std::size_t bytesExpected = kLogHeaderSize;
    for (int line = 0; line < kMaxLogLines; ++line) {
        auto records = ReadLogFile(TodayName(), line);
        ASSERT_EQ(records.size(), static_cast<std::size_t>(kPerThread)) << "line " << line;
        for (int i = 0; i < kPerThread; ++i) {
            const std::string text = "line " + std::to_string(line) + " record " +
                                     std::to_string(i) + std::string(i % 40, '.');
            const LogRecord& r = records[i];
            if (i % 2) {
                ASSERT_EQ(r.kind, LK_EXIT_NODE) << line << "/" << i;
                EXPECT_EQ(r.args[0].number, i);
                EXPECT_EQ(r.args[1].text, text);
            } else {
                ASSERT_EQ(r.kind, LK_TEXT) << line << "/" << i;
                EXPECT_EQ(r.args[0].text, text);
            }
            bytesExpected += EncodeLogRecord(r).size();
        }
    }
    EXPECT_EQ(ReadBytes(TodayName()).size(), bytesExpected) << "stray bytes in the file";
}

}  // namespace
}  // namespace kvo
