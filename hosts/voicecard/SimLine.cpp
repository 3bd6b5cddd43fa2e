#include "SimLine.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "fw/Handle.h"

namespace voicecard {
namespace {

constexpr int64_t kRingPeriodMs = 6000;
constexpr size_t kMaxDigits = 256;    // the runtime's buffer holds 257 with the NUL

int BytesPerSecond(LONG format) {
    static const int table[] = {8000, 4000, 6000, 3000};
    return format >= 0 && format <= 3 ? table[format] : 8000;
}

std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    va_list again;
    va_copy(again, args);
    const int n = vsnprintf(nullptr, 0, fmt, args);
    va_end(args);
    std::string out(n > 0 ? n : 0, '\0');
    if (n > 0) vsnprintf(out.data(), out.size() + 1, fmt, again);
    va_end(again);
    return out;
}

// The file behind a handle as a DOS path in UTF-8, "?" when it has none.
// The call is looked up because the libraries still load on systems that
// predate it.
std::string FileName(HANDLE file) {
    using FinalPathFn = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
    static const auto finalPath =
        fw::ProcAddress<FinalPathFn>(GetModuleHandleW(L"kernel32.dll"), "GetFinalPathNameByHandleW");
    if (!finalPath) return "?";
    constexpr DWORD kDosVolume = 0;
    std::wstring path(MAX_PATH, L'\0');
    DWORD n = finalPath(file, path.data(), static_cast<DWORD>(path.size()), kDosVolume);
    if (n >= path.size()) {
        path.resize(n);
        n = finalPath(file, path.data(), static_cast<DWORD>(path.size()), kDosVolume);
    }
    if (n == 0 || n >= path.size()) return "?";
    path.resize(n);
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) path = L"\\" + path.substr(7);
    else if (path.rfind(L"\\\\?\\", 0) == 0) path.erase(0, 4);
    const int size = WideCharToMultiByte(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size : 0, '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), out.data(), size, nullptr, nullptr);
    return size > 0 ? out : "?";
}

}  // namespace

LONG KeyBit(char key) {
    if (key == '0') return 1024;
    if (key >= '1' && key <= '9') return 1L << (key - '0');
    switch (key) {
    case '*': return 2048;
    case '#': return 4096;
    case 'A': return 8192;
    case 'B': return 16384;
    case 'C': return 32768;
    case 'D': return 1;
    default: return 0;
    }
}

SimLine::SimLine(LineScript script, int speed, Journal journal)
    : script_(std::move(script)), speed_(speed), journal_(std::move(journal)) {}

std::optional<LONG> SimLine::TakeFailure(const std::string& exportName) {
    Lock lock(m_);
    auto it = script_.failures.find(exportName);
    if (it == script_.failures.end() || it->second.empty()) return std::nullopt;
    LONG r = it->second.front();
    it->second.erase(it->second.begin());
    return r;
}

SimLine::Clock::time_point SimLine::After(Clock::time_point from, int64_t scenarioMs) const {
    return from + std::chrono::microseconds(scenarioMs * 1000 / speed_);
}

void SimLine::StartCall(const CallerScript& caller) {
    caller_ = caller;
    nextKey_ = 0;
    active_ = true;
    offHook_ = true;
    callStart_ = Clock::now();
}

void SimLine::EndCall() {
    active_ = false;
    ringing_ = false;
    caller_ = {};
    nextKey_ = 0;
}

void SimLine::Pump() {
    if (!active_) return;
    const auto now = Clock::now();
    while (nextKey_ < caller_.keys.size() && After(callStart_, caller_.keys[nextKey_].at) <= now) {
        // A caller who has hung up types nothing more.
        if (caller_.hangupAt && caller_.keys[nextKey_].at >= *caller_.hangupAt) break;
        queue_.push_back(caller_.keys[nextKey_++].key);
    }
}

bool SimLine::HungUp() const {
    return active_ && caller_.hangupAt && After(callStart_, *caller_.hangupAt) <= Clock::now();
}

std::optional<SimLine::Clock::time_point> SimLine::NextEvent() const {
    if (!active_) return std::nullopt;
    std::optional<Clock::time_point> next;
    if (nextKey_ < caller_.keys.size()) next = After(callStart_, caller_.keys[nextKey_].at);
    if (caller_.hangupAt) {
        auto h = After(callStart_, *caller_.hangupAt);
        if (!next || h < *next) next = h;
    }
    return next;
}

std::function<std::optional<LONG>()> SimLine::KeyEnds(LONG mask, LONG result) const {
    return [this, mask, result]() -> std::optional<LONG> {
        if (std::any_of(queue_.begin(), queue_.end(), [mask](char k) { return (KeyBit(k) & mask) != 0; }))
            return result;
        return std::nullopt;
    };
}

