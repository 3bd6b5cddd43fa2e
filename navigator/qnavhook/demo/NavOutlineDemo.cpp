// The navigator's main job on a file of the user's choice:
//   navoutline.exe <4|2> <source file> <entry text> [screenshot folder]
// starts the stand-in IDE of that kind on the file, attaches the hook library,
// opens the outline list at the view (Ctrl+Alt+G), prints its entries in list
// order, chooses the entry with the given text and prints where the caret
// went; then opens the full popup menu (Ctrl+Alt+S) and prints its entries.
// With a display (Xvfb), the open list and the open menu are saved as PNG
// files in the screenshot folder and their paths printed.
#include <windows.h>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include "DocKind.h"
#include "IdeProcess.h"
#include "QuorvaneProtocol.h"
#include "ScanDocument.h"
#include "SettingsFile.h"
#include "TextLineSource.h"
#include "fw/Handle.h"
#include "fw/testing/CopyDataReceiver.h"

namespace {

using fw::testing::WaitUntil;
using ide::testing::IdeProcess;
using ide::testing::Query;

using QuorvaneProcFn = LRESULT(WINAPI*)(UINT, HWND, WPARAM, LPARAM, LPARAM);

struct Items final : qv::ItemSink {
    std::vector<qv::OutlineItem> all;
    void AddItem(const qv::OutlineItem& item) override { all.push_back(item); }
};

// --- a PNG of the screen: stored (uncompressed) deflate blocks, enough here.
std::uint32_t Crc(const std::uint8_t* p, std::size_t n, std::uint32_t c = 0xFFFFFFFFu) {
    for (std::size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return c;
}

void Put32(std::vector<std::uint8_t>& v, std::uint32_t x) {
    for (int s = 24; s >= 0; s -= 8) v.push_back(static_cast<std::uint8_t>(x >> s));
}

void Chunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data) {
    Put32(out, static_cast<std::uint32_t>(data.size()));
    std::vector<std::uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    Put32(out, Crc(body.data(), body.size()) ^ 0xFFFFFFFFu);
}

bool SaveScreenPng(const std::string& path) {
    // The windows were just shown: give the IDE and the X server time to paint.
    fw::testing::PumpFor(800);
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    fw::Bitmap bmp(CreateCompatibleBitmap(screen, w, h));
    HGDIOBJ old = SelectObject(mem, bmp.Get());
    BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<std::uint8_t> bgra(static_cast<std::size_t>(w) * h * 4);
    const int got = GetDIBits(mem, bmp.Get(), 0, static_cast<UINT>(h), bgra.data(), &bi, DIB_RGB_COLORS);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    if (got != h) return false;

    std::vector<std::uint8_t> raw;
    for (int y = 0; y < h; ++y) {
        raw.push_back(0);
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* p = &bgra[(static_cast<std::size_t>(y) * w + x) * 4];
            raw.insert(raw.end(), {p[2], p[1], p[0]});
        }
    }
    std::vector<std::uint8_t> z = {0x78, 0x01};
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t c : raw) { a = (a + c) % 65521; b = (b + a) % 65521; }
    for (std::size_t at = 0; at < raw.size() || at == 0;) {
        const std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
        z.push_back(at + n == raw.size() ? 1 : 0);
        z.insert(z.end(), {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
                           static_cast<std::uint8_t>(~n), static_cast<std::uint8_t>(~n >> 8)});
        z.insert(z.end(), raw.begin() + static_cast<long>(at), raw.begin() + static_cast<long>(at + n));
        at += n;
        if (n == 0) break;
    }
    Put32(z, (b << 16) | a);
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<std::uint8_t> ihdr;
    Put32(ihdr, static_cast<std::uint32_t>(w));
    Put32(ihdr, static_cast<std::uint32_t>(h));
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
    Chunk(png, "IHDR", ihdr);
    Chunk(png, "IDAT", z);
    Chunk(png, "IEND", {});
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    return static_cast<bool>(f);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

HWND VisibleList(DWORD pid) {
    for (HWND w : fw::testing::TopLevelWindows(pid, "QuorvaneList"))
        if (IsWindowVisible(w)) return w;
    return nullptr;
}

