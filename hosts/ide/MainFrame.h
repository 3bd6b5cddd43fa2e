// The IDE's main window: MDI frame with the MDI client, opens documents
// (command line, file drops, tests) and routes Copy and Paste to the view.
#pragma once
#include "ChildFrame.h"
#include "fw/Handle.h"
#include <shellapi.h>
#include <memory>
#include <vector>

namespace ide {

class MainFrame : public fw::Window {
public:
    bool Create(const char* className, const char* title);
    bool OpenFile(const std::string& path, Content content = Content::Text);
    HWND MdiClient() const { return mdiClient_; }

protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return DefFrameProcA(Handle(), mdiClient_, msg, wp, lp); }
    void OnCreate();
    void OnDropFiles(HDROP drop);
    void OnOpenDropped();
    LRESULT OnCopyData(const COPYDATASTRUCT* cds);
    void OnChildGone(ChildFrame* child);
    LRESULT OnQuery(WPARAM what, LPARAM arg);
    void OnDestroy();
    ChildFrame* ActiveChild() const;
    bool ProcsOriginal();

    HWND mdiClient_ = nullptr;
    WNDPROC originalProc_ = nullptr;
    WNDPROC clientProc_ = nullptr;
    std::vector<std::unique_ptr<ChildFrame>> children_;
    std::vector<std::string> dropped_;   // opened once the drop message is done
    bool openMaximized_ = false;
    std::vector<fw::KernelHandle> workers_;
    fw::KernelHandle stopWorkers_{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
};

}  // namespace ide
