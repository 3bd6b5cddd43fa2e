#include "GreetingPlayer.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <climits>
#include <mutex>

#include "AppSettings.h"
#include "CallFlowControl.h"
#include "ChannelLog.h"
#include "DigitMask.h"
#include "Greeting.h"
#include "LineState.h"
#include "RuntimeExceptions.h"
#include "Redirection.h"
#include "RuntimeValues.h"
#include "SystemPhrase.h"
#include "VoiceControl.h"
#include "VoiceSystem.h"
#include "fw/Handle.h"
#include "fw/ole/Text.h"

namespace kvo {
namespace {

constexpr short kWavePhrase = 1, kSysPhrase = 2, kPromptPhrase = 4;
constexpr long kEveryKey = kDigitKeysMask | kvoDigit_0 | kvoDigit_S | kvoDigit_N;

// A voice file opened read-only and shared for reading; the card plays from
// its handle.
class Win32VoiceFile : public ByteReader {
public:
    explicit Win32VoiceFile(fw::FileHandle file) : file_(std::move(file)) {}
    std::size_t ReadAt(std::uint64_t pos, void* buffer, std::size_t size) override {
        LONG high = LONG(pos >> 32);
        if (SetFilePointer(file_.Get(), LONG(pos & 0xFFFFFFFFu), &high, FILE_BEGIN) == INVALID_SET_FILE_POINTER &&
            GetLastError() != NO_ERROR)
            return 0;
        DWORD read = 0;
        if (!ReadFile(file_.Get(), buffer, DWORD(size), &read, nullptr)) return 0;
        return read;
    }
    std::uint64_t Size() override {
        DWORD high = 0;
        const DWORD low = GetFileSize(file_.Get(), &high);
        if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return 0;
        return std::uint64_t(high) << 32 | low;
    }
    HANDLE Handle() const { return file_.Get(); }

private:
    fw::FileHandle file_;
};

class Win32VoiceFileOpener : public VoiceFileOpener {
public:
    Result Open(const std::string& path) override {
        Result r;
        fw::FileHandle h(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        if (h) {
            r.file = std::make_unique<Win32VoiceFile>(std::move(h));
        } else {
            r.error = long(GetLastError());
            r.missing = r.error == ERROR_FILE_NOT_FOUND || r.error == ERROR_PATH_NOT_FOUND;
        }
        return r;
    }
};

class ChannelSpokenLog : public SpokenLog {
public:
    explicit ChannelSpokenLog(int line) : line_(line) {}
    void Write(std::int32_t kind, std::initializer_list<LogValue> values) override {
        const LogValue* v = values.begin();
        switch (values.size()) {
        case 0: WriteLog(line_, kind); break;
        case 1: v[0].isString ? WriteLogS(line_, kind, v[0].text) : WriteLogN(line_, kind, v[0].number); break;
        default:
            if (v[0].isString && v[1].isString) WriteLogSS(line_, kind, v[0].text, v[1].text);
            else if (v[0].isString) WriteLogSN(line_, kind, v[0].text, v[1].number);
            else if (v[1].isString) WriteLogNS(line_, kind, v[0].number, v[1].text);
            else WriteLogNN(line_, kind, v[0].number, v[1].number);
        }
    }

private:
    int line_;
};

class Win32FileFacts : public VoiceFileFacts {
public:
    std::optional<Facts> FactsOf(const std::string& path, long& error) override {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
            error = long(GetLastError());
            return std::nullopt;
        }
        FILETIME local{};
        SYSTEMTIME st{};
        FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
        FileTimeToSystemTime(&local, &st);
        Facts f;
        f.size = std::uint64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
        f.modified = {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
        return f;
    }
    long CountMatching(const std::string& pattern) override {
        WIN32_FIND_DATAA found{};
        const HANDLE h = FindFirstFileA(pattern.c_str(), &found);
        if (h == INVALID_HANDLE_VALUE) return 0;
        long n = 0;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
        } while (FindNextFileA(h, &found));
        FindClose(h);
        return n;
    }
};

struct LineState {
    PromptFileSet files;
    PlaySequence* current = nullptr;
};

std::array<LineState, kMaxLines>& Lines() {
    static std::array<LineState, kMaxLines> lines;
    return lines;
}

thread_local int t_buildingLine = -1;

LineState* StateOf(int line) { return line >= 0 && line < kMaxLines ? &Lines()[size_t(line)] : nullptr; }

struct Languages {
    std::mutex lock;
    LanguageSettings fallback;
    LanguageSlots slots{&fallback};
};

Languages& TheLanguages() {
    static Languages languages;
    return languages;
}

std::string Narrow(const std::wstring& s) { return fw::ole::Narrow(s); }

std::intptr_t HandleOf(PromptFile& file) {
    auto* reader = dynamic_cast<Win32VoiceFile*>(&file.Reader());
    return reinterpret_cast<std::intptr_t>(reader ? reader->Handle() : nullptr);
}

// The phrase's failure offered to the owner; true when the host repaired it
// and the repaired copy was added.
bool Repair(PlaySequence& list, CVoiceControl* owner, const PhraseData& failed) {
    if (!owner) return false;
    std::optional<PhraseData> repaired = owner->FirePhraseError(list.Line(), short(list.Error()), failed);
    if (repaired && list.Add(*repaired)) return true;
    WriteLog(list.Line(), LK_INVALID_USER_PHRASE);
    throw new PhraseException();
}

long Play(int line, PlaySequence& list, const std::wstring& name, long fileformat, bool termOnDtmf, int statusCode,
          const char* status) {
    CVoiceInterface* vi = VoiceInterface();
    if (!vi) return 0;
    const std::string greeting = Narrow(name);
    WriteLogS(line, LK_PLAYING_GREETING, greeting.c_str());
    SetLineStatusText(line, statusCode, status ? status : greeting.c_str());
    PlayParams params;
    // A stored format the card does not know plays as the system's.
    params.format = fileformat >= 0 && fileformat <= 3 ? fileformat : CurrentAppSettings().playFormat;
    params.termMask = termOnDtmf ? kEveryKey : 0;
    PlayList segments = list.Segments();
    if (!list.SpeechText().empty()) {
        PlaySegment text;
        text.kind = PlaySegment::Text;
        text.text = list.SpeechText();
        segments.push_back(text);
    }
    long result = vi->PlayList(line, segments, params);
    if (params.termMask == 0) {
        vi->ClearDTMFQueue(line);
        if (result == kvoDigitEnd) result = 0;
    }
    return result;
}

}  // namespace

PromptFileSet& LineFiles(int line) {
    static PromptFileSet none;
    LineState* s = StateOf(line);
    return s ? s->files : none;
}

LanguageSlots& ChannelLanguages() { return TheLanguages().slots; }

const LanguageSettings& LineLanguage(int line) { return TheLanguages().slots.For(line); }

void ResetLanguages() {
    Languages& l = TheLanguages();
    const AppSettings app = CurrentAppSettings();
    std::lock_guard guard(l.lock);
    l.fallback = DefaultLanguage(int(app.timeFormat), int(app.dateOrder), int(app.languageId), app.projectVoiceDir);
    l.slots.ResetAll();
}

PlaySequence* CurrentPlaySequence(int line) {
    LineState* s = StateOf(line);
    return s ? s->current : nullptr;
}

int LineBuildingOnThisThread() { return t_buildingLine; }

PlaySequence::PlaySequence(int line, CCallFlowControl* owner)
    : line_(line), owner_(owner), outerLine_(t_buildingLine) {
    LineState* s = StateOf(line);
    outer_ = s ? s->current : nullptr;
    if (s) s->current = this;
    t_buildingLine = line;
}

PlaySequence::~PlaySequence() {
    if (LineState* s = StateOf(line_)) {
        s->current = outer_;
        // The files belong to the play request: none stays open between
        // greetings, so a prompt file edited meanwhile is read afresh.
        if (!outer_) s->files = PromptFileSet();
    }
    t_buildingLine = outerLine_;
}

void PlaySequence::Reset() {
    segments_.clear();
    speech_.clear();
    error_ = -1;
}

bool PlaySequence::Fail(int error) {
    error_ = error;
    return false;
}

PromptFile* PlaySequence::Open(const std::string& name, VoiceFileKind kind) {
    const LanguageSettings& language = LineLanguage(line_);
    const AppSettings app = CurrentAppSettings();
    const VoiceDirs dirs{language.directory.empty() ? app.projectVoiceDir : language.directory, app.projectVoiceDir,
                         app.systemVoiceDir};
    Win32VoiceFileOpener opener;
    PromptFileSet::Failure failure;
    PromptFile* file = LineFiles(line_).Open(name, kind, &language, dirs, opener, &failure);
    if (!file) WriteLogSN(line_, LK_FILE_OPEN_ERROR, failure.path.c_str(), failure.error);
    return file;
}

bool PlaySequence::Append(PromptFile& file, const std::string& name, std::uint64_t offset, std::uint64_t length) {
    // The card takes 32-bit signed offsets and lengths: a range it cannot
    // reach fails the phrase instead of playing from a truncated position.
    if (offset > std::uint64_t(LONG_MAX) || length > std::uint64_t(LONG_MAX) - offset) {
        WriteLogSN(line_, LK_FILE_OPEN_ERROR, name.c_str(), long(ERROR_FILE_TOO_LARGE));
        return Fail(kPhraseFileNotOpened);
    }
    PlaySegment seg;
    seg.file = HandleOf(file);
    seg.offset = long(offset);
    seg.length = long(length);
    segments_.push_back(seg);
    return true;
}

bool PlaySequence::AddWave(const std::string& name) {
    PromptFile* file = Open(name, VoiceFileKind::Wave);
    if (!file) return Fail(kPhraseFileNotOpened);
    // A file no longer than its header has nothing to play: the phrase fails
    // rather than handing the card a negative length.
    if (file->Size() <= std::uint64_t(kWaveDataOffset)) {
        WriteLogSN(line_, LK_FILE_OPEN_ERROR, name.c_str(), long(ERROR_HANDLE_EOF));
        return Fail(kPhraseFileNotOpened);
    }
    return Append(*file, name, kWaveDataOffset, file->Size() - kWaveDataOffset);
}

bool PlaySequence::AddClip(const std::string& name, long index, std::uint32_t skip) {
    PromptFile* file = Open(name, VoiceFileKind::Prompt);
    if (!file) return Fail(kPhraseFileNotOpened);
    const std::optional<ClipRange> range = index < 0 ? std::nullopt : file->Range(std::uint32_t(index));
    if (!range) {
        WriteLogSN(line_, LK_VAP_PHRASE_ID_NOT_FOUND, name.c_str(), index);
        // Closed only when nothing before it in the list plays from it: a
        // handle reused by the next file would play that file's bytes.
        const std::intptr_t handle = HandleOf(*file);
        if (std::none_of(segments_.begin(), segments_.end(), [&](const PlaySegment& s) { return s.file == handle; }))
            LineFiles(line_).Release(file);
        return Fail(kPhraseIdNotFound);
    }
    const std::uint32_t cut = std::min(skip, range->length);
    return Append(*file, name, std::uint64_t(range->offset) + cut, range->length - cut);
}

std::optional<long> PlaySequence::FindClip(const std::string& name, const std::string& clip) {
    PromptFile* file = Open(name, VoiceFileKind::Prompt);
    if (!file) {
        Fail(kPhraseFileNotOpened);
        return std::nullopt;
    }
    const long index = file->FindClip(clip, std::size_t(std::max(0L, CurrentAppSettings().scriptSize)));
    if (index < 0) {
        WriteLogSS(line_, LK_VAP_PHRASE_NOT_FOUND, name.c_str(), clip.c_str());
        Fail(kPhraseIdNotFound);
        return std::nullopt;
    }
    WriteLogNS(line_, LK_FOUND_PHRASE, index, name.c_str());
    return index;
}

bool PlaySequence::AddProgramPhrase(const std::string& name) {
    auto* voice = dynamic_cast<CVoiceControl*>(owner_);
    if (!voice || !voice->HostRuns()) {
        WriteLog(line_, LK_VB_PHRASE_DESIGN_MODE);
        return Fail(kPhraseVbUnavailable);
    }
    std::optional<GreetingData> supplied = voice->FirePlayRequest(line_, name);
    // Host code that adds nothing has said the phrase itself.
    if (!supplied) return true;
    for (PhraseData& phrase : supplied->phrases) {
        // Asking again from inside the answer would never end.
        if (phrase.phrsType == kSysPhrase && phrase.type == kvoVBPhrase) return Fail(kPhraseVbUnavailable);
        if (!Add(phrase)) return false;
    }
    return true;
}

bool PlaySequence::SubstituteData(const std::wstring& text, std::string& out) {
    std::optional<std::string> done = Substitute(RuntimeValues(), owner_, Narrow(text), line_);
    if (!done) return false;
    out = std::move(*done);
    return true;
}

bool PlaySequence::AddSystemPhrase(int kind, const std::string& data1, const std::string& data2, bool askLanguage) {
    switch (kind) {
    case kvoFileCustom: return AddWave(data1);
    case kvoVAPPhrase: {
        const std::optional<long> index = FindClip(data1, data2);
        return index && AddClip(data1, *index);
    }
    case kvoVAPPhraseIndex: {
        if (data2.empty() || data2.find_first_not_of("0123456789") != std::string::npos) {
            WriteLogSN(line_, LK_VAP_PHRASE_ID_NOT_FOUND, data1.c_str(), -1);
            return Fail(kPhraseIdNotFound);
        }
        // Leading zeros are allowed; an index too large for any file stays
        // too large instead of wrapping onto a real clip.
        long index = 0;
        for (const char c : data2) index = index > (LONG_MAX - 9) / 10 ? LONG_MAX : index * 10 + (c - '0');
        return AddClip(data1, index);
    }
    case kvoVBPhrase: return AddProgramPhrase(data1);
    case kvoSayText:
        WriteLogS(line_, LK_TEXT_NOTE, "TTS not enabled");
        return Fail(kPhraseIdNotFound);
    default: break;
    }
    LanguageSettings language = LineLanguage(line_);
    if (!askLanguage) language.control = nullptr;
    const AppSettings app = CurrentAppSettings();
    SystemClock clock;
    ChannelSpokenLog log(line_);
    Win32FileFacts files;
    const SystemPhraseContext context{language, clock, log, &files, app.projectVoiceDir,
                                      Settings().BytesPerSecond()};
    const SystemPhraseResult r = SpeakSystemPhrase(kind, data1, data2, context);
    switch (r.outcome) {
    case PhraseOutcome::Handled: return true;
    case PhraseOutcome::StopCall: throw new PhraseException();
    case PhraseOutcome::Failed:
    // A kind with no speech of its own (or none known) has nothing to find;
    // host code is told so with a type it can act on.
    case PhraseOutcome::NotSpokenHere: return Fail(r.spoken.error < 0 ? kPhraseIdNotFound : r.spoken.error);
    case PhraseOutcome::Spoken: break;
    }
    for (const Clip& c : r.spoken.clips)
        if (!AddClip(VoiceFileName(c.file), c.index)) return false;
    return true;
}

bool PlaySequence::Add(PhraseData& phrase) {
    // What a failing phrase appended before it failed must not be heard
    // ahead of its repair.
    const size_t kept = segments_.size();
    const std::string speech = speech_;
    if (AddPhrase(phrase)) return true;
    segments_.resize(kept);
    speech_ = speech;
    return false;
}

bool PlaySequence::AddPhrase(PhraseData& phrase) {
    switch (phrase.phrsType) {
    case kWavePhrase: return AddWave(Narrow(phrase.file));
    case kSysPhrase: {
        const int uses = SystemPhraseDataCount(phrase.type);
        std::string data1, data2;
        if (uses >= 1 && !SubstituteData(phrase.file, data1)) return Fail(kPhraseSubstitutionFailed);
        if (uses >= 2 && !SubstituteData(phrase.data, data2)) return Fail(kPhraseSubstitutionFailed);
        return AddSystemPhrase(phrase.type, data1, data2);
    }
    case kPromptPhrase: {
        const std::string file = Narrow(phrase.file);
        if (phrase.type == -1) {
            const std::optional<long> index = FindClip(file, Narrow(phrase.data));
            if (!index) return false;
            // An index beyond what the phrase can hold is looked up again
            // at every play rather than kept wrapped.
            if (*index > SHRT_MAX) return AddClip(file, *index);
            phrase.type = short(*index);
        }
        return AddClip(file, phrase.type);
    }
    default: return Fail(kPhraseIdNotFound);
    }
}

long SpeakGreeting(int line, GreetingData& greeting, CVoiceControl* owner, PlaySequence& list, int& count) {
    list.Reset();
    count = 0;
    for (PhraseData& phrase : greeting.phrases) {
        if (list.Add(phrase) || Repair(list, owner, phrase)) ++count;
    }
    if (count == 0) return 0;
    return Play(line, list, greeting.name, greeting.fileformat, greeting.termOnDtmf, LS_PLAYING, nullptr);
}

long SpeakGreeting(int line, GreetingData& greeting, CVoiceControl& owner) {
    PlaySequence list(line, &owner);
    int count = 0;
    return SpeakGreeting(line, greeting, &owner, list, count);
}

bool GreetingHasSound(const PlaySequence& list) {
    if (!list.SpeechText().empty()) return true;
    for (const PlaySegment& segment : list.Segments())
        if (segment.length > 0) return true;
    return false;
}

GreetingData GreetingCopy(const CGreeting& greeting, CVoiceControl* owner) {
    GreetingData data;
    if (!owner) return greeting.Data();
    if (owner->CallOnOwnThread([&] { data = greeting.Data(); }) != fw::ole::HandOver::Ran) throw new ShutdownException();
    return data;
}

long SpeakGreeting(int line, CGreeting& greeting, CVoiceControl* owner, PlaySequence& list, int& count) {
    // A copy: the user interface may edit the greeting while the line plays.
    GreetingData data = GreetingCopy(greeting, owner);
    const GreetingData before = data;
    const long result = SpeakGreeting(line, data, owner, list, count);
    auto cache = [&] {
        for (size_t i = 0; i < data.phrases.size(); ++i)
            if (data.phrases[i].type != before.phrases[i].type)
                greeting.CacheClipIndex(i, before.phrases[i], data.phrases[i].type);
    };
    // A host that has gone merely loses the cached indexes.
    if (owner) (void)owner->CallOnOwnThread(cache);
    else cache();
    return result;
}

long PlaySinglePhrase(int line, PhraseData& phrase, bool termOnDtmf, CVoiceControl* owner) {
    PlaySequence list(line, owner);
    if (!list.Add(phrase)) {
        WriteLog(line, LK_INVALID_USER_PHRASE);
        throw new PhraseException();
    }
    const long result = Play(line, list, L"info", -1, termOnDtmf, LS_PLAYING, "info ");
    // A key that ends the phrase is what TermOnDTMF asks for, not a fault.
    if (result == 0 || (termOnDtmf && (result == kvoTermDigit || result == kvoDigitEnd))) return result;
    throw new ControlErrorException(34, result);
}

long PlayWaveGreeting(int line, const GreetingData& greeting) {
    GreetingData copy = greeting;
    PlaySequence list(line, nullptr);
    int count = 0;
    // Without an owner no one can repair a phrase: what fails is left out.
    list.Reset();
    for (PhraseData& phrase : copy.phrases)
        if (list.Add(phrase)) ++count;
    if (count == 0) return 0;
    return Play(line, list, greeting.name, greeting.fileformat, greeting.termOnDtmf, LS_PLAYING, nullptr);
}

long PlayWaveFile(int line, const std::string& file, const std::string& name) {
    if (file.empty()) return 0;
    GreetingData greeting{fw::ole::Widen(name), true, -1, {PhraseData{fw::ole::Widen(file), L"", -1, kWavePhrase, 0}}};
    return PlayWaveGreeting(line, greeting);
}

}  // namespace kvo
