// kvo32.ocx as a host program sees it: the exports found by name, the
// conversion of log files to text, and the message strings by kind.
#include <gtest/gtest.h>
#include "fw/ModulePath.h"

#include <regex>

#include <fw/Handle.h>
#include <fw/Window.h>

#include "ChannelLog.h"
#include "LogTestSupport.h"

namespace kvo {
namespace {

using LogToText = short(__stdcall*)(long, const char*, const char*);
using WriteLogExport = void(__stdcall*)(unsigned short, const char*);

class LogExportsTest : public test::LoggingTest {
protected:
    void SetUp() override {
        LoggingTest::SetUp();
        const std::string path = fw::BesideModule("kvo32.ocx");
        ocx.Reset(LoadLibraryA(path.c_str()));
        ASSERT_TRUE(ocx) << path;
        logToText = fw::ProcAddress<LogToText>(ocx.Get(), "log_to_text");
        ASSERT_NE(logToText, nullptr);
        // Every category, so the file shows each kind of line.
        ini.Set("LogFile", "Events", "1");
        ini.Set("LogFile", "Functions", "1");
        LoadLogMasks();
    }

    std::string Convert(const std::string& log, long line, short* result) {
        const std::string text = dir.File("out.txt");
        *result = logToText(line, log.c_str(), text.c_str());
        return std::regex_replace(fw::testing::ReadText(text), std::regex("[0-9]{2}:[0-9]{2}:[0-9]{2}->"),
                                  "hh:mm:ss->");
    }

