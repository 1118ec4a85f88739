#include "shell/gui/SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>

#include <memory>

namespace raylen {

namespace {
// The paths go one a line, closed by an empty line; the running copy
// answers one byte once it has them all.
constexpr char endOfList[] = "\n\n";
constexpr char received = '1';
constexpr int answerWaitMs = 5000;
constexpr qint64 longestList = 1 << 20;

QString socketName(const QString& folder) { return folder + "/raylen.socket"; }
} // namespace

SingleInstance::SingleInstance()
{
    folder_ = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder_.isEmpty())
        folder_ = QDir::tempPath();
    QDir().mkpath(folder_);
    lock_ = std::make_unique<QLockFile>(folder_ + "/raylen.lock");
    // A lock left by a copy that died is taken over (its process is gone);
    // a live copy's lock never goes stale by age.
    lock_->setStaleLockTime(0);
    acquired_ = lock_->tryLock(0);
}

SingleInstance::~SingleInstance() = default;

void SingleInstance::serve(std::function<void(const QStringList&)> open)
{
    if (!acquired_ || server_)
        return;
    open_ = std::move(open);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // The lock is ours, so a socket file left there belongs to a dead copy.
    QLocalServer::removeServer(socketName(folder_));
    if (!server_->listen(socketName(folder_)))
        return;
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            auto pending = std::make_shared<QByteArray>();
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket, pending] {
                *pending += socket->readAll();
                if (pending->size() > longestList) {
                    socket->abort();
                    return;
                }
                if (!pending->endsWith(endOfList))
                    return;
                QStringList files = QString::fromUtf8(*pending).split('\n', Qt::SkipEmptyParts);
                pending->clear();
                socket->write(&received, 1);
                socket->flush();
                // Opened after this call returns, so that a message box the
                // opening shows does not hold the other copy.
                QTimer::singleShot(0, server_.get(), [this, files] { open_(files); });
            });
        }
    });
}

bool SingleInstance::handOver(const QStringList& files) const
{
    QLocalSocket socket;
    socket.connectToServer(socketName(folder_));
    if (!socket.waitForConnected(answerWaitMs))
        return false;
    QByteArray list;
    for (const QString& file : files)
        list += QFileInfo(file).absoluteFilePath().toUtf8() + '\n';
    list += '\n';
    socket.write(list);
    if (!socket.waitForBytesWritten(answerWaitMs))
        return false;
    return socket.waitForReadyRead(answerWaitMs) && socket.read(1) == QByteArray(1, received);
}

} // namespace raylen
