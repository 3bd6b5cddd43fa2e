// Dialogs and message boxes (class #32770) as a user meets them: found by
// process and title, read, and answered with a button.
#pragma once
#include <windows.h>
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace fw::testing {

// Visible dialogs of process `pid` whose title starts with `titlePrefix`.
std::vector<HWND> FindDialogs(DWORD pid, const std::string& titlePrefix = "");

// The first such dialog once it shows, or nullptr after `ms`. A message box
// counts once its text is in place.
HWND WaitForDialog(DWORD pid, const std::string& titlePrefix = "", DWORD ms = 10000);

// The text of a message box: its static text control (id 0xFFFF), else the
// longest static text of the dialog.
std::string MessageBoxText(HWND box);

// Presses button `id` of `dialog` as a click does (from any thread or process).
void Press(HWND dialog, int id);

// Waits for a message box of `pid` titled `titlePrefix`, answers it with
// `button` and returns its text ("" when none came within `ms`).
std::string AnswerMessageBox(DWORD pid, const std::string& titlePrefix = "", int button = IDOK, DWORD ms = 10000);

// Plays the user for modal dialogs of this process, which block the thread
// that shows them: a watcher thread runs `action` on each dialog whose title
// starts with `titlePrefix` (only the first one with Once) and waits until
// the dialog has gone before it looks again.
class DialogWatcher {
public:
    enum Mode { Once, Every };
    DialogWatcher(std::string titlePrefix, std::function<void(HWND)> action, Mode mode = Once);
    ~DialogWatcher() { Stop(); }
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

    // Ends the watch and says how many dialogs the action handled. The dialog
    // the action closed has returned to its caller before this is asked.
    int Stop();

private:
    void Watch();

    std::string titlePrefix_;
    std::function<void(HWND)> action_;
    Mode mode_;
    std::atomic<bool> stop_{false};
    std::atomic<int> handled_{0};
    std::thread thread_;
};

// Answers every message box this process shows with `button` and keeps
// their texts in the order they came.
class MessageBoxLog {
public:
    explicit MessageBoxLog(int button = IDOK);
    std::vector<std::string> Texts();

private:
    std::mutex m_;
    std::vector<std::string> texts_;
    DialogWatcher watcher_;   // last: it stops before the texts go
};

}  // namespace fw::testing
