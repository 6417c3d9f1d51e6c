#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

// Problems that show only across a set of icons, or that a set should not carry at all: ids that
// clash when the files are inlined in one page, a viewBox size other than the set's usual one,
// hard-coded colours in a set drawn in currentColor, scripts, event handlers, embedded HTML,
// bitmaps and text, and files without a viewBox.
//
// The markup is read forgivingly (a broken file yields what can be read of it); nothing is
// drawn, so a set of thousands of icons is audited in well under a second per thousand.
class SetAudit {
    Q_DECLARE_TR_FUNCTIONS(SetAudit)
public:
    struct Document {
        QString path;
        QByteArray svg;
    };

    struct Finding {
        enum class Kind {
            CollidingIds,
            CollidingIdsAfterOptimizing,
            OddViewBox,
            HardCodedColours,
            Script,
            EventHandlers,
            ForeignObject,
            Image,
            Text,
            NoViewBox,
        };
        Kind kind;
        QString summary;   // one line for the user, translated
        QStringList files; // the documents' paths, in the set's order
    };

    static QList<Finding> audit(const QList<Document> &documents);
    // Only the ids that clash, for the set's optimized documents (whose ids svgo renamed).
    static QList<Finding> collidingIds(const QList<Document> &documents, bool optimized);
};
