#include "users/Roles.h"

#include <array>

namespace users {

namespace {

struct RoleText {
    Role role;
    std::string_view name;
};

constexpr std::array<RoleText, 3> kRoles = {{
    {Role::Observer, "наблюдатель"},
    {Role::Operator, "оператор"},
    {Role::Engineer, "инженер"},
}};

// The least role that may do an action; every role above it may too.
Role LeastRole(Action action) {
    switch (action) {
        case Action::SignIn:
        case Action::OpenPanel:
        case Action::SwitchPage:
        case Action::Help:
        case Action::ViewJournals:
            return Role::Observer;
        case Action::DeviceCommand:
        case Action::RouteCommand:
        case Action::Block:
        case Action::SoundSwitch:
        case Action::ResetCounter:
        case Action::Interlocks:
        case Action::Exit:
            return Role::Operator;
        case Action::SetupFunction:
            return Role::Engineer;
    }
    return Role::Engineer;  // an action added without a row is the engineer's
}

}  // namespace

std::string_view RoleName(Role role) {
    for (const RoleText& r : kRoles) {
        if (r.role == role) return r.name;
    }
    return {};
}

std::optional<Role> RoleNamed(std::string_view name) {
    for (const RoleText& r : kRoles) {
        if (r.name == name) return r.role;
    }
    return std::nullopt;
}

bool May(Role role, Action action) {
    return static_cast<int>(role) >= static_cast<int>(LeastRole(action));
}

bool May(std::optional<Role> signedIn, Action action) {
    return May(signedIn.value_or(Role::Observer), action);
}

}  // namespace users
