// The Language control: a call that passes it speaks by its record (number
// rules, date order, clock, language folder) from then on; system phrases
// whose bit is set in EventMask are first offered to host code through the
// control's events, inside which host code may add phrases itself.
#pragma once
#include <array>
#include <optional>
#include <string>

#include "CallFlowControl.h"
#include "Language.h"
#include "Redirection.h"
#include "SystemPhrase.h"

namespace kvo {

class CLangCtrl : public CCallFlowControl, public LanguageEvents {
public:
    CLangCtrl();
    ~CLangCtrl() override;

    bool Run(int line, short destInput, short& exit, Vertex*& next) override;

    long GetEventMask() const { return eventMask_; }
    void SetEventMask(long v);
    std::wstring GetDirectory() const { return directory_; }
    void SetDirectory(const std::wstring& v);
    long GetLanguageId() const { return languageId_; }
    void SetLanguageId(long v);
    long GetTimeFormat() const { return timeFormat_; }
    void SetTimeFormat(long v);
    long GetDateOrder() const { return dateOrder_; }
    void SetDateOrder(long v);
    // What an event's host code works with.
    std::wstring GetFileName() const { return fileName_; }
    void SetFileName(const std::wstring& v) { fileName_ = v; }
    std::wstring GetPhraseData1() const { return data1_; }
    void SetPhraseData1(const std::wstring& v) { data1_ = v; }
    std::wstring GetPhraseData2() const { return data2_; }
    void SetPhraseData2(const std::wstring& v) { data2_ = v; }
    short GetPhraseIndex() const { return phraseIndex_; }
    void SetPhraseIndex(short v) { phraseIndex_ = v; }
    std::wstring GetPhraseName() const { return phraseName_; }
    // Looks the clip up in FileName and keeps its index in PhraseIndex.
    void SetPhraseName(const std::wstring& v);
    short GetAddType() const { return addType_; }
    // Adds a phrase of that kind to the play list of the call in the event.
    void SetAddType(short kind);

    // LanguageEvents: called on the line's thread.
    bool InRunMode() const override;
    short FirePhraseEvent(int kind, const std::string& data1, const std::string& data2) override;

protected:
    std::span<const fw::ole::DispatchEntry> DispatchMap() const override;
    void ExchangeOwnItems(ItemExchange& ex) override;
    void OnClose() override;

private:
    // The line whose event is running, or refuses (32005).
    int EventLine() const;
    void Changed() { SetModified(); }

    long eventMask_ = 0;
    std::wstring directory_ = L"language1\\";
    long languageId_ = kvoEnglish;
    long timeFormat_ = kvoTime12;
    long dateOrder_ = kDdMmYy;
    // One copy per line: a line fills in its own on entering, so lines
    // never write what another reads.
    std::array<LanguageSettings, kMaxLines> records_;

    std::wstring fileName_, data1_, data2_, phraseName_;
    short phraseIndex_ = 0;
    short addType_ = 0;
    int eventLine_ = -1;  // set while an event of this control runs
};

}  // namespace kvo
