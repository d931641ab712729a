// Renders an SVG icon into a square PNG of the given size, for the icon theme
// folders of the installed program. Run: qv_render_icon IN.svg OUT.png SIZE.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: qv_render_icon IN.svg OUT.png SIZE\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const int size = std::atoi(argv[3]);
  QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
  if (!svg.isValid() || size <= 0 || size > 1024) {
    std::fprintf(stderr, "qv_render_icon: cannot render %s at %s\n", argv[1], argv[3]);
    return 1;
  }
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  svg.render(&p);
  p.end();
  if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
    std::fprintf(stderr, "qv_render_icon: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
