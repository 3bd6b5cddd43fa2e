#include "ChannelLogWindow.h"

#include <commdlg.h>
#include <shellapi.h>

#include <array>
#include <cstdio>

#include <fw/Handle.h>
#include <fw/ModulePath.h>

#include "ChannelLog.h"
#include "LogFile.h"
#include "LogFilterDialog.h"
#include "LogResources.h"
#include "LogRouting.h"
#include "LogSettings.h"
#include "LogText.h"

namespace kvo {
namespace {

constexpr char kClassName[] = "KvoChannelLogWindow";
constexpr char kHelpFile[] = "kvo32.hlp";
constexpr UINT kLogRecordsMessage = WM_APP + 0x40;
// Exported lines are cut like the window's own line buffer.
constexpr int kExportLineMax = 79;

// Images of IDB_LOG_ICONS, in strip order.
enum LogImage {
    kImageLine = 0,
    kImageError = 1,
    kImageExit = 2,
    kImageCall = 3,
    kImageCallError = 4,
    kImageTestSetup = 5,
    kImageErrorOverlay = 6,
    kImageControl = 7,  // control icons 0-7 follow
    kImageCount = 15,
};
constexpr int kControlIcons = kImageCount - kImageControl;
constexpr int kErrorOverlay = 1;
// Help topics of control nodes: one per control icon.
constexpr LPARAM kControlHelpBase = 7000;

std::array<ChannelLogWindow*, kMaxLogLines> g_windows{};

int ControlImage(const LogRecord& record) {
    if (record.kind == LK_TEST_CALL_SETUP) return kImageTestSetup;
    const LogArg& icon = record.args[2];
    if (icon.type == LogArgType::Number && icon.number >= 0 && icon.number < kControlIcons)
        return kImageControl + icon.number;
    return kImageControl;
}

std::string PlacementSection(int line) { return "LogChWindow" + std::to_string(line + 1); }
const char* const kPlacementKeys[4] = {"Left", "Top", "Right", "Bottom"};

}  // namespace

ChannelLogWindow::ChannelLogWindow(int line)
    : line_(line), mask_(LoadCategoryMask(ChannelWindowSection(line))) {}

ChannelLogWindow::~ChannelLogWindow() {
    if (images_) ImageList_Destroy(images_);
}

ChannelLogWindow* ChannelLogWindow::Find(int line) {
    return line >= 0 && line < kMaxLogLines ? g_windows[line] : nullptr;
}

ChannelLogWindow* ChannelLogWindow::Open(int line) {
    if (line < 0 || line >= kMaxLogLines) return nullptr;
    if (ChannelLogWindow* existing = g_windows[line]) {
        ShowWindow(existing->Handle(), SW_SHOWNORMAL);
        SetForegroundWindow(existing->Handle());
        return existing;
    }
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    HINSTANCE module = fw::ThisModule();
    if (!fw::Window::RegisterClass(module, kClassName, 0, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)))
        return nullptr;
    std::unique_ptr<ChannelLogWindow> window(new ChannelLogWindow(line));
    char title[32];
    std::snprintf(title, sizeof title, "Channel Log %i", line + 1);
    fw::OwnedMenu menu(LoadMenuA(module, MAKEINTRESOURCEA(IDR_CHANNEL_LOG_MENU)));
    if (!window->Create(module, kClassName, title, WS_OVERLAPPEDWINDOW, 0, CW_USEDEFAULT,
                        CW_USEDEFAULT, 500, 300, nullptr, menu.Get()))
        return nullptr;
    menu.Release();  // the window owns it now
    g_windows[line] = window.get();
    window->ownsSelf_ = true;
    window->RestorePlacement();
    ShowWindow(window->Handle(), SW_SHOWNORMAL);
    return window.release();
}

void ChannelLogWindow::OpenShown() {
    for (int line = 0; line < kMaxLogLines; ++line)
        if (ReadSuiteInt(ChannelWindowSection(line).c_str(), "Show", 0) == 1) Open(line);
}

void ChannelLogWindow::CloseAll() {
    for (int line = 0; line < kMaxLogLines; ++line) {
        const std::string section = ChannelWindowSection(line);
        if (g_windows[line])
            WriteSuiteString(section.c_str(), "Show", "1");
        else if (!ReadSuiteString(section.c_str(), "Show").empty())
            WriteSuiteString(section.c_str(), "Show", "0");
    }
    for (ChannelLogWindow* window : g_windows)
        if (window) window->Destroy();
}

LRESULT ChannelLogWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_SIZE:
        OnSize(LOWORD(lp), HIWORD(lp));
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wp));
        return 0;
    case kLogRecordsMessage:
        OnLogRecords();
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    default:
        return DefaultMessage(msg, wp, lp);
    }
}

