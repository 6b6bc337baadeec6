// Finding the home folder when the environment does not name one.
#include "HomeFolder.h"

#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// The folder itself, not its spelling: "/.", "//" and "/tmp/.." are the root too.
bool IsRoot(const char* path) {
    struct stat folder, root;
    return stat(path, &folder) == 0 && stat("/", &root) == 0 && folder.st_dev == root.st_dev &&
           folder.st_ino == root.st_ino;
}
} // namespace

std::string ChooseHomeFolder(const char* home, const char* account) {
    // Only an absolute folder: a relative one would land wherever the program was started.
    if (home && home[0] == '/' && !IsRoot(home))
        return home;
    if (account && account[0] == '/' && !IsRoot(account))
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
