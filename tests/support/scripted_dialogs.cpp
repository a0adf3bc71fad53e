#include "tests/support/scripted_dialogs.h"
#include "platform/ui/guard.h"
#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <algorithm>
#include <stdexcept>

namespace testing_support {
using ui::describeException;
using ui::dialogs;
using ui::setDialogs;

namespace {
// Showing a window does not make it active under the offscreen platform until the activation
// event is processed; focus and window shortcuts need an active window.
void activate(QWidget* window) {
    if (!window || !window->isVisible())
        return;
    window->activateWindow();
    QCoreApplication::processEvents();
}
} // namespace

ScriptedDialogs::ScriptedDialogs() : previous_(&dialogs()) {
    setDialogs(this);
}

ScriptedDialogs::~ScriptedDialogs() {
    setDialogs(previous_);
}

void ScriptedDialogs::answer(bool yes, std::function<void()> meanwhile) {
    answers_.emplace_back(yes, std::move(meanwhile));
}

void ScriptedDialogs::chooseFile(const QString& path) {
    files_.push_back(path);
}

void ScriptedDialogs::onModal(const QString& window, WindowScript script) {
    scripts_.emplace_back(window, std::move(script));
}

void ScriptedDialogs::setFailureHandler(std::function<void(const QString&)> handler) {
    failureHandler_ = std::move(handler);
}

bool ScriptedDialogs::nothingPending() const {
    return answers_.empty() && files_.empty() && scripts_.empty();
}

void ScriptedDialogs::clear() {
    messages_.clear();
    questions_.clear();
    errors_.clear();
    windows_.clear();
    failures_.clear();
}

void ScriptedDialogs::fail(const QString& what) {
    failures_ << what;
    if (failureHandler_)
        failureHandler_(what);
    throw std::logic_error(what.toStdString());
}

void ScriptedDialogs::message(QWidget*, const QString& text) {
    messages_ << text;
}

bool ScriptedDialogs::question(QWidget*, const QString& caption, const QString& text) {
    if (answers_.empty())
        fail(QStringLiteral("Pergunta sem resposta no roteiro do teste: [%1] %2")
                 .arg(caption, text));
    auto [yes, meanwhile] = std::move(answers_.front());
    answers_.pop_front();
    if (meanwhile)
        meanwhile();
    questions_.push_back({caption, text, yes});
    return yes;
}

void ScriptedDialogs::error(QWidget*, const QString& text, const QString& detail) {
    errors_.push_back({text, detail});
}

QString ScriptedDialogs::nextFile(const QString& what) {
    if (files_.empty())
        fail(QStringLiteral("Diálogo de arquivo sem resposta no roteiro do teste: %1").arg(what));
    QString path = files_.front();
    files_.pop_front();
    return path;
}

QString ScriptedDialogs::openFile(QWidget*, const QString& caption, const QString&,
                                  const QString&) {
    return nextFile(caption);
}

QString ScriptedDialogs::saveFile(QWidget*, const QString& caption, const QString&,
                                  const QString&) {
    return nextFile(caption);
}

QString ScriptedDialogs::choosePicture(QWidget*, const QString& filter) {
    return nextFile(filter);
}

int ScriptedDialogs::showModal(QDialog* window) {
    windows_ << window->objectName();
    QPointer<QWidget> opener = QApplication::activeWindow();
    QPointer<QDialog> shown = window;
    const QString className = QString::fromLatin1(window->metaObject()->className());
    auto script = std::find_if(scripts_.begin(), scripts_.end(), [&](const auto& s) {
        return s.first == window->objectName() || s.first == className;
    });
    WindowScript act;
    if (script != scripts_.end()) {
        act = std::move(script->second);
        scripts_.erase(script);
    }

    window->setResult(0);
    window->show(); // runs the window's show handlers
    activate(window);
    QString scriptError;
    if (act && shown && shown->isVisible()) {
        try {
            act(window);
        } catch (...) {
            scriptError = describeException(std::current_exception()).text;
        }
    }
    // As a person closing it: the window's close handlers run. A window that refuses to close
    // is put away all the same, as the test cannot go on with it.
    if (shown && shown->isVisible() && !shown->close())
        shown->done(shown->result());
    activate(opener);
    if (!scriptError.isEmpty())
        fail(QStringLiteral("O roteiro da janela %1 falhou: %2").arg(className, scriptError));
    return shown ? shown->result() : 0;
}

} // namespace testing_support
