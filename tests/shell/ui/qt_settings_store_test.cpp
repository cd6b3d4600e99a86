// The settings store on QSettings: values under their names in the INI file of the XDG
// configuration folder, the bool as an integer; the window's state is no key;
// hand-edited lists or non-numbers are unreadable.
#include "shell/ui/qt_settings_store.h"

#include <QFile>
#include <QSettings>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "shell/settings.h"

namespace {

class QtSettingsStoreTest : public ::testing::Test {
protected:
  void SetUp() override { Clear(); }
  void TearDown() override { Clear(); }
  static void Clear() {
    QSettings settings(QStringLiteral("Orvelle"), QStringLiteral("Qorv"));
    settings.clear();
    settings.sync();
  }
  static QString IniText() {
    QFile file(TQtSettingsStore().FileName());
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
  }
  static void WriteIni(const QByteArray& text) {
    QFile file(TQtSettingsStore().FileName());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
  }
};

TEST_F(QtSettingsStoreTest, ValuesLandUnderTheirNamesInTheIniFileAndReadBack) {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  ASSERT_NE(config, nullptr);
  EXPECT_EQ(TQtSettingsStore().FileName(), QString::fromUtf8(config) + "/Orvelle/Qorv.conf");

  EXPECT_FALSE(TQtSettingsStore().KeyExists());

  const std::vector<std::string> files{"&0 /home/jörg/Versuch 1.qve", "&1 /data/a, b; c=d.qve",
                                       "&2 @odd/[x]\\y.qve"};
  {
    TIniregQorv written;
    written.SetAutoDetect(false);
    written.SetNumberOfNationalCards(2);
    written.SetNumberOfCECCards(4);
    for (const auto& file : files) written.AddFile(file);
    written.SetExperimentDirectory("/home/jörg/exp");
    written.AddIconFile("/icons/a.ico");
    TQtSettingsStore store;
    ASSERT_TRUE(written.Write(store));
  }
  const QString ini = IniText();
  EXPECT_TRUE(ini.startsWith("[General]\n")) << ini.toStdString();
  for (const char* line : {"\nAutoDetect=0\n", "\nNumberofNationalCards=2\n",
                           "\nNumberofCECCards=4\n", "\nNumberOfFiles=3\n",
                           "\nNumberOfIconFiles=1\n", "\nIconFileName0=/icons/a.ico\n",
                           "\nOutputDirectory=\n"})
    EXPECT_TRUE(ini.contains(QString::fromUtf8(line))) << line << " in\n" << ini.toStdString();
  EXPECT_TRUE(ini.contains("\nExperiment0=")) << ini.toStdString();

  TQtSettingsStore store;
  EXPECT_TRUE(store.KeyExists());
  TIniregQorv read("/opt/qorv/qorv");
  read.Read(store);
  EXPECT_FALSE(read.GetAutoDetect());
  EXPECT_EQ(read.GetNumberOfCECCards(), 4);
  EXPECT_EQ(read.GetFiles(), files);
  EXPECT_EQ(read.GetExperimentDirectory(), "/home/jörg/exp");
}

TEST_F(QtSettingsStoreTest, WindowStateIsNoKeyAndHandEditedValuesMayBeUnreadable) {
  {
    QSettings settings(QStringLiteral("Orvelle"), QStringLiteral("Qorv"));
    settings.setValue("MainWindow/geometry", QByteArray("\x01\x02", 2));
  }
  TQtSettingsStore windowOnly;
  EXPECT_FALSE(windowOnly.KeyExists());
  EXPECT_TRUE(windowOnly.ValueNames().empty());

  WriteIni("[General]\nAutoDetect=true\nNumberofCECCards=2\nNumberofNationalCards=x\n"
           "NumberOfFiles=3\nExperiment0=&0 /a, /b\nExperiment1=\"&1 /c, /d\"\nExperiment2=&2 /e\n"
           "NumberOfIconFiles=4000000000\nIconFileName0=/i.ico\n");
  TQtSettingsStore store;
  std::string text = "kept";
  EXPECT_FALSE(store.ReadString("Experiment0", text));  // a list, not a text
  EXPECT_EQ(text, "kept");
  TIniregQorv read("/opt/qorv/qorv");
  read.SetNumberOfNationalCards(7);
  read.Read(store);
  EXPECT_TRUE(read.GetAutoDetect());  // "true" is no integer: the field stays
  EXPECT_EQ(read.GetNumberOfCECCards(), 2);
  EXPECT_EQ(read.GetNumberOfNationalCards(), 7);
  ASSERT_EQ(read.GetNumberOfFiles(), 2);
  EXPECT_EQ(read.GetFile(0), "&1 /c, /d");
  EXPECT_EQ(read.GetFile(1), "&2 /e");
  EXPECT_EQ(read.GetNumberOfIconFiles(), 0);  // a count past the integers is unreadable

  WriteIni("[General]\nAutoDetect=0\n");
  TIniregQorv off("/opt/qorv/qorv");
  off.Read(TQtSettingsStore());
  EXPECT_FALSE(off.GetAutoDetect());
}

}  // namespace
