#pragma once
// Demo databases for the benchmarks, made once under the build folder, and an editor opened on them.
#include "editor/session.h"
#include "editor/form1.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace pylon::bench {

// The folder holding a demo database of n documents.
QString demoFolder(int documents);
double peakMegabytes();

// A wired editor on the demo database of n documents, as the program starts it.
struct Editor {
    // With scratch, on a copy of the database that is thrown away afterwards, for benchmarks that write.
    explicit Editor(int documents, bool scratch = false);
    ~Editor();
    std::unique_ptr<QTemporaryDir> copy;
    std::unique_ptr<Session> m;
    std::unique_ptr<Form1> form;
};

} // namespace pylon::bench
