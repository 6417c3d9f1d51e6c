// Text output as people paste it, from real svgo runs: unique ids, the output formats, how the
// documents are framed and indented whatever chunks svgo's processes hand them in, and the svgo
// options a profile carries instead of a configuration file.

#include "engine/IdPrefixer.h"
#include "engine/SetAudit.h"
#include "engine/SvgRenderer.h"
#include "engine/SvgoConfiguration.h"
#include "engine/TextOutputAssembler.h"
#include "engine/TextOutputFormats.h"
#include "engine/VisualCheck.h"
#include "tst_optimizer_support.h"

using namespace optimizer_test;

namespace {

// Icons whose gradients svgo names "a" in both (moon with both link forms), and one with a size
// but no viewBox and a name that is no valid id.
QString icon(const QString &name) {
    return dataFile("textformats/" + name + ".svg");
}

// What svgo makes of them, with `p` in front of every id.
const QString svgTag = "<svg xmlns=\"http://www.w3.org/2000/svg\"";
QString sunInner(const QString &p) {
    return QString("<title>Sun</title><defs><linearGradient id=\"%1a\"><stop offset=\"0\" "
                   "stop-color=\"red\"/><stop offset=\"1\" stop-color=\"#00f\"/></linearGradient>"
                   "</defs><circle cx=\"5\" cy=\"5\" r=\"4.123\" fill=\"url(#%1a)\"/>")
        .arg(p);
}
QString sun(const QString &p = {}) {
    return svgTag + " width=\"10\" height=\"10\" viewBox=\"0 0 10 10\">" + sunInner(p) + "</svg>";
}
QString moonInner(const QString &p) {
    return QString("<defs><radialGradient id=\"%1b\"><stop offset=\"0\" stop-color=\"#fff\"/>"
                   "<stop offset=\"1\"/></radialGradient><path id=\"%1a\" d=\"M1 1h8v8H1z\"/>"
                   "</defs><use xlink:href=\"#%1a\" fill=\"url(#%1b)\"/><use x=\"1\" "
                   "fill=\"url(#%1b)\" href=\"#%1a\"/>")
        .arg(p);
}
QString moon(const QString &p = {}) {
    return svgTag + " xmlns:xlink=\"http://www.w3.org/1999/xlink\" viewBox=\"0 0 10 10\">" +
           moonInner(p) + "</svg>";
}
const QString dotsInner = "<circle cx=\"8\" cy=\"8\" r=\"3.333\"/>";
const QString dots = svgTag + " width=\"16\" height=\"16\">" + dotsInner + "</svg>";

// A text-mode profile from keywords, so each case reads on one line: an output format's stored
// name, "pretty", "spaces", "width=N", "together", "keepIds", "ul" (output frame <ul>…</ul>),
// "emptyUl" (output frame of empty texts), "noUlEnd" (output suffix absent), "li" (element frame
// <li>…</li>), "liOff" (that frame with element wrapping off), "liPrefix" (element prefix only),
// "named" (element frame naming the file, with literal braces). "lf" is the line ending of the
// program's settings, which it sets.
Profile profileOf(const QString &options) {
    Keys::lineEnding().set(options.contains(u"lf") ? "lf" : "crlf");
    Profile p = textProfile();
    p.uniqueIds = true;
    for (const QString &option : options.split(u' ', Qt::SkipEmptyParts)) {
        if (const std::optional<OutputFormat> format = outputFormatFromRaw(option)) {
            p.outputFormat = *format;
        } else if (option == u"pretty") {
            p.prettyPrint = true;
        } else if (option == u"spaces") {
            p.indentationStyle = IndentationStyle::Spaces;
        } else if (option.startsWith(u"width=")) {
            p.indentationWidth = option.mid(6).toLongLong();
        } else if (option == u"together") {
            p.keepItemAndWrapperTogether = true;
        } else if (option == u"keepIds") {
            p.uniqueIds = false;
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
        } else if (option == u"named") {
            p.wrapIndividual = true;
            p.wrapIndividualPrefix = QStringLiteral("<li title=\"{name}\">{{");
            p.wrapIndividualSuffix = QStringLiteral("}</li>");
        } else if (option != u"lf") {
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

// Every id appears once, and every reference names one of them.
bool idsAreUniqueAndResolved(const QString &text) {
    QStringList ids;
    for (const auto &match : QRegularExpression("\\sid=\\\\?\"([^\"\\\\]+)").globalMatch(text))
        ids.append(match.captured(1));
    const QSet<QString> unique(ids.cbegin(), ids.cend());
    for (const auto &match :
         QRegularExpression("(?:url\\(#|href=\\\\?\"#)([^)\"\\\\]+)").globalMatch(text))
        if (!unique.contains(match.captured(1)))
            return false;
    return unique.size() == ids.size();
}

// The documents of `page` laid side by side as a page shows them, in cells of `cell` units each,
// drawn at `size`.
QImage sideBySide(QString page, QSize cell, QSize size) {
    static const QRegularExpression root(QStringLiteral("<svg(?=[\\s>])"));
    int placed = 0;
    for (qsizetype at = page.indexOf(root); at >= 0; at = page.indexOf(root, at + 1))
        page.insert(at + 4, QStringLiteral(" x=\"%1\" width=\"%2\" height=\"%3\"")
                                .arg(cell.width() * placed++)
                                .arg(cell.width())
                                .arg(cell.height()));
    const QString frame =
        QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 %1 %2\">")
            .arg(cell.width() * placed)
            .arg(cell.height());
    return SvgRenderer((frame + page + "</svg>").toUtf8()).render(size);
}

} // namespace

class tst_TextFormats : public QObject {
    Q_OBJECT

    QTemporaryDir m_folder;

private slots:
    void initTestCase() { isolateSettings(m_folder, QStringLiteral("tst_textformats")); }

    void formats_data() {
        QTest::addColumn<QString>("options");
        QTest::addColumn<QStringList>("icons");
        QTest::addColumn<QString>("expected");
        const QStringList all{icon("sun"), icon("moon"), icon("2 dots")};
        QTest::newRow("wrapped") << "" << all << sun("sun__") + moon("moon__") + dots;
        QTest::newRow("wrapped, pretty, named frames, LF")
            << "pretty ul named lf" << QStringList{icon("sun"), icon("2 dots")}
            << "<ul>\n\t<li title=\"sun\">{\n\t\t" + sun("sun__") +
                   "\n\t}</li>\n\t<li title=\"2 dots\">{\n\t\t" + dots + "\n\t}</li>\n</ul>";
        // A frame stored with the profile is left out: it would make the text no longer CSS.
        QTest::newRow("css, pretty, stored frame left out")
            << "css pretty ul" << QStringList{icon("sun"), icon("2 dots")}
            << ".sun{background-image:url(\"data:image/svg+xml,%3Csvg "
               "xmlns='http://www.w3.org/2000/svg' width='10' height='10' viewBox='0 0 10 "
               "10'%3E%3Ctitle%3ESun%3C/title%3E%3Cdefs%3E%3ClinearGradient id='a'%3E%3Cstop "
               "offset='0' stop-color='red'/%3E%3Cstop offset='1' "
               "stop-color='%2300f'/%3E%3C/linearGradient%3E%3C/defs%3E%3Ccircle cx='5' cy='5' "
               "r='4.123' fill='url(%23a)'/%3E%3C/svg%3E\")}\r\n.icon-2-dots{background-image:"
               "url(\"data:image/svg+xml,%3Csvg xmlns='http://www.w3.org/2000/svg' width='16' "
               "height='16'%3E%3Ccircle cx='8' cy='8' r='3.333'/%3E%3C/svg%3E\")}";
        QTest::newRow("sprite")
            << "sprite" << all
            << svgTag + "><symbol id=\"sun\" viewBox=\"0 0 10 10\">" + sunInner("sun__") +
                   "</symbol><symbol id=\"moon\" "
                   "xmlns:xlink=\"http://www.w3.org/1999/xlink\" viewBox=\"0 "
                   "0 10 10\">" +
                   moonInner("moon__") +
                   "</symbol><symbol id=\"icon-2-dots\" viewBox=\"0 0 16 16\">" + dotsInner +
                   "</symbol></svg>";
        QTest::newRow("json, one file twice")
            << "json" << QStringList{icon("sun"), icon("sun")}
            << "{\"sun.svg\":\"" + QString(sun("sun__")).replace("\"", "\\\"") +
                   "\",\"sun-2.svg\":\"" + QString(sun("sun-2__")).replace("\"", "\\\"") + "\"}";
        QTest::newRow("json, pretty, ids kept")
            << "json pretty keepIds" << QStringList{icon("2 dots")}
            << "{\r\n\t\"2 dots.svg\": \"" + QString(dots).replace("\"", "\\\"") + "\"\r\n}";
    }
    void formats() {
        QFETCH(QString, options);
        QFETCH(QStringList, icons);
        QFETCH(QString, expected);
        const Run run = optimize(icons, profileOf(options));
        QCOMPARE(run.result.count(FileResult::Status::Optimized), icons.size());
        QCOMPARE(run.texts.value(0), expected);
        if (!options.contains(u"css"))
            QVERIFY(idsAreUniqueAndResolved(run.texts.value(0)));
    }

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
        QCOMPARE(assemble(profileOf(options), chunks), expected);
    }

    void chunkingChangesNothing_data() {
        QTest::addColumn<QString>("options");
        for (const char *options : {"", "ul li", "pretty", "pretty ul li", "pretty ul li together"})
            QTest::newRow(*options ? options : "plain") << QString::fromLatin1(options);
    }

    void chunkingChangesNothing() {
        QFETCH(QString, options);
        const Profile profile = profileOf(options);

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

    // Two icons that style ".cls-1" in colours of their own, one coloured by an attribute and
    // one whose sheet styles every path: laid side by side as a page shows them, each draws in
    // its own colour only when their sheets are kept to their own documents.
    void stylesStayInTheirDocument_data() {
        QTest::addColumn<bool>("uniqueIds");
        QTest::newRow("unique ids") << true;
        QTest::newRow("ids kept: the sheets meet") << false;
    }
    void stylesStayInTheirDocument() {
        QFETCH(bool, uniqueIds);
        QStringList files;
        for (const char *name : {"alert", "ok", "plain", "typed"})
            files.append(dataFile("styles/" + QLatin1String(name) + ".svg"));
        const Run run = optimize(files, profileOf(uniqueIds ? "" : "keepIds"));
        QCOMPARE(run.result.count(FileResult::Status::Optimized), files.size());
        const QImage image = sideBySide(run.texts.value(0), {10, 10}, {40, 10});
        QVERIFY(!image.isNull());
        const QList<QRgb> alone{qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(255, 255, 0),
                                qRgb(0, 0, 255)};
        QList<QRgb> together;
        for (int index = 0; index < files.size(); ++index)
            together.append(image.pixel(10 * index + 5, 5));
        if (uniqueIds)
            QCOMPARE(together, alone);
        else
            QVERIFY2(together != alone, "without prefixes the test would show nothing");
    }

    // Two flags whose ids svgo names alike: written with unique ids in each file, both can be
    // inlined in one page, where each still draws as it does alone (their clip paths' corners
    // differ, so a reference that reached the other flag would show).
    void uniqueIdsInFiles_data() {
        QTest::addColumn<bool>("unique");
        QTest::newRow("unique ids in each file") << true;
        QTest::newRow("as svgo names them") << false;
    }
    void uniqueIdsInFiles() {
        QFETCH(bool, unique);
        QTemporaryDir out;
        Profile profile = fileProfile(out.path());
        profile.checkRendering = true;
        profile.uniqueIdsInFiles = unique;
        const QStringList flags{dataFile(QStringLiteral("flags/meadow.svg")),
                                dataFile(QStringLiteral("flags/stripes.svg"))};
        const Run run = optimize(flags, profile);
        QCOMPARE(run.result.count(FileResult::Status::Optimized), 2);
        QList<SetAudit::Document> outputs;
        QString page;
        for (const QString &flag : flags) {
            const QByteArray output = contents(out.filePath(QFileInfo(flag).fileName()));
            outputs.append({flag, output});
            page += QString::fromUtf8(output);
        }
        QCOMPARE(SetAudit::collidingIds(outputs, true).isEmpty(), unique);
        QCOMPARE(idsAreUniqueAndResolved(page), unique);
        const QImage both = sideBySide(page, {640, 480}, {128, 48});
        int changed = 0;
        for (int index = 0; index < 2; ++index) {
            const QImage alone = SvgRenderer(outputs.at(index).svg).render(QSize(64, 48));
            changed += VisualCheck::compareImages(both.copy(64 * index, 0, 64, 48), alone).changed;
        }
        QCOMPARE(changed == 0, unique);
    }

    // A symbol needs a viewBox to scale; a root with a size in any unit gives one.
    void spriteViewBox_data() {
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("viewBox"); // empty: none given
        QTest::newRow("em") << "width=\"2em\" height=\"2em\"" << QString("0 0 32 32");
        QTest::newRow("px and plain") << "width=\"24px\" height=\"12\"" << QString("0 0 24 12");
        QTest::newRow("inches") << "width=\"1in\" height=\"0.5in\"" << QString("0 0 96 48");
        QTest::newRow("a percentage") << "width=\"100%\" height=\"20\"" << QString();
    }
    void spriteViewBox() {
        QFETCH(QString, size);
        QFETCH(QString, viewBox);
        const QString symbol =
            TextOutputFormats::spriteSymbol("s", "<svg xmlns=\"http://www.w3.org/2000/svg\" " +
                                                     size + "><path d=\"M0 0h1\"/></svg>");
        QCOMPARE(symbol, "<symbol id=\"s\"" +
                             (viewBox.isEmpty() ? QString() : " viewBox=\"" + viewBox + "\"") +
                             "><path d=\"M0 0h1\"/></symbol>");
    }

    void prefixIds_data() {
        QTest::addColumn<QString>("markup");
        QTest::addColumn<bool>("scope");
        QTest::addColumn<QString>("expected");
        // The markup with § where the prefix goes.
        const auto marked = [](const char *name, const QString &text, bool scope = false) {
            QTest::newRow(name) << QString(text).remove(u'§') << scope
                                << QString(text).replace(u'§', QStringLiteral("p_"));
        };
        marked("style sheet: selectors and url(), not colours or unknown ids",
               "<svg><style>#§a,.§b #§c:hover{fill:#abc;stroke:url(#§a)}@media(x){#§a{}}#zz{}"
               "</style><g id=\"§a\"/><g id=\"§c\"/></svg>");
        marked("quoted url() in a style attribute",
               "<g id=\"§a\" style=\"fill:url(&quot;#§a&quot;);mask:url('#§a')\"/>");
        marked("aria id lists",
               "<svg aria-labelledby=\"§t  x §d\"><title id=\"§t\"/><desc id=\"§d\"/></svg>");
        marked(
            "animation timing",
            "<animate id=\"§a\" begin=\"0s;§a.end+1s; §b.click\"/><set id=\"§b\" end=\"2.5s\"/>");
        marked("links outside the document stay",
               "<a href=\"#top\"><use href=\"other.svg#a\"/><g id=\"§a\"/></a>");
        marked("classes of the style sheet, where they are used; others stay",
               "<svg><style>.§cls-1{fill:red}a[href$=\".svg\"]{}</style><path class=\" §cls-1 "
               "x\"/><g class=\"x\"/></svg>");
        marked("ids with entities",
               "<g id=\"§a&amp;b\"/><use href=\"#§a&amp;b\"/><path fill=\"url(#§a&#38;b)\"/>");
        marked("id attribute selectors",
               "<svg><style>[id=\"§a\"],[id='zz'],[id^=§b]{}</style><g id=\"§a\"/></svg>");
        marked("a namespaced style sheet", "<s:svg xmlns:s=\"http://www.w3.org/2000/svg\"><s:style>"
                                           "#§a{}</s:style><s:g id=\"§a\"/></s:svg>");
        marked("blanks around a link", "<use href=\" #§a \"/><g id=\"§a\"/>");
        marked("no style sheet, no ids: as it was",
               "<svg style=\"fill:red\"><path d=\"M0 0\"/></svg>", true);
        QTest::newRow("a comment between selector and block")
            << "<svg><style>/* {} */#a /* x */{fill:red}</style><g id=\"a\"/></svg>" << false
            << "<svg><style> #p_a  {fill:red}</style><g id=\"p_a\"/></svg>";
        QTest::newRow("scoped: type, universal and root selectors; keyframes stay")
            << "<svg viewBox=\"0 0 1 1\"><style>rect, *{fill:red}svg>g{}:root{}[fill]{}"
               "@keyframes k{from{opacity:0}}</style><rect/></svg>"
            << true
            << "<svg id=\"p_root\" viewBox=\"0 0 1 1\"><style>#p_root rect, #p_root *{fill:red}"
               "#p_root>g{}#p_root{}#p_root [fill]{}@keyframes k{from{opacity:0}}</style><rect/>"
               "</svg>";
        QTest::newRow("scoped: the root's own id")
            << "<svg id=\"r\"><style>#r g{}g{}</style></svg>" << true
            << "<svg id=\"p_r\"><style>#p_r g{}#p_r g{}</style></svg>";
        QTest::newRow("scoped: a root id that is taken")
            << "<svg><style>g{}</style><g id=\"root\"/></svg>" << true
            << "<svg id=\"p_root-2\"><style>#p_root-2 g{}</style><g id=\"p_root\"/></svg>";
    }
    void prefixIds() {
        QFETCH(QString, markup);
        QFETCH(bool, scope);
        QFETCH(QString, expected);
        QCOMPARE(IdPrefixer::prefixIds(markup, "p_", scope), expected);
    }

    void validNames_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("kept") << "arrow-left_2" << QString("arrow-left_2");
        QTest::newRow("runs become one separator")
            << " my  icon (1)__x_y " << QString("my-icon-1-x_y");
        QTest::newRow("starts with a digit") << "24px" << QString("icon-24px");
        QTest::newRow("nothing usable") << "()" << QString("icon");
        QTest::newRow("other scripts") << "Größe" << QString("Größe");
    }
    void validNames() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(IdPrefixer::validName(text), expected);
    }

