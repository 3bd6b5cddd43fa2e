// A control's life across threads and its end: calls handed over to its own
// thread in order, "host unavailable" once its thread is gone, the last
// reference dropped on another thread, the close hook before anything is
// destroyed, its own verbs, and a new control told from a load.
#include <thread>
#include "OleTestSupport.h"
#include "fw/Wait.h"

namespace fwtest {
namespace {

using fw::ole::ComPtr;
using fw::ole::HandOver;

class Lifetime : public OleTest {
protected:
    // Runs `work` on a thread of its own while this thread pumps messages.
    void OnWorker(const std::function<void()>& work) {
        std::atomic<bool> done{false};
        std::thread worker([&] {
            work();
            done = true;
        });
        EXPECT_TRUE(host_->PumpUntil([&] { return done.load(); }, 10000));
        worker.join();
    }
};

TEST_F(Lifetime, HandOverRunsCallsOnTheControlsThreadInOrder) {
    CFwTestCtrl* control = AddControl(L"Line");
    const DWORD ui = GetCurrentThreadId();
    std::vector<int> order;
    std::vector<DWORD> threads;
    std::vector<HandOver> answers;
    OnWorker([&] {
        for (int i = 0; i < 20; ++i)
            answers.push_back(control->CallOnOwnThread([&, i] {
                order.push_back(i);
                threads.push_back(GetCurrentThreadId());
            }));
    });
    ASSERT_EQ(order.size(), 20u);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(order[size_t(i)], i);
        EXPECT_EQ(threads[size_t(i)], ui);
        EXPECT_EQ(answers[size_t(i)], HandOver::Ran);
    }
    // On the control's own thread the call runs at once.
    bool ran = false;
    EXPECT_EQ(control->CallOnOwnThread([&] { ran = true; }), HandOver::Ran);
    EXPECT_TRUE(ran);
}

TEST_F(Lifetime, WhatTheHandedOverCallThrowsComesBackToTheCaller) {
    CFwTestCtrl* control = AddControl(L"Line");
    long status = 0;
    OnWorker([&] {
        try {
            control->CallOnOwnThread([] { throw new TestException(long(0x800A0097), L"break"); });
        } catch (fw::Exception* e) {
            status = e->ErrorStatus();
            e->Delete();
        }
    });
    EXPECT_EQ(status, long(0x800A0097));
    EXPECT_EQ(TestException::Live(), 0);
}

TEST_F(Lifetime, HostUnavailableOnceTheControlsThreadIsGone) {
    CFwTestCtrl* orphan = nullptr;
    std::thread owner([&] {
        OleInitialize(nullptr);
        void* made = nullptr;
        if (SUCCEEDED(fw::ole::CreateObject<CFwTestCtrl>(IID_IDispatch, &made)))
            orphan = static_cast<CFwTestCtrl*>(static_cast<IDispatch*>(made));
        // The thread ends without tidying up: its windows go with it.
    });
    owner.join();
    ASSERT_NE(orphan, nullptr);
    bool ran = false;
    EXPECT_EQ(orphan->CallOnOwnThread([&] { ran = true; }), HandOver::HostUnavailable);
    EXPECT_FALSE(ran);
    CFwTestCtrl::destroyedOn = 0;
    orphan->Release();  // nobody else can end it now
    EXPECT_EQ(CFwTestCtrl::destroyedOn, GetCurrentThreadId());
}

TEST_F(Lifetime, TheLastReferenceDroppedElsewhereEndsTheControlOnItsOwnThread) {
    CFwTestCtrl* control = AddControl(L"Shared");
    control->AddRef();  // a line thread's reference
    host_->Remove(L"Shared");
    CFwTestCtrl::destroyedOn = 0;
    std::thread line([&] { control->Release(); });
    line.join();
    EXPECT_EQ(CFwTestCtrl::destroyedOn, 0u) << "not on the line thread";
    EXPECT_TRUE(host_->PumpUntil([] { return CFwTestCtrl::destroyedOn != 0; }, 5000));
    EXPECT_EQ(CFwTestCtrl::destroyedOn, GetCurrentThreadId());
}

std::vector<std::wstring> g_closed;

TEST_F(Lifetime, TheCloseHookRunsOnceBeforeAnythingIsDestroyed) {
    g_closed.clear();
    fw::ole::Control::SetCloseHook([](fw::ole::Control& c) {
        // Still sited and whole: it can ask its name, and may hold itself.
        g_closed.push_back(c.AmbientDisplayName());
        c.AddRef();
        c.Release();
    });
    AddControl(L"First");
    AddControl(L"Second");
    host_->Remove(L"First");
    EXPECT_EQ(g_closed, std::vector<std::wstring>{L"First"});
    host_->Clear();
    EXPECT_EQ(g_closed, (std::vector<std::wstring>{L"First", L"Second"}));

    // A control nobody closed hears it at its last Release.
    void* made = nullptr;
    ASSERT_EQ(fw::ole::CreateObject<CFwTestCtrl>(IID_IDispatch, &made), S_OK);
    CFwTestCtrl::closedOn = 0;
    static_cast<IDispatch*>(made)->Release();
    EXPECT_EQ(g_closed.size(), 3u);
    EXPECT_EQ(CFwTestCtrl::closedOn, GetCurrentThreadId()) << "the control's own OnClose follows the hook";
    fw::ole::Control::SetCloseHook(nullptr);
}

TEST_F(Lifetime, OwnVerbsAreListedAndDone) {
    CFwTestCtrl* control = AddControl(L"Verbs");
    ComPtr<IOleObject> object;
    ASSERT_EQ(host_->Find(L"Verbs")->Object()->QueryInterface(IID_IOleObject, object.PutVoid()), S_OK);
    ComPtr<IEnumOLEVERB> verbs;
    ASSERT_EQ(object->EnumVerbs(verbs.Put()), S_OK);
    std::vector<std::pair<LONG, std::wstring>> listed;
    OLEVERB verb;
    while (verbs->Next(1, &verb, nullptr) == S_OK) {
        listed.emplace_back(verb.lVerb, verb.lpszVerbName);
        CoTaskMemFree(verb.lpszVerbName);
    }
    EXPECT_EQ(listed, (std::vector<std::pair<LONG, std::wstring>>{{1, L"&Greet"}, {2, L"&Fail"}}));

    EXPECT_EQ(host_->Find(L"Verbs")->DoVerb(1), S_OK);
    EXPECT_EQ(control->greeted, 1);
    EXPECT_EQ(host_->Find(L"Verbs")->DoVerb(2), E_ACCESSDENIED) << "a throwing verb fails, nothing escapes";
    EXPECT_EQ(TestException::Live(), 0);
    EXPECT_EQ(host_->Find(L"Verbs")->DoVerb(9), OLEOBJ_S_INVALIDVERB);
}

TEST_F(Lifetime, ANewControlIsToldFromALoadWithAnAbsentItem) {
    using Bag = std::vector<container::FormProperty>;
    const Bag countOnly{{"Count", "3"}}, textDefault{{"Text", "text"}};
    struct { const Bag* bag; bool isNew; bool textLoaded; const char* note; } cases[] = {
        {nullptr, true, false, "InitNew"},
        {&countOnly, false, false, "loaded, Text absent"},
        {&textDefault, false, true, "loaded, Text holds the default"},
    };
    int n = 0;
    for (auto& c : cases) {
        const std::wstring name = L"C" + std::to_wstring(n++);
        HRESULT hr = E_FAIL;
        ASSERT_NE(host_->Add(TestServer::ControlClsid(), name, c.bag, &hr), nullptr) << c.note;
        CFwTestCtrl* control = static_cast<CFwTestCtrl*>(Dispatch(name.c_str()));
        EXPECT_EQ(control->loadedAsNew, c.isNew) << c.note;
        EXPECT_EQ(control->textLoaded, c.textLoaded) << c.note;
        EXPECT_EQ(control->text, L"text") << c.note;
    }
}

}  // namespace
}  // namespace fwtest
