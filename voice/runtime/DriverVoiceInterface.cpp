#include "DriverVoiceInterface.h"

#include <algorithm>
#include <cstring>
#include <cstdio>
#include <mutex>
#include <string>
#include <utility>

#include "ChannelLog.h"
#include "fw/Handle.h"
#include "LineState.h"
#include "LogSettings.h"
#include "RuntimeExceptions.h"
#include "VoiceSystem.h"

namespace kvo {
namespace {

const char* const kEntryNames[kDriverEntryCount] = {
    "_isOffHook@4", "_getLoopCurrentStatus@4", "_connectVoiceSystem@0", "_initialiseVoiceSystem@0",
    "_shutDownVoiceSystem@0", "_seizeChannel@4", "_initialiseChannel@4", "_releaseChannel@4",
    "_mapLineToChannel@8", "_waitForRing@8", "_refuseCall@4", "_offHook@4", "_onHook@4",
    "_waitForDialTone@4", "_callString@12", "_dialString@8", "_playList@16", "_recordSound@8",
    "_stopChannel@4", "_delayChannel@16", "_clearDTMFQueue@4", "_getDTMFString@12", "_getDTMFDigit@8",
    "_getStatus@8",
};

constexpr char kDriverLibrary[] = "kvorht32.dll";
constexpr char kDriverCardType[] = "RHETOREX";

// The driver stays loaded for the life of the process once it connected:
// line threads of a stopped system may still be returning from it.
HMODULE g_driver = nullptr;
std::mutex g_driverLock;

using Fn0 = LONG(WINAPI*)();
using Fn1 = LONG(WINAPI*)(LONG);
using Fn2 = LONG(WINAPI*)(LONG, LONG);
using CallStringFn_t = LONG(WINAPI*)(LONG, const char*, LONG);
using DialStringFn_t = LONG(WINAPI*)(LONG, const char*);
using PlayFn = LONG(WINAPI*)(LONG, HANDLE, LONG, PlayParams*);
using RecordFn = LONG(WINAPI*)(LONG, RecordParams*);
using DelayFn = LONG(WINAPI*)(LONG, LONG, LONG, LONG);
using GetStringFn = LONG(WINAPI*)(LONG, DigitRequest*, char*);
using GetDigitFn = LONG(WINAPI*)(LONG, char*);

void Raise(const Verdict& v) {
    switch (v.kind) {
    case Verdict::Shutdown: throw new ShutdownException();
    case Verdict::Hangup: throw new HangupException();
    case Verdict::Error: throw new ControlErrorException(ErrorTypeVoiceCard, v.value);
    case Verdict::Return: break;
    }
}

// Kind of the function record each checked operation writes first.
int LogKindOf(VoiceOp op) {
    switch (op) {
    case VoiceOp::OffHook: return LK_VOICE_OFFHOOK;
    case VoiceOp::OnHook: return LK_VOICE_ONHOOK;
    case VoiceOp::WaitForDialTone: return LK_WAITING_FOR_DIALTONE;
    case VoiceOp::DialString: return LK_VOICE_DIAL;
    case VoiceOp::CallString: return LK_VOICE_CALL;
    case VoiceOp::Delay: return LK_VOICE_GET_DTMF_STRING;
    case VoiceOp::Play: return LK_VOICE_PLAY;
    case VoiceOp::Record: return LK_VOICE_RECORD;
    case VoiceOp::GetDigits: return LK_VOICE_GET_DTMF_STRING;
    case VoiceOp::WaitForRing: return LK_WAITING_FOR_RING;
    case VoiceOp::GetDigit: return LK_VOICE_GET_DTMF;
    }
    return LK_TEXT;
}

}  // namespace

const char* DriverEntryName(int index) {
    return index >= 0 && index < kDriverEntryCount ? kEntryNames[index] : nullptr;
}

void UnloadDriverLibrary() {
    std::lock_guard lock(g_driverLock);
    if (g_driver) FreeLibrary(g_driver);
    g_driver = nullptr;
}

CDriverVoiceInterface::CDriverVoiceInterface(HWND parent) {
    loadResult_ = std::min<long>(LoadDriver(parent), kMaxChannels);
    channelCount_ = loadResult_ > 0 ? static_cast<int>(loadResult_) : 0;
}

long CDriverVoiceInterface::LoadDriver(HWND parent) {
    const std::string type = ReadSuiteString("VoiceCard", "Type", "");
    if (type.empty()) return -1;
    if (type == "NONE") return 0;
    if (type != kDriverCardType) {
        VoiceMessage(parent, "Unknown voice card " + type + ".");
        return -2;
    }
    std::lock_guard lock(g_driverLock);
    if (!g_driver) {
        g_driver = LoadLibraryA(kDriverLibrary);
        if (!g_driver) {
            const DWORD err = GetLastError();
            // Older systems report a missing library as 1157, newer ones as 126.
            if (err == ERROR_DLL_NOT_FOUND || err == ERROR_MOD_NOT_FOUND)
                VoiceMessage(parent, std::string("Cannot find ") + kDriverLibrary + ".");
            else
                VoiceMessage(parent, std::string("Cannot load ") + kDriverLibrary + ", error code " +
                                         std::to_string(err) + ".");
            return -2;
        }
    }
    for (int e = 0; e < EntryCount; ++e) {
        entries_[e] = fw::ProcAddress<void (*)()>(g_driver, kEntryNames[e]);
        if (!entries_[e]) return -3;
    }
    const long channels = Call<Fn0>(ConnectVoiceSystemFn)();
    if (channels >= 1) return channels;
    if (FreeLibrary(g_driver)) {
        VoiceMessage(parent, "Could not connect to voice system\nDid you load the drivers?");
    } else {
        char buf[96];
        snprintf(buf, sizeof buf, "Fatal error %d loading and unloading the voice system",
                 static_cast<int>(GetLastError()));
        VoiceMessage(parent, buf);
    }
    g_driver = nullptr;
    std::fill(std::begin(entries_), std::end(entries_), nullptr);
    return -2;
}

long CDriverVoiceInterface::Call1(Entry e, LONG a) const { return Call<Fn1>(e)(a); }

long CDriverVoiceInterface::Open(HWND parent) {
    CreateHiddenWindow(parent);
    return channelCount_;
}

char CDriverVoiceInterface::PendingDigit(int channel) const {
    return channel >= 0 && channel < kMaxChannels ? pending_[channel] : 0;
}

char& CDriverVoiceInterface::Pending(int channel) {
    // A channel the card does not have gets a scratch slot; the driver
    // rejects the call itself.
    return channel >= 0 && channel < kMaxChannels ? pending_[channel] : spare_;
}

long CDriverVoiceInterface::Checked(int channel, VoiceOp op, long result) {
    WriteLogNN(channel, LK_VOICE_EVENT, result, LogKindOf(op));
    const Verdict v = CheckResult(op, result, ShutdownRequested());
    Raise(v);
    return v.value;
}

void CDriverVoiceInterface::FetchEndingDigit(int channel, bool keep) {
    char digit = 0;
    Call<GetDigitFn>(GetDTMFDigitFn)(channel, &digit);
    if (keep) Pending(channel) = digit;
    const char help = LineHelpDigit(channel);
    if (digit && digit == help) {
        Pending(channel) = 0;
        throw new HelpDigitException();
    }
}

long CDriverVoiceInterface::PendingOutcome(int channel, long maxKeys, long termMask) {
    const long outcome = PendingDigitOutcome(Pending(channel), maxKeys, termMask);
    if (outcome) WriteLogNN(channel, LK_VOICE_EVENT, outcome, 0);
    return outcome;
}

long CDriverVoiceInterface::StartTestCall(HWND) {
    // Ready when the test line already carries a call.
    const int ch = GetTestChannel();
    if (IsOffHook(ch) && GetLoopCurrentStatus(ch)) return 1;
    const SystemSettings s = Settings();
    if (s.waitForRing == 0 && s.testDialNumber.empty()) {
        SeizeChannel(ch);
        if (IsOffHook(ch)) {
            ReleaseChannel(ch);
            return 1;
        }
        return Call1(OffHookFn, ch) == 0 ? 1 : 0;
    }
    // Waiting for a ring or dialling out needs the test-mode dialogs.
    return 0;
}

long CDriverVoiceInterface::EndTestCall() {
    if (Settings().stayOffHook) return 1;
    return Call1(InitialiseChannelFn, GetTestChannel()) == 0 ? 1 : 0;
}

long CDriverVoiceInterface::SeizeChannel(int channel) {
    WriteLog(channel, LK_VOICE_SEIZE);
    return Call1(SeizeChannelFn, channel) == 0 ? 1 : 0;
}

long CDriverVoiceInterface::ReleaseChannel(int channel) {
    WriteLog(channel, LK_VOICE_RELEASE);
    return Call1(ReleaseChannelFn, channel) == 0 ? 1 : 0;
}

long CDriverVoiceInterface::GetLoopCurrentStatus(int channel) { return Call1(GetLoopCurrentStatusFn, channel); }
long CDriverVoiceInterface::IsOffHook(int channel) { return Call1(IsOffHookFn, channel); }
long CDriverVoiceInterface::GetStatus(long a, long b) { return Call<Fn2>(GetStatusFn)(a, b); }

long CDriverVoiceInterface::WaitForRing(int channel, long rings) {
    const long r = Call<Fn2>(WaitForRingFn)(channel, rings);
    return Checked(channel, VoiceOp::WaitForRing, r);
}

long CDriverVoiceInterface::RefuseCall(int channel) {
    WriteLog(channel, LK_VOICE_ONHOOK);
    return Call1(RefuseCallFn, channel);
}

long CDriverVoiceInterface::OffHook(int channel) {
    WriteLog(channel, LK_VOICE_OFFHOOK);
    return Checked(channel, VoiceOp::OffHook, Call1(OffHookFn, channel));
}

long CDriverVoiceInterface::OnHook(int channel) {
    WriteLog(channel, LK_VOICE_ONHOOK);
    return Checked(channel, VoiceOp::OnHook, Call1(OnHookFn, channel));
}

long CDriverVoiceInterface::StopChannel(int channel) {
    WriteLog(channel, LK_VOICE_STOP);
    const long r = Call1(StopChannelFn, channel);
    WriteLogNN(channel, LK_VOICE_EVENT, r, LK_VOICE_STOP);
    return r;
}

long CDriverVoiceInterface::ClearDTMFQueue(int channel) {
    Pending(channel) = 0;
    WriteLog(channel, LK_VOICE_CLEAR_DTMF);
    const long r = Call1(ClearDTMFQueueFn, channel);
    ThrowIfShutdown();
    return r;
}

long CDriverVoiceInterface::PlayList(int channel, const kvo::PlayList& list, PlayParams& params) {
    if (params.format == -1) params.format = Settings().defaultFormat;
    if (long early = PendingOutcome(channel, 0, params.termMask)) return early;
    WriteLog(channel, LK_VOICE_PLAY);
    bool spoken = false;
    const long r = RunPlayList(
        list,
        [&](const PlaySegment& seg) -> long {
            const HANDLE file = reinterpret_cast<HANDLE>(seg.file);
            if (SetFilePointer(file, seg.offset, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER &&
                GetLastError() != NO_ERROR)
                return kvoStopped;
            return Call<PlayFn>(PlayListFn)(channel, file, seg.length, &params);
        },
        [&](const PlaySegment&) {
            WriteLogS(channel, LK_TEXT_NOTE, "TTS not supported");
            spoken = true;
        });
    if (spoken) return kvoFailedOrText;
    const long result = Checked(channel, VoiceOp::Play, r);
    if ((result == kvoTermDigit || result == kvoDigitEnd) && params.noFetch == 0) FetchEndingDigit(channel, true);
    return result;
}

long CDriverVoiceInterface::RecordSound(int channel, RecordParams& params) {
    if (params.format == -1) params.format = Settings().defaultFormat;
    if (long early = PendingOutcome(channel, 0, params.termMask)) return early;
    SetLineStatusText(channel, LS_RECORDING, nullptr);
    WriteLog(channel, LK_VOICE_RECORD);
    const long r = Checked(channel, VoiceOp::Record, Call<RecordFn>(RecordSoundFn)(channel, &params));
    if (r == kvoDigitEnd && params.noFetch == 0) FetchEndingDigit(channel, true);
    return r;
}

long CDriverVoiceInterface::DelayChannel(int channel, long time, long termMask, long flag) {
    if (long early = PendingOutcome(channel, 0, termMask)) return early;
    WriteLog(channel, LK_VOICE_GET_DTMF_STRING);
    const long r = Checked(channel, VoiceOp::Delay, Call<DelayFn>(DelayChannelFn)(channel, time, termMask, flag));
    if ((r == kvoTermDigit || r == kvoDigitEnd) && flag == 0) FetchEndingDigit(channel, false);
    return r;
}

long CDriverVoiceInterface::GetDTMFString(int channel, DigitRequest& request, std::string& digits) {
    const char pending = PendingDigit(channel);
    if (long early = PendingOutcome(channel, request.maxKeys, request.termMask)) {
        digits.assign(1, pending);
        Pending(channel) = 0;
        WriteLogS(channel, LK_DIGITS_RECEIVED, digits.c_str());
        return early;
    }
    // A pending key that does not end the collection is its first key: the
    // driver collects one key fewer and the key leads the digits returned.
    // The caller's request is left as it was; it is used again on a retry.
    DigitRequest ask = request;
    if (pending && ask.maxKeys > 0) --ask.maxKeys;
    SetLineStatusText(channel, LS_WAITING_FOR_DIGITS, nullptr);
    WriteLog(channel, LK_VOICE_GET_DTMF_STRING);
    char buffer[257] = {};
    const long r = Checked(channel, VoiceOp::GetDigits, Call<GetStringFn>(GetDTMFStringFn)(channel, &ask, buffer));
    Pending(channel) = 0;
    if (r == kvoTermDigit || r == kvoDigitEnd) {
        digits.clear();
        if (pending) digits += pending;
        // A driver that fills the whole buffer leaves no terminator.
        digits.append(buffer, strnlen(buffer, sizeof buffer));
        WriteLogS(channel, LK_DIGITS_RECEIVED, digits.c_str());
        const char help = LineHelpDigit(channel);
        if (request.helpFlag == 0 && help && !digits.empty() && digits[0] == help) throw new HelpDigitException();
    } else {
        digits.clear();
        WriteLogS(channel, LK_DIGITS_RECEIVED, "none");
    }
    return r;
}

long CDriverVoiceInterface::GetDTMFDigit(int channel, char* digit) {
    char scratch = 0;
    if (!digit) digit = &scratch;
    if (char& pending = Pending(channel)) {
        *digit = std::exchange(pending, 0);
        return 0;
    }
    const long r = Call<GetDigitFn>(GetDTMFDigitFn)(channel, digit);
    WriteLogN(channel, LK_VOICE_GET_DTMF, *digit);
    return Checked(channel, VoiceOp::GetDigit, r);
}

long CDriverVoiceInterface::WaitForDialTone(int channel) {
    SetLineStatusText(channel, LS_WAITING_FOR_DIALTONE, nullptr);
    WriteLog(channel, LK_WAITING_FOR_DIALTONE);
    return Checked(channel, VoiceOp::WaitForDialTone, Call1(WaitForDialToneFn, channel));
}

long CDriverVoiceInterface::DialString(int channel, const std::string& text) {
    SetLineStatusText(channel, LS_DIALLING, text.c_str());
    WriteLogS(channel, LK_VOICE_DIAL, text.c_str());
    return Checked(channel, VoiceOp::DialString, Call<DialStringFn_t>(DialStringFn)(channel, text.c_str()));
}

long CDriverVoiceInterface::CallString(int channel, const std::string& text, long mode) {
    SetLineStatusText(channel, LS_DIALLING, text.c_str());
    WriteLogS(channel, LK_VOICE_CALL, text.c_str());
    return Checked(channel, VoiceOp::CallString,
                   Call<CallStringFn_t>(CallStringFn)(channel, text.c_str(), mode));
}

long CDriverVoiceInterface::PrepareDial(int channel, bool wait) {
    OffHook(channel);
    ThrowIfShutdown();
    return wait ? WaitForDialTone(channel) : 0;
}

long CDriverVoiceInterface::BeginTransfer(int channel, bool wait) {
    if (wait) {
        const long r = WaitForDialTone(channel);
        ThrowIfShutdown();
        if (r) return r;
    }
    const long r = DialString(channel, Settings().xfer);
    ThrowIfShutdown();
    return r;
}

long CDriverVoiceInterface::DialOut(int channel, const std::string& number, bool wait, long mode) {
    if (long r = PrepareDial(channel, wait)) return r;
    return CallString(channel, number, mode);
}

long CDriverVoiceInterface::DialNoProgress(int channel, const std::string& number, bool wait) {
    if (long r = PrepareDial(channel, wait)) return r;
    return DialString(channel, number);
}

long CDriverVoiceInterface::TransferBlind(int channel, const std::string& number, bool wait) {
    if (long r = BeginTransfer(channel, wait)) return r;
    return DialString(channel, number);
}

long CDriverVoiceInterface::TransferSupervised(int channel, const std::string& number, bool wait) {
    if (long r = BeginTransfer(channel, wait)) return r;
    const long r = CallString(channel, number, 0);
    // Only 0 completes the transfer; any other result (32 included) takes
    // the caller back and reports it.
    const SystemSettings s = Settings();
    DialString(channel, r == 0 ? s.connect : s.reconnectFromBusyNoAns);
    return r;
}

}  // namespace kvo
