#pragma once

#include <memory>

class ProfileStore;

// The user's own settings store of the program: on Windows the registry key
// HKEY_CURRENT_USER\Software\KESTRAVON\Tickwell, elsewhere the INI file
// KESTRAVON/Tickwell.conf in the user's config folder.
std::unique_ptr<ProfileStore> openUserProfileStore();