// Ctrl+Alt+key; the keys are let go by a posted request, which cannot
// overtake the posted key as a sent one could.
void HoldAndPress(HWND view, WPARAM key) {
    static const UINT query = RegisterWindowMessageA(ide::kQueryMessageName);
    Query(view, ide::kQueryHoldKeys, ide::kHoldCtrl | ide::kHoldAlt);
    PostMessageA(view, WM_KEYDOWN, key, 1);
    PostMessageA(view, query, ide::kQueryHoldKeys, 0);
}

std::string Selected(HWND view) {
    std::string text(static_cast<std::size_t>(SendMessageA(view, WM_GETTEXTLENGTH, 0, 0)) + 1, '\0');
    text.resize(static_cast<std::size_t>(SendMessageA(view, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    std::vector<std::string> lines(1);
    for (char c : text) {
        if (c == '\r') continue;
        if (c == '\n') lines.emplace_back();
        else lines.back() += c;
    }
    const auto l1 = static_cast<std::size_t>(Query(view, ide::kQuerySelStartLine));
    const auto c1 = static_cast<std::size_t>(Query(view, ide::kQuerySelStartColumn));
    const auto l2 = static_cast<std::size_t>(Query(view, ide::kQuerySelEndLine));
    const auto c2 = static_cast<std::size_t>(Query(view, ide::kQuerySelEndColumn));
    if (l1 != l2 || l1 >= lines.size() || c2 < c1) return {};
    return lines[l1].substr(c1, c2 - c1);
}

int Run(int kind, const std::string& file, const std::string& wanted, const std::string& shots) {
    fw::Module lib(LoadLibraryA("qnavhook.dll"));
    auto proc = lib ? fw::ProcAddress<QuorvaneProcFn>(lib.Get(), "_QuorvaneProc@20") : nullptr;
    if (!proc) { std::printf("the hook library cannot be loaded\n"); return 1; }
    // The probe reports the menu here; it also stands as the control window.
    fw::testing::CopyDataReceiver reply("QvMenuReply");
    const HWND control = reply.Window();
    qnav::HookSettings settings{};
    qnav::SettingsFile(GetModuleHandleA(nullptr)).Load(settings);
    settings.FirstCall = 0;
    for (auto& m : settings.Menu) m.enabled = 1;

    IdeProcess ide("/kind:" + std::to_string(kind) + " \"" + file + "\"");
    HWND frame = ide.MainWindow();
    if (!frame) { std::printf("the stand-in IDE did not start\n"); return 1; }
    proc(qnav::QP_INSTALLSHELLHOOK, control, 0, 0, 0);
    proc(qnav::QP_ATTACHALL, nullptr, 0, reinterpret_cast<LPARAM>(&settings), 0);
    HWND view = reinterpret_cast<HWND>(Query(frame, ide::kQueryActiveView));
    if (!view || !WaitUntil([&] { return GetPropA(view, "QuorvaneOldProc") != nullptr; })) {
        std::printf("the navigator did not attach\n");
        return 1;
    }
    std::printf("attached to the stand-in %s with %s\n", kind == 2 ? "Visual C++ 2.x" : "Developer Studio", file.c_str());

    // The entries as the scanner reports them; the list box holds their indices.
    const std::string text = ReadFile(file);
    qv::ScanOptions options;
    options.linesCarryNewline = kind == 4;
    qv::TextLineSource lines(text, options.linesCarryNewline ? qv::LineConvention::OwnNewline : qv::LineConvention::NoNewline);
    Items items;
    qv::ScanDocument(qv::DocKindOf(file), lines, items, options);

    Query(view, ide::kQueryTakeFocus);
    HoldAndPress(view, 'G');
    HWND list = nullptr;
    if (!WaitUntil([&] { return (list = VisibleList(ide.Id())) != nullptr; })) {
        std::printf("no outline list opened (the document has no items)\n");
    } else {
        HWND box = GetDlgItem(list, 100);
        const int count = static_cast<int>(SendMessageA(box, LB_GETCOUNT, 0, 0));
        std::printf("outline list: %d entries (line, category, qualifier, text)\n", count);
        int chosen = -1;
        for (int i = 0; i < count; ++i) {
            const auto e = static_cast<std::size_t>(SendMessageA(box, LB_GETITEMDATA, i, 0));
            if (e >= items.all.size()) continue;
            const qv::OutlineItem& it = items.all[e];
            std::printf("  %5u  %2u  %-16s %s\n", it.line, it.category, it.qualifier, it.text);
            if (chosen < 0 && wanted == it.text) chosen = i;
        }
        if (!shots.empty() && GetEnvironmentVariableA("DISPLAY", nullptr, 0)) {
            const std::string png = shots + "\\outline-list-kind" + std::to_string(kind) + ".png";
            if (SaveScreenPng(png)) std::printf("screenshot of the list: %s\n", png.c_str());
        }
        if (chosen < 0) {
            std::printf("no entry reads \"%s\"\n", wanted.c_str());
            PostMessageA(box, WM_KEYDOWN, VK_ESCAPE, 1);
        } else {
            SendMessageA(box, LB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
            PostMessageA(box, WM_KEYDOWN, VK_RETURN, 1);
            WaitUntil([&] { return !VisibleList(ide.Id()) && Selected(view) == wanted; }, 5000);
            std::printf("chose \"%s\": caret at line %ld, column %ld (1-based), selection \"%s\", top line %ld\n",
                        wanted.c_str(), static_cast<long>(Query(view, ide::kQueryCaretLine)) + 1,
                        static_cast<long>(Query(view, ide::kQueryCaretColumn)) + 1, Selected(view).c_str(),
                        static_cast<long>(Query(view, ide::kQueryTopLine)) + 1);
        }
    }

    // The full menu, read inside the IDE by the menu probe.
    fw::Module probe(LoadLibraryA("menuprobe.dll"));
    auto probeProc = probe ? fw::ProcAddress<HOOKPROC>(probe.Get(), "MenuProbeHook@12") : nullptr;
    fw::Hook hook(probeProc ? SetWindowsHookExA(WH_CALLWNDPROC, probeProc, probe.Get(),
                                                GetWindowThreadProcessId(frame, nullptr)) : nullptr);
    if (hook) {
        SetPropA(control, "QvKeepMenu", reinterpret_cast<HANDLE>(1));
        Query(view, ide::kQueryTakeFocus);
        HoldAndPress(view, 'S');
        if (!reply.Wait(10000).empty()) {
            std::printf("navigator menu (Ctrl+Alt+S): depth|id|state|text\n");
            std::istringstream in(reply.Report());
            for (std::string l; std::getline(in, l);) {
                for (std::size_t t; (t = l.find('\t')) != std::string::npos;) l.replace(t, 1, "    ");
                std::printf("  %s\n", l.c_str());
            }
            // The report comes as the menu starts; the shot waits for its window.
            WaitUntil([&] {
                for (HWND w : fw::testing::TopLevelWindows(ide.Id(), "#32768"))
                    if (IsWindowVisible(w)) return true;
                return false;
            }, 5000);
            if (!shots.empty() && GetEnvironmentVariableA("DISPLAY", nullptr, 0)) {
                const std::string png = shots + "\\popup-menu-kind" + std::to_string(kind) + ".png";
                if (SaveScreenPng(png)) std::printf("screenshot of the menu: %s\n", png.c_str());
            }
        }
        PostMessageA(GetParent(GetParent(view)), WM_KEYDOWN, VK_ESCAPE, 1);
        RemovePropA(control, "QvKeepMenu");
    }
    proc(qnav::QP_DETACHALL, nullptr, 0, 0, 0);
    proc(qnav::QP_REMOVEALLHOOKS, nullptr, 0, 0, 0);
    std::printf("detached; the IDE runs its own procedures again: %s\n",
                Query(frame, ide::kQueryProcsOriginal) == 1 ? "yes" : "no");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::printf("usage: navoutline <4|2> <source file> <entry text> [screenshot folder]\n");
        return 2;
    }
    char full[MAX_PATH];
    if (!GetFullPathNameA(argv[2], sizeof full, full, nullptr)) return 2;
    return Run(std::atoi(argv[1]) == 2 ? 2 : 4, full, argv[3], argc > 4 ? argv[4] : "");
}
