// The process-wide voice interface on channels (0-based): every telephone
// operation of a call goes through one CVoiceInterface. This base class is
// also the no-card implementation, whose operations succeed without doing
// anything so that a flow can be designed on a machine without hardware.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "VoiceRules.h"
#include "fw/Window.h"

namespace kvo {

// Blocks handed to the driver as arrays of 32-bit words. The runtime uses the
// words it names; the others belong to the calling control and the driver
// and are passed through untouched.
struct DigitRequest {
    LONG silence = 0;       // silence time-out
    LONG maxKeys = 0;       // 0 = no maximum
    LONG termMask = 0;
    LONG reserved = 0;
    LONG helpFlag = 1;      // 0: check the line's help digit
};

struct PlayParams {
    LONG termMask = 0;
    LONG control[3] = {};
    LONG format = -1;       // -1: the DefaultFormat setting
    LONG noFetch = 0;       // 0: fetch the digit that ended the play
    LONG more[6] = {};
};

struct RecordParams {
    LONG control[2] = {};
    LONG termMask = 0;
    LONG control2[2] = {};
    LONG format = -1;       // -1: the DefaultFormat setting
    LONG control3[2] = {};
    LONG noFetch = 0;       // 0: fetch the digit that ended the recording
    LONG more[6] = {};
};

using PlayList = std::vector<PlaySegment>;

class CVoiceInterface : public fw::Window {
public:
    CVoiceInterface();
    ~CVoiceInterface() override;

    virtual void SimulateHangup(int channel);
    // Makes the hidden window. The no-card interface gives 0, or 1 after
    // telling the user the window could not be made; a card its channel count.
    virtual long Open(HWND parent);
    virtual int IsVoiceCard();
    virtual int GetTestChannel();
    virtual long StartTestCall(HWND parent);
    virtual long EndTestCall();
    virtual long SeizeChannel(int channel);
    virtual long ReleaseChannel(int channel);
    virtual long GetLoopCurrentStatus(int channel);
    virtual long WaitForRing(int channel, long rings);
    virtual long RefuseCall(int channel);
    virtual long OffHook(int channel);
    virtual long OnHook(int channel);
    virtual long StopChannel(int channel);
    virtual long ClearDTMFQueue(int channel);
    virtual long PlayList(int channel, const kvo::PlayList& list, PlayParams& params);
    virtual long GetDTMFString(int channel, DigitRequest& request, std::string& digits);
    virtual long GetDTMFDigit(int channel, char* digit);
    virtual long DelayChannel(int channel, long time, long termMask, long flag);
    virtual long RecordSound(int channel, RecordParams& params);
    virtual long GetStatus(long a, long b);
    virtual long TransferSupervised(int channel, const std::string& number, bool waitForDialTone);
    virtual long DialOut(int channel, const std::string& number, bool waitForDialTone, long mode);
    virtual long DialNoProgress(int channel, const std::string& number, bool waitForDialTone);
    virtual long TransferBlind(int channel, const std::string& number, bool waitForDialTone);
    virtual long PauseTest();
    virtual long ResumeTest();
    virtual void SimulateDigit(int channel, char digit);
    virtual long IsOffHook(int channel);

    int ChannelCount() const { return channelCount_; }

protected:
    bool CreateHiddenWindow(HWND parent);

    int testChannel_;
    int channelCount_ = 0;
};

// A modal message box of the voice suite.
void VoiceMessage(HWND parent, const std::string& text);

}  // namespace kvo
