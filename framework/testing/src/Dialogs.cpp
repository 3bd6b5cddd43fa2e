#include "fw/testing/Dialogs.h"

#include "fw/testing/Wait.h"
#include "fw/testing/Windows.h"

namespace fw::testing {

namespace {
constexpr int kMessageBoxTextId = 0xFFFF;

// A message box gets its text after it is created; a dialog without that
// control counts as soon as it shows.
bool Complete(HWND dialog) {
    HWND label = GetDlgItem(dialog, kMessageBoxTextId);
    return !label || !WindowText(label).empty();
}
}  // namespace

std::vector<HWND> FindDialogs(DWORD pid, const std::string& titlePrefix) {
    std::vector<HWND> found;
    for (HWND w : TopLevelWindows(pid, "#32770"))
        if (IsWindowVisible(w) && WindowText(w).rfind(titlePrefix, 0) == 0) found.push_back(w);
    return found;
}

HWND WaitForDialog(DWORD pid, const std::string& titlePrefix, DWORD ms) {
    HWND dialog = nullptr;
    WaitUntil([&] {
        dialog = nullptr;
        for (HWND w : FindDialogs(pid, titlePrefix))
            if (Complete(w)) return (dialog = w) != nullptr;
        return false;
    }, ms);
    return dialog;
}

std::string MessageBoxText(HWND box) {
    if (HWND label = GetDlgItem(box, kMessageBoxTextId)) return WindowText(label);
    std::string longest;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char cls[16] = "";
        GetClassNameA(child, cls, sizeof cls);
        if (lstrcmpiA(cls, "Static") != 0) continue;
        std::string text = WindowText(child);
        if (text.size() > longest.size()) longest = std::move(text);
    }
    return longest;
}

void Press(HWND dialog, int id) {
    // A button of another thread or process: the click must not wait for it.
    if (HWND button = GetDlgItem(dialog, id); button && GetWindowThreadProcessId(dialog, nullptr) == GetCurrentThreadId())
        SendMessageA(button, BM_CLICK, 0, 0);
    else if (button)
        SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, 5000, nullptr);
    else
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

std::string AnswerMessageBox(DWORD pid, const std::string& titlePrefix, int button, DWORD ms) {
    HWND box = WaitForDialog(pid, titlePrefix, ms);
    if (!box) return {};
    std::string text = MessageBoxText(box);
    PostMessageA(box, WM_COMMAND, button, 0);
    return text;
}

DialogWatcher::DialogWatcher(std::string titlePrefix, std::function<void(HWND)> action, Mode mode)
    : titlePrefix_(std::move(titlePrefix)), action_(std::move(action)), mode_(mode), thread_([this] { Watch(); }) {}

int DialogWatcher::Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    return handled_;
}

void DialogWatcher::Watch() {
    while (!stop_) {
        auto dialogs = FindDialogs(GetCurrentProcessId(), titlePrefix_);
        if (!dialogs.empty() && Complete(dialogs.front())) {
            HWND dialog = dialogs.front();
            action_(dialog);
            ++handled_;
            if (mode_ == Once) return;
            // One dialog is handled once, however long it takes to go.
            for (int i = 0; i < 500 && IsWindow(dialog) && IsWindowVisible(dialog) && !stop_; ++i) Sleep(10);
            continue;
        }
        Sleep(10);
    }
}

MessageBoxLog::MessageBoxLog(int button)
    : watcher_("", [this, button](HWND box) {
          std::string text = MessageBoxText(box);
          {
              std::lock_guard lock(m_);
              texts_.push_back(std::move(text));
          }
          PostMessageA(box, WM_COMMAND, button, 0);
      }, DialogWatcher::Every) {}

std::vector<std::string> MessageBoxLog::Texts() {
    std::lock_guard lock(m_);
    return texts_;
}

}  // namespace fw::testing
