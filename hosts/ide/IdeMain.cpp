// The stand-in IDE. Command line (options first, then files to open):
//   /kind:4 | /kind:2      which IDE to play (default 4)
//   /title:TEXT /class:NAME main window title and class instead of the kind's
//   /frames:N              N main windows in this process (files open in the first)
//   /project:PATH          an open project (workspace) document
//   /app:absent|badname|badtemplates   a missing or damaged application object
//   /peekfirst             the message loop peeks at each message before it gets it
//   /split                 editor panes carry a second, decoy vertical scroll bar
//   /nohbar                the horizontal scroll bar of editor panes is hidden
//   /browse:PATH           a browse window for PATH (a document without text)
//   /register [/version:V] [/includes:DIRS] [/undo:N]   write the kind's registry keys and exit
#include "AppObject.h"
#include "IdeControl.h"
#include "IdeKind.h"
#include "MainFrame.h"
#include "fw/Handle.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace {

struct Options {
    int kind = 4;
    std::string title, className, project, version, includes, undo = "64000";
    ide::AppMode app = ide::AppMode::Normal;
    int frames = 1;
    bool registerOnly = false;
    bool peekFirst = false;
    ide::Application::PaneOptions pane;
    std::vector<std::string> files, browse;
};

Options Parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](const char* name) -> const char* {
            const std::size_t n = std::strlen(name);
            return a.compare(0, n, name) == 0 ? a.c_str() + n : nullptr;
        };
        if (const char* v = value("/kind:")) o.kind = std::atoi(v) == 2 ? 2 : 4;
        else if (const char* v = value("/title:")) o.title = v;
        else if (const char* v = value("/class:")) o.className = v;
        else if (const char* v = value("/frames:")) o.frames = std::max(1, std::atoi(v));
        else if (const char* v = value("/project:")) o.project = v;
        else if (const char* v = value("/version:")) o.version = v;
        else if (const char* v = value("/includes:")) o.includes = v;
        else if (const char* v = value("/undo:")) o.undo = v;
        else if (const char* v = value("/browse:")) o.browse.push_back(v);
        else if (const char* v = value("/app:")) {
            const std::string m = v;
            o.app = m == "absent" ? ide::AppMode::Absent
                  : m == "badname" ? ide::AppMode::BadName
                  : m == "badtemplates" ? ide::AppMode::BadTemplates : ide::AppMode::Normal;
        } else if (a == "/register") o.registerOnly = true;
        else if (a == "/peekfirst") o.peekFirst = true;
        else if (a == "/split") o.pane.split = true;
        else if (a == "/nohbar") o.pane.hideHorizontal = true;
        else o.files.push_back(a);
    }
    return o;
}

bool WriteValue(const std::string& key, const char* name, const std::string& value) {
    fw::RegKey k;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, k.Put(), nullptr))
        return false;
    return RegSetValueExA(k.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

int Register(const Options& o) {
    const ide::KindNames& n = ide::NamesOf(o.kind);
    const std::string root = n.registryRoot;
    bool ok = WriteValue(root + "\\General", "Version", o.version.empty() ? n.version : o.version);
    ok &= WriteValue(root + "\\" + n.includeKey, "Include Dirs", o.includes);
    ok &= WriteValue(root + "\\Text Editor", "UndoRedoSize", o.undo);
    return ok ? 0 : 1;
}

struct AccelDeleter {
    void operator()(HACCEL a) const { DestroyAcceleratorTable(a); }
};
using Accelerators = std::unique_ptr<std::remove_pointer_t<HACCEL>, AccelDeleter>;

// Only the kind 4 IDE has the accelerator the navigator forwards to its list.
Accelerators MakeAccelerators(int kind) {
    if (kind != 4) return nullptr;
    ACCEL list{FVIRTKEY | FCONTROL, static_cast<WORD>(ide::kListAcceleratorKey),
               static_cast<WORD>(ide::kCmdListAccelerator)};
    return Accelerators(CreateAcceleratorTableA(&list, 1));
}

}  // namespace

int main(int argc, char** argv) {
    const Options o = Parse(argc, argv);
    if (o.registerOnly) return Register(o);

    ide::Application& app = ide::Application::Instance();
    if (!app.Install(o.kind, o.app)) {
        std::fprintf(stderr, "ide: the application object is not at its documented place\n");
        return 3;
    }
    if (!o.project.empty()) app.OpenProject(o.project);
    app.SetPaneOptions(o.pane);

    const ide::KindNames& n = ide::NamesOf(o.kind);
    const std::string cls = o.className.empty() ? n.frameClass : o.className;
    const std::string title = o.title.empty() ? std::string(n.title) : o.title;
    std::vector<std::unique_ptr<ide::MainFrame>> frames;
    for (int i = 0; i < o.frames; ++i) {
        auto f = std::make_unique<ide::MainFrame>();
        if (!f->Create(cls.c_str(), title.c_str())) {
            std::fprintf(stderr, "ide: cannot create the main window\n");
            return 4;
        }
        frames.push_back(std::move(f));
    }
    for (const std::string& file : o.files)
        if (!frames.front()->OpenFile(file)) std::fprintf(stderr, "ide: cannot open %s\n", file.c_str());
    for (const std::string& file : o.browse)
        if (!frames.front()->OpenFile(file, ide::Content::Browse))
            std::fprintf(stderr, "ide: cannot browse %s\n", file.c_str());
    const Accelerators accelerators = MakeAccelerators(o.kind);
    // Keys of the thread's other windows (the navigator's list among them)
    // go to the first main window, as the IDE's own loop sends them.
    auto frameOf = [&frames](HWND w) {
        for (auto& f : frames)
            if (f->Handle() && (w == f->Handle() || IsChild(f->Handle(), w))) return f->Handle();
        return frames.front()->Handle();
    };

    // Some IDE loops look at a message (PM_NOREMOVE) before they take it;
    // message hooks then see it twice.
    auto next = [&o](MSG& msg) {
        if (o.peekFirst)
            while (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) WaitMessage();
        return GetMessageA(&msg, nullptr, 0, 0) > 0;
    };
    MSG msg;
    while (next(msg)) {
        bool handled = false;
        for (auto& f : frames)
            if (f->Handle() && TranslateMDISysAccel(f->MdiClient(), &msg)) { handled = true; break; }
        if (handled) continue;
        if (accelerators) {
            HWND target = frameOf(msg.hwnd);
            if (target && TranslateAcceleratorA(target, accelerators.get(), &msg)) continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
