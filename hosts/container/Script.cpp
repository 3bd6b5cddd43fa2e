// The container's steps and handlers, and the dialog-box watcher.
#include "Script.h"
#include <algorithm>
#include "fw/Wait.h"
#include "fw/Window.h"

namespace container {

// --- dialog and message boxes ------------------------------------------------

namespace {

constexpr DWORD kBoxPollMs = 50;

struct ButtonName {
    const char* name;
    int id;
};
constexpr ButtonName kButtons[] = {{"OK", IDOK}, {"Cancel", IDCANCEL}, {"Yes", IDYES}, {"No", IDNO}};

bool IsBoxOfThisProcess(HWND hwnd) {
    char cls[16];
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return pid == GetCurrentProcessId() && IsWindowVisible(hwnd) && GetClassNameA(hwnd, cls, sizeof cls) &&
           std::string(cls) == "#32770";
}

BOOL CALLBACK CollectBox(HWND hwnd, LPARAM list) {
    if (IsBoxOfThisProcess(hwnd)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}

// The texts a box shows: its static controls, in order.
std::string BoxText(HWND box) {
    std::string text;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char cls[16];
        if (!GetClassNameA(child, cls, sizeof cls) || _stricmp(cls, "Static") != 0) continue;
        const std::string part = fw::WindowText(child);
        if (!part.empty()) text += (text.empty() ? "" : " ") + part;
    }
    return text;
}

HWND FindChildOfClass(HWND box, const char* wanted) {
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char cls[16];
        if (GetClassNameA(child, cls, sizeof cls) && _stricmp(cls, wanted) == 0) return child;
    }
    return nullptr;
}

void Press(HWND box, int id) {
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
}

}  // namespace

BoxAnswerer::BoxAnswerer(Report report)
    : report_(std::move(report)), stop_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    thread_.Reset(CreateThread(nullptr, 0, &BoxAnswerer::ThreadMain, this, 0, nullptr));
}

BoxAnswerer::~BoxAnswerer() {
    SetEvent(stop_.Get());
    // The watcher may be sending text to a box of this thread.
    if (thread_) fw::WaitLettingSentMessagesThrough(thread_.Get(), INFINITE);
}

void BoxAnswerer::Answer(const std::string& title, const std::string& answer, bool button) {
    std::lock_guard<std::mutex> lock(mutex_);
    answers_[title] = {answer, button};
}

int BoxAnswerer::Seen() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
}

DWORD WINAPI BoxAnswerer::ThreadMain(void* self) {
    static_cast<BoxAnswerer*>(self)->Watch();
    return 0;
}

void BoxAnswerer::Watch() {
    while (WaitForSingleObject(stop_.Get(), kBoxPollMs) == WAIT_TIMEOUT) {
        std::vector<HWND> boxes;
        EnumWindows(&CollectBox, reinterpret_cast<LPARAM>(&boxes));
        handled_.erase(std::remove_if(handled_.begin(), handled_.end(), [](HWND h) { return !IsWindow(h); }),
                       handled_.end());
        for (HWND box : boxes)
            if (std::find(handled_.begin(), handled_.end(), box) == handled_.end()) Handle(box);
    }
}

void BoxAnswerer::Handle(HWND box) {
    handled_.push_back(box);
    const std::string title = fw::WindowText(box);
    std::pair<std::string, bool> answer{"Cancel", true};
    bool answered = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++seen_;
        auto it = answers_.find(title);
        if (it != answers_.end()) {
            answer = it->second;
            answered = true;
        }
    }
    // Reported before it is answered: the answer ends the step that showed it.
    report_("box \"" + title + "\": " + BoxText(box) + " -> " +
            (answer.second ? answer.first + (answered ? "" : " (no answer given)") : "\"" + answer.first + "\""));
    if (answer.second) {
        for (const ButtonName& b : kButtons)
            if (answer.first == b.name) Press(box, b.id);
        return;
    }
    if (HWND edit = FindChildOfClass(box, "Edit")) {
        DWORD_PTR ignored;
        SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(answer.first.c_str()), SMTO_BLOCK, 5000,
                            &ignored);
    }
    Press(box, IDOK);
}