bool ChannelLogWindow::OnCreate() {
    tree_ = CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                            WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_HASBUTTONS |
                                TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                            0, 0, 0, 0, Handle(), reinterpret_cast<HMENU>(IDC_LOG_TREE),
                            fw::ThisModule(), nullptr);
    if (!tree_) return false;
    images_ = ImageList_LoadImageA(fw::ThisModule(), MAKEINTRESOURCEA(IDB_LOG_ICONS), 16, 0,
                                   RGB(255, 0, 255), IMAGE_BITMAP, LR_CREATEDIBSECTION);
    if (images_) {
        ImageList_SetOverlayImage(images_, kImageErrorOverlay, kErrorOverlay);
        TreeView_SetImageList(tree_, images_, TVSIL_NORMAL);
    }
    if (!LoggingEnabled()) {
        InsertLine(TVI_ROOT, "Logging has not been enabled.  To enable logging, please", kImageError, 0);
        InsertLine(TVI_ROOT, "add \"Logs=1\" to the \"[System]\" section of the .INI file.", kImageError, 0);
    }
    inbox_ = std::make_shared<LogInbox>(Handle(), kLogRecordsMessage);
    AttachLogInbox(line_, inbox_);
    return true;
}

void ChannelLogWindow::OnSize(int cx, int cy) {
    if (tree_) MoveWindow(tree_, 0, 0, cx, cy, TRUE);
}

void ChannelLogWindow::OnDestroy() {
    if (inbox_) {
        DetachLogInbox(line_, inbox_.get());
        inbox_->Close();
    }
    if (ownsSelf_) SavePlacement();
    if (g_windows[line_] == this) g_windows[line_] = nullptr;
}

// A window that failed in WM_CREATE is still owned by Open.
void ChannelLogWindow::OnNcDestroy() {
    if (ownsSelf_) delete this;
}

void ChannelLogWindow::OnLogRecords() {
    if (!inbox_) return;
    for (const LogRecord& record : inbox_->TakeAll()) AddRecord(record);
}

void ChannelLogWindow::OnCommand(UINT id) {
    switch (id) {
    case ID_LOG_CLEAR: Clear(); break;
    case ID_LOG_FILTER: RunFilterDialog(); break;
    case ID_LOG_SAVE_TEXT: OnSaveText(); break;
    case ID_LOG_PRINT_ITEM: OnShellText("print", true); break;
    case ID_LOG_PRINT_ALL: OnShellText("print", false); break;
    case ID_LOG_EDIT_TEXT: OnShellText("open", false); break;
    case ID_LOG_LOAD_TODAY: OnLoadToday(); break;
    case ID_LOG_LOAD_PREVIOUS: OnLoadPrevious(); break;
    case ID_LOG_HELP: WinHelpA(Handle(), kHelpFile, HELP_CONTENTS, 0); break;
    case ID_LOG_HELP_ITEM: OnHelpItem(); break;
    default: break;
    }
}

