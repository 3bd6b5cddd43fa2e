// The design-time check of phrases and greetings (Check Control, Check
// System, the Phrase object's CheckPhrase): whether each phrase can be said,
// with the check code and text the check report shows. Portable: files and
// control names are asked of the caller.
#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "ByteFile.h"
#include "SavedForm.h"

namespace kvo {

enum PhraseCheckCode : int {
    kCheckControlNotFound = 0,
    kCheckPhraseNotFound = 1,
    kCheckPhraseSize = 2,
    kCheckFileOpen = 3,
    kCheckFileSize = 4,
    kCheckNoData = 5,
    kCheckAmbiguousName = 6,
    kCheckFileFormat = 7,
    kCheckNotSupported = 8,
};
const char* PhraseCheckText(int code);

struct PhraseCheckResult {
    int phrase = -1;       // index in the greeting
    bool accepted = true;  // true also for a warning
    int code = -1;         // -1: nothing to report
    std::string text;      // the file name or datum that failed
};

class PhraseCheckContext {
public:
    enum class Found { Yes, No, Ambiguous };
    virtual ~PhraseCheckContext() = default;
    // A control named in a reference (not "this" or "channel").
    virtual Found LookUpControl(std::string_view name) = 0;
    // Whether a calling control exists for "this".
    virtual bool HasThis() const = 0;
    // A voice file by the name a phrase gives; null when it cannot be opened.
    virtual std::unique_ptr<ByteReader> OpenVoiceFile(const std::string& name) = 0;
    virtual std::size_t ScriptSize() const { return 0; }
    virtual bool SpeechEnabled() const { return false; }
    // A phrase's text as the platform names files, and back; by default
    // characters beyond ASCII become '?'.
    virtual std::string Narrow(const std::wstring& text) const;
    virtual std::wstring Widen(const std::string& text) const;
};

// One phrase; `greetingFormat` -1 when no format is known. A prompt clip
// found by name leaves its index in `phrase.type`, and a format mismatch its
// text in `phrase.data`. False when the phrase is not acceptable; a warning
// returns true with the code set.
bool CheckPhrase(PhraseData& phrase, long greetingFormat, PhraseCheckContext& context, PhraseCheckResult& result);

// Phrase by phrase, stopping at the first that is not acceptable.
bool CheckGreeting(GreetingData& greeting, long format, PhraseCheckContext& context, PhraseCheckResult& result);

// What the check list shows for a greeting `role` ("Entry", ...): nothing
// when all is well; `greeting` null for a greeting the control lacks.
struct CheckReportLine {
    int level;  // 2 error, 1 warning
    std::string text;
};
std::optional<CheckReportLine> GreetingCheckReport(const GreetingData* greeting, const std::string& role,
                                                   bool ok, const PhraseCheckResult& result);

}  // namespace kvo
