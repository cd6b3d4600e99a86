// Copies of Qorv started as separate processes, each with its own temporary folder
// (where the single-instance lock lives) and home.
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "shell/ui/single_instance.h"

namespace {

class StartupProcess : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(Dir.isValid()); }

  QProcessEnvironment Environment(const QString& locale = QStringLiteral("C")) const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TMPDIR", Dir.path());
    environment.insert("HOME", Dir.path());
    environment.insert("XDG_CONFIG_HOME", Dir.filePath("config"));
    environment.insert("XDG_DATA_HOME", Dir.filePath("data"));
    environment.insert("XDG_RUNTIME_DIR", Dir.path());
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("LC_ALL", locale);
    environment.insert("LANG", locale);
    return environment;
  }

  // The lock file a copy started with Environment() uses.
  QString LockPath() const {
    return QDir(Dir.path()).filePath(QFileInfo(TSingleInstance::DefaultLockPath()).fileName());
  }

  struct TRun {
    int ExitCode = -1;
    QString Output;
  };

  // Runs the start-up probe to its end.
  TRun RunProbe(const QString& locale = QStringLiteral("C")) const {
    QProcess probe;
    probe.setProcessEnvironment(Environment(locale));
    probe.start(QStringLiteral(QORV_STARTUP_PROBE_PATH), {});
    TRun run;
    if (!probe.waitForFinished(60000) || probe.exitStatus() != QProcess::NormalExit) {
      probe.kill();
      probe.waitForFinished();
      return run;
    }
    run.ExitCode = probe.exitCode();
    run.Output = QString::fromLocal8Bit(probe.readAllStandardOutput());
    return run;
  }

  QTemporaryDir Dir;
};

}  // namespace

TEST_F(StartupProcess, ASecondCopyReportsTheFirstAndALockLeftByAKilledCopyDoesNotBlock) {
  QProcess qorv;
  qorv.setProcessEnvironment(Environment());
  qorv.start(QStringLiteral(QORV_PROGRAM_PATH), {});
  ASSERT_TRUE(qorv.waitForStarted(20000));
  // The lock is written once the copy runs.
  ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo(LockPath()).size() > 0; }, 60000));

  const TRun second = RunProbe();
  EXPECT_EQ(second.ExitCode, 0);
  EXPECT_EQ(second.Output, QString("message: Qorv already running\n"));
  EXPECT_EQ(qorv.state(), QProcess::Running);

  qorv.kill();  // SIGKILL: the lock file stays behind
  ASSERT_TRUE(qorv.waitForFinished(20000));
  ASSERT_TRUE(QFileInfo::exists(LockPath()));

  const TRun next = RunProbe();
  EXPECT_EQ(next.ExitCode, 0);
  EXPECT_EQ(next.Output, QString("main window\n"));
  EXPECT_FALSE(QFileInfo::exists(LockPath()));  // released when it ended
}

TEST_F(StartupProcess, ARegionalDecimalCommaWarnsOnceAndTheProgramStillStarts) {
  const TRun comma = RunProbe(QStringLiteral("de_DE.UTF-8"));
  EXPECT_EQ(comma.ExitCode, 0);
  EXPECT_EQ(comma.Output, QString("modal: TBadKeyboardForm\nmain window\n"));

  const TRun period = RunProbe(QStringLiteral("en_US.UTF-8"));
  EXPECT_EQ(period.ExitCode, 0);
  EXPECT_EQ(period.Output, QString("main window\n"));
}
