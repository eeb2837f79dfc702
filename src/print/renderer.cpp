#include "print/renderer.h"

#include "print/canvas.h"

#include <QImageReader>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <array>

namespace pylon::print {

namespace {

constexpr double kSide = 42, kTop = 40, kBottom = 28; // margins, in points
constexpr double kPad = 4;                            // inside a table cell
constexpr double kTitleWidth = 175;                   // the title, number and date, at the right
// The client's block in lines at most: a name or an address pasted whole from elsewhere must leave the
// first page room for the document's lines.
constexpr qsizetype kNameLines = 3, kAddressLines = 10, kNoteLines = 10;
const QColor kGrey(120, 120, 120), kRule(200, 200, 200), kShade(235, 235, 240);

QFont font(double points, bool bold = false, bool italic = false) {
    QFont f(QStringLiteral("Liberation Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

struct Fonts {
    QFont name = font(15, true), head = font(9), title = font(17, true), number = font(11, true),
          date = font(10), party = font(8.5, true), partyName = font(10.5, true), partyText = font(10),
          note = font(9.5, false, true), small = font(8.5), th = font(9, true), cell = font(9),
          total = font(9.5), totalBold = font(9.5, true), words = font(10, true), foot = font(7.5);
};

// One line of the document laid out: its cells in lines that fit their columns, and its height.
struct Row {
    std::array<QStringList, 5> cells;
    double height = 0;
};

// Lays one document out in pages, then paints them one by one.
class DocumentPages {
  public:
    DocumentPages(Canvas& canvas, QSizeF page, const PrintedDocument& doc, const Letterhead& head)
        : c_(canvas), page_(page), doc_(doc), head_(head), width_(page.width() - 2 * kSide) {
        const double amountWidth = 80, fixed = 58 + 48 + 2 * amountWidth;
        columns_ = {58, 48, width_ - fixed, amountWidth, amountWidth};
        planHead();
        planFoot();
        planRows();
        wordsLines_ = c_.wrap(f_.words, doc_.words, wordsWidth());
        paginate();
    }
    int pageCount() const { return int(pages_.size()); }
    void paint(int index);

  private:
    void planHead();
    QStringList atMost(const QFont& font, QStringList lines, qsizetype most, double width) const;
    void planFoot();
    void planRows();
    void paginate();
    void paintHead();
    void paintTableHeader(double y);
    void paintRow(const Row& row, double y);
    void paintTotals(double y);
    double totalsHeight() const;
    double columnX(int c) const {
        double x = kSide;
        for (int i = 0; i < c; ++i)
            x += columns_[size_t(i)];
        return x;
    }
    // The totals' labels start here; the words take the width at their left.
    double totalsLabelX() const { return columnX(3) - 30; }
    double wordsWidth() const { return totalsLabelX() - kSide - 16; }
    static bool rightAligned(int column) { return column == 1 || column >= 3; }

    Canvas& c_;
    QSizeF page_;
    const PrintedDocument& doc_;
    const Letterhead& head_;
    Fonts f_;
    double width_;
    std::array<double, 5> columns_{};
    // The first page's head.
    QRectF logoBox_;
    QStringList nameLines_, headLines_, partyNameLines_, partyAddressLines_, noteLines_, wordsLines_;
    double headBottom_ = 0, firstTableTop_ = 0, nextTableTop_ = 0, tableHeader_ = 0;
    // The foot of every page, and where the lines must stop above it.
    QStringList footLines_;
    double footTop_ = 0, bodyBottom_ = 0;
    std::vector<Row> rows_;
    std::vector<std::pair<size_t, size_t>> pages_; // the rows of each page, [first, end)
};

void DocumentPages::planHead() {
    const Identity& id = head_.identity;
    double textX = kSide, leftHeight = 0;
    if (!head_.logo.isNull()) {
        const QSizeF fitted = QSizeF(head_.logo.size()).scaled(QSizeF(130, 65), Qt::KeepAspectRatio);
        logoBox_ = QRectF(QPointF(kSide, kTop), fitted);
        textX += fitted.width() + 12;
        leftHeight = fitted.height();
    }
    const double leftWidth = page_.width() - kSide - kTitleWidth - 12 - textX;
    nameLines_ = c_.wrap(f_.name, id.name, leftWidth);
    if (id.name.isEmpty()) nameLines_.clear();
    for (const QString& line : letterheadLines(id))
        headLines_ << c_.wrap(f_.head, line, leftWidth);
    leftHeight = std::max(leftHeight, double(nameLines_.size()) * c_.lineHeight(f_.name) +
                                          double(headLines_.size()) * c_.lineHeight(f_.head));
    const double rightHeight = c_.lineHeight(f_.title) + c_.lineHeight(f_.number) + c_.lineHeight(f_.date);
    headBottom_ = kTop + std::max(leftHeight, rightHeight) + 18;

    const double partyWidth = page_.width() - kSide - (page_.width() / 2 + 10) - 16;
    if (!doc_.name.isEmpty())
        partyNameLines_ =
            atMost(f_.partyName, c_.wrap(f_.partyName, doc_.name, partyWidth), kNameLines, partyWidth);
    if (!doc_.address.trimmed().isEmpty())
        partyAddressLines_ =
            atMost(f_.partyText, c_.wrap(f_.partyText, doc_.address, partyWidth), kAddressLines, partyWidth);
    const double partyHeight = 16 + c_.lineHeight(f_.party) +
                               double(partyNameLines_.size()) * c_.lineHeight(f_.partyName) +
                               double(partyAddressLines_.size()) * c_.lineHeight(f_.partyText);
    const double noteWidth = page_.width() / 2 - kSide - 16;
    if (!doc_.note.isEmpty())
        noteLines_ = atMost(f_.note, c_.wrap(f_.note, doc_.note, noteWidth), kNoteLines, noteWidth);
    const double noteHeight = double(noteLines_.size()) * c_.lineHeight(f_.note);
    firstTableTop_ = headBottom_ + std::max(partyHeight, noteHeight) + 16;
    nextTableTop_ = kTop + c_.lineHeight(f_.small) + 10;
    tableHeader_ = c_.lineHeight(f_.th) + 8;
}

// The first lines, the last of them ending in "…" when some are left out.
QStringList DocumentPages::atMost(const QFont& font, QStringList lines, qsizetype most, double width) const {
    if (lines.size() <= most) return lines;
    lines.resize(most);
    QString& last = lines.last();
    const QString more = QStringLiteral(" …");
    while (!last.isEmpty() && c_.advance(font, last + more) > width)
        last.chop(1);
    last = last.trimmed() + more;
    return lines;
}

void DocumentPages::planFoot() {
    for (const QString& line : footerLines(head_.identity))
        footLines_ << c_.wrap(f_.foot, line, width_);
    const double height = 6 + double(footLines_.size()) * c_.lineHeight(f_.foot) + c_.lineHeight(f_.small);
    footTop_ = page_.height() - kBottom - height;
    bodyBottom_ = footTop_ - 8;
}

void DocumentPages::planRows() {
    const double lineHeight = c_.lineHeight(f_.cell);
    rows_.reserve(doc_.lines.size());
    for (const QStringList& line : doc_.lines) {
        Row row;
        qsizetype tallest = 1;
        for (int col = 0; col < 5; ++col) {
            row.cells[size_t(col)] = c_.wrap(f_.cell, line.value(col), columns_[size_t(col)] - 2 * kPad);
            tallest = std::max(tallest, row.cells[size_t(col)].size());
        }
        // A line taller than a page would never find room: it is cut to the page.
        row.height = std::min(double(tallest) * lineHeight + 5, bodyBottom_ - nextTableTop_ - tableHeader_);
        rows_.push_back(std::move(row));
    }
}

void DocumentPages::paginate() {
    size_t first = 0;
    double y = firstTableTop_ + tableHeader_;
    for (size_t i = 0; i < rows_.size(); ++i) {
        // A line goes to the next page when it would pass the foot; on the first page too, below a head
        // taller than usual, which then keeps no line (on the next ones a line always fits: it is cut to
        // the page).
        if (y + rows_[i].height > bodyBottom_ && (i > first || pages_.empty())) {
            pages_.emplace_back(first, i);
            first = i;
            y = nextTableTop_ + tableHeader_;
        }
        y += rows_[i].height;
    }
    pages_.emplace_back(first, rows_.size());
    // The totals go under the last line, or alone on a page of their own when there is no room left.
    if (y + totalsHeight() > bodyBottom_) pages_.emplace_back(rows_.size(), rows_.size());
}

double DocumentPages::totalsHeight() const {
    const double right = 3 * (c_.lineHeight(f_.totalBold) + 6);
    const double left = doc_.words.isEmpty() ? 0
                                             : c_.lineHeight(f_.total) + 4 +
                                                   double(wordsLines_.size()) * c_.lineHeight(f_.words);
    return 14 + std::max(right, left);
}

void DocumentPages::paintHead() {
    c_.image(head_.logo, logoBox_);
    const double textX = logoBox_.isNull() ? kSide : logoBox_.right() + 12;
    const double leftWidth = page_.width() - kSide - kTitleWidth - 12 - textX;
    double y = kTop + c_.lines(f_.name, textX, kTop, leftWidth, nameLines_);
    c_.lines(f_.head, textX, y, leftWidth, headLines_);

    // The title, number and date at the right, level with the name.
    const auto right = [this](double at) {
        return QRectF(page_.width() - kSide - kTitleWidth, at, kTitleWidth, 0);
    };
    y = kTop;
    c_.text(f_.title, right(y), doc_.title, Qt::AlignRight);
    y += c_.lineHeight(f_.title);
    if (!doc_.number.isEmpty())
        c_.text(f_.number, right(y), QStringLiteral("N° %1").arg(doc_.number), Qt::AlignRight);
    y += c_.lineHeight(f_.number);
    if (!doc_.date.isEmpty())
        c_.text(f_.date, right(y), QStringLiteral("Date : %1").arg(doc_.date), Qt::AlignRight);

    const double px = page_.width() / 2 + 10, pw = page_.width() - kSide - px;
    y = headBottom_ + 8;
    const QString label = doc_.partyNumber.isEmpty()
                              ? doc_.partyLabel
                              : QStringLiteral("%1 n° %2").arg(doc_.partyLabel, doc_.partyNumber);
    c_.text(f_.party, QRectF(px + 8, y, pw - 16, 0), label);
    y += c_.lineHeight(f_.party);
    y += c_.lines(f_.partyName, px + 8, y, pw - 16, partyNameLines_);
    y += c_.lines(f_.partyText, px + 8, y, pw - 16, partyAddressLines_);
    c_.box(QRectF(px, headBottom_, pw, y + 8 - headBottom_), Qt::transparent, kGrey);
    c_.lines(f_.note, kSide, headBottom_ + 8, page_.width() / 2 - kSide - 16, noteLines_);
}

void DocumentPages::paintTableHeader(double y) {
    c_.box(QRectF(kSide, y, width_, tableHeader_), kShade);
    const QStringList& headings = columnHeadings();
    for (int col = 0; col < 5; ++col)
        c_.text(f_.th, QRectF(columnX(col) + kPad, y + 4, columns_[size_t(col)] - 2 * kPad, 0), headings[col],
                rightAligned(col) ? Qt::AlignRight : Qt::AlignLeft);
}

void DocumentPages::paintRow(const Row& row, double y) {
    for (int col = 0; col < 5; ++col) {
        QStringList cell = row.cells[size_t(col)];
        while (!cell.isEmpty() && double(cell.size()) * c_.lineHeight(f_.cell) > row.height)
            cell.removeLast();
        c_.lines(f_.cell, columnX(col) + kPad, y + 2.5, columns_[size_t(col)] - 2 * kPad, cell,
                 rightAligned(col) ? Qt::AlignRight : Qt::AlignLeft);
    }
    c_.rule(kSide, y + row.height, kSide + width_, kRule);
}

void DocumentPages::paintTotals(double y) {
    y += 14;
    const struct {
        const char* label;
        const QString& value;
        bool bold;
    } totals[] = {{"TOTAL H.T :", doc_.totalHT, false},
                  {"T.V.A. 20% :", doc_.tva, false},
                  {"TOTAL T.T.C :", doc_.totalTTC, true}};
    const double valueX = columnX(4), labelX = totalsLabelX(), rowHeight = c_.lineHeight(f_.totalBold) + 6;
    double ry = y;
    for (const auto& row : totals) {
        const QFont& f = row.bold ? f_.totalBold : f_.total;
        if (row.bold) c_.box(QRectF(labelX, ry, kSide + width_ - labelX, rowHeight), kShade);
        c_.text(f, QRectF(labelX, ry + 3, valueX - labelX - kPad, 0), QString::fromUtf8(row.label),
                Qt::AlignRight);
        c_.text(f, QRectF(valueX, ry + 3, columns_[4] - kPad, 0), row.value, Qt::AlignRight);
        ry += rowHeight;
    }
    if (doc_.words.isEmpty()) return;
    c_.text(f_.total, QRectF(kSide, y, wordsWidth(), 0),
            QStringLiteral("Arrêtée la présente facture à la somme de :"));
    c_.lines(f_.words, kSide, y + c_.lineHeight(f_.total) + 4, wordsWidth(), wordsLines_);
}

void DocumentPages::paint(int index) {
    const auto [first, end] = pages_[size_t(index)];
    double y = nextTableTop_;
    if (index == 0) {
        paintHead();
        y = firstTableTop_;
    } else {
        QString reminder = QStringLiteral("%1 N° %2").arg(doc_.title, doc_.number);
        if (!doc_.date.isEmpty()) reminder += QStringLiteral(" du %1").arg(doc_.date);
        if (!doc_.name.isEmpty()) reminder += QStringLiteral(" – %1 : %2").arg(doc_.partyLabel, doc_.name);
        c_.text(f_.small, QRectF(kSide, kTop, width_, 0), reminder + QStringLiteral(" (suite)"));
    }
    if (first < end || (index == 0 && rows_.empty())) {
        paintTableHeader(y);
        y += tableHeader_;
        for (size_t i = first; i < end; ++i) {
            paintRow(rows_[i], y);
            y += rows_[i].height;
        }
    }
    if (index + 1 == pageCount()) paintTotals(y);

    c_.rule(kSide, footTop_, kSide + width_, kGrey);
    const double footY =
        footTop_ + 6 + c_.lines(f_.foot, kSide, footTop_ + 6, width_, footLines_, Qt::AlignHCenter);
    c_.text(f_.small, QRectF(kSide, footY, width_, 0),
            QStringLiteral("Page %1 / %2").arg(index + 1).arg(pageCount()), Qt::AlignRight);
    if (doc_.cancelled) c_.stamp(QStringLiteral("ANNULÉE"), page_, QColor(200, 0, 0, 60));
}

} // namespace

Letterhead letterheadFrom(const QString& iniPath) {
    Letterhead head{readIdentity(iniPath), QImage()};
    const QString logo = logoPathOf(head.identity, iniPath);
    if (!logo.isEmpty()) {
        QImageReader reader(logo);
        reader.setAutoTransform(true);
        head.logo = reader.read(); // a missing or unreadable picture stays null and is not printed
    }
    return head;
}

int paintDocuments(QPagedPaintDevice& device, const std::vector<PrintedDocument>& docs,
                   const Letterhead& head, QString* error) {
    device.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    const QSizeF page = device.pageLayout().fullRectPoints().size();
    QPainter painter;
    if (!painter.begin(&device)) {
        if (error) *error = QStringLiteral("Le document ne peut pas être dessiné sur ce périphérique.");
        return 0;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    Canvas canvas(painter);
    int painted = 0;
    for (const PrintedDocument& doc : docs) {
        DocumentPages pages(canvas, page, doc, head);
        for (int i = 0; i < pages.pageCount(); ++i) {
            if (painted > 0 && !device.newPage()) {
                if (error) *error = QStringLiteral("Une nouvelle page n'a pas pu être commencée.");
                painter.end();
                return 0;
            }
            pages.paint(i);
            ++painted;
        }
    }
    painter.end();
    return painted;
}

} // namespace pylon::print
