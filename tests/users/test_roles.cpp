#include <gtest/gtest.h>

#include <optional>

#include "users/Roles.h"

namespace {

using users::Action;
using users::Role;

struct Row {
    Action action;
    const char* name;
    bool nobody;
    bool observer;
    bool operator_;
    bool engineer;
};
void PrintTo(const Row& row, std::ostream* os) {
    *os << row.name;
}

class PermissionTable : public testing::TestWithParam<Row> {};

TEST_P(PermissionTable, EachRoleMayDoWhatItsRowSays) {
    const Row& row = GetParam();
    EXPECT_EQ(users::May(std::nullopt, row.action), row.nobody) << "nobody signed in";
    EXPECT_EQ(users::May(Role::Observer, row.action), row.observer) << "наблюдатель";
    EXPECT_EQ(users::May(Role::Operator, row.action), row.operator_) << "оператор";
    EXPECT_EQ(users::May(Role::Engineer, row.action), row.engineer) << "инженер";
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Roles, PermissionTable, testing::Values(
    //   action                  name             nobody observer operator engineer
    Row{Action::SignIn,        "SignIn",        true,  true,  true,  true},
    Row{Action::OpenPanel,     "OpenPanel",     true,  true,  true,  true},
    Row{Action::SwitchPage,    "SwitchPage",    true,  true,  true,  true},
    Row{Action::Help,          "Help",          true,  true,  true,  true},
    Row{Action::ViewJournals,  "ViewJournals",  true,  true,  true,  true},
    Row{Action::DeviceCommand, "DeviceCommand", false, false, true,  true},
    Row{Action::RouteCommand,  "RouteCommand",  false, false, true,  true},
    Row{Action::Block,         "Block",         false, false, true,  true},
    Row{Action::SoundSwitch,   "SoundSwitch",   false, false, true,  true},
    Row{Action::ResetCounter,  "ResetCounter",  false, false, true,  true},
    Row{Action::Interlocks,    "Interlocks",    false, false, true,  true},
    Row{Action::Exit,          "Exit",          false, false, true,  true},
    Row{Action::SetupFunction, "SetupFunction", false, false, false, true}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
