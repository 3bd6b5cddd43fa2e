// Load benchmark of the voice system: every line of the simulated card takes
// scripted calls back to back through a saved form (LineGroup -> User, whose
// handler chooses exit 0 -> OnHook saying goodbye from a wave file), with
// seeded early hang-ups, at accelerated scenario time. Prints calls completed
// per second, the delay between a line's event and the host's handler, and
// checks that every call is in the channel log in order, that no line
// stalled and that no handle or thread was left behind.
// Usage: callbench [lines] [calls per line] [speed] [seed]
// Exit code 0 only when every check passed.
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "BesideOcx.h"
#include "Container.h"
#include "LogRecord.h"
#include "VoiceWave.h"
#include "fw/Handle.h"
#include "fw/ModulePath.h"
#include "fw/ole/Text.h"

namespace {

using container::Variant;

// Scenario milliseconds: the goodbye lasts this long, an early hang-up comes
// before half of it has passed, the others stay until the flow hangs up.
constexpr int kGoodbyeMs = 4000;
constexpr int kEarlyBeforeMs = 2000;
constexpr int kStaysMs = 6000000;
constexpr int kBytesPerSecond = 8000;   // the system play format
constexpr DWORD kStallMs = 30000;       // a line with calls left and no event for this long stalled
constexpr size_t kLibraryLocks = 64;   // locks of kvo32.ocx that live as long as it does (a generous count)
// Real time the first timed call of every line waits for its ring: the
// warm-up's calls end and the system stops well before it, so no call rings
// while the lines are being stopped (a stopping line leaves such a call
// unanswered, and the scripted calls would no longer match the log's).
constexpr int kHoldRealMs = 8000;

struct Options {
    int lines = 48;
    int calls = 20;
    int speed = 50;
    unsigned seed = 1;
    int rounds = 1;  // timed rounds (start, calls, stop) in this one process
};

// What each scripted caller does; the first call of every line warms up, then
// each timed round takes `calls` of them.
struct Script {
    std::vector<std::vector<bool>> early;   // [line][call]: hangs up before the goodbye ends
    std::string text;
};

Script MakeScenario(const Options& o) {
    std::mt19937 random(o.seed);
    auto below = [&](int n) { return int(random() % unsigned(n)); };
    Script s;
    std::ostringstream out;
    out << "channels " << o.lines << "\nspeed " << o.speed << "\n";
    s.early.resize(size_t(o.lines));
    for (int line = 0; line < o.lines; ++line) {
        out << "line " << line << "\n";
        for (int call = 0; call <= o.calls * o.rounds; ++call) {
            const bool early = call > 0 && below(4) == 0;
            s.early[size_t(line)].push_back(early);
            // Gone before the answer or at any time before the goodbye ends.
            const int hangup = !early ? kStaysMs : below(5) == 0 ? 0 : 1 + below(kEarlyBeforeMs);
            const bool roundBegins = call > 0 && (call - 1) % o.calls == 0;
            const int ring = roundBegins ? kHoldRealMs * o.speed : below(300);
            out << "call ring " << ring << "\nhangup " << hangup << "\n";
        }
    }
    s.text = out.str();
    return s;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    return bool(out.flush());
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// KVO32.INI as it was, put back when the run ends.
class IniBackup {
public:
    IniBackup() {
        char windows[MAX_PATH];
        GetWindowsDirectoryA(windows, sizeof windows);
        path_ = std::string(windows) + "\\KVO32.INI";
        existed_ = GetFileAttributesA(path_.c_str()) != INVALID_FILE_ATTRIBUTES;
        if (existed_) bytes_ = ReadFile(path_);
    }
    ~IniBackup() {
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, "KVO32.INI");  // drops the profile cache
        if (existed_) WriteFile(path_, bytes_);
        else DeleteFileA(path_.c_str());
    }
    IniBackup(const IniBackup&) = delete;
    IniBackup& operator=(const IniBackup&) = delete;

private:
    std::string path_, bytes_;
    bool existed_ = false;
};

double Now() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return double(f.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / frequency;
}

int ThreadCount() {
    fw::FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (!snapshot) return -1;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int n = 0;
    for (BOOL more = Thread32First(snapshot.Get(), &entry); more; more = Thread32Next(snapshot.Get(), &entry))
        n += entry.th32OwnerProcessID == GetCurrentProcessId();
    return n;
}

// Open handles of this process by value (GetProcessHandleCount is no help:
// Wine answers 0): every small handle value is asked about.
std::vector<UINT_PTR> OpenHandles() {
    std::vector<UINT_PTR> open;
    for (UINT_PTR value = 4; value < 0x40000; value += 4) {
        DWORD flags;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) open.push_back(value);
    }
    return open;
}

