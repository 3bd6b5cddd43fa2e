// The voice and digit control bases: their items come before the base's,
// most derived first, and the entry greeting's phrases round-trip.
#include "DigitControl.h"
#include "InProcess.h"
#include "KvoTestSupport.h"
#include "kvo32.h"

namespace kvo_graph_test {
namespace {

// A digit-collecting control with two exits, as GetDigits-like controls are.
class CTestDigitCtrl : public kvo::CDigitControl {
public:
    CTestDigitCtrl() : CDigitControl(kKind) {}
    static const Kind kKind;
};
const kvo::CCallFlowControl::Kind CTestDigitCtrl::kKind{CLSID_User, DIID__DUser, DIID__DUserEvents, "Digits", 2, 2};

class VoiceControls : public InProcessTest {
protected:
    void SetUp() override {
        InProcessTest::SetUp();
        ServeAsUser(&fw::ole::CreateObject<CTestDigitCtrl>);
    }
};

TEST_F(VoiceControls, DerivedItemsComeBeforeTheBaseItems) {
    ASSERT_EQ(LoadText(*host_, "Begin Zentrovo.UserCtrl.1 Digits1\nEnd\n"), S_OK);
    auto* digits = dynamic_cast<kvo::CDigitControl*>(Control("Digits1"));
    ASSERT_NE(digits, nullptr);
    digits->EntryGreeting().InsertFile(-1, L"hello.vox");
    digits->EntryGreeting().InsertIndexPhrase(0, L"menu.vap", 7);
    digits->SetMaxRetries(5);
    digits->SetHelpdigitControl(L"Help1");
    container::Form form = Save(*host_);
    EXPECT_EQ(kvo_test::FormKeys(form, "Digits1"),
              (std::vector<std::string>{
                  "maxRetries", "InvalidErrorControlName", "NoDigitsErrorControlName", "EntryGreeting.Fileformat",
                  "EntryGreeting.TermOnDTMF", "EntryGreeting.NumPhrase", "EntryGreeting.Phrase0.File",
                  "EntryGreeting.Phrase0.Data", "EntryGreeting.Phrase0.Type", "EntryGreeting.Phrase1.File",
                  "EntryGreeting.Phrase1.Data", "EntryGreeting.Phrase1.Type", "ClearDigits", "DisconnectControlName",
                  "HelpdigitControlName", "NumConditions", "_Version", "_ExtentX", "_ExtentY", "_StockProps", "Pos_X",
                  "Pos_Y", "BlockId", "FramePage", "NumNodes", "Dest0BlockID", "Dest0.Conn", "Dest0.DestNode",
                  "Dest1BlockID", "Dest1.Conn", "Dest1.DestNode", "Comment"}));
    EXPECT_EQ(kvo_test::FormValue(form, "Digits1", "EntryGreeting.Fileformat"), "-1");
    EXPECT_EQ(kvo_test::FormValue(form, "Digits1", "EntryGreeting.Phrase0.Type"), std::to_string(4 << 16 | 7));
    EXPECT_EQ(kvo_test::FormValue(form, "Digits1", "EntryGreeting.Phrase1.Type"), std::to_string(1 << 16 | 0xFFFF));
    EXPECT_EQ(kvo_test::FormValue(form, "Digits1", "DisconnectControlName"), "[Default]");

    ASSERT_EQ(host_->Load(form), S_OK);
    auto* loaded = dynamic_cast<kvo::CDigitControl*>(Control("Digits1"));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetMaxRetries(), 5);
    EXPECT_EQ(loaded->EntryGreeting().Data().phrases.size(), 2u);
    EXPECT_EQ(loaded->EntryGreeting().GetNameAt(1), L"hello.vox");
    EXPECT_EQ(loaded->HelpdigitHandler(), nullptr) << "Help1 is not on the form";
    EXPECT_EQ(loaded->DisconnectHandler(), nullptr);
}

TEST_F(VoiceControls, AFormWithoutGreetingCountKeepsTheGreeting) {
    ASSERT_EQ(LoadText(*host_, "Begin Zentrovo.UserCtrl.1 Digits1\n maxRetries = 2\n ClearDigits = False\nEnd\n"), S_OK);
    auto* digits = dynamic_cast<kvo::CDigitControl*>(Control("Digits1"));
    ASSERT_NE(digits, nullptr);
    EXPECT_EQ(digits->GetMaxRetries(), 2);
    EXPECT_FALSE(digits->GetClearDigits());
    EXPECT_TRUE(digits->EntryGreeting().GetTermOnDTMF());
    EXPECT_EQ(digits->EntryGreeting().GetFileformat(), -1);
    EXPECT_EQ(digits->EntryGreeting().GetName(), L"Entry");
}

}  // namespace
}  // namespace kvo_graph_test
