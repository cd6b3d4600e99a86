#include "shell/ui/version_text.h"

#include "model/qorv_version.h"

QString VersionText() {
  return QStringLiteral("Version ") + QString::fromStdString(QorvVersion->GetCurrentNumberText());
}
