// Draws the editor's pictures (window icon, toolbar images, About page pictures) into a
// folder: ot-artwork DIR. The PNG files in resources/ are made by this program.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

const QColor kInk(0x23, 0x34, 0x4a);
const QColor kTeal(0x1f, 0x7a, 0x8c);
const QColor kGold(0xe8, 0xa8, 0x38);
const QColor kPaper(0xfb, 0xfa, 0xf5);

bool Draw(const QString& path, QSize size, const std::function<void(QPainter&)>& paint) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  paint(p);
  p.end();
  const bool ok = image.save(path);
  if (!ok) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
  return ok;
}

// A small sheet of cells: a coloured title row and a number column, as the grids show them.
void Sheet(QPainter& p, QRectF r, int cols, int rows, QColor title) {
  p.setPen(Qt::NoPen);
  p.setBrush(kPaper);
  p.drawRect(r);
  const qreal w = r.width() / cols;
  const qreal h = r.height() / rows;
  p.setBrush(title);
  p.drawRect(QRectF(r.left(), r.top(), r.width(), h));
  p.setBrush(QColor(0xd9, 0xdd, 0xe3));
  p.drawRect(QRectF(r.left(), r.top() + h, w, r.height() - h));
  p.setPen(QPen(QColor(0x8a, 0x95, 0xa5), 1));
  p.setBrush(Qt::NoBrush);
  for (int c = 1; c < cols; ++c) p.drawLine(QPointF(r.left() + c * w, r.top()), QPointF(r.left() + c * w, r.bottom()));
  for (int k = 1; k < rows; ++k) p.drawLine(QPointF(r.left(), r.top() + k * h), QPointF(r.right(), r.top() + k * h));
  p.setPen(QPen(kInk, 1));
  p.drawRect(r);
}

