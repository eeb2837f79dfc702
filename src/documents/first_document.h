#pragma once
// The first document of a kind, as the editor's view would show it, read without the view. On a large file
// that lacks the program's indexes, the view's join makes SQLite index every line before it returns a row,
// seconds at a million documents; this reads the headers once and the lines once, under a second, on a
// thread and a read-only connection of its own, so that the editor shows a document at once and never
// waits for it.
#include "documents/document_display.h"
#include "domain/kinds.h"

#include <functional>
#include <memory>
#include <optional>

namespace pylon {

class BackgroundRead;
class Database;

// The document of the kind with the lowest number that has lines and a client row, as the view orders
// them; nullopt when there is none or the file cannot be read.
std::optional<DocumentDisplay> firstDocumentDisplay(Database& db, DocKind kind);

class FirstDocumentRead {
  public:
    // Reads the file at `path`; `read` is called later, on the thread that made the reading, through its
    // event loop, with the display (nullopt: nothing to show), and never once the reading is gone.
    FirstDocumentRead(const QString& path, DocKind kind,
                      std::function<void(const std::optional<DocumentDisplay>&)> read);
    // Stops a reading still under way and waits for its thread.
    ~FirstDocumentRead();
    FirstDocumentRead(const FirstDocumentRead&) = delete;
    FirstDocumentRead& operator=(const FirstDocumentRead&) = delete;

  private:
    std::unique_ptr<BackgroundRead> read_;
};

} // namespace pylon
