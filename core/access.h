#pragma once
// Who the logged-in user is, as the accounts table says now: some commands are for
// administrators only.
class QWidget;

enum class UserKind {
    Unknown, // no account has that login (the user renamed his own, say)
    Ordinary,
    Administrator,
};

// Reads the accounts again, then looks up `usuario_logado` upper-cased.
UserKind loggedUserKind();

// Tells the user that the area is for administrators.
void tellAdministratorsOnly(QWidget* parent);

// Whether the logged-in user is an administrator; tells him otherwise.
bool administratorOnly(QWidget* parent);
