// Draws the pictures of the splash window, the about box and its logo, and saves them
// as JPEG files in the folder named on the command line (src/shell/ui/pictures):
//
//   cmake --build build/tests --target qorv_draw_pictures
//   QT_QPA_PLATFORM=offscreen build/tests/tools/pictures/qorv_draw_pictures src/shell/ui/pictures
//
// The motif: a damped resonance measured point by point and the curve fitted through it,
// on graph paper, with the program's name.
#include <QColor>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QString>

#include <cmath>
#include <cstdio>

namespace {

struct TPalette {
  QColor Top, Bottom;  // background gradient
  QColor Grid, Axis;
  QColor Curve, Points;
  QColor Name, Line;   // the name and the text under it
};

const TPalette Dark{QColor(0x14, 0x2a, 0x4a), QColor(0x0a, 0x16, 0x2a), QColor(0x2c, 0x48, 0x70),
                    QColor(0x7f, 0x9c, 0xc4), QColor(0xff, 0xb3, 0x40), QColor(0x6f, 0xd6, 0xff),
                    QColor(0xff, 0xff, 0xff), QColor(0xb8, 0xc8, 0xe0)};
const TPalette Light{QColor(0xfb, 0xfc, 0xfe), QColor(0xe4, 0xec, 0xf6), QColor(0xc9, 0xd6, 0xe8),
                     QColor(0x5a, 0x72, 0x96), QColor(0xd9, 0x6a, 0x00), QColor(0x1f, 0x6f, 0xb8),
                     QColor(0x14, 0x2a, 0x4a), QColor(0x4a, 0x5e, 0x7c)};

// The measured quantity: a damped oscillation rising from zero.
double Response(double t) { return std::exp(-0.35 * t) * std::sin(2.4 * t) + 0.06 * t; }

void DrawGraph(QPainter& painter, const QRectF& area, const TPalette& palette, int gridStep,
               int points) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(palette.Grid, 1));
  for (double x = area.left(); x <= area.right(); x += gridStep)
    painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
  for (double y = area.bottom(); y >= area.top(); y -= gridStep)
    painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));

  const double zeroY = area.top() + area.height() * 0.62;
  painter.setPen(QPen(palette.Axis, 1.5));
  painter.drawLine(QPointF(area.left(), zeroY), QPointF(area.right(), zeroY));
  painter.drawLine(QPointF(area.left(), area.top()), QPointF(area.left(), area.bottom()));

  painter.setRenderHint(QPainter::Antialiasing, true);
  const double tEnd = 12.0;
  const double scale = area.height() * 0.55;
  auto at = [&](double t) {
    return QPointF(area.left() + area.width() * t / tEnd, zeroY - scale * Response(t));
  };
  QPainterPath curve(at(0));
  for (int i = 1; i <= 400; ++i) curve.lineTo(at(tEnd * i / 400));
  painter.setPen(QPen(palette.Curve, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPath(curve);

  // The measured points scatter a little around the curve.
  painter.setPen(QPen(palette.Points, 1.2));
  painter.setBrush(palette.Points.lighter(140));
  for (int i = 1; i < points; ++i) {
    const double t = tEnd * i / points;
    const double noise = 0.05 * std::sin(17.0 * t + 1.3);
    const QPointF p(at(t).x(), zeroY - scale * (Response(t) + noise));
    painter.drawEllipse(p, 2.6, 2.6);
  }
  painter.restore();
}

void FillBackground(QPainter& painter, const QRect& rect, const TPalette& palette) {
  QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
  gradient.setColorAt(0, palette.Top);
  gradient.setColorAt(1, palette.Bottom);
  painter.fillRect(rect, gradient);
}

void DrawName(QPainter& painter, const QRectF& area, const TPalette& palette, int nameSize,
              int lineSize, const QString& line) {
  QFont name("DejaVu Sans", nameSize, QFont::Bold);
  name.setLetterSpacing(QFont::PercentageSpacing, 104);
  painter.setFont(name);
  painter.setPen(palette.Name);
  painter.drawText(area, Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Qorv"));
  if (line.isEmpty()) return;
  const int nameHeight = QFontMetrics(name).height();
  painter.setFont(QFont("DejaVu Sans", lineSize));
  painter.setPen(palette.Line);
  painter.drawText(area.adjusted(2, nameHeight, 0, 0), Qt::AlignLeft | Qt::AlignTop, line);
}

QImage Splash() {
  QImage image(480, 280, QImage::Format_RGB32);
  QPainter painter(&image);
  FillBackground(painter, image.rect(), Dark);
  DrawGraph(painter, QRectF(20, 100, 440, 140), Dark, 20, 36);
  DrawName(painter, QRectF(24, 14, 440, 80), Dark, 36, 10,
           QStringLiteral("Laboratory experiments on GPIB and RS-232 instruments"));
  return image;
}

QImage About() {
  QImage image(320, 120, QImage::Format_RGB32);
  QPainter painter(&image);
  FillBackground(painter, image.rect(), Light);
  DrawGraph(painter, QRectF(130, 10, 180, 100), Light, 10, 20);
  DrawName(painter, QRectF(14, 22, 120, 80), Light, 26, 9, QStringLiteral("Lab automation"));
  return image;
}

QImage Logo() {
  QImage image(64, 64, QImage::Format_RGB32);
  image.fill(Qt::white);  // the logo sits on the about box's white panel
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, true);
  QPainterPath tile;
  tile.addRoundedRect(QRectF(4, 4, 56, 56), 10, 10);
  QLinearGradient gradient(0, 4, 0, 60);
  gradient.setColorAt(0, Dark.Top.lighter(130));
  gradient.setColorAt(1, Dark.Bottom);
  painter.fillPath(tile, gradient);
  painter.setClipPath(tile);
  DrawGraph(painter, QRectF(8, 10, 48, 44), Dark, 8, 0);
  return image;
}

bool Save(const QImage& image, const QDir& folder, const char* name) {
  const QString path = folder.filePath(QString::fromLatin1(name));
  if (image.save(path, "JPG", 90)) return true;
  std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  const bool saved = Save(Splash(), folder, "splash.jpg") && Save(About(), folder, "about.jpg") &&
                     Save(Logo(), folder, "logo.jpg");
  return saved ? 0 : 1;
}
