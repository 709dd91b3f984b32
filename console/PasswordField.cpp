#include "console/PasswordField.h"

#include <QLineEdit>

#include "users/Password.h"

namespace console {

void TakePassword(QLineEdit& field, users::Password& into) {
    into.Wipe();
    QByteArray typed = field.text().toUtf8();
    field.clear();
    for (const char c : typed) {
        if (!into.Append(c)) {
            into.Wipe();  // a cut password must match nothing
            break;
        }
    }
    users::WipeBytes(typed.data(), static_cast<std::size_t>(typed.size()));
}

}  // namespace console
