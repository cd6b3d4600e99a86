#include "shell/ui/single_instance.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

// A lock file is taken by force only when it is older than this, so that a copy starting
// at the same moment, between making its lock file and locking it, keeps it.
constexpr qint64 ForcedBreakAgeMs = 2000;

}  // namespace

TSingleInstance::TSingleInstance(const QString& lockPath) : Lock(lockPath) {
  // The default stale time would let a second copy break the lock of a copy that has
  // run for more than 30 seconds; only a dead owner makes a lock stale.
  Lock.setStaleLockTime(0);
}

TSingleInstance::~TSingleInstance() {
  if (Lock.isLocked()) Lock.unlock();
}

TSingleInstance::TResult TSingleInstance::Acquire() {
  if (Lock.isLocked()) return siAcquired;
  // tryLock breaks a lock whose process is gone.
  if (Lock.tryLock(0)) return siAcquired;
  if (Lock.error() != QLockFile::LockFailedError) return siUnavailable;

  // What tryLock cannot judge: a lock file left empty or garbled by a copy killed while
  // making it, or one written under another host name. The running copy keeps its lock
  // file locked as a file too, so removing it succeeds only when no live process holds it.
  const QFileInfo info(Lock.fileName());
  if (info.exists() &&
      info.lastModified().msecsTo(QDateTime::currentDateTime()) > ForcedBreakAgeMs &&
      Lock.removeStaleLockFile() && Lock.tryLock(0))
    return siAcquired;
  return siAlreadyRunning;
}

QString TSingleInstance::DefaultLockPath() {
  // One lock per user: the temporary folder is often shared, and one user's copy (or its
  // leftover lock, which others may not remove) must not keep another user from working.
#ifdef Q_OS_UNIX
  const QString user = QString::number(::getuid());
#else
  const QString user = qEnvironmentVariable("USERNAME");
#endif
  return QDir::tempPath() + QStringLiteral("/Qorv Program ") + user + QStringLiteral(".lock");
}
