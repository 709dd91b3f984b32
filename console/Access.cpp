#include "console/Access.h"

#include <QCoreApplication>
#include <QEvent>

#include "plant/Outlets.h"

namespace console {

namespace {

using Result = users::Registration::Result;

// The role as the status bar shows it: the file's word with a capital.
std::string RoleTitle(users::Role role) {
    switch (role) {
        case users::Role::Observer:
            return "Наблюдатель";
        case users::Role::Operator:
            return "Оператор";
        case users::Role::Engineer:
            return "Инженер";
    }
    return "Наблюдатель";
}

// " попытки запрещены на 60 с" and the like.
std::string Seconds(std::chrono::seconds wait) {
    return std::to_string(wait.count()) + " с";
}

bool IsInput(const QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
            return true;
        default:
            return false;
    }
}

}  // namespace

Access::Access(plant::JournalOutlet& journal, QObject* parent)
    : QObject(parent), journal_(journal) {
    setObjectName("Access");
}

Access::~Access() = default;

void Access::Register(std::string path, users::UsersLoad load, SteadyClock now) {
    if (registration_) return;
    usersPath_ = std::move(path);
    if (load.status == users::UsersLoad::Status::Failed) {
        problem_ = load.error.Text();
        load.users = users::Users{};  // nobody can sign in
    }
    const int idleMinutes = load.users.idleMinutes;
    registration_ = std::make_unique<users::Registration>(std::move(load.users), std::move(now));
    if (idleMinutes > 0 && QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->installEventFilter(this);
    }
}

bool Access::Allows(users::Action action, plant::EntrySubject subject, int detail) {
    if (!registration_) return true;
    if (registration_->May(action) && !registration_->Blocked()) return true;
    const std::string user = UserName();
    journal_.Append(" Команда отклонена - недостаточно прав", plant::JournalColour::Blue,
                    {plant::EntryKind::CommandRefused, subject, static_cast<int16_t>(detail), user});
    return false;
}

std::string Access::UserName() const {
    if (!registration_) return std::string(kOpenUser);
    const users::User* user = registration_->Current();
    return user ? user->name : std::string();
}

std::string Access::StatusText() const {
    if (!registration_) return RoleTitle(users::Role::Operator);
    const users::User* user = registration_->Current();
    return RoleTitle(user ? user->role : users::Role::Observer);
}

std::vector<std::string> Access::UserNames() const {
    std::vector<std::string> names;
    if (!registration_) return names;
    for (const users::User& user : registration_->Known().list) names.push_back(user.name);
    return names;
}

users::Registration::Attempt Access::SignIn(const std::string& name,
                                            const users::Password& password) {
    if (!registration_) return {Result::UnknownUser, name};
    const std::string before = UserName();
    const std::string leaving = UserEntry("\r\tвышел из системы.");
    const users::Registration::Attempt attempt = registration_->SignIn(name, password);
    switch (attempt.result) {
        case Result::Accepted:
            Registered(before, leaving);
            break;
        case Result::WrongPassword:
            Journal(" Вход пользователя " + attempt.name + " отклонен -\r\tневерный пароль" +
                        (attempt.wait.count() > 0
                             ? "\r\tпопытки входа запрещены на " + Seconds(attempt.wait)
                             : std::string()),
                    true, attempt.name);
            break;
        case Result::Locked:
            Journal(" Вход пользователя " + attempt.name +
                        " отклонен -\r\tпопытки входа запрещены еще на " + Seconds(attempt.wait),
                    true, attempt.name);
            break;
        case Result::EmptyPassword:
        case Result::UnknownUser:
        case Result::NotBlocked:
            break;  // the dialog says so; nothing was tried
    }
    return attempt;
}

bool Access::SignOut() {
    if (!registration_ || registration_->Current() == nullptr) return false;
    const std::string entry = UserEntry("\r\tвышел из системы.");
    const std::string name = UserName();
    registration_->SignOut();
    Journal(entry, true, name);
    emit UserChanged();
    return true;
}

