#include "print/canvas.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>

namespace pylon::print {

Canvas::Canvas(QPainter& painter) : p_(painter), k_(painter.device()->logicalDpiX() / 72.0) {}

const QFontMetricsF& Canvas::metrics(const QFont& font) const {
    for (const auto& [f, m] : metrics_)
        if (f == font) return m;
    metrics_.emplace_back(font, QFontMetricsF(font, p_.device()));
    return metrics_.back().second;
}

double Canvas::advance(const QFont& font, const QString& text) const {
    return metrics(font).horizontalAdvance(text) / k_;
}

double Canvas::lineHeight(const QFont& font) const {
    return metrics(font).lineSpacing() / k_;
}

QStringList Canvas::wrap(const QFont& font, const QString& text, double width) const {
    QStringList out;
    for (QString paragraph : text.split(QLatin1Char('\n'))) {
        paragraph.remove(QLatin1Char('\r'));
        if (advance(font, paragraph) <= width) {
            out << paragraph;
            continue;
        }
        QTextLayout layout(paragraph, font, p_.device());
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width * k_);
            out << paragraph.mid(line.textStart(), line.textLength()).trimmed();
        }
        layout.endLayout();
    }
    return out;
}

void Canvas::text(const QFont& font, const QRectF& box, const QString& text, Qt::Alignment align) {
    if (text.isEmpty()) return;
    double x = box.x();
    if (align & Qt::AlignRight)
        x = box.right() - advance(font, text);
    else if (align & Qt::AlignHCenter)
        x = box.x() + (box.width() - advance(font, text)) / 2;
    if (p_.font() != font) p_.setFont(font);
    p_.drawText(QPointF(x * k_, box.y() * k_ + metrics(font).ascent()), text);
}

double Canvas::lines(const QFont& font, double x, double y, double width, const QStringList& lines,
                     Qt::Alignment align) {
    const double h = lineHeight(font);
    for (qsizetype i = 0; i < lines.size(); ++i)
        text(font, QRectF(x, y + double(i) * h, width, h), lines[i], align);
    return double(lines.size()) * h;
}

void Canvas::rule(double x1, double y, double x2, const QColor& color, double width) {
    p_.setPen(QPen(color, width * k_));
    p_.drawLine(QPointF(x1 * k_, y * k_), QPointF(x2 * k_, y * k_));
    p_.setPen(Qt::black);
}

void Canvas::box(const QRectF& r, const QColor& fill, const QColor& border) {
    p_.setPen(border.alpha() ? QPen(border, 0.6 * k_) : QPen(Qt::NoPen));
    p_.setBrush(fill);
    p_.drawRect(device(r));
    p_.setBrush(Qt::NoBrush);
    p_.setPen(Qt::black);
}

QRectF Canvas::image(const QImage& picture, const QRectF& box) {
    if (picture.isNull()) return {};
    const QSizeF fitted = QSizeF(picture.size()).scaled(box.size(), Qt::KeepAspectRatio);
    const QRectF at(box.topLeft(), fitted);
    p_.drawImage(device(at), picture);
    return at;
}

void Canvas::stamp(const QString& word, const QSizeF& page, const QColor& color) {
    QFont font(QStringLiteral("Liberation Sans"), 96, QFont::Bold);
    font.setStyleHint(QFont::SansSerif);
    p_.save();
    p_.translate(page.width() / 2 * k_, page.height() / 2 * k_);
    p_.rotate(-35);
    p_.setFont(font);
    p_.setPen(color);
    const QFontMetricsF& m = metrics(font);
    p_.drawText(QPointF(-m.horizontalAdvance(word) / 2, m.ascent() / 2 - m.descent()), word);
    p_.restore();
}

} // namespace pylon::print
