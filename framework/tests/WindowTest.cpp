#include <gtest/gtest.h>
#include <vector>
#include "fw/Exception.h"
#include "fw/Handle.h"
#include "fw/Window.h"

namespace {

constexpr UINT IDD_TEST = 100;
constexpr int IDC_NAME = 1001;
constexpr UINT WM_PROBE = WM_APP + 1;

class ProbeWindow : public fw::Window {
public:
    std::vector<UINT> seen;
    bool destroyed = false;
protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_CREATE || msg == WM_PROBE || msg == WM_DESTROY) seen.push_back(msg);
        if (msg == WM_PROBE) return static_cast<LRESULT>(wp * 2);
        return DefaultMessage(msg, wp, lp);
    }
    void OnNcDestroy() override { destroyed = true; }
};

TEST(Window, ThunkRoutesFromCreateToNcDestroy) {
    HINSTANCE inst = GetModuleHandleA(nullptr);
    ASSERT_TRUE(fw::Window::RegisterClass(inst, "fwProbe"));
    ASSERT_TRUE(fw::Window::RegisterClass(inst, "fwProbe")) << "second registration is harmless";
    ProbeWindow w;
    ASSERT_TRUE(w.Create(inst, "fwProbe", "probe", WS_OVERLAPPED, 0, 0, 0, 10, 10, nullptr));
    HWND h = w.Handle();
    EXPECT_EQ(fw::Window::FromHandle(h), &w);
    EXPECT_EQ(SendMessageA(h, WM_PROBE, 21, 0), 42);
    w.Destroy();
    EXPECT_TRUE(w.destroyed);
    EXPECT_EQ(w.Handle(), nullptr);
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(w.seen, (std::vector<UINT>{WM_CREATE, WM_PROBE, WM_DESTROY}));
}

TEST(Window, DestructorDestroysTheWindow) {
    HINSTANCE inst = GetModuleHandleA(nullptr);
    ASSERT_TRUE(fw::Window::RegisterClass(inst, "fwProbe"));
    HWND h;
    {
        ProbeWindow w;
        ASSERT_TRUE(w.Create(inst, "fwProbe", "probe", WS_OVERLAPPED, 0, 0, 0, 10, 10, nullptr));
        h = w.Handle();
    }
    EXPECT_FALSE(IsWindow(h));
}

class Thrower : public fw::Exception {
public:
    static inline int live = 0;
    Thrower() { ++live; }
    ~Thrower() override { --live; }
};

class ThrowingWindow : public fw::Window {
protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_PROBE) {
            if (wp == 1) throw new Thrower();
            throw 7;
        }
        return DefaultMessage(msg, wp, lp);
    }
};

TEST(Window, AHandlersExceptionEndsAtTheThunk) {
    HINSTANCE inst = GetModuleHandleA(nullptr);
    ASSERT_TRUE(fw::Window::RegisterClass(inst, "fwThrow"));
    ThrowingWindow w;
    ASSERT_TRUE(w.Create(inst, "fwThrow", "", 0, 0, 0, 0, 0, 0, HWND_MESSAGE));
    EXPECT_EQ(SendMessageA(w.Handle(), WM_PROBE, 1, 0), 0);
    EXPECT_EQ(Thrower::live, 0) << "the heap exception was deleted";
    EXPECT_EQ(SendMessageA(w.Handle(), WM_PROBE, 2, 0), 0);
    EXPECT_TRUE(IsWindow(w.Handle()));
}

class NameDialog : public fw::Dialog {
public:
    NameDialog() : Dialog(GetModuleHandleA(nullptr), IDD_TEST) {}
    std::string name;
protected:
    BOOL OnInitDialog() override {
        SetItemText(IDC_NAME, "initial");
        // Modal: answer from inside the dialog's own loop, as a user would.
        PostMessageA(Handle(), WM_COMMAND, IDOK, 0);
        return TRUE;
    }
    void OnOK() override {
        name = ItemText(IDC_NAME);
        End(IDOK);
    }
};

TEST(Dialog, ModalRunsInitAndOkHandlers) {
    NameDialog d;
    EXPECT_EQ(d.DoModal(nullptr), IDOK);
    EXPECT_EQ(d.name, "initial");
    EXPECT_EQ(d.Handle(), nullptr);
}

TEST(Resources, StringTableEntries) {
    HINSTANCE inst = GetModuleHandleA(nullptr);
    EXPECT_EQ(fw::LoadResString(inst, 7), "seven");
    EXPECT_EQ(fw::LoadResString(inst, 8), "");
}

TEST(Handle, ClosesOnceAndMoves) {
    fw::KernelHandle a(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(a);
    HANDLE raw = a.Get();
    fw::KernelHandle b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(b.Get(), raw);
    b.Reset();
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(raw, &flags)) << "handle must be closed";
}

}  // namespace
