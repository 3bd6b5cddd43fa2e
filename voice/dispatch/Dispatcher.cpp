#include "Dispatcher.h"

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "CallFlowControl.h"
#include "ChannelLog.h"
#include "Checks.h"
#include "DigitControl.h"
#include "GreetingPlayer.h"
#include "KvoResource.h"
#include "LineStatusWindow.h"
#include "NoticeWindow.h"
#include "LineState.h"
#include "LogSettings.h"
#include "Redirection.h"
#include "RuntimeExceptions.h"
#include "VoiceControl.h"
#include "VoiceSystem.h"
#include "fw/Handle.h"
#include "fw/ModulePath.h"
#include "fw/Wait.h"

namespace kvo {
namespace {

// What a starting line tells the thread that started it: whether its
// channel could be seized. Lives on the starter's stack until signalled.
struct LineStartup {
    fw::KernelHandle done{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    bool seized = false;
};

struct LineRecord {
    int line = 0;
    CCallFlowControl* current = nullptr;
    short exit = kExitNoNodeSet;
    short destInput = 0;
    CCallFlowControl* ran = nullptr;
    std::atomic<bool> stopRequest{false};
    long lineType = 1;
    std::atomic<CCallFlowControl*> shown{nullptr};
    std::atomic<CCallFlowControl*> previous{nullptr};
    std::atomic<LineHome*> home{nullptr};
    HANDLE thread = nullptr;  // owned; closed once the thread is known to have ended
    std::atomic<LineStartup*> startup{nullptr};
    std::atomic<bool> running{false};
    long helpDigitCode = 0;
    std::vector<CCallFlowControl*> visited;
    std::atomic<DWORD> callStart{0};
    std::atomic<DWORD> controlStart{0};
    int unseenTicks = 0;  // the system tick's own count
};

std::array<LineRecord, kDispatchLines> g_lines;
// Every record knows its line from the start: a loop over all records must
// not take the ones never started for line 0 (a stop marked line 0 as
// waiting for shutdown, so the tick never ended its wait for a ring).
const bool g_linesNumbered = [] {
    for (int i = 0; i < kDispatchLines; ++i) g_lines[size_t(i)].line = i;
    return true;
}();
constexpr DWORD kStartNoticeMs = 2000;
std::mutex g_systemLock;  // start, the finish of a stop, thread handles
std::atomic<int> g_running{0};
std::atomic<bool> g_stopping{false};
std::atomic<bool> g_force{false};
UINT_PTR g_timer = 0;
DWORD g_uiThread = 0;  // started the system; woken when a stop finishes
std::mutex g_homesLock;
std::vector<LineHome*> g_homes;

bool ValidLine(int line) { return line >= 0 && line < kDispatchLines; }

void SetStatus(int line, int code) { SetLineStatusText(line, code, ""); }

CVoiceInterface& Voice() {
    CVoiceInterface* vi = VoiceInterface();
    if (!vi) throw new ShutdownException();
    return *vi;
}

CCallFlowControl* AsControl(Vertex* v) { return dynamic_cast<CCallFlowControl*>(v); }

// The value a control leaves for the line (digits taken, a record found),
// named in its exit record; empty when it has none.
std::string ExitValue(const CCallFlowControl& control, int line) {
    return control.GetValueText(line, 0).value_or("");
}

// The driver's name of a result code, else its number.
std::string DriverCodeText(long code) {
    const char* name = ResultCodeName(std::int32_t(code));
    return name && *name ? name : std::to_string(code);
}

// Owns a caught heap exception.
struct ExceptionDeleter {
    void operator()(fw::Exception* e) const { e->Delete(); }
};
using OwnedException = std::unique_ptr<fw::Exception, ExceptionDeleter>;

void CloseThreadHandle(LineRecord& r) {
    if (r.thread) CloseHandle(r.thread);
    r.thread = nullptr;
}

// Writes the stop records and lowers the flags; once per stop.
void FinishStop() {
    std::lock_guard guard(g_systemLock);
    if (!ControlRegistry::Process().Started()) return;
    LogSystemStop(NumberOfLines());
    for (LineRecord& r : g_lines)
        if (!r.running) {
            CloseThreadHandle(r);
            SetStatus(r.line, kStatusIdle);
        }
    ControlRegistry::Process().SetStarted(false);
    SetKillChannelsRequested(false);
    SetShutdownRequested(false);
    g_stopping = false;
    g_force = false;
    // A user interface waiting in its message loop looks again.
    if (g_uiThread) PostThreadMessageA(g_uiThread, WM_NULL, 0, 0);
}

// ---- one line's call flow ----

class LineRunner {
public:
    explicit LineRunner(LineRecord& r) : r_(r), line_(r.line) {}
    void Run();

private:
    bool Turn();
    bool RunControl(CCallFlowControl& control, short& exit, Vertex*& next);
    bool FollowExit(short exit);
    bool Handle(fw::Exception& e);
    bool HandleControlError(ControlErrorException& e);
    bool HandleHelpDigit();
    bool HandleHangup();
    bool DefaultDigitProcessing(short exit);
    bool EndCall(long reason, bool redirect);
    bool EndCallGuarded(long reason, bool redirect);
    bool NoConnectionEnd(int kindA, int kindB, long node, const std::string& nodeName);
    bool TakeHomeNode(int node, const char* what);
    void MakeCurrent(Vertex* v, short destInput);
    void MakeHomeCurrent();
    void ResetLine();
    void TellVisited();
    LineHome* Home() const { return r_.home.load(); }
    CCallFlowControl* HomeControl() const { return Home() ? &Home()->HomeControl() : nullptr; }

