#include "users/Registration.h"

#include <vector>

namespace users {

namespace {

std::chrono::seconds RoundedUp(std::chrono::steady_clock::duration left) {
    return std::chrono::ceil<std::chrono::seconds>(left);
}

}  // namespace

Registration::Registration(Users users, Clock now)
    : users_(std::move(users)), now_(std::move(now)), lastInput_(now_()) {}

std::optional<Registration::Attempt> Registration::LockedNow(Failures& failures,
                                                             const std::string& name) {
    if (!failures.lockedUntil) return std::nullopt;
    const auto now = now_();
    if (now >= *failures.lockedUntil) {
        failures = Failures{};
        return std::nullopt;
    }
    return Attempt{Result::Locked, name, RoundedUp(*failures.lockedUntil - now)};
}

Registration::Attempt Registration::Failed(Failures& failures, const std::string& name) {
    if (++failures.count < kFailureLimit) return Attempt{Result::WrongPassword, name};
    failures.lockedUntil = now_() + kLockTime;
    return Attempt{Result::WrongPassword, name, kLockTime};
}

Registration::Attempt Registration::SignIn(std::string_view name, const Password& password) {
    const User* user = users_.Find(name);
    if (user == nullptr) return Attempt{Result::UnknownUser, std::string(name)};
    if (password.Empty()) return Attempt{Result::EmptyPassword, user->name};
    Failures& failures = signInFailures_[user->name];
    if (std::optional<Attempt> locked = LockedNow(failures, user->name)) return *locked;
    if (!VerifyPassword(user->hash, password)) return Failed(failures, user->name);
    failures = Failures{};
    current_ = user->name;
    lastInput_ = now_();
    return Attempt{Result::Accepted, user->name};
}

bool Registration::SignOut() {
    const bool was = current_.has_value();
    current_.reset();
    return was;
}

const User* Registration::Current() const {
    return current_ ? users_.Find(*current_) : nullptr;
}

bool Registration::May(Action action) const {
    const User* user = Current();
    return users::May(user ? std::optional<Role>(user->role) : std::nullopt, action);
}

void Registration::Block() {
    if (blocked_) return;
    blocked_ = true;
    blockedFor_ = current_;
}

Registration::Attempt Registration::Unblock(const Password& password) {
    if (!blocked_) return Attempt{Result::NotBlocked, ""};
    if (password.Empty()) return Attempt{Result::EmptyPassword, ""};
    if (std::optional<Attempt> locked = LockedNow(unblockFailures_, "")) return *locked;
    // The blocking user's password first: the usual case costs one check.
    std::vector<const User*> candidates;
    if (blockedFor_) {
        if (const User* user = users_.Find(*blockedFor_)) candidates.push_back(user);
    }
    for (const User& user : users_.list) {
        if (user.role == Role::Engineer && (!blockedFor_ || user.name != *blockedFor_)) {
            candidates.push_back(&user);
        }
    }
    for (const User* user : candidates) {
        if (!VerifyPassword(user->hash, password)) continue;
        unblockFailures_ = Failures{};
        blocked_ = false;
        blockedFor_.reset();
        current_ = user->name;
        lastInput_ = now_();
        return Attempt{Result::Accepted, user->name};
    }
    return Failed(unblockFailures_, "");
}

bool Registration::SetHash(std::string_view name, std::string hash) {
    User* user = users_.Find(name);
    if (user == nullptr) return false;
    user->hash = std::move(hash);
    return true;
}

void Registration::NoteInput() {
    lastInput_ = now_();
}

bool Registration::SignOutWhenIdle() {
    if (!current_ || users_.idleMinutes <= 0) return false;
    if (now_() - lastInput_ < std::chrono::minutes(users_.idleMinutes)) return false;
    current_.reset();
    return true;
}

}  // namespace users
