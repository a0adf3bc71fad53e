#include "app/app_setup.h"
#include "app/login_window.h"
#include "platform/os/os.h"
#include "platform/ui/application.h"
#include "platform/ui/guard.h"

int main(int argc, char** argv) {
    ui::Application app(argc, argv);
    setUpApplication(app);
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
