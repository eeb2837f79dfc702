#pragma once
// A plausible small trading business to fill a database with: invoices, quotes, purchase orders, delivery
// notes and month-end invoices over the last two or three years, for demonstrations, tests and benchmarks.
#include <QtGlobal>
#include <cstdint>

namespace pylon {
class Database;
}

namespace pylon::demo {

struct DemoOptions {
    qint64 documents = 200;
    std::uint64_t seed = 1;
};

struct DemoSummary {
    qint64 documents = 0;
    qint64 lines = 0;
    qint64 clients = 0;
    qint64 suppliers = 0;
};

// The most documents one demo may hold; the number ranges below stay far inside 64 bits.
inline constexpr qint64 kMaxDocuments = 10'000'000;

// Invoices, delivery notes and month-end invoices share the numbers 1, 2, 3…; quotes are numbered from
// base + 1, purchase orders from 2 × base + 1, and suppliers from base + 1 (clients from 1). The base is a
// power of ten at least ten times the number of documents, so that the ranges never meet.
qint64 numberBase(qint64 documents);

// Writes options.documents documents into a database whose four tables exist and are empty. The caller
// owns the transaction. Returns false with the database's lastError() set when a write fails.
bool writeDemo(Database& db, const DemoOptions& options, DemoSummary& summary);

} // namespace pylon::demo
