#include "admin/download_file.h"
#include <QFile>
#include <algorithm>
#include <curl/curl.h>

namespace {
quint32 clamp32(long long n) {
    return quint32(std::clamp<long long>(n, 0, 0xFFFFFFFFLL));
}

size_t writeToFile(char* data, size_t size, size_t count, void* file) {
    const qint64 n = qint64(size * count);
    return static_cast<QFile*>(file)->write(data, n) == n ? size * count : 0;
}
} // namespace

TDownloadFile::TDownloadFile(QObject* owner) : QObject(owner) {
    // Once, before any worker thread uses the library.
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    Q_UNUSED(ready);
}

TDownloadFile::~TDownloadFile() {
    if (thread_) {
        thread_->cancel = true;
        thread_->wait();
    }
}

QString TDownloadFile::message(ErrorCode code) {
    switch (code) {
    case ErrorCode::Busy:
        return QStringLiteral("O aplicativo está ocupado!");
    case ErrorCode::NotActive:
        return QStringLiteral("Nenhum download está ativo!");
    case ErrorCode::NoSourceOrTarget:
        return QStringLiteral("A URL de origem e/ou o local de destino não foi especificado.");
    }
    return {};
}

void TDownloadFile::raiseError(ErrorCode code) {
    if (OnError)
        OnError(this, code, message(code));
}

void TDownloadFile::StartDownload() {
    if (busy())
        return raiseError(ErrorCode::Busy);
    if (UrlToDownload.isEmpty() || FileName.isEmpty())
        return raiseError(ErrorCode::NoSourceOrTarget);
    auto* thread = new DownloadThread(UrlToDownload, FileName, this);
    thread_ = thread;
    connect(thread, &DownloadThread::bindingStarted, this, [this, thread] {
        if (OnStart)
            OnStart(thread);
    });
    connect(thread, &DownloadThread::bindingProgress, this,
            [this, thread](quint32 received, quint32 expected) {
                if (OnProgress)
                    OnProgress(thread, received, expected);
            });
    connect(thread, &DownloadThread::bindingStopped, this,
            [this, thread](bool canceled) { finished(thread, canceled); });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

void TDownloadFile::finished(QObject* sender, bool canceled) {
    if (OnFinish)
        OnFinish(sender, canceled);
    if (thread_ == sender) {
        thread_->wait(); // its last step is done: the end was its last word
        thread_ = nullptr;
    }
}

void TDownloadFile::CancelDownload() {
    if (!busy())
        return raiseError(ErrorCode::NotActive);
    thread_->cancel = true;
}

DownloadThread::DownloadThread(QString url, QString fileName, QObject* parent)
    : QThread(parent), url_(std::move(url)), fileName_(std::move(fileName)) {}

int DownloadThread::progressCallback(void* self, long long expected, long long received, long long,
                                     long long) {
    auto* thread = static_cast<DownloadThread*>(self);
    emit thread->bindingProgress(clamp32(received), clamp32(expected));
    return thread->cancel ? 1 : 0; // non-zero stops the transfer
}

void DownloadThread::run() {
    // Whatever happens, the end is reported, so the component never stays busy.
    bool ok = false;
    emit bindingStarted();
    QFile file(fileName_);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        if (CURL* curl = curl_easy_init()) {
            const QByteArray url = url_.toUtf8();
            curl_easy_setopt(curl, CURLOPT_URL, url.constData());
            curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
            curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L); // "not found" is no file
            curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 20L);
            curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
            curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, writeToFile);
            curl_easy_setopt(curl, CURLOPT_WRITEDATA, &file);
            curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
            curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, progressCallback);
            curl_easy_setopt(curl, CURLOPT_XFERINFODATA, this);
            ok = curl_easy_perform(curl) == CURLE_OK;
            curl_easy_cleanup(curl);
        }
        file.close();
        if (!ok)
            file.remove(); // what a failed transfer left is no answer to read
    }
    emit bindingStopped(cancel);
}
