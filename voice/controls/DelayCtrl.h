// The Delay control: keeps the caller waiting for a while, in silence, on
// hold at the exchange or with music, and leaves through its one node. Host
// code may end a line's delay early with StopDelay.
#pragma once
#include <array>
#include <atomic>

#include "DigitControl.h"
#include "LineTables.h"

namespace kvo {

enum HoldType : long { kHoldOnHold = 0, kHoldMusic = 1, kHoldPlainDelay = 2 };

class CDelayCtrl : public CDigitControl {
public:
    CDelayCtrl();

    long GetIDelayTime() const { return delayTime_; }
    void SetIDelayTime(long v);
    long GetHoldType() const { return holdType_; }
    void SetHoldType(long v);
    long GetTermDtmf() const { return haltDigit_; }
    void SetTermDtmf(long v);
    fw::ole::ComPtr<IDispatch> GetMusicGreeting() const { return music_->AsDispatch(); }
    void SetMusicGreeting(const fw::ole::ComPtr<IDispatch>& greeting);
    std::wstring GetGreetingNames(short index) const override;

    // The line's delay (channel 1-based; 381 outside the lines).
    short GetDelayTime(short channel) const;
    void SetDelayTime(short channel, short seconds);
    // Ends the line's delay early; a line not waiting in this Delay is left
    // alone.
    void StopDelay(short channel);

    std::optional<std::string> GetValueName(int line, int index) const override;

    void Check(CheckReport& report) override;
    bool Run(int line, short destInput, short& exit, Vertex*& next) override;

protected:
    std::span<const fw::ole::DispatchEntry> DispatchMap() const override;
    void ExchangeOwnItems(ItemExchange& ex) override;
    // The music counts only where it is played.
    std::vector<CGreeting*> SpokenGreetings() override;

private:
    struct LineDelay {
        std::atomic<long> time{0};
        std::atomic<bool> stop{false};
        std::atomic<bool> inside{false};    // the line runs this Delay
        std::atomic<bool> blocking{false};  // in the wait or a music play
    };
    // The driver's wait and what its result means: true when it ran out or
    // was stopped by StopDelay; any other stop is the line's error.
    bool Wait(int line, long seconds, long mask, long flag);
    void Hold(int line, long seconds);
    void PlayMusic(int line, long seconds);

    long delayTime_ = 0;
    long holdType_ = kHoldPlainDelay;
    long haltDigit_ = 0;
    fw::ole::ComPtr<CGreeting> music_ = fw::ole::MakeAutomation<CGreeting>();
    std::array<LineDelay, kDispatchLines> lines_;
};

}  // namespace kvo
