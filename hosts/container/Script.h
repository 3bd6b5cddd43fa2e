// Runs a form's steps and event handlers in the stand-in container and says
// what happened, one line per step, event and dialog box. The steps are the
// host's code: member paths through controls and their objects, event
// handlers that answer by-reference arguments, break and design modes,
// unloading, and a watcher that answers the dialog and message boxes the
// controls show.
#pragma once
#include <windows.h>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>
#include "Container.h"
#include "FormFile.h"
#include "fw/Handle.h"

namespace container {

// Watches this process's dialog and message boxes from a thread of its own
// (a modal box blocks the thread that shows it), reports each once and
// answers it: a button, or a text typed into its edit field and OK. A box
// without an answer is cancelled, so nothing waits for ever.
class BoxAnswerer {
public:
    using Report = std::function<void(const std::string&)>;
    explicit BoxAnswerer(Report report);
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    // The answer for boxes titled `title` (the latest one counts): "OK",
    // "Cancel", "Yes", "No" as buttons (`button`), or text.
    void Answer(const std::string& title, const std::string& answer, bool button);
    // Boxes seen so far.
    int Seen() const;

private:
    static DWORD WINAPI ThreadMain(void* self);
    void Watch();
    void Handle(HWND box);

    Report report_;
    mutable std::mutex mutex_;
    std::map<std::string, std::pair<std::string, bool>> answers_;
    std::vector<HWND> handled_;
    int seen_ = 0;
    fw::KernelHandle stop_;
    fw::KernelHandle thread_;
};

class Script {
public:
    // `out` gets every line the script reports; it may be called from the
    // box watcher's thread, one call at a time.
    using Output = std::function<void(const std::string&)>;
    Script(Host& host, Output out);
    ~Script();

    // Takes the form's handlers and starts reporting events.
    void Attach(const Form& form);
    // Runs the steps in order; false when any step (or handler step) failed.
    bool Run(const std::vector<FormStep>& steps);
    bool Failed() const { return failures_ > 0; }

private:
    bool RunStep(const FormStep& step, EventRecord* event, const std::string& indent);
    bool Resolve(const Argument& arg, EventRecord* event, Variant& value, std::string& error);
    // Walks the path up to its last member; the result is that member's call.
    CallResult Apply(const FormStep& step, EventRecord* event, WORD flags, std::vector<Variant> lastArgs,
                     std::string& target, std::string& error);
    bool Wait(const FormStep& step, const std::string& indent);
    void OnEvent(EventRecord& event);
    void Print(const std::string& line);

    Host& host_;
    Output out_;
    std::mutex outMutex_;
    std::vector<FormHandler> handlers_;
    std::map<std::wstring, size_t> waited_;  // control.event -> events already waited for
    std::unique_ptr<BoxAnswerer> boxes_;
    int failures_ = 0;
};

// A value as a step's report shows it.
std::string ShowValue(const Variant& v);

}  // namespace container
