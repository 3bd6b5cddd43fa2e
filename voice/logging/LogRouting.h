// Hand-over of records from logging threads to a channel log window: the
// logger queues records in the window's inbox and posts one wake-up; the
// window drains the inbox on its own thread.
#pragma once
#include <windows.h>

#include <deque>
#include <memory>
#include <mutex>

#include "LogRecord.h"

namespace kvo {

class LogInbox {
public:
    LogInbox(HWND window, UINT message) : window_(window), message_(message) {}
    void Push(LogRecord record);
    std::deque<LogRecord> TakeAll();
    // After Close nothing is posted to the window any more.
    void Close();

private:
    std::mutex mutex_;
    std::deque<LogRecord> records_;
    HWND window_;
    UINT message_;
};

// The window of `line` receives the line's records from now on.
void AttachLogInbox(int line, std::shared_ptr<LogInbox> inbox);
// Stops delivery to `inbox` (if it is still the line's).
void DetachLogInbox(int line, const LogInbox* inbox);

}  // namespace kvo
