// Value access against the live form (see RuntimeValues.h).
#include "RuntimeValues.h"

#include <atomic>

#include "CallFlowControl.h"
#include "ChannelLog.h"
#include "FormFrame.h"
#include "Graph.h"

namespace kvo {
namespace {

std::atomic<bool> g_greetingsPageOpen{false};

class CRuntimeValues : public ValueContext {
public:
    ValueOwner* FindCallFlowControl(std::string_view name, bool& ambiguous) override {
        return dynamic_cast<CCallFlowControl*>(ControlRegistry::Process().FindByName(std::string(name), &ambiguous));
    }
    ValueOwner* FindFrame(std::string_view name) override {
        FormFrame* frame = FindFrameByName(std::string(name));
        return frame ? &frame->FrameValues() : nullptr;
    }
    bool SystemRunning() const override { return ControlRegistry::Process().Started(); }
    bool GreetingsPageOpen() const override { return g_greetingsPageOpen; }
    std::optional<std::string> AskForValue(ValueOwner& owner, std::string_view prompt) override {
        // A control asks through its form's Frame; a Frame asks itself. A
        // form without a Frame has no one to ask: as if cancelled.
        FormFrame* frame = dynamic_cast<FormFrame*>(&owner);
        if (auto* control = dynamic_cast<CCallFlowControl*>(&owner)) frame = control->Frame();
        if (!frame) return std::nullopt;
        return frame->AskValue(std::string(prompt));
    }
    void Log(int channel, int kind, std::string_view text) override {
        WriteLogS(channel, kind, std::string(text).c_str());
    }
};

}  // namespace

ValueContext& RuntimeValues() {
    static CRuntimeValues context;
    return context;
}

void SetGreetingsPageOpen(bool open) { g_greetingsPageOpen = open; }

}  // namespace kvo
