#include "support.h"

#include "app/startup.h"
#include "app/wiring.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <sys/resource.h>

namespace pylon::bench {

QString demoFolder(int n) {
    const QString dir = QStringLiteral(PYLON_BENCH_DATA) + QStringLiteral("/%1").arg(n);
    const QString file = dir + QStringLiteral("/VelD");
    if (!QFileInfo::exists(file)) {
        QDir().mkpath(dir);
        QProcess::execute(QStringLiteral(PYLON_DB_TOOL),
                          {QStringLiteral("demo"), file, QStringLiteral("--documents"), QString::number(n)});
    }
    return dir;
}

double peakMegabytes() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_maxrss) / 1024.0;
}

Editor::Editor(int documents, bool scratch) : m(std::make_unique<Session>()) {
    m->appPath = demoFolder(documents);
    if (scratch) {
        copy = std::make_unique<QTemporaryDir>();
        QFile::copy(m->appPath + QStringLiteral("/VelD"), copy->filePath(QStringLiteral("VelD")));
        m->appPath = copy->path();
    }
    form = std::make_unique<Form1>(*m);
    wireEditor(*m);
    Form1_Load(*m);
}

Editor::~Editor() {
    form->close();
}

} // namespace pylon::bench
