#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "tests/users/CheapHash.h"
#include "users/Registration.h"

namespace {

using namespace std::chrono_literals;
using users::Action;
using users::Password;
using users::Registration;
using Result = users::Registration::Result;

users::Users Staff(int idleMinutes) {
    users::Users staff;
    staff.idleMinutes = idleMinutes;
    staff.list = {
        {"Зернов", users::Role::Operator, userstest::CheapHash("зерно")},
        {"Петров", users::Role::Engineer, userstest::CheapHash("инженер1")},
        {"Сидоров", users::Role::Observer, userstest::CheapHash("смотрю")},
        {"Козлов", users::Role::Operator, userstest::CheapHash("козлов")},
        {"Орлова", users::Role::Engineer, userstest::CheapHash("орлова")},
    };
    return staff;
}

// The console's registration on a clock the test moves by hand.
class SignIn : public testing::Test {
protected:
    explicit SignIn(int idleMinutes = 10)
        : registration_(Staff(idleMinutes), [this] { return now_; }) {}

    Registration::Attempt Try(const std::string& name, const std::string& password) {
        return registration_.SignIn(name, Password(password));
    }
    std::string Current() const {
        const users::User* user = registration_.Current();
        return user ? user->name : "(nobody)";
    }

    std::chrono::steady_clock::time_point now_{};
    Registration registration_;
};

TEST_F(SignIn, RightPasswordSignsInAndSignOutLeavesAnObserversRights) {
    EXPECT_FALSE(registration_.May(Action::DeviceCommand));
    const auto attempt = Try("Зернов", "зерно");
    EXPECT_EQ(attempt.result, Result::Accepted);
    EXPECT_EQ(attempt.name, "Зернов");
    EXPECT_EQ(Current(), "Зернов");
    EXPECT_TRUE(registration_.May(Action::DeviceCommand));
    EXPECT_FALSE(registration_.May(Action::SetupFunction));

    EXPECT_TRUE(registration_.SignOut());
    EXPECT_EQ(Current(), "(nobody)");
    EXPECT_FALSE(registration_.May(Action::DeviceCommand));
    EXPECT_TRUE(registration_.May(Action::SwitchPage));
    EXPECT_FALSE(registration_.SignOut());
}

TEST_F(SignIn, WrongEmptyOrUnknownLeavesWhoeverWasSignedIn) {
    ASSERT_EQ(Try("Зернов", "зерно").result, Result::Accepted);
    EXPECT_EQ(Try("Петров", "зерно").result, Result::WrongPassword);
    EXPECT_EQ(Try("Петров", "").result, Result::EmptyPassword);
    EXPECT_EQ(Try("Иванов", "зерно").result, Result::UnknownUser);
    EXPECT_EQ(Try("зернов", "зерно").result, Result::UnknownUser);
    EXPECT_EQ(Current(), "Зернов");
}

TEST_F(SignIn, FiveFailuresInARowLockTheUserForAMinute) {
    for (int i = 1; i <= 4; ++i) {
        const auto attempt = Try("Зернов", "зерно?");
        EXPECT_EQ(attempt.result, Result::WrongPassword) << i;
        EXPECT_EQ(attempt.wait, 0s) << i;
    }
    EXPECT_EQ(Try("Зернов", "").result, Result::EmptyPassword);  // not counted
    const auto fifth = Try("Зернов", "зерно?");
    EXPECT_EQ(fifth.result, Result::WrongPassword);
    EXPECT_EQ(fifth.wait, 60s);

    now_ += 20s;
    const auto locked = Try("Зернов", "зерно");
    EXPECT_EQ(locked.result, Result::Locked);
    EXPECT_EQ(locked.wait, 40s);
    now_ += 39s + 500ms;
    EXPECT_EQ(Try("Зернов", "зерно").wait, 1s) << "rounded up";
    EXPECT_EQ(Current(), "(nobody)");
    EXPECT_EQ(Try("Козлов", "козлов").result, Result::Accepted) << "another user is not locked";

    now_ += 500ms;
    EXPECT_EQ(Try("Зернов", "зерно").result, Result::Accepted);
    EXPECT_EQ(Current(), "Зернов");
}

TEST_F(SignIn, ASuccessOrTheLocksEndStartsTheCountAnew) {
    for (int i = 0; i < 4; ++i) Try("Зернов", "?");
    ASSERT_EQ(Try("Зернов", "зерно").result, Result::Accepted);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Try("Зернов", "?").wait, 0s);
    EXPECT_EQ(Try("Зернов", "?").wait, 60s);
    now_ += 60s;
    EXPECT_EQ(Try("Зернов", "?").wait, 0s) << "one failure after the lock does not lock again";
}

