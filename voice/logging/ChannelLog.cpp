// The process-wide channel logger: record making, routing to the file and to
// the windows, and the file's lifetime from system start to stop.
#include "ChannelLog.h"

#include <windows.h>

#include <array>
#include <atomic>
#include <mutex>

#include <fw/Handle.h>

#include "LogFile.h"
#include "LogRouting.h"
#include "LogSettings.h"

namespace kvo {
namespace {

class ChannelLogger {
public:
    static ChannelLogger& Instance() {
        static ChannelLogger logger;
        return logger;
    }

    void Write(int channel, int kind, std::initializer_list<LogValue> values) {
        if (!enabled_) return;
        const bool test = testMode_;
        std::optional<LogRecord> record = MakeLogRecord(test ? kTestChannel : channel, kind, values);
        if (!record) return;
        const LogKindInfo& info = *FindLogKind(kind);
        if (info.timed) {
            SYSTEMTIME now;
            clock_.load()(&now);
            record->time = {static_cast<std::uint8_t>(now.wMinute), static_cast<std::uint8_t>(now.wHour),
                            0, static_cast<std::uint8_t>(now.wSecond)};
        }
        if (test) {
            std::lock_guard lock(sinkMutex_);
            if (testSink_) testSink_->AddRecord(*record);
            return;
        }
        if (!running_) return;
        if (FileMask().Has(info.category)) Append(*record);
        if (channel >= 0 && channel < kMaxLogLines) {
            std::shared_ptr<LogInbox> inbox;
            {
                std::lock_guard lock(inboxMutex_);
                inbox = inboxes_[channel];
            }
            if (inbox) inbox->Push(std::move(*record));
        }
    }

    void Start(int lineCount) {
        enabled_ = ReadSuiteInt("System", "Logs", 0) != 0;
        OpenToday();
        testMode_ = false;
        running_ = true;
        for (int line = 0; line < lineCount; ++line) Write(line, LK_SYSTEM_START, {});
    }

    void Stop(int lineCount) {
        for (int line = 0; line < lineCount; ++line) Write(line, LK_SYSTEM_STOP, {});
        running_ = false;
        std::lock_guard lock(fileMutex_);
        file_.Reset();
    }

    void SetDirectory(const std::string& directory) {
        std::lock_guard lock(pathMutex_);
        directory_ = directory;
        directorySet_ = true;
    }

    std::string Directory() {
        {
            std::lock_guard lock(pathMutex_);
            if (directorySet_) return directory_;
        }
        std::string dir = ReadSuiteString("Directories", "LogFiles");
        if (!dir.empty()) return dir;
        dir = ReadSuiteString("Directories", "Voice", "c:\\kvo32\\");
        if (!dir.empty() && dir.back() != '\\' && dir.back() != '/') dir += '\\';
        return dir;
    }

    std::string TodayPath() {
        std::lock_guard lock(pathMutex_);
        return todayPath_;
    }

    void LoadMasks() {
        CategoryMask file = LoadCategoryMask(kFileMaskSection);
        CategoryMask test = LoadCategoryMask(kTestWindowMaskSection);
        std::lock_guard lock(maskMutex_);
        fileMask_ = file;
        testMask_ = test;
    }

    void Attach(int line, std::shared_ptr<LogInbox> inbox) {
        if (line < 0 || line >= kMaxLogLines) return;
        std::lock_guard lock(inboxMutex_);
        inboxes_[line] = std::move(inbox);
    }

    void Detach(int line, const LogInbox* inbox) {
        if (line < 0 || line >= kMaxLogLines) return;
        std::lock_guard lock(inboxMutex_);
        if (inboxes_[line].get() == inbox) inboxes_[line].reset();
    }

    void SetTestMode(bool on) { testMode_ = on; }
    void SetSink(TestLogSink* sink) {
        std::lock_guard lock(sinkMutex_);
        testSink_ = sink;
    }

    CategoryMask TestMask() {
        std::lock_guard lock(maskMutex_);
        return testMask_;
    }

    void SetClock(LogClock clock) { clock_ = clock ? clock : &GetLocalTime; }

    void Reset() {
        running_ = false;
        enabled_ = false;
        testMode_ = false;
        SetSink(nullptr);
        SetClock(nullptr);
        {
            std::lock_guard lock(fileMutex_);
            file_.Reset();
        }
        {
            std::lock_guard lock(pathMutex_);
            directory_.clear();
            directorySet_ = false;
            todayPath_.clear();
        }
        LoadMasks();
    }

    bool Enabled() const { return enabled_; }
    bool Running() const { return running_; }

private:
    ChannelLogger() { LoadMasks(); }

    CategoryMask FileMask() {
        std::lock_guard lock(maskMutex_);
        return fileMask_;
    }

    // One write call per record under the lock, so records of concurrent
    // lines never interleave; a failed write loses that record only.
    void Append(const LogRecord& record) {
        const std::vector<std::uint8_t> bytes = EncodeLogRecord(record);
        std::lock_guard lock(fileMutex_);
        if (!file_) return;
        if (WriteAll(file_.Get(), bytes.data(), bytes.size())) FlushFileBuffers(file_.Get());
    }

