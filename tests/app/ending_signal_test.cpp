// The real program, told to end by a logout, a shutdown or Ctrl+C, leaves through its own ending
// (databases closed, exit status 128 + the signal) instead of staying up on a dropped connection.
#include "tests/support/program_folder.h"
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <csignal>

using testing_support::ProgramFolder;

namespace {

TEST(EndingSignal, ClosesTheDatabasesAndEndsTheProgram) {
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        ProgramFolder folder;
        const QString program = folder.file("quiru");
        ASSERT_TRUE(QFile::copy(QStringLiteral(QUIRU_EXECUTABLE), program));
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(env);
        process.start(program);
        ASSERT_TRUE(process.waitForStarted());
        // The start-up file is written while the login window is made: the program is past
        // its first line by then, and a signal from here on must reach its own ending.
        QElapsedTimer waited;
        waited.start();
        while (QFile(folder.file("ConfiguracoesQUIRU.txt")).size() == 0 && waited.elapsed() < 20000)
            QThread::msleep(20);
        ::kill(pid_t(process.processId()), signal);
        ASSERT_TRUE(process.waitForFinished(10000)) << "still running after signal " << signal;
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << signal;
        EXPECT_EQ(process.exitCode(), 128 + signal);
    }
}

} // namespace
