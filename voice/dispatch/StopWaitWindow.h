// The small window shown while a closing form waits for its lines to end
// their calls. Owned by the wait; gone when the object is.
#pragma once
#include <windows.h>

#include <fw/Window.h>

namespace kvo {

class StopWaitWindow : public fw::Window {
public:
    // Shown and painted at once: the wait lets no posted message through.
    bool Show(HWND owner);

protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    bool OnCreate();
};

}  // namespace kvo