    void OpenToday() {
        SYSTEMTIME now;
        clock_.load()(&now);
        const std::string path = Directory() + LogFileName(now.wDay, now.wMonth);
        {
            std::lock_guard lock(pathMutex_);
            todayPath_ = path;
        }
        // Shared both ways: the windows' "Today" reads the file while it grows.
        const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
        fw::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        bool ready = false;
        if (file) {
            FileByteSource source(file.Get());
            if (ReadLogHeader(source) == LogHeaderStatus::Current) {
                ready = SetFilePointer(file.Get(), 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER;
            } else {
                // A foreign or outdated header is replaced; appending starts after it.
                // What followed it is cut off, or a reader would take the stale
                // bytes behind this run's records for records of it.
                SetFilePointer(file.Get(), 0, nullptr, FILE_BEGIN);
                const auto header = LogFileHeader();
                ready = WriteAll(file.Get(), header.data(), header.size()) && SetEndOfFile(file.Get());
            }
        }
        if (!ready) {
            file.Reset(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr,
                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
            const auto header = LogFileHeader();
            if (file && !WriteAll(file.Get(), header.data(), header.size())) file.Reset();
        }
        if (!file) {
            const std::string text = "cannot create log file " + path;
            MessageBoxA(nullptr, text.c_str(), nullptr, MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
        }
        std::lock_guard lock(fileMutex_);
        file_ = std::move(file);
    }

    std::atomic<bool> enabled_{false};
    std::atomic<bool> running_{false};
    std::atomic<bool> testMode_{false};
    std::atomic<LogClock> clock_{&GetLocalTime};

    std::mutex fileMutex_;
    fw::FileHandle file_;

    std::mutex pathMutex_;
    std::string directory_;
    bool directorySet_ = false;
    std::string todayPath_;

    std::mutex maskMutex_;
    CategoryMask fileMask_;
    CategoryMask testMask_;

    std::mutex inboxMutex_;
    std::array<std::shared_ptr<LogInbox>, kMaxLogLines> inboxes_;

    std::mutex sinkMutex_;
    TestLogSink* testSink_ = nullptr;
};

ChannelLogger& Logger() { return ChannelLogger::Instance(); }

}  // namespace

void WriteLog(int ch, int kind) { Logger().Write(ch, kind, {}); }
void WriteLogN(int ch, int kind, long n) { Logger().Write(ch, kind, {n}); }
void WriteLogNN(int ch, int kind, long n1, long n2) { Logger().Write(ch, kind, {n1, n2}); }
void WriteLogS(int ch, int kind, const char* s) { Logger().Write(ch, kind, {s}); }
void WriteLogSS(int ch, int kind, const char* s1, const char* s2) {
    Logger().Write(ch, kind, {s1, s2});
}
void WriteLogSSS(int ch, int kind, const char* s1, const char* s2, const char* s3) {
    Logger().Write(ch, kind, {s1, s2, s3});
}
void WriteLogSSSS(int ch, int kind, const char* s1, const char* s2, const char* s3, const char* s4) {
    Logger().Write(ch, kind, {s1, s2, s3, s4});
}
void WriteLogNS(int ch, int kind, long n, const char* s) { Logger().Write(ch, kind, {n, s}); }
void WriteLogSN(int ch, int kind, const char* s, long n) { Logger().Write(ch, kind, {s, n}); }
void WriteLogNSS(int ch, int kind, long n, const char* s1, const char* s2) {
    Logger().Write(ch, kind, {n, s1, s2});
}
void WriteLogSSN(int ch, int kind, const char* s1, const char* s2, long n) {
    Logger().Write(ch, kind, {s1, s2, n});
}

void LogSystemStart(int lineCount) { Logger().Start(lineCount); }
void LogSystemStop(int lineCount) { Logger().Stop(lineCount); }
bool LoggingEnabled() { return Logger().Enabled(); }
bool LogSystemRunning() { return Logger().Running(); }
void SetLogDirectory(const std::string& directory) { Logger().SetDirectory(directory); }
std::string LogDirectory() { return Logger().Directory(); }
std::string TodayLogPath() { return Logger().TodayPath(); }
void LoadLogMasks() { Logger().LoadMasks(); }
CategoryMask TestLogWindowMask() { return Logger().TestMask(); }
void SetLogTestMode(bool on) { Logger().SetTestMode(on); }
void SetTestLogSink(TestLogSink* sink) { Logger().SetSink(sink); }
void SetLogClock(LogClock clock) { Logger().SetClock(clock); }
void ResetChannelLog() { Logger().Reset(); }

void LogInbox::Push(LogRecord record) {
    std::lock_guard lock(mutex_);
    const bool wake = records_.empty();
    records_.push_back(std::move(record));
    if (wake && window_) PostMessageA(window_, message_, 0, 0);
}

std::deque<LogRecord> LogInbox::TakeAll() {
    std::lock_guard lock(mutex_);
    return std::exchange(records_, {});
}

void LogInbox::Close() {
    std::lock_guard lock(mutex_);
    window_ = nullptr;
    records_.clear();
}

void AttachLogInbox(int line, std::shared_ptr<LogInbox> inbox) { Logger().Attach(line, std::move(inbox)); }
void DetachLogInbox(int line, const LogInbox* inbox) { Logger().Detach(line, inbox); }

}  // namespace kvo
