#include "LogKinds.h"

namespace kvo {
namespace {

constexpr LogArgType A_0 = LogArgType::None;
constexpr LogArgType A_N = LogArgType::Number;
constexpr LogArgType A_S = LogArgType::String;

constexpr LogKindInfo kKinds[] = {
#define LOG_KIND(k, name, cat, timed, a0, a1, a2, a3, help, fmt) \
    {cat, timed != 0, {a0, a1, a2, a3}, help, fmt},
#include "LogKindTable.inc"
#undef LOG_KIND
};
static_assert(std::size(kKinds) == kLogKindCount);

// Rows out of order would silently shift every later kind.
constexpr bool RowsInOrder() {
    int expected = 0;
#define LOG_KIND(k, name, cat, timed, a0, a1, a2, a3, help, fmt) \
    if (k != expected++) return false;
#include "LogKindTable.inc"
#undef LOG_KIND
    return true;
}
static_assert(RowsInOrder());

constexpr const char* kResultCodes[] = {
    "RC_OK", "RC_ERROR", "RC_NOSYSTEM", "RC_BADCHANNEL", "RC_BADPARAMETER", "RC_OSERROR",
    "RC_COLLISION", "RC_HARDWARE", "RC_UNSUPPORTED", "RC_MDTMF", "RC_MAXDT", "RC_MAXBYTES",
    "RC_IDTIME", "RC_TIME", "RC_SIL", "RC_NONSILENCE", "RC_LCTERM", "RC_RINGS", "RC_STOPPED",
    "RC_OVERFLOW", "RC_UNDERFLOW", "RC_BADGROUP", "RC_MAXGROUPS", "RC_LOCALON", "RC_LOCALOFF",
    "RC_HOOKFLASH", "RC_LOCALBUSY", "RC_NODIALTONE", "RC_FBUSY", "RC_BUSY", "RC_NOAN",
    "RC_NORNG", "RC_CONNECTED", "RC_INTERCEPT", "RC_UNKNOWN",
    "", "", "", "", "", "",
};
static_assert(std::size(kResultCodes) == 41);

}  // namespace

const std::array<LogCategoryKey, kSwitchableCategories> kLogCategoryKeys = {{
    {"Events", "Voice driver events", false},
    {"Functions", "Voice driver functions", false},
    {"Errors", "Errors", true},
    {"Invalids", "Invalid digits, timeouts", true},
    {"Msgs", "Info messages", true},
    {"CallFlow", "Call flow", true},
    {"ControlStates", "Control internal states", true},
    {"Calls", "Calls", true},
}};

const LogKindInfo* FindLogKind(int kind) {
    if (kind < 0 || kind >= kLogKindCount) return nullptr;
    return &kKinds[kind];
}

int LogArgCount(const LogKindInfo& info) {
    int n = 0;
    while (n < kLogArgSlots && info.args[n] != LogArgType::None) ++n;
    return n;
}

const char* ResultCodeName(std::int32_t code) {
    if (code < 0 || code >= static_cast<std::int32_t>(std::size(kResultCodes))) return nullptr;
    return kResultCodes[code];
}

}  // namespace kvo
