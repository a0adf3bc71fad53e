#include "core/access.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/data/client_dataset.h"
#include "platform/ui/dialogs.h"

UserKind loggedUserKind() {
    data::ClientDataSet* users = DM->TBUSUARIO;
    users->close();
    users->open();
    if (!users->locate(QStringLiteral("LOGIN"), usuario_logado.toUpper(), data::CaseInsensitive))
        return UserKind::Unknown;
    return users->field(QStringLiteral("TIPO")).asString() == QLatin1String("ADMINISTRADOR")
               ? UserKind::Administrator
               : UserKind::Ordinary;
}

void tellAdministratorsOnly(QWidget* parent) {
    ui::dialogs().message(parent,
                          QStringLiteral("Você não possui previlégios de administrador do sistema, "
                                         "portanto não pode acessar esta área!"));
}

bool administratorOnly(QWidget* parent) {
    if (loggedUserKind() == UserKind::Administrator)
        return true;
    tellAdministratorsOnly(parent);
    return false;
}
