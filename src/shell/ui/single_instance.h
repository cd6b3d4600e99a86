// One copy of Qorv at a time: a lock file in the temporary folder that the running copy
// holds until it ends.
#pragma once

#include <QLockFile>
#include <QString>

class TSingleInstance {
public:
  enum TResult {
    siAcquired,       // this copy holds the lock
    siAlreadyRunning, // another live copy holds it
    siUnavailable,    // the lock file cannot be made (the folder is not writable, ...)
  };

  explicit TSingleInstance(const QString& lockPath = DefaultLockPath());
  // Releases the lock when held.
  ~TSingleInstance();
  TSingleInstance(const TSingleInstance&) = delete;
  TSingleInstance& operator=(const TSingleInstance&) = delete;

  // Takes the lock. A lock left behind by a copy that no longer runs (killed, crashed)
  // is broken; a lock held by a running copy is never broken, however old.
  TResult Acquire();
  bool Held() const { return Lock.isLocked(); }

  // "<temporary folder>/Qorv Program <user id>.lock"; the folder follows TMPDIR.
  static QString DefaultLockPath();

private:
  QLockFile Lock;
};
