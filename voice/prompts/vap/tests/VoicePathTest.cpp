#include <gtest/gtest.h>

#include <set>

#include "VoicePath.h"

namespace {

using kvo::VoiceDirs;

TEST(VoicePath, CandidatesFollowTheLookupOrder) {
    struct Case {
        const char* note;
        const char* name;
        VoiceDirs dirs;
        std::vector<std::string> tried;
    } cases[] = {
        {"backslash root", "\\voice\\a.vap", {"c:\\p\\fr\\", "c:\\p", "c:\\sys"}, {"\\voice\\a.vap"}},
        {"drive letter", "d:a.vap", {"c:\\p\\fr\\", "c:\\p", "c:\\sys"}, {"d:a.vap"}},
        {"language, project, system", "a.vap", {"c:\\p\\fr\\", "c:\\p", "c:\\sys"},
         {"c:\\p\\fr\\a.vap", "c:\\p\\a.vap", "c:\\sys\\a.vap"}},
        {"the default language is the project folder", "a.vap", {"c:\\p", "C:\\P\\", "c:\\sys"},
         {"c:\\p\\a.vap", "c:\\sys\\a.vap"}},
        {"project folder is the system folder", "a.vap", {"c:\\p\\it", "c:\\SYS", "c:\\sys\\"},
         {"c:\\p\\it\\a.vap", "c:\\SYS\\a.vap"}},
        {"no folders set", "a.vap", {"", "", ""}, {"a.vap"}},
        {"a folder written with slashes", "a.vap", {"/srv/voice", "", ""}, {"/srv/voice/a.vap"}},
        {"relative subfolder", "sub\\a.vap", {"c:\\p", "c:\\p", ""}, {"c:\\p\\sub\\a.vap"}},
    };
    for (const Case& c : cases) EXPECT_EQ(kvo::VoiceCandidates(c.name, c.dirs), c.tried) << c.note;
}

TEST(VoicePath, TheFirstExistingCandidateWins) {
    const VoiceDirs dirs{"c:\\p\\fr", "c:\\p", "c:\\sys"};
    std::set<std::string> present;
    std::vector<std::string> asked;
    auto exists = [&](const std::string& p) {
        asked.push_back(p);
        return present.count(p) > 0;
    };

    auto r = kvo::ResolveVoiceName("a.vap", dirs, exists);
    EXPECT_FALSE(r.found);
    EXPECT_EQ(r.path, "c:\\p\\fr\\a.vap") << "a miss is reported with the first path";
    EXPECT_EQ(asked.size(), 3u);

    present = {"c:\\sys\\a.vap", "c:\\p\\a.vap"};
    r = kvo::ResolveVoiceName("a.vap", dirs, exists);
    EXPECT_TRUE(r.found);
    EXPECT_EQ(r.path, "c:\\p\\a.vap");
}

}  // namespace
