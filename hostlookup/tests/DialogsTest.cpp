// The modal surfaces: AboutBox through dispatch and the Properties verb.
// A watcher thread plays the user: it closes the first dialog of this
// process that appears and remembers its caption.
#include <olectl.h>
#include <string>
#include "TestSupport.h"
#include "fw/testing/Dialogs.h"
#include "fw/testing/Windows.h"

namespace lurrin_test {
namespace {

using fw::ole::ComPtr;

// The caption of the first dialog of this process, closed with `command`.
class DialogCloser {
public:
    explicit DialogCloser(UINT command)
        : watcher_("", [this, command](HWND dialog) {
              caption_ = fw::testing::WindowText(dialog);
              PostMessageA(dialog, WM_COMMAND, command, 0);
          }) {}
    std::string Caption() {
        watcher_.Stop();
        return caption_;
    }

private:
    std::string caption_;
    fw::testing::DialogWatcher watcher_;
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
