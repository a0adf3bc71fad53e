#pragma once
// The dialogs service for tests: answers questions and file dialogs from queues the test fills,
// records everything shown, and lets the test act inside a nested modal window before it closes.
// No real modal loop runs. Installs itself while it exists.
#include "platform/ui/dialogs.h"
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

namespace testing_support {

class ScriptedDialogs : public ui::Dialogs {
public:
    struct Question {
        QString caption;
        QString text;
        bool answer;
    };
    struct Error {
        QString text;
        QString detail;
    };
    using WindowScript = std::function<void(QDialog*)>;

    ScriptedDialogs();  // becomes ui::dialogs()
    ~ScriptedDialogs(); // puts the previous service back
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    // --- What the test scripts ---
    // The next question's answer; `meanwhile` runs while the question is up (another station
    // saving, say).
    void answer(bool yes, std::function<void()> meanwhile = {});
    void chooseFile(const QString& path); // the next file or picture dialog's choice ("" cancels)
    // What to do in the next window shown modally whose objectName or class name is `window`.
    // After the script the window is closed (as by its close box) if it is still open.
    void onModal(const QString& window, WindowScript script);
    // Called for every prompt that found nothing scripted (tests pass ADD_FAILURE here). The
    // prompt then throws, so the command stops as if the user had gone away.
    void setFailureHandler(std::function<void(const QString&)> handler);

    // --- What was shown ---
    const QStringList& messages() const { return messages_; }
    const std::vector<Question>& questions() const { return questions_; }
    const std::vector<Error>& errors() const { return errors_; }
    const QStringList& windows() const { return windows_; } // objectNames shown modally
    const QStringList& failures() const { return failures_; }
    bool nothingPending() const; // every scripted answer, file and window was used
    void clear();                // forgets what was shown

    // --- Dialogs ---
    void message(QWidget* parent, const QString& text) override;
    bool question(QWidget* parent, const QString& caption, const QString& text) override;
    void error(QWidget* parent, const QString& text, const QString& detail) override;
    QString openFile(QWidget* parent, const QString& caption, const QString& filter,
                     const QString& fileName) override;
    QString saveFile(QWidget* parent, const QString& caption, const QString& filter,
                     const QString& fileName) override;
    QString choosePicture(QWidget* parent, const QString& filter) override;
    int showModal(QDialog* window) override;

private:
    [[noreturn]] void fail(const QString& what);
    QString nextFile(const QString& what);

    Dialogs* previous_;
    std::deque<std::pair<bool, std::function<void()>>> answers_;
    std::deque<QString> files_;
    std::vector<std::pair<QString, WindowScript>> scripts_;
    std::function<void(const QString&)> failureHandler_;
    QStringList messages_;
    std::vector<Question> questions_;
    std::vector<Error> errors_;
    QStringList windows_;
    QStringList failures_;
};

} // namespace testing_support
