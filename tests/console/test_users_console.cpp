// The console with a users file: the role of the signed-in user decides which
// commands are taken, the sign-in dialog, the checked unblock, the idle
// sign-out and a users file that cannot be used.
#include <sys/stat.h>

#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <chrono>
#include <fstream>
#include <functional>

#include "console/StatusBar.h"
#include "tests/console/FrmMainFixture.h"
#include "tests/users/CheapHash.h"
#include "users/Password.h"
#include "users/Roles.h"
#include "users/UsersFile.h"

// Readable QStrings in the failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace console_test {
namespace {

using namespace std::chrono_literals;
using users::Role;

const QColor kBlue(0x00, 0x00, 0xFF);
const QString kRefused = " Команда отклонена - недостаточно прав";

struct Person {
    const char* name;
    const char* role;
    const char* password;
};
const Person kStaff[] = {
    {"Сидоров", "наблюдатель", "смотрю"},
    {"Зернов", "оператор", "зерно"},
    {"Козлов", "оператор", "козлов"},
    {"Петров", "инженер", "инженер1"},
};

class UsersConsole : public FrmMainTest {
public:
    // What the command table below reaches.
    using FrmMainTest::Find;
    using FrmMainTest::Form;
    using FrmMainTest::JournalColourOf;
    using FrmMainTest::JournalLines;
    using FrmMainTest::messages;
    using FrmMainTest::SoundOn;

protected:
    UsersConsole() {
        services.steadyNow = [this] { return steady; };
    }

    std::string UsersPath() const { return dir.filePath("GrainTerminal.users").toStdString(); }

    // The users file as the users command leaves it: readable by its owner only.
    void WriteUsers(int idleMinutes = 0, mode_t mode = 0600) {
        std::ofstream out(UsersPath());
        out << "# Пользователи пульта\n";
        if (idleMinutes > 0) out << "IdleMinutes=" << idleMinutes << "\n";
        for (const Person& p : kStaff) {
            out << p.name << ':' << p.role << ':' << userstest::CheapHash(p.password) << '\n';
        }
        out.close();
        ::chmod(UsersPath().c_str(), mode);
    }

public:
    void Press(const char* name) { Find<QAbstractButton>(name)->click(); }
    // Typing into a field (the test's keyboard knows no Cyrillic keys).
    static void Type(QLineEdit* field, const QString& text) { field->insert(text); }

