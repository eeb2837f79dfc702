#pragma once
// A painter that takes its measures in points (1/72 inch) whatever the device's resolution, so that the
// page is laid out once for the printer and the PDF writer alike. Text keeps the device's own font sizes.
#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QRectF>
#include <QStringList>
#include <deque>

class QImage;
class QPainter;

namespace pylon::print {

class Canvas {
  public:
    explicit Canvas(QPainter& painter);

    double advance(const QFont& font, const QString& text) const;
    double lineHeight(const QFont& font) const;
    // The text in lines no wider than width: at its line breaks, then between words, and inside a word
    // too long for a line.
    QStringList wrap(const QFont& font, const QString& text, double width) const;

    // One line in the box, at its top; aligned left, right or centred in the box's width.
    void text(const QFont& font, const QRectF& box, const QString& text, Qt::Alignment align = Qt::AlignLeft);
    // Lines one under the other from y; returns the height they took.
    double lines(const QFont& font, double x, double y, double width, const QStringList& lines,
                 Qt::Alignment align = Qt::AlignLeft);
    void rule(double x1, double y, double x2, const QColor& color, double width = 0.5);
    void box(const QRectF& r, const QColor& fill, const QColor& border = Qt::transparent);
    // The picture fitted into the box, its proportions kept, at the box's top left.
    QRectF image(const QImage& picture, const QRectF& box);
    // A word in large letters across the page, slanted.
    void stamp(const QString& word, const QSizeF& page, const QColor& color);

  private:
    const QFontMetricsF& metrics(const QFont& font) const;
    QRectF device(const QRectF& r) const { return {r.x() * k_, r.y() * k_, r.width() * k_, r.height() * k_}; }

    QPainter& p_;
    double k_; // device dots per point
    mutable std::deque<std::pair<QFont, QFontMetricsF>>
        metrics_; // a deque: references stay valid as it grows
};

} // namespace pylon::print
