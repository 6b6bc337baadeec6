// The home folder when the environment names none.
#include "HomeFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <pwd.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
// Two roots of file systems mounted here that share an inode number on different devices, as
// a separate /home partition shares inode 2 with "/" (the roots of /proc, /sys, /dev and the
// like share inode 1): "/" and one of them when there is one, else two others. Empty when
// there are none.
std::pair<std::string, std::string> RootsSharingAnInode() {
    std::map<ino_t, std::vector<std::pair<dev_t, std::string>>> roots;
    std::ifstream mounts("/proc/self/mountinfo");
    for (std::string line; std::getline(mounts, line);) {
        std::istringstream fields(line);
        std::string id, parent, device, within, point;
        fields >> id >> parent >> device >> within >> point;
        struct stat st;
        // A mount point spelled with an escape (a blank in it, \040) is passed over.
        if (within == "/" && point.find('\\') == std::string::npos &&
            stat(point.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            roots[st.st_ino].emplace_back(st.st_dev, point);
    }
    std::pair<std::string, std::string> found;
    for (const auto& [inode, folders] : roots)
        for (const auto& [device, point] : folders)
            for (const auto& [otherDevice, other] : folders)
                if (device != otherDevice && (found.first.empty() || point == "/"))
                    found = {point, other};
    return found;
}

// A home on a file system of its own is no root, though its inode number is the root's: the
// root is known by its device too.
TEST(HomeFolderTest, TheRootOfAnotherFileSystemIsAHome) {
    const auto [root, other] = RootsSharingAnInode();
    ASSERT_FALSE(root.empty()) << "no two file systems whose roots share an inode number";
    SCOPED_TRACE(root + " and " + other);
    EXPECT_EQ(ChooseHomeFolder(other.c_str(), "/home/bob", root.c_str()), other);
    EXPECT_EQ(ChooseHomeFolder(nullptr, (other + "/.").c_str(), root.c_str()), other + "/.");
    EXPECT_EQ(ChooseHomeFolder(root.c_str(), "/home/bob", root.c_str()), "/home/bob");
    EXPECT_EQ(ChooseHomeFolder((root + "/.").c_str(), other.c_str(), root.c_str()), other);
}

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
