#include "shell/ui/icons.h"

#include <QDir>
#include <QFile>

// The resource file is compiled into the static qorv_ui library, whose linker would drop
// it unless something refers to it: every icon lookup makes sure it is in.
static void LoadIconResource() {
  static const bool loaded = [] {
    Q_INIT_RESOURCE(icons);
    return true;
  }();
  (void)loaded;
}

QIcon QorvIcon(const QString& name) {
  LoadIconResource();
  const QString path = QStringLiteral(":/icons/%1.svg").arg(name);
  return QFile::exists(path) ? QIcon(path) : QIcon();
}

QIcon ThemedIcon(const QString& themeName, const QString& name) {
  return QIcon::fromTheme(themeName, QorvIcon(name));
}

QStringList QorvIconNames() {
  LoadIconResource();
  QStringList names;
  for (const QString& file :
       QDir(QStringLiteral(":/icons")).entryList({QStringLiteral("*.svg")}, QDir::Files))
    names << file.chopped(4);
  return names;
}

namespace {

QList<QIcon> IconsOf(std::initializer_list<const char*> names) {
  QList<QIcon> icons;
  for (const char* name : names) icons << QorvIcon(QLatin1String(name));
  return icons;
}

}  // namespace

QList<QIcon> ExperimentTreeImages() {
  return IconsOf({"tree-block", "tree-block-current", "tree-blank-line", "tree-stop"});
}

QList<QIcon> AttributeTreeImages() {
  return IconsOf({"tree-outputs", "tree-output-text", "tree-output-table", "tree-output-graph",
                  "tree-output-bignum", "tree-variables", "tree-variable-string",
                  "tree-variable-integer", "tree-variable-float", "tree-arrays",
                  "tree-array-string", "tree-array-integer", "tree-array-float",
                  "tree-single-files", "tree-multiple-files"});
}
