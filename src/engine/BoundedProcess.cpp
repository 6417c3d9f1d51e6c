#include "engine/BoundedProcess.h"

#include "model/Diagnostics.h"

#ifdef Q_OS_UNIX
#include <csignal>
#include <unistd.h>
#endif

namespace BoundedProcess {

Outcome run(QProcess &process, std::chrono::milliseconds limit) {
#ifdef Q_OS_UNIX
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
#endif
    process.start();
    if (!process.waitForStarted(-1)) {
        qCWarning(lcMirandel).noquote() << process.program() << process.errorString();
        return Outcome::FailedToStart;
    }
    process.closeWriteChannel();
    if (process.waitForFinished(int(limit.count())))
        return Outcome::Finished;
    if (process.state() == QProcess::NotRunning)
        return Outcome::Finished;
#ifdef Q_OS_UNIX
    if (const qint64 group = process.processId(); group > 0)
        ::kill(-pid_t(group), SIGKILL);
#endif
    process.kill();
    process.waitForFinished(-1);
    return Outcome::TimedOut;
}

bool succeeded(const QProcess &process) {
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace BoundedProcess
