#include "core/ending.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/os/termination.h"
#include <cstdlib>

void closeDatabasesOnTerminationSignal() {
    os::onTerminationSignal([](int signal) {
        if (DM)
            DM->closeDatabases();
        std::_Exit(128 + signal);
    });
}