std::optional<std::string> Access::ChangePassword(const std::string& name,
                                                  const users::Password& newPassword) {
    if (!registration_) return "регистрация пользователей не включена";
    if (newPassword.Empty()) return "новый пароль не введен";
    if (newPassword.Overflowed()) {
        return "пароль длиннее " + std::to_string(users::Password::kMaxBytes) + " байт";
    }
    std::optional<std::string> hash = users::HashPassword(newPassword);
    if (!hash) return "не хватает памяти для хеша пароля";
    const std::optional<users::ChangeRefused> refused =
        users::ChangeUsers(usersPath_, [&](users::Users& users) -> std::optional<std::string> {
            users::User* user = users.Find(name);
            if (user == nullptr) return "пользователя " + name + " больше нет в файле";
            user->hash = *hash;
            return std::nullopt;
        });
    if (refused) {
        switch (refused->why) {
            case users::ChangeRefused::Why::Refused:
            case users::ChangeRefused::Why::Unreadable:
                return refused->text;
            case users::ChangeRefused::Why::InUse:
                return "файл пользователей изменяет другая программа";
            case users::ChangeRefused::Why::NotOwner:
                return "файл пользователей принадлежит пользователю " + refused->text;
            case users::ChangeRefused::Why::NotWritten:
                return "не удалось записать файл пользователей " + usersPath_;
        }
    }
    registration_->SetHash(name, std::move(*hash));
    const users::User* user = registration_->Known().Find(name);
    Journal(" Пользователь " + name + " (" +
                std::string(users::RoleName(user ? user->role : users::Role::Observer)) +
                ")\r\tсменил пароль.",
            false, name);
    return std::nullopt;
}

void Access::Block() {
    if (registration_) registration_->Block();
}

bool Access::Unblock(const users::Password& password) {
    if (!registration_) return true;
    const std::string before = UserName();
    const std::string leaving = UserEntry("\r\tвышел из системы.");
    const users::Registration::Attempt attempt = registration_->Unblock(password);
    switch (attempt.result) {
        case Result::Accepted:
            if (attempt.name != before) Registered(before, leaving);
            return true;
        case Result::NotBlocked:
            return true;
        case Result::WrongPassword:
            Journal(" Разблокирование отклонено -\r\tневерный пароль" +
                        (attempt.wait.count() > 0
                             ? "\r\tпопытки запрещены на " + Seconds(attempt.wait)
                             : std::string()),
                    true);
            return false;
        case Result::EmptyPassword:
            Journal(" Разблокирование отклонено -\r\tпароль не введен", true);
            return false;
        case Result::Locked:
            Journal(" Разблокирование отклонено -\r\tпопытки запрещены еще на " +
                        Seconds(attempt.wait),
                    true);
            return false;
        case Result::UnknownUser:
            break;
    }
    return false;
}

void Access::SignOutWhenIdle() {
    if (!registration_ || registration_->Current() == nullptr) return;
    const std::string entry =
        UserEntry("\r\tвышел из системы: нет действий " +
                  std::to_string(registration_->Known().idleMinutes) + " мин.");
    const std::string name = UserName();
    if (!registration_->SignOutWhenIdle()) return;
    Journal(entry, true, name);
    emit UserChanged();
}

bool Access::eventFilter(QObject* watched, QEvent* event) {
    if (registration_ && IsInput(event)) registration_->NoteInput();
    return QObject::eventFilter(watched, event);
}

void Access::Registered(const std::string& before, const std::string& leaving) {
    // Another user in the place of the one at the console: the one who goes
    // is journalled as signing out.
    if (!before.empty() && before != UserName()) Journal(leaving, true, before);
    Journal(UserEntry("\r\tзарегистрирован."), false, UserName());
    emit UserChanged();
}

std::string Access::UserEntry(const std::string& tail) const {
    const users::User* user = registration_ ? registration_->Current() : nullptr;
    if (user == nullptr) return " Пользователь" + tail;
    return " Пользователь " + user->name + " (" + std::string(users::RoleName(user->role)) + ")" +
           tail;
}

void Access::Journal(const std::string& body, bool blue, std::string_view source) {
    journal_.Append(body, blue ? plant::JournalColour::Blue : plant::JournalColour::Default,
                    plant::SystemTag(plant::EntryKind::System, 0, source));
}

}  // namespace console
