#include "model/IncrementedName.h"
#include "model/Profile.h"

#include <QtTest>

namespace {

QByteArray withKey(const QByteArray &key, const QByteArray &value) {
    QByteArray json = Profile::builtInDefault().toJson();
    const QByteArray quoted = "\"" + key + "\":";
    const qsizetype at = json.indexOf(quoted);
    if (at < 0)
        return json.chopped(1) + ',' + quoted + value + '}';
    qsizetype end = at + quoted.size();
    while (json[end] != ',' && json[end] != '}')
        ++end;
    return json.left(at + quoted.size()) + value + json.mid(end);
}

QByteArray withoutKey(const QByteArray &key) {
    QJsonObject object = QJsonDocument::fromJson(Profile::builtInDefault().toJson()).object();
    object.remove(QString::fromLatin1(key));
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

} // namespace

class ProfileTest : public QObject {
    Q_OBJECT

private slots:
    void encodesLikeTheMacOSEncoder_data();
    void encodesLikeTheMacOSEncoder();
    void roundTrips_data();
    void roundTrips();
    void decodes_data();
    void decodes();
    void incrementsNames_data();
    void incrementsNames();
};

void ProfileTest::encodesLikeTheMacOSEncoder_data() {
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QByteArray>("encoded");
    QTest::newRow("quote and backslash") << "a\"b\\c" << QByteArray(R"("a\"b\\c")");
    QTest::newRow("short escapes") << "\b\f\n\r\t" << QByteArray(R"("\b\f\n\r\t")");
    QTest::newRow("other controls in lower-case hex")
        << QString(QChar(0x01)) + QChar(0x1f) + QChar(0) << QByteArray(R"("\u0001\u001f\u0000")");
    QTest::newRow("non-ASCII stays UTF-8")
        << QString::fromUtf8("Größe → 😀") << QByteArray(R"("Größe → 😀")");
    QTest::newRow("DEL is not escaped") << QString(QChar(0x7f)) << QByteArray("\"\x7f\"");
}

void ProfileTest::encodesLikeTheMacOSEncoder() {
    QFETCH(QString, prefix);
    QFETCH(QByteArray, encoded);
    Profile profile = Profile::builtInDefault();
    profile.wrapOutputPrefix = prefix;
    const QByteArray json = profile.toJson();
    QVERIFY2(json.contains(R"("wrapOutput":false,"wrapOutputPrefix":)" + encoded + "}"),
             json.constData());
}

void ProfileTest::roundTrips_data() {
    QTest::addColumn<Profile>("profile");
    QTest::addColumn<QByteArray>("expected"); // empty: only the round trip is checked

    Profile full = Profile::makeNew();
    full.id = QStringLiteral("0F6A4C2E-1B2D-4E5F-8A9B-0C1D2E3F4A5B");
    full.name = QStringLiteral("Icons / Web");
    full.mode = OperationMode::Text;
    full.overwrite = false;
    full.outputFolder = QUrl::fromLocalFile(QStringLiteral("/Users/me/Icons/"));
    full.svgoConfigFile = QUrl::fromLocalFile(QStringLiteral("/Users/me/My Config.js"));
    full.wrapOutput = true;
    full.wrapOutputPrefix = QStringLiteral("<ul>");
    full.wrapOutputSuffix = QStringLiteral("</ul>");
    full.wrapIndividual = true;
    full.wrapIndividualPrefix = QString::fromUtf8("<li>é");
    full.wrapIndividualSuffix = QString();
    full.prettyPrint = true;
    full.indentationStyle = IndentationStyle::Spaces;
    full.indentationWidth = -3;
    full.keepItemAndWrapperTogether = true;
    QTest::newRow("every field set")
        << full
        << QByteArray(R"({"id":"0F6A4C2E-1B2D-4E5F-8A9B-0C1D2E3F4A5B","indentationStyle":"spaces",)"
                      R"("indentationWidth":-3,"keepItemAndWrapperTogether":true,"mode":"text",)"
                      R"("name":"Icons \/ Web","outputFolder":"file:\/\/\/Users\/me\/Icons\/",)"
                      R"("overwrite":false,"prettyPrint":true,)"
                      R"("svgoConfigFile":"file:\/\/\/Users\/me\/My%20Config.js",)"
                      R"("wrapIndividual":true,"wrapIndividualPrefix":"<li>é",)"
                      R"("wrapIndividualSuffix":"","wrapOutput":true,"wrapOutputPrefix":"<ul>",)"
                      R"("wrapOutputSuffix":"<\/ul>"})");

    Profile wide = Profile::builtInDefault();
    wide.indentationWidth = std::numeric_limits<qint64>::max();
    QTest::newRow("largest width") << wide << QByteArray();
    Profile nonAscii = Profile::builtInDefault();
    nonAscii.outputFolder = QUrl::fromLocalFile(QString::fromUtf8("/tmp/Ünïcode #1?/"));
    QTest::newRow("folder needing percent escapes") << nonAscii << QByteArray();
    Profile later = Profile::builtInDefault();
    later.outputFormat = OutputFormat::Sprite;
    later.uniqueIds = later.checkRendering = later.keepViewBox = false;
    later.precision = 2;
    later.colorsToCurrentColor = true;
    QTest::newRow("later options only where changed")
        << later
        << QByteArray(
               R"({"checkRendering":false,"colorsToCurrentColor":true,"id":"DefaultProfile",)"
               R"("indentationStyle":"tabs","indentationWidth":4,)"
               R"("keepItemAndWrapperTogether":false,"keepViewBox":false,"mode":"file",)"
               R"("name":"Default Profile","outputFormat":"sprite","overwrite":true,)"
               R"("precision":2,"prettyPrint":false,"uniqueIds":false,)"
               R"("wrapIndividual":false,"wrapOutput":false})");
}

void ProfileTest::roundTrips() {
    QFETCH(Profile, profile);
    QFETCH(QByteArray, expected);
    const QByteArray json = profile.toJson();
    if (!expected.isEmpty())
        QCOMPARE(json, expected);
    const std::optional<Profile> decoded = Profile::fromJson(json);
    QVERIFY(decoded);
    QCOMPARE(*decoded, profile);
    QCOMPARE(qHash(*decoded), qHash(profile));
}

// Anything not quite right is rejected as a whole; only unknown keys and null optionals pass.
void ProfileTest::decodes_data() {
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("accepted");
    for (const char *key :
         {"id", "name", "mode", "overwrite", "wrapOutput", "wrapIndividual", "prettyPrint",
          "indentationStyle", "indentationWidth", "keepItemAndWrapperTogether"})
        QTest::addRow("missing %s", key) << withoutKey(key) << false;
    const struct {
        const char *row, *key, *value;
        bool accepted;
    } changes[] = {
        {"null required", "name", "null", false},
        {"capitalised mode", "mode", R"("File")", false},
        {"unknown style", "indentationStyle", R"("tab")", false},
        {"bool as number", "overwrite", "1", false},
        {"width as string", "indentationWidth", R"("4")", false},
        {"fractional width", "indentationWidth", "4.5", false},
        {"width past 64 bits", "indentationWidth", "9223372036854775808", false},
        {"optional of wrong type", "wrapOutputPrefix", "3", false},
        {"empty folder URL", "outputFolder", R"("")", false},
        {"unknown key", "colour", R"({"r":1})", true},
        {"null optional", "wrapOutputSuffix", "null", true},
        {"unknown output format", "outputFormat", R"("html")", false},
        {"later option of wrong type", "multipass", R"("yes")", false},
        {"negative precision", "precision", "-1", false},
    };
    for (const auto &change : changes)
        QTest::newRow(change.row) << withKey(change.key, change.value) << change.accepted;
    QTest::newRow("not an object") << QByteArray("[]") << false;
    QTest::newRow("not JSON") << QByteArray("{\"id\":") << false;
}

void ProfileTest::decodes() {
    QFETCH(QByteArray, json);
    QFETCH(bool, accepted);
    const std::optional<Profile> decoded = Profile::fromJson(json);
    QVERIFY2(decoded.has_value() == accepted, json.constData());
    if (accepted)
        QCOMPARE(*decoded, Profile::builtInDefault());
}

void ProfileTest::incrementsNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("incremented");
    const char *const cases[][2] = {
        {"Profile", "Profile 2"},
        {"Icons 9", "Icons 10"},
        {"Icons 007", "Icons 8"},
        {"Icons v2", "Icons v2 2"},
        {"Icons ", "Icons  2"},
        {"Icons 99999999999999999999", "Icons 2"},
        {"Icons 9223372036854775806", "Icons 9223372036854775807"},
        {"Icons 9223372036854775807", "Icons 9223372036854775807 2"},
        {"A  5", "A  6"},
        {"Icons \t4\t", "Icons 5"},
        {"Icons \u00a07", "Icons 8"}, // no-break space is white space
        {"Icons 4\n", "Icons 4\n 2"}, // a line break is not
    };
    for (const auto &[name, incremented] : cases)
        QTest::newRow(name) << QString::fromUtf8(name) << QString::fromUtf8(incremented);
}

void ProfileTest::incrementsNames() {
    QFETCH(QString, name);
    QFETCH(QString, incremented);
    QCOMPARE(incrementedName(name), incremented);
}

QTEST_GUILESS_MAIN(ProfileTest)
#include "tst_profile.moc"
