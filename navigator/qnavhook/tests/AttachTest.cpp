// Attaching to real stand-in IDE processes through the hook library.
#include "HookFixture.h"
#include "Subclass.h"

namespace hooktest {
namespace {

using ide::testing::Query;

TEST_F(HookTest, AttachAllSubclassesEveryIdeWindowAndDetachAllRestoresThem) {
    const std::string file = ide::testing::WriteTempFile("qv_attach.cpp", "int main()\n{\n}\n");
    IdeProcess& ide = StartIde("/kind:4 \"" + file + "\"");
    HWND frame = ide.MainWindow();
    ASSERT_NE(frame, nullptr);
    HWND view = reinterpret_cast<HWND>(Query(frame, ide::kQueryActiveView));
    ASSERT_NE(view, nullptr);

    ASSERT_EQ(Call(qnav::QP_INSTALLSHELLHOOK, control_), 1);
    ASSERT_EQ(AttachAll(), 1);
    ASSERT_TRUE(WaitAttached(frame));
    EXPECT_NE(GetPropA(frame, qnav::kOldProcProperty), nullptr);
    EXPECT_NE(GetPropA(view, qnav::kOldProcProperty), nullptr);
    EXPECT_EQ(Query(frame, ide::kQueryProcsOriginal), 0);

    EXPECT_EQ(Call(qnav::QP_DETACHALL), 1);
    EXPECT_EQ(GetPropA(frame, qnav::kOldProcProperty), nullptr);
    EXPECT_EQ(GetPropA(view, qnav::kOldProcProperty), nullptr);
    EXPECT_EQ(Query(frame, ide::kQueryProcsOriginal), 1);
    EXPECT_EQ(SlotsInUse(), 0);
    EXPECT_TRUE(ide.Alive());
}

}  // namespace
}  // namespace hooktest
