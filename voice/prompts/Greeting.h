// The Greeting automation object ("kvo.greeting"): the ordered phrases a
// control says to a caller and two play options. A control owns its
// greetings and saves them with its own items; voice/dispatch plays them.
#pragma once
#include <vector>

#include "Phrase.h"
#include "SavedForm.h"
#include "fw/ole/Automation.h"

namespace kvo {

class CGreeting : public fw::ole::Automation {
public:
    CGreeting();
    HRESULT Initialize() { return S_OK; }

    std::wstring GetName() const { return name_; }
    void SetName(const std::wstring& v) { name_ = v; }
    bool GetTermOnDTMF() const { return termOnDtmf_; }
    void SetTermOnDTMF(bool v) { termOnDtmf_ = v; }
    long GetFileformat() const { return fileformat_; }
    void SetFileformat(long v) { fileformat_ = v; }
    short GetCount() const { return short(phrases_.size()); }
    fw::ole::ComPtr<IDispatch> GetPhrase(short index) const;
    void SetPhrase(short index, const fw::ole::ComPtr<IDispatch>& phrase);
    void InsertNamedPhrase(short index, const std::wstring& file, const std::wstring& name);
    void InsertIndexPhrase(short index, const std::wstring& file, short entryIndex);
    void InsertFile(short index, const std::wstring& file);
    void InsertSysPhrase(short index, short kind, std::optional<fw::ole::Variant> data1,
                         std::optional<fw::ole::Variant> data2);
    void AddNewPhrse(short phraseType, short type, std::optional<fw::ole::Variant> data1,
                     std::optional<fw::ole::Variant> data2);
    void RemoveAt(short index);
    void RemoveAll() { phrases_.clear(); }
    std::wstring GetNameAt(short index) const;
    // Empties this greeting and takes another's settings and phrases.
    void Copy(const fw::ole::ComPtr<IDispatch>& other);

    // The greeting as it is saved, and back.
    GreetingData Data() const;
    void Assign(const GreetingData& data);
    // A clip found by name keeps its index for later plays, unless the phrase
    // was changed meanwhile (it no longer equals `was`).
    void CacheClipIndex(size_t index, const PhraseData& was, short clip);

protected:
    std::span<const fw::ole::DispatchEntry> DispatchMap() const override;

private:
    // Where a new phrase goes: before `index`, -1 appends; "invalid index" (381) beyond Count.
    size_t InsertPosition(short index) const;
    void Insert(short index, fw::ole::ComPtr<CPhrase> phrase);
    const fw::ole::ComPtr<CPhrase>& At(short index) const;

    std::wstring name_;
    bool termOnDtmf_ = true;
    long fileformat_ = -1;
    std::vector<fw::ole::ComPtr<CPhrase>> phrases_;
};

}  // namespace kvo
