// System phrases: the kinds, the Language control's say in them, and the
// built-in rule of each kind that can be spoken from its data alone. The
// phrase's data arrive already substituted; kinds that need the play list
// (custom files, prompt-file entries, program-code phrases, speech) are
// reported back to it as not spoken here.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "Calendar.h"
#include "Language.h"
#include "SpokenValues.h"

namespace kvo {

enum SysPhraseKind : int {
    kvoNumFiles = 0,
    kvoFileCustom = 1,
    kvoFileSize = 2,
    kvoFileDate = 3,
    kvoFileTime = 4,
    kvoSayNumber = 5,
    kvoSayNumberShort = 6,
    kvoDigits = 7,
    kvoMoney = 8,
    kvoVBPhrase = 9,
    kvoFileDateTime = 10,
    kvoInitialGreeting = 11,
    kvoSayTime = 12,
    kvoSayDate = 13,
    kvoTimeNow = 14,
    kvoDateToday = 15,
    kvoVAPPhrase = 16,
    kvoVAPPhraseIndex = 17,
    kvoNumberOrdinal = 18,
    kvoCustom = 19,
    kvoSayText = 20,
};

// How many data strings a kind uses: 0 none, 1 Data1, 2 or 3 Data1 and Data2.
int SystemPhraseDataCount(int kind);

// The Language control's event for a kind, or nullptr for kinds no rule
// fires an event for.
const char* LanguageEventName(int kind);

// What the Language control offers the phrase rules. The control fires its
// event for the kind on the user-interface thread and hands back the event's
// `UseDefault` (-1 unless program code changed it).
class LanguageEvents {
public:
    virtual ~LanguageEvents() = default;
    virtual bool InRunMode() const = 0;
    virtual short FirePhraseEvent(int kind, const std::string& data1, const std::string& data2) = 0;
};

// File facts the file phrases need, asked of the platform.
class VoiceFileFacts {
public:
    virtual ~VoiceFileFacts() = default;
    struct Facts {
        std::uint64_t size = 0;
        LocalTime modified;
    };
    // Empty with `error` set (the operating system's code) when the file cannot be opened.
    virtual std::optional<Facts> FactsOf(const std::string& path, long& error) = 0;
    virtual long CountMatching(const std::string& pattern) = 0;
};

struct SystemPhraseContext {
    const LanguageSettings& language;
    const Clock& clock;
    SpokenLog& log;
    VoiceFileFacts* files = nullptr;  // null: file phrases cannot be opened
    std::string projectDirectory;     // relative file names are taken from here
    int bytesPerSecond = 8000;        // of the system play format
};

enum class PhraseOutcome {
    Spoken,         // the clips are in the result
    Handled,        // program code took the phrase: it counts, nothing to add
    Failed,         // the result's error code says why
    StopCall,       // an event was needed outside run mode: the call stops with a phrase error
    NotSpokenHere,  // the play list's own kinds
};

struct SystemPhraseResult {
    PhraseOutcome outcome = PhraseOutcome::Spoken;
    SpokenResult spoken;
};

SystemPhraseResult SpeakSystemPhrase(int kind, const std::string& data1, const std::string& data2,
                                     const SystemPhraseContext& context);

}  // namespace kvo
