#include "app/single_instance.h"

#include <unistd.h>

#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <memory>

#include "shell/command_line.h"

namespace lemmabox {

QString DefaultInstanceServerName() {
  return QString("AxiomataFileOpen-%1").arg(static_cast<qulonglong>(::getuid()));
}

bool SendToRunningInstance(const QString& name, const QStringList& paths, int timeoutMs) {
  QLocalSocket socket;
  socket.connectToServer(name, QIODevice::WriteOnly);
  if (!socket.waitForConnected(timeoutMs)) return false;
  QByteArray message;
  for (const QString& path : paths) {
    message += QFileInfo(path).absoluteFilePath().toUtf8();
    message += '\n';
  }
  if (message.isEmpty()) message = "\n";  // a start without files still wakes it
  socket.write(message);
  socket.waitForBytesWritten(timeoutMs);
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(timeoutMs);
  return true;
}

QStringList PathsOfMessage(const QByteArray& message) {
  QStringList paths;
  for (const QByteArray& line : message.left(kMaxInstanceMessageBytes).split('\n')) {
    if (line.isEmpty() || line.size() > qsizetype(kMaxFileNameLength)) continue;
    // A path cannot hold a NUL; such a line is not one.
    if (line.contains('\0')) continue;
    paths << QString::fromUtf8(line);
  }
  return paths;
}

SingleInstance::SingleInstance(const QString& name, Receiver receiver)
    : name_(name), receiver_(std::move(receiver)), server_(new QLocalServer(this)) {
  // Only this user may hand us files.
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server_, &QLocalServer::newConnection, this, &SingleInstance::Accept);
}

SingleInstance::~SingleInstance() {
  server_->close();
}

bool SingleInstance::Listen() {
  if (server_->listen(name_)) return true;
  // A socket left behind by a copy that crashed; nobody answers on it.
  QLocalServer::removeServer(name_);
  return server_->listen(name_);
}

void SingleInstance::Accept() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    auto buffer = std::make_shared<QByteArray>();
    connect(socket, &QLocalSocket::readyRead, socket, [socket, buffer] {
      buffer->append(socket->readAll());
      if (buffer->size() > kMaxInstanceMessageBytes) socket->abort();
    });
    connect(socket, &QLocalSocket::disconnected, this, [this, socket, buffer] {
      buffer->append(socket->readAll());
      socket->deleteLater();
      if (buffer->size() > kMaxInstanceMessageBytes) return;
      receiver_(PathsOfMessage(*buffer));
    });
  }
}

}  // namespace lemmabox