LONG SimLine::Block(Lock& lock, const std::string& begin, std::optional<Clock::time_point> deadline,
                    LONG onDeadline, const std::function<std::optional<LONG>()>& check) {
    ++blocking_;
    // Written under the line's lock: a Stop sent by whoever read this line
    // cannot get in before the wait below.
    if (!begin.empty()) Note("begin " + begin);
    LONG result;
    for (;;) {
        if (stopRequested_) { result = 18; break; }
        Pump();
        if (auto r = check()) { result = *r; break; }
        if (HungUp()) { result = 16; break; }
        const auto now = Clock::now();
        if (deadline && *deadline <= now) { result = onDeadline; break; }
        auto wake = NextEvent();
        if (deadline && (!wake || *deadline < *wake)) wake = deadline;
        if (wake) cv_.wait_until(lock, *wake);
        else cv_.wait(lock);
    }
    stopRequested_ = false;
    --blocking_;
    return result;
}

LONG SimLine::WaitForRing(LONG rings) {
    Lock lock(m_);
    const auto start = Clock::now();
    std::optional<Clock::time_point> due;
    if (nextCall_ < script_.calls.size()) {
        const auto& call = script_.calls[nextCall_];
        due = After(start, call.ringAfter + std::max<LONG>(rings - 1, 0) * kRingPeriodMs);
    }
    // Without another scripted call the line stays quiet until stopped.
    LONG r = Block(lock, Format("waitforring %ld", rings), due, 0, [] { return std::optional<LONG>{}; });
    if (r == 0) {
        const auto& call = script_.calls[nextCall_++];
        if (call.connected) {
            StartCall(call.caller);
            r = 32;
        } else {
            ringing_ = true;
            caller_ = call.caller;
        }
    }
    Note(Format("waitforring %ld -> %ld", rings, r));
    return r;
}

LONG SimLine::RefuseCall() {
    Lock lock(m_);
    EndCall();
    Note("refuse");
    return 0;
}

LONG SimLine::OffHook() {
    Lock lock(m_);
    LONG r = 0;
    if (ringing_) {
        ringing_ = false;
        StartCall(caller_);
        if (HungUp()) { EndCall(); r = 16; }
    }
    offHook_ = true;
    Note(Format("offhook -> %ld", r));
    return r;
}

LONG SimLine::OnHook() {
    Lock lock(m_);
    EndCall();
    offHook_ = false;
    Note("onhook");
    return 0;
}

LONG SimLine::Initialise() {
    Lock lock(m_);
    EndCall();
    offHook_ = false;
    queue_.clear();
    Note("initialise");
    return 0;
}

LONG SimLine::Seize() { Lock lock(m_); Note("seize"); return 0; }
LONG SimLine::Release() { Lock lock(m_); Note("release"); return 0; }
LONG SimLine::IsOffHook() { Lock lock(m_); return offHook_ ? 1 : 0; }
LONG SimLine::LoopCurrent() { Lock lock(m_); return active_ && !HungUp() ? 1 : 0; }

LONG SimLine::WaitForDialTone() {
    Lock lock(m_);
    LONG r = script_.dialTone ? 0 : 27;
    Note(Format("dialtone -> %ld", r));
    return r;
}

LONG SimLine::CallString(const char* number, LONG mode) {
    Lock lock(m_);
    const std::string n = number ? number : "";
    const DialRule* rule = FindDialRule(script_, n);
    DialRule fallback;
    if (!rule) rule = &fallback;
    const DialRule chosen = *rule;
    LONG r = Block(lock, Format("call '%s' mode %ld", n.c_str(), mode), After(Clock::now(), chosen.after),
                   chosen.result, [] { return std::optional<LONG>{}; });
    if (r == 32) StartCall(chosen.caller);
    Note(Format("call '%s' mode %ld -> %ld", n.c_str(), mode, r));
    return r;
}

LONG SimLine::DialString(const char* number) {
    Lock lock(m_);
    offHook_ = true;
    Note(Format("dial '%s'", number ? number : ""));
    return 0;
}

LONG SimLine::Play(HANDLE data, LONG length, const LONG* params) {
    if (!params || length < 0) return 18;
    // Where the data comes from, so a journal reader can tell which clip of
    // a prompt file was played.
    LARGE_INTEGER at{};
    const bool placed = SetFilePointerEx(data, LARGE_INTEGER{}, &at, FILE_CURRENT) != 0;
    const std::string source = FileName(data);
    // The data is read before the line is taken: a slow file must not hold up Stop.
    DWORD got = 0;
    bool readOk = true;
    std::vector<char> chunk(64 * 1024);
    while (readOk && got < static_cast<DWORD>(length)) {
        DWORD n = 0;
        const DWORD want = std::min<DWORD>(static_cast<DWORD>(chunk.size()), static_cast<DWORD>(length) - got);
        readOk = ReadFile(data, chunk.data(), want, &n, nullptr) != 0;
        if (n == 0) break;   // end of file: play what there is
        got += n;
    }
    std::string range = "none";
    if (placed && got > 0)
        range = Format("%lld-%lld", static_cast<long long>(at.QuadPart),
                       static_cast<long long>(at.QuadPart) + got - 1);
    const std::string what = Format("play %lu bytes format %ld mask %ld", got, params[4], params[0]);
    const std::string from = Format(" from '%s' bytes %s", source.c_str(), range.c_str());
    Lock lock(m_);
    LONG r;
    if (!readOk) {
        r = 18;
    } else {
        const LONG mask = params[0];
        const int64_t ms = static_cast<int64_t>(got) * 1000 / BytesPerSecond(params[4]);
        r = Block(lock, what + from, After(Clock::now(), ms), 0, KeyEnds(mask, 9));
    }
    Note(what + Format(" -> %ld", r) + from);
    return r;
}

