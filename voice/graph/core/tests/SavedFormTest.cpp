// Saved-form items: exact keys in exchange order, round trips, and damaged
// counts read back as bounded values.
#include <gtest/gtest.h>

#include "Graph.h"
#include "MapExchange.h"
#include "SavedForm.h"
#include "TestVertex.h"

namespace kvo_test {
namespace {

using Items = MapExchange::Items;
using Names = std::vector<std::wstring>;

TEST(SavedForm, NodeKeysHaveNoDotBeforeBlockId) {
    kvo::ControlRegistry registry;
    TestVertex a(registry, "a", 2), b(registry, "b");
    ASSERT_TRUE(registry.Add(a, 100));
    ASSERT_TRUE(registry.Add(b, 200));
    a.Node(1).Connect(&b, 1, 1);
    MapExchange save;
    kvo::ExchangeNodes(save, a);
    EXPECT_EQ(save.Saved(), (Items{{L"NumNodes", L"2"},
                                   {L"Dest0BlockID", L"0"}, {L"Dest0.Conn", L"False"}, {L"Dest0.DestNode", L"0"},
                                   {L"Dest1BlockID", L"200"}, {L"Dest1.Conn", L"True"}, {L"Dest1.DestNode", L"1"}}));

    TestVertex loaded(registry, "c", 0);
    ASSERT_TRUE(registry.Add(loaded, 300));
    MapExchange load(save.Saved());
    kvo::ExchangeNodes(load, loaded);
    ASSERT_EQ(loaded.NumNodes(), 2);
    EXPECT_EQ(loaded.Node(1).GetDestControl(), &b);
    EXPECT_EQ(loaded.Node(1).DestInput(), 1);
    EXPECT_EQ(loaded.Node(0).GetDestControl(), nullptr);
}

TEST(SavedForm, DamagedCountsLoadBounded) {
    struct Case {
        const char* note;
        Items items;
        int nodes;
    } cases[] = {
        {"negative", {{L"NumNodes", L"-1"}}, 0},
        {"beyond 16 bits reads as missing: the class's nodes stay", {{L"NumNodes", L"40000"}}, 2},
        {"large but 16-bit", {{L"NumNodes", L"30000"}}, kvo::kMaxNodes},
        {"not a number", {{L"NumNodes", L"many"}}, 2},
        {"count without its nodes", {{L"NumNodes", L"3"}}, 3},
    };
    for (const Case& c : cases) {
        kvo::ControlRegistry registry;
        TestVertex v(registry, "v", 2);
        MapExchange load(c.items);
        kvo::ExchangeNodes(load, v);
        EXPECT_EQ(v.NumNodes(), c.nodes) << c.note;
    }
}

TEST(SavedForm, ConditionsKeepWhatIsThereWhenAbsentAndBoundTheCount) {
    std::vector<kvo::Condition> conditions{{L"one", L"1", true}, {L"two", L"2#", false}};
    MapExchange save;
    kvo::ExchangeConditions(save, conditions);
    EXPECT_EQ(save.Names(), (Names{L"NumConditions", L"Condition0.Name", L"Condition0.Data", L"Condition0.UseVB",
                                   L"Condition1.Name", L"Condition1.Data", L"Condition1.UseVB"}));
    std::vector<kvo::Condition> loaded;
    MapExchange load(save.Saved());
    kvo::ExchangeConditions(load, loaded);
    EXPECT_EQ(loaded, conditions);

    MapExchange absent(Items{});
    kvo::ExchangeConditions(absent, loaded);
    EXPECT_EQ(loaded.size(), 2u) << "NumConditions missing (-1) keeps the list";

    MapExchange huge(Items{{L"NumConditions", L"40000"}});
    kvo::ExchangeConditions(huge, loaded);
    EXPECT_EQ(loaded.size(), size_t(kvo::kMaxConditions));
    MapExchange negative(Items{{L"NumConditions", L"-7"}});
    kvo::ExchangeConditions(negative, loaded);
    EXPECT_TRUE(loaded.empty());
}

TEST(SavedForm, GreetingKeysAndPackedPhraseType) {
    kvo::GreetingData greeting{L"Entry", false, 2, {{L"hello.vox", L"", -1, 1, 0}, {L"menu.vap", L"main", 7, 4, 0}}};
    MapExchange save;
    kvo::ExchangeGreeting(save, greeting);
    EXPECT_EQ(save.Saved(), (Items{{L"EntryGreeting.Fileformat", L"2"},
                                   {L"EntryGreeting.TermOnDTMF", L"False"},
                                   {L"EntryGreeting.NumPhrase", L"2"},
                                   {L"EntryGreeting.Phrase0.File", L"hello.vox"},
                                   {L"EntryGreeting.Phrase0.Data", L""},
                                   {L"EntryGreeting.Phrase0.Type", std::to_wstring(1L << 16 | 0xFFFF)},
                                   {L"EntryGreeting.Phrase1.File", L"menu.vap"},
                                   {L"EntryGreeting.Phrase1.Data", L"main"},
                                   {L"EntryGreeting.Phrase1.Type", std::to_wstring(4L << 16 | 7)}}));
    kvo::GreetingData loaded{L"Entry", true, -1, {}};
    MapExchange load(save.Saved());
    kvo::ExchangeGreeting(load, loaded);
    EXPECT_EQ(loaded, greeting);

    kvo::GreetingData kept = greeting;
    MapExchange noCount(Items{{L"EntryGreeting.Fileformat", L"1"}});
    kvo::ExchangeGreeting(noCount, kept);
    EXPECT_EQ(kept.phrases, greeting.phrases) << "NumPhrase -1 keeps the phrases";
    EXPECT_EQ(kept.fileformat, 1);
    EXPECT_TRUE(kept.termOnDtmf) << "a missing TermOnDTMF is true";
}

TEST(SavedForm, AStoredPhraseCountBelowMinusOneIsAnEmptyGreeting) {
    // Only -1 means "absent"; any other negative count once read as a huge
    // unsigned count.
    for (const wchar_t* count : {L"-2", L"-32768"}) {
        kvo::GreetingData greeting{L"Entry", true, -1, {{L"hello.vox", L"", -1, 1, 0}}};
        MapExchange load(Items{{L"EntryGreeting.NumPhrase", count}, {L"EntryGreeting.Phrase0.File", L"x.vox"}});
        kvo::ExchangeGreeting(load, greeting);
        EXPECT_TRUE(greeting.phrases.empty()) << count;
    }
}

TEST(SavedForm, InventoryEntries) {
    struct { const wchar_t* text; bool ok; long page; const wchar_t* name; } cases[] = {
        {L"0,Menu", true, 0, L"Menu"},
        {L"12,Play,Again", true, 12, L"Play,Again"},
        {L"-1,Odd", true, -1, L"Odd"},
        {L",Menu", false, 0, L""},
        {L"x,Menu", false, 0, L""},
        {L"7", false, 0, L""},
        {L"-,Menu", false, 0, L""},
        {L"99999999999999999999,Menu", false, 0, L""},
    };
    for (const auto& c : cases) {
        auto e = kvo::ParseInventoryEntry(c.text);
        ASSERT_EQ(e.has_value(), c.ok) << std::wstring(c.text).size();
        if (!e) continue;
        EXPECT_EQ(e->page, c.page);
        EXPECT_EQ(e->name, c.name);
        EXPECT_EQ(kvo::FormatInventoryEntry(*e), c.text);
    }
    std::vector<kvo::InventoryEntry> inventory{{0, L"Menu"}, {2, L"Play"}};
    MapExchange save;
    kvo::ExchangeInventory(save, inventory);
    EXPECT_EQ(save.Saved(), (Items{{L"NumControls", L"2"}, {L"Control0", L"0,Menu"}, {L"Control1", L"2,Play"}}));
    MapExchange damaged(Items{{L"NumControls", L"40000"}, {L"Control0", L"junk"}, {L"Control5", L"3,Late"}});
    kvo::ExchangeInventory(damaged, inventory);
    EXPECT_EQ(inventory, (std::vector<kvo::InventoryEntry>{{3, L"Late"}}));
    EXPECT_EQ(kvo::TakeInventoryPage(inventory, L"Late"), 3);
    EXPECT_FALSE(kvo::TakeInventoryPage(inventory, L"Late")) << "taken out of the list";
}

TEST(SavedForm, HandlerNamesSaveDefaultForEmpty) {
    std::wstring name;
    MapExchange save;
    kvo::ExchangeHandlerName(save, L"DisconnectControlName", name);
    EXPECT_EQ(save.Saved(), (Items{{L"DisconnectControlName", L"[Default]"}}));
    MapExchange load(Items{{L"DisconnectControlName", L""}});
    kvo::ExchangeHandlerName(load, L"DisconnectControlName", name);
    EXPECT_EQ(name, L"[Default]");
}

TEST(Directories, ResolveAgainstTheSystemDirectory) {
    struct { const char* value; const char* expected; } cases[] = {
        {"prompts", "c:\\kvo32\\prompts\\"},
        {"d:\\voice", "d:\\voice\\"},
        {"\\share\\voice\\", "\\share\\voice\\"},
        {"", "c:\\kvo32\\"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(kvo::WithTrailingBackslash(kvo::ResolveDirectory(c.value, "c:\\kvo32\\")), c.expected) << c.value;
    EXPECT_TRUE(kvo::SameDirectory("C:\\KVO32\\", "c:\\kvo32\\"));
    EXPECT_FALSE(kvo::SameDirectory("c:\\kvo32\\a\\", "c:\\kvo32\\"));
}

}  // namespace
}  // namespace kvo_test
