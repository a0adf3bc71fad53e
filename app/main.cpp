#include "app/app_setup.h"
#include "app/login_window.h"
#include "core/data_module.h"
#include "core/ending.h"
#include "core/globals.h"
#include "platform/os/os.h"
#include "platform/os/termination.h"
#include "platform/ui/application.h"
#include "platform/ui/guard.h"

int main(int argc, char** argv) {
    os::holdTerminationSignals(); // before any thread starts
    // Dates in Qt's own dialogs (the file list) in Brazilian form whatever the machine's locale.
    qputenv("LC_TIME", "pt_BR.UTF-8");
    ui::Application app(argc, argv);
    setUpApplication(app);
    // No window may stay open on a connection the database client dropped.
    closeDatabasesOnTerminationSignal();
    // A database that cannot be opened is reported and the program ends: running on with a
    // closed connection would only fail again at every step.
    bool created = ui::runGuarded([] { FLogin = new TFLogin(os::programFolder()); });
    if (!created)
        return 1;
    FLogin->show();
    const int result = app.exec();
    delete FLogin;
    return result;
}
