// The modal surfaces: AboutBox through dispatch and the Properties verb.
// A helper thread plays the user: it closes the first dialog of this
// process that appears and remembers its caption.
#include <olectl.h>
#include <atomic>
#include <string>
#include <thread>
#include "TestSupport.h"
#include "fw/Window.h"

namespace lurrin_test {
namespace {

using fw::ole::ComPtr;

class DialogCloser {
public:
    explicit DialogCloser(UINT command) : command_(command), thread_([this] { Run(); }) {}
    ~DialogCloser() {
        stop_ = true;
        thread_.join();
    }
    std::string Caption() const { return caption_; }

private:
    static BOOL CALLBACK Probe(HWND hwnd, LPARAM lp) {
        auto* self = reinterpret_cast<DialogCloser*>(lp);
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        char cls[16] = {};
        GetClassNameA(hwnd, cls, sizeof cls);
        if (pid != GetCurrentProcessId() || std::string(cls) != "#32770" || !IsWindowVisible(hwnd)) return TRUE;
        self->found_ = hwnd;
        return FALSE;
    }
    void Run() {
        for (int i = 0; i < 500 && !stop_; ++i) {
            found_ = nullptr;
            EnumWindows(&Probe, reinterpret_cast<LPARAM>(this));
            if (found_) {
                caption_ = fw::WindowText(found_);
                PostMessageA(found_, WM_COMMAND, command_, 0);
                return;
            }
            Sleep(20);
        }
    }
    UINT command_;
    HWND found_ = nullptr;
    std::string caption_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

class Dialogs : public ContainerTest {};

TEST_F(Dialogs, AboutBoxShowsAndCloses) {
    struct { const wchar_t* progId; const char* caption; } cases[] = {
        {L"Ostrel.GetAddress", "About GetAddress Control"},
        {L"Ostrel.GetName", "About GetName Control"},
    };
    for (const auto& c : cases) {
        container::ControlSite* site = Add(c.progId, L"Ctl");
        ASSERT_NE(site, nullptr);
        DialogCloser closer(IDOK);
        EXPECT_TRUE(site->Call(L"AboutBox").Ok());
        EXPECT_EQ(closer.Caption(), c.caption);
        host_->Remove(L"Ctl");
    }
}

TEST_F(Dialogs, PropertiesVerbOpensThePageFrame) {
    host_->SetUserMode(false);
    container::ControlSite* site = Add(L"Ostrel.GetName", L"Name1");
    ASSERT_NE(site, nullptr);
    ComPtr<IOleObject> object;
    ASSERT_EQ(site->Object()->QueryInterface(IID_IOleObject, object.PutVoid()), S_OK);
    DialogCloser closer(IDCANCEL);
    EXPECT_EQ(object->DoVerb(OLEIVERB_PROPERTIES, nullptr, site, 0, host_->Handle(), nullptr), S_OK);
    EXPECT_FALSE(closer.Caption().empty()) << "a property frame was shown";
}

}  // namespace
}  // namespace lurrin_test
