// Draws the program's pictures into the folder named on the command line, at build time:
//   icon.png    the application icon (resource 128): a document in a green letter box
//   banner.png  the banner bitmap (resource 134): the icon, the name "ふみばこ" and a line
// Drawn with QPainter so the build needs no image tools; run on the offscreen platform.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

const QColor kDeepGreen(37, 96, 63);
const QColor kGreen(52, 128, 86);
const QColor kLightGreen(74, 156, 108);
const QColor kPaper(255, 255, 252);
const QColor kInk(150, 160, 154);
const QColor kCream(246, 240, 224);

QFont JapaneseFont(int pixelSize, bool bold) {
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// The icon on a 256 x 256 canvas: a sheet with a folded corner standing in an open box whose
// front carries a cream label with "ふ".
void DrawIcon(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);

    // The sheet, slightly tilted, behind the box front.
    p.save();
    p.translate(128, 96);
    p.rotate(-6);
    QPainterPath sheet;
    sheet.moveTo(-58, -74);
    sheet.lineTo(30, -74);
    sheet.lineTo(58, -46);
    sheet.lineTo(58, 80);
    sheet.lineTo(-58, 80);
    sheet.closeSubpath();
    p.setPen(QPen(QColor(120, 130, 124), 4));
    p.setBrush(kPaper);
    p.drawPath(sheet);
    QPainterPath fold;
    fold.moveTo(30, -74);
    fold.lineTo(30, -46);
    fold.lineTo(58, -46);
    p.setBrush(QColor(228, 232, 229));
    p.drawPath(fold);
    p.setPen(QPen(kInk, 7, Qt::SolidLine, Qt::RoundCap));
    for (int y = -38; y <= 10; y += 16)
        p.drawLine(-40, y, y == -38 ? 14 : 40, y);
    p.restore();

    // The box: rim, then front.
    p.setPen(Qt::NoPen);
    p.setBrush(kDeepGreen);
    p.drawRoundedRect(QRectF(18, 108, 220, 30), 10, 10);
    QLinearGradient front(0, 124, 0, 238);
    front.setColorAt(0, kLightGreen);
    front.setColorAt(1, kGreen);
    p.setBrush(front);
    p.drawRoundedRect(QRectF(28, 124, 200, 114), 18, 18);

    // The label with "ふ".
    p.setBrush(kCream);
    p.drawRoundedRect(QRectF(92, 148, 72, 66), 10, 10);
    p.setPen(kDeepGreen);
    p.setFont(JapaneseFont(50, true));
    p.drawText(QRectF(92, 146, 72, 66), Qt::AlignCenter, QStringLiteral("ふ"));
}

QImage Icon() {
    QImage image(256, 256, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    DrawIcon(p);
    return image;
}

// The banner, 600 x 150 on a transparent ground, so it suits any dialog background: the icon, the
// name, a rule and a short line about the program.
QImage Banner() {
    QImage image(600, 150, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    p.save();
    p.translate(14, 14);
    p.scale(122.0 / 256, 122.0 / 256);
    DrawIcon(p);
    p.restore();

    p.setPen(kDeepGreen);
    p.setFont(JapaneseFont(66, true));
    p.drawText(QPointF(154, 88), QStringLiteral("ふみばこ"));

    p.setPen(QPen(kLightGreen, 3));
    p.drawLine(QPointF(156, 104), QPointF(560, 104));

    p.setPen(QColor(88, 110, 96));
    p.setFont(JapaneseFont(24, false));
    p.drawText(QPointF(158, 134), QStringLiteral("電子書類を、決まった場所へ。"));
    return image;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    const QDir out(folder);
    if (!Icon().save(out.filePath(QStringLiteral("icon.png"))) ||
        !Banner().save(out.filePath(QStringLiteral("banner.png")))) {
        std::fprintf(stderr, "cannot write the pictures into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