    QDialog* Dialog() { return Form().findChild<QDialog*>("FrmSignIn"); }
    template <typename T = QWidget>
    T* InDialog(const char* name) {
        T* w = Dialog()->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // "Регистрация", the user chosen and the password typed, then `button`
    // (null: the Enter key in the password field).
    void Dialogue(const QString& name, const QString& password, const char* button) {
        Press("BtnRegistration");
        ASSERT_NE(Dialog(), nullptr);
        ASSERT_TRUE(Dialog()->isVisible());
        auto* users = InDialog<QComboBox>("ComboUser");
        users->setCurrentIndex(users->findText(name));
        Type(InDialog<QLineEdit>("EditPassword"), password);
        if (button == nullptr) {
            QTest::keyClick(InDialog<QLineEdit>("EditPassword"), Qt::Key_Return);
        } else {
            InDialog<QAbstractButton>(button)->click();
        }
    }
    void SignIn(const QString& name, const QString& password) {
        Dialogue(name, password, "BtnSignIn");
    }
    QString DialogSays() { return InDialog<QLabel>("LabelSignInState")->text(); }

    QString StatusBarText() {
        auto* bar = Find<console::TStatusBar>("StatusBar");
        return bar->PanelText(0) + " | " + bar->PanelText(1);
    }
    // The journal's lines after the first `from`, without their stamps.
    QStringList Bodies(int from = 0) {
        QStringList lines = JournalLines();
        QStringList bodies;
        for (int i = from; i < lines.size(); ++i) {
            const QString& line = lines[i];
            bodies << (line.startsWith('\t') ? line : line.mid(line.indexOf(' ', 11)));
        }
        return bodies;
    }

protected:
    std::chrono::steady_clock::time_point steady{};
};

// --- Start-up, signing in and out ------------------------------------------------

TEST_F(UsersConsole, NobodyIsSignedInAtStartAndTheStateIsStillSavedOnClose) {
    WriteUsers();
    RunStartup();
    EXPECT_EQ(StatusBarText(), "Имя пользователя: | Статус: Наблюдатель");
    EXPECT_EQ(Bodies(), (QStringList{" Запуск системы", " Установлена связь с контроллером"}));
    EXPECT_TRUE(messages.shown.empty());
    // A close that no button gave (a shutdown, the end of the session) saves
    // whoever is at the console.
    Form().show();
    EXPECT_TRUE(Form().close());
    EXPECT_TRUE(QFile::exists(QString::fromStdString(StatePath())));
}

TEST_F(UsersConsole, SignInWrongPasswordLockoutAndItsEndThenSignOut) {
    WriteUsers();
    RunStartup();
    const int start = static_cast<int>(JournalLines().size());

    Dialogue("Зернов", "зерно?", nullptr);  // Enter tries once
    EXPECT_TRUE(Dialog()->isVisible());
    EXPECT_EQ(DialogSays(), "Неверный пароль.");
    EXPECT_TRUE(InDialog<QLineEdit>("EditPassword")->text().isEmpty());
    EXPECT_EQ(Bodies(start), (QStringList{" Вход пользователя Зернов отклонен -", "\tневерный пароль"}));
    EXPECT_EQ(JournalColourOf("Вход пользователя"), kBlue);
    EXPECT_EQ(StatusBarText(), "Имя пользователя: | Статус: Наблюдатель");

    for (int i = 2; i <= 5; ++i) SignIn("Зернов", "зерно?");
    EXPECT_EQ(DialogSays(), "Неверный пароль. После 5 ошибок подряд вход для Зернов запрещен на 60 с.");
    EXPECT_EQ(Bodies(start).mid(8), (QStringList{" Вход пользователя Зернов отклонен -", "\tневерный пароль",
                                                 "\tпопытки входа запрещены на 60 с"}));
    steady += 45s;
    SignIn("Зернов", "зерно");
    EXPECT_EQ(DialogSays(), "Вход для Зернов запрещен еще на 15 с.");
    EXPECT_EQ(StatusBarText(), "Имя пользователя: | Статус: Наблюдатель");

    steady += 15s;
    const int before = static_cast<int>(JournalLines().size());
    SignIn("Зернов", "зерно");
    EXPECT_FALSE(Dialog()->isVisible());
    EXPECT_EQ(StatusBarText(), "Имя пользователя: Зернов | Статус: Оператор");
    EXPECT_EQ(Bodies(before), (QStringList{" Пользователь Зернов (оператор)", "\tзарегистрирован."}));

    Press("BtnRegistration");
    EXPECT_EQ(InDialog<QComboBox>("ComboUser")->currentText(), "Зернов");
    InDialog<QAbstractButton>("BtnSignOut")->click();
    EXPECT_FALSE(Dialog()->isVisible());
    EXPECT_EQ(StatusBarText(), "Имя пользователя: | Статус: Наблюдатель");
    EXPECT_EQ(Bodies(before + 2),
              (QStringList{" Пользователь Зернов (оператор)", "\tвышел из системы."}));
    EXPECT_EQ(JournalColourOf("вышел из системы"), kBlue);
}

TEST_F(UsersConsole, IdleUserIsSignedOutAndInputPutsItOff) {
    WriteUsers(5);
    RunStartup();
    SignIn("Петров", "инженер1");
    steady += 4min;
    QTest::keyClick(Find("BtnSetup"), Qt::Key_Shift);  // any input
    steady += 4min;
    Form().TimerSysTimeTimer();
    EXPECT_EQ(StatusBarText(), "Имя пользователя: Петров | Статус: Инженер");
    steady += 1min;
    Form().TimerSysTimeTimer();
    EXPECT_EQ(StatusBarText(), "Имя пользователя: | Статус: Наблюдатель");
    EXPECT_EQ(Bodies().mid(Bodies().size() - 2),
              (QStringList{" Пользователь Петров (инженер)", "\tвышел из системы: нет действий 5 мин."}));
}

TEST_F(UsersConsole, ChangedPasswordIsWrittenToTheFileAndSignsIn) {
    WriteUsers();
    RunStartup();
    Dialogue("Козлов", "козлов", "BtnChangePassword");
    ASSERT_TRUE(InDialog("EditNewPassword")->isVisible());
    Type(InDialog<QLineEdit>("EditNewPassword"), "новый");
    Type(InDialog<QLineEdit>("EditRepeatPassword"), "другой");
    InDialog<QAbstractButton>("BtnSavePassword")->click();
    EXPECT_EQ(DialogSays(), "Пароли не совпадают. Введите новый пароль дважды.");
    Type(InDialog<QLineEdit>("EditNewPassword"), "новый");
    Type(InDialog<QLineEdit>("EditRepeatPassword"), "новый");
    InDialog<QAbstractButton>("BtnSavePassword")->click();
    EXPECT_FALSE(Dialog()->isVisible()) << DialogSays().toStdString();
    EXPECT_EQ(Bodies().mid(Bodies().size() - 2),
              (QStringList{" Пользователь Козлов (оператор)", "\tсменил пароль."}));

    const users::UsersLoad reread = users::LoadUsers(UsersPath());
    ASSERT_EQ(reread.status, users::UsersLoad::Status::Loaded);
    EXPECT_TRUE(users::VerifyPassword(reread.users.Find("Козлов")->hash, users::Password("новый")));
    EXPECT_NE(reread.users.Find("Зернов"), nullptr) << "the others are kept";

    // The console's own copy has the new hash too (each check costs a full
    // hash's time, so the old password is not tried).
    Press("BtnRegistration");
    InDialog<QAbstractButton>("BtnSignOut")->click();
    SignIn("Козлов", "новый");
    EXPECT_FALSE(Dialog()->isVisible());
    EXPECT_EQ(StatusBarText(), "Имя пользователя: Козлов | Статус: Оператор");
}

// --- Unblocking -------------------------------------------------------------------

TEST_F(UsersConsole, UnblockTakesTheBlockersOrAnEngineersPasswordAndClearsTheField) {
    WriteUsers();
    RunStartup();
    SignIn("Зернов", "зерно");
    Press("BtnBlock");
    auto* field = Find<QLineEdit>("Edit1");
    auto unblock = [&](const QString& password) {
        const int before = static_cast<int>(JournalLines().size());
        Type(field, password);
        Press("Button1");
        EXPECT_TRUE(field->text().isEmpty());
        return Bodies(before);
    };

    EXPECT_EQ(unblock(""), (QStringList{" Разблокирование отклонено -", "\tпароль не введен"}));
    EXPECT_EQ(unblock("козлов"), (QStringList{" Разблокирование отклонено -", "\tневерный пароль"}))
        << "another operator's password";
    EXPECT_EQ(unblock("смотрю"), (QStringList{" Разблокирование отклонено -", "\tневерный пароль"}));
    EXPECT_EQ(JournalColourOf("Разблокирование отклонено"), kBlue);
    EXPECT_FALSE(Find("PanelBlock")->isHidden());
    // The keyboard still reaches the buttons under the panel; they give nothing.
    Press("BtnExit");
    EXPECT_TRUE(messages.shown.empty());

    EXPECT_EQ(unblock("инженер1"),
              (QStringList{" Пользователь Зернов (оператор)", "\tвышел из системы.",
                           " Пользователь Петров (инженер)", "\tзарегистрирован.",
                           " Разблокирование системы"}));
    EXPECT_TRUE(Find("PanelBlock")->isHidden());
    EXPECT_EQ(StatusBarText(), "Имя пользователя: Петров | Статус: Инженер")
        << "the engineer stands in, and gives the next commands";

    Press("BtnBlock");
    EXPECT_EQ(unblock("зерно"), (QStringList{" Разблокирование отклонено -", "\tневерный пароль"}))
        << "no longer the blocker's";
    unblock("?");
    unblock("?");
    unblock("?");
    EXPECT_EQ(unblock("?"), (QStringList{" Разблокирование отклонено -", "\tневерный пароль",
                                         "\tпопытки запрещены на 60 с"}));
    EXPECT_EQ(unblock("инженер1"), (QStringList{" Разблокирование отклонено -",
                                                "\tпопытки запрещены еще на 60 с"}));
    steady += 60s;
    EXPECT_EQ(unblock("инженер1"), QStringList{" Разблокирование системы"});
}

// --- A users file that cannot be used ---------------------------------------------

TEST_F(UsersConsole, UnsafeFileIsToldOnceAndNobodyCanSignIn) {
    WriteUsers(0, 0620);
    RunStartup();
    ASSERT_EQ(messages.shown.size(), 1u);
    const std::string text = messages.shown[0].text;
    EXPECT_NE(text.find(UsersPath()), std::string::npos) << text;
    EXPECT_NE(text.find("права 620"), std::string::npos) << text;
    EXPECT_NE(text.find("Войти в систему не сможет никто"), std::string::npos) << text;
    EXPECT_EQ(Form().InitStep(), 5);  // the start-up went on
    EXPECT_EQ(StatusBarText(), "Имя пользователя: | Статус: Наблюдатель");

    Press("BtnRegistration");
    EXPECT_FALSE(InDialog("BtnSignIn")->isEnabled());
    EXPECT_TRUE(DialogSays().contains("вход невозможен")) << DialogSays().toStdString();
    Dialog()->hide();
    Press("BtnBlock");
    EXPECT_TRUE(Find("PanelBlock")->isHidden());
    EXPECT_EQ(Bodies().last(), kRefused);
}

// --- The role matrix ----------------------------------------------------------

// A command button of the window, what it needs before it is pressed, how to
// press it, and how to tell that the command was taken.
struct Command {
    const char* button;
    std::optional<Role> least;  // nothing: anybody, signed in or not
    std::function<void(UsersConsole&)> prepare;
    std::function<bool(UsersConsole&)> taken;
    // Who the posted command names as its giver; null: nothing is posted.
    std::function<std::string(UsersConsole&)> origin = nullptr;
};

bool Posted(UsersConsole& t) {
    return t.Form().plant().Dev[1].Command != plant::kCmdNone;
}
std::string DeviceOrigin(UsersConsole& t) {
    return std::string(t.Form().plant().Dev[1].CommandOrigin.Text());
}
bool Noticed(UsersConsole& t) {
    return !t.messages.shown.empty();
}
void OpenValve(UsersConsole& t) {
    t.Form().devicePanel().DeviceControlClick(1);
}
void OpenSetup(UsersConsole& t) {
    t.Find<QAbstractButton>("BtnSetup")->click();
}
bool ShownNow(UsersConsole& t, const char* name) {
    return !t.Find(name)->isHidden();
}

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"BtnOn", Role::Operator, OpenValve, Posted, DeviceOrigin},
        {"BtnOff", Role::Operator, OpenValve, Posted, DeviceOrigin},
        {"BtnStop", Role::Operator, OpenValve, Posted, DeviceOrigin},
        {"BtnReset", Role::Operator, OpenValve, Posted, DeviceOrigin},
        {"BtnLocal", Role::Operator, OpenValve, Posted, DeviceOrigin},
        {"BtnRemote", Role::Operator, OpenValve, Posted, DeviceOrigin},
        {"BtnRepair", Role::Operator, OpenValve, Posted, DeviceOrigin},
        {"Route1", Role::Operator,
         [](UsersConsole& t) { t.messages.answer = [] { return platform::MsgResult::Yes; }; },
         [](UsersConsole& t) { return t.Form().plant().Route[1].Command == 1 && Noticed(t); },
         [](UsersConsole& t) {
             return std::string(t.Form().plant().Route[1].CommandOrigin.Text());
         }},
        {"BtnEnabledSound", Role::Operator, nullptr, [](UsersConsole& t) { return !t.SoundOn(); }},
        {"BtnResetCount", Role::Operator,
         [](UsersConsole& t) { t.Form().plant().ShippingMassa = 25; },
         [](UsersConsole& t) { return t.Form().plant().ShippingMassa == 0; }},
        {"BtnBlock", Role::Operator, nullptr,
         [](UsersConsole& t) { return ShownNow(t, "PanelBlock"); }},
        {"BtnExit", Role::Operator, nullptr, Noticed},
        {"BtnInitPLC", Role::Engineer, OpenSetup, Noticed},
        {"BtnOptions", Role::Engineer, OpenSetup, Noticed},
        {"BtnCalibr", Role::Engineer, OpenSetup, Noticed},
        // Watching is everybody's.
        {"BtnSilosDetail", std::nullopt, nullptr,
         [](UsersConsole& t) { return ShownNow(t, "PanelTanks"); }},
        {"BtnVisualization", std::nullopt,
         [](UsersConsole& t) { t.Find<QAbstractButton>("BtnSilosDetail")->click(); },
         [](UsersConsole& t) { return ShownNow(t, "PanelVisual"); }},
        {"BtnWhatTis", std::nullopt, nullptr,
         [](UsersConsole& t) { return !ShownNow(t, "BtnWhatTis"); }},
        {"BtnJournal", std::nullopt, nullptr, Noticed},
        // The trend and equipment windows only show the archive (here off:
        // the notice).
        {"BtnBlockSilos", std::nullopt, nullptr, Noticed},
        {"BtnBlockMove", std::nullopt, nullptr, Noticed},
        {"BtnSetup", std::nullopt, nullptr,
         [](UsersConsole& t) { return ShownNow(t, "PanelSetup"); }},
        {"BtnDiscretClose", std::nullopt, OpenValve,
         [](UsersConsole& t) { return !ShownNow(t, "PanelDiscret"); }},
        {"BtnRegistration", std::nullopt, nullptr,
         [](UsersConsole& t) { return t.Dialog() != nullptr && t.Dialog()->isVisible(); }},
    };
    return commands;
}

