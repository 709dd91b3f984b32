#pragma once

#include <optional>
#include <string_view>

namespace users {

// What a signed-in user is: watches only, runs the plant, or also sets it up.
enum class Role {
    Observer,  // "наблюдатель"
    Operator,  // "оператор"
    Engineer,  // "инженер"
};

// The role's name as the users file and the console write it.
std::string_view RoleName(Role role);
// The role named exactly so, or nothing.
std::optional<Role> RoleNamed(std::string_view name);

// What the operator can do at the console, grouped as the permission table
// tells them apart.
enum class Action {
    SignIn,         // "Регистрация": the sign-in dialog
    OpenPanel,      // open and close the device and setup panels
    SwitchPage,     // "Силосы", "Визуализация"
    Help,           // "Информация"
    ViewJournals,   // "Журналы"
    DeviceCommand,  // the device panel's command and mode buttons
    RouteCommand,   // start or stop a route
    Block,          // "Блокировка"
    SoundSwitch,    // the loudspeaker buttons
    ResetCounter,   // "Сброс" of the shipped tonnage
    Interlocks,     // "Силосный парк", "Трансп. оборудование"
    Exit,           // "Выход"
    SetupFunction,  // the setup panel's "Инициализация PLC", "Настройка среды", "Калибровка"
};

// Whether a user of `role` may do `action`. Nobody signed in has the rights
// of an observer.
bool May(Role role, Action action);
bool May(std::optional<Role> signedIn, Action action);

}  // namespace users
