// Saying greetings on a line: the play list one play request builds from a
// greeting's phrases (wave files from behind their 308-byte header, prompt
// clips by index or by name, system phrases through the Language control or
// the built-in rules), the per-line set of open voice files and language,
// and SpeakGreeting with its PhraseError repair path.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "Language.h"
#include "PromptFileSet.h"
#include "SavedForm.h"
#include "VoiceInterface.h"

namespace kvo {

class CCallFlowControl;
class CGreeting;
class CVoiceControl;

// Where a wave file header ends and the voice data begins.
constexpr long kWaveDataOffset = 308;

// The files a line has open for playing, kept while a play list is being
// built and played; only the line's own thread (or the user interface while
// that thread waits for an event) touches them.
PromptFileSet& LineFiles(int line);
// Which language record each channel speaks with; the default record follows
// the Frame's settings.
LanguageSlots& ChannelLanguages();
const LanguageSettings& LineLanguage(int line);
// Rebuilds the default record from the Frame's settings and puts every
// channel back on it (a new voice directory).
void ResetLanguages();

// One play request's list. It registers itself as its line's current list
// while it lives, so a Language control's event can add to it.
class PlaySequence {
public:
    // `owner` is the control the greeting belongs to (for "this" references
    // and the events); may be null.
    PlaySequence(int line, CCallFlowControl* owner);
    ~PlaySequence();
    PlaySequence(const PlaySequence&) = delete;
    PlaySequence& operator=(const PlaySequence&) = delete;

    void Reset();
    // One phrase of any kind. A prompt clip found by name stores its index in
    // `phrase.type`. False with Error() set when it cannot be added.
    bool Add(PhraseData& phrase);
    bool AddWave(const std::string& file);
    // Clip `index` of prompt file `file`, skipping `skip` bytes of it.
    bool AddClip(const std::string& file, long index, std::uint32_t skip = 0);
    // The index of the clip named `name` in `file`, logged; none with Error()
    // set when the file or the clip is not there (logged too).
    std::optional<long> FindClip(const std::string& file, const std::string& name);
    // A system phrase of `kind` with its data as they stand (references
    // already replaced); `askLanguage` false keeps the Language control out
    // (a phrase its own event adds).
    bool AddSystemPhrase(int kind, const std::string& data1, const std::string& data2, bool askLanguage = true);

    int Line() const { return line_; }
    CCallFlowControl* Owner() const { return owner_; }
    int Error() const { return error_; }
    const PlayList& Segments() const { return segments_; }
    const std::string& SpeechText() const { return speech_; }

private:
    PromptFile* Open(const std::string& name, VoiceFileKind kind);
    bool Fail(int error);
    bool AddPhrase(PhraseData& phrase);
    bool Append(PromptFile& file, const std::string& name, std::uint64_t offset, std::uint64_t length);
    bool SubstituteData(const std::wstring& text, std::string& out);
    // A phrase host code supplies by name through the owner's PlayRequest.
    bool AddProgramPhrase(const std::string& name);

    int line_;
    CCallFlowControl* owner_;
    int error_ = -1;
    PlayList segments_;
    std::string speech_;
    PlaySequence* outer_;
    int outerLine_;
};

// True when the list sends sound to the line: a loop that plays a greeting
// again and again needs another way to pass the time otherwise.
bool GreetingHasSound(const PlaySequence& list);

// The list being built on `line`, or null (the Language control adds to it).
PlaySequence* CurrentPlaySequence(int line);
// The line whose list the calling thread is building, or -1.
int LineBuildingOnThisThread();

// A copy of `greeting` taken on the thread of `owner` (which host code edits
// it on); ShutdownException when that thread no longer answers.
GreetingData GreetingCopy(const CGreeting& greeting, CVoiceControl* owner);

// Says `greeting` on `line`: each phrase is added to `list`; a phrase that
// fails is offered to the owner's PhraseError event, and one the host does not
// repair stops the call with a phrase error (PhraseException). `count` gets
// the phrases added. Returns the voice interface's result, 0 when nothing was
// played.
long SpeakGreeting(int line, CGreeting& greeting, CVoiceControl* owner, PlaySequence& list, int& count);
// The same for a greeting held as data (cached clip indexes stay in `greeting`).
long SpeakGreeting(int line, GreetingData& greeting, CVoiceControl* owner, PlaySequence& list, int& count);
// The same with a play list of its own, for a control saying one of its
// greetings (a copy it took of it, so clip indexes stay in the copy).
long SpeakGreeting(int line, GreetingData& greeting, CVoiceControl& owner);
// One information phrase of a greeting whose TermOnDTMF is `termOnDtmf`:
// a failure is a phrase error, a key ends it only when `termOnDtmf`, and any
// other non-zero result is a voice error (type 34).
long PlaySinglePhrase(int line, PhraseData& phrase, bool termOnDtmf, CVoiceControl* owner);

// Wave-only callers: the greeting's phrases as they are, and one file as the
// greeting `name` (the default phrases).
long PlayWaveGreeting(int line, const GreetingData& greeting);
// A single wave file, as the greeting `name` (the default phrases).
long PlayWaveFile(int line, const std::string& file, const std::string& name);

}  // namespace kvo
