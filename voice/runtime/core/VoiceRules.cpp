#include "VoiceRules.h"

namespace kvo {

long DigitMaskOf(char key) {
    // Key index 0..11 ("0".."9", "*", "#") gives the bit in the mask order
    // 0, 1 .. 9, *, #: the zero key is 1024, keys 1..9 are 2..512.
    int index;
    if (key >= '0' && key <= '9') index = key - '0';
    else if (key == '*') index = 10;
    else if (key == '#') index = 11;
    else return 0;
    static const long bits[12] = {1024, 2, 4, 8, 16, 32, 64, 128, 256, 512, 2048, 4096};
    return bits[index];
}

long PendingDigitOutcome(char pending, long maxKeys, long termMask) {
    if (!pending) return 0;
    if (maxKeys == 1) return kvoDigitEnd;
    if (DigitMaskOf(pending) & termMask) return kvoTermDigit;
    return 0;
}

Verdict CheckResult(VoiceOp op, long r, bool shutdownRequested) {
    if (shutdownRequested) return {Verdict::Shutdown, r};
    auto allow = [r](std::initializer_list<long> ok) {
        for (long v : ok)
            if (v == r) return true;
        return false;
    };
    switch (op) {
    case VoiceOp::WaitForRing:
    case VoiceOp::GetDigit:
        return {Verdict::Return, r};
    case VoiceOp::WaitForDialTone:
    case VoiceOp::DialString:
    case VoiceOp::CallString:
        if (r == kvoHangup) return {Verdict::Hangup, r};
        if (r == kvoStopped) return {Verdict::Error, r};
        return {Verdict::Return, r};
    case VoiceOp::Record:
        // A recording the caller ended by hanging up is still worth keeping.
        if (allow({0, kvoDigitEnd, kvoRecordEnd, kvoHangup})) return {Verdict::Return, r};
        return {Verdict::Error, r};
    case VoiceOp::Delay:
        if (r == kvoTimeout) return {Verdict::Return, 0};
        if (allow({0, kvoTermDigit, kvoDigitEnd, kvoStopped})) return {Verdict::Return, r};
        break;
    case VoiceOp::Play:
        if (allow({0, kvoTermDigit, kvoDigitEnd})) return {Verdict::Return, r};
        break;
    case VoiceOp::GetDigits:
        if (allow({0, kvoTermDigit, kvoDigitEnd, kvoTimeout})) return {Verdict::Return, r};
        break;
    case VoiceOp::OffHook:
    case VoiceOp::OnHook:
        if (r == 0) return {Verdict::Return, r};
        break;
    }
    if (r == kvoHangup) return {Verdict::Hangup, r};
    return {Verdict::Error, r};
}

long RunPlayList(const std::vector<PlaySegment>& list,
                 const std::function<long(const PlaySegment&)>& playData,
                 const std::function<void(const PlaySegment&)>& onText) {
    long result = 0;
    for (const auto& seg : list) {
        if (seg.kind == PlaySegment::Text) {
            onText(seg);
            return kvoFailedOrText;
        }
        result = playData(seg);
        if (result != 0) break;
    }
    return result;
}

}  // namespace kvo
