#include "engine/TextOutputAssembler.h"

#include <QtTest>

namespace {

// A text-mode profile described by keywords, so each case reads on one line: "pretty",
// "spaces", "width=N", "together", "ul" (output frame <ul>…</ul>), "emptyUl" (output frame of
// empty texts), "noUlEnd" (output suffix absent), "li" (element frame <li>…</li>), "liOff" (that
// frame with element wrapping off), "liPrefix" (element prefix only).
Profile textProfile(const QString &options) {
    Profile p = Profile::builtInDefault();
    p.mode = OperationMode::Text;
    for (const QString &option : options.split(u' ', Qt::SkipEmptyParts)) {
        if (option == u"pretty") {
            p.prettyPrint = true;
        } else if (option == u"spaces") {
            p.indentationStyle = IndentationStyle::Spaces;
        } else if (option.startsWith(u"width=")) {
            p.indentationWidth = option.mid(6).toLongLong();
        } else if (option == u"together") {
            p.keepItemAndWrapperTogether = true;
        } else if (option == u"ul" || option == u"emptyUl") {
            const bool empty = option == u"emptyUl";
            p.wrapOutput = true;
            p.wrapOutputPrefix = empty ? QString() : QStringLiteral("<ul>");
            p.wrapOutputSuffix = empty ? QString() : QStringLiteral("</ul>");
        } else if (option == u"noUlEnd") {
            p.wrapOutputSuffix.reset();
        } else if (option.startsWith(u"li")) {
            p.wrapIndividual = option != u"liOff";
            p.wrapIndividualPrefix = QStringLiteral("<li>");
            if (option != u"liPrefix")
                p.wrapIndividualSuffix = QStringLiteral("</li>");
        } else {
            qFatal("unknown option %s", qPrintable(option));
        }
    }
    return p;
}

const QString g = QStringLiteral("<svg><g/></svg>");
const QString path = QStringLiteral("<svg><path/></svg>");

QString assemble(const Profile &profile, const QStringList &chunks) {
    TextOutputAssembler assembler(profile);
    for (const QString &chunk : chunks)
        assembler.appendChunk(chunk);
    return assembler.finish();
}

} // namespace

class TextOutputAssemblerTest : public QObject {
    Q_OBJECT

private slots:
    void assembles_data() {
        QTest::addColumn<QString>("options");
        QTest::addColumn<QStringList>("chunks");
        QTest::addColumn<QString>("expected");
        const QStringList two{g + path};

        QTest::newRow("plain, unwrapped") << "" << two << g + path;
        QTest::newRow("plain, both wrapped")
            << "ul li" << two << "<ul><li>" + g + "</li><li>" + path + "</li></ul>";
        QTest::newRow("pretty two spaces, kept together")
            << "pretty ul li spaces width=2 together" << two
            << "<ul>\r\n  <li>" + g + "</li>\r\n  <li>" + path + "</li>\r\n</ul>";
        QTest::newRow("pretty tabs, output wrapped only")
            << "pretty ul liOff" << two << "<ul>\r\n\t" + g + "\r\n\t" + path + "\r\n</ul>";
        QTest::newRow("pretty, unwrapped") << "pretty" << two << g + "\r\n" + path;
        QTest::newRow("pretty, output suffix absent")
            << "pretty ul li noUlEnd" << two
            << "\t<li>\r\n\t" + g + "\r\n\t</li>\r\n\t<li>\r\n\t" + path + "\r\n\t</li>";

        QTest::newRow("empty output, framed like any document")
            << "pretty ul li" << QStringList{QString()}
            << QStringLiteral("<ul>\r\n\t<li>\r\n\t\t<svg</svg>\r\n\t</li>\r\n</ul>");
        QTest::newRow("trailing line feed gets a closing tag")
            << "" << QStringList{g + path + "\n"} << g + path + "\n</svg>";
        QTest::newRow("side-by-side nested documents are cut too")
            << "pretty" << QStringList{QStringLiteral("<svg><svg></svg><svg></svg></svg>")}
            << QStringLiteral("<svg><svg></svg>\r\n<svg></svg></svg>");

        QTest::newRow("tabs ignore the width")
            << "pretty ul liOff width=8" << two << "<ul>\r\n\t" + g + "\r\n\t" + path + "\r\n</ul>";
        QTest::newRow("negative width indents nothing, lines stay")
            << "pretty ul li spaces width=-3" << two
            << "<ul>\r\n<li>\r\n" + g + "\r\n</li>\r\n<li>\r\n" + path + "\r\n</li>\r\n</ul>";
        QTest::newRow("plain frames even when element wrapping is off")
            << "liOff" << two << "<li>" + g + "</li><li>" + path + "</li>";
        QTest::newRow("pretty frames nothing when element wrapping is off")
            << "pretty liOff" << two << g + "\r\n" + path;
        QTest::newRow("plain, element prefix only")
            << "liPrefix" << two << "<li>" + g + "<li>" + path;
        QTest::newRow("pretty, element prefix only")
            << "pretty liPrefix" << two << g + "\r\n" + path;
        QTest::newRow("kept together, not indented inside the output frame")
            << "pretty ul liOff together" << two << "<ul>\r\n" + g + "\r\n" + path + "\r\n</ul>";
        QTest::newRow("empty output frame counts as present")
            << "pretty emptyUl" << two << "\r\n\t" + g + "\r\n\t" + path + "\r\n";
        QTest::newRow("nothing appended, pretty frame")
            << "pretty ul li" << QStringList() << QStringLiteral("<ul>\r\n\r\n</ul>");
        QTest::newRow("nothing appended, no frame")
            << "pretty ul li noUlEnd" << QStringList() << QString();
    }

    void assembles() {
        QFETCH(QString, options);
        QFETCH(QStringList, chunks);
        QFETCH(QString, expected);
        QCOMPARE(assemble(textProfile(options), chunks), expected);
    }

    void chunkingChangesNothing_data() {
        QTest::addColumn<QString>("options");
        for (const char *options : {"", "ul li", "pretty", "pretty ul li", "pretty ul li together"})
            QTest::newRow(*options ? options : "plain") << QString::fromLatin1(options);
    }

    void chunkingChangesNothing() {
        QFETCH(QString, options);
        const Profile profile = textProfile(options);

        // svgo cuts nothing between processes: a chunk is just some whole documents back to back.
        const QStringList documents{g, path, QStringLiteral("<svg>é</svg>"), g, path};
        const QString whole = assemble(profile, {documents.join(QString())});

        for (qsizetype perChunk = 1; perChunk < documents.size(); ++perChunk) {
            QStringList chunks;
            for (qsizetype i = 0; i < documents.size(); i += perChunk)
                chunks << documents.mid(i, perChunk).join(QString());
            QCOMPARE(assemble(profile, chunks), whole);
        }
        // Looking at the text half-way must not leave the output frame's end inside it.
        TextOutputAssembler assembler(profile);
        for (qsizetype count = 1; count <= documents.size(); ++count) {
            assembler.appendChunk(documents.at(count - 1));
            QCOMPARE(assembler.finish(),
                     assemble(profile, {documents.first(count).join(QString())}));
        }
        QVERIFY(!whole.contains(QRegularExpression(QStringLiteral("[^\r]\n"))));
    }
};

QTEST_GUILESS_MAIN(TextOutputAssemblerTest)
#include "tst_textoutputassembler.moc"