HTREEITEM ChannelLogWindow::InsertLine(HTREEITEM parent, const std::string& text, int image,
                                       LPARAM help) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = const_cast<char*>(text.c_str());
    insert.item.iImage = image;
    insert.item.iSelectedImage = image;
    insert.item.lParam = help;
    auto item = reinterpret_cast<HTREEITEM>(
        SendMessageA(tree_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    if (item) TreeView_EnsureVisible(tree_, item);
    return item;
}

void ChannelLogWindow::AppendText(HTREEITEM item, const std::string& text) {
    std::string joined = NodeText(item) + text;
    TVITEMA tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = const_cast<char*>(joined.c_str());
    SendMessageA(tree_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
}

void ChannelLogWindow::SetOverlay(HTREEITEM item) {
    TreeView_SetItemState(tree_, item, INDEXTOOVERLAYMASK(kErrorOverlay), TVIS_OVERLAYMASK);
}

void ChannelLogWindow::SetImage(HTREEITEM item, int image) {
    TVITEMA tv{};
    tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    tv.hItem = item;
    tv.iImage = image;
    tv.iSelectedImage = image;
    SendMessageA(tree_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
}

bool ChannelLogWindow::AddRecord(const LogRecord& record) {
    const LogKindInfo* info = FindLogKind(record.kind);
    if (!info || !mask_.Has(info->category)) return true;
    const std::string format = fw::LoadResString(fw::ThisModule(), kLogMessageBase + record.kind);
    const std::string text = LogLineText(record, format.empty() ? nullptr : format.c_str());
    const LPARAM help = info->helpTopic;
    // Lines before any call or control (system start, a stray exit) go as
    // high up the tree as there is a node for them.
    HTREEITEM control = currentControl_ ? currentControl_ : currentCall_;

    switch (info->category) {
    case LC_CALL_START: {
        HTREEITEM call = InsertLine(TVI_ROOT, text, kImageCall, help);
        if (!call) return false;
        currentCall_ = call;
        currentControl_ = nullptr;
        callError_ = false;
        testCall_ = record.kind == LK_TEST_CALL;
        callNodes_.push_back(call);
        // Keep the window light on a busy line: past 12 calls drop the 10 oldest.
        if (callNodes_.size() > 12) {
            for (int i = 0; i < 10; ++i) {
                TreeView_DeleteItem(tree_, callNodes_.front());
                callNodes_.pop_front();
            }
        }
        return true;
    }
    case LC_CONTROL_START: {
        HTREEITEM node = InsertLine(currentCall_, text, ControlImage(record),
                                    kControlHelpBase + (ControlImage(record) - kImageControl));
        if (!node) return false;
        currentControl_ = node;
        controlError_ = false;
        return true;
    }
    case LC_CONTROL_EXIT:
    case LC_CONTROL_EXIT_ERROR: {
        if (!InsertLine(control, text, kImageExit, help)) return false;
        if (currentControl_) {
            AppendText(currentControl_, text);
            if (controlError_ || info->category == LC_CONTROL_EXIT_ERROR)
                SetOverlay(currentControl_);
            else
                TreeView_Expand(tree_, currentControl_, TVE_COLLAPSE);
        }
        return true;
    }
    case LC_CALL_END:
    case LC_CALL_END_ERROR: {
        if (!currentCall_) return InsertLine(TVI_ROOT, text, kImageLine, help) != nullptr;
        AppendText(currentCall_, text);
        if (callError_ || info->category == LC_CALL_END_ERROR)
            SetImage(currentCall_, kImageCallError);
        else if (!testCall_)
            TreeView_Expand(tree_, currentCall_, TVE_COLLAPSE);
        return true;
    }
    case LC_ERRORS:
        callError_ = true;
        controlError_ = true;
        return InsertLine(control, text, kImageError, help) != nullptr;
    default:
        return InsertLine(control, text, kImageLine, help) != nullptr;
    }
}

void ChannelLogWindow::Clear() {
    TreeView_DeleteAllItems(tree_);
    callNodes_.clear();
    currentCall_ = nullptr;
    currentControl_ = nullptr;
    callError_ = false;
    controlError_ = false;
    testCall_ = false;
}

void ChannelLogWindow::Complain(const char* text) const {
    MessageBoxA(Handle(), text, fw::WindowText(Handle()).c_str(), MB_OK | MB_ICONEXCLAMATION);
}

bool ChannelLogWindow::LoadFile(const std::string& path, bool shared) {
    if (LogSystemRunning()) {
        Complain("cannot open log files while system running");
        return false;
    }
    Clear();
    const DWORD share = shared ? FILE_SHARE_READ | FILE_SHARE_WRITE : 0;
    fw::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        if (shared)
            Complain("Cannot open file!");
        else if (GetLastError() == ERROR_SHARING_VIOLATION)
            Complain("Cannot open file, already open!");
        else
            Complain("Cannot open file, unknown error!");
        return false;
    }
    FileByteSource fileSource(file.Get());
    BlockByteSource source(fileSource);
    switch (ReadLogHeader(source)) {
    case LogHeaderStatus::Current: break;
    case LogHeaderStatus::Invalid: Complain("Cannot read, invalid log file format!"); return false;
    case LogHeaderStatus::Old: Complain("Cannot read, old log file format!"); return false;
    case LogHeaderStatus::Newer: Complain("Cannot read, newer log file format!"); return false;
    }
    LogRecord record;
    for (LogReadResult r; (r = ReadLogRecord(source, line_, record)) != LogReadResult::End;) {
        if (r == LogReadResult::Skipped || AddRecord(record)) continue;
        const int answer = MessageBoxA(Handle(),
                                       "list box is full. Stop processing? Press YES to clear list "
                                       "and continue; Press NO to stop",
                                       fw::WindowText(Handle()).c_str(), MB_YESNO | MB_ICONEXCLAMATION);
        if (answer != IDYES) break;
        Clear();
        AddRecord(record);
    }
    return true;
}

void ChannelLogWindow::OnLoadToday() {
    if (LogSystemRunning()) {
        Complain("cannot open log files while system running");
        return;
    }
    const std::string path = TodayLogPath();
    if (path.empty()) {
        Complain("Cannot open file!");
        return;
    }
    LoadFile(path, true);
}

void ChannelLogWindow::OnLoadPrevious() {
    if (LogSystemRunning()) {
        Complain("cannot open log files while system running");
        return;
    }
    const std::string path =
        ChooseFile(false, "KVO Log Files (*.vlg)\0*.vlg\0All Files (*.*)\0*.*\0", "Select Log File");
    if (!path.empty()) LoadFile(path, false);
}

std::string ChannelLogWindow::ChooseFile(bool save, const char* filter, const char* title) const {
    char path[MAX_PATH] = "";
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = Handle();
    ofn.lpstrFilter = filter;
    ofn.lpstrFile = path;
    ofn.nMaxFile = sizeof path;
    ofn.lpstrTitle = title;
    ofn.Flags = OFN_HIDEREADONLY;
    if (save) {
        ofn.lpstrDefExt = "txt";
        ofn.Flags |= OFN_OVERWRITEPROMPT;
        return GetSaveFileNameA(&ofn) ? path : "";
    }
    ofn.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    return GetOpenFileNameA(&ofn) ? path : "";
}

std::string ChannelLogWindow::NodeText(HTREEITEM item) const {
    // Read whole and cut here: a tree asked for a short buffer may not end it.
    char buf[1024] = "";
    TVITEMA tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = buf;
    tv.cchTextMax = sizeof buf - 1;
    SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
    buf[sizeof buf - 1] = 0;
    return buf;
}

void ChannelLogWindow::WriteNode(std::string& out, HTREEITEM item) const {
    out += NodeText(item).substr(0, kExportLineMax);
    out += "\r\n";
    for (HTREEITEM child = TreeView_GetChild(tree_, item); child;
         child = TreeView_GetNextSibling(tree_, child))
        WriteNode(out, child);
}

bool ChannelLogWindow::SaveText(const std::string& path, HTREEITEM from) const {
    std::string out;
    if (from) {
        WriteNode(out, from);
    } else {
        for (HTREEITEM item = TreeView_GetRoot(tree_); item; item = TreeView_GetNextSibling(tree_, item))
            WriteNode(out, item);
    }
    fw::FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && WriteAll(file.Get(), out.data(), out.size());
}

void ChannelLogWindow::OnSaveText() {
    const std::string path = ChooseFile(true, "Text Files(*.txt)\0*.txt\0", "Log Text File");
    if (!path.empty() && !SaveText(path)) Complain("cannot open file");
}

void ChannelLogWindow::OnShellText(const char* verb, bool selectedOnly) {
    HTREEITEM from = nullptr;
    if (selectedOnly) {
        from = TreeView_GetSelection(tree_);
        if (!from) {
            Complain("no selected item");
            return;
        }
    }
    constexpr char kTempText[] = "kvotmp.txt";
    if (!SaveText(kTempText, from)) {
        Complain("cannot open file");
        return;
    }
    ShellExecuteA(Handle(), verb, kTempText, nullptr, nullptr, SW_SHOWNORMAL);
}

void ChannelLogWindow::OnHelpItem() {
    HTREEITEM item = TreeView_GetSelection(tree_);
    if (!item) return;
    TVITEMA tv{};
    tv.mask = TVIF_PARAM;
    tv.hItem = item;
    SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
    if (tv.lParam) WinHelpA(Handle(), kHelpFile, HELP_CONTEXT, static_cast<ULONG_PTR>(tv.lParam));
}

void ChannelLogWindow::RunFilterDialog() {
    LogFilterDialog dialog("Channel " + std::to_string(line_), ChannelWindowSection(line_), mask_);
    if (dialog.DoModal(Handle()) == IDOK) mask_ = dialog.Mask();
}

void ChannelLogWindow::RestorePlacement() {
    const std::string section = PlacementSection(line_);
    int values[4];
    bool stored = true;
    for (int i = 0; i < 4 && stored; ++i) {
        const std::string v = ReadSuiteString(section.c_str(), kPlacementKeys[i]);
        stored = !v.empty();
        values[i] = stored ? std::atoi(v.c_str()) : 0;
    }
    RECT r;
    GetWindowRect(Handle(), &r);
    if (stored && values[2] > values[0] && values[3] > values[1]) {
        r = {values[0], values[1], values[2], values[3]};
    } else {
        const int cx = r.right - r.left, cy = r.bottom - r.top;
        r.left = (GetSystemMetrics(SM_CXSCREEN) - cx) / 2;
        r.top = GetSystemMetrics(SM_CYSCREEN) / 3;
        r.right = r.left + cx;
        r.bottom = r.top + cy;
    }
    MoveWindow(Handle(), r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
}

void ChannelLogWindow::SavePlacement() {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!GetWindowPlacement(Handle(), &wp)) return;
    const std::string section = PlacementSection(line_);
    const RECT& r = wp.rcNormalPosition;
    const int values[4] = {static_cast<int>(r.left), static_cast<int>(r.top),
                           static_cast<int>(r.right), static_cast<int>(r.bottom)};
    for (int i = 0; i < 4; ++i)
        WriteSuiteString(section.c_str(), kPlacementKeys[i], std::to_string(values[i]).c_str());
}

}  // namespace kvo
