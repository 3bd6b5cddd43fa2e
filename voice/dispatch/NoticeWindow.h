// A small window that tells the user what the voice system is busy with
// while the user-interface thread waits: the start's check, a closing form's
// wait for its lines. Owned by the wait; gone when the object is.
#pragma once
#include <windows.h>

#include <fw/Window.h>

namespace kvo {

class NoticeWindow : public fw::Window {
public:
    // Shown and painted at once: the waits let no posted message through.
    bool Show(HWND owner, const char* text);

protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    bool OnCreate();
};

}  // namespace kvo
