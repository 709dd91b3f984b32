#pragma once

class QLineEdit;

namespace users {
class Password;
}

namespace console {

// The characters a password field takes: even at four bytes of UTF-8 each
// they fit a users::Password.
inline constexpr int kPasswordChars = 256;

// Moves what the operator typed into a password field over to `into` and
// empties the field, wiping the copy made on the way. (The field's own
// buffers belong to the toolkit and are freed without wiping.) A field holds
// at most kPasswordChars characters, which always fit.
void TakePassword(QLineEdit& field, users::Password& into);

}  // namespace console
