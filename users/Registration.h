#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "users/Password.h"
#include "users/Roles.h"
#include "users/UsersFile.h"

namespace users {

// Who is signed in at the console, and the checks of sign-in and unblocking,
// without any window: the console asks it and shows what it answers. Time
// comes from the clock it is given, so that tests can move it by hand.
//
// - Sign-in: the user's password, checked against the user's hash. After
//   kFailureLimit wrong passwords in a row the user is locked for kLockTime;
//   tries while locked are refused unchecked. A success or the end of the lock
//   starts the count anew.
// - Unblocking: the password of the user signed in when the console was
//   blocked, or of any engineer. The block panel has its own count under the
//   same limit and lock time. Whoever unblocks is at the console from then
//   on: an engineer who unblocks for an operator is signed in in their place,
//   so that the commands that follow carry the engineer's name.
// - Idle sign-out: with IdleMinutes in the users file, a user who gave no input
//   for that long is signed out.
// Empty passwords are refused without being counted as tries.
class Registration {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    static constexpr int kFailureLimit = 5;
    static constexpr std::chrono::seconds kLockTime{60};

    enum class Result {
        Accepted,       // signed in, or unblocked
        WrongPassword,  // counted as a failure; `wait` > 0 when it locked
        EmptyPassword,  // refused, not counted
        UnknownUser,    // no such user in the file (sign-in only)
        Locked,         // refused unchecked; `wait` says for how long still
        NotBlocked,     // an unblock while the console is not blocked
    };

    struct Attempt {
        Result result;
        std::string name;              // who tried to sign in, or whose password unblocked
        std::chrono::seconds wait{0};  // how long the lock lasts from now, rounded up
    };

    Registration(Users users, Clock now);

    Attempt SignIn(std::string_view name, const Password& password);
    // Signs the current user out; false when nobody was signed in.
    bool SignOut();

    // The signed-in user, or nullptr.
    const User* Current() const;
    // Whether the signed-in user (an observer when nobody) may do `action`.
    bool May(Action action) const;

    // Blocks the console for the user signed in now. A second block keeps the
    // first one's user.
    void Block();
    bool Blocked() const { return blocked_; }
    // On success the user whose password it was is the signed-in user.
    Attempt Unblock(const Password& password);

    // The user's new password hash, once it is in the users file; false when
    // there is no such user.
    bool SetHash(std::string_view name, std::string hash);

    // Input from the operator: restarts the idle time.
    void NoteInput();
    // Signs the user out when IdleMinutes have passed without input; true when
    // it did.
    bool SignOutWhenIdle();

    const Users& Known() const { return users_; }

private:
    struct Failures {
        int count = 0;
        std::optional<std::chrono::steady_clock::time_point> lockedUntil;
    };

    // Nothing while the count may try; otherwise the refusal.
    std::optional<Attempt> LockedNow(Failures& failures, const std::string& name);
    Attempt Failed(Failures& failures, const std::string& name);

    Users users_;
    Clock now_;
    std::optional<std::string> current_;
    std::map<std::string, Failures, std::less<>> signInFailures_;
    bool blocked_ = false;
    std::optional<std::string> blockedFor_;
    Failures unblockFailures_;
    std::chrono::steady_clock::time_point lastInput_;
};

}  // namespace users
