// container.exe: loads a form file into the stand-in container, runs its
// steps and prints what the controls answered and every event they fired.
//
//   container [/register <library>]... [/design] [/save <file>] <form file>
#include <windows.h>
#include <cstdio>
#include <string>
#include <vector>
#include "Container.h"
#include "fw/Handle.h"
#include "fw/ole/Text.h"

namespace {

using container::CallResult;
using container::Host;

std::string Show(const container::Variant& v) {
    return v.Type() == VT_BSTR ? "\"" + container::ToUtf8(v.Str()) + "\"" : container::ToUtf8(v.Str());
}

void PrintEvent(const container::EventRecord& e) {
    std::string line = "event " + container::ToUtf8(e.control) + "." + container::ToUtf8(e.event) + "(";
    for (size_t i = 0; i < e.args.size(); ++i) line += (i ? ", " : "") + Show(e.args[i]);
    std::printf("%s)\n", line.c_str());
    std::fflush(stdout);
}

bool Report(const std::string& what, const CallResult& r) {
    if (r.Ok()) {
        std::printf("%s%s%s\n", what.c_str(), r.value.Type() == VT_EMPTY ? "" : " = ",
                    r.value.Type() == VT_EMPTY ? "" : Show(r.value).c_str());
    } else if (r.scode) {
        std::printf("%s failed: error %ld: %s\n", what.c_str(), long(r.scode & 0xFFFF),
                    container::ToUtf8(r.description).c_str());
    } else {
        std::printf("%s failed: 0x%08lX\n", what.c_str(), static_cast<unsigned long>(r.hr));
    }
    std::fflush(stdout);
    return r.Ok();
}

bool RegisterLibrary(const std::string& path) {
    fw::Module library(LoadLibraryA(path.c_str()));
    if (!library) {
        std::printf("cannot load %s\n", path.c_str());
        return false;
    }
    auto registerServer = fw::ProcAddress<HRESULT(STDAPICALLTYPE*)()>(library.Get(), "DllRegisterServer");
    HRESULT hr = registerServer ? registerServer() : E_NOTIMPL;
    std::printf("register %s: %s\n", path.c_str(), SUCCEEDED(hr) ? "ok" : "failed");
    return SUCCEEDED(hr);
}

// Runs one step; false when it failed.
bool RunStep(Host& host, const container::FormStep& step) {
    const std::wstring control = container::FromUtf8(step.control);
    const std::wstring member = container::FromUtf8(step.member);
    const std::string target = step.control + "." + step.member;
    container::ControlSite* site = host.Find(control);
    if (!site) {
        std::printf("%s: no control %s on the form\n", step.verb.c_str(), step.control.c_str());
        return false;
    }
    const container::Variant argument(container::FromUtf8(step.argument));
    if (step.verb == "Set") return Report(target + " := " + Show(argument), site->Put(member, argument));
    if (step.verb == "Get") return Report(target, site->Get(member));
    if (step.verb == "Call") {
        std::vector<container::Variant> args;
        if (step.hasArgument) args.push_back(argument);
        return Report(target + "(" + (step.hasArgument ? Show(argument) : "") + ")", site->Call(member, args));
    }
    // Wait: for an event of this control not yet waited for.
    static size_t consumed = 0;
    auto arrived = [&] {
        for (size_t i = consumed; i < host.Events().size(); ++i)
            if (host.Events()[i].control == control && host.Events()[i].event == member) {
                consumed = i + 1;
                return true;
            }
        return false;
    };
    if (host.PumpUntil(arrived, 15000)) return true;
    std::printf("timed out waiting for %s\n", target.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> libraries;
    std::string formPath, savePath;
    bool design = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if ((arg == "/register" || arg == "/save") && i + 1 < argc)
            (arg == "/register" ? libraries.emplace_back() : savePath) = argv[++i];
        else if (arg == "/design")
            design = true;
        else if (formPath.empty() && arg[0] != '/')
            formPath = arg;
        else {
            std::printf("usage: container [/register <library>]... [/design] [/save <file>] <form file>\n");
            return 2;
        }
    }
    if (formPath.empty()) {
        std::printf("usage: container [/register <library>]... [/design] [/save <file>] <form file>\n");
        return 2;
    }
    if (FAILED(OleInitialize(nullptr))) return 1;
    int rc = 0;
    {
        for (const std::string& library : libraries)
            if (!RegisterLibrary(library)) rc = 1;
        Host host;
        host.SetUserMode(!design);
        host.OnEvent(PrintEvent);
        container::Form form;
        std::string error;
        if (rc == 0 && (!host.Create() || !host.LoadFile(fw::ole::Widen(formPath), form, error))) {
            std::printf("%s\n", error.empty() ? "cannot make the form window" : error.c_str());
            rc = 1;
        }
        for (size_t i = 0; rc == 0 && i < form.steps.size(); ++i)
            if (!RunStep(host, form.steps[i])) rc = 1;
        if (rc == 0 && !savePath.empty() && !host.SaveFile(fw::ole::Widen(savePath), error)) {
            std::printf("%s\n", error.c_str());
            rc = 1;
        }
    }
    OleUninitialize();
    return rc;
}
