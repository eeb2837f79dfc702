// A reading on a thread of its own hands its result back through the event loop of the thread that asked,
// and never to a reader that is gone.
#include "store/background_read.h"
#include "store/database.h"
#include "support/temp_db.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>
#include <thread>

using namespace pylon;
using namespace pylon::test;

namespace {

struct Reading {
    const char* name;
    bool fileExists;
    bool destroyedAtOnce; // the reader is dropped before the loop runs again
    // What is expected: the work ran on another thread, `done` ran (once, on this thread).
    bool worked, doneRan;
};

class BackgroundReadCases : public ::testing::TestWithParam<Reading> {};

void runLoopFor(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

} // namespace

TEST_P(BackgroundReadCases, HandsItsResultBackOnceOrNever) {
    const Reading& c = GetParam();
    char name[] = "background_read_test";
    char* argv[] = {name, nullptr};
    int argc = 1;
    QCoreApplication app(argc, argv);
    TempDb file(10);
    const QString path = c.fileExists ? file.path() : file.dir() + QStringLiteral("/missing");
    const auto asker = std::this_thread::get_id();
    auto worker = std::make_shared<std::thread::id>();
    auto headers = std::make_shared<long long>(-1);
    int done = 0;
    bool doneOnAsker = false;
    auto read = std::make_unique<BackgroundRead>(
        path,
        [worker, headers](Database& db) {
            *worker = std::this_thread::get_id();
            *headers = db.scalar(QStringLiteral("SELECT count(*) FROM Facture")).toLongLong();
        },
        [&] {
            ++done;
            doneOnAsker = std::this_thread::get_id() == asker;
        });
    EXPECT_EQ(read->opened(), c.fileExists);
    if (c.destroyedAtOnce) read.reset();
    runLoopFor(300);
    EXPECT_EQ(done, c.doneRan ? 1 : 0);
    if (c.doneRan) {
        EXPECT_TRUE(doneOnAsker);
    }
    if (c.worked) {
        EXPECT_NE(*worker, asker);
        EXPECT_EQ(*headers, 10);
        ASSERT_TRUE(read);
        const auto connection = read->takeConnection();
        ASSERT_TRUE(connection);
        EXPECT_TRUE(connection->readOnly()) << "the reading never writes";
    } else if (!c.fileExists) {
        EXPECT_EQ(*worker, std::thread::id()) << "no work on a file that could not be opened";
    }
}

INSTANTIATE_TEST_SUITE_P(BackgroundRead, BackgroundReadCases,
                         ::testing::Values(Reading{"AReadableFile", true, false, true, true},
                                           Reading{"AFileThatCannotBeOpened", false, false, false, true},
                                           Reading{"DroppedBeforeItsEnd", true, true, false, false},
                                           Reading{"AMissingFileDroppedAtOnce", false, true, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });
