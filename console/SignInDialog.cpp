#include "console/SignInDialog.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "console/Access.h"
#include "console/OnClick.h"
#include "console/PasswordField.h"

namespace console {

namespace {

using Result = users::Registration::Result;

constexpr int kWidth = 320;
// The sign-in rows, then the message line and the buttons; with the rows of
// the new password the message and the buttons move down by one step.
constexpr int kStep = 56;
constexpr int kMessageY = 66;
constexpr int kButtonsY = 98;
constexpr int kHeight = 130;

constexpr Look kMessage = Look().Ink(palette::Navy).Align(Qt::AlignLeft | Qt::AlignTop);

constexpr Control kLayout[] = {
    {"LabelUser", Kind::Label, {12, 15, 0, 0}, "Пользователь"},
    {"ComboUser", Kind::ComboBox, {110, 12, 198, 21}},
    {"LabelPassword", Kind::Label, {12, 43, 0, 0}, "Пароль"},
    {"EditPassword", Kind::PasswordEdit, {110, 40, 198, 21}},
    Hidden({"LabelNewPassword", Kind::Label, {12, 71, 0, 0}, "Новый пароль"}),
    Hidden({"EditNewPassword", Kind::PasswordEdit, {110, 68, 198, 21}}),
    Hidden({"LabelRepeatPassword", Kind::Label, {12, 99, 0, 0}, "Еще раз"}),
    Hidden({"EditRepeatPassword", Kind::PasswordEdit, {110, 96, 198, 21}}),
    {"LabelSignInState", Kind::Label, {12, kMessageY, 296, 28}, "", kMessage},
    {"BtnSignIn", Kind::Button, {12, kButtonsY, 80, 22}, "Войти"},
    {"BtnSignOut", Kind::Button, {98, kButtonsY, 80, 22}, "Выйти"},
    {"BtnChangePassword", Kind::Button, {188, kButtonsY, 120, 22}, "Сменить пароль"},
    Hidden({"BtnSavePassword", Kind::Button, {12, kButtonsY + kStep, 80, 22}, "Сохранить"}),
    Hidden({"BtnCancelPassword", Kind::Button, {98, kButtonsY + kStep, 80, 22}, "Отмена"}),
};

// What the dialog says after a refused password.
QString RefusalText(const users::Registration::Attempt& attempt) {
    const QString name = QString::fromStdString(attempt.name);
    const QString wait = QString::number(attempt.wait.count());
    switch (attempt.result) {
        case Result::WrongPassword:
            if (attempt.wait.count() > 0) {
                return "Неверный пароль. После " +
                       QString::number(users::Registration::kFailureLimit) +
                       " ошибок подряд вход для " + name + " запрещен на " + wait + " с.";
            }
            return "Неверный пароль.";
        case Result::Locked:
            return "Вход для " + name + " запрещен еще на " + wait + " с.";
        case Result::EmptyPassword:
            return "Введите пароль.";
        case Result::UnknownUser:
            return "Выберите пользователя.";
        case Result::Accepted:
        case Result::NotBlocked:
            break;
    }
    return {};
}

}  // namespace

SignInDialog::SignInDialog(QWidget& window, Access& access)
    : QDialog(&window, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint),
      access_(access) {
    setObjectName("FrmSignIn");
    setWindowTitle("Регистрация");
    setWindowModality(Qt::WindowModal);
    setFixedSize(kWidth, kHeight);

    const Controls made = BuildControls(*this, Layout());
    user_ = qobject_cast<QComboBox*>(made.value("ComboUser"));
    password_ = qobject_cast<QLineEdit*>(made.value("EditPassword"));
    newPassword_ = qobject_cast<QLineEdit*>(made.value("EditNewPassword"));
    repeat_ = qobject_cast<QLineEdit*>(made.value("EditRepeatPassword"));
    for (QLineEdit* field : {password_, newPassword_, repeat_}) field->setMaxLength(kPasswordChars);
    state_ = qobject_cast<QLabel*>(made.value("LabelSignInState"));
    state_->setWordWrap(true);
    signIn_ = qobject_cast<QPushButton*>(made.value("BtnSignIn"));
    signOut_ = qobject_cast<QPushButton*>(made.value("BtnSignOut"));
    change_ = qobject_cast<QPushButton*>(made.value("BtnChangePassword"));
    save_ = qobject_cast<QPushButton*>(made.value("BtnSavePassword"));
    cancel_ = qobject_cast<QPushButton*>(made.value("BtnCancelPassword"));

    OnClick(signIn_, this, &SignInDialog::BtnSignInClick);
    OnClick(signOut_, this, &SignInDialog::BtnSignOutClick);
    OnClick(change_, this, &SignInDialog::BtnChangePasswordClick);
    OnClick(save_, this, &SignInDialog::BtnSavePasswordClick);
    OnClick(cancel_, this, &SignInDialog::BtnCancelPasswordClick);
    // Enter presses the default button: "Войти", or "Сохранить" while the new
    // password is asked for.
    signIn_->setDefault(true);
}

std::span<const Control> SignInDialog::Layout() {
    return kLayout;
}

void SignInDialog::Open() {
    ShowNewPasswordRows(false);
    user_->clear();
    for (const std::string& name : access_.UserNames()) {
        user_->addItem(QString::fromStdString(name));
    }
    const int current = user_->findText(QString::fromStdString(access_.UserName()));
    if (current >= 0) user_->setCurrentIndex(current);
    for (QLineEdit* field : {password_, newPassword_, repeat_}) field->clear();

    const bool anyone = user_->count() > 0;
    signIn_->setEnabled(anyone);
    change_->setEnabled(anyone);
    signOut_->setEnabled(!access_.UserName().empty());
    if (!access_.Problem().empty()) {
        Say("Файл пользователей не прочитан, вход невозможен:\n" +
            QString::fromStdString(access_.Problem()));
    } else if (!anyone) {
        Say("В файле пользователей нет ни одного пользователя.");
    } else {
        Say("");
    }
    open();
    password_->setFocus();
}

void SignInDialog::BtnSignInClick() {
    if (!signIn_->isVisible() || !signIn_->isEnabled()) return;
    if (CheckPassword()) accept();
}

void SignInDialog::BtnSignOutClick() {
    access_.SignOut();
    accept();
}

void SignInDialog::BtnChangePasswordClick() {
    if (!CheckPassword()) return;
    signOut_->setEnabled(true);
    ShowNewPasswordRows(true);
    Say("Введите новый пароль дважды.");
    newPassword_->setFocus();
}

void SignInDialog::BtnSavePasswordClick() {
    if (!save_->isVisible()) return;
    users::Password typed;
    users::Password again;
    TakePassword(*newPassword_, typed);
    TakePassword(*repeat_, again);
    newPassword_->setFocus();
    if (typed.Empty()) {
        Say("Введите новый пароль.");
        return;
    }
    if (typed.View() != again.View()) {
        Say("Пароли не совпадают. Введите новый пароль дважды.");
        return;
    }
    // Hashing takes a moment.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const std::optional<std::string> problem =
        access_.ChangePassword(user_->currentText().toStdString(), typed);
    QGuiApplication::restoreOverrideCursor();
    if (problem) {
        Say("Пароль не изменен: " + QString::fromStdString(*problem) + ".");
        return;
    }
    accept();
}

void SignInDialog::BtnCancelPasswordClick() {
    ShowNewPasswordRows(false);
    reject();
}

void SignInDialog::ShowNewPasswordRows(bool shown) {
    for (const char* name :
         {"LabelNewPassword", "EditNewPassword", "LabelRepeatPassword", "EditRepeatPassword"}) {
        findChild<QWidget*>(name)->setVisible(shown);
    }
    save_->setVisible(shown);
    cancel_->setVisible(shown);
    signIn_->setVisible(!shown);
    signOut_->setVisible(!shown);
    change_->setVisible(!shown);
    user_->setEnabled(!shown);
    password_->setEnabled(!shown);
    save_->setDefault(shown);
    signIn_->setDefault(!shown);
    const int drop = shown ? kStep : 0;
    state_->move(state_->x(), kMessageY + drop);
    setFixedSize(kWidth, kHeight + drop);
}

bool SignInDialog::CheckPassword() {
    users::Password typed;
    TakePassword(*password_, typed);
    const users::Registration::Attempt attempt =
        access_.SignIn(user_->currentText().toStdString(), typed);
    password_->setFocus();
    if (attempt.result == Result::Accepted) return true;
    Say(RefusalText(attempt));
    return false;
}

void SignInDialog::Say(const QString& text) {
    state_->setText(text);
}

}  // namespace console
