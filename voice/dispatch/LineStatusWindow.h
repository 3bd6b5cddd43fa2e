// The line status window: one row per line record with the line's status,
// the control it is in, how long its call has run and how long it has been
// in that control, refreshed every second; the caption names the state of
// the system. It lives on the user-interface thread and owns itself.
#pragma once
#include <windows.h>

#include <fw/Window.h>

namespace kvo {

class LineStatusWindow : public fw::Window {
public:
    // Creates the window or brings it forward; null when it cannot be made.
    static LineStatusWindow* Open();
    static LineStatusWindow* Find();
    static void Close();

    HWND List() const { return list_; }
    // Reads every line record again.
    void Refresh();

protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnNcDestroy() override;

private:
    LineStatusWindow() = default;

    bool OnCreate();
    void OnSize(int cx, int cy);
    void OnTimer();
    void OnDestroy();
    void SetCell(int row, int column, const std::string& text);

    bool ownsSelf_ = false;  // a window that failed in WM_CREATE is still Open's
    HWND list_ = nullptr;
    UINT_PTR timer_ = 0;
};

}  // namespace kvo
