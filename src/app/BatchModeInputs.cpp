// What a batch run takes: the stored profile it names and the files its paths name.
#include "app/BatchMode.h"

#include "app/BatchOutput.h"
#include "model/FolderListing.h"
#include "model/IncrementedName.h"
#include "model/ProfileStore.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

using namespace BatchOutput;

std::optional<Profile> BatchMode::chooseProfile(const QString &wanted) {
    // Found by name as the user sees names (case and blanks at the ends do not count), or by
    // identifier.
    QList<Profile> profiles{ProfileStore::defaultProfile()};
    profiles += ProfileStore::profiles();
    if (wanted.isEmpty())
        return profiles.constFirst();
    const auto found = std::find_if(profiles.cbegin(), profiles.cend(), [&](const Profile &p) {
        return sameName(p.name, wanted) || p.id == wanted;
    });
    if (found != profiles.cend())
        return *found;
    QStringList names;
    for (const Profile &p : std::as_const(profiles))
        names.append(quoted(p.name));
    complain(tr("There is no profile %1. The stored profiles are: %2.")
                 .arg(quoted(wanted), names.join(QStringLiteral(", "))));
    return std::nullopt;
}

QList<SVGFile> BatchMode::listFiles(const QStringList &paths, QList<BatchRecord> &problems,
                                    bool recursive) {
    QList<SVGFile> files;
    QSet<QString> listed;
    // A file reached twice (by a link beside its target, say) is listed once, by the path met
    // first: optimized twice, its second run would find it changed under it.
    const auto add = [&](const QString &path) {
        const QString canonical = QFileInfo(path).canonicalFilePath();
        const QString key = canonical.isEmpty() ? path : canonical;
        if (!listed.contains(key)) {
            listed.insert(key);
            files.append(SVGFile::fromUrl(QUrl::fromLocalFile(path)));
        }
    };
    for (const QString &path : paths) {
        const QFileInfo info(path);
        if (info.isDir()) {
            QString problem;
            QStringList unaddressable;
            if (const std::optional<QStringList> found =
                    listSVGFiles(info.absoluteFilePath(), &problem, &unaddressable, recursive)) {
                for (const QString &file : *found)
                    add(file);
                for (const QString &name : std::as_const(unaddressable))
                    problems.append(BatchRecord::failure(
                        QDir::toNativeSeparators(name),
                        tr("The name is not valid UTF-8, so the file cannot be read under it; "
                           "rename it.")));
            } else {
                problems.append(BatchRecord::failure(path, problem));
            }
        } else if (info.exists()) {
            add(info.absoluteFilePath());
        } else {
            problems.append(BatchRecord::failure(path, tr("No such file or folder.")));
        }
    }
    return files;
}
