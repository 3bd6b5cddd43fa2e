// The syntax of percent-sign references.
#include <gtest/gtest.h>

#include <string>

#include "References.h"

namespace {

// "L:text" for a literal, "R:token" for a reference, joined by '|'.
std::string Describe(std::string_view text) {
    const auto pieces = kvo::SplitReferences(text);
    if (!pieces) return "refused";
    std::string out;
    for (const auto& p : *pieces) {
        if (!out.empty()) out += '|';
        out += p.reference ? "R:" : "L:";
        out += p.text;
    }
    return out;
}

TEST(References, SplitsTextIntoLiteralsAndTokens) {
    const struct { const char* text; const char* want; const char* note; } cases[] = {
        {"", "", "nothing at all"},
        {"c:\\voice\\menu.vap", "L:c:\\voice\\menu.vap", "no percent sign: one literal"},
        {"%Menu%", "R:Menu", ""},
        {"x%Frame1.Ext%y%channel%", "L:x|R:Frame1.Ext|L:y|R:channel", "text around references kept"},
        {"%a%%b%", "R:a|R:b", "adjacent references"},
        {"%%", "R:", "empty token is a reference to no name"},
        {"50%", "refused", "a lone percent sign"},
        {"%a%b%", "refused", "third percent sign left open"},
    };
    for (const auto& c : cases) EXPECT_EQ(Describe(c.text), c.want) << c.note << " [" << c.text << "]";
}

TEST(References, TokenSplitsAtTheFirstPoint) {
    const struct { const char* token; const char* control; const char* value; } cases[] = {
        {"Menu", "Menu", nullptr},
        {"Menu.Digits", "Menu", "Digits"},
        {"Data1.a.b", "Data1", "a.b"},
        {"Menu.", "Menu", ""},
    };
    for (const auto& c : cases) {
        const kvo::ReferenceToken t = kvo::SplitToken(c.token);
        EXPECT_EQ(t.control, c.control) << c.token;
        ASSERT_EQ(t.value.has_value(), c.value != nullptr) << c.token;
        if (c.value) {
            EXPECT_EQ(*t.value, c.value) << c.token;
        }
    }
}

TEST(References, ThisAndChannelIgnoreCase) {
    EXPECT_TRUE(kvo::IsThisReference("THIS"));
    EXPECT_TRUE(kvo::IsThisReference("This"));
    EXPECT_FALSE(kvo::IsThisReference("thisx"));
    EXPECT_TRUE(kvo::IsChannelReference("Channel"));
    EXPECT_FALSE(kvo::IsChannelReference("chan"));
}

}  // namespace