void Arrow(QPainter& p, QPointF from, QPointF to, QColor color, qreal width) {
  p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawLine(from, to);
  const QPointF d = to - from;
  const qreal len = std::max(1.0, std::hypot(d.x(), d.y()));
  const QPointF u = d / len;
  const QPointF n(-u.y(), u.x());
  const qreal head = width * 1.8;
  p.drawLine(to, to - u * head + n * head);
  p.drawLine(to, to - u * head - n * head);
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: ot-artwork DIR\n");
    return 2;
  }
  const QString dir = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(dir);
  bool ok = true;

  ok &= Draw(dir + "/app.png", {64, 64}, [](QPainter& p) {
    QLinearGradient g(0, 0, 64, 64);
    g.setColorAt(0, kTeal);
    g.setColorAt(1, kInk);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    Sheet(p, QRectF(12, 14, 40, 36), 4, 4, kGold);
  });

  ok &= Draw(dir + "/open.png", {16, 16}, [](QPainter& p) {
    p.setPen(QPen(QColor(0x8a, 0x60, 0x10), 1));
    p.setBrush(QColor(0xf0, 0xc0, 0x50));
    p.drawRect(QRectF(1.5, 3.5, 6, 2));
    p.drawRect(QRectF(1.5, 4.5, 12, 9));
    p.setBrush(QColor(0xfa, 0xdc, 0x80));
    QPainterPath flap;
    flap.moveTo(3.5, 7.5);
    flap.lineTo(15.5, 7.5);
    flap.lineTo(13.5, 13.5);
    flap.lineTo(1.5, 13.5);
    flap.closeSubpath();
    p.drawPath(flap);
  });

  ok &= Draw(dir + "/save.png", {16, 16}, [](QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(0x3a, 0x6e, 0xc0));
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(QColor(0xc8, 0xd0, 0xdc));
    p.drawRect(QRectF(3.5, 9.5, 9, 5));
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawRect(QRectF(9, 2.5, 1.5, 3));
  });

  ok &= Draw(dir + "/about.png", {16, 16}, [](QPainter& p) {
    p.setPen(QPen(QColor(0x14, 0x4a, 0x90), 1));
    p.setBrush(QColor(0x3c, 0x82, 0xd8));
    p.drawEllipse(QRectF(1, 1, 14, 14));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(7, 3.5, 2.2, 2.2));
    p.drawRoundedRect(QRectF(7, 6.8, 2.2, 6), 0.8, 0.8);
  });

  ok &= Draw(dir + "/exit.png", {16, 16}, [](QPainter& p) {
    p.setPen(QPen(QColor(0x5a, 0x38, 0x18), 1));
    p.setBrush(QColor(0xa8, 0x70, 0x38));
    p.drawRect(QRectF(2.5, 1.5, 7, 13));
    p.setPen(Qt::NoPen);
    p.setBrush(kGold);
    p.drawEllipse(QRectF(7, 7.5, 1.6, 1.6));
    Arrow(p, QPointF(8.5, 8), QPointF(14.5, 8), QColor(0x2c, 0x9a, 0x48), 1.8);
  });

  ok &= Draw(dir + "/export.png", {16, 16}, [](QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(Qt::white);
    QPainterPath page;
    page.moveTo(1.5, 1.5);
    page.lineTo(8.5, 1.5);
    page.lineTo(11.5, 4.5);
    page.lineTo(11.5, 14.5);
    page.lineTo(1.5, 14.5);
    page.closeSubpath();
    p.drawPath(page);
    p.setPen(QPen(QColor(0x8a, 0x95, 0xa5), 1));
    for (int y : {6, 8, 10, 12}) p.drawLine(QPointF(3.5, y + 0.5), QPointF(9, y + 0.5));
    Arrow(p, QPointF(8, 10.5), QPointF(15, 10.5), QColor(0x2c, 0x9a, 0x48), 1.8);
  });

  ok &= Draw(dir + "/about-banner.png", {273, 62}, [](QPainter& p) {
    QLinearGradient g(0, 0, 273, 0);
    g.setColorAt(0, kInk);
    g.setColorAt(1, kTeal);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 0.5, 272, 61), 8, 8);
    for (int i = 0; i < 5; ++i) {
      p.setBrush(i % 2 ? kGold : QColor(0xff, 0xff, 0xff, 90));
      p.drawRect(QRectF(14 + i * 9, 14 + (i % 3) * 9, 7, 7));
      p.drawRect(QRectF(14 + i * 9, 41 - (i % 2) * 9, 7, 7));
    }
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(26);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRectF(70, 4, 200, 34), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Orvel Tarn"));
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(12);
    p.setFont(small);
    p.setPen(QColor(0xf4, 0xe6, 0xc4));
    p.drawText(QRectF(72, 36, 200, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Client Tools  V0.66.01.18"));
  });

  ok &= Draw(dir + "/about-sheet.png", {149, 213}, [](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 50));
    p.drawRoundedRect(QRectF(10, 10, 134, 198), 4, 4);
    Sheet(p, QRectF(4.5, 4.5, 134, 198), 4, 11, kTeal);
    p.setPen(Qt::NoPen);
    const qreal w = 134.0 / 4;
    const qreal h = 198.0 / 11;
    const QColor marks[] = {kGold, QColor(0x9c, 0xc8, 0x70), QColor(0xe0, 0x80, 0x70)};
    for (int k = 0; k < 7; ++k) {
      p.setBrush(marks[k % 3]);
      const int col = 1 + (k * 2) % 3;
      const int row = 2 + k + (k / 3);
      if (row >= 11) break;
      p.drawRect(QRectF(4.5 + col * w + 3, 4.5 + row * h + 4, w - 6, h - 8));
    }
    p.setPen(QPen(kInk, 1));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(10);
    p.setFont(f);
    for (int row = 1; row < 11; ++row)
      p.drawText(QRectF(4.5, 4.5 + row * h, w, h), Qt::AlignCenter, QString::number(row - 1));
  });

  ok &= Draw(dir + "/about-gate.png", {134, 205}, [](QPainter& p) {
    // A stone gate with a glowing passage, standing on a path.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x7a, 0x9a, 0x60));
    p.drawEllipse(QRectF(-20, 170, 174, 60));
    QPainterPath outer;
    outer.moveTo(10, 190);
    outer.lineTo(10, 70);
    outer.arcTo(QRectF(10, 10, 114, 120), 180, -180);
    outer.lineTo(124, 190);
    outer.closeSubpath();
    QPainterPath inner;
    inner.moveTo(32, 190);
    inner.lineTo(32, 78);
    inner.arcTo(QRectF(32, 36, 70, 84), 180, -180);
    inner.lineTo(102, 190);
    inner.closeSubpath();
    p.setBrush(QColor(0x9a, 0x9c, 0xa4));
    p.drawPath(outer.subtracted(inner));
    QRadialGradient glow(QPointF(67, 120), 70);
    glow.setColorAt(0, QColor(0xf8, 0xf0, 0xc0));
    glow.setColorAt(0.5, QColor(0x70, 0xa8, 0xe8));
    glow.setColorAt(1, QColor(0x3a, 0x3c, 0x9a));
    p.setBrush(glow);
    p.drawPath(inner);
    p.setPen(QPen(QColor(0x5a, 0x5c, 0x66), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(outer);
    p.drawPath(inner);
    for (int y = 90; y < 190; y += 20) {
      p.drawLine(QPointF(10, y), QPointF(32, y));
      p.drawLine(QPointF(102, y), QPointF(124, y));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(kGold);
    p.drawEllipse(QRectF(61, 14, 12, 12));
  });

  return ok ? 0 : 1;
}
