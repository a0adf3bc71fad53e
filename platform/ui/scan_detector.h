#pragma once
// A hand scanner is a keyboard that types a code in a burst, a few milliseconds a character, and
// ends it with Enter, Tab or a line feed. This tells such a burst from a person typing by its speed
// alone, so nobody has to find a setting. The characters reach the focused control as they come;
// when the burst turns out to be a scan, the control gets back the text it had before it, the Enter
// or Tab goes nowhere, and scanned() carries the code.
#include <QObject>
#include <QPointer>

class QKeyEvent;
class QLineEdit;
class QWidget;

namespace ui {

class ScanDetector : public QObject {
    Q_OBJECT
public:
    // Watches the keys typed into `scope` and the controls inside it.
    explicit ScanDetector(QWidget* scope);

    // The longest pause between two keys of a scan. Scanners send a key every 1 to 15 ms; a
    // person, even a fast one, takes over 60 ms a key over a whole code.
    static constexpr qint64 kLongestPauseMs = 35;
    // The shortest code: fewer keys, Enter included, a person can strike that fast by chance.
    static constexpr int kShortestCode = 4;

signals:
    void scanned(const QString& code);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool keyPressed(QWidget* receiver, const QKeyEvent* key);
    void forget();

    QWidget* scope_;
    QString code_;
    qint64 lastKey_ = 0; // the event's time of the burst's last key
    // The edit the burst types into and what it held before, given back after a scan.
    QPointer<QLineEdit> edit_;
    QString textBefore_;
    int cursorBefore_ = 0;
};

} // namespace ui
