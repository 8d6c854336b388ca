// Draws the frames of image/Loading.gif: twelve dots on a ring, one bright dot running
// round with a fading tail, in the program's teal on white. Writes frame_00.png ...
// into the folder given as argument; the GIF is assembled from them with
//   convert -delay 8 -loop 0 -dispose previous frame_*.png -layers Optimize Loading.gif
// Not part of the normal build: the GIF itself is kept in image/.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cmath>

int main(int argc, char** argv)
{
  QGuiApplication app(argc, argv);
  const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
  constexpr int kSize = 72;
  constexpr int kDots = 12;
  const QColor teal(0x1f, 0x8a, 0x8a);
  for (int frame = 0; frame < kDots; ++frame) {
    QImage image(kSize, kSize, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.translate(kSize / 2.0, kSize / 2.0);
    for (int dot = 0; dot < kDots; ++dot) {
      const int behind = (frame - dot + kDots) % kDots; // 0 = the leading dot
      const double strength = std::max(0.15, 1.0 - behind / 7.0);
      QColor c = teal;
      c.setAlphaF(strength);
      const double angle = 2 * M_PI * dot / kDots - M_PI / 2;
      const double radius = 3.0 + 2.2 * strength;
      p.setBrush(c);
      p.drawEllipse(QPointF(24 * std::cos(angle), 24 * std::sin(angle)), radius, radius);
    }
    p.end();
    image.save(out.filePath(QStringLiteral("frame_%1.png").arg(frame, 2, 10, QLatin1Char('0'))));
  }
  return 0;
}
