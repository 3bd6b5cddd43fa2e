#include "Dialogs.h"
#include "ProcessState.h"
#include "resource.h"
#include <cstdio>

namespace qnav {

std::string FileSizeText(unsigned long textSize, unsigned long diskSize) {
    char buf[96];
    int n = std::snprintf(buf, sizeof buf, "%lu %s", textSize, textSize == 1 ? "byte" : "bytes");
    if (diskSize != 0 && diskSize != textSize && n > 0)
        std::snprintf(buf + n, sizeof buf - static_cast<std::size_t>(n), "  (%lu %s)", diskSize, "on disk");
    return buf;
}

std::string ShortenPath(HDC dc, const std::string& path, int width) {
    auto fits = [&](const std::string& s) {
        SIZE size{};
        return GetTextExtentPoint32A(dc, s.c_str(), static_cast<int>(s.size()), &size) && size.cx <= width;
    };
    if (fits(path)) return path;
    const std::size_t root = path.size() > 2 && path[1] == ':' ? 2 : 0;
    const std::string drive = path.substr(0, root);
    std::string best = drive + "\\...";
    for (std::size_t cut = path.find_last_of("\\/"); cut != std::string::npos && cut > root;
         cut = path.find_last_of("\\/", cut - 1)) {
        const std::string candidate = drive + "\\..." + path.substr(cut);
        if (!fits(candidate)) break;
        best = candidate;
    }
    if (best == drive + "\\...") best += path.substr(path.find_last_of("\\/") == std::string::npos ? 0 : path.find_last_of("\\/"));
    return best;
}

void CenterWindow(HWND w, HWND over) {
    RECT r, area;
    GetWindowRect(w, &r);
    if (over) GetWindowRect(over, &area);
    else area = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const int x = area.left + ((area.right - area.left) - (r.right - r.left)) / 2;
    const int y = area.top + ((area.bottom - area.top) - (r.bottom - r.top)) / 2;
    SetWindowPos(w, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

FileInfoDialog::FileInfoDialog(FileFacts facts) : fw::Dialog(g_process.instance, IDD_FILEINFO), facts_(std::move(facts)) {}

BOOL FileInfoDialog::OnInitDialog() {
    if (HWND pathField = Item(IDC_INFO_PATH)) {
        RECT rc;
        GetClientRect(pathField, &rc);
        HDC dc = GetDC(pathField);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(pathField, WM_GETFONT, 0, 0)));
        SetItemText(IDC_INFO_PATH, ShortenPath(dc, facts_.path, rc.right));
        SelectObject(dc, old);
        ReleaseDC(pathField, dc);
    }
    SetItemText(IDC_INFO_SIZE, FileSizeText(facts_.textSize, facts_.diskSize));
    if (facts_.lines && facts_.textSize) SetItemText(IDC_INFO_LINES, std::to_string(facts_.lines));
    SetItemText(IDC_INFO_CHANGED, facts_.lastChange);
    CenterWindow(Handle(), GetParent(Handle()));
    return TRUE;
}

INT_PTR FileInfoDialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        OnPaint();
        return TRUE;
    }
    return fw::Dialog::OnMessage(msg, wp, lp);
}

// A line under the path.
void FileInfoDialog::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    RECT field;
    if (HWND pathField = Item(IDC_INFO_PATH)) {
        GetWindowRect(pathField, &field);
        MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&field), 2);
        MoveToEx(dc, field.left, field.bottom + 2, nullptr);
        LineTo(dc, field.right, field.bottom + 2);
    }
    EndPaint(Handle(), &ps);
}

FirstUseHintDialog::FirstUseHintDialog() : fw::Dialog(g_process.instance, IDD_FIRSTUSE) {}

BOOL FirstUseHintDialog::OnInitDialog() {
    CenterWindow(Handle(), nullptr);
    return TRUE;
}

void ShowFirstUseHint(HWND owner) {
    FirstUseHintDialog hint;
    hint.DoModal(owner);
}

}  // namespace qnav
