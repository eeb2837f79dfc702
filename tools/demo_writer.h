#pragma once
// Writes made-up documents into the four tables, as the program itself would store them: every cell as the
// text shown on screen. The statements are prepared once and reused, which is what makes a million lines
// take seconds rather than minutes.
#include <QDate>
#include <QString>
#include <QtGlobal>
#include <memory>
#include <vector>

namespace pylon {
class Database;
class Statement;
} // namespace pylon

namespace pylon::demo {

struct Line {
    QString nb;          // a reference or a single space
    qint64 quantity = 0; // hundredths: 250 is "2,5"
    QString designation;
    qint64 priceCents = 0;

    // Quantity × unit price, rounded half up to the centime, as the line editor computes it.
    qint64 amountCents() const { return (quantity * priceCents + 50) / 100; }
};

struct Document {
    qint64 number = 0;
    QDate date;
    qint64 party = 0;
    QString name;
    QString address;
    QString kind;
    bool cancelled = false;
    std::vector<Line> lines;
    std::vector<Line> creditLines; // a credit note is attached when there are any
};

// "3", "2,5", "0,75": no trailing zero after the comma.
QString quantityText(qint64 hundredths);
// "12,50", "1028,80": always two decimals, no digit grouping.
QString amountText(qint64 cents);

class DemoWriter {
  public:
    explicit DemoWriter(Database& db);
    ~DemoWriter();
    DemoWriter(const DemoWriter&) = delete;
    DemoWriter& operator=(const DemoWriter&) = delete;

    // False when a statement could not be prepared (the reason is in the database's lastError()).
    bool ready() const;
    bool write(const Document& doc);
    bool writeParty(qint64 number, bool onAccount, bool supplier);

    qint64 lineCount() const { return lines_; }

  private:
    bool writeLines(Statement& insert, qint64 number, const std::vector<Line>& lines);

    std::unique_ptr<Statement> document_;
    std::unique_ptr<Statement> line_;
    std::unique_ptr<Statement> creditLine_;
    std::unique_ptr<Statement> party_;
    qint64 lines_ = 0;
};

} // namespace pylon::demo
