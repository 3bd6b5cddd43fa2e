// Scenario text: one statement per line; a line starting with '#' is a
// comment and ';' starts a trailing one ('#' is a key). Statements
// after "line N" belong to that line; "keys" and "hangup" belong to the
// call or dial rule above them.
#include "Scenario.h"

#include <algorithm>
#include <charconv>
#include <sstream>

namespace voicecard {
namespace {

// Well above the 48 the runtime uses, so tests can show its clamp.
constexpr int64_t kMaxScenarioChannels = 256;
constexpr int64_t kMaxSpeed = 1000000;

bool ToInt(const std::string& s, int64_t& out) {
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && p == s.data() + s.size();
}

bool ResultByName(const std::string& name, int& out) {
    static const std::pair<const char*, int> names[] = {
        {"nodialtone", 27}, {"fastbusy", 28}, {"busy", 29}, {"noanswer", 30},
        {"noring", 31},     {"connected", 32}, {"intercept", 33}, {"hangup", 16},
        {"failed", 18},
    };
    for (auto& [n, v] : names)
        if (name == n) { out = v; return true; }
    int64_t v = 0;
    if (!ToInt(name, v)) return false;
    out = static_cast<int>(v);
    return true;
}

bool IsKey(char c) {
    return (c >= '0' && c <= '9') || c == '*' || c == '#' || (c >= 'A' && c <= 'D');
}

}  // namespace

std::optional<Scenario> ParseScenario(std::string_view text, ParseError& error) {
    Scenario sc;
    LineScript* line = nullptr;
    CallerScript* caller = nullptr;
    std::istringstream in{std::string(text)};
    std::string raw;
    int lineNo = 0;
    auto fail = [&](const std::string& msg) {
        error = {lineNo, msg};
        return std::optional<Scenario>{};
    };
    while (std::getline(in, raw)) {
        ++lineNo;
        if (auto semi = raw.find(';'); semi != std::string::npos) raw.erase(semi);
        if (auto first = raw.find_first_not_of(" \t\r"); first == std::string::npos || raw[first] == '#')
            continue;
        std::istringstream words(raw);
        std::vector<std::string> w;
        for (std::string s; words >> s;) w.push_back(s);
        if (w.empty()) continue;
        const std::string& verb = w[0];
        int64_t n = 0, m = 0;

        if (verb == "channels" || verb == "speed") {
            if (w.size() != 2 || !ToInt(w[1], n)) return fail(verb + " needs a number");
            if (verb == "speed" && (n < 1 || n > kMaxSpeed))
                return fail("speed must be 1 to " + std::to_string(kMaxSpeed));
            // Each line is a live object: a mistyped count must not exhaust memory.
            if (verb == "channels" && n > kMaxScenarioChannels)
                return fail("channels must be at most " + std::to_string(kMaxScenarioChannels));
            (verb == "channels" ? sc.channels : sc.speed) = static_cast<int>(n);
        } else if (verb == "line") {
            if (w.size() != 2 || !ToInt(w[1], n) || n < 0) return fail("line needs a channel number");
            line = &sc.lines[static_cast<int>(n)];
            caller = nullptr;
        } else if (!line) {
            return fail("'" + verb + "' outside a line");
        } else if (verb == "call") {
            IncomingCall call;
            for (size_t i = 1; i < w.size(); ++i) {
                if (w[i] == "connected") call.connected = true;
                else if (w[i] == "ring" && i + 1 < w.size() && ToInt(w[i + 1], n) && n >= 0) call.ringAfter = n, ++i;
                else return fail("call: unexpected '" + w[i] + "'");
            }
            line->calls.push_back(call);
            caller = &line->calls.back().caller;
        } else if (verb == "dial") {
            DialRule rule;
            if (w.size() < 3 || !ResultByName(w[2], rule.result)) return fail("dial needs a number and a result");
            rule.number = w[1];
            if (w.size() == 5 && w[3] == "after" && ToInt(w[4], n) && n >= 0) rule.after = n;
            else if (w.size() != 3) return fail("dial: expected 'after <ms>'");
            line->dials.push_back(rule);
            caller = &line->dials.back().caller;
        } else if (verb == "keys") {
            if (!caller) return fail("keys outside a call or dial rule");
            if (w.size() < 3 || w.size() > 4 || !ToInt(w[1], n) || n < 0) return fail("keys needs a time and keys");
            if (w.size() == 4 && (!ToInt(w[3], m) || m < 0)) return fail("keys: bad gap");
            if (w.size() == 3) m = 100;
            for (size_t i = 0; i < w[2].size(); ++i) {
                if (!IsKey(w[2][i])) return fail(std::string("keys: not a key '") + w[2][i] + "'");
                caller->keys.push_back({n + static_cast<int64_t>(i) * m, w[2][i]});
            }
            std::stable_sort(caller->keys.begin(), caller->keys.end(),
                             [](const KeyPress& a, const KeyPress& b) { return a.at < b.at; });
        } else if (verb == "hangup") {
            if (!caller) return fail("hangup outside a call or dial rule");
            if (w.size() != 2 || !ToInt(w[1], n) || n < 0) return fail("hangup needs a time");
            caller->hangupAt = n;
        } else if (verb == "nodialtone") {
            line->dialTone = false;
        } else if (verb == "fail") {
            int result = 0;
            if (w.size() != 3 || !ResultByName(w[2], result)) return fail("fail needs an export and a result");
            line->failures[w[1]].push_back(result);
        } else if (verb == "pause") {
            if (w.size() != 3 || !ToInt(w[2], n) || n < 0) return fail("pause needs an export and a time");
            line->pauses[w[1]].push_back(n);
        } else {
            return fail("unknown statement '" + verb + "'");
        }
    }
    return sc;
}

const DialRule* FindDialRule(const LineScript& line, std::string_view number) {
    const DialRule* any = nullptr;
    for (const auto& r : line.dials) {
        if (r.number == number) return &r;
        if (r.number == "*" && !any) any = &r;
    }
    return any;
}

}  // namespace voicecard
