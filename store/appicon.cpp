// The program's icon.
#include "store/appicon.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

using namespace Qt::Literals::StringLiterals;

namespace tz {

QImage paintApplicationIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    QPainterPath page;
    page.addRoundedRect(QRectF(s * 0.06, s * 0.06, s * 0.88, s * 0.88), s * 0.14, s * 0.14);
    p.fillPath(page, QColor(34, 110, 78));
    p.setPen(QPen(QColor(214, 72, 72), std::max(1.0, s * 0.035)));
    p.drawLine(QPointF(s * 0.28, s * 0.16), QPointF(s * 0.28, s * 0.84));
    p.setPen(QColor(250, 250, 240));
    QFont font(u"WenQuanYi Micro Hei"_s);
    font.setPixelSize(std::max(8, int(s * 0.52)));
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRectF(s * 0.26, s * 0.1, s * 0.66, s * 0.8), Qt::AlignCenter, u"账"_s);
    p.end();
    return image;
}

} // namespace tz
