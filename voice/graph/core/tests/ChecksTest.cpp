// The check report for a small flow, and the redirection checks' order.
#include <gtest/gtest.h>

#include "Checks.h"
#include "Redirection.h"
#include "TestVertex.h"

namespace kvo_test {
namespace {

using kvo::RedirectFault;

TEST(Checks, ReportListsUnconnectedSelfLoopAndDuplicateNames) {
    kvo::ControlRegistry registry;
    TestVertex menu(registry, "Menu", 2), play(registry, "Play", 1), twin(registry, "Play", 1);
    for (TestVertex* v : {&menu, &play, &twin}) ASSERT_TRUE(registry.Add(*v, 1000));
    menu.Node(0).Connect(&play, 0, 1);
    menu.Node(1).Connect(&menu, 0, 1);
    kvo::CheckReport report;
    for (int i = 0; i < menu.NumNodes(); ++i) {
        kvo::CheckConnection(menu, i, report);
        kvo::CheckSelfLoop(menu, i, report);
    }
    kvo::CheckConnection(play, 0, report);
    kvo::CheckDuplicateNames(registry, report);
    const std::vector<kvo::CheckEntry> expected = {
        {kvo::Severity::Error, "node Node 1 connected to input on same control", 1409},
        {kvo::Severity::Warning, "node Node 0 not connected", 1404},
        {kvo::Severity::Error, "2 controls of name Play", 1410},
    };
    EXPECT_EQ(report.Entries(), expected);
    EXPECT_TRUE(report.HasErrors());
    EXPECT_EQ(report.Text(),
              "error node Node 1 connected to input on same control\t1409\n"
              "warning node Node 0 not connected\t1404\n"
              "error 2 controls of name Play\t1410\n");
}

TEST(Redirection, ChecksComeInOrderChannelStartedNode) {
    struct { long channel; int lines; bool started; long node; RedirectFault expected; } cases[] = {
        {0, 4, false, 9, RedirectFault::BadChannel},
        {5, 4, true, 0, RedirectFault::BadChannel},
        {1, 4, false, 9, RedirectFault::NotStarted},
        {1, 4, true, 2, RedirectFault::BadNode},  // equal to the node count
        {1, 4, true, -1, RedirectFault::BadNode},
        {4, 4, true, 1, RedirectFault::None},
        {49, 60, true, 0, RedirectFault::BadChannel},
    };
    for (const auto& c : cases)
        EXPECT_EQ(kvo::CheckGotoNode(c.channel, c.lines, c.started, c.node, 2), c.expected)
            << c.channel << "/" << c.lines << " started " << c.started << " node " << c.node;

    kvo::ControlRegistry registry;
    TestVertex user(registry, "User1"), group(registry, "LineGroup1", 6, true);
    EXPECT_EQ(kvo::CheckGotoControl(1, 2, true, &user), RedirectFault::None);
    EXPECT_EQ(kvo::CheckGotoControl(1, 2, true, &group), RedirectFault::BadControl);
    EXPECT_EQ(kvo::CheckGotoControl(1, 2, true, nullptr), RedirectFault::BadControl);
    EXPECT_EQ(kvo::CheckGotoControl(1, 2, false, nullptr), RedirectFault::NotStarted);
}

TEST(Redirection, SlotsPerLine) {
    auto& slots = kvo::LineRedirections::Process();
    TestVertex user(kvo::ControlRegistry::Process(), "User1");
    slots.RequestExit(3, 1);
    slots.RequestControl(4, &user);
    EXPECT_EQ(slots.RequestedExit(3), 1);
    EXPECT_EQ(slots.RequestedControl(4), &user);
    EXPECT_EQ(slots.RequestedExit(4), -1);
    EXPECT_EQ(slots.RequestedExit(48), -1) << "beyond the last line";
    slots.Clear(3);
    slots.Clear(4);
    EXPECT_EQ(slots.RequestedExit(3), -1);
    EXPECT_EQ(slots.RequestedControl(4), nullptr);
}

}  // namespace
}  // namespace kvo_test
