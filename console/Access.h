#pragma once

#include <QObject>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plant/JournalTag.h"
#include "users/Registration.h"
#include "users/UsersFile.h"

namespace plant {
class JournalOutlet;
}

namespace console {

// Who is at the console and what that person may do: the one check every
// region asks before it gives a command, and the console's side of sign-in,
// sign-out, unblocking and the idle sign-out, with their journal entries.
//
// Without a users file the door is open, as the demonstration has it: the
// fixed user "Зернов" (оператор) is at the console, every command is taken and
// any text unblocks. With one (Register), nobody is signed in at first and a
// command is taken only when the signed-in user's role may give it, and not
// while the console is blocked (the keyboard still reaches the buttons under
// the block panel). A refused command writes one blue entry and nothing else.
// A users file that could not be read leaves nobody able to sign in.
class Access : public QObject {
    Q_OBJECT

public:
    using SteadyClock = std::function<std::chrono::steady_clock::time_point()>;

    // The fixed user of the open door, who gives the commands of the panels
    // then.
    static constexpr std::string_view kOpenUser = "Зернов";

    explicit Access(plant::JournalOutlet& journal, QObject* parent = nullptr);
    ~Access() override;

    // Registration on, with what start-up found in the users file at `path`;
    // `now` times the lockouts and the idle sign-out. Once.
    void Register(std::string path, users::UsersLoad load, SteadyClock now);
    // Whether a users file switched registration on (read or not).
    bool On() const { return registration_ != nullptr; }
    // Why the users file could not be read; empty when it was, or when off.
    const std::string& Problem() const { return problem_; }

    // Whether the user at the console may do `action` now. When not, one blue
    // entry " Команда отклонена - недостаточно прав", tagged as a refused
    // command about `subject` with the command's code `detail` (none and 0
    // for a system command) and the user as its source; the caller gives
    // nothing.
    bool Allows(users::Action action, plant::EntrySubject subject = {}, int detail = 0);

    // The name of the user at the console, for the commands they give; empty
    // while nobody is signed in.
    std::string UserName() const;
    // The role of the user at the console, as the status bar shows it:
    // "Оператор"; "Наблюдатель" while nobody is signed in.
    std::string StatusText() const;
    // The users who may sign in, in the file's order.
    std::vector<std::string> UserNames() const;

    // The dialog's "Войти": the user's password checked, with the lockout
    // after repeated failures. The journal gets the registration entry or a
    // blue refusal naming the user. `password` is wiped by its owner.
    users::Registration::Attempt SignIn(const std::string& name, const users::Password& password);
    // The dialog's "Выйти": a blue entry; false when nobody was signed in.
    bool SignOut();
    // The dialog's "Сменить пароль", after SignIn has taken the old password:
    // the user's new hash written into the users file. Nothing, or why not.
    std::optional<std::string> ChangePassword(const std::string& name,
                                              const users::Password& newPassword);

    // Blocking: remembers who was at the console.
    void Block();
    // "Разблокировать": true when the console may unblock. The open door takes
    // any text; otherwise the password of the blocking user or of an engineer,
    // with the lockout, and a blue entry for a refusal. An engineer who
    // unblocks is signed in.
    bool Unblock(const users::Password& password);

    // Every second: signs the user out after the file's idle minutes.
    void SignOutWhenIdle();

signals:
    // Someone signed in or out.
    void UserChanged();

protected:
    // Input anywhere in the program restarts the idle time.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The entries of a sign-in (by password or by unblocking): the sign-out
    // of `before` (its entry `leaving`) when another user takes the place.
    void Registered(const std::string& before, const std::string& leaving);
    // " Пользователь <name> (<role>)" and the entry's continuation.
    std::string UserEntry(const std::string& tail) const;
    // A system entry; `source` is the user it is about.
    void Journal(const std::string& body, bool blue, std::string_view source = {});

    plant::JournalOutlet& journal_;
    std::unique_ptr<users::Registration> registration_;
    std::string usersPath_;
    std::string problem_;
};

}  // namespace console
