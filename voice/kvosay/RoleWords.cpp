#include "RoleWords.h"


namespace kvo {
namespace {

const char* const kSmall[21] = {"zero",    "one",     "two",       "three",    "four",     "five",    "six",
                                "seven",   "eight",   "nine",      "ten",      "eleven",   "twelve",  "thirteen",
                                "fourteen", "fifteen", "sixteen",  "seventeen", "eighteen", "nineteen", "twenty"};
const char* const kTens[10] = {"", "", "twenty", "thirty", "forty", "fifty", "sixty", "seventy", "eighty", "ninety"};
const char* const kSmallOrdinal[21] = {
    "zeroth",     "first",      "second",      "third",      "fourth",       "fifth",     "sixth",
    "seventh",    "eighth",     "ninth",       "tenth",      "eleventh",     "twelfth",   "thirteenth",
    "fourteenth", "fifteenth",  "sixteenth",   "seventeenth", "eighteenth",  "nineteenth", "twentieth"};
const char* const kTensOrdinal[10] = {"",         "",          "twentieth", "thirtieth", "fortieth",
                                      "fiftieth", "sixtieth",  "seventieth", "eightieth", "ninetieth"};
const char* const kMonths[12] = {"January", "February", "March",     "April",   "May",      "June",
                                 "July",    "August",   "September", "October", "November", "December"};
const char* const kDays[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

// Single words of kavoro.vap outside the counted ranges.
struct Named {
    int index;
    const char* word;
};
constexpr Named kNamed[] = {
    {clip::kHundred, "hundred"},       {clip::kThousand, "thousand"},     {clip::kTomorrow, "tomorrow"},
    {clip::kYesterday, "yesterday"},   {clip::kToday, "today"},           {clip::kAm, "AM"},
    {clip::kPm, "PM"},                 {clip::kStar, "star"},             {clip::kPound, "pound"},
    {clip::kMinus, "minus"},           {clip::kAnd, "and"},               {clip::kMoreThanNine, "more than nine"},
    {clip::kCent, "cent"},             {clip::kCents, "cents"},           {clip::kSeconds, "seconds"},
    {clip::kMinutes, "minutes"},       {clip::kComma, "comma"},           {clip::kExclamation, "exclamation mark"},
    {clip::kMorning, "good morning"},  {clip::kAfternoon, "good afternoon"}, {clip::kEvening, "good evening"},
    {clip::kPoint, "point"},           {clip::kMillion, "million"},       {clip::kHundredth, "hundredth"},
    {clip::kThousandth, "thousandth"}, {clip::kMillionth, "millionth"},   {clip::kPause, "(pause)"},
    {clip::kOneHundred, "one hundred"}, {clip::kOneThousand, "one thousand"}, {clip::kOneMillion, "one million"},
    {clip::kOneFeminine, "one (feminine)"}, {clip::kOneNeuter, "one (neuter)"},
    {clip::kFirstFeminine, "first (feminine)"}, {clip::kFirstNeuter, "first (neuter)"},
    {clip::kNo, "no"},                 {clip::kDollar, "dollar"},         {clip::kDollars, "dollars"},
    {clip::kBillion, "billion"},       {clip::kOneBillion, "one billion"},
};

std::string Compound(int n, bool ordinal) {  // 21-99
    const int t = n / 10, u = n % 10;
    if (!u) return ordinal ? kTensOrdinal[t] : kTens[t];
    return std::string(kTens[t]) + "-" + (ordinal ? kSmallOrdinal[u] : kSmall[u]);
}

std::string KavoroWord(int i) {
    if (i >= 0 && i <= 20) return kSmall[i];
    if (i >= clip::kTensBase + 3 && i <= clip::kTensBase + 9) return kTens[i - clip::kTensBase];
    if (i > clip::kMonthBase && i <= clip::kMonthBase + 12) return kMonths[i - clip::kMonthBase - 1];
    if (i >= clip::kLetterA && i < clip::kLetterA + 26) return std::string(1, static_cast<char>('A' + i - clip::kLetterA));
    if (i >= clip::kOrdinalBase && i <= clip::kOrdinalBase + 20) return kSmallOrdinal[i - clip::kOrdinalBase];
    if (i > clip::kOrdinalTensBase + 2 && i <= clip::kOrdinalTensBase + 9) return kTensOrdinal[i - clip::kOrdinalTensBase];
    if (i >= clip::kAndOneBase + 2 && i <= clip::kAndOneBase + 9)
        return std::string(kTens[i - clip::kAndOneBase]) + "-and-one";
    if (i >= clip::kAndFirstBase + 2 && i <= clip::kAndFirstBase + 9)
        return std::string(kTens[i - clip::kAndFirstBase]) + "-and-first";
    if (i >= clip::kSunday && i < clip::kSunday + 7) return kDays[i - clip::kSunday];
    for (const Named& n : kNamed)
        if (n.index == i) return n.word;
    return "?";
}

}  // namespace

std::string RoleWord(const Clip& c) {
    switch (c.file) {
    case VoiceFile::Numbers: return c.index >= 1 && c.index <= 79 ? Compound(c.index + 20, false) : "?";
    case VoiceFile::Ordinals: return c.index >= 1 && c.index <= 79 ? Compound(c.index + 20, true) : "?";
    case VoiceFile::Kavoro: break;
    }
    return KavoroWord(c.index);
}

}  // namespace kvo
