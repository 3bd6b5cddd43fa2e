// The Phrase object (see Phrase.h).
#include "Phrase.h"

#include <algorithm>
#include <array>
#include <vector>

#include "Graph.h"
#include "PhraseCheck.h"
#include "PromptFileSet.h"
#include "graph/AppSettings.h"
#include "fw/ole/Text.h"
#include "graph/RuntimeValues.h"
#include "kvo32.h"

namespace kvo {

namespace {
using fw::ole::Method;
using fw::ole::Property;

constexpr auto kPhraseDispatch = std::array{
    Property<&CPhrase::GetFilename, &CPhrase::SetFilename>(1),
    Property<&CPhrase::GetPhrasename, &CPhrase::SetPhrasename>(2),
    Property<&CPhrase::GetType, &CPhrase::SetType>(3),
    Property<&CPhrase::GetPhrsType, &CPhrase::SetPhrsType>(4),
    Property<&CPhrase::GetFormat, &CPhrase::SetFormat>(5),
    Method<&CPhrase::CreateWavePhrase>(6),
    Method<&CPhrase::CreateSysPhrase>(7),
    Method<&CPhrase::CreateNamedPhrase>(8),
    Method<&CPhrase::CreateIndexPhrase>(9),
    Method<&CPhrase::Copy>(10),
    Method<&CPhrase::CheckPhrase>(11),
};

constexpr short kWaveFile = 1, kSysPhrase = 2, kUserVapPhrase = 4;
constexpr unsigned kCheckErrorBase = 32500;

// A phrase checked on its own: names against the process's controls, files
// as the editor finds them (project voice folder, then the system's).
class DesignCheckContext : public PhraseCheckContext {
public:
    explicit DesignCheckContext(bool hasThis) : hasThis_(hasThis) {}
    // As a call resolves it: controls and Frames alike.
    Found LookUpControl(std::string_view name) override {
        const FoundOwner found = FindValueOwner(RuntimeValues(), name);
        if (!found.owner) return Found::No;
        return found.ambiguous ? Found::Ambiguous : Found::Yes;
    }
    bool HasThis() const override { return hasThis_; }
    std::unique_ptr<ByteReader> OpenVoiceFile(const std::string& name) override {
        const AppSettings app = CurrentAppSettings();
        StdioVoiceFileOpener opener;
        for (const std::string& path : VoiceCandidates(name, {app.projectVoiceDir, app.projectVoiceDir, app.systemVoiceDir})) {
            VoiceFileOpener::Result r = opener.Open(path);
            if (r.file) return std::move(r.file);
            if (!r.missing) break;
        }
        return nullptr;
    }
    std::size_t ScriptSize() const override { return std::size_t(std::max(0L, CurrentAppSettings().scriptSize)); }
    // Files are opened by their names in the system's code page, as a line opens them.
    std::string Narrow(const std::wstring& text) const override { return fw::ole::Narrow(text); }
    std::wstring Widen(const std::string& text) const override { return fw::ole::Widen(text); }

private:
    bool hasThis_;
};
}  // namespace

std::unique_ptr<PhraseCheckContext> MakeDesignCheckContext(bool hasThis) {
    return std::make_unique<DesignCheckContext>(hasThis);
}

std::optional<std::wstring> OptionalText(const std::optional<fw::ole::Variant>& arg) {
    if (!arg || arg->Type() == VT_NULL || arg->Type() == VT_EMPTY) return std::nullopt;
    return arg->Str();
}

fw::ole::Variant GetByName(IDispatch* object, const wchar_t* name, std::initializer_list<fw::ole::Variant> index) {
    fw::ole::Variant result;
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    if (!object || FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return result;
    std::vector<VARIANT> args;
    for (auto it = std::rbegin(index); it != std::rend(index); ++it) args.push_back(*it->Get());
    DISPPARAMS params{args.data(), nullptr, UINT(args.size()), 0};
    object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &params, result.Put(), nullptr, nullptr);
    return result;
}

CPhrase::CPhrase() : Automation(DIID_IPhrase, L"kvo.phrase") {}

std::span<const fw::ole::DispatchEntry> CPhrase::DispatchMap() const { return kPhraseDispatch; }

void CPhrase::CreateWavePhrase(std::optional<fw::ole::Variant> file) {
    data_.phrsType = kWaveFile;
    if (auto f = OptionalText(file)) {
        data_.file = *f;
        data_.data.clear();
        data_.type = -1;
        modified_ = true;
    }
}

void CPhrase::CreateSysPhrase(short kind, std::optional<fw::ole::Variant> data1, std::optional<fw::ole::Variant> data2) {
    data_.phrsType = kSysPhrase;
    data_.file = OptionalText(data1).value_or(L"");
    data_.data = OptionalText(data2).value_or(L"");
    data_.type = kind;
    modified_ = true;
}

void CPhrase::CreateNamedPhrase(std::optional<fw::ole::Variant> file, std::optional<fw::ole::Variant> name) {
    data_.phrsType = kUserVapPhrase;
    auto f = OptionalText(file);
    auto n = OptionalText(name);
    if (f && n) {
        data_.file = *f;
        data_.data = *n;
        data_.type = -1;
        modified_ = true;
    }
}

void CPhrase::CreateIndexPhrase(const std::wstring& file, short index) {
    data_.phrsType = kUserVapPhrase;
    data_.file = file;
    data_.type = index;
    modified_ = true;
}

void CPhrase::Copy(const fw::ole::ComPtr<IDispatch>& other) {
    if (!other) fw::ole::ThrowError(fw::ole::kCtlInvalidPropertyValue);
    data_.file = GetByName(other.Get(), L"Filename").Str();
    data_.data = GetByName(other.Get(), L"Phrasename").Str();
    data_.type = short(GetByName(other.Get(), L"Type").Long());
    data_.phrsType = short(GetByName(other.Get(), L"PhrsType").Long());
    data_.format = GetByName(other.Get(), L"Format").Long();
}

void CPhrase::CheckPhrase() {
    DesignCheckContext context(false);
    PhraseCheckResult r;
    kvo::CheckPhrase(data_, -1, context, r);
    // A warning is raised too: a script asking has no check list to read it in.
    if (r.code < 0) return;
    std::string text = PhraseCheckText(r.code);
    if (!r.text.empty()) text += " " + r.text;
    throw fw::ole::ControlError{HRESULT(0x800A0000u + kCheckErrorBase + unsigned(r.code)), context.Widen(text)};
}

}  // namespace kvo
