// container.exe: loads a form file into the stand-in container, shows the
// form, runs its steps and handlers and prints what the controls answered,
// every event they fired and every dialog box they showed.
//
//   container [/register <library>]... [/design] [/hidden] [/save <file>] <form file>
#include <windows.h>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include "Container.h"
#include "Script.h"
#include "fw/Handle.h"
#include "fw/ole/Text.h"

namespace {

constexpr char kUsage[] = "usage: container [/register <library>]... [/design] [/hidden] [/save <file>] <form file>\n";

void PrintLine(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
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

bool ReadForm(const std::string& path, container::Form& form) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::printf("cannot open %s\n", path.c_str());
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    if (container::ParseError e = container::ParseForm(text.str(), form)) {
        std::printf("%s:%d: %s\n", path.c_str(), e.line, e.message.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> libraries;
    std::string formPath, savePath;
    bool design = false, hidden = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if ((arg == "/register" || arg == "/save") && i + 1 < argc)
            (arg == "/register" ? libraries.emplace_back() : savePath) = argv[++i];
        else if (arg == "/design")
            design = true;
        else if (arg == "/hidden")
            hidden = true;
        else if (formPath.empty() && arg[0] != '/')
            formPath = arg;
        else {
            std::printf("%s", kUsage);
            return 2;
        }
    }
    if (formPath.empty()) {
        std::printf("%s", kUsage);
        return 2;
    }
    if (FAILED(OleInitialize(nullptr))) return 1;
    int rc = 0;
    {
        for (const std::string& library : libraries)
            if (!RegisterLibrary(library)) rc = 1;
        container::Form form;
        if (rc == 0 && !ReadForm(formPath, form)) rc = 1;
        container::Host host;
        host.SetUserMode(!design);
        container::Script script(host, PrintLine);
        if (rc == 0 && !host.Create()) {
            std::printf("cannot make the form window\n");
            rc = 1;
        }
        if (rc == 0) {
            script.Attach(form);
            if (HRESULT hr = host.Load(form); FAILED(hr)) {
                std::printf("cannot create the form's controls: 0x%08lX\n", static_cast<unsigned long>(hr));
                rc = 1;
            }
        }
        if (rc == 0 && !hidden) {
            const size_t slash = formPath.find_last_of("\\/");
            SetWindowTextA(host.Handle(), formPath.substr(slash == std::string::npos ? 0 : slash + 1).c_str());
            host.Show();
        }
        if (rc == 0 && !script.Run(form.steps)) rc = 1;
        std::string error;
        if (rc == 0 && !savePath.empty() && !host.SaveFile(fw::ole::Widen(savePath), error)) {
            std::printf("%s\n", error.c_str());
            rc = 1;
        }
        host.Clear();  // controls close while the script still reports
    }
    OleUninitialize();
    return rc;
}