// The kind of object behind a handle ("Event", "Thread", "File", ...).
std::string HandleType(UINT_PTR value) {
    struct TypeName {
        USHORT length, maximum;
        PWSTR buffer;
    };
    using QueryObject = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    static const auto query = fw::ProcAddress<QueryObject>(GetModuleHandleW(L"ntdll.dll"), "NtQueryObject");
    alignas(8) char buffer[1024] = {};
    constexpr int kTypeInformation = 2;
    if (!query || query(reinterpret_cast<HANDLE>(value), kTypeInformation, buffer, sizeof buffer, nullptr) != 0)
        return "?";
    const auto* name = reinterpret_cast<const TypeName*>(buffer);
    return fw::ole::Narrow(std::wstring(name->buffer, name->length / sizeof(wchar_t)));
}

// The events of the flow, in the order one line raises them.
enum Event { kRing, kUserEnter, kUserExit, kOnHookEnter, kPreDisc, kOnHookDisconnect, kGroupDisconnect, kOther };

Event EventOf(const container::EventRecord& e) {
    const std::wstring name = e.control + L"." + e.event;
    static const wchar_t* const names[] = {L"LineGroup1.Ring",  L"User1.Enter",          L"User1.Exit",
                                           L"OnHook1.Enter",    L"LineGroup1.PreDisc",   L"OnHook1.Disconnect",
                                           L"LineGroup1.Disconnect"};
    for (int i = 0; i < kOther; ++i)
        if (name == names[i]) return Event(i);
    return kOther;
}

// When a line's events reached the host. The gap between the end of one
// handler and the start of the line's next one is the line's own work plus
// the hand-over; it is measured only where no blocking call lies between
// (not after OnHook1.Enter, which plays the goodbye, nor after the group's
// Disconnect, which waits for the next ring).
class EventClock {
public:
    explicit EventClock(int lines) : lines_(size_t(lines)) {}
    void Begin(int line, Event e) {
        if (line < 0 || size_t(line) >= lines_.size()) return;
        Line& l = lines_[size_t(line)];
        const double now = Now();
        if (e == kRing && first_ == 0) first_ = now;
        if (e == kGroupDisconnect) last_ = now;
        if (l.handled && l.last != kOnHookEnter && l.last != kGroupDisconnect && l.last != kOther)
            delays_.push_back(now - l.end);
        l.last = e;
        l.lastEvent = GetTickCount();
        if (e == kRing) ++l.rings;
        if (e == kGroupDisconnect) ++l.calls;
    }
    // A new run: its first events follow no handler of this run.
    void Restart() {
        for (Line& l : lines_) {
            l.handled = false;
            l.lastEvent = GetTickCount();
        }
        delays_.clear();
        first_ = last_ = 0;
    }
    // From the run's first ring to its last call's end.
    double Span() const { return last_ - first_; }
    void End(int line) {
        if (line < 0 || size_t(line) >= lines_.size()) return;
        lines_[size_t(line)].end = Now();
        lines_[size_t(line)].handled = true;
    }
    int Calls(int line) const { return lines_[size_t(line)].calls; }
    int Rings(int line) const { return lines_[size_t(line)].rings; }
    DWORD LastEvent(int line) const { return lines_[size_t(line)].lastEvent; }
    std::vector<double> Delays() const {
        std::vector<double> d = delays_;
        std::sort(d.begin(), d.end());
        return d;
    }

private:
    struct Line {
        Event last = kOther;
        bool handled = false;
        double end = 0;
        DWORD lastEvent = 0;
        int rings = 0;
        int calls = 0;
    };
    std::vector<Line> lines_;
    std::vector<double> delays_;
    double first_ = 0, last_ = 0;
};