    fw::Module ocx;
    LogToText logToText = nullptr;
};

TEST_F(LogExportsTest, BothExportsAreThereUndecorated) {
    EXPECT_NE(fw::ProcAddress<WriteLogExport>(ocx.Get(), "kvo_write_log"), nullptr);
    EXPECT_EQ(GetProcAddress(ocx.Get(), "_log_to_text@12"), nullptr);
    // Not running inside the library: the export must simply do nothing.
    fw::ProcAddress<WriteLogExport>(ocx.Get(), "kvo_write_log")(0, nullptr);
}

// A call on line 3 as the voice runtime logs it, converted to text.
TEST_F(LogExportsTest, LogFileConvertsToTheLineTexts) {
    LogSystemStart(4);
    WriteLog(3, LK_CALL_IN);
    WriteLogSSN(3, LK_CONTROL_ENTER, "Menu", "GetDigits", 2);
    WriteLog(3, LK_VOICE_PLAY);
    WriteLogNN(3, LK_VOICE_EVENT, 29, 5);
    WriteLogNN(3, LK_VOICE_EVENT, 41, 5);
    WriteLogNN(3, LK_WAIT_DIGITS, 4, 0x1F);
    WriteLogS(2, LK_TEXT, "another line");
    WriteLogS(3, LK_DIGITS_RECEIVED, "12#");
    WriteLogS(3, LK_CONTROL_NOT_FOUND, "Main");
    WriteLogNS(3, LK_EXIT_NODE, 7, "Menu");
    WriteLogNSS(3, LK_EXIT_NODE_VALUE, 2, "Next", "12");
    WriteLogSSSS(3, LK_INI_VALUE, "a.ini", "Sec", "Key", nullptr);
    WriteLogSN(3, LK_VAP_PHRASE_ID_NOT_FOUND, "p.vap", 12);
    WriteLog(3, LK_CALLER_HANGUP);
    WriteLog(3, LK_CALL_END);
    LogSystemStop(4);

    short result = -99;
    const std::string text = Convert(TodayLogPath(), 3, &result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(text,
              "hh:mm:ss-> ch 4 System Start\r\n"
              "hh:mm:ss-> ch 4 Call In  \r\n"
              "hh:mm:ss-> ch 4 'Menu' (GetDigits) \r\n"
              "ch 4 voice play\r\n"
              "hh:mm:ss-> ch 4 voice event 'RC_BUSY 5'  \r\n"
              "hh:mm:ss-> ch 4 voice event 'Unknown return code 41 5'  \r\n"
              "ch 4 waiting for digits, max 4, mask 1f\r\n"
              "ch 4 digits received '12#'\r\n"
              "Error: ch 4 Control not found 'Main'\r\n"
              "hh:mm:ss-> ch 4 exit via node 7 <Menu>\r\n"
              "hh:mm:ss-> ch 4 exit via node 2 <'Next'> value '12'\r\n"
              "ch 4 ini 'a.ini', 'Sec', 'Key' ''\r\n"
              "Error: ch 4 'p.vap': vap phrase id 12 not found\r\n"
              "hh:mm:ss-> ch 4 caller hangup\r\n"
              "hh:mm:ss-> ch 4 Call End\r\n"
              "hh:mm:ss-> ch 4 System Stop\r\n");
    EXPECT_EQ(Convert(TodayLogPath(), 2, &result),
              "hh:mm:ss-> ch 3 System Start\r\nch 3 another line\r\nhh:mm:ss-> ch 3 System Stop\r\n");
    EXPECT_EQ(Convert(TodayLogPath(), 47, &result), "") << "a line with no records";
}

TEST_F(LogExportsTest, ResultCodes) {
    auto header = LogFileHeader();
    std::vector<std::uint8_t> current(header.begin(), header.end());
    auto versioned = [&](std::uint8_t low, std::uint8_t high) {
        auto b = current;
        b[16] = low;
        b[17] = high;
        return b;
    };
    auto foreign = current;
    foreign[0] = 0;
    fw::testing::WriteBytes(dir.File("current.vlg"), current);
    fw::testing::WriteBytes(dir.File("old.vlg"), versioned(0xFF, 0));
    fw::testing::WriteBytes(dir.File("newer.vlg"), versioned(0x01, 0x01));
    fw::testing::WriteBytes(dir.File("foreign.vlg"), foreign);
    fw::testing::WriteBytes(dir.File("short.vlg"), {0x83, 0x41});
    fw::testing::WriteBytes(dir.File("empty.vlg"), {});
    CreateDirectoryA(dir.File("sub").c_str(), nullptr);

    const std::string text = dir.File("out.txt");
    struct Case {
        const char* note;
        std::string log;
        std::string out;
        short expected;
        bool emptyText;  // the text file exists and is empty afterwards
    } cases[] = {
        {"current, no records", dir.File("current.vlg"), text, 0, true},
        {"missing log file", dir.File("none.vlg"), text, 2, false},
        {"log file in a missing directory", dir.File("nodir\\x.vlg"), text, 3, false},
        {"text file in a missing directory", dir.File("current.vlg"), dir.File("nodir\\x.txt"), 3, false},
        {"log path is a directory", dir.File("sub"), text, 5, false},
        {"not a log file", dir.File("foreign.vlg"), text, 100, true},
        {"header cut short", dir.File("short.vlg"), text, 100, true},
        {"empty file", dir.File("empty.vlg"), text, 100, true},
        {"older format", dir.File("old.vlg"), text, 101, true},
        {"newer format", dir.File("newer.vlg"), text, 102, true},
    };
    for (const Case& c : cases) {
        fw::testing::WriteBytes(text, {'o', 'l', 'd'});
        DeleteFileA(c.emptyText ? text.c_str() : "");
        EXPECT_EQ(logToText(0, c.log.c_str(), c.out.c_str()), c.expected) << c.note;
        if (c.emptyText) {
            EXPECT_NE(GetFileAttributesA(text.c_str()), INVALID_FILE_ATTRIBUTES) << c.note;
            EXPECT_EQ(fw::testing::ReadBytes(text).size(), 0u) << c.note;
        }
    }
    EXPECT_EQ(logToText(0, nullptr, text.c_str()), -1);
    EXPECT_EQ(logToText(0, dir.File("current.vlg").c_str(), nullptr), -1);
}

TEST_F(LogExportsTest, FilesInUseGiveSharingViolation) {
    LogSystemStart(1);
    short result = 0;
    Convert(TodayLogPath(), 0, &result);
    EXPECT_EQ(result, 11) << "the running system's log file";
    LogSystemStop(1);

    const std::string text = dir.File("busy.txt");
    fw::FileHandle busy(CreateFileA(text.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(busy);
    EXPECT_EQ(logToText(0, TodayLogPath().c_str(), text.c_str()), 11) << "a text file open elsewhere";
}

TEST_F(LogExportsTest, DamagedFileConvertsUpToTheDamage) {
    LogSystemStart(0);
    WriteLogS(0, LK_TEXT, "kept");
    WriteLogS(0, LK_TEXT, "cut");
    LogSystemStop(0);
    auto bytes = fw::testing::ReadBytes(TodayLogPath());
    bytes.resize(bytes.size() - 2);
    fw::testing::WriteBytes(TodayLogPath(), bytes);
    short result = -99;
    EXPECT_EQ(Convert(TodayLogPath(), 0, &result), "ch 1 kept\r\n");
    EXPECT_EQ(result, 0);
}

// The library's string table holds each kind's message at 5000 + kind.
TEST_F(LogExportsTest, MessageStringsByKind) {
    for (int k = 0; k < kLogKindCount; ++k)
        EXPECT_EQ(fw::LoadResString(ocx.Get(), kLogMessageBase + k), FindLogKind(k)->format)
            << "kind " << k;
}

}  // namespace
}  // namespace kvo
