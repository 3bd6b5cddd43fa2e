#include "PhraseCheck.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>

#include "PromptFile.h"
#include "References.h"
#include "SystemPhrase.h"

namespace kvo {
namespace {

constexpr short kWavePhrase = 1, kSysPhrase = 2, kPromptPhrase = 4;
constexpr int kVapPhrase = 16, kVapPhraseIndex = 17, kSayText = 20;
constexpr std::uint32_t kShortestClip = 10;
constexpr long kNoEntry = 0x7FFFFFFF;
constexpr std::array<int, 4> kFormatTags = {7, 32, 7, 32};

bool Report(PhraseCheckResult& r, int code, std::string text, bool accepted) {
    r.code = code;
    r.text = std::move(text);
    r.accepted = accepted;
    return accepted;
}

// -1 when every reference resolves, else the check code.
int ReferenceFault(const std::string& text, PhraseCheckContext& c) {
    const auto pieces = SplitReferences(text);
    if (!pieces) return kCheckControlNotFound;
    for (const TextPiece& piece : *pieces) {
        if (!piece.reference) continue;
        const ReferenceToken token = SplitToken(piece.text);
        if (IsChannelReference(token.control)) continue;
        if (IsThisReference(token.control)) {
            if (!c.HasThis()) return kCheckControlNotFound;
            continue;
        }
        switch (c.LookUpControl(token.control)) {
        case PhraseCheckContext::Found::No: return kCheckControlNotFound;
        case PhraseCheckContext::Found::Ambiguous: return kCheckAmbiguousName;
        case PhraseCheckContext::Found::Yes: break;
        }
    }
    return -1;
}

std::string FormatName(int tag) {
    switch (tag) {
    case 1: return " Linear PCM";
    case 7: return " U_LAW";
    case 32: return " OKI ADPCM";
    default: {
        char buf[32];
        std::snprintf(buf, sizeof buf, " Unknown format %x", unsigned(tag));
        return buf;
    }
    }
}

bool HasWavExtension(const std::string& name) {
    if (name.size() < 4) return false;
    std::string ext = name.substr(name.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char ch) { return char(std::toupper(ch)); });
    return ext == ".WAV";
}

bool CheckWave(PhraseData& p, long format, PhraseCheckContext& c, PhraseCheckResult& r) {
    const std::string name = c.Narrow(p.file);
    if (name.empty()) return Report(r, kCheckNoData, name, false);
    if (HasReference(name)) {
        const int fault = ReferenceFault(name, c);
        return fault < 0 ? true : Report(r, fault, name, false);
    }
    const std::unique_ptr<ByteReader> file = c.OpenVoiceFile(name);
    // The file may be put in place before the system runs.
    if (!file) return Report(r, kCheckFileOpen, name, true);
    if (format < 0 || format >= long(kFormatTags.size())) return true;
    std::uint8_t tag[2] = {};
    const int have = file->ReadAt(20, tag, 2) == 2 ? tag[0] | tag[1] << 8 : -1;
    if (have == kFormatTags[size_t(format)]) return true;
    std::string text = name + FormatName(have < 0 ? 0 : have);
    p.data = c.Widen(text);
    return Report(r, kCheckFileFormat, text, !HasWavExtension(name));
}

// Entry `at` of the prompt file, or the one named `clipName` when `at` is -1;
// the index found by name goes to `found`.
bool CheckPromptEntry(const std::string& fileName, long at, const std::string& clipName, PhraseCheckContext& c,
                      PhraseCheckResult& r, short* found = nullptr) {
    std::unique_ptr<PromptFile> file = PromptFile::Open(c.OpenVoiceFile(fileName));
    if (!file) return Report(r, kCheckFileOpen, fileName, false);
    if (at == -1) {
        at = file->FindClip(clipName, c.ScriptSize());
        if (at < 0) return Report(r, kCheckPhraseNotFound, clipName, false);
        if (found) *found = short(at);
    }
    const std::optional<ClipRange> range = at < 0 ? std::nullopt : file->Range(std::uint32_t(at));
    if (!range) return Report(r, kCheckPhraseNotFound, fileName, false);
    if (range->length < kShortestClip) return Report(r, kCheckPhraseSize, fileName, false);
    return true;
}

bool CheckSystem(PhraseData& p, PhraseCheckContext& c, PhraseCheckResult& r) {
    const int kind = p.type;
    if (kind == kSayText && !c.SpeechEnabled()) return Report(r, kCheckNotSupported, "", false);
    const int uses = SystemPhraseDataCount(kind);
    const std::string data1 = c.Narrow(p.file), data2 = c.Narrow(p.data);
    if (uses >= 1 && data1.empty()) return Report(r, kCheckNoData, data1, false);
    for (const std::string* d : {&data1, &data2}) {
        if (d == &data2 && uses < 2) break;
        if (const int fault = ReferenceFault(*d, c); fault >= 0) return Report(r, fault, *d, false);
    }
    if (uses == 2 && data2.empty()) return Report(r, kCheckNoData, data2, false);
    if (kind == kVapPhraseIndex) {
        if (data2.empty() || data2.find_first_not_of("0123456789") != std::string::npos)
            return Report(r, kCheckPhraseNotFound, data2, false);
        // Leading zeros are allowed; a number past any entry saturates and is not found.
        long index = 0;
        for (char ch : data2) index = std::min(index * 10 + (ch - '0'), long(kNoEntry));
        // A file named by references is only known during the call, as for a wave file.
        return HasReference(data1) || CheckPromptEntry(data1, index, "", c, r);
    }
    if (kind == kVapPhrase) return HasReference(data1) || HasReference(data2) || CheckPromptEntry(data1, -1, data2, c, r);
    return true;
}

}  // namespace