// Builds the flow, saves it and loads it back: the run uses the saved form.
bool MakeForm(container::Host& host, const std::string& dir, int lines, std::string& error) {
    host.Add(L"Zentrovo.FrameCtrl.1", L"Frame1");
    host.Add(L"Zentrovo.LineGroupCtrl.1", L"LineGroup1");
    host.Add(L"Zentrovo.UserCtrl.1", L"User1");
    host.Add(L"Zentrovo.OnHookCtrl.1", L"OnHook1");
    if (host.Sites().size() != 4) {
        error = "the voice controls cannot be created (is kvo32.ocx registered?)";
        return false;
    }
    host.Find(L"Frame1")->Put(L"LogDirectory", Variant(fw::ole::Widen(dir)));
    host.Find(L"LineGroup1")->Put(L"LinesInGroup", Variant(L"1-" + std::to_wstring(lines)));
    auto connect = [&](const wchar_t* from, short node, const wchar_t* to) {
        const long id = host.Find(to)->Get(L"BlockID").value.Long();
        return host.Find(from)->Call(L"SetBlockPtr", {Variant(node), Variant(id), Variant(0L), Variant(1L)}).Ok();
    };
    container::CallResult greeting = host.Find(L"OnHook1")->Get(L"EntryGreeting");
    std::vector<Variant> insert{Variant(short(-1)), Variant(fw::ole::Widen(dir + "bye.wav"))};
    if (!connect(L"LineGroup1", 1, L"User1") || !connect(L"User1", 0, L"OnHook1") ||
        greeting.value.Type() != VT_DISPATCH ||
        !container::InvokeMember(greeting.value.Get()->pdispVal, L"InsertFile", DISPATCH_METHOD, insert).Ok()) {
        error = "the flow cannot be built";
        return false;
    }
    const std::wstring path = fw::ole::Widen(dir + "calls.frm");
    container::Form form;
    return host.SaveFile(path, error) && host.LoadFile(path, form, error);
}

// Every call of every line in the channel log, in order: each begins with
// "Call In", goes through the flow's steps in order (an early hang-up stops
// anywhere along them), ends as scripted and is over before the next begins.
struct LogCheck {
    long calls = 0;
    std::vector<std::string> faults;
    std::vector<int> faultyLines;
};

LogCheck CheckLog(const std::string& path, const Script& script) {
    LogCheck check;
    const std::string bytes = ReadFile(path);
    for (size_t line = 0; line < script.early.size(); ++line) {
        auto fault = [&](size_t call, const std::string& what) {
            if (check.faultyLines.empty() || check.faultyLines.back() != int(line))
                check.faultyLines.push_back(int(line));
            if (check.faults.size() < 20)
                check.faults.push_back("line " + std::to_string(line + 1) + " call " + std::to_string(call + 1) + ": " +
                                       what);
            else if (check.faults.size() == 20)
                check.faults.push_back("...");
        };
        kvo::MemoryByteSource memory(bytes.data(), bytes.size());
        kvo::BlockByteSource source(memory);
        if (kvo::ReadLogHeader(source) != kvo::LogHeaderStatus::Current) {
            check.faults.push_back("the log has no current header");
            return check;
        }
        // The flow's steps; an early call may stop after any of them.
        enum Step { kAnswered, kInUser, kLeftUser, kInOnHook };
        size_t call = 0;
        bool inCall = false, ended = false;
        int step = -1;
        kvo::LogRecord r;
        for (kvo::LogReadResult got; (got = kvo::ReadLogRecord(source, int(line), r)) != kvo::LogReadResult::End;) {
            if (got != kvo::LogReadResult::Record) continue;
            const std::string name = r.args[0].text;
            int next = -1;
            switch (r.kind) {
            case kvo::LK_CALL_IN:
                if (inCall) fault(call, ended ? "the call never went back to the LineGroup" : "the call never ended");
                if (inCall) ++call;
                inCall = true;
                ended = false;
                step = -1;
                if (call >= script.early[line].size()) fault(call, "a call that was never scripted");
                continue;
            case kvo::LK_EXIT_NODE: next = r.args[0].number == 1 ? kAnswered : kLeftUser; break;
            case kvo::LK_CONTROL_ENTER:
                if (name == "LineGroup1") {
                    if (inCall && !ended) fault(call, "back in the LineGroup before the call ended");
                    if (inCall) ++call;
                    inCall = false;
                    continue;
                }
                next = name == "User1" ? kInUser : name == "OnHook1" ? kInOnHook : -2;
                break;
            case kvo::LK_CALL_COMPLETE:
            case kvo::LK_CALLER_HANGUP: {
                const bool hungUp = r.kind == kvo::LK_CALLER_HANGUP;
                if (!inCall || ended) {
                    fault(call, "a call ended twice or outside a call");
                    continue;
                }
                ended = true;
                if (call < script.early[line].size() && hungUp != script.early[line][call])
                    fault(call, hungUp ? "the caller hung up, the script says the call completes"
                                       : "completed, the script has the caller hang up first");
                if (!hungUp && step != kInOnHook) fault(call, "completed without going through the flow");
                continue;
            }
            case kvo::LK_SYSTEM_STOP:
                // A call that ended as the system stopped does not go back to the group.
                if (inCall && !ended) fault(call, "the system stopped inside a call");
                if (inCall) ++call;
                inCall = false;
                continue;
            default: continue;
            }
            if (!inCall || ended) {
                fault(call, "a flow step outside a call");
            } else if (next != step + 1) {
                fault(call, "steps out of order");
            }
            step = next;
        }
        if (inCall) fault(call, "the log ends inside a call");
        if (call != script.early[line].size())
            fault(call, std::to_string(call) + " calls in the log, " + std::to_string(script.early[line].size()) +
                            " scripted");
        check.calls += long(call);
    }
    return check;
}

