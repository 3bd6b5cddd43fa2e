// The Phrase automation object ("kvo.phrase"): one piece of audio of a
// greeting, named by reference (a wave file, a prompt-file entry, or a
// system phrase computed when the call plays it).
#pragma once
#include <memory>
#include <optional>
#include <string>

#include "PhraseCheck.h"
#include "SavedForm.h"
#include "fw/ole/Automation.h"

namespace kvo {

// An optional text argument: none when left out or passed as Null/Empty.
std::optional<std::wstring> OptionalText(const std::optional<fw::ole::Variant>& arg);

// Names looked up among the process's controls and files where the editor
// finds them (project voice folder, then the system's); `hasThis` when a
// control's own greetings are checked.
std::unique_ptr<PhraseCheckContext> MakeDesignCheckContext(bool hasThis);

class CPhrase : public fw::ole::Automation {
public:
    CPhrase();
    HRESULT Initialize() { return S_OK; }

    std::wstring GetFilename() const { return data_.file; }
    void SetFilename(const std::wstring& v) { data_.file = v; }
    std::wstring GetPhrasename() const { return data_.data; }
    void SetPhrasename(const std::wstring& v) { data_.data = v; }
    short GetType() const { return data_.type; }
    void SetType(short v) { data_.type = v; }
    short GetPhrsType() const { return data_.phrsType; }
    void SetPhrsType(short v) { data_.phrsType = v; }
    long GetFormat() const { return data_.format; }
    void SetFormat(long v) { data_.format = v; }

    void CreateWavePhrase(std::optional<fw::ole::Variant> file);
    void CreateSysPhrase(short kind, std::optional<fw::ole::Variant> data1, std::optional<fw::ole::Variant> data2);
    void CreateNamedPhrase(std::optional<fw::ole::Variant> file, std::optional<fw::ole::Variant> name);
    void CreateIndexPhrase(const std::wstring& file, short index);
    // Copies every field of another phrase object, read through automation.
    void Copy(const fw::ole::ComPtr<IDispatch>& other);
    void CheckPhrase();

    const PhraseData& Data() const { return data_; }
    void Assign(const PhraseData& data) { data_ = data; }
    bool Modified() const { return modified_; }

protected:
    std::span<const fw::ole::DispatchEntry> DispatchMap() const override;

private:
    PhraseData data_;
    bool modified_ = false;
};

// A property of an automation object by name (for Copy from any object).
fw::ole::Variant GetByName(IDispatch* object, const wchar_t* name, std::initializer_list<fw::ole::Variant> index = {});

}  // namespace kvo
