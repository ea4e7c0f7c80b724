#include "UserProfileStore.h"

#include "SettingsProfileStore.h"

std::unique_ptr<ProfileStore> openUserProfileStore()
{
    return std::make_unique<SettingsProfileStore>();
}
