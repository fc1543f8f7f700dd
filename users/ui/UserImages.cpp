#include "UserImages.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>

namespace users {

namespace {

struct Look {
    QColor body;   // the figure
    QColor accent; // the corner mark that tells the kind apart, or none
};

// One kind, one colour: a user of the own partition plain blue, shared users green with a mark,
// users of another partition amber with a mark, the technician accounts grey.
bool lookOf(const QString& kind, Look& look) {
    if (kind == u"NORMAL")
        look = {QColor(0x2f, 0x6d, 0xb5), QColor()};
    else if (kind == u"SHARED")
        look = {QColor(0x2e, 0x8b, 0x57), QColor(0x1b, 0x5e, 0x20)};
    else if (kind == u"BORROWED")
        look = {QColor(0xc7, 0x7c, 0x0e), QColor(0x8d, 0x4e, 0x00)};
    else if (kind == u"TECH")
        look = {QColor(0x6e, 0x6e, 0x6e), QColor(0x30, 0x30, 0x30)};
    else
        return false;
    return true;
}

// A head over shoulders, in a 16 by 16 square; a group is two of them.
void drawFigure(QPainter& p, QPointF at, qreal scale, const QColor& colour) {
    p.setPen(colour.darker(140));
    p.setBrush(colour);
    p.drawEllipse(QRectF(at.x() + 4.5 * scale, at.y() + 1 * scale, 7 * scale, 7 * scale));
    p.drawRoundedRect(QRectF(at.x() + 2 * scale, at.y() + 9 * scale, 12 * scale, 6.5 * scale), 3 * scale, 3 * scale);
}

QIcon draw(bool group, const Look& look) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (group) {
        drawFigure(p, QPointF(5, 0), 0.7, look.body.lighter(125));
        drawFigure(p, QPointF(0, 4), 0.75, look.body);
    } else {
        drawFigure(p, QPointF(0, 0), 1.0, look.body);
    }
    if (look.accent.isValid()) {
        p.setPen(Qt::white);
        p.setBrush(look.accent);
        p.drawRect(QRectF(10.5, 10.5, 5, 5));
    }
    p.end();
    return QIcon(pixmap);
}

} // namespace

QIcon UserImages::Image(const QString& key) {
    static QHash<QString, QIcon> drawn;
    if (const auto it = drawn.constFind(key); it != drawn.cend())
        return *it;
    const bool user = key.startsWith(u"USER_");
    const bool group = key.startsWith(u"GROUP_");
    Look look;
    if ((!user && !group) || !lookOf(key.mid(user ? 5 : 6), look))
        return {};
    const QIcon icon = draw(group, look);
    drawn.insert(key, icon);
    return icon;
}

} // namespace users
