#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "shell/ui/jpeg_picture.h"

namespace {

QByteArray JpegBytes(const QImage& image, int quality = 95) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "JPG", quality);
  return bytes;
}

QByteArray ResourceBytes(const QString& name) {
  PictureResource(name);  // registers the pictures
  QFile file(QStringLiteral(":/pictures/") + name);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The largest difference of a colour channel between two images of equal size.
int LargestDifference(const QImage& a, const QImage& b) {
  const QImage left = a.convertToFormat(QImage::Format_RGB32);
  const QImage right = b.convertToFormat(QImage::Format_RGB32);
  int largest = 0;
  for (int y = 0; y < left.height(); ++y)
    for (int x = 0; x < left.width(); ++x) {
      const QRgb p = left.pixel(x, y), q = right.pixel(x, y);
      largest = std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q))});
    }
  return largest;
}

// The offset of the frame header (SOF0 marker) in a baseline JPEG; -1 when missing.
int FrameHeader(const QByteArray& bytes) { return bytes.indexOf(QByteArray("\xFF\xC0", 2)); }

}  // namespace

TEST(JpegPicture, ShippedPicturesDecodeLikeQtsOwnReader) {
  const struct {
    const char* Name;
    QSize Size;
  } pictures[] = {{"splash.jpg", {480, 280}}, {"about.jpg", {320, 120}}, {"logo.jpg", {64, 64}}};
  for (const auto& picture : pictures) {
    SCOPED_TRACE(picture.Name);
    const QImage image = PictureResource(QString::fromLatin1(picture.Name));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.format(), QImage::Format_RGB888);
    EXPECT_EQ(image.size(), picture.Size);
    const QImage reference =
        QImage::fromData(ResourceBytes(QString::fromLatin1(picture.Name)), "JPG");
    ASSERT_EQ(reference.size(), image.size());
    EXPECT_LE(LargestDifference(image, reference), 2);
  }
  EXPECT_TRUE(PictureResource(QStringLiteral("missing.jpg")).isNull());
}

TEST(JpegPicture, ColoursAndGreyPicturesComeOutAsRgb) {
  QImage source(40, 24, QImage::Format_RGB32);
  source.fill(QColor(200, 30, 40));
  QPainter(&source).fillRect(20, 0, 20, 24, QColor(20, 60, 220));
  const QImage colour = DecodeJpeg(JpegBytes(source));
  ASSERT_EQ(colour.size(), source.size());
  QImage expected(source.size(), QImage::Format_RGB32);
  expected.fill(QColor(200, 30, 40));
  QPainter(&expected).fillRect(20, 0, 20, 24, QColor(20, 60, 220));
  // Away from the edge between the colours, where compression blurs.
  EXPECT_LE(LargestDifference(colour.copy(0, 0, 16, 24), expected.copy(0, 0, 16, 24)), 8);
  EXPECT_LE(LargestDifference(colour.copy(32, 0, 8, 24), expected.copy(32, 0, 8, 24)), 8);

  QImage grey(16, 16, QImage::Format_Grayscale8);
  grey.fill(QColor(128, 128, 128));
  const QImage fromGrey = DecodeJpeg(JpegBytes(grey));
  ASSERT_EQ(fromGrey.format(), QImage::Format_RGB888);
  const QColor pixel = fromGrey.pixelColor(8, 8);
  EXPECT_NEAR(pixel.red(), 128, 3);
  EXPECT_EQ(pixel.red(), pixel.green());
  EXPECT_EQ(pixel.green(), pixel.blue());
}

TEST(JpegPicture, TruncatedOrForeignBytesGiveANullImage) {
  const QByteArray whole = ResourceBytes(QStringLiteral("about.jpg"));
  ASSERT_FALSE(DecodeJpeg(whole).isNull());
  EXPECT_TRUE(DecodeJpeg(QByteArray()).isNull());
  EXPECT_TRUE(DecodeJpeg(QByteArray("not a picture at all")).isNull());
  EXPECT_TRUE(DecodeJpeg(whole.left(2)).isNull());             // the start marker only
  EXPECT_TRUE(DecodeJpeg(whole.left(FrameHeader(whole) + 4)).isNull());  // inside the header
  EXPECT_TRUE(DecodeJpeg(whole.left(whole.size() / 2)).isNull());  // half the picture
  EXPECT_TRUE(DecodeJpeg(whole.left(whole.size() - 2)).isNull());  // no end marker

  QImage png(8, 8, QImage::Format_RGB32);
  png.fill(Qt::red);
  QByteArray pngBytes;
  QBuffer buffer(&pngBytes);
  buffer.open(QIODevice::WriteOnly);
  png.save(&buffer, "PNG");
  EXPECT_TRUE(DecodeJpeg(pngBytes).isNull());

  // Corrupt frame headers (marker, length 2, precision 1, height 2, width 2) are refused
  // without huge allocations: a huge size, no size, a bad precision.
  const int frame = FrameHeader(whole);
  ASSERT_GT(frame, 0);
  const auto spoiled = [&](int at, const QByteArray& bytes) {
    QByteArray damaged = whole;
    damaged.replace(frame + at, bytes.size(), bytes);
    return DecodeJpeg(damaged).isNull();
  };
  EXPECT_TRUE(spoiled(5, QByteArray("\xFF\xF0\xFF\xF0", 4)));
  EXPECT_TRUE(spoiled(5, QByteArray("\0\0", 2)));
  EXPECT_TRUE(spoiled(4, QByteArray("\x03", 1)));
}

TEST(JpegPicture, DamagedBytesAnywhereNeverCrash) {
  const QByteArray whole = ResourceBytes(QStringLiteral("logo.jpg"));
  ASSERT_FALSE(whole.isEmpty());
  int refused = 0;
  for (int at = 0; at < whole.size(); at += 7) {
    for (const char value : {'\x00', '\xFF', '\x5A'}) {
      QByteArray damaged = whole;
      if (damaged[at] == value) continue;
      damaged[at] = value;
      const QImage image = DecodeJpeg(damaged);
      // Damage inside the compressed data may go unnoticed: such a picture decodes
      // (to wrong colours) and must still be a well-formed image.
      if (image.isNull()) {
        ++refused;
        continue;
      }
      EXPECT_EQ(image.format(), QImage::Format_RGB888);
      EXPECT_FALSE(image.size().isEmpty());
    }
  }
  EXPECT_GT(refused, 0);
}
