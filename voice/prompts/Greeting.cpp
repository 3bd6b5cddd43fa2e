// The Greeting object (see Greeting.h).
#include "Greeting.h"

#include <array>

#include "KvoResource.h"
#include "kvo32.h"

namespace kvo {

namespace {
using fw::ole::Method;
using fw::ole::Property;
using fw::ole::ReadOnlyProperty;

constexpr auto kGreetingDispatch = std::array{
    Property<&CGreeting::GetName, &CGreeting::SetName>(1),
    Property<&CGreeting::GetTermOnDTMF, &CGreeting::SetTermOnDTMF>(2),
    Property<&CGreeting::GetFileformat, &CGreeting::SetFileformat>(3),
    ReadOnlyProperty<&CGreeting::GetCount>(4),
    Property<&CGreeting::GetPhrase, &CGreeting::SetPhrase>(5),
    Method<&CGreeting::InsertNamedPhrase>(6),
    Method<&CGreeting::InsertIndexPhrase>(7),
    Method<&CGreeting::InsertFile>(8),
    Method<&CGreeting::InsertSysPhrase>(9),
    Method<&CGreeting::AddNewPhrse>(10),
    Method<&CGreeting::RemoveAt>(11),
    Method<&CGreeting::RemoveAll>(12),
    Method<&CGreeting::GetNameAt>(13),
    Method<&CGreeting::Copy>(14),
};

[[noreturn]] void InvalidIndex() { fw::ole::ThrowError(fw::ole::kCtlInvalidPropertyArrayIndex, IDS_INVALID_INDEX); }

fw::ole::ComPtr<CPhrase> NewPhrase() { return fw::ole::MakeAutomation<CPhrase>(); }
}  // namespace

CGreeting::CGreeting() : Automation(DIID_IGreeting, L"kvo.greeting") {}

std::span<const fw::ole::DispatchEntry> CGreeting::DispatchMap() const { return kGreetingDispatch; }

const fw::ole::ComPtr<CPhrase>& CGreeting::At(short index) const {
    if (index < 0 || size_t(index) >= phrases_.size()) InvalidIndex();
    return phrases_[size_t(index)];
}

fw::ole::ComPtr<IDispatch> CGreeting::GetPhrase(short index) const { return At(index)->AsDispatch(); }

void CGreeting::SetPhrase(short index, const fw::ole::ComPtr<IDispatch>& phrase) { At(index)->Copy(phrase); }

size_t CGreeting::InsertPosition(short index) const {
    if (index == -1) return phrases_.size();
    if (index < -1 || size_t(index) > phrases_.size()) InvalidIndex();
    return size_t(index);
}

void CGreeting::Insert(short index, fw::ole::ComPtr<CPhrase> phrase) {
    const size_t at = InsertPosition(index);
    if (phrases_.size() >= size_t(kMaxPhrases)) fw::ole::ThrowError(fw::ole::kCtlInvalidPropertyValue);
    phrases_.insert(phrases_.begin() + long(at), std::move(phrase));
}

void CGreeting::InsertNamedPhrase(short index, const std::wstring& file, const std::wstring& name) {
    InsertPosition(index);  // refuse before making anything
    auto p = NewPhrase();
    p->CreateNamedPhrase(fw::ole::Variant(file), fw::ole::Variant(name));
    Insert(index, p);
}

void CGreeting::InsertIndexPhrase(short index, const std::wstring& file, short entryIndex) {
    InsertPosition(index);
    auto p = NewPhrase();
    p->CreateIndexPhrase(file, entryIndex);
    Insert(index, p);
}

void CGreeting::InsertFile(short index, const std::wstring& file) {
    InsertPosition(index);
    auto p = NewPhrase();
    p->CreateWavePhrase(fw::ole::Variant(file));
    Insert(index, p);
}

void CGreeting::InsertSysPhrase(short index, short kind, std::optional<fw::ole::Variant> data1,
                                std::optional<fw::ole::Variant> data2) {
    InsertPosition(index);
    auto p = NewPhrase();
    p->CreateSysPhrase(kind, std::move(data1), std::move(data2));
    Insert(index, p);
}

void CGreeting::AddNewPhrse(short phraseType, short type, std::optional<fw::ole::Variant> data1,
                            std::optional<fw::ole::Variant> data2) {
    auto p = NewPhrase();
    p->Assign({OptionalText(data1).value_or(L""), OptionalText(data2).value_or(L""), type, phraseType, 0});
    Insert(-1, p);
}

void CGreeting::RemoveAt(short index) {
    At(index);
    phrases_.erase(phrases_.begin() + index);
}

std::wstring CGreeting::GetNameAt(short index) const {
    const PhraseData& d = At(index)->Data();
    switch (d.phrsType) {
    case 1: return d.file;
    case 2: return L"system phrase " + std::to_wstring(d.type) + L": " + d.file + (d.data.empty() ? L"" : L", " + d.data);
    case 4: return d.file + L": " + (d.type == -1 ? d.data : L"#" + std::to_wstring(d.type));
    default: return L"(no phrase)";
    }
}

void CGreeting::Copy(const fw::ole::ComPtr<IDispatch>& other) {
    if (!other) fw::ole::ThrowError(fw::ole::kCtlInvalidPropertyValue);
    // Read whole before anything changes: the other greeting may be this one.
    const long fileformat = GetByName(other.Get(), L"Fileformat").Long();
    const bool termOnDtmf = GetByName(other.Get(), L"TermOnDTMF").Long() != 0;
    std::wstring name = GetByName(other.Get(), L"Name").Str();
    std::vector<fw::ole::ComPtr<CPhrase>> phrases;
    const long count = std::min<long>(GetByName(other.Get(), L"Count").Long(), kMaxPhrases);
    for (long i = 0; i < count; ++i) {
        fw::ole::Variant phrase = GetByName(other.Get(), L"Phrase", {fw::ole::Variant(short(i))});
        if (phrase.Type() != VT_DISPATCH || !phrase.Get()->pdispVal) continue;
        IDispatch* source = phrase.Get()->pdispVal;
        auto p = NewPhrase();
        p->Assign({GetByName(source, L"Filename").Str(), GetByName(source, L"Phrasename").Str(),
                   short(GetByName(source, L"Type").Long()), short(GetByName(source, L"PhrsType").Long()), 0});
        phrases.push_back(p);
    }
    fileformat_ = fileformat;
    termOnDtmf_ = termOnDtmf;
    name_ = std::move(name);
    phrases_ = std::move(phrases);
}

GreetingData CGreeting::Data() const {
    GreetingData d{name_, termOnDtmf_, fileformat_, {}};
    for (const auto& p : phrases_) d.phrases.push_back(p->Data());
    return d;
}

void CGreeting::Assign(const GreetingData& data) {
    name_ = data.name;
    termOnDtmf_ = data.termOnDtmf;
    fileformat_ = data.fileformat;
    phrases_.clear();
    for (const PhraseData& pd : data.phrases) {
        auto p = NewPhrase();
        p->Assign(pd);
        phrases_.push_back(p);
    }
}

void CGreeting::CacheClipIndex(size_t index, const PhraseData& was, short clip) {
    if (index >= phrases_.size() || !(phrases_[index]->Data() == was)) return;
    PhraseData d = was;
    d.type = clip;
    phrases_[index]->Assign(d);
}

}  // namespace kvo
