// The graph: block ids, lazy connections, name look-ups and what the
// registry refuses while the system runs.
#include <gtest/gtest.h>

#include <memory>

#include "Checks.h"
#include "Graph.h"
#include "TestVertex.h"

namespace kvo_test {
namespace {

using kvo::ControlRegistry;

constexpr long kNow = 1700000000;

TEST(Registry, NewControlsTakeTheTimeOrTheNextFreeId) {
    ControlRegistry registry;
    TestVertex a(registry, "a"), b(registry, "b"), c(registry, "c");
    ASSERT_TRUE(registry.Add(a, kNow));
    ASSERT_TRUE(registry.Add(b, kNow));
    ASSERT_TRUE(registry.Add(c, 0));
    EXPECT_EQ(a.BlockId(), kNow);
    EXPECT_EQ(b.BlockId(), kNow + 1);
    EXPECT_EQ(c.BlockId(), 1) << "0 is never an id";
    EXPECT_EQ(registry.Count(), 3);
    EXPECT_EQ(registry.FindByBlockId(kNow + 1), &b);
    EXPECT_EQ(registry.FindByBlockId(0), nullptr);
}

TEST(Registry, ConnectionsResolveWhateverTheLoadOrder) {
    ControlRegistry registry;
    // The source is "loaded" first and names a destination not yet there.
    auto source = std::make_unique<TestVertex>(registry, "Menu");
    ASSERT_TRUE(registry.Add(*source, kNow));
    source->Node(1).SetStored(4242, true, 0);
    EXPECT_EQ(source->Node(1).GetDestControl(), nullptr);

    TestVertex dest(registry, "Play");
    ASSERT_TRUE(registry.Add(dest, kNow));
    ASSERT_TRUE(registry.AdoptStoredBlockId(dest, 4242, kNow));
    short input = -1;
    EXPECT_EQ(source->Node(1).GetDestControl(&input), &dest);
    EXPECT_EQ(input, 0);
    EXPECT_EQ(source->Node(1).GetDestName(), "Play");
    EXPECT_EQ(dest.InputLinks(0).size(), 1u);
    EXPECT_EQ(registry.GetDestination(*source, 1), &dest);
    EXPECT_EQ(registry.GetDestination(*source, 2), nullptr) << "past the last node";
    EXPECT_EQ(registry.GetDestination(*source, -1), nullptr);

    source.reset();
    EXPECT_TRUE(dest.InputLinks(0).empty()) << "a destroyed source leaves no input link behind";
}

TEST(Registry, DeletedDestinationResolvesToNoneAndIsReported) {
    ControlRegistry registry;
    TestVertex source(registry, "Menu");
    ASSERT_TRUE(registry.Add(source, kNow));
    long destId = 0;
    {
        TestVertex dest(registry, "Gone");
        ASSERT_TRUE(registry.Add(dest, kNow));
        destId = dest.BlockId();
        source.Node(0).Connect(&dest, 0, 1);
        ASSERT_EQ(source.Node(0).GetDestControl(), &dest);
    }
    EXPECT_EQ(source.Node(0).GetDestControl(), nullptr);
    EXPECT_EQ(source.Node(0).DestBlockId(), destId) << "the stored id stays for the check";
    kvo::CheckReport report;
    EXPECT_FALSE(kvo::CheckConnection(source, 0, report));
    ASSERT_EQ(report.Entries().size(), 1u);
    EXPECT_EQ(report.Entries()[0].text, "destination control not found: node Node 0 block id " + std::to_string(destId));
    EXPECT_EQ(report.Entries()[0].helpTopic, 1403);
}

TEST(Registry, DuplicateStoredIdGoesToTheLoadedControlAndTheOtherKeepsItsLinks) {
    ControlRegistry registry;
    TestVertex first(registry, "First"), second(registry, "Second"), caller(registry, "Caller", 2);
    for (TestVertex* v : {&first, &second, &caller}) ASSERT_TRUE(registry.Add(*v, kNow));
    ASSERT_TRUE(registry.AdoptStoredBlockId(first, 777, kNow));
    caller.Node(0).Connect(&first, 0, 1);  // resolved: linked to First
    caller.Node(1).SetStored(777, true, 0);  // not yet resolved

    ASSERT_TRUE(registry.AdoptStoredBlockId(second, 777, kNow + 100));
    EXPECT_EQ(second.BlockId(), 777);
    EXPECT_GE(first.BlockId(), kNow + 100);
    EXPECT_EQ(caller.Node(0).GetDestControl(), &first) << "the linked node follows its control's new id";
    EXPECT_EQ(caller.Node(0).DestBlockId(), first.BlockId());
    EXPECT_EQ(caller.Node(1).GetDestControl(), &second);
}

TEST(Registry, ChangeBlockIdRewritesEveryIncomingNode) {
    ControlRegistry registry;
    TestVertex a(registry, "a"), b(registry, "b"), target(registry, "t");
    for (TestVertex* v : {&a, &b, &target}) ASSERT_TRUE(registry.Add(*v, kNow));
    a.Node(0).Connect(&target, 0, 1);
    b.Node(1).Connect(&target, 0, 1);
    ASSERT_TRUE(registry.ChangeBlockId(target, 99));
    EXPECT_EQ(a.Node(0).DestBlockId(), 99);
    EXPECT_EQ(b.Node(1).DestBlockId(), 99);
    EXPECT_EQ(target.BlockId(), 99);
}

TEST(Registry, NameLookupIsExactAndAmbiguityOnlyCountsInTestMode) {
    ControlRegistry registry;
    TestVertex menu(registry, "menu"), first(registry, "Menu"), twin(registry, "Menu");
    for (TestVertex* v : {&menu, &first, &twin}) ASSERT_TRUE(registry.Add(*v, kNow));
    bool ambiguous = true;
    EXPECT_EQ(registry.FindByName("Menu", &ambiguous), &first);
    EXPECT_FALSE(ambiguous) << "outside test mode the search stops at the first";
    registry.SetTestMode(true);
    EXPECT_EQ(registry.FindByName("Menu", &ambiguous), &first);
    EXPECT_TRUE(ambiguous);
    EXPECT_EQ(registry.FindByName("menu", &ambiguous), &menu);
    EXPECT_FALSE(ambiguous);
    EXPECT_EQ(registry.FindByName("MENU"), nullptr);

    struct { const char* name; kvo::Vertex* expected; } cases[] = {
        {"", nullptr}, {"[Default]", nullptr}, {"Nobody", nullptr}, {"menu", &menu},
    };
    for (const auto& c : cases) EXPECT_EQ(registry.ResolveHandlerName(c.name), c.expected) << '"' << c.name << '"';
}

TEST(Registry, ShrinkingNodesUnlinksThemAndCountsAreBounded) {
    ControlRegistry registry;
    TestVertex source(registry, "s", 3), dest(registry, "d");
    ASSERT_TRUE(registry.Add(source, kNow));
    ASSERT_TRUE(registry.Add(dest, kNow));
    source.Node(2).Connect(&dest, 0, 1);
    ASSERT_EQ(dest.InputLinks(0).size(), 1u);
    EXPECT_TRUE(source.SetNumNodes(1));
    EXPECT_TRUE(dest.InputLinks(0).empty());
    EXPECT_TRUE(source.SetNumNodes(-1));
    EXPECT_EQ(source.NumNodes(), 0);
    EXPECT_TRUE(source.SetNumNodes(40000));
    EXPECT_EQ(source.NumNodes(), kvo::kMaxNodes);
}

TEST(Registry, TheGraphDoesNotChangeWhileTheSystemRuns) {
    ControlRegistry registry;
    TestVertex a(registry, "a"), late(registry, "late");
    ASSERT_TRUE(registry.Add(a, kNow));
    const long id = a.BlockId();
    registry.SetStarted(true);
    EXPECT_FALSE(a.SetNumNodes(5));
    EXPECT_EQ(a.NumNodes(), 2);
    EXPECT_FALSE(registry.Add(late, kNow));
    EXPECT_FALSE(registry.Contains(late));
    EXPECT_FALSE(registry.ChangeBlockId(a, 5));
    EXPECT_EQ(a.BlockId(), id);
    registry.SetStarted(false);
    EXPECT_TRUE(a.SetNumNodes(5));
}

TEST(SpecialExits, HaveTheirNames) {
    EXPECT_STREQ(kvo::SpecialExitName(-1), "Silence");
    EXPECT_STREQ(kvo::SpecialExitName(-2), "Invalid");
    EXPECT_STREQ(kvo::SpecialExitName(-3), "Hangup");
    EXPECT_STREQ(kvo::SpecialExitName(-4), "");
    EXPECT_STREQ(kvo::SpecialExitName(-5), "NoNodeSet");
}

}  // namespace
}  // namespace kvo_test
