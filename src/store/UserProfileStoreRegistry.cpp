#include "UserProfileStore.h"

#include "RegistryProfileStore.h"

std::unique_ptr<ProfileStore> openUserProfileStore()
{
    return std::make_unique<RegistryProfileStore>();
}
