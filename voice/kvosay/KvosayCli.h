// kvosay's command line and run: one value, said by the system-phrase rules
// of a language, printed as the clips a caller would hear.
// Portable, so both builds and their tests share it.
#pragma once
#include <optional>
#include <ostream>
#include <string>

#include "Calendar.h"
#include "Language.h"

namespace kvo {

enum class SayKind { Number, Short, Ordinal, Digits, Money, Time, Date, FileSize, Salutation, Today, Now };

struct KvosayArgs {
    LanguageSettings language;
    SayKind kind = SayKind::Number;
    std::string value;
    std::string flags;                          // --flags: M, F, N, 0
    std::string dateFormat = "Day,MonthName,Year";
    int audioFormat = 0;                        // --audio-format, for file sizes
    std::optional<LocalTime> now;               // --now pins the clock
    bool words = false;
    bool help = false;
    std::string error;                          // not empty: the arguments are unusable
};

KvosayArgs ParseKvosayArgs(int argc, const char* const* argv);

// The --help text.
std::string KvosayUsage();

// Prints the clips to `out`, one "file<TAB>clip" line each (with the role
// word as a third field under --words). A value the rules refuse prints
// "error N: <log text>" to `err`. Returns the exit status: 0 said, 1 refused.
int RunKvosay(const KvosayArgs& args, const Clock& systemClock, std::ostream& out, std::ostream& err);

}  // namespace kvo
