#pragma once

#include <QDialog>
#include <span>

#include "console/Layout.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace console {

class Access;

// The small dialog behind "Регистрация" while a users file is in use: the
// user (chosen from the file's names) and the password, with "Войти",
// "Выйти" and "Сменить пароль". What went wrong (a wrong password, the
// lockout after repeated failures, a users file that could not be read) is
// said on the dialog itself; the journal entries come from Access.
//
// "Сменить пароль" takes the user's current password as "Войти" does (so the
// user is signed in), then asks for the new one twice, and "Сохранить" writes
// it into the users file. The dialog is window-modal but does not block the
// caller: the console's timers run on while it is open.
class SignInDialog : public QDialog {
    Q_OBJECT

public:
    SignInDialog(QWidget& window, Access& access);

    static std::span<const Control> Layout();

    // Opens the dialog afresh: the names from the file, the signed-in user
    // chosen, the fields empty.
    void Open();

public slots:
    void BtnSignInClick();
    void BtnSignOutClick();
    void BtnChangePasswordClick();
    void BtnSavePasswordClick();
    void BtnCancelPasswordClick();

private:
    // The sign-in rows only, or with the rows of the new password below.
    void ShowNewPasswordRows(bool shown);
    // The password field's text checked as a sign-in; true when taken.
    bool CheckPassword();
    void Say(const QString& text);

    Access& access_;
    QComboBox* user_ = nullptr;
    QLineEdit* password_ = nullptr;
    QLineEdit* newPassword_ = nullptr;
    QLineEdit* repeat_ = nullptr;
    QLabel* state_ = nullptr;
    QPushButton* signIn_ = nullptr;
    QPushButton* signOut_ = nullptr;
    QPushButton* change_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace console
