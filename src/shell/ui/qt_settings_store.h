// The user's settings store on QSettings("Orvelle", "Qorv"): on Windows the registry key
// Software\Orvelle\Qorv of the current user, on Linux the INI file
// Orvelle/Qorv.conf in the XDG configuration folder, the values in its [General]
// section. Groups below the key (the window's state) are not settings values.
#pragma once

#include <QSettings>

#include "shell/settings_store.h"

class TQtSettingsStore : public TSettingsStore {
public:
  TQtSettingsStore();

  bool KeyExists() const override;
  std::vector<std::string> ValueNames() const override;
  bool ReadString(const std::string& name, std::string& value) const override;
  bool ReadInteger(const std::string& name, std::int32_t& value) const override;
  bool ReadBool(const std::string& name, bool& value) const override;

  bool OpenForWriting() override;
  void WriteString(const std::string& name, const std::string& value) override;
  void WriteInteger(const std::string& name, std::int32_t value) override;
  void WriteBool(const std::string& name, bool value) override;
  bool Flush() override;

  // Where the values are kept (the INI file's path on Linux).
  QString FileName() const { return Settings.fileName(); }

private:
  mutable QSettings Settings;
};
