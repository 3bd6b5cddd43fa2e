// Demo: a form with a Frame, a LineGroup on lines 1-2, a User control whose
// Enter handler chooses exit 0 and an OnHook saying goodbye from a wave file
// answers scripted callers on the simulated card: two callers on line 1, an
// early hang-up on line 2. Prints the host's events as they arrive, the
// card's journal and each line's channel log through log_to_text. KVO32.INI
// is changed for the run only. Given a folder, it saves a picture of the
// line status window there as line 1's first call ends.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "BesideOcx.h"
#include "VoiceWave.h"
#include "Container.h"
#include "fw/Handle.h"
#include "fw/ModulePath.h"
#include "fw/ole/Text.h"

namespace {

using container::Variant;

constexpr char kIni[] = "KVO32.INI";

// Keeps a KVO32.INI value and puts it back afterwards.
class IniValue {
public:
    IniValue(const char* section, const char* key, const char* value) : section_(section), key_(key) {
        char buf[260];
        had_ = GetPrivateProfileStringA(section, key, "\x01", buf, sizeof buf, kIni) != 1 || buf[0] != '\x01';
        old_ = buf;
        WritePrivateProfileStringA(section, key, value, kIni);
    }
    ~IniValue() { WritePrivateProfileStringA(section_, key_, had_ ? old_.c_str() : nullptr, kIni); }
    IniValue(const IniValue&) = delete;
    IniValue& operator=(const IniValue&) = delete;

private:
    const char* section_;
    const char* key_;
    std::string old_;
    bool had_ = false;
};

void Write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

void Print(const std::string& path, const char* indent) {
    std::ifstream in(path);
    for (std::string l; std::getline(in, l);) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        std::printf("%s%s\n", indent, l.c_str());
    }
}

std::string ArgsText(const container::EventRecord& e) {
    std::string s;
    for (const Variant& a : e.args) s += (s.empty() ? "" : ", ") + fw::ole::Narrow(a.Str());
    return s;
}

