// One copy of the program per user: a second start hands the files it was
// given to the running copy and ends.
//
// The running copy listens on a local socket named "AxiomataFileOpen-" and
// the user id, readable by that user only. A message is the files' absolute
// paths, UTF-8, one per line; the sender closes the connection when done.
// The receiver opens each path that names an existing file with an
// extension, as a notebook of the kind its extension gives, each in its own
// failure frame. Messages are limited in size, and paths in length; anything
// beyond is ignored.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QLocalServer;
class QLocalSocket;

namespace lemmabox {

constexpr qint64 kMaxInstanceMessageBytes = 256 * 1024;

// "AxiomataFileOpen-" + the user id.
QString DefaultInstanceServerName();

// Hands paths to a running copy listening on `name`; false when none
// answers (then this copy is the first).
bool SendToRunningInstance(const QString& name, const QStringList& paths, int timeoutMs = 1000);

// The paths of a message as received: one per line, empty lines and paths
// that are too long dropped.
QStringList PathsOfMessage(const QByteArray& message);

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  using Receiver = std::function<void(const QStringList&)>;

  SingleInstance(const QString& name, Receiver receiver);
  ~SingleInstance() override;

  // Starts listening; false when the name cannot be taken.
  bool Listen();
  QString Name() const { return name_; }

 private:
  void Accept();

  QString name_;
  Receiver receiver_;
  QLocalServer* server_;
};

}  // namespace lemmabox
