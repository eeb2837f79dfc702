#include "commands/form3.h"

#include "widgets/window_keys.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>

namespace pylon {

namespace {

// The program's mark: the initials on a blue tile. Drawn here so that no picture file has to ship.
QPixmap mark(QSize size) {
    QPixmap p(size);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, size.height());
    fill.setColorAt(0, QColor(96, 96, 208));
    fill.setColorAt(1, QColor(0, 0, 64));
    QPainterPath tile;
    tile.addRoundedRect(QRectF(2, 2, size.width() - 4, size.height() - 4), 12, 12);
    g.fillPath(tile, fill);
    g.setPen(QColor(192, 192, 255));
    QFont f(QStringLiteral("Tahoma"));
    f.setBold(true);
    f.setPixelSize(size.height() * 2 / 5);
    g.setFont(f);
    g.drawText(p.rect(), Qt::AlignCenter, QStringLiteral("PB"));
    return p;
}

// A small invoice sheet: a page with its folded corner and a few ruled lines.
QPixmap sheet(QSize size) {
    QPixmap p(size);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width() - 8, h = size.height() - 4, fold = w / 4;
    QPainterPath page;
    page.moveTo(4, 2);
    page.lineTo(4 + w - fold, 2);
    page.lineTo(4 + w, 2 + fold);
    page.lineTo(4 + w, 2 + h);
    page.lineTo(4, 2 + h);
    page.closeSubpath();
    g.fillPath(page, Qt::white);
    g.setPen(QColor(0, 0, 64));
    g.drawPath(page);
    g.setPen(QColor(64, 0, 0));
    for (qreal y = 2 + fold + 6; y < h - 4; y += 6)
        g.drawLine(QPointF(10, y), QPointF(4 + w - 6, y));
    return p;
}

} // namespace

Form3::Form3(QWidget* parent) : QWidget(parent, Qt::Dialog) {
    ui.setupUi(this);
    closeOnEscape(*this);
    ui.Image1->setPixmap(mark(ui.Image1->size()));
    ui.Image2->setPixmap(sheet(ui.Image2->size()));
}

bool Form3::hidesTheBox(const QWidget* clicked) const {
    const QWidget* handlers[] = {this,      ui.Image1, ui.Label1, ui.Label2,
                                 ui.Label3, ui.Label4, ui.Label5, ui.Label6};
    return std::find(std::begin(handlers), std::end(handlers), clicked) != std::end(handlers);
}

void Form3::mousePressEvent(QMouseEvent* e) {
    e->accept();
}

// A click is a press and a release over the same spot; the labels and pictures let the mouse through to
// the box, which decides by what lies under the pointer. The second picture and the other labels do nothing.
void Form3::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint at = e->position().toPoint();
    if (e->button() != Qt::LeftButton || !rect().contains(at)) return;
    const QWidget* under = childAt(at);
    if (hidesTheBox(under ? under : this)) hide();
}

} // namespace pylon