// Lets the form's messages (and the status window's timer) run for `ms`.
void PumpFor(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    for (DWORD now = GetTickCount(); now - end > 0x80000000u; now = GetTickCount()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

// The window as it shows on the screen, as a 24-bit BMP file.
bool SaveWindowBmp(HWND window, const std::string& path) {
    RECT r;
    if (!GetWindowRect(window, &r)) return false;
    const int cx = r.right - r.left, cy = r.bottom - r.top;
    HDC source = GetWindowDC(window);
    HDC copy = CreateCompatibleDC(source);
    fw::Bitmap picture(CreateCompatibleBitmap(source, cx, cy));
    BITMAPINFOHEADER info{sizeof info, cx, cy, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const DWORD stride = (DWORD(cx) * 3 + 3) & ~3u;
    std::string bits(size_t(stride) * size_t(cy), '\0');
    int rows = 0;
    {
        fw::SelectObjectScope select(copy, picture.Get());
        BitBlt(copy, 0, 0, cx, cy, source, 0, 0, SRCCOPY);
    }
    rows = GetDIBits(copy, picture.Get(), 0, UINT(cy), bits.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    DeleteDC(copy);
    ReleaseDC(window, source);
    if (rows != cy) return false;
    BITMAPFILEHEADER file{0x4D42, DWORD(sizeof(BITMAPFILEHEADER) + sizeof info + bits.size()), 0, 0,
                          DWORD(sizeof(BITMAPFILEHEADER) + sizeof info)};
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(bits.data(), std::streamsize(bits.size()));
    return bool(out);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string shots = argc > 1 ? argv[1] : "";
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string dir = std::string(temp) + "kvocallsdemo\\";
    CreateDirectoryA(dir.c_str(), nullptr);
    Write(dir + "calls.scn",
          "channels 2\nspeed 20\n"
          "line 0\ncall ring 200\nhangup 60000\ncall ring 200\nhangup 60000\n"
          "line 1\ncall ring 300\nhangup 0\n");
    DeleteFileA((dir + "calls.log").c_str());
    // Logs of earlier runs the same day would be printed too.
    WIN32_FIND_DATAA old;
    for (fw::FindHandle f(FindFirstFileA((dir + "*.vlg").c_str(), &old)); f && DeleteFileA((dir + old.cFileName).c_str());)
        if (!FindNextFileA(f.Get(), &old)) break;
    Write(dir + "bye.wav", kvo_test::VoiceWave(1600));
    SetEnvironmentVariableA("KVORHT32_SCENARIO", (dir + "calls.scn").c_str());
    SetEnvironmentVariableA("KVORHT32_JOURNAL", (dir + "calls.log").c_str());
    IniValue card("VoiceCard", "Type", "RHETOREX"), logs("System", "Logs", "1"), box("System", "ShowDialog", "0");

    OleInitialize(nullptr);
    const fw::Module ocx = kvo_test::LoadRegisteredOcx();
    if (!ocx.Get()) {
        std::printf("kvo32.ocx cannot be registered\n");
        return 1;
    }
    int result = 1;
    {
        container::Host host;
        host.Create();
        const DWORD uiThread = GetCurrentThreadId();
        host.Add(L"Zentrovo.FrameCtrl.1", L"Frame1");
        host.Add(L"Zentrovo.LineGroupCtrl.1", L"LineGroup1");
        host.Add(L"Zentrovo.UserCtrl.1", L"User1");
        host.Add(L"Zentrovo.OnHookCtrl.1", L"OnHook1");
        host.Find(L"Frame1")->Put(L"LogDirectory", Variant(fw::ole::Widen(dir)));
        host.Find(L"LineGroup1")->Put(L"LinesInGroup", Variant(std::wstring(L"1-2")));
        auto connect = [&](const wchar_t* from, short node, const wchar_t* to) {
            const long id = host.Find(to)->Get(L"BlockID").value.Long();
            host.Find(from)->Call(L"SetBlockPtr", {Variant(node), Variant(id), Variant(0L), Variant(1L)});
        };
        connect(L"LineGroup1", 1, L"User1");
        connect(L"User1", 0, L"OnHook1");
        std::vector<Variant> insert{Variant(short(-1)), Variant(fw::ole::Widen(dir + "bye.wav"))};
        container::CallResult greeting = host.Find(L"OnHook1")->Get(L"EntryGreeting");
        if (greeting.value.Type() == VT_DISPATCH)
            container::InvokeMember(greeting.value.Get()->pdispVal, L"InsertFile", DISPATCH_METHOD, insert);

        bool shot = false;
        host.OnEvent([&](container::EventRecord& e) {
            std::printf("event %s.%s(%s)%s\n", container::ToUtf8(e.control).c_str(), container::ToUtf8(e.event).c_str(),
                        ArgsText(e).c_str(), e.threadId == uiThread ? "" : " [not on the form's thread]");
            if (e.control == L"LineGroup1" && e.event == L"PreDisc" && e.args[0].Long() == 1 && !shots.empty() &&
                !shot) {
                // The status window refreshes on its own timer, once a second.
                shot = true;
                PumpFor(1500);
                const std::string bmp = shots + "\\line-status.bmp";
                if (HWND window = FindWindowA("KvoLineStatusWindow", nullptr); window && SaveWindowBmp(window, bmp))
                    std::printf("picture of the line status window: %s\n", bmp.c_str());
            }
            if (e.control == L"User1" && e.event == L"Enter") {
                std::vector<Variant> gotoNode{Variant(short(e.args[0].Long())), Variant(short(0))};
                host.Find(L"User1")->Invoke(L"GotoNode", DISPATCH_PROPERTYPUT, gotoNode);
            }
        });
        auto disconnects = [&] {
            size_t n = 0;
            for (const auto& e : host.Events()) n += e.control == L"LineGroup1" && e.event == L"Disconnect";
            return n;
        };
        // With a folder for pictures the line status window is shown too.
        const short showStatus = shots.empty() ? 0 : -1;
        container::CallResult start = host.Find(L"Frame1")->Call(L"StartSystem", {Variant(showStatus)});
        std::printf("StartSystem %d: %s\n", showStatus, start.Ok() ? "started" : container::ToUtf8(start.description).c_str());
        const bool calls = start.Ok() && host.PumpUntil([&] { return disconnects() >= 3; }, 30000);
        bool stopped = false;
        host.PumpUntil(
            [&] { return stopped = host.Find(L"Frame1")->Call(L"StopSystem", {Variant(short(0))}).value.Long() != 0; },
            20000);
        std::printf("StopSystem 0: %s\n", stopped ? "stopped" : "still stopping");
        host.Clear();
        result = calls && stopped ? 0 : 1;
    }
    std::printf("voice card journal:\n");
    Print(dir + "calls.log", "  ");
    auto toText = fw::ProcAddress<short(__stdcall*)(long, const char*, const char*)>(ocx.Get(), "log_to_text");
    WIN32_FIND_DATAA found;
    fw::FindHandle find(FindFirstFileA((dir + "*.vlg").c_str(), &found));
    for (long line = 0; find && toText && line < 2; ++line) {
        std::printf("channel log, line %ld:\n", line + 1);
        if (toText(line, (dir + found.cFileName).c_str(), (dir + "log.txt").c_str()) == 0) Print(dir + "log.txt", "  ");
    }
    OleUninitialize();
    return result;
}
