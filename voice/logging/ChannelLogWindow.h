// The channel log window of one line: a tree in which each call is a node,
// each control that took the call over a node under it, and every other
// record a line under the current control. Records arrive from any thread
// through the logger; the tree is only touched on the window's own thread.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <deque>
#include <memory>
#include <string>

#include <fw/Window.h>

#include "CategoryMask.h"
#include "LogRecord.h"

namespace kvo {

class LogInbox;

class ChannelLogWindow : public fw::Window {
public:
    // Opens the window of `line` (counted from 0) or brings it forward.
    // The window owns itself; it is deleted when destroyed.
    static ChannelLogWindow* Open(int line);
    static ChannelLogWindow* Find(int line);
    // Suite start: opens the windows that were open when the suite closed.
    static void OpenShown();
    // Suite close: records which windows are open, then destroys them.
    static void CloseAll();

    ~ChannelLogWindow() override;

    int Line() const { return line_; }
    HWND Tree() const { return tree_; }
    const CategoryMask& Mask() const { return mask_; }
    int CallNodeCount() const { return static_cast<int>(callNodes_.size()); }

    // Places one record in the tree as its category says. False only when
    // the tree refused it; a record outside the mask counts as placed.
    bool AddRecord(const LogRecord& record);
    void Clear();
    // Reads a log file into the tree; `shared` lets others keep writing it.
    bool LoadFile(const std::string& path, bool shared);
    // Writes the text of `from` and everything under it (the whole tree
    // when null), one line per node.
    bool SaveText(const std::string& path, HTREEITEM from = nullptr) const;
    // Runs the message filter dialog; OK takes the new mask at once.
    void RunFilterDialog();

protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnNcDestroy() override;

private:
    explicit ChannelLogWindow(int line);

    bool OnCreate();
    void OnSize(int cx, int cy);
    void OnCommand(UINT id);
    void OnLogRecords();
    void OnDestroy();
    void OnLoadToday();
    void OnLoadPrevious();
    void OnSaveText();
    void OnShellText(const char* verb, bool selectedOnly);
    void OnHelpItem();
    // The file the user picks in the open or save dialog; empty when cancelled.
    std::string ChooseFile(bool save, const char* filter, const char* title) const;

    HTREEITEM InsertLine(HTREEITEM parent, const std::string& text, int image, LPARAM help);
    void AppendText(HTREEITEM item, const std::string& text);
    void SetOverlay(HTREEITEM item);
    void SetImage(HTREEITEM item, int image);
    std::string NodeText(HTREEITEM item) const;
    void WriteNode(std::string& out, HTREEITEM item) const;
    void Complain(const char* text) const;
    void RestorePlacement();
    void SavePlacement();

    int line_;
    bool ownsSelf_ = false;
    CategoryMask mask_;
    HWND tree_ = nullptr;
    HIMAGELIST images_ = nullptr;
    std::shared_ptr<LogInbox> inbox_;
    std::deque<HTREEITEM> callNodes_;  // oldest first
    HTREEITEM currentCall_ = nullptr;
    HTREEITEM currentControl_ = nullptr;
    bool callError_ = false;
    bool controlError_ = false;
    bool testCall_ = false;
};

}  // namespace kvo
