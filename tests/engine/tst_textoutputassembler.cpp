#include "engine/TextOutputAssembler.h"

#include <QtTest>

namespace {

const std::optional<QString> absent;

struct Options {
    bool prettyPrint = false;
    IndentationStyle style = IndentationStyle::Tabs;
    qint64 width = 4;
    bool wrapOutput = false;
    std::optional<QString> outputPrefix;
    std::optional<QString> outputSuffix;
    bool wrapIndividual = false;
    std::optional<QString> elementPrefix;
    std::optional<QString> elementSuffix;
    bool keepTogether = false;
};

Profile textProfile(const Options &options) {
    Profile profile = Profile::builtInDefault();
    profile.mode = OperationMode::Text;
    profile.prettyPrint = options.prettyPrint;
    profile.indentationStyle = options.style;
    profile.indentationWidth = options.width;
    profile.wrapOutput = options.wrapOutput;
    profile.wrapOutputPrefix = options.outputPrefix;
    profile.wrapOutputSuffix = options.outputSuffix;
    profile.wrapIndividual = options.wrapIndividual;
    profile.wrapIndividualPrefix = options.elementPrefix;
    profile.wrapIndividualSuffix = options.elementSuffix;
    profile.keepItemAndWrapperTogether = options.keepTogether;
    return profile;
}

// The frames of the examples: a list of items.
Options bothWrapped(Options options) {
    options.wrapOutput = true;
    options.outputPrefix = QStringLiteral("<ul>");
    options.outputSuffix = QStringLiteral("</ul>");
    options.wrapIndividual = true;
    options.elementPrefix = QStringLiteral("<li>");
    options.elementSuffix = QStringLiteral("</li>");
    return options;
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
    void assembles_data();
    void assembles();
    void chunkingChangesNothing_data();
    void chunkingChangesNothing();
};

void TextOutputAssemblerTest::assembles_data() {
    QTest::addColumn<Profile>("profile");
    QTest::addColumn<QStringList>("chunks");
    QTest::addColumn<QString>("expected");

    const QStringList two{g + path};
    const Options pretty{.prettyPrint = true};

    QTest::newRow("plain, unwrapped") << textProfile({}) << two << g + path;
    QTest::newRow("plain, both wrapped") << textProfile(bothWrapped({})) << two
                                         << "<ul><li>" + g + "</li><li>" + path + "</li></ul>";
    QTest::newRow("pretty tabs, both wrapped")
        << textProfile(bothWrapped(pretty)) << two
        << "<ul>\r\n\t<li>\r\n\t\t" + g + "\r\n\t</li>\r\n\t<li>\r\n\t\t" + path +
               "\r\n\t</li>\r\n</ul>";
    Options spacesTogether = bothWrapped(pretty);
    spacesTogether.style = IndentationStyle::Spaces;
    spacesTogether.width = 2;
    spacesTogether.keepTogether = true;
    QTest::newRow("pretty two spaces, kept together")
        << textProfile(spacesTogether) << two
        << "<ul>\r\n  <li>" + g + "</li>\r\n  <li>" + path + "</li>\r\n</ul>";
    Options outputOnly = bothWrapped(pretty);
    outputOnly.wrapIndividual = false;
    QTest::newRow("pretty tabs, output wrapped only")
        << textProfile(outputOnly) << two << "<ul>\r\n\t" + g + "\r\n\t" + path + "\r\n</ul>";
    QTest::newRow("pretty, unwrapped") << textProfile(pretty) << two << g + "\r\n" + path;
    Options noOutputSuffix = bothWrapped(pretty);
    noOutputSuffix.outputSuffix = absent;
    QTest::newRow("pretty, output suffix absent")
        << textProfile(noOutputSuffix) << two
        << "\t<li>\r\n\t" + g + "\r\n\t</li>\r\n\t<li>\r\n\t" + path + "\r\n\t</li>";

    QTest::newRow("empty output, framed like any document")
        << textProfile(bothWrapped(pretty)) << QStringList{QString()}
        << QStringLiteral("<ul>\r\n\t<li>\r\n\t\t<svg</svg>\r\n\t</li>\r\n</ul>");
    QTest::newRow("trailing line feed gets a closing tag")
        << textProfile({}) << QStringList{g + path + "\n"} << g + path + "\n</svg>";
    QTest::newRow("side-by-side nested documents are cut too")
        << textProfile(pretty) << QStringList{QStringLiteral("<svg><svg></svg><svg></svg></svg>")}
        << QStringLiteral("<svg><svg></svg>\r\n<svg></svg></svg>");

    Options wideTabs = outputOnly;
    wideTabs.width = 8;
    QTest::newRow("tabs ignore the width")
        << textProfile(wideTabs) << two << "<ul>\r\n\t" + g + "\r\n\t" + path + "\r\n</ul>";
    Options noSpaces = bothWrapped(pretty);
    noSpaces.style = IndentationStyle::Spaces;
    noSpaces.width = -3;
    QTest::newRow("negative width indents nothing, lines stay")
        << textProfile(noSpaces) << two
        << "<ul>\r\n<li>\r\n" + g + "\r\n</li>\r\n<li>\r\n" + path + "\r\n</li>\r\n</ul>";

    const Options elementFrameOnly{.elementPrefix = QStringLiteral("<li>"),
                                   .elementSuffix = QStringLiteral("</li>")};
    QTest::newRow("plain frames even when element wrapping is off")
        << textProfile(elementFrameOnly) << two << "<li>" + g + "</li><li>" + path + "</li>";
    Options prettyElementFrameOnly = elementFrameOnly;
    prettyElementFrameOnly.prettyPrint = true;
    QTest::newRow("pretty frames nothing when element wrapping is off")
        << textProfile(prettyElementFrameOnly) << two << g + "\r\n" + path;
    const Options prefixOnly{.wrapIndividual = true, .elementPrefix = QStringLiteral("<li>")};
    QTest::newRow("plain, element prefix only")
        << textProfile(prefixOnly) << two << "<li>" + g + "<li>" + path;
    Options prettyPrefixOnly = prefixOnly;
    prettyPrefixOnly.prettyPrint = true;
    QTest::newRow("pretty, element prefix only")
        << textProfile(prettyPrefixOnly) << two << g + "\r\n" + path;

    Options togetherOutputOnly = outputOnly;
    togetherOutputOnly.keepTogether = true;
    QTest::newRow("kept together, not indented inside the output frame")
        << textProfile(togetherOutputOnly) << two << "<ul>\r\n" + g + "\r\n" + path + "\r\n</ul>";
    Options emptyFrame = pretty;
    emptyFrame.wrapOutput = true;
    emptyFrame.outputPrefix = QString();
    emptyFrame.outputSuffix = QString();
    QTest::newRow("empty output frame counts as present")
        << textProfile(emptyFrame) << two << "\r\n\t" + g + "\r\n\t" + path + "\r\n";

    QTest::newRow("nothing appended, pretty frame")
        << textProfile(bothWrapped(pretty)) << QStringList() << QStringLiteral("<ul>\r\n\r\n</ul>");
    QTest::newRow("nothing appended, no frame")
        << textProfile(noOutputSuffix) << QStringList() << QString();
}

void TextOutputAssemblerTest::assembles() {
    QFETCH(Profile, profile);
    QFETCH(QStringList, chunks);
    QFETCH(QString, expected);
    QCOMPARE(assemble(profile, chunks), expected);
}

void TextOutputAssemblerTest::chunkingChangesNothing_data() {
    QTest::addColumn<Profile>("profile");
    const Options pretty{.prettyPrint = true};
    Options together = bothWrapped(pretty);
    together.keepTogether = true;
    QTest::newRow("plain") << textProfile({});
    QTest::newRow("plain, both wrapped") << textProfile(bothWrapped({}));
    QTest::newRow("pretty") << textProfile(pretty);
    QTest::newRow("pretty, both wrapped") << textProfile(bothWrapped(pretty));
    QTest::newRow("pretty, kept together") << textProfile(together);
}

void TextOutputAssemblerTest::chunkingChangesNothing() {
    QFETCH(Profile, profile);
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
        QCOMPARE(assembler.finish(), assemble(profile, {documents.first(count).join(QString())}));
    }
    QVERIFY(!whole.contains(QRegularExpression(QStringLiteral("[^\r]\n"))));
}

QTEST_GUILESS_MAIN(TextOutputAssemblerTest)
#include "tst_textoutputassembler.moc"
