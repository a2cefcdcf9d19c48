#pragma once

#include <windows.h>

#include "launcher/task_manager_toggle.h"

namespace qb {

HKEY RegistryRoot(PolicyRoot root);

// The policy value in the system registry.
class RegistryPolicyStore final : public PolicyStore {
public:
    RegistryPolicyStore();
    int32_t ReadPolicyValue(PolicyRoot root) override;
    bool WritePolicyValue(PolicyRoot root, int32_t value) override;

private:
    PolicyLocation location_;
};

}  // namespace qb