    LineRecord& r_;
    const int line_;
};

void LineRunner::ResetLine() {
    r_.stopRequest = false;
    CCallFlowControl* home = HomeControl();
    r_.previous = home;
    r_.shown = home;
    SetStatus(line_, kStatusIdle);
}

void LineRunner::TellVisited() { r_.visited.clear(); }

void LineRunner::MakeCurrent(Vertex* v, short destInput) {
    CCallFlowControl* c = AsControl(v);
    if (!c) throw new ControlErrorException(0, 0);
    r_.current = c;
    r_.destInput = destInput;
}

void LineRunner::MakeHomeCurrent() {
    r_.current = HomeControl();
    r_.destInput = 0;
}

void LineRunner::Run() {
    // A handler that itself fails gets one more turn of the table; a failure
    // below that leaves the line stopped with an error.
    int depth = 0;
    OwnedException pending;
    for (;;) {
        // Non-blocking controls may cycle: the flags are looked at on every
        // turn, not only after blocking calls.
        if (ShutdownRequested()) return;
        if (KillChannelsRequested() && g_force && r_.current != HomeControl()) {
            if (!EndCallGuarded(kReasonSysStopping, false)) return;
        }
        if (!r_.current) return;
        try {
            // A stop sent while the line blocked in nothing was lost by the
            // driver: the request still ends the call.
            if (!pending && r_.current != HomeControl() && r_.stopRequest.exchange(false)) {
                if (!TakeHomeNode(2, "call stopped")) return;
                continue;
            }
            if (pending) {
                OwnedException e = std::move(pending);
                if (!Handle(*e)) return;
                depth = 0;
                continue;
            }
            if (!Turn()) return;
        } catch (fw::Exception* e) {
            pending.reset(e);
            if (++depth > 2) {
                WriteLog(line_, LK_CONTROL_ERROR);
                SetStatus(line_, kStatusStoppedError);
                return;
            }
        } catch (...) {
            // Not one of ours: the call ends, the line goes back to its group.
            WriteLog(line_, LK_CONTROL_ERROR);
            if (!EndCallGuarded(kReasonSysError, false)) return;
        }
    }
}

bool LineRunner::Turn() {
    CCallFlowControl& control = *r_.current;
    r_.previous = r_.shown.load();
    r_.shown = &control;
    r_.controlStart = GetTickCount();
    WriteLogSSN(line_, LK_CONTROL_ENTER, control.Name().c_str(), control.ClassName(), control.BlockId());
    if (&control != HomeControl()) r_.visited.push_back(&control);

    short exit = kExitNoNodeSet;
    Vertex* next = nullptr;
    r_.ran = &control;
    if (!RunControl(control, exit, next)) {
        WriteLog(line_, LK_CONTROL_ERROR);
        if (&control == HomeControl()) {
            // Sending the line back into the group that just failed would
            // only fail again, for ever.
            SetStatus(line_, kStatusStoppedError);
            return false;
        }
        SetStatus(line_, kStatusIdle);
        return EndCall(kReasonSysError, true);
    }
    if (!next && exit >= 0 && &control != HomeControl()) {
        exit = control.FireExit(line_, exit);
        next = LineRedirections::Process().RequestedControl(line_);
    }
    if (next) {
        if (const std::string value = ExitValue(control, line_); !value.empty())
            WriteLogS(line_, LK_EXIT_GOTO_VALUE, value.c_str());
        else
            WriteLog(line_, LK_EXIT_GOTO);
        MakeCurrent(next, 0);
        return true;
    }
    r_.exit = exit;
    return FollowExit(exit);
}

bool LineRunner::RunControl(CCallFlowControl& control, short& exit, Vertex*& next) {
    if (&control != HomeControl()) return control.Run(line_, r_.destInput, exit, next);
    // A driver failure in the group's own wait counts as a failed run: the
    // table would send the line straight back into the same failure.
    try {
        return control.Run(line_, r_.destInput, exit, next);
    } catch (ControlErrorException* e) {
        if (ShutdownRequested()) throw;
        OwnedException own(e);
        WriteLogNN(line_, LK_CONTROL_ERROR_TYPE, e->ErrorType(), e->ErrorData());
        return false;
    }
}

bool LineRunner::FollowExit(short exit) {
    CCallFlowControl& control = *r_.current;
    switch (exit) {
    case kExitHangup:
        WriteLogS(line_, LK_TRANSFER_TO_LINEGROUP, "onhook");
        WriteLog(line_, LK_CALL_COMPLETE);
        SetStatus(line_, kStatusStoppedCallComplete);
        return EndCall(kReasonControlHangup, true);
    case kExitInvalid:
    case kExitSilence: {
        auto* digits = dynamic_cast<CDigitControl*>(&control);
        Vertex* handler = !digits ? nullptr : exit == kExitInvalid ? digits->InvalidDigitsHandler() : digits->NoDigitsHandler();
        if (handler) {
            WriteLog(line_, exit == kExitInvalid ? LK_MAX_INVALID_HANDLER : LK_MAX_NO_DIGITS_HANDLER);
            MakeCurrent(handler, 0);
            return true;
        }
        return DefaultDigitProcessing(exit);
    }
    case kExitHelpDigit: return HandleHelpDigit();
    case kExitNoNodeSet:
        // Nothing chose an exit (a User handler that did nothing): the caller
        // must not be left in silence on a line that never comes back.
        WriteLog(line_, LK_CONTROL_ERROR);
        WriteLogS(line_, LK_TEXT_NOTE, "invalid exit node");
        return EndCall(kReasonSysError, false);
    default: break;
    }
    if (exit < 0 || exit >= control.NumNodes()) {
        // A node outside the list (one the host left in Exit or Condition)
        // has no connection: the call goes back as from an unconnected node.
        WriteLogN(line_, LK_VB_BAD_NODE, exit);
        return NoConnectionEnd(LK_NO_CONNECTION_ON_NODE, LK_STOPPED_NO_CONNECTION, exit, "");
    }
    short destInput = 0;
    Vertex* dest = control.Node(exit).GetDestControl(&destInput);
    if (!dest) return NoConnectionEnd(LK_NO_CONNECTION_ON_NODE, LK_STOPPED_NO_CONNECTION, exit, control.NodeName(exit));
    if (const std::string value = ExitValue(control, line_); !value.empty())
        WriteLogNSS(line_, LK_EXIT_NODE_VALUE, exit, control.NodeName(exit).c_str(), value.c_str());
    else
        WriteLogNS(line_, LK_EXIT_NODE, exit, control.NodeName(exit).c_str());
    MakeCurrent(dest, destInput);
    return true;
}

bool LineRunner::DefaultDigitProcessing(short exit) {
    const bool invalid = exit == kExitInvalid;
    CCallFlowControl* home = HomeControl();
    const int node = invalid ? 3 : 4;
    if (home && node < home->NumNodes()) {
        short destInput = 0;
        if (Vertex* dest = home->Node(node).GetDestControl(&destInput)) {
            WriteLogNS(line_, LK_EXIT_NODE, node, home->NodeName(node).c_str());
            MakeCurrent(dest, destInput);
            return true;
        }
    }
    WriteLog(line_, invalid ? LK_CALL_COMPLETE_INVALID_DIGITS : LK_CALL_COMPLETE_NO_RESPONSE);
    MakeHomeCurrent();
    const std::string name = home && node < home->NumNodes() ? home->NodeName(node) : "";
    NoConnectionEnd(LK_NO_CONNECTION_DEFAULT, LK_CALL_STOPPED_NO_CONNECTION, node, name);
    if (!home) return false;
    // The caller hears why the call ends before the line hangs up.
    const SystemSettings settings = Settings();
    SetLineStatusText(line_, kStatusPlaying, "error");
    PlayWaveFile(line_, invalid ? settings.defaultError : settings.defaultSilence, "default error phrase");
    return EndCall(kReasonInvalid, true);
}

bool LineRunner::NoConnectionEnd(int kindA, int kindB, long node, const std::string& nodeName) {
    WriteLogNS(line_, kindA, node, nodeName.c_str());
    WriteLog(line_, kindB);
    TellVisited();
    ResetLine();
    MakeHomeCurrent();
    return true;
}

bool LineRunner::TakeHomeNode(int node, const char* what) {
    CCallFlowControl* home = HomeControl();
    if (home && node < home->NumNodes()) {
        short destInput = 0;
        if (Vertex* dest = home->Node(node).GetDestControl(&destInput)) {
            WriteLogS(line_, LK_TRANSFER_TO_LINEGROUP, what);
            MakeCurrent(dest, destInput);
            return true;
        }
    }
    MakeHomeCurrent();
    WriteLogS(line_, LK_TRANSFER_TO_LINEGROUP, what);
    const std::string name = home && node < home->NumNodes() ? home->NodeName(node) : "";
    return NoConnectionEnd(LK_NO_CONNECTION_ON_NODE, LK_STOPPED_NO_CONNECTION, node, name);
}

bool LineRunner::EndCall(long reason, bool redirect) {
    CCallFlowControl* current = r_.current;
    CCallFlowControl* home = HomeControl();
    if (LineHome* h = Home()) h->NoteDisconnect(line_, reason);
    try {
        Voice().OnHook(line_);
    } catch (ControlErrorException* e) {
        // The host still hears that the call ended; the group tries again.
        OwnedException own(e);
        WriteLogNN(line_, LK_CONTROL_ERROR_TYPE, e->ErrorType(), e->ErrorData());
    }
    if (current) {
        current->FireDisconnect(line_, reason);
        if (short node = LineRedirections::Process().RequestedExit(line_); node >= 0 && node < current->NumNodes()) {
            Vertex* dest = current->Node(node).GetDestControl();
            if (dest && dest != current && redirect) {
                MakeCurrent(dest, 0);
                return true;
            }
        }
    }
    if (home && home != current) home->FireDisconnect(line_, reason);
    TellVisited();
    ResetLine();
    if (KillChannelsRequested()) return false;
    MakeHomeCurrent();
    return true;
}

bool LineRunner::EndCallGuarded(long reason, bool redirect) {
    // Runs inside the exception handlers: what it raises must not escape
    // the line's thread. The line still returns to its group.
    try {
        return EndCall(reason, redirect);
    } catch (fw::Exception* e) {
        OwnedException own(e);
        if (dynamic_cast<ShutdownException*>(e) || dynamic_cast<VBBreakException*>(e)) return false;
    } catch (...) {
    }
    TellVisited();
    ResetLine();
    if (KillChannelsRequested() || ShutdownRequested()) return false;
    MakeHomeCurrent();
    return true;
}

bool LineRunner::HandleHelpDigit() {
    WriteLog(line_, LK_HELP_DIGIT);
    if (Vertex* requested = LineRedirections::Process().RequestedControl(line_)) {
        MakeCurrent(requested, 0);
        return true;
    }
    if (auto* voice = dynamic_cast<CVoiceControl*>(r_.current))
        if (Vertex* handler = voice->HelpdigitHandler()) {
            MakeCurrent(handler, 0);
            return true;
        }
    Voice().ClearDTMFQueue(line_);
    return TakeHomeNode(5, "help digit");
}

bool LineRunner::HandleHangup() {
    SetStatus(line_, kStatusCallerHungUp);
    WriteLog(line_, LK_LOOP_CURRENT_DROP);
    WriteLog(line_, LK_LOOP_DROP);
    WriteLog(line_, LK_CALLER_HANGUP);
    if (auto* voice = dynamic_cast<CVoiceControl*>(r_.current))
        if (Vertex* handler = voice->DisconnectHandler()) {
            MakeCurrent(handler, 0);
            return true;
        }
    return EndCallGuarded(kReasonCallerHangup, true);
}

bool LineRunner::HandleControlError(ControlErrorException& e) {
    if (ShutdownRequested()) return false;
    if (e.ErrorType() == ErrorTypeVoiceCard && e.ErrorData() == kvoStopped) {
        if (r_.stopRequest.exchange(false)) return TakeHomeNode(2, "call stopped");
        if (KillChannelsRequested()) return EndCallGuarded(kReasonSysStopping, false);
    }
    WriteLog(line_, LK_CONTROL_ERROR);
    if (e.ErrorType() == ErrorTypeVoiceCard)
        WriteLogS(line_, LK_UNEXPECTED_EVENT, DriverCodeText(e.ErrorData()).c_str());
    else
        WriteLogNN(line_, LK_CONTROL_ERROR_TYPE, e.ErrorType(), e.ErrorData());
    SetStatus(line_, kStatusUnexpectedEvent);
    if (r_.current) {
        r_.current->FireVoiceError(line_, 15, e.ErrorData());
        if (Vertex* named = LineRedirections::Process().RequestedControl(line_)) {
            WriteLogS(line_, LK_VB_NEW_CONTROL_NAME, named->Name().c_str());
            MakeCurrent(named, 0);
            return true;
        }
    }
    WriteLog(line_, LK_CONTROL_ERROR);
    SetStatus(line_, kStatusUnexpectedEvent);
    return EndCallGuarded(kReasonSysError, true);
}

bool LineRunner::Handle(fw::Exception& e) {
    if (dynamic_cast<HelpDigitException*>(&e)) return HandleHelpDigit();
    if (dynamic_cast<HangupException*>(&e)) return HandleHangup();
    if (auto* error = dynamic_cast<ControlErrorException*>(&e)) return HandleControlError(*error);
    if (dynamic_cast<VBBreakException*>(&e)) {
        // Nobody runs the host's code now: the caller is not left off hook.
        WriteLog(line_, LK_STOPPED_VB_BREAK);
        SetStatus(line_, kStatusStopped);
        try {
            Voice().OnHook(line_);
        } catch (fw::Exception* inner) {
            inner->Delete();
        }
        return false;
    }
    if (dynamic_cast<PhraseException*>(&e)) return EndCallGuarded(kReasonSysError, true);
    if (dynamic_cast<ShutdownException*>(&e)) return false;
    if (dynamic_cast<KillThreadException*>(&e)) {
        WriteLog(line_, LK_CHANNEL_IDLE);
        SetStatus(line_, kStatusIdle);
        return false;
    }
    WriteLog(line_, LK_CONTROL_ERROR);
    return EndCallGuarded(kReasonSysError, true);
}

// Once per start; the starter may be gone as soon as it is told.
void ReportStartup(LineRecord& r, bool seized) {
    if (LineStartup* s = r.startup.exchange(nullptr)) {
        s->seized = seized;
        SetEvent(s->done.Get());
    }
}

// Owns nothing of the record but its running mark; the UI thread owns the
// handle. Ends when the flow loop leaves; the last line of a stop finishes it.
DWORD WINAPI LineThread(void* arg) {
    LineRecord& r = *static_cast<LineRecord*>(arg);
    try {
        CVoiceInterface& vi = Voice();
        if (!vi.SeizeChannel(r.line) && vi.IsVoiceCard()) {
            WriteLogS(r.line, LK_TEXT_NOTE, "cannot alloc line");
        } else {
            ReportStartup(r, true);
            vi.ClearDTMFQueue(r.line);
            LineRunner(r).Run();
            vi.ReleaseChannel(r.line);
        }
    } catch (fw::Exception* e) {
        e->Delete();
    } catch (...) {
    }
    ReportStartup(r, false);
    r.running = false;
    if (--g_running == 0 && g_stopping) FinishStop();
    return 0;
}

void CALLBACK OnSystemTick(HWND, UINT, UINT_PTR id, DWORD) {
    if (!ControlRegistry::Process().Started()) {
        KillTimer(nullptr, id);
        if (g_timer == id) g_timer = 0;
        return;
    }
    const DWORD now = GetTickCount();
    for (int line = 0; line < NumberOfLines() && line < kDispatchLines; ++line) {
        LineRecord& r = g_lines[size_t(line)];
        const int status = LineStatusCodeOf(line);
        if (KillChannelsRequested() && status == kStatusWaitingForRing && r.running) {
            if (CVoiceInterface* vi = VoiceInterface()) vi->StopChannel(line);
            continue;
        }
        // The driver forgets a stop sent while nothing blocked on the line:
        // a request still waiting to be seen is sent again.
        LineHome* home = r.home;
        const bool atHome = home && r.shown.load() == &home->HomeControl();
        // Only a request older than a tick: a fresh one is still on its way.
        if (r.running && ((status == kStatusWaitingForRing && home && home->RequestPending(line)) ||
                          (r.stopRequest && !atHome))) {
            if (++r.unseenTicks > 1)
                if (CVoiceInterface* vi = VoiceInterface()) vi->StopChannel(line);
            continue;
        }
        r.unseenTicks = 0;
        if (status == kStatusIdle || status == kStatusWaitingForRing || !r.running) continue;
        if (!home) continue;
        const long max = home->CallMaxTime(line);
        if (max <= 0 || atHome) continue;
        if (now - r.callStart.load() > DWORD(max) * 1000) {
            StopLineCall(line);
            r.callStart = now;
        }
    }
}

// A control closing while lines run: the lines end first, since they may be
// running in it.
void OnControlClosing(fw::ole::Control& control) {
    auto* closing = dynamic_cast<CCallFlowControl*>(&control);
    if (!closing) return;
    ShutdownVoiceSystem();
    // The status window must not name a control that is gone.
    for (LineRecord& r : g_lines) {
        CCallFlowControl* expected = closing;
        r.shown.compare_exchange_strong(expected, nullptr);
        expected = closing;
        r.previous.compare_exchange_strong(expected, nullptr);
    }
}

// Every control's checks and the lines the homes claim.
CheckReport CheckSystem() {
    CheckReport report;
    CheckDuplicateNames(ControlRegistry::Process(), report);
    for (Vertex* v : ControlRegistry::Process().Controls())
        if (CCallFlowControl* control = AsControl(v)) {
            control->Check(report);
            if (auto* voice = dynamic_cast<CVoiceControl*>(control)) voice->CheckGreetings(report);
        }
    std::vector<LineHome*> homes;
    {
        std::lock_guard guard(g_homesLock);
        homes = g_homes;
    }
    for (LineHome* home : homes) home->CheckLines(report);
    return report;
}

// Raises the stop flags and shows idle lines waiting for the shutdown; true
// when a line still runs.
bool RaiseStop(bool force) {
    g_force = force;
    g_stopping = true;
    SetKillChannelsRequested(true);
    bool busy = false;
    for (LineRecord& r : g_lines) {
        if (r.running)
            busy = true;
        else if (r.line < NumberOfLines())
            SetStatus(r.line, kStatusWaitingForShutdown);
    }
    return busy;
}

// Ends the blocking call of lines waiting for a ring or in a pre-call delay,
// or of every running line with `all`.
void StopBlockedLines(bool all) {
    CVoiceInterface* vi = VoiceInterface();
    if (!vi) return;
    for (LineRecord& r : g_lines) {
        if (!r.running) continue;
        const int status = LineStatusCodeOf(r.line);
        if (all || status == kStatusWaitingForRing || status == kStatusPrecallDelay) vi->StopChannel(r.line);
    }
}

// The closing form's stop of every running line. While the driver refuses
// one, the user is asked whether to try again; No or Cancel stops the asking
// (the lines end as their calls do).
void EndBlockingCalls(HWND owner, bool& asking) {
    CVoiceInterface* vi = VoiceInterface();
    if (!vi) return;
    for (LineRecord& r : g_lines) {
        if (!r.running || LineInHandOver(r.line)) continue;
        while (vi->StopChannel(r.line) != 0 && asking && vi->IsVoiceCard()) {
            const std::string title = fw::LoadResString(fw::ThisModule(), IDS_KAVORO);
            const int answer = MessageBoxA(owner,
                                           "unable to stop voice system. Click Yes to try again.System may be "
                                           "unstable if voice system is not stopped",
                                           title.c_str(), MB_YESNOCANCEL | MB_ICONEXCLAMATION);
            if (answer != IDYES) asking = false;
        }
    }
}

// Ends the lines a failed start began and waits for them.
void RollBackStart() {
    RaiseStop(true);
    for (int turn = 0; g_running > 0; ++turn) {
        if (turn % 5 == 0) StopBlockedLines(true);
        for (LineRecord& r : g_lines)
            if (r.running && r.thread) fw::WaitLettingSentMessagesThrough(r.thread, 50);
    }
    FinishStop();
}

}  // namespace

int StartVoiceSystem(bool hasFrame, bool runMode, HWND parent) {
    // The default phrases and the rest of KVO32.INI as they are now.
    ReloadSettings();
    SetShutdownRequested(false);
    ControlRegistry& registry = ControlRegistry::Process();
    if (int refused = StartRefusal({registry.TestMode(), registry.Started() || g_running > 0, hasFrame, runMode}))
        return refused;
    CVoiceInterface* current = VoiceInterface();
    if (!current || !current->IsVoiceCard()) {
        std::unique_ptr<CVoiceInterface> driver = OpenDriverInterface(parent);
        if (!driver) return 4;
        driver->Open(parent);
        UseVoiceInterface(std::move(driver));
    }
    // The user sees the start under way for at least two seconds, however
    // quick the check; a failed check's report replaces the notice.
    const DWORD checkBegan = GetTickCount();
    const bool showDialog = ReadSuiteInt("System", "ShowDialog", 1) != 0;
    std::unique_ptr<NoticeWindow> notice;
    if (showDialog) {
        notice = std::make_unique<NoticeWindow>();
        notice->Show(parent, "Starting the voice system: checking the call flow...");
    }
    const CheckReport report = CheckSystem();
    if (report.HasErrors()) {
        notice.reset();
        if (showDialog)
            MessageBoxA(parent, report.Text().c_str(), "Kavoro check report", MB_OK | MB_ICONEXCLAMATION);
        return 5;
    }
    if (notice) {
        fw::KernelHandle never(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        for (DWORD spent = GetTickCount() - checkBegan; spent < kStartNoticeMs; spent = GetTickCount() - checkBegan)
            fw::WaitLettingSentMessagesThrough(never.Get(), kStartNoticeMs - spent);
        notice.reset();
    }
    const int lines = std::min(NumberOfLines(), int(kDispatchLines));
    {
        std::lock_guard guard(g_systemLock);
        for (int line = 0; line < lines; ++line) {
            LineRecord& r = g_lines[size_t(line)];
            CloseThreadHandle(r);
            LineRedirections::Process().Clear(line);
            r.stopRequest = false;
            LineHome* home = r.home;
            r.shown = home ? &home->HomeControl() : nullptr;
            r.previous = r.shown.load();
            SetStatus(line, kStatusIdle);
        }
        g_stopping = false;
        g_force = false;
        SetKillChannelsRequested(false);
        registry.SetStarted(true);
    }
    LogSystemStart(lines);
    for (int line = 0; line < lines; ++line) {
        LineHome* home = g_lines[size_t(line)].home;
        if (home && !StartLine(line, home->HomeControl())) {
            // Nothing is left half started: the lines begun so far end first.
            RollBackStart();
            return 6;
        }
    }
    g_uiThread = GetCurrentThreadId();
    fw::ole::Control::SetCloseHook(OnControlClosing);
    g_timer = SetTimer(nullptr, 0, 1000, OnSystemTick);
    return 0;
}

bool StopVoiceSystem(bool force) {
    ControlRegistry& registry = ControlRegistry::Process();
    if (registry.TestMode()) return true;
    if (!registry.Started()) return true;
    if (g_stopping) {
        // A stop is under way: stopped only once no line runs.
        if (force) {
            g_force = true;
            StopBlockedLines(true);
        }
        return g_running == 0 && !registry.Started();
    }
    const bool busy = RaiseStop(force);
    StopBlockedLines(force);
    if (busy && g_running > 0) {
        LineStatusWindow::Open();
        return false;
    }
    FinishStop();
    return true;
}

void ShutdownVoiceSystem() {
    if (!ControlRegistry::Process().Started() && g_running == 0) return;
    SetShutdownRequested(true);
    if (g_stopping)
        g_force = true;
    else
        RaiseStop(true);
    std::unique_ptr<NoticeWindow> waiting;
    bool asking = true;
    for (int turn = 0;; ++turn) {
        HANDLE waitFor = nullptr;
        for (LineRecord& r : g_lines)
            if (r.running && !LineInHandOver(r.line)) waitFor = r.thread;
        if (!waitFor) break;
        if (!waiting) {
            waiting = std::make_unique<NoticeWindow>();
            waiting->Show(nullptr, "Waiting for the telephone lines to end their calls...");
        }
        // Again every half second: the driver forgets a stop sent while the
        // line was between two blocking calls.
        if (turn % 5 == 0) EndBlockingCalls(waiting->Handle(), asking);
        fw::WaitLettingSentMessagesThrough(waitFor, 100);
    }
    if (g_running == 0) FinishStop();
}

void RegisterHome(LineHome& home) {
    std::lock_guard guard(g_homesLock);
    g_homes.push_back(&home);
}

void UnregisterHome(LineHome& home) {
    std::lock_guard guard(g_homesLock);
    std::erase(g_homes, &home);
}

bool SystemStarted() { return ControlRegistry::Process().Started(); }
int RunningLines() { return g_running; }

bool StartLine(int line, CCallFlowControl& control) {
    if (!ValidLine(line)) return false;
    LineRecord& r = g_lines[size_t(line)];
    if (r.running) return false;
    LineStartup startup;
    if (!startup.done) return false;
    {
        std::lock_guard guard(g_systemLock);
        CloseThreadHandle(r);
        r.line = line;
        r.current = &control;
        r.destInput = 0;
        r.visited.clear();
        r.startup = &startup;
        r.running = true;
        ++g_running;
        r.thread = CreateThread(nullptr, 0, LineThread, &r, 0, nullptr);
        if (!r.thread) {
            r.startup = nullptr;
            r.running = false;
            --g_running;
            return false;
        }
    }
    // A line whose channel the driver refuses is not started: the caller
    // (a start of the whole system) must know it, not find a dead line later.
    fw::WaitLettingSentMessagesThrough(startup.done.Get(), INFINITE);
    return startup.seized;
}

bool LineThreadRunning(int line) { return ValidLine(line) && g_lines[size_t(line)].running; }

void StopLineCall(int line) {
    if (!ValidLine(line)) return;
    WriteLog(line, LK_CALL_STOPPED_BY_CODE);
    g_lines[size_t(line)].stopRequest = true;
    if (CVoiceInterface* vi = VoiceInterface()) vi->StopChannel(line);
}

LineHome* AssignLine(int line, LineHome* home, long lineType, long helpDigitCode) {
    if (!ValidLine(line)) return nullptr;
    LineRecord& r = g_lines[size_t(line)];
    r.line = line;
    LineHome* owner = r.home;
    if (owner && owner != home) return owner;
    r.home = home;
    r.lineType = lineType;
    r.helpDigitCode = helpDigitCode;
    SetLineHelpDigit(line, HelpDigitKey(helpDigitCode));
    return nullptr;
}

void ReleaseLine(int line, const LineHome* releasing) {
    if (!ValidLine(line)) return;
    LineRecord& r = g_lines[size_t(line)];
    LineHome* owner = r.home;
    if (owner != releasing) return;
    r.home.compare_exchange_strong(owner, nullptr);
    SetLineHelpDigit(line, 0);
}

LineHome* LineOwner(int line) { return ValidLine(line) ? g_lines[size_t(line)].home.load() : nullptr; }
CCallFlowControl* CurrentControl(int line) { return ValidLine(line) ? g_lines[size_t(line)].shown.load() : nullptr; }
CCallFlowControl* PreviousControl(int line) {
    return ValidLine(line) ? g_lines[size_t(line)].previous.load() : nullptr;
}

void StartCallClock(int line) {
    if (ValidLine(line)) g_lines[size_t(line)].callStart = GetTickCount();
}

std::string LineStatusShown(int line) { return LineStatusDisplay(LineStatusCodeOf(line), LineStatusTextOf(line)); }

LineView ViewLine(int line) {
    LineView view;
    if (!ValidLine(line)) return view;
    const LineRecord& r = g_lines[size_t(line)];
    view.code = LineStatusCodeOf(line);
    view.status = LineStatusShown(line);
    if (const CCallFlowControl* c = r.shown.load()) view.control = c->Name();
    view.callStart = r.callStart;
    view.controlStart = r.controlStart;
    return view;
}

SystemState CurrentSystemState() {
    if (!ControlRegistry::Process().Started()) return SystemState::Stopped;
    return g_stopping ? SystemState::Stopping : SystemState::Started;
}

}  // namespace kvo
