// The Delay control (see DelayCtrl.h).
#include "DelayCtrl.h"

#include "ChannelLog.h"
#include "DigitMask.h"
#include "GreetingPlayer.h"
#include "KvoResource.h"
#include "LineState.h"
#include "PxItems.h"
#include "RuntimeExceptions.h"
#include "VoiceSystem.h"
#include "kvo32.h"
#include "fw/ole/Text.h"

namespace kvo {

namespace {

using fw::ole::Method;
using fw::ole::Property;

const CCallFlowControl::Kind kDelay{CLSID_Delay, DIID__DDelay, DIID__DDelayEvents, "Delay", 1, 1};

constexpr auto kDelayDispatch = JoinDispatch(
    kDigitDispatch,
    std::array{
        Property<&CDelayCtrl::GetIDelayTime, &CDelayCtrl::SetIDelayTime>(1),
        Property<&CDelayCtrl::GetHoldType, &CDelayCtrl::SetHoldType>(2),
        Property<&CDelayCtrl::GetTermDtmf, &CDelayCtrl::SetTermDtmf>(3),
        Property<&CDelayCtrl::GetMusicGreeting, &CDelayCtrl::SetMusicGreeting>(4),
        Property<&CDelayCtrl::GetDelayTime, &CDelayCtrl::SetDelayTime>(5),
        Method<&CDelayCtrl::StopDelay>(6),
    });

constexpr long kStopped = 18;

// Sets a line's flag for as long as the scope lasts.
class LineMark {
public:
    explicit LineMark(std::atomic<bool>& flag) : flag_(flag) { flag_ = true; }
    ~LineMark() { flag_ = false; }
    LineMark(const LineMark&) = delete;
    LineMark& operator=(const LineMark&) = delete;

private:
    std::atomic<bool>& flag_;
};

CVoiceInterface& Voice() {
    CVoiceInterface* vi = VoiceInterface();
    if (!vi) throw new ShutdownException();
    return *vi;
}

// Off hook again and back to the caller after a hold, whatever ended it.
void ReconnectFromHold(int line) {
    CVoiceInterface& vi = Voice();
    vi.OffHook(line);
    const std::string reconnect = Settings().reconnectFromHold;
    if (reconnect.empty()) return;
    SetLineStatusText(line, kStatusDialling, reconnect.c_str());
    WriteLog(line, LK_RECONNECT_FROM_HOLD);
    vi.DialNoProgress(line, reconnect, false);
}

}  // namespace

CDelayCtrl::CDelayCtrl() : CDigitControl(kDelay) {
    music_->SetName(L"Music");
    music_->InsertFile(-1, L"MUSIC.WAV");
}

std::span<const fw::ole::DispatchEntry> CDelayCtrl::DispatchMap() const { return kDelayDispatch; }

void CDelayCtrl::SetIDelayTime(long v) {
    delayTime_ = v;
    SetModified();
}
void CDelayCtrl::SetHoldType(long v) {
    if (v < kHoldOnHold || v > kHoldPlainDelay) fw::ole::ThrowError(fw::ole::kCtlInvalidPropertyValue);
    holdType_ = v;
    SetModified();
}
void CDelayCtrl::SetTermDtmf(long v) {
    haltDigit_ = v;
    SetModified();
}
void CDelayCtrl::SetMusicGreeting(const fw::ole::ComPtr<IDispatch>& greeting) {
    music_->Copy(greeting);
    music_->SetName(L"Music");
    SetModified();
}

std::wstring CDelayCtrl::GetGreetingNames(short index) const {
    if (index == 1) return music_->GetName();
    return index == 0 ? CVoiceControl::GetGreetingNames(0) : L"";
}

void CDelayCtrl::ExchangeOwnItems(ItemExchange& ex) {
    GreetingData music = music_->Data();
    ExchangeGreeting(ex, music);
    if (ex.Loading()) music_->Assign(music);
    ex.Long(L"DelayTime", delayTime_, 0);
    ex.Long(L"HoldType", holdType_, kHoldPlainDelay);
    ex.Long(L"HaltDigit", haltDigit_, 0);
    CDigitControl::ExchangeOwnItems(ex);
}

short CDelayCtrl::GetDelayTime(short channel) const { return short(lines_[ChannelIndex(channel)].time.load()); }
void CDelayCtrl::SetDelayTime(short channel, short seconds) { lines_[ChannelIndex(channel)].time = seconds; }

void CDelayCtrl::StopDelay(short channel) {
    const size_t i = ChannelIndex(channel);
    if (!Registry().Started()) ThrowHostError(KVO_ERR_SYSTEM_NOT_STARTED, IDS_ERR_SYSTEM_NOT_STARTED);
    // Only this Delay's own wait is ended: a line elsewhere keeps what it
    // does, and one still in the Enter event or the entry greeting skips
    // the wait when it gets there.
    LineDelay& state = lines_[i];
    if (!state.inside) return;
    state.stop = true;
    if (!state.blocking) return;
    if (CVoiceInterface* vi = VoiceInterface()) vi->StopChannel(int(i));
}

std::optional<std::string> CDelayCtrl::GetValueName(int, int index) const {
    return index == 0 ? std::optional<std::string>("DelayTime") : std::nullopt;
}

std::vector<CGreeting*> CDelayCtrl::SpokenGreetings() {
    if (holdType_ != kHoldMusic) return CDigitControl::SpokenGreetings();
    return {&EntryGreeting(), music_.Get()};
}

void CDelayCtrl::Check(CheckReport& report) {
    if (holdType_ == kHoldMusic && music_->GetCount() == 0)
        report.Add(Severity::Error, "must be at least one phrase in music greeting", 0);
}

// ---- running ----

bool CDelayCtrl::Wait(int line, long seconds, long mask, long flag) {
    LineDelay& state = lines_[size_t(line)];
    LineMark blocking(state.blocking);
    if (state.stop.exchange(false)) return true;
    const long r = Voice().DelayChannel(line, seconds, mask, flag);
    if (r == 0 || r == 9 || r == 10) return true;
    if (r == kStopped && state.stop.exchange(false)) return true;
    throw new ControlErrorException(34, r);
}

void CDelayCtrl::Hold(int line, long seconds) {
    CVoiceInterface& vi = Voice();
    const std::string hold = Settings().putOnHold;
    SetLineStatusText(line, kStatusDialling, hold.c_str());
    WriteLog(line, LK_DIAL_HOLD_DIGITS);
    vi.DialNoProgress(line, hold, false);
    vi.OnHook(line);
    WriteLogN(line, LK_DELAY_START, seconds);
    SetLineStatusText(line, kStatusDelay, "");
    try {
        Wait(line, seconds, 0, 0);
    } catch (fw::Exception* e) {
        // The caller is not left on hold with the line on hook: reconnect
        // first, then let the error take its course.
        try {
            ReconnectFromHold(line);
        } catch (fw::Exception* inner) {
            inner->Delete();
        }
        throw e;
    }
    ReconnectFromHold(line);
    WriteLog(line, LK_DELAY_DONE);
}

void CDelayCtrl::PlayMusic(int line, long seconds) {
    GreetingData music = GreetingCopy(*music_.Get(), this);
    // A greeting ends on every key or none: the keys are told apart below.
    music.termOnDtmf = haltDigit_ != 0 && haltDigit_ != kNoTerminationKey;
    LineDelay& state = lines_[size_t(line)];
    const DWORD start = GetTickCount();
    const DWORD total = DWORD(seconds > 0 ? seconds : 0) * 1000;
    WriteLogN(line, LK_DELAY_START, seconds);
    for (;;) {
        if (ShutdownRequested()) throw new ShutdownException();
        // A stopping system ends the wait; the dispatcher then ends or
        // finishes the call.
        if (KillChannelsRequested() || state.stop.exchange(false)) return;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= total) return;
        long r = 0;
        bool sounded = false;
        try {
            LineMark blocking(state.blocking);
            if (state.stop.exchange(false)) return;
            PlaySequence list(line, this);
            int count = 0;
            // A music phrase that fails is left out rather than ending the
            // call (the default file is seldom there); silence then passes
            // as a plain delay below.
            r = SpeakGreeting(line, music, nullptr, list, count);
            sounded = GreetingHasSound(list);
        } catch (ControlErrorException* e) {
            if (e->ErrorData() != kStopped || !state.stop.exchange(false)) throw;
            e->Delete();
            return;
        }
        if (r == 9 || r == 10) {
            // The play ends on any key; only a halt key ends the hold. Any
            // other is taken off the line, or the next play would end on it
            // at once.
            char key = 0;
            Voice().GetDTMFDigit(line, &key);
            if (key == 0 || (DigitMaskOf(key) & haltDigit_)) return;
            continue;
        }
        if (!sounded) {
            // Nothing to play: the rest of the time passes as a plain delay.
            SetLineStatusText(line, kStatusDelay, "");
            const DWORD spent = GetTickCount() - start;
            if (spent < total) Wait(line, long((total - spent + 999) / 1000), haltDigit_, 1);
            return;
        }
    }
}

bool CDelayCtrl::Run(int line, short, short& exit, Vertex*& next) {
    if (line < 0 || line >= kDispatchLines) return false;
    LineDelay& state = lines_[size_t(line)];
    state.time = delayTime_;
    state.stop = false;
    LineMark inside(state.inside);
    SetValueFlags(true);
    GreetingData entry = GreetingCopy(EntryGreeting(), this);
    if (EnterStep(line, exit, next)) return true;
    if (GetClearDigits()) Voice().ClearDTMFQueue(line);
    SpeakGreeting(line, entry, *this);
    const long seconds = state.time;
    switch (holdType_) {
    case kHoldOnHold: Hold(line, seconds); break;
    case kHoldMusic: PlayMusic(line, seconds); break;
    default:
        SetLineStatusText(line, kStatusDelay, "");
        WriteLogN(line, LK_DELAY_START, seconds);
        Wait(line, seconds, haltDigit_, 1);
        break;
    }
    exit = 0;
    return true;
}

}  // namespace kvo