    // The exported file is what the optimizer hands svgo: the same bytes as svgo run by hand.
    void exportedConfigurationMatchesSvgo_data() {
        QTest::addColumn<QString>("options");
        QTest::newRow("precision and currentColor") << "precision colors";
        QTest::newRow("the others") << "multipass noViewBox keepTitleAndDesc removeDimensions";
    }
    void exportedConfigurationMatchesSvgo() {
        QFETCH(QString, options);
        Profile profile = textProfile();
        if (options.contains(u"precision"))
            profile.precision = 1;
        profile.colorsToCurrentColor = options.contains(u"colors");
        profile.multipass = options.contains(u"multipass");
        profile.keepViewBox = !options.contains(u"noViewBox");
        profile.keepTitleAndDesc = options.contains(u"keepTitleAndDesc");
        profile.removeDimensions = options.contains(u"removeDimensions");
        const QString exported = m_folder.filePath("svgo.config.mjs");
        QCOMPARE(SvgoConfiguration::exportTo(profile, exported), QString());

        const QStringList icons{icon("sun"), icon("moon"), icon("2 dots")};
        const QString text = optimize(icons, profile).texts.value(0);
        QCOMPARE(text, assembled(profile, svgoAlone(icons, exported)));
        QVERIFY(text != assembled(profile, svgoAlone(icons)));
    }
};

QTEST_GUILESS_MAIN(tst_TextFormats)
#include "tst_textformats.moc"
