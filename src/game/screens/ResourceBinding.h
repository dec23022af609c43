#pragma once

namespace Zorva {
class ResourceManager;
}

// Each binds the handles of one resource group, in the group's order. The first identifier
// the manager lacks ends the binding with false; the handles bound before it stay bound and
// the rest keep their values.
bool BindInitGroup(Zorva::ResourceManager& manager);
bool BindTitleScreenGroup(Zorva::ResourceManager& manager);
bool BindGameGroup(Zorva::ResourceManager& manager);

// Each puts the handles of one group back to their unbound state (null images and font,
// sound ids -1). Called when the group is unloaded, so nothing draws or plays a freed
// resource through a stale handle.
void ResetInitGroup();
void ResetTitleScreenGroup();
void ResetGameGroup();