std::string FindLog(const std::string& dir) {
    WIN32_FIND_DATAA found;
    fw::FindHandle find(FindFirstFileA((dir + "*.vlg").c_str(), &found));
    return find ? dir + found.cFileName : "";
}

void ClearFolder(const std::string& dir) {
    CreateDirectoryA(dir.c_str(), nullptr);
    WIN32_FIND_DATAA found;
    fw::FindHandle find(FindFirstFileA((dir + "*").c_str(), &found));
    for (bool more = bool(find); more; more = FindNextFileA(find.Get(), &found))
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((dir + found.cFileName).c_str());
}

class Bench {
public:
    Bench(const Options& o, const Script& script, const std::string& dir)
        : o_(o), script_(script), dir_(dir), clock_(o.lines) {}
    int Run();

private:
    bool Start() {
        container::CallResult r = host_.Find(L"Frame1")->Call(L"StartSystem", {Variant(short(0))});
        if (!r.Ok()) std::printf("StartSystem: %s\n", container::ToUtf8(r.description).c_str());
        return r.Ok();
    }
    bool Stop() {
        bool stopped = false;
        host_.PumpUntil(
            [&] { return stopped = host_.Find(L"Frame1")->Call(L"StopSystem", {Variant(short(0))}).value.Long() != 0; },
            kStallMs);
        return stopped;
    }
    // Pumps until every line has taken `calls` calls; false with the stalled
    // lines printed when some line made no progress for kStallMs.
    bool WaitForCalls(int calls);
    // One start, `calls` calls on every line and the stop, with its figures.
    bool TimedRound(int round, int threadsBefore, int& threadsAfter);
    void OnEvent(container::EventRecord& e);

    const Options o_;
    const Script& script_;
    const std::string dir_;
    container::Host host_;
    EventClock clock_;
};

void Bench::OnEvent(container::EventRecord& e) {
    const int line = e.args.empty() ? -1 : int(e.args[0].Long()) - 1;
    clock_.Begin(line, EventOf(e));
    if (e.control == L"User1" && e.event == L"Enter") {
        std::vector<Variant> gotoNode{Variant(short(line + 1)), Variant(short(0))};
        host_.Find(L"User1")->Invoke(L"GotoNode", DISPATCH_PROPERTYPUT, gotoNode);
    }
    clock_.End(line);
}

bool Bench::WaitForCalls(int calls) {
    std::vector<int> stalled;
    host_.PumpUntil(
        [&] {
            const DWORD now = GetTickCount();
            bool done = true;
            stalled.clear();
            for (int line = 0; line < o_.lines; ++line) {
                if (clock_.Calls(line) >= calls) continue;
                done = false;
                if (now - clock_.LastEvent(line) > kStallMs) stalled.push_back(line);
            }
            return done || !stalled.empty();
        },
        INFINITE);
    for (int line : stalled)
        std::printf("stalled: line %d after %d of %d calls\n", line + 1, clock_.Calls(line), calls);
    return stalled.empty();
}

