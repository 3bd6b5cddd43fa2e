// The Dial control: places an outgoing call or transfers the caller, and
// routes by what the call did. A number beginning with "S" is dialled with
// call-progress analysis (the "S" is not dialled); others are dialled or
// transferred without it.
#pragma once
#include <mutex>
#include <string>

#include "LineTables.h"
#include "PerLine.h"
#include "VoiceControl.h"

namespace kvo {

// kvoCallResultConstants the node map knows.
enum CallResult : long {
    kCallNoDialTone = 27,
    kCallFastBusy = 28,
    kCallBusy = 29,
    kCallNoAnswer = 30,
    kCallNoRinging = 31,
    kCallConnected = 32,
    kCallIntercept = 33,
    kCallAnsweringMachine = 99,
};

// The exit of a call-progress call: node 0..6, or -3 (intercept and every
// result without a node).
short CallProgressExit(long result);

class CDialCtrl : public CVoiceControl {
public:
    CDialCtrl();

    std::wstring GetINumToDial() const;
    void SetINumToDial(const std::wstring& v);
    std::wstring GetICustomCPL() const;
    void SetICustomCPL(const std::wstring& v);
    bool GetWaitForDialtone() const { return waitForDialtone_; }
    void SetWaitForDialtone(bool v);
    bool GetDetectAnsMachine() const { return detectAnsMachine_; }
    void SetDetectAnsMachine(bool v);
    bool GetDoTransfer() const { return doTransfer_; }
    void SetDoTransfer(bool v);
    bool GetUseDatabase() const { return useDatabase_; }
    void SetUseDatabase(bool v);
    std::wstring GetDataFind() const { return dataFind_; }
    void SetDataFind(const std::wstring& v);

    // The line's call (channel 1-based; 381 outside the lines).
    std::wstring GetNumToDial(short channel) const;
    void SetNumToDial(short channel, const std::wstring& number);
    std::wstring GetCPLFile(short channel) const;
    void SetCPLFile(short channel, const std::wstring& file);
    short GetCallResult(short channel) const;
    std::wstring GetCallTime(short channel) const;

    std::string NodeName(int node) const override;
    std::optional<std::string> GetValueName(int line, int index) const override;
    std::optional<std::string> GetValueText(int line, int index) const override;
    void SetValueText(int line, std::string_view text, int index) override;

    void Check(CheckReport& report) override;
    bool Run(int line, short destInput, short& exit, Vertex*& next) override;

protected:
    std::span<const fw::ole::DispatchEntry> DispatchMap() const override;
    void ExchangeOwnItems(ItemExchange& ex) override;

private:
    struct LineCall {
        std::string number;
        std::string cplFile;
        short result = 0;
        std::string time;
    };
    bool CallProgress() const;
    // The node count follows the settings that choose the layout (the
    // setters mark the control changed).
    void Relayout();
    short DialWithProgress(int line, const std::string& number);
    short DialWithoutProgress(int line, const std::string& number);

    // Lines read the number and the CPL file while host code may set them.
    mutable std::mutex textLock_;
    std::wstring number_;
    std::wstring customCpl_;
    bool waitForDialtone_ = false;
    bool detectAnsMachine_ = false;
    bool doTransfer_ = false;
    bool useDatabase_ = false;
    std::wstring dataFind_;

    PerLine<LineCall> lines_;
};

}  // namespace kvo
