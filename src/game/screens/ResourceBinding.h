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
