// The home folder when the environment names none.
#include "HomeFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <pwd.h>
#include <string>
#include <unistd.h>

namespace {
// HOME unless empty, unset, relative or the root by any spelling; else the account's folder if
// it is an absolute one other than the root; else none. The choice is set for the whole process.
TEST(HomeFolderTest, HomeIsTakenFromTheAccountWhenEmptyAndNeverIsTheRoot) {
    const struct {
        const char* home;
        const char* account;
        std::string chosen;
    } cases[] = {
        {"/home/ada", "/home/bob", "/home/ada"},
        {"", "/home/bob", "/home/bob"},
        {nullptr, "/home/bob", "/home/bob"},
        {"/", "/home/bob", "/home/bob"},
        {"/.", "/home/bob", "/home/bob"},
        {"/tmp/..", "/home/bob", "/home/bob"},
        {"//", "/home/bob", "/home/bob"},
        {"home/ada", "/home/bob", "/home/bob"},
        {"", "//", ""},
        {"", "/.", ""},
        {"", "", ""},
        {nullptr, nullptr, ""},
        {"", "home/bob", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseHomeFolder(c.home, c.account), c.chosen)
            << (c.home ? c.home : "(unset)") << " / " << (c.account ? c.account : "(none)");

    const std::string saved = std::getenv("HOME") ? std::getenv("HOME") : "";
    const std::string account = ChooseHomeFolder(nullptr, getpwuid(getuid())->pw_dir);
    for (const char* home : {"", "relative/home", "/.", "/tmp/..", "//"}) {
        setenv("HOME", home, 1);
        EXPECT_EQ(SettleHomeFolder(), !account.empty()) << home;
        EXPECT_EQ(std::getenv("HOME"), account.empty() ? home : account) << home;
    }
    setenv("HOME", saved.c_str(), 1);
}
} // namespace