TEST_F(SignIn, IdleUserIsSignedOutAfterTheFilesMinutes) {
    ASSERT_EQ(Try("Зернов", "зерно").result, Result::Accepted);
    now_ += 9min;
    registration_.NoteInput();
    now_ += 9min + 59s;
    EXPECT_FALSE(registration_.SignOutWhenIdle());
    now_ += 1s;
    EXPECT_TRUE(registration_.SignOutWhenIdle());
    EXPECT_EQ(Current(), "(nobody)");
    EXPECT_FALSE(registration_.SignOutWhenIdle());
}

class SignInWithoutIdleTime : public SignIn {
protected:
    SignInWithoutIdleTime() : SignIn(0) {}
};

TEST_F(SignInWithoutIdleTime, NobodyIsSignedOutForBeingIdle) {
    ASSERT_EQ(Try("Зернов", "зерно").result, Result::Accepted);
    now_ += 24h;
    EXPECT_FALSE(registration_.SignOutWhenIdle());
    EXPECT_EQ(Current(), "Зернов");
}

struct UnblockCase {
    const char* name;
    const char* blocker;  // signed in at the block; empty: nobody
    const char* password;
    Result result;
    const char* by;  // whose password unblocked
};
void PrintTo(const UnblockCase& c, std::ostream* os) {
    *os << c.name;
}

class Unblock : public SignIn, public testing::WithParamInterface<UnblockCase> {};

TEST_P(Unblock, TakesTheBlockersOrAnEngineersPasswordOnly) {
    const UnblockCase& c = GetParam();
    const std::string passwords[] = {"зерно", "инженер1", "смотрю", "козлов", "орлова"};
    const std::string names[] = {"Зернов", "Петров", "Сидоров", "Козлов", "Орлова"};
    for (std::size_t i = 0; i < std::size(names); ++i) {
        if (names[i] == c.blocker) {
            ASSERT_EQ(Try(names[i], passwords[i]).result, Result::Accepted);
        }
    }
    registration_.Block();
    registration_.Block();  // a second block keeps the first one's user
    const auto attempt = registration_.Unblock(Password(c.password));
    EXPECT_EQ(attempt.result, c.result);
    EXPECT_EQ(attempt.name, c.by);
    EXPECT_EQ(registration_.Blocked(), c.result != Result::Accepted);
    const std::string before = std::string(c.blocker).empty() ? "(nobody)" : c.blocker;
    EXPECT_EQ(Current(), c.result == Result::Accepted ? c.by : before)
        << "whoever unblocks is signed in; a refusal changes nobody";
}

INSTANTIATE_TEST_SUITE_P(
    Passwords, Unblock,
    testing::Values(UnblockCase{"BlockersOwn", "Зернов", "зерно", Result::Accepted, "Зернов"},
                    UnblockCase{"AnEngineers", "Зернов", "орлова", Result::Accepted, "Орлова"},
                    UnblockCase{"EngineerForNobody", "", "инженер1", Result::Accepted, "Петров"},
                    UnblockCase{"AnotherOperators", "Зернов", "козлов", Result::WrongPassword, ""},
                    UnblockCase{"AnObservers", "Зернов", "смотрю", Result::WrongPassword, ""},
                    UnblockCase{"Wrong", "Зернов", "зерно?", Result::WrongPassword, ""},
                    UnblockCase{"Empty", "Зернов", "", Result::EmptyPassword, ""},
                    UnblockCase{"OperatorForNobody", "", "зерно", Result::WrongPassword, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SignIn, FiveWrongUnblocksRefuseEvenAnEngineerForAMinute) {
    EXPECT_EQ(registration_.Unblock(Password("зерно")).result, Result::NotBlocked);
    ASSERT_EQ(Try("Зернов", "зерно").result, Result::Accepted);
    registration_.Block();
    for (int i = 0; i < 5; ++i) registration_.Unblock(Password("?"));
    now_ += 59s;
    const auto locked = registration_.Unblock(Password("инженер1"));
    EXPECT_EQ(locked.result, Result::Locked);
    EXPECT_EQ(locked.wait, 1s);
    EXPECT_EQ(Try("Зернов", "зерно").result, Result::Accepted) << "sign-in has its own count";
    now_ += 1s;
    EXPECT_EQ(registration_.Unblock(Password("инженер1")).result, Result::Accepted);
    EXPECT_FALSE(registration_.Blocked());
}

}  // namespace
