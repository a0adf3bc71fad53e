#pragma once
// The application object. Handlers are guarded one by one (guard.h); notify is only the last net
// for an exception that slipped through, so that it is reported instead of ending the program.
#include <QApplication>

namespace ui {

class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace ui