// Handles in `after` that `before` has not (both sorted).
std::vector<UINT_PTR> NewHandles(const std::vector<UINT_PTR>& before, const std::vector<UINT_PTR>& after) {
    std::vector<UINT_PTR> added;
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(), std::back_inserter(added));
    return added;
}

bool Bench::TimedRound(int round, int threadsBefore, int& threadsAfter) {
    int taken = 0;
    for (int line = 0; line < o_.lines; ++line) taken += clock_.Calls(line);
    clock_.Restart();
    if (!Start()) return false;
    const int threadsRunning = ThreadCount();
    bool ok = WaitForCalls(1 + round * o_.calls);
    const double elapsed = clock_.Span();
    int calls = -taken;
    for (int line = 0; line < o_.lines; ++line) calls += clock_.Calls(line);
    const bool stopped = Stop();
    if (!stopped) std::printf("the stop never finished\n");
    ok = ok && stopped;
    host_.PumpUntil([&] { return (threadsAfter = ThreadCount()) <= threadsBefore; }, 5000);

    const std::vector<double> delays = clock_.Delays();
    auto at = [&](double q) { return delays.empty() ? 0.0 : delays[size_t(q * double(delays.size() - 1))] * 1000; };
    if (o_.rounds > 1) std::printf("round %d: ", round);
    std::printf("%d lines, %d calls timed (speed %d, seed %u): %.2f s, %.1f calls completed per second\n", o_.lines,
                calls, o_.speed, o_.seed, elapsed, calls / elapsed);
    std::printf("event to handler: %zu events measured, median %.2f ms, 99%% %.2f ms, largest %.2f ms\n",
                delays.size(), at(0.5), at(0.99), at(1.0));
    std::printf("threads %d running\n", threadsRunning);
    return ok;
}

