#include "shell/ui/block_icon.h"

#include <QIcon>
#include <QImageReader>

#include "shell/ui/icons.h"

namespace {

QPixmap FromFile(const QString& path) {
  QImageReader reader(path);
  QImage best;
  // A multi-size file (".ico") is searched for its 32-pixel entry.
  do {
    const QImage image = reader.read();
    if (image.isNull()) break;
    if (image.size() == QSize(BlockIconSide, BlockIconSide)) return QPixmap::fromImage(image);
    if (best.isNull() || image.width() > best.width()) best = image;
  } while (reader.jumpToNextImage());
  if (best.isNull()) return {};
  return QPixmap::fromImage(best.scaled(BlockIconSide, BlockIconSide, Qt::IgnoreAspectRatio,
                                        Qt::SmoothTransformation));
}

}  // namespace

QPixmap BlockIcon(const std::string& iconFile, bool startBlock) {
  if (!iconFile.empty()) {
    const QPixmap picture = FromFile(QString::fromStdString(iconFile));
    if (!picture.isNull()) return picture;
  }
  const QSize side(BlockIconSide, BlockIconSide);
  return QorvIcon(startBlock ? "start" : "tree-block").pixmap(side, 1.0);
}
