// The user's home folder, where the settings file lives.
#pragma once

#include <string>

// The home folder: HOME unless it is empty, unset, relative or the root by any spelling, else
// the account's own folder (account: its entry in the account database, or null). Empty when
// neither names an absolute folder other than the root, so that nothing is ever written there.
// root: the folder that is never a home, "/" but where a test stands another in for it.
std::string ChooseHomeFolder(const char* home, const char* account, const char* root = "/");

// Sets HOME to the folder chosen above, so that the toolkit and the libraries below it all
// find the same one; called before they first read it. False, with HOME left as it is, when
// there is none.
bool SettleHomeFolder();
