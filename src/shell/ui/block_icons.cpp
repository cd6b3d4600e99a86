#include "shell/ui/block_icons.h"

#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QPainter>

#include <algorithm>

#include "shell/ui/icons.h"

namespace {

// The picture centred on a transparent 32 x 32 square, scaled down or up to fit.
QImage ToIconSize(const QImage& picture) {
  if (picture.size() == QSize(BlockIconSize, BlockIconSize))
    return picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  const QImage scaled = picture.scaled(BlockIconSize, BlockIconSize, Qt::KeepAspectRatio,
                                       Qt::SmoothTransformation);
  QImage square(BlockIconSize, BlockIconSize, QImage::Format_ARGB32_Premultiplied);
  square.fill(Qt::transparent);
  QPainter painter(&square);
  painter.drawImage((BlockIconSize - scaled.width()) / 2, (BlockIconSize - scaled.height()) / 2,
                    scaled);
  return square;
}

}  // namespace

QImage LoadBlockIcon(const QString& fileName) {
  QImageReader reader(fileName);
  // An ".ico" holds several sizes: the 32-pixel one is taken as it is.
  QImage largest;
  const int count = std::max(1, reader.imageCount());
  for (int i = 0; i < count; ++i) {
    if (i > 0 && !reader.jumpToImage(i)) break;
    const QImage picture = reader.read();
    if (picture.isNull()) break;
    if (picture.size() == QSize(BlockIconSize, BlockIconSize)) return ToIconSize(picture);
    if (largest.isNull() || picture.width() * picture.height() > largest.width() * largest.height())
      largest = picture;
  }
  return largest.isNull() ? QImage() : ToIconSize(largest);
}

QImage DefaultBlockIcon(bool startBlock) {
  // Rendered once each: every box without an icon file paints one.
  static QImage rendered[2];
  QImage& image = rendered[startBlock ? 1 : 0];
  if (image.isNull()) {
    const QIcon icon =
        QorvIcon(startBlock ? QStringLiteral("block-start") : QStringLiteral("block"));
    image = icon.pixmap(BlockIconSize, BlockIconSize)
                .toImage()
                .scaled(BlockIconSize, BlockIconSize)  // a high-density screen gives more pixels
                .convertToFormat(QImage::Format_ARGB32_Premultiplied);
  }
  return image;
}

QImage BlockIconOf(const std::string& iconFile, bool startBlock) {
  const int index = BlockIcons().IndexOf(iconFile);
  if (index >= 0) return BlockIcons().Icon(index);
  if (!iconFile.empty()) {
    const QImage icon = BlockIcons().UnlistedIcon(iconFile);
    if (!icon.isNull()) return icon;
  }
  return DefaultBlockIcon(startBlock);
}

int TBlockIcons::AddIconFile(const std::string& fileName) {
  const int listed = IndexOf(fileName);
  if (listed >= 0) return listed;
  const QString name = QString::fromStdString(fileName);
  if (name.isEmpty() || !QFileInfo(name).isFile()) return -1;
  QImage icon = LoadBlockIcon(name);
  if (icon.isNull()) return -1;
  Files.push_back(fileName);
  Icons.push_back(std::move(icon));
  Unlisted.clear();
  return Count() - 1;
}

int TBlockIcons::IndexOf(const std::string& fileName) const {
  const auto found = std::find(Files.begin(), Files.end(), fileName);
  return found == Files.end() ? -1 : static_cast<int>(found - Files.begin());
}

bool TBlockIcons::Remove(int index) {
  if (index < 0 || index >= Count()) return false;
  Files.erase(Files.begin() + index);
  Icons.erase(Icons.begin() + index);
  Unlisted.clear();
  return true;
}

void TBlockIcons::Clear() {
  Files.clear();
  Icons.clear();
  Unlisted.clear();
}

QImage TBlockIcons::UnlistedIcon(const std::string& fileName) const {
  const auto found = Unlisted.find(fileName);
  if (found != Unlisted.end()) return found->second;
  const QString name = QString::fromStdString(fileName);
  QImage icon;
  if (!name.isEmpty() && QFileInfo(name).isFile()) icon = LoadBlockIcon(name);
  Unlisted.emplace(fileName, icon);
  return icon;
}

std::string TBlockIcons::GetIconFile(int index) const {
  return index >= 0 && index < Count() ? Files[index] : std::string();
}

QImage TBlockIcons::Icon(int index) const {
  return index >= 0 && index < Count() ? Icons[index] : QImage();
}

TBlockIcons& BlockIcons() {
  static TBlockIcons icons;
  return icons;
}
