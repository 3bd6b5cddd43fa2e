// The voice interface over the voice-card driver library "kvorht32.dll": each
// operation becomes one driver call, is logged, and its result is returned
// or turned into one of the runtime's exceptions.
#pragma once
#include "SystemSettings.h"
#include "VoiceInterface.h"

namespace kvo {

// The driver's exports the runtime resolves, by their decorated names.
constexpr int kDriverEntryCount = 24;
const char* DriverEntryName(int index);

// The driver library, once loaded, stays for the life of the process; this
// gives it back (tests, with no driver interface left).
void UnloadDriverLibrary();

class CDriverVoiceInterface : public CVoiceInterface {
public:
    // Loads the library (once per process) and connects to the card; the
    // outcome is LoadResult(). Failures the user must know about are shown.
    explicit CDriverVoiceInterface(HWND parent);

    // Channels (1..48) when the card is usable; -1 no card type configured,
    // 0 "NONE", -2 unknown type or library failure (shown), -3 an export is
    // missing. Only an object with channels may be asked to operate: the
    // others have no entry points (OpenDriverInterface never hands them out).
    long LoadResult() const { return loadResult_; }

    long Open(HWND parent) override;
    int IsVoiceCard() override { return 1; }
    // Ready (1) when the test line carries a call, or after taking it off
    // hook when neither a ring nor a dial-out is configured; waiting for a
    // ring and dialling out belong to the test-mode dialogs and give 0 here.
    long StartTestCall(HWND parent) override;
    long EndTestCall() override;
    long SeizeChannel(int channel) override;
    long ReleaseChannel(int channel) override;
    long GetLoopCurrentStatus(int channel) override;
    long WaitForRing(int channel, long rings) override;
    long RefuseCall(int channel) override;
    long OffHook(int channel) override;
    long OnHook(int channel) override;
    long StopChannel(int channel) override;
    long ClearDTMFQueue(int channel) override;
    long PlayList(int channel, const kvo::PlayList& list, PlayParams& params) override;
    long GetDTMFString(int channel, DigitRequest& request, std::string& digits) override;
    long GetDTMFDigit(int channel, char* digit) override;
    long DelayChannel(int channel, long time, long termMask, long flag) override;
    long RecordSound(int channel, RecordParams& params) override;
    long GetStatus(long a, long b) override;
    long TransferSupervised(int channel, const std::string& number, bool waitForDialTone) override;
    long DialOut(int channel, const std::string& number, bool waitForDialTone, long mode) override;
    long DialNoProgress(int channel, const std::string& number, bool waitForDialTone) override;
    long TransferBlind(int channel, const std::string& number, bool waitForDialTone) override;
    long PauseTest() override { return 0; }
    long ResumeTest() override { return 0; }
    long IsOffHook(int channel) override;

    long WaitForDialTone(int channel);

    // The digit that ended the channel's last play or recording, not yet used.
    char PendingDigit(int channel) const;

private:
    enum Entry {
        IsOffHookFn, GetLoopCurrentStatusFn, ConnectVoiceSystemFn, InitialiseVoiceSystemFn,
        ShutDownVoiceSystemFn, SeizeChannelFn, InitialiseChannelFn, ReleaseChannelFn, MapLineToChannelFn,
        WaitForRingFn, RefuseCallFn, OffHookFn, OnHookFn, WaitForDialToneFn, CallStringFn, DialStringFn,
        PlayListFn, RecordSoundFn, StopChannelFn, DelayChannelFn, ClearDTMFQueueFn, GetDTMFStringFn,
        GetDTMFDigitFn, GetStatusFn, EntryCount
    };
    static_assert(EntryCount == kDriverEntryCount);

    long LoadDriver(HWND parent);
    template <class Fn>
    Fn Call(Entry e) const { return reinterpret_cast<Fn>(entries_[e]); }
    long Call1(Entry e, LONG a) const;

    // Logs the result and applies the standard checks for `op`.
    long Checked(int channel, VoiceOp op, long result);
    // After a digit ended an operation: fetches it (into the pending slot
    // unless `keep` is false) and raises HelpDigitException for the help key.
    void FetchEndingDigit(int channel, bool keep);
    long DialString(int channel, const std::string& text);
    long CallString(int channel, const std::string& text, long mode);
    // Off hook and, when asked, the dial-tone wait; non-zero ends the dial.
    long PrepareDial(int channel, bool wait);
    // The dial-tone wait when asked, then the XFER string; non-zero ends the transfer.
    long BeginTransfer(int channel, bool wait);
    // Returns the pending digit's outcome (logged) when it ends the operation.
    long PendingOutcome(int channel, long maxKeys, long termMask);

    char& Pending(int channel);

    char pending_[kMaxChannels] = {};
    char spare_ = 0;
    long loadResult_ = 0;
    void (*entries_[EntryCount])() = {};
};

}  // namespace kvo
