#pragma once

#include "model/Profile.h"

#include <QString>

// What an svgo executable is made of, as far as the optimizer cares: whether its Node package can
// be loaded by the worker, or only its command line can be run.
struct SvgoInstallation {
    enum class Engine {
        Worker,      // warm Node workers load svgo's module and optimize file by file
        CommandLine, // svgo's command line runs once per chunk of files
    };

    QString executable;    // the configured path, made absolute
    QString packageFolder; // the svgo package the executable belongs to; empty when none
    QString version;       // from the package's manifest
    QString node;          // the Node program that runs the worker
    QString worker;        // the worker script shipped with Mirandel
    // Empty when the worker can be used; translated, as the Advanced tab shows it.
    QString whyNoWorker;

    Engine engine() const { return whyNoWorker.isEmpty() ? Engine::Worker : Engine::CommandLine; }

    // Follows the executable's links to its package. Reads a few small files; no process starts.
    static SvgoInstallation inspect(const QString &svgoPath);
};

// The configuration file a run with `profile` hands to svgo, never empty. Every
// path that starts svgo asks here, so the choice is made in one place.
QString svgoConfigFile(const Profile &profile);
