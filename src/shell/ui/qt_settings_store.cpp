#include "shell/ui/qt_settings_store.h"

#include <QString>
#include <QStringList>
#include <QVariant>

namespace {

QString Key(const std::string& name) { return QString::fromStdString(name); }

}  // namespace

TQtSettingsStore::TQtSettingsStore()
    : Settings(QStringLiteral("Orvelle"), QStringLiteral("Qorv")) {}

bool TQtSettingsStore::KeyExists() const { return !Settings.childKeys().isEmpty(); }

std::vector<std::string> TQtSettingsStore::ValueNames() const {
  std::vector<std::string> names;
  const QStringList keys = Settings.childKeys();
  names.reserve(static_cast<std::size_t>(keys.size()));
  for (const QString& key : keys) names.push_back(key.toStdString());
  return names;
}

bool TQtSettingsStore::ReadString(const std::string& name, std::string& value) const {
  const QVariant stored = Settings.value(Key(name));
  // A list (an INI value with unquoted commas, edited by hand) is no text.
  if (!stored.isValid() || stored.typeId() == QMetaType::QStringList ||
      !stored.canConvert<QString>())
    return false;
  value = stored.toString().toStdString();
  return true;
}

bool TQtSettingsStore::ReadInteger(const std::string& name, std::int32_t& value) const {
  const QVariant stored = Settings.value(Key(name));
  if (!stored.isValid() || stored.typeId() == QMetaType::QStringList) return false;
  bool ok = false;
  const int number = stored.toInt(&ok);
  if (!ok) return false;
  value = number;
  return true;
}

bool TQtSettingsStore::ReadBool(const std::string& name, bool& value) const {
  std::int32_t number = 0;
  if (!ReadInteger(name, number)) return false;
  value = number != 0;
  return true;
}

bool TQtSettingsStore::OpenForWriting() { return Settings.isWritable(); }

void TQtSettingsStore::WriteString(const std::string& name, const std::string& value) {
  Settings.setValue(Key(name), QString::fromStdString(value));
}

void TQtSettingsStore::WriteInteger(const std::string& name, std::int32_t value) {
  Settings.setValue(Key(name), static_cast<int>(value));
}

void TQtSettingsStore::WriteBool(const std::string& name, bool value) {
  Settings.setValue(Key(name), value ? 1 : 0);
}

bool TQtSettingsStore::Flush() {
  Settings.sync();
  return Settings.status() == QSettings::NoError;
}
