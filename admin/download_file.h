#pragma once
// Downloads one file over HTTP on a worker thread and reports its start, progress and end on the
// user-interface thread. One download at a time; a request it cannot take is reported through
// OnError with its code.
#include <QObject>
#include <QString>
#include <QThread>
#include <atomic>
#include <functional>

enum class ErrorCode { Busy = 1, NotActive = 2, NoSourceOrTarget = 3 };

class DownloadThread;

class TDownloadFile : public QObject {
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void(QObject* sender)>;
    using TProgressNotifyEvent =
        std::function<void(QObject* sender, quint32 ReceivedBytes, quint32 CalculatedFileSize)>;
    using TFinishNotifyEvent = std::function<void(QObject* sender, bool Canceled)>;
    using TErrorNotifyEvent =
        std::function<void(QObject* sender, ErrorCode ECode, const QString& Msg)>;

    explicit TDownloadFile(QObject* owner = nullptr);
    ~TDownloadFile() override; // a running download is asked to stop first

    QString UrlToDownload;
    QString FileName;
    TNotifyEvent OnStart;
    TProgressNotifyEvent OnProgress;
    TFinishNotifyEvent OnFinish;
    TErrorNotifyEvent OnError;

    void StartDownload(); // returns at once
    void CancelDownload();
    bool busy() const { return thread_ != nullptr; }

    static QString message(ErrorCode code);

private:
    void raiseError(ErrorCode code);
    void finished(QObject* sender, bool canceled);

    DownloadThread* thread_ = nullptr;
};

// One transfer with libcurl. Its notifications reach the component through queued signals, so
// they run on the thread the component lives on.
class DownloadThread : public QThread {
    Q_OBJECT
public:
    DownloadThread(QString url, QString fileName, QObject* parent = nullptr);
    std::atomic<bool> cancel{false}; // set by the interface thread, read at each progress call

signals:
    void bindingStarted();
    void bindingProgress(quint32 received, quint32 expected);
    void bindingStopped(bool canceled);

protected:
    void run() override;

private:
    static int progressCallback(void* self, long long expected, long long received, long long,
                                long long);
    QString url_;
    QString fileName_;
};