LONG SimLine::Record(const LONG* params) {
    if (!params) return 18;
    const HANDLE file = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(params[0]));
    const LONG maxSeconds = params[1], mask = params[2], format = params[5];
    Lock lock(m_);
    const auto start = Clock::now();
    std::optional<Clock::time_point> due;
    if (maxSeconds > 0) due = After(start, int64_t{maxSeconds} * 1000);
    LONG r = Block(lock, Format("record max %ld format %ld mask %ld", maxSeconds, format, mask), due, 14,
                   KeyEnds(mask, 10));
    // The caller's side is silence; what matters is that the length fits the time.
    const auto elapsedUs = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();
    size_t bytes = static_cast<size_t>(elapsedUs * speed_ / 1000 * BytesPerSecond(format) / 1000);
    if (due) bytes = std::min<size_t>(bytes, static_cast<size_t>(maxSeconds) * BytesPerSecond(format));
    std::vector<char> silence(bytes, static_cast<char>(format == 0 || format == 2 ? 0xFF : 0x00));
    DWORD written = 0;
    if (bytes && !WriteFile(file, silence.data(), static_cast<DWORD>(bytes), &written, nullptr) && r != 16)
        r = 18;
    Note(Format("record %lu bytes format %ld mask %ld -> %ld", written, format, mask, r));
    return r;
}

LONG SimLine::Delay(LONG seconds, LONG mask, LONG flag) {
    Lock lock(m_);
    LONG r = Block(lock, Format("delay %ld mask %ld flag %ld", seconds, mask, flag),
                   After(Clock::now(), int64_t{seconds} * 1000), 12, KeyEnds(mask, 9));
    Note(Format("delay %ld mask %ld flag %ld -> %ld", seconds, mask, flag, r));
    return r;
}

LONG SimLine::ClearQueue() {
    Lock lock(m_);
    Pump();
    queue_.clear();
    Note("clear");
    return 0;
}

LONG SimLine::GetDigits(const LONG* request, char* buffer) {
    if (!request || !buffer) return 18;
    const LONG silence = request[0], maxKeys = request[1], mask = request[2];
    std::string got;
    Lock lock(m_);
    auto lastKey = Clock::now();
    LONG r = 0;
    std::string begin = Format("getdigits max %ld mask %ld silence %ld", maxKeys, mask, silence);
    for (bool done = false; !done; begin.clear()) {
        std::optional<Clock::time_point> due;
        if (silence > 0) due = After(lastKey, int64_t{silence} * 1000);
        r = Block(lock, begin, due, 12, [&]() -> std::optional<LONG> {
            while (!queue_.empty()) {
                char k = queue_.front();
                queue_.pop_front();
                got += k;
                lastKey = Clock::now();
                if (KeyBit(k) & mask) return 9;
                if ((maxKeys > 0 && got.size() >= static_cast<size_t>(maxKeys)) || got.size() >= kMaxDigits)
                    return 10;
            }
            if (silence <= 0) return 0;   // nothing more to wait for
            return std::nullopt;
        });
        // A key that arrived restarts the silence clock: Block returned only
        // because the deadline it was given is now stale.
        done = !(r == 12 && Clock::now() < After(lastKey, int64_t{silence} * 1000));
    }
    std::fill(buffer, buffer + kMaxDigits + 1, '\0');
    std::copy(got.begin(), got.end(), buffer);
    Note(Format("getdigits max %ld mask %ld silence %ld -> %ld '%s'", maxKeys, mask, silence, r, got.c_str()));
    return r;
}

LONG SimLine::GetDigit(char* digit) {
    if (!digit) return 18;
    Lock lock(m_);
    Pump();
    *digit = 0;
    if (!queue_.empty()) {
        *digit = queue_.front();
        queue_.pop_front();
    }
    Note(Format("getdigit '%s'", std::string(*digit ? 1 : 0, *digit).c_str()));
    return 0;
}

LONG SimLine::Stop() {
    Lock lock(m_);
    if (blocking_ > 0) stopRequested_ = true;
    cv_.notify_all();
    Note("stop");
    return 0;
}

}  // namespace voicecard
