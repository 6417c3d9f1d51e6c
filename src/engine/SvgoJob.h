#pragma once

#include "engine/SvgoInstallation.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>

// One file for a worker: read `input`, write the optimized document to `output`, or hand it back
// when `output` is empty.
struct SvgoRequest {
    int index = -1; // the file's position in its run
    QString input;
    QString output;
    int attempts = 0; // workers that died while optimizing it
    // Plugins left out of the configuration, and the float precision every plugin rounds to
    // (-1: the configuration's), for the searches that follow an output that looks different.
    QStringList without;
    int precision = -1;
};

struct SvgoAnswer {
    int index = -1;
    bool ok = false;
    QString error;       // svgo's error text, or why the file could not be done
    QByteArray code;     // Node's error code (ENOENT, say); empty for svgo's own errors
    QByteArray document; // the optimized document when no output file was asked for
    // The plugins of the configuration that `without` can name, in the order svgo runs them.
    QStringList plugins;
};

// What the pool tells a run; delivered on the run's thread in the order sent.
struct SvgoJobUpdate {
    QList<SvgoAnswer> answers;
    QList<SvgoRequest> fallback; // files the workers cannot do: svgo's command line must
    bool over = false;           // nothing more comes for this job
};

// The files of one run, handed to the worker pool. The queue and the counters belong to the
// pool's thread once submitted.
struct SvgoJob {
    SvgoInstallation installation;
    QString configFile;
    int workers = 1; // the most that may serve it; workers above are ended once idle
    // Workers the job starts when fewer run: starting one costs about as much as optimizing a
    // few dozen icons, so a handful of files gets one; warm ones are used up to `workers`.
    int workersToStart = 1;
    // svgo runs over its own output again while that still shrinks, up to this many passes, so
    // that what is written is what a second run leaves alone.
    int passes = 1;
    qint64 timeLimitMs = 60000;
    qint64 memoryLimit = 1024LL * 1024 * 1024;
    QObject *receiver = nullptr;                        // lives on the run's thread
    std::function<void(const SvgoJobUpdate &)> deliver; // called there

    std::deque<SvgoRequest> queue;
    int outstanding = 0; // requests not answered yet
    int deaths = 0;      // workers that ended unexpectedly while serving this job
    QString key;         // see keyFor()

    // Workers serve one installation and configuration at a time; a changed svgo, version or
    // configuration file (its time or size) gives another key, and fresh workers.
    static QString keyFor(const SvgoInstallation &installation, const QString &configFile);
};
