#include "model/FolderListing.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <vector>

#ifdef Q_OS_UNIX
#include <dirent.h>
#endif

bool hasSVGExtension(QStringView name) {
    return name.size() > 4 && name.endsWith(u".svg");
}

namespace {

// UTF-16 order puts characters outside the basic plane before U+E000..U+FFFF; shifting the
// surrogates above that block gives plain code-point order.
char16_t codePointRank(char16_t unit) {
    if (unit < 0xD800)
        return unit;
    return unit >= 0xE000 ? char16_t(unit - 0x800) : char16_t(unit + 0x2000);
}

bool codePointLess(QStringView a, QStringView b) {
    const qsizetype common = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i) {
        const char16_t x = a.at(i).unicode();
        const char16_t y = b.at(i).unicode();
        if (x != y)
            return codePointRank(x) < codePointRank(y);
    }
    return a.size() < b.size();
}

// Sorts paths of one folder by their names (which start at nameStart) in code-point order.
// Names in a folder often share a long prefix ("icon-0001.svg", "icon-0002.svg"); the three
// characters after the common prefix are packed into one integer per name, so most comparisons
// touch small integers in one array instead of string data scattered over the heap.
void sortByName(QStringList &paths, qsizetype nameStart) {
    if (paths.size() < 2)
        return;
    const QStringView first = QStringView(paths.first()).sliced(nameStart);
    qsizetype common = first.size();
    for (const QString &path : std::as_const(paths)) {
        const QStringView name = QStringView(path).sliced(nameStart);
        const qsizetype limit = std::min(common, name.size());
        qsizetype i = 0;
        while (i < limit && name.at(i) == first.at(i))
            ++i;
        common = i;
    }

    struct Entry {
        quint64 key;
        QStringView rest; // the name past the common prefix
        qsizetype index;
    };
    std::vector<Entry> entries;
    entries.reserve(size_t(paths.size()));
    for (qsizetype index = 0; index < paths.size(); ++index) {
        const QStringView rest = QStringView(paths.at(index)).sliced(nameStart + common);
        quint64 key = 0;
        for (qsizetype k = 0; k < 3; ++k) {
            // 0 marks the end of the name, which sorts before every character.
            const quint64 unit = k < rest.size() ? codePointRank(rest.at(k).unicode()) + 1u : 0u;
            key = (key << 21) | unit;
        }
        entries.push_back({key, rest, index});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        return a.key != b.key ? a.key < b.key : codePointLess(a.rest, b.rest);
    });

    QStringList sorted;
    sorted.reserve(paths.size());
    for (const Entry &entry : entries)
        sorted.append(std::move(paths[entry.index]));
    paths = std::move(sorted);
}

// SVG files whose names are not valid UTF-8: Qt decodes such a name into a path that names no
// file and leaves it out of its listing, so they are found from the raw names. Each is named with
// its bad bytes shown as U+FFFD, which can be printed, but not opened.
void addUnaddressable(const QString &folder, QStringList &names) {
#ifdef Q_OS_UNIX
    DIR *directory = ::opendir(QFile::encodeName(folder).constData());
    if (!directory)
        return;
    while (const dirent *entry = ::readdir(directory)) {
        const QByteArray name(entry->d_name);
        if (name.endsWith(".svg") && name.front() != '.' &&
            QFile::encodeName(QFile::decodeName(name)) != name)
            names.append(folder + u'/' + QString::fromUtf8(name));
    }
    ::closedir(directory);
#else
    Q_UNUSED(folder);
    Q_UNUSED(names);
#endif
}

// Appends the SVG files of `folder`, sorted by name, then those of each subfolder in name order.
// Without QDir::Hidden the listing leaves hidden files and folders out. The iterator hands out
// whole paths, which serve as ids without building them again. A folder reached twice (through
// a link) is listed once, which also ends link loops.
//
// QDir::System brings in broken links (and devices, pipes): listed, they reach the run, which
// says what is wrong with each instead of leaving them out without a word.
void collect(const QString &folder, QStringList &paths, QSet<QString> &visited,
             QStringList &unaddressable, bool recursive) {
    QStringList files;
    QStringList folders;
    QDirIterator entries(folder, QDir::Files | QDir::Dirs | QDir::System | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        QString path = entries.next();
        if (entries.fileInfo().isDir())
            folders.append(std::move(path));
        else if (hasSVGExtension(QStringView(path).sliced(path.lastIndexOf(u'/') + 1)))
            files.append(std::move(path));
    }
    addUnaddressable(folder, unaddressable);
    // The iterator puts the same folder part before every name.
    for (QStringList *list : {&files, &folders})
        if (!list->isEmpty())
            sortByName(*list, list->first().lastIndexOf(u'/') + 1);
    paths.append(std::move(files));
    if (!recursive)
        return;
    for (const QString &subfolder : std::as_const(folders)) {
        const QString canonical = QFileInfo(subfolder).canonicalFilePath();
        if (!visited.contains(canonical)) {
            visited.insert(canonical);
            collect(subfolder, paths, visited, unaddressable, true);
        }
    }
}

} // namespace

std::optional<QStringList> listSVGFiles(const QString &folder, QString *problem,
                                        QStringList *unaddressable, bool recursive) {
    const QFileInfo info(folder);
    QString reason;
    if (!info.exists())
        reason = QStringLiteral("it does not exist");
    else if (!info.isDir())
        reason = QStringLiteral("it is not a folder");
    else if (!info.isReadable())
        reason = QStringLiteral("it cannot be read");
    if (!reason.isEmpty()) {
        if (problem)
            *problem = reason;
        return std::nullopt;
    }

    QString root = folder;
    while (root.size() > 1 && root.endsWith(u'/'))
        root.chop(1);
    QStringList paths;
    QSet<QString> visited{info.canonicalFilePath()};
    QStringList lost;
    collect(root, paths, visited, lost, recursive);
    if (unaddressable)
        *unaddressable = lost;
    return paths;
}

QString skippedNamesMessage(int count) {
    return count == 1
               ? QCoreApplication::translate("FolderListing",
                                             "1 file was skipped: its name is not valid UTF-8")
               : QCoreApplication::translate(
                     "FolderListing", "%1 files were skipped: their names are not valid UTF-8")
                     .arg(count);
}
