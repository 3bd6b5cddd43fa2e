// Drives the hook library as the control program does: loaded by name,
// commands through QuorvaneProc, notifications to a window of this thread.
// Every test starts from empty shared state and leaves none behind.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <memory>
#include <vector>
#include "IdeProcess.h"
#include "fw/testing/Windows.h"
#include "PeSection.h"
#include "QuorvaneProtocol.h"
#include "SharedState.h"

namespace hooktest {

using QuorvaneProcFn = LRESULT(WINAPI*)(UINT, HWND, WPARAM, LPARAM, LPARAM);
using ide::testing::IdeProcess;
using fw::testing::WaitUntil;

// Records the notifications the hook posts to the control window.
struct Notification { UINT msg; WPARAM wp; LPARAM lp; };

class HookTest : public ::testing::Test {
protected:
    void SetUp() override {
        lib_ = LoadLibraryA("qnavhook.dll");
        ASSERT_NE(lib_, nullptr);
        proc_ = reinterpret_cast<QuorvaneProcFn>(
            reinterpret_cast<void (*)()>(GetProcAddress(lib_, "_QuorvaneProc@20")));
        ASSERT_NE(proc_, nullptr);
        shared_ = reinterpret_cast<qnav::SharedHookState*>(FindSection(lib_, ".shared").first);
        ASSERT_NE(shared_, nullptr);
        Cleanup();
        *shared_ = qnav::SharedHookState{};

        WNDCLASSA wc{};
        wc.lpfnWndProc = &HookTest::ControlProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "QvHookTestControl";
        RegisterClassA(&wc);
        control_ = CreateWindowExA(0, wc.lpszClassName, "control", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   wc.hInstance, nullptr);
        ASSERT_NE(control_, nullptr);
        notifications().clear();
        settings_.ItemCount = 24;
        settings_.FirstCall = 1;
    }

    void TearDown() override {
        Cleanup();
        ides_.clear();
        if (control_) DestroyWindow(control_);
        if (lib_) FreeLibrary(lib_);
    }

    // The uninstall sequence, so no IDE keeps our procedures or hooks.
    void Cleanup() {
        if (!proc_) return;
        Call(qnav::QP_DETACHALL);
        Call(qnav::QP_REMOVEALLHOOKS);
    }

    LRESULT Call(UINT command, HWND window = nullptr, const void* pointer = nullptr) {
        return proc_(command, window, 0, reinterpret_cast<LPARAM>(pointer), 0);
    }
    LRESULT AttachAll() { return Call(qnav::QP_ATTACHALL, nullptr, &settings_); }

    IdeProcess& StartIde(const std::string& args) {
        ides_.push_back(std::make_unique<IdeProcess>(args));
        return *ides_.back();
    }

    // Starts a stand-in IDE with `args` and attaches to it; the frame, or
    // nullptr if the IDE did not come up or the attachment did not complete.
    HWND StartAttached(const std::string& args) {
        HWND frame = StartIde(args).MainWindow();
        if (!frame) return nullptr;
        AttachAll();
        return WaitAttached(frame) ? frame : nullptr;
    }
    IdeProcess& LastIde() { return *ides_.back(); }

    const qnav::HookSlot* SlotOf(HWND frame) const {
        for (const auto& s : shared_->slots)
            if (s.frame == frame && s.inUse) return &s;
        return nullptr;
    }
    int SlotsInUse() const {
        int n = 0;
        for (const auto& s : shared_->slots) n += s.inUse ? 1 : 0;
        return n;
    }
    // For a failed count: each frame holding a slot, with its process and
    // program and the threads counted for it.
    std::string Slots() const {
        std::string out = "slots in use:\n";
        for (const auto& s : shared_->slots)
            if (s.inUse)
                out += fw::testing::Describe({s.frame}) + "    attached " + std::to_string(s.attached) +
                       ", threads " + std::to_string(s.threadCount) + "\n";
        return out;
    }
    bool WaitAttached(HWND frame, DWORD ms = 10000) {
        return WaitUntil([&] { auto* s = SlotOf(frame); return s && s->attached; }, ms);
    }

    static std::vector<Notification>& notifications() {
        static std::vector<Notification> list;
        return list;
    }
    static int CountOf(UINT msg) {
        int n = 0;
        for (const auto& x : notifications()) n += x.msg == msg ? 1 : 0;
        return n;
    }
    // For a failed count: the frames the notifications `msg` named.
    static std::string Notified(UINT msg) {
        std::vector<HWND> frames;
        for (const auto& x : notifications())
            if (x.msg == msg) frames.push_back(reinterpret_cast<HWND>(x.wp));
        return "frames notified:\n" + fw::testing::Describe(frames);
    }

    HMODULE lib_ = nullptr;
    QuorvaneProcFn proc_ = nullptr;
    qnav::SharedHookState* shared_ = nullptr;
    HWND control_ = nullptr;
    qnav::HookSettings settings_{};
    std::vector<std::unique_ptr<IdeProcess>> ides_;

private:
    static LRESULT CALLBACK ControlProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg >= 0x600 && msg < 0x700) {
            notifications().push_back({msg, wp, lp});
            return 0;
        }
        return DefWindowProcA(w, msg, wp, lp);
    }
};

}  // namespace hooktest
