// The parser's byte offsets: a value replaced through them leaves the rest intact.
#include <gtest/gtest.h>

#include "idapi/ConfigFile.h"

namespace idapi {
namespace {

TEST(ConfigFileTest, EveryValueCanBeReplacedWithoutDisturbingTheOthers) {
    const std::string texts[] = {
        "[\\A]\nX=1\nY=\n[\\B]\r\n  Z z = a=b \r\n; c\r\nW=last",
        "; only comments\n\n[\\A]\n\n",
        "[\\A]\r\nN=v\r\nN=w\r\n",
    };
    for (const std::string& text : texts) {
        const std::optional<ConfigFile> parsed = ParseConfigFile(text);
        ASSERT_TRUE(parsed) << text;
        for (std::size_t s = 0; s < parsed->sections.size(); ++s) {
            for (std::size_t e = 0; e < parsed->sections[s].entries.size(); ++e) {
                const ConfigEntry& entry = parsed->sections[s].entries[e];
                const std::string changed = ReplaceValue(text, entry, "new value");
                const std::optional<ConfigFile> reparsed = ParseConfigFile(changed);
                ASSERT_TRUE(reparsed) << changed;
                ASSERT_EQ(parsed->sections.size(), reparsed->sections.size());
                for (std::size_t s2 = 0; s2 < parsed->sections.size(); ++s2) {
                    const auto& was = parsed->sections[s2].entries;
                    const auto& now = reparsed->sections[s2].entries;
                    ASSERT_EQ(was.size(), now.size());
                    for (std::size_t e2 = 0; e2 < was.size(); ++e2) {
                        EXPECT_EQ(was[e2].name, now[e2].name);
                        const std::string value = changed.substr(now[e2].valueOffset, now[e2].valueLength);
                        EXPECT_EQ(s2 == s && e2 == e ? "new value"
                                                     : text.substr(was[e2].valueOffset, was[e2].valueLength),
                                  value);
                    }
                }
            }
        }
    }
}

TEST(ConfigFileTest, OnlyValuesThatKeepTheLineStructureCanBeStored) {
    EXPECT_TRUE(IsStorableValue(""));
    EXPECT_TRUE(IsStorableValue(std::string(127, 'v')));
    EXPECT_TRUE(IsStorableValue("a=b;[c]"));
    EXPECT_FALSE(IsStorableValue(std::string(128, 'v')));
    EXPECT_FALSE(IsStorableValue("a\nb"));
    EXPECT_FALSE(IsStorableValue("a\rb"));
    EXPECT_FALSE(IsStorableValue(std::string("a\0b", 3)));
}

}  // namespace
}  // namespace idapi