// --- steps -------------------------------------------------------------------

std::string ShowValue(const Variant& v) {
    if (v.Type() == VT_DISPATCH || v.Type() == VT_UNKNOWN) return "(object)";
    return v.Type() == VT_BSTR ? "\"" + ToUtf8(v.Str()) + "\"" : ToUtf8(v.Str());
}

namespace {

std::string Describe(const CallResult& r) {
    if (r.scode) return "error " + std::to_string(long(r.scode & 0xFFFF)) + ": " + ToUtf8(r.description);
    char code[16];
    wsprintfA(code, "0x%08lX", static_cast<unsigned long>(r.hr));
    return code;
}

}  // namespace

Script::Script(Host& host, Output out)
    : host_(host), out_(std::move(out)),
      boxes_(std::make_unique<BoxAnswerer>([this](const std::string& line) { Print(line); })) {}

Script::~Script() { boxes_.reset(); }

void Script::Print(const std::string& line) {
    std::lock_guard<std::mutex> lock(outMutex_);
    out_(line);
}

void Script::Attach(const Form& form) {
    handlers_ = form.handlers;
    host_.OnEvent([this](EventRecord& e) { OnEvent(e); });
}

void Script::OnEvent(EventRecord& event) {
    std::string line = "event " + ToUtf8(event.control) + "." + ToUtf8(event.event) + "(";
    for (size_t i = 0; i < event.args.size(); ++i) line += (i ? ", " : "") + ShowValue(event.args[i]);
    Print(line + ")");
    for (const FormHandler& handler : handlers_) {
        if (FromUtf8(handler.control) != event.control || FromUtf8(handler.event) != event.event) continue;
        for (const FormStep& step : handler.steps) RunStep(step, &event, "  ");
    }
}

bool Script::Run(const std::vector<FormStep>& steps) {
    for (const FormStep& step : steps)
        if (!RunStep(step, nullptr, "")) return false;
    return failures_ == 0;
}

bool Script::Resolve(const Argument& arg, EventRecord* event, Variant& value, std::string& error) {
    if (!arg.eventArg) {
        value = Variant(FromUtf8(arg.text));
        return true;
    }
    if (!event || size_t(arg.eventArg) > event->args.size()) {
        error = "no event argument $" + std::to_string(arg.eventArg);
        return false;
    }
    value = event->args[size_t(arg.eventArg) - 1];
    return true;
}

CallResult Script::Apply(const FormStep& step, EventRecord* event, WORD flags, std::vector<Variant> lastArgs,
                         std::string& target, std::string& error) {
    CallResult r;
    target = FormatPath(step.path);
    ControlSite* site = host_.Find(FromUtf8(step.path[0].name));
    if (!site) {
        error = "no control " + step.path[0].name + " on the form";
        return r;
    }
    ComPtr<IDispatch> object;
    for (size_t i = 1; i < step.path.size(); ++i) {
        std::vector<Variant> args;
        for (const Argument& a : step.path[i].args) {
            Variant v;
            if (!Resolve(a, event, v, error)) return r;
            args.push_back(v);
        }
        const bool last = i + 1 == step.path.size();
        if (last) args.insert(args.end(), lastArgs.begin(), lastArgs.end());
        const std::wstring member = FromUtf8(step.path[i].name);
        const WORD how = last ? flags : WORD(DISPATCH_PROPERTYGET);
        r = object ? InvokeMember(object.Get(), member, how, args) : site->Invoke(member, how, args);
        if (last || !r.Ok()) return r;
        if (r.value.Type() != VT_DISPATCH || !r.value.Get()->pdispVal) {
            error = FormatPath({step.path.begin(), step.path.begin() + long(i) + 1}) + " is not an object";
            return CallResult{};
        }
        object = ComPtr<IDispatch>(r.value.Get()->pdispVal);
    }
    error = "expected <control>.<member>";
    return CallResult{};
}

