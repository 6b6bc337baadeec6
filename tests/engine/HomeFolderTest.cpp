// The home folder when the environment names none.
#include "HomeFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <pwd.h>
#include <string>
#include <unistd.h>

namespace {
// HOME, unless empty, unset or the root; else the account's folder, if it is an absolute one
// other than the root; else none.
TEST(HomeFolderTest, HomeIsTakenFromTheAccountWhenEmptyAndNeverIsTheRoot) {
    struct Case {
        const char* home;
        const char* account;
        std::string chosen;
    } cases[] = {
        {"/home/ada", "/home/bob", "/home/ada"},
        {"", "/home/bob", "/home/bob"},
        {nullptr, "/home/bob", "/home/bob"},
        {"/", "/home/bob", "/home/bob"},
        {"", "/", ""},
        {"", "//", ""},
        {"", "", ""},
        {"", nullptr, ""},
        {nullptr, nullptr, ""},
        {"", "home/bob", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseHomeFolder(c.home, c.account), c.chosen)
            << (c.home ? c.home : "(unset)") << " / " << (c.account ? c.account : "(none)");
}

// An empty HOME is set for the whole process, so that the toolkit finds the same folder.
TEST(HomeFolderTest, AnEmptyHomeIsSetFromTheAccountDatabase) {
    const char* saved = std::getenv("HOME");
    const std::optional<std::string> home =
        saved ? std::optional<std::string>(saved) : std::nullopt;
    const passwd* account = getpwuid(getuid());
    ASSERT_NE(account, nullptr);
    const std::string expected = ChooseHomeFolder(nullptr, account->pw_dir);
    setenv("HOME", "", 1);
    EXPECT_EQ(SettleHomeFolder(), !expected.empty());
    EXPECT_EQ(std::string(std::getenv("HOME")), expected);
    setenv("HOME", "/somewhere/else", 1);
    EXPECT_TRUE(SettleHomeFolder());
    EXPECT_EQ(std::string(std::getenv("HOME")), "/somewhere/else");
    if (home)
        setenv("HOME", home->c_str(), 1);
    else
        unsetenv("HOME");
}
} // namespace
