// The phrase and greeting checks on prompt files and wave files held in
// memory, with control names answered by a table.
#include <gtest/gtest.h>

#include <map>

#include "PhraseCheck.h"
#include "VapTestSupport.h"

namespace {

using kvo::PhraseData;
using Found = kvo::PhraseCheckContext::Found;

class Context : public kvo::PhraseCheckContext {
public:
    std::map<std::string, vaptest::Bytes> files;
    std::map<std::string, Found> controls;
    bool hasThis = false;

    Found LookUpControl(std::string_view name) override {
        const auto it = controls.find(std::string(name));
        return it == controls.end() ? Found::No : it->second;
    }
    bool HasThis() const override { return hasThis; }
    std::unique_ptr<kvo::ByteReader> OpenVoiceFile(const std::string& name) override {
        const auto it = files.find(name);
        return it == files.end() ? nullptr : std::make_unique<kvo::MemoryFile>(it->second);
    }
};

// A wave file whose header names format tag `tag`.
vaptest::Bytes WaveOfTag(int tag) {
    vaptest::Bytes wave = vaptest::WaveWith(vaptest::AudioFor(1, 100));
    wave[20] = std::uint8_t(tag);
    wave[21] = std::uint8_t(tag >> 8);
    return wave;
}

Context Files() {
    Context c;
    c.files["menu.vap"] = vaptest::FileByHand(
        200, {{"intro", vaptest::AudioFor(1, 400)}, {"tiny", vaptest::AudioFor(2, 9)}, {"", vaptest::AudioFor(3, 50)}});
    c.files["ulaw.wav"] = WaveOfTag(7);
    c.files["pcm.wav"] = WaveOfTag(1);
    c.files["pcm.vox"] = WaveOfTag(1);
    c.controls["Menu"] = Found::Yes;
    c.controls["Twice"] = Found::Ambiguous;
    return c;
}

PhraseData Wave(const wchar_t* file) { return {file, L"", -1, 1, 0}; }
PhraseData Sys(short kind, const wchar_t* d1, const wchar_t* d2 = L"") { return {d1, d2, kind, 2, 0}; }
PhraseData Clip(const wchar_t* file, short index, const wchar_t* name = L"") { return {file, name, index, 4, 0}; }

TEST(PhraseCheck, EachKindReportsItsCodeText) {
    struct Case {
        const char* note;
        PhraseData phrase;
        long format;
        bool accepted;
        int code;  // -1: nothing reported
        std::string text;
    };
    const Case cases[] = {
        {"wave file there", Wave(L"ulaw.wav"), 0, true, -1, ""},
        {"wave file missing is a warning", Wave(L"gone.wav"), -1, true, 3, "gone.wav"},
        {"wave file by reference", Wave(L"%Menu.Digits%.wav"), 0, true, -1, ""},
        {"reference to no control", Wave(L"%Nobody%.wav"), 0, false, 0, "%Nobody%.wav"},
        {"ambiguous reference", Wave(L"%Twice%.wav"), 0, false, 6, "%Twice%.wav"},
        {"this without a control", Wave(L"%this%.wav"), 0, false, 0, "%this%.wav"},
        {"open percent sign", Wave(L"%Menu.wav"), 0, false, 0, "%Menu.wav"},
        {"linear wave in a u-law greeting", Wave(L"pcm.wav"), 0, false, 7, "pcm.wav Linear PCM"},
        {"not a .wav: only a warning", Wave(L"pcm.vox"), 1, true, 7, "pcm.vox Linear PCM"},
        {"u-law wave in an ADPCM greeting", Wave(L"ulaw.wav"), 1, false, 7, "ulaw.wav U_LAW"},
        {"clip by index", Clip(L"menu.vap", 0), -1, true, -1, ""},
        {"clip beyond the count", Clip(L"menu.vap", 3), -1, false, 1, "menu.vap"},
        {"clip of nine bytes", Clip(L"menu.vap", 1), -1, false, 2, "menu.vap"},
        {"clip by name", Clip(L"menu.vap", -1, L"intro"), -1, true, -1, ""},
        {"unknown name", Clip(L"menu.vap", -1, L"outro"), -1, false, 1, "outro"},
        {"prompt file missing", Clip(L"gone.vap", 0), -1, false, 3, "gone.vap"},
        {"number with data", Sys(5, L"42"), -1, true, -1, ""},
        {"number without data", Sys(5, L""), -1, false, 5, ""},
        {"date without a format", Sys(13, L"12/25/96"), -1, false, 5, ""},
        {"date format by reference to no control", Sys(13, L"12/25/96", L"%Nobody%"), -1, false, 0, "%Nobody%"},
        {"clip index that is no number", Sys(17, L"menu.vap", L"1a"), -1, false, 1, "1a"},
        {"clip by index through a system phrase", Sys(17, L"menu.vap", L"0"), -1, true, -1, ""},
        {"clip index with leading zeros", Sys(17, L"menu.vap", L"000000"), -1, true, -1, ""},
        {"prompt file by reference", Sys(16, L"%Menu%.vap", L"intro"), -1, true, -1, ""},
        {"clip name by reference", Sys(16, L"menu.vap", L"%Menu.Digits%"), -1, true, -1, ""},
        {"prompt file by reference, clip by index", Sys(17, L"%Menu%.vap", L"3"), -1, true, -1, ""},
        {"prompt file by reference to no control", Sys(16, L"%Nobody%.vap", L"intro"), -1, false, 0, "%Nobody%.vap"},
        {"clip index past any entry", Sys(17, L"menu.vap", L"99999999999999999999"), -1, false, 1, "menu.vap"},
        {"clip by name through a system phrase", Sys(16, L"menu.vap", L"tiny"), -1, false, 2, "menu.vap"},
        {"speech without text to speech", Sys(20, L"hello"), -1, false, 8, ""},
        {"salutation needs no data", Sys(11, L""), -1, true, -1, ""},
        {"no phrase", PhraseData{L"x", L"", 0, 0, 0}, -1, false, 5, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        Context context = Files();
        PhraseData p = c.phrase;
        kvo::PhraseCheckResult r;
        EXPECT_EQ(kvo::CheckPhrase(p, c.format, context, r), c.accepted);
        EXPECT_EQ(r.accepted, c.accepted);
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(r.text, c.text);
    }
}

// A platform that names files in UTF-8.
class Utf8Context : public Context {
public:
    std::string Narrow(const std::wstring& text) const override {
        std::string out;
        for (wchar_t ch : text) {
            if (ch < 0x80) {
                out += char(ch);
            } else {  // the test's names stay below U+0800
                out += char(0xC0 | ch >> 6);
                out += char(0x80 | (ch & 0x3F));
            }
        }
        return out;
    }
    std::wstring Widen(const std::string& text) const override {
        std::wstring out;
        for (size_t i = 0; i < text.size(); ++i) {
            const unsigned char ch = static_cast<unsigned char>(text[i]);
            if (ch < 0x80 || i + 1 == text.size()) out += wchar_t(ch);
            else out += wchar_t((ch & 0x1F) << 6 | (static_cast<unsigned char>(text[++i]) & 0x3F));
        }
        return out;
    }
};

TEST(PhraseCheck, FilesAreNamedAsThePlatformNamesThem) {
    Utf8Context context;
    context.files = Files().files;
    context.files["fermé.vap"] = context.files["menu.vap"];
    context.files["réponse.wav"] = WaveOfTag(1);
    kvo::PhraseCheckResult r;
    PhraseData clip = Clip(L"ferm\u00e9.vap", -1, L"intro");
    EXPECT_TRUE(kvo::CheckPhrase(clip, -1, context, r));
    EXPECT_EQ(r.code, -1) << r.text;
    PhraseData wave = Wave(L"r\u00e9ponse.wav");
    EXPECT_FALSE(kvo::CheckPhrase(wave, 0, context, r));
    EXPECT_EQ(r.code, 7);
    EXPECT_EQ(wave.data, L"r\u00e9ponse.wav Linear PCM");
}

TEST(PhraseCheck, AClipFoundByNameKeepsItsIndexAndAFormatMismatchIsShown) {
    Context context = Files();
    PhraseData clip = Clip(L"menu.vap", -1, L"intro");
    kvo::PhraseCheckResult r;
    ASSERT_TRUE(kvo::CheckPhrase(clip, -1, context, r));
    EXPECT_EQ(clip.type, 0);
    PhraseData wave = Wave(L"pcm.wav");
    kvo::CheckPhrase(wave, 0, context, r);
    EXPECT_EQ(wave.data, L"pcm.wav Linear PCM");
}

TEST(PhraseCheck, AGreetingStopsAtItsFirstErrorAndReportsIt) {
    Context context = Files();
    struct Case {
        const char* note;
        std::vector<PhraseData> phrases;
        bool present;
        bool ok;
        std::optional<std::string> report;
        int level;
    };
    const Case cases[] = {
        {"missing greeting", {}, false, false, "no Entry greeting", 2},
        {"empty greeting", {}, true, true, "no phrases in Entry greeting", 1},
        {"all well", {Wave(L"ulaw.wav"), Sys(5, L"1")}, true, true, std::nullopt, 0},
        {"a warning, then all well", {Wave(L"gone.wav"), Sys(5, L"1")}, true, true,
         "phrase error in Entry greeting phrase could not open file gone.wav", 1},
        {"an error after a warning", {Wave(L"gone.wav"), Clip(L"menu.vap", 7), Sys(5, L"")}, true, false,
         "phrase error in Entry greeting phrase 1 phrase not found menu.vap", 2},
        {"an error without a datum", {Sys(20, L"hi")}, true, false,
         "phrase error in Entry greeting phrase not supported in this configuration - contact Zentrovo for availability",
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        kvo::GreetingData g{L"Entry", true, 0, c.phrases};
        kvo::PhraseCheckResult r;
        const bool ok = c.present ? kvo::CheckGreeting(g, g.fileformat, context, r) : false;
        if (c.present) {
            EXPECT_EQ(ok, c.ok);
        }
        const auto line = kvo::GreetingCheckReport(c.present ? &g : nullptr, "Entry", ok, r);
        ASSERT_EQ(line.has_value(), c.report.has_value());
        if (!line) continue;
        EXPECT_EQ(line->text, *c.report);
        EXPECT_EQ(line->level, c.level);
    }
}

}  // namespace
