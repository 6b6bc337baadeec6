// Finding the home folder when the environment does not name one.
#include "HomeFolder.h"

#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// The folder itself, not its spelling: "/.", "//" and "/tmp/.." are the root too. Known by
// device and inode both: the root of another file system (a separate /home partition) has
// the root's inode number, 2, on a device of its own.
bool IsRoot(const char* path, const char* root = "/") {
    struct stat folder, top;
    return stat(path, &folder) == 0 && stat(root, &top) == 0 && folder.st_dev == top.st_dev &&
           folder.st_ino == top.st_ino;
}
} // namespace

std::string ChooseHomeFolder(const char* home, const char* account, const char* root) {
    // Only an absolute folder: a relative one would land wherever the program was started.
    if (home && home[0] == '/' && !IsRoot(home, root))
        return home;
    if (account && account[0] == '/' && !IsRoot(account, root))
        return account;
    return std::string();
}

bool SettleHomeFolder() {
    const char* home = std::getenv("HOME");
    const passwd* account = nullptr;
    if (!home || home[0] != '/' || IsRoot(home))
        account = getpwuid(getuid());
    const std::string chosen = ChooseHomeFolder(home, account ? account->pw_dir : nullptr);
    if (chosen.empty())
        return false;
    return (home && chosen == home) || setenv("HOME", chosen.c_str(), 1) == 0;
}
