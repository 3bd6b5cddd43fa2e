// The LineGroup control: owns a set of telephone lines; every call on them
// begins and ends here. A line's thread waits here for a ring or a request
// from the host, fires Ring, answers and leaves through "Ring" or "Start";
// the further exit nodes are the dispatcher's default processing targets.
#pragma once
#include <array>
#include <atomic>
#include <mutex>
#include <string>

#include "CallFlowControl.h"
#include "Dispatcher.h"
#include "LineTables.h"

namespace kvo {

class CLineGroupCtrl : public CCallFlowControl, public LineHome {
public:
    CLineGroupCtrl();

    // Pending requests of a line, written by the host, read by the line.
    enum Request : int { kNoRequest = 0, kCallOut = 2, kWaitRing = 3, kLeaveGroup = 4, kGoIdle = 5 };

    long GetDelayTime() const { return delayTime_; }
    void SetDelayTime(long v);
    long GetHelpDigit() const { return helpDigit_; }
    void SetHelpDigit(long v);
    long GetLineType() const { return lineType_; }
    void SetLineType(long v);
    long GetNumDIDDigits() const { return numDIDDigits_; }
    void SetNumDIDDigits(long v);
    long GetRingsToAnswer() const { return ringsToAnswer_; }
    void SetRingsToAnswer(long v);
    short GetIMaxCallTime() const { return maxCallTime_; }
    void SetIMaxCallTime(short v);
    short GetMode() const { return mode_; }
    void SetMode(short v);
    std::wstring GetLinesInGroup() const { return linesText_; }
    void SetLinesInGroup(const std::wstring& text);

    short GetMaxCallTime(short channel) const;
    void SetMaxCallTime(short channel, short seconds);
    std::wstring GetLineStatus(short channel) const;
    std::wstring GetCurrentControl(short channel) const;
    std::wstring GetPreviousControl(short channel) const;
    std::wstring GetCallerID(short channel) const;
    std::wstring GetCallerName(short channel) const;
    // Values "CallerID" and "CallerName": empty, as the cards give none.
    std::optional<std::string> GetValueName(int line, int index) const override;
    void Connect() {}
    void AddChannel(short channel);
    void RemoveChannel(short channel);
    void WaitForRing(short channel);
    void StartCall(short channel);
    void StopCall(short channel);
    void IdleChannel(short channel);

    // Vertex
    bool IsLineGroup() const override { return true; }
    std::string NodeName(int node) const override;
    // The wait for a call.
    bool Run(int line, short destInput, short& exit, Vertex*& next) override;

    // A new control waits for rings and calls out after 5 seconds.
    STDMETHODIMP InitNew() override;

    // LineHome
    CCallFlowControl& HomeControl() override { return *this; }
    void NoteDisconnect(int line, long reason) override;
    long CallMaxTime(int line) const override;
    void CheckLines(CheckReport& report) override;

protected:
    ~CLineGroupCtrl() override;
    std::span<const fw::ole::DispatchEntry> DispatchMap() const override;
    void ExchangeOwnItems(ItemExchange& ex) override;

private:
    // Releases the lines owned and binds the ones the text names.
    void BindLines();
    void ReleaseLines();
    // Host-method checks: channel 1..lines (381), then the system started.
    int CheckedLine(short channel) const;
    // The line must be waiting in this control (4004).
    void RequireWaitingHere(int line) const;
    void RequireOwned(int line) const;
    // Fires Ring; true when the host set NoOffHook.
    bool FireRing(int line);
    void CallOut(int line, short& exit);
    // The line leaves the group (RemoveChannel) and its thread ends.
    [[noreturn]] void LeaveGroup(int line);

    long delayTime_ = 5;
    long helpDigit_ = 0;
    long lineType_ = 1;
    long numDIDDigits_ = 0;
    long ringsToAnswer_ = 1;
    short maxCallTime_ = 0;
    short mode_ = 2;
    std::wstring linesText_;
    LineSet wanted_;  // from the text
    mutable std::mutex linesLock_;
    LineSet owned_;   // wanted and bound to this group
    std::array<std::atomic<int>, kDispatchLines> request_{};
    std::array<std::atomic<long>, kDispatchLines> callMaxTime_{};
};

}  // namespace kvo