int Bench::Run() {
    if (!host_.Create()) return 1;
    std::string error;
    if (!MakeForm(host_, dir_, o_.lines, error)) {
        std::printf("form: %s\n", error.c_str());
        return 1;
    }
    host_.OnEvent([this](container::EventRecord& e) { OnEvent(e); });
    bool ok = true;

    // Warm-up: one call per line, so the first start's lasting allocations
    // (driver, log file, windows) are in the baseline.
    const int threadsIdle = ThreadCount();
    clock_.Restart();
    if (!Start()) return 1;
    ok = WaitForCalls(1) && ok;
    if (!Stop()) {
        std::printf("the warm-up stop never finished\n");
        return 1;
    }
    // Line threads end just after the stop is reported.
    host_.PumpUntil([&] { return ThreadCount() <= threadsIdle; }, 5000);
    const std::vector<UINT_PTR> handlesBefore = OpenHandles();
    const int threadsBefore = ThreadCount();
    std::vector<UINT_PTR> handlesAfter, handlesAfterFirst;
    int threadsAfter = 0;
    for (int round = 1; round <= o_.rounds && ok; ++round) {
        ok = TimedRound(round, threadsBefore, threadsAfter) && ok;
        handlesAfter = OpenHandles();
        if (round == 1) handlesAfterFirst = handlesAfter;
        if (o_.rounds > 1)
            std::printf("round %d: handles %zu after, %zu new since the warm-up, %zu since round 1; threads %d\n",
                        round, handlesAfter.size(), NewHandles(handlesBefore, handlesAfter).size(),
                        NewHandles(handlesAfterFirst, handlesAfter).size(), threadsAfter);
    }
    std::printf("handles %zu before, %zu after; threads %d before, %d after\n", handlesBefore.size(),
                handlesAfter.size(), threadsBefore, threadsAfter);
    // A lock's wait event is made the first time the lock is contended and
    // kept while the lock lives (the threads library's way). Locks that live
    // as long as the libraries (each card line's and the card's own two, the
    // logger's, the dispatcher's, each control's) get theirs whenever two
    // threads first meet in them, which may take many rounds: such events are
    // bounded by the number of locks, while a leak per call or per line
    // thread grows with every round. Any other handle type left is a leak.
    const size_t lockBound = size_t(o_.lines) + 2 + kLibraryLocks;
    std::vector<std::string> left;
    size_t events = 0;
    for (UINT_PTR h : NewHandles(handlesBefore, handlesAfter)) {
        const std::string type = HandleType(h);
        if (type == "Event") ++events;
        else left.push_back(type);
    }
    if (events) std::printf("  %zu new lock events (bound %zu, see the source)\n", events, lockBound);
    if (!left.empty() || events > lockBound || threadsAfter > threadsBefore) {
        std::printf("LEAK: handles or threads left behind:");
        for (const std::string& type : left) std::printf(" %s", type.c_str());
        std::printf("%s\n", events > lockBound ? " and more events than locks" : "");
        ok = false;
    }
    for (int line = 0; line < o_.lines; ++line)
        if (clock_.Rings(line) != int(script_.early[size_t(line)].size())) {
            std::printf("line %d: %d rings reached the host, %zu calls scripted\n", line + 1, clock_.Rings(line),
                        script_.early[size_t(line)].size());
            ok = false;
        }
    host_.Clear();

    const std::string log = FindLog(dir_);
    const LogCheck check = log.empty() ? LogCheck{0, {"no channel log"}, {}} : CheckLog(log, script_);
    std::printf("channel log: %ld calls found in order of %d scripted, %zu faults\n", check.calls,
                o_.lines * (o_.calls * o_.rounds + 1), check.faults.size());
    for (const std::string& f : check.faults) std::printf("  %s\n", f.c_str());
    // The text of the lines at fault, to look at.
    fw::Module ocx(LoadLibraryA(fw::BesideModule("kvo32.ocx").c_str()));
    auto toText = fw::ProcAddress<short(__stdcall*)(long, const char*, const char*)>(ocx.Get(), "log_to_text");
    for (size_t i = 0; toText && i < check.faultyLines.size() && i < 3; ++i) {
        const std::string text = dir_ + "line" + std::to_string(check.faultyLines[i] + 1) + ".txt";
        if (toText(check.faultyLines[i], log.c_str(), text.c_str()) == 0) std::printf("  see %s\n", text.c_str());
    }
    ok = ok && check.faults.empty();
    std::printf("%s\n", ok ? "all checks passed" : "CHECKS FAILED");
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (argc > 1) o.lines = std::atoi(argv[1]);
    if (argc > 2) o.calls = std::atoi(argv[2]);
    if (argc > 3) o.speed = std::atoi(argv[3]);
    if (argc > 4) o.seed = unsigned(std::strtoul(argv[4], nullptr, 10));
    if (argc > 5) o.rounds = std::atoi(argv[5]);
    if (o.lines < 1 || o.lines > 48 || o.calls < 1 || o.speed < 1 || o.rounds < 1) {
        std::fprintf(stderr, "usage: callbench [lines 1-48] [calls per line] [speed] [seed] [rounds]\n");
        return 2;
    }
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string dir = std::string(temp) + "kvocallbench\\";
    ClearFolder(dir);
    const Script script = MakeScenario(o);
    // The goodbye in the system play format after its wave header.
    if (!WriteFile(dir + "calls.scn", script.text) ||
        !WriteFile(dir + "bye.wav", kvo_test::VoiceWave(kGoodbyeMs / 1000 * kBytesPerSecond))) {
        std::fprintf(stderr, "callbench: cannot write to %s\n", dir.c_str());
        return 1;
    }
    SetEnvironmentVariableA("KVORHT32_SCENARIO", (dir + "calls.scn").c_str());
    SetEnvironmentVariableA("KVORHT32_JOURNAL", nullptr);

    IniBackup ini;
    WritePrivateProfileStringA("VoiceCard", "Type", "RHETOREX", "KVO32.INI");
    WritePrivateProfileStringA("System", "Logs", "1", "KVO32.INI");
    WritePrivateProfileStringA("System", "ShowDialog", "0", "KVO32.INI");
    OleInitialize(nullptr);
    int result = 1;
    {
        const fw::Module ocx = kvo_test::LoadRegisteredOcx();
        if (!ocx.Get()) {
            std::fprintf(stderr, "callbench: kvo32.ocx cannot be registered\n");
        } else {
            result = Bench(o, script, dir).Run();
        }
    }
    OleUninitialize();
    return result;
}
