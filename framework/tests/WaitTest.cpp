// Joining a worker that sends messages to the waiting thread: the wait lets
// them through instead of deadlocking, and still times out.
#include <gtest/gtest.h>
#include "fw/Handle.h"
#include "fw/Wait.h"
#include "fw/Window.h"

namespace {

constexpr UINT WM_PING = WM_APP + 7;

class PingWindow : public fw::Window {
public:
    int pings = 0;
protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_PING) return ++pings;
        return DefaultMessage(msg, wp, lp);
    }
};

DWORD WINAPI SendThreeTimes(void* hwnd) {
    for (int i = 0; i < 3; ++i) SendMessageA(static_cast<HWND>(hwnd), WM_PING, 0, 0);
    return 0;
}

TEST(Wait, SentMessagesGetThroughWhileJoiningAWorker) {
    HINSTANCE inst = GetModuleHandleA(nullptr);
    ASSERT_TRUE(fw::Window::RegisterClass(inst, "fwPing"));
    PingWindow w;
    ASSERT_TRUE(w.Create(inst, "fwPing", "", 0, 0, 0, 0, 0, 0, HWND_MESSAGE));
    fw::KernelHandle worker(CreateThread(nullptr, 0, &SendThreeTimes, w.Handle(), 0, nullptr));
    ASSERT_TRUE(worker);
    EXPECT_TRUE(fw::WaitLettingSentMessagesThrough(worker.Get(), 10000));
    EXPECT_EQ(w.pings, 3);

    fw::KernelHandle never(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    EXPECT_FALSE(fw::WaitLettingSentMessagesThrough(never.Get(), 50));
}

}  // namespace
