// Demo: a short call on line 1 is logged, with host texts through
// kvo_write_log between the runtime's own records, and the day's log is then
// printed through kvo32.ocx's log_to_text export. The logger (and with it
// kvo_write_log) is linked in here because starting the system inside
// kvo32.ocx is the dispatcher's job. Logging is switched on for the run only;
// a scratch directory takes the log file.
#include <windows.h>

#include <cstdio>
#include <string>

#include <fw/Handle.h>
#include <fw/ModulePath.h>

#include "ChannelLog.h"
#include "LogSettings.h"

extern "C" void __stdcall kvo_write_log(unsigned short line, const char* text);

namespace {

using LogToText = short(__stdcall*)(long, const char*, const char*);

}  // namespace

int main() {
    using namespace kvo;
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string dir = std::string(temp) + "kvologdemo\\";
    CreateDirectoryA(dir.c_str(), nullptr);

    const std::string oldLogs = ReadSuiteString("System", "Logs");
    WriteSuiteString("System", "Logs", "1");
    SetLogDirectory(dir);

    LogSystemStart(2);
    const std::string logPath = TodayLogPath();
    WriteLog(0, LK_CALL_IN);
    WriteLogSSN(0, LK_CONTROL_ENTER, "Welcome", "PlayGreeting", 1);
    kvo_write_log(0, "host: caller is a known customer");
    WriteLogNS(0, LK_EXIT_NODE, 1, "Menu");
    WriteLogSSN(0, LK_CONTROL_ENTER, "Menu", "GetDigits", 2);
    WriteLogS(0, LK_DIGITS_RECEIVED, "3");
    WriteLogS(0, LK_CONTROL_NOT_FOUND, "Sales");
    WriteLog(0, LK_CALLER_HANGUP);
    kvo_write_log(1, "host: line 2 stays idle");
    LogSystemStop(2);
    WriteSuiteString("System", "Logs", oldLogs.empty() ? nullptr : oldLogs.c_str());

    fw::Module ocx(LoadLibraryA(fw::BesideModule("kvo32.ocx").c_str()));
    auto logToText = ocx ? fw::ProcAddress<LogToText>(ocx.Get(), "log_to_text") : nullptr;
    if (!logToText) {
        std::printf("kvo32.ocx or its log_to_text export not found\n");
        return 1;
    }
    const std::string textPath = dir + "line1.txt";
    const short result = logToText(0, logPath.c_str(), textPath.c_str());
    std::printf("log_to_text(line 1) = %d\n", result);
    fw::FileHandle text(CreateFileA(textPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    char buf[4096];
    DWORD got = 0;
    while (text && ReadFile(text.Get(), buf, sizeof buf, &got, nullptr) && got)
        std::fwrite(buf, 1, got, stdout);
    text.Reset();
    DeleteFileA(textPath.c_str());
    DeleteFileA(logPath.c_str());
    RemoveDirectoryA(dir.c_str());
    return result == 0 ? 0 : 1;
}
