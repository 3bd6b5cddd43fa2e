// Log kinds and categories of the channel log: what each kind of record
// carries, where it is filed and how it reads. Portable (no windows.h).
#pragma once
#include <array>
#include <cstdint>
#include <string_view>

namespace kvo {

enum LogKind : int {
#define LOG_KIND(k, name, cat, timed, a0, a1, a2, a3, help, fmt) name = k,
#include "LogKindTable.inc"
#undef LOG_KIND
};

constexpr int kLogKindCount = 195;
constexpr int kLogArgSlots = 4;
// String table id of a kind's message format.
constexpr int kLogMessageBase = 5000;

enum class LogArgType : std::uint8_t { None = 0, Number = 1, String = 2 };

// Categories: 0-7 can be switched off per destination, 8-13 give the tree
// its structure and are always on.
enum LogCategory : int {
    LC_EVENTS = 0,
    LC_FUNCTIONS = 1,
    LC_ERRORS = 2,
    LC_INVALIDS = 3,
    LC_MSGS = 4,
    LC_CALL_FLOW = 5,
    LC_CONTROL_STATES = 6,
    LC_CALLS = 7,
    LC_CONTROL_EXIT = 8,
    LC_CONTROL_EXIT_ERROR = 9,
    LC_CALL_START = 10,
    LC_CALL_END = 11,
    LC_CALL_END_ERROR = 12,
    LC_CONTROL_START = 13,
};
constexpr int kLogCategoryCount = 14;
constexpr int kSwitchableCategories = 8;

struct LogKindInfo {
    int category;
    bool timed;  // the record carries the local time
    std::array<LogArgType, kLogArgSlots> args;
    int helpTopic;  // 0: none
    const char* format;  // printf format over the arguments
};

// The row of `kind`, or nullptr for a number outside the table (records read
// from a damaged file can carry anything).
const LogKindInfo* FindLogKind(int kind);

// Number of arguments the kind takes (up to the first None).
int LogArgCount(const LogKindInfo& info);

// Settings key and filter-dialog label of a switchable category.
struct LogCategoryKey {
    const char* key;
    const char* label;
    bool defaultOn;
};
extern const std::array<LogCategoryKey, kSwitchableCategories> kLogCategoryKeys;

// The driver result-code name shown by a voice event record; empty for the
// unnamed codes 35-40, nullptr above 40 (and below 0).
const char* ResultCodeName(std::int32_t code);

}  // namespace kvo