struct Seat {
    const char* name;  // who is signed in; empty: nobody
    const char* password;
    std::optional<Role> role;
};
void PrintTo(const Seat& seat, std::ostream* os) {
    *os << seat.name;
}

class RoleMatrix : public UsersConsole, public testing::WithParamInterface<Seat> {};

TEST_P(RoleMatrix, EachCommandButtonIsTakenOrRefusedWithOneEntry) {
    const Seat& seat = GetParam();
    WriteUsers();
    for (const Command& command : Commands()) {
        SCOPED_TRACE(command.button);
        // A window of its own for every button, so that no command's effect
        // hides another's.
        form.reset();
        messages.shown.clear();
        messages.answer = nullptr;
        RunStartup();
        if (seat.role) {
            SignIn(QString::fromUtf8(seat.name), QString::fromUtf8(seat.password));
            ASSERT_EQ(Find<console::TStatusBar>("StatusBar")->PanelText(0),
                      QString("Имя пользователя: ") + seat.name);
            Dialog()->hide();
        }
        if (command.prepare) command.prepare(*this);
        const int before = static_cast<int>(JournalLines().size());
        messages.shown.clear();

        if (std::string_view(command.button) == "Route1") {
            QTest::mouseClick(Find("Route1"), Qt::LeftButton);
        } else {
            Press(command.button);
        }

        const bool may = !command.least || (seat.role && *seat.role >= *command.least);
        const QStringList added = Bodies(before);
        if (may) {
            EXPECT_TRUE(command.taken(*this));
            // Every command names who gave it: the signed-in user.
            if (command.origin) {
                EXPECT_EQ(command.origin(*this), seat.name);
            }
            EXPECT_FALSE(added.contains(kRefused)) << added.join("|").toStdString();
        } else {
            EXPECT_FALSE(command.taken(*this));
            EXPECT_EQ(added, QStringList{kRefused});
            EXPECT_EQ(JournalColourOf("недостаточно прав"), kBlue);
            EXPECT_TRUE(messages.shown.empty()) << "a refusal asks nothing";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Seats, RoleMatrix,
                         testing::Values(Seat{"Nobody", "", std::nullopt},
                                         Seat{"Сидоров", "смотрю", Role::Observer},
                                         Seat{"Зернов", "зерно", Role::Operator},
                                         Seat{"Петров", "инженер1", Role::Engineer}),
                         [](const auto& info) {
                             const std::optional<Role> role = info.param.role;
                             return std::string(!role                        ? "Nobody"
                                                : *role == Role::Observer   ? "Observer"
                                                : *role == Role::Operator   ? "Operator"
                                                                            : "Engineer");
                         });

}  // namespace
}  // namespace console_test

int main(int argc, char** argv) {
    return test_support::RunHeadless(argc, argv);
}