bool Script::Wait(const FormStep& step, const std::string& indent) {
    const std::wstring control = FromUtf8(step.path[0].name), event = FromUtf8(step.path[1].name);
    const size_t count = step.args.empty() ? 1 : size_t(std::stoul(step.args[0].text));
    const DWORD timeout = step.args.size() < 2 ? 15000 : DWORD(std::stoul(step.args[1].text));
    size_t& waited = waited_[control + L"." + event];
    auto seen = [&] {
        size_t n = 0;
        for (const EventRecord& e : host_.Events()) n += e.control == control && e.event == event;
        return n;
    };
    if (host_.PumpUntil([&] { return seen() >= waited + count; }, timeout)) {
        waited += count;
        return true;
    }
    Print(indent + "timed out waiting for " + FormatPath(step.path));
    waited = seen();
    return false;
}

bool Script::RunStep(const FormStep& step, EventRecord* event, const std::string& indent) {
    bool ok = true;
    std::string error;
    const std::string& verb = step.verb;
    if (verb == "Set" && step.path.empty()) {
        // Set $n = value: the handler's answer in a by-reference argument.
        Variant value;
        // The target first: it must name an argument of this event.
        ok = Resolve(step.args[0], event, value, error) && Resolve(step.args[1], event, value, error);
        if (ok) {
            event->args[size_t(step.args[0].eventArg) - 1] = value;
            Print(indent + "$" + std::to_string(step.args[0].eventArg) + " := " + ShowValue(value));
        }
    } else if (verb == "Set" || verb == "Get" || verb == "Call") {
        const WORD flags = verb == "Set" ? WORD(DISPATCH_PROPERTYPUT)
                                         : verb == "Get" ? WORD(DISPATCH_PROPERTYGET) : WORD(DISPATCH_METHOD);
        std::vector<Variant> args;
        for (const Argument& a : step.args) {
            Variant v;
            if (!(ok = Resolve(a, event, v, error))) break;
            args.push_back(v);
        }
        std::string target, shown;
        for (size_t i = 0; i < args.size(); ++i) shown += (i ? ", " : "") + ShowValue(args[i]);
        CallResult r;
        if (ok) r = Apply(step, event, flags, args, target, error);
        if (ok && error.empty()) {
            const std::string what = verb == "Set" ? target + " := " + shown
                                   : verb == "Call" ? target + "(" + shown + ")" : target;
            ok = r.Ok();
            if (ok)
                Print(indent + what + (r.value.Type() == VT_EMPTY ? "" : " = " + ShowValue(r.value)));
            else
                Print(indent + what + " failed: " + Describe(r));
        } else {
            ok = false;
        }
    } else if (verb == "Wait") {
        ok = Wait(step, indent);
    } else if (verb == "Verb") {
        ControlSite* site = host_.Find(FromUtf8(step.path[0].name));
        if (!site) {
            error = "no control " + step.path[0].name + " on the form";
            ok = false;
        } else {
            const HRESULT hr = site->DoVerb(std::stol(step.args[0].text));
            ok = SUCCEEDED(hr);
            Print(indent + "verb " + step.path[0].name + " " + step.args[0].text +
                  (ok ? "" : " failed: " + Describe(CallResult{hr, {}, 0, {}, {}})));
        }
    } else if (verb == "Unload") {
        if (step.path.empty()) {
            host_.Clear();
            Print(indent + "unloaded the form");
        } else if (host_.Find(FromUtf8(step.path[0].name))) {
            host_.Remove(FromUtf8(step.path[0].name));
            Print(indent + "unloaded " + step.path[0].name);
        } else {
            error = "no control " + step.path[0].name + " on the form";
            ok = false;
        }
    } else if (verb == "Break" || verb == "Continue") {
        host_.SetBreakMode(verb == "Break");
        Print(indent + (verb == "Break" ? "break mode" : "run mode, continued"));
    } else if (verb == "Mode") {
        host_.SetUserMode(step.args[0].text == "run");
        Print(indent + step.args[0].text + " mode");
    } else if (verb == "Pause") {
        host_.PumpUntil([] { return false; }, DWORD(std::stoul(step.args[0].text)));
    } else if (verb == "Answer") {
        boxes_->Answer(step.args[0].text, step.args[1].text, step.args[1].word);
    } else {
        error = "unknown step " + verb;
        ok = false;
    }
    if (!error.empty()) Print(indent + verb + ": " + error);
    if (!ok) ++failures_;
    return ok;
}

}  // namespace container
