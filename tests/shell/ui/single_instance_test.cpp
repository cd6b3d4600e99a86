#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "shell/ui/single_instance.h"

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

void Age(const QString& path, int seconds) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-seconds),
                               QFileDevice::FileModificationTime));
}

}  // namespace

TEST(SingleInstance, OneHolderAtATimeAndTheLockGoesWithIt) {
  QTemporaryDir dir;
  const QString path = dir.filePath("Qorv Program.lock");
  {
    TSingleInstance first(path);
    EXPECT_FALSE(first.Held());
    EXPECT_EQ(first.Acquire(), TSingleInstance::siAcquired);
    EXPECT_TRUE(first.Held());
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(first.Acquire(), TSingleInstance::siAcquired);  // asking again changes nothing

    TSingleInstance second(path);
    EXPECT_EQ(second.Acquire(), TSingleInstance::siAlreadyRunning);
    EXPECT_FALSE(second.Held());

    // However long the first copy has run, its lock is not stale.
    Age(path, 3600);
    EXPECT_EQ(second.Acquire(), TSingleInstance::siAlreadyRunning);
    EXPECT_TRUE(QFile::exists(path));
  }
  EXPECT_FALSE(QFile::exists(path));
  TSingleInstance next(path);
  EXPECT_EQ(next.Acquire(), TSingleInstance::siAcquired);
}

TEST(SingleInstance, LeftoverLocksOfCopiesThatDiedAreBroken) {
  QTemporaryDir dir;
  const QString path = dir.filePath("Qorv Program.lock");

  // A lock whose process is gone (process ids stay below 2^22 on Linux).
  WriteFile(path, "4194304\nqorv\n" + QSysInfo::machineHostName().toUtf8() + "\n");
  TSingleInstance afterCrash(path);
  EXPECT_EQ(afterCrash.Acquire(), TSingleInstance::siAcquired);
}

TEST(SingleInstance, GarbledLeftoverLocksAreBrokenOnlyWhenOld) {
  QTemporaryDir dir;
  const QString path = dir.filePath("Qorv Program.lock");

  // Empty: a copy killed between making the file and writing it, or one starting now.
  WriteFile(path, "");
  {
    TSingleInstance starting(path);
    EXPECT_EQ(starting.Acquire(), TSingleInstance::siAlreadyRunning);
    Age(path, 60);
    EXPECT_EQ(starting.Acquire(), TSingleInstance::siAcquired);
  }
  EXPECT_FALSE(QFile::exists(path));

  // Written under another host name: the owner cannot be asked, but nobody holds it.
  WriteFile(path, "1\nqorv\nsome-other-host\n");
  Age(path, 60);
  TSingleInstance renamedHost(path);
  EXPECT_EQ(renamedHost.Acquire(), TSingleInstance::siAcquired);
}

TEST(SingleInstance, AFolderThatCannotHoldTheLockIsNotAnotherCopy) {
  TSingleInstance nowhere("/proc/no such folder/Qorv Program.lock");
  EXPECT_EQ(nowhere.Acquire(), TSingleInstance::siUnavailable);
  EXPECT_FALSE(nowhere.Held());
}

TEST(SingleInstance, TheLockLivesInTheTemporaryFolderOncePerUser) {
  const QString path = TSingleInstance::DefaultLockPath();
  EXPECT_EQ(QFileInfo(path).absolutePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
  EXPECT_TRUE(QFileInfo(path).fileName().startsWith("Qorv Program"));
  EXPECT_TRUE(path.endsWith(".lock"));
}
