// Which recording each clip number of the system prompt files plays. Every
// language directory holds its own "kavoro.vap" (and, for languages whose
// 21-99 are single words, "kvo_num.vap" and "kvo_ord.vap") with the same
// numbering, so the rules below only ever name clip numbers.
//
// "kavoro.vap":
//    0-20   zero to twenty (0 also before minutes below 10)
//   20-27   the tens twenty to ninety (18 + tens digit)
//   28, 29  hundred, thousand
//   30-41   January to December (29 + month)
//   42-44   tomorrow, yesterday, today
//   45, 46  AM, PM
//   47, 48  star, pound (the keys * and #)
//   50, 51  minus, and
//   52      more than nine
//   53, 54  cent, cents
//   55, 56  seconds, minutes
//   58, 59  the characters "," and "!"
//   61-63   morning, afternoon and evening salutations
//   64      point
//   66      million
//   67-92   letters A to Z
//   93-113  ordinals zeroth to twentieth (93 + n)
//  113-120  ordinal tens twentieth to ninetieth (111 + tens digit)
//  121-123  hundredth, thousandth, millionth
//  124      pause (a space)
//  125-127  one hundred, one thousand, one million as single words (rule 16)
//  128-135  and-one cardinals for tens 2 to 9 (126 + tens digit, rule 8)
//  136, 137 "one" feminine, neuter (clip 1 is masculine; rule 4)
//  138, 139 "first" feminine, neuter (clip 94 is masculine; rule 4)
//  140-146  Sunday to Saturday
//  147      "no" (said instead of zero when asked)
//  148, 149 dollar, dollars
//  150, 151 billion, one billion (rule 16)
//  152-159  and-first ordinals for tens 2 to 9 (150 + tens digit, rule 8)
//
// The and-first ordinals once shared 114-121 with the ordinal tens and
// "hundredth" (21st and 30th, 91st and 100th sounded alike); they have their
// own range at the end, where no other role was.
//
// "kvo_num.vap" clip n - 20 is the cardinal n and "kvo_ord.vap" clip n - 20
// the ordinal n, for 21 <= n <= 99 (rule 2).
#pragma once
#include <cstdint>
#include <vector>

namespace kvo {

enum class VoiceFile : std::uint8_t { Kavoro, Numbers, Ordinals };
const char* VoiceFileName(VoiceFile file);

struct Clip {
    VoiceFile file = VoiceFile::Kavoro;
    int index = 0;
    bool operator==(const Clip&) const = default;
};
using ClipList = std::vector<Clip>;

namespace clip {
constexpr int kTensBase = 18;
constexpr int kHundred = 28;
constexpr int kThousand = 29;
constexpr int kMonthBase = 29;
constexpr int kTomorrow = 42;
constexpr int kYesterday = 43;
constexpr int kToday = 44;
constexpr int kAm = 45;
constexpr int kPm = 46;
constexpr int kStar = 47;
constexpr int kPound = 48;
constexpr int kMinus = 50;
constexpr int kAnd = 51;
constexpr int kMoreThanNine = 52;
constexpr int kCent = 53;
constexpr int kCents = 54;
constexpr int kSeconds = 55;
constexpr int kMinutes = 56;
constexpr int kComma = 58;
constexpr int kExclamation = 59;
constexpr int kMorning = 61;
constexpr int kAfternoon = 62;
constexpr int kEvening = 63;
constexpr int kPoint = 64;
constexpr int kMillion = 66;
constexpr int kLetterA = 67;
constexpr int kOrdinalBase = 93;
constexpr int kOrdinalTensBase = 111;
constexpr int kHundredth = 121;
constexpr int kThousandth = 122;
constexpr int kMillionth = 123;
constexpr int kPause = 124;
constexpr int kOneHundred = 125;
constexpr int kOneThousand = 126;
constexpr int kOneMillion = 127;
constexpr int kAndOneBase = 126;
constexpr int kOneFeminine = 136;
constexpr int kOneNeuter = 137;
constexpr int kFirst = 94;
constexpr int kFirstFeminine = 138;
constexpr int kFirstNeuter = 139;
constexpr int kSunday = 140;
constexpr int kNo = 147;
constexpr int kDollar = 148;
constexpr int kDollars = 149;
constexpr int kBillion = 150;
constexpr int kOneBillion = 151;
constexpr int kAndFirstBase = 150;
constexpr int kLastKavoro = 159;
}  // namespace clip

}  // namespace kvo