std::string PhraseCheckContext::Narrow(const std::wstring& text) const {
    std::string out;
    for (wchar_t ch : text) out += ch < 0x80 ? char(ch) : '?';
    return out;
}

std::wstring PhraseCheckContext::Widen(const std::string& text) const {
    std::wstring out;
    for (char ch : text) out += static_cast<unsigned char>(ch) < 0x80 ? wchar_t(ch) : L'?';
    return out;
}

const char* PhraseCheckText(int code) {
    static constexpr const char* kTexts[] = {
        "control name not found",
        "phrase not found",
        "phrase size error",
        "could not open file",
        "file size error",
        "no data",
        "ambiguous control name",
        "file format does not match greeting format",
        "not supported in this configuration - contact Zentrovo for availability",
    };
    return code >= 0 && code < int(std::size(kTexts)) ? kTexts[code] : "";
}

bool CheckPhrase(PhraseData& phrase, long greetingFormat, PhraseCheckContext& context, PhraseCheckResult& result) {
    result = {};
    switch (phrase.phrsType) {
    case kWavePhrase: return CheckWave(phrase, greetingFormat, context, result);
    case kSysPhrase: return CheckSystem(phrase, context, result);
    case kPromptPhrase:
        return CheckPromptEntry(context.Narrow(phrase.file), phrase.type, context.Narrow(phrase.data), context, result,
                                &phrase.type);
    default: return Report(result, kCheckNoData, "", false);
    }
}

bool CheckGreeting(GreetingData& greeting, long format, PhraseCheckContext& context, PhraseCheckResult& result) {
    result = {};
    for (size_t i = 0; i < greeting.phrases.size(); ++i) {
        PhraseCheckResult one;
        const bool ok = CheckPhrase(greeting.phrases[i], format, context, one);
        one.phrase = int(i);
        // The first warning stays on record unless an error follows.
        if (!ok || (one.code >= 0 && result.code < 0)) result = one;
        if (!ok) return false;
    }
    return true;
}

std::optional<CheckReportLine> GreetingCheckReport(const GreetingData* greeting, const std::string& role, bool ok,
                                                   const PhraseCheckResult& r) {
    if (!greeting) return CheckReportLine{2, "no " + role + " greeting"};
    if (greeting->phrases.empty()) return CheckReportLine{1, "no phrases in " + role + " greeting"};
    if (r.code < 0) return std::nullopt;
    const std::string code = PhraseCheckText(r.code);
    const bool numbered = r.code == kCheckPhraseNotFound || r.code == kCheckPhraseSize;
    std::string phrase = "phrase ";
    if (numbered) phrase += std::to_string(r.phrase) + " ";
    phrase += code;
    if (!r.text.empty()) phrase += " " + r.text;
    return CheckReportLine{ok ? 1 : 2, "phrase error in " + role + " greeting " + phrase};
}

}  // namespace kvo
