// The dispatcher: 48 line records, one thread per line running the call
// flow from its home LineGroup, the start and stop of the whole system, the
// end of a call and the exceptions a control or the voice interface raises.
//
// Threads: StartVoiceSystem, StopVoiceSystem, ShutdownVoiceSystem and the
// line operations run on the host's user-interface thread; each line's
// record is otherwise written only by its own thread. Line threads reach
// the host only through CCallFlowControl::HandOver.
#pragma once
#include <windows.h>

#include <string>

#include "LineTables.h"

namespace kvo {

class CCallFlowControl;
class CheckReport;

// kvoDisconnectConstants.
enum DisconnectReason : long {
    kReasonControlHangup = 0,
    kReasonSysError = 1,
    kReasonCallerHangup = 2,
    kReasonInvalid = 3,
    kReasonSysStopping = 4,
};

// What the dispatcher needs of a line's home control (the LineGroup).
class LineHome {
public:
    virtual CCallFlowControl& HomeControl() = 0;
    // At the end of a call, before the line hangs up (the PreDisc event).
    virtual void NoteDisconnect(int line, long reason) = 0;
    // The maximum call time (seconds, 0 none) copied for the line's call.
    virtual long CallMaxTime(int line) const = 0;
    // The host asked something of the line and ended its wait for it.
    virtual bool RequestPending(int line) const = 0;
    // The system check: lines this home wants that another home owns.
    virtual void CheckLines(CheckReport& report) = 0;

protected:
    ~LineHome() = default;
};

// 0 when the system started, else StartSystem's result 1..7. `parent` owns
// the boxes the driver may show.
int StartVoiceSystem(bool hasFrame, bool runMode, HWND parent);
// True when the system is stopped: no line thread remains. Otherwise the
// lines finish their calls (or, with `force`, have their blocking calls
// ended) and the last line to end finishes the stop.
bool StopVoiceSystem(bool force);
// The form closes: stops with force and waits for every line thread, letting
// the lines' events through, except a line whose event is being handled.
void ShutdownVoiceSystem();
bool SystemStarted();
// Line threads still running.
int RunningLines();
// Every home that asked for lines, for the system check.
void RegisterHome(LineHome& home);
void UnregisterHome(LineHome& home);

// ---- line operations (lines are 0-based) ----
// Starts the line's thread at `control`; false when one already runs.
bool StartLine(int line, CCallFlowControl& control);
bool LineThreadRunning(int line);
// Logs "call being stopped by code or maxtime", sets the line's stop request
// and ends its blocking call.
void StopLineCall(int line);
// Binds `line` to `home` with the home's line type and help digit; refused
// (the owner returned) when another home has it. A null home releases the
// line if `releasing` owns it.
LineHome* AssignLine(int line, LineHome* home, long lineType, long helpDigitCode);
void ReleaseLine(int line, const LineHome* releasing);
LineHome* LineOwner(int line);
CCallFlowControl* CurrentControl(int line);
CCallFlowControl* PreviousControl(int line);
// The line's call clock (system tick count at the call's start).
void StartCallClock(int line);
// What the status window shows for the line.
std::string LineStatusShown(int line);

// A line as the line status window shows it.
struct LineView {
    int code = 0;
    std::string status;
    std::string control;     // the control the line is in
    DWORD callStart = 0;     // tick counts
    DWORD controlStart = 0;
};
LineView ViewLine(int line);
SystemState CurrentSystemState();

}  // namespace kvo
