<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>AdvancedSettingsTab</name>
    <message>
        <source>Use installed version</source>
        <translation>Installierte Version verwenden</translation>
    </message>
    <message>
        <source>Install using Homebrew</source>
        <translation>Mit Homebrew installieren</translation>
    </message>
    <message>
        <source>SVGO Executable Path:</source>
        <translation>Pfad zum SVGO-Programm:</translation>
    </message>
    <message>
        <source>%1 uses &lt;a href=&quot;https://svgo.dev&quot;&gt;SVGO&lt;/a&gt; for processing SVG files.</source>
        <translation>%1 verwendet &lt;a href=&quot;https://svgo.dev&quot;&gt;SVGO&lt;/a&gt;, um SVG-Dateien zu verarbeiten.</translation>
    </message>
    <message>
        <source>SVGO:</source>
        <translation>SVGO:</translation>
    </message>
    <message>
        <source>SVGO could not be installed</source>
        <translation>SVGO konnte nicht installiert werden</translation>
    </message>
    <message>
        <source>Checking…</source>
        <translation>Wird geprüft …</translation>
    </message>
    <message>
        <source>custom path</source>
        <translation>eigener Pfad</translation>
    </message>
    <message>
        <source>shipped with Mirandel</source>
        <translation>mit Mirandel geliefert</translation>
    </message>
    <message>
        <source>found on the login shell&apos;s PATH</source>
        <translation>im PATH der Login-Shell gefunden</translation>
    </message>
    <message>
        <source>SVGO %1, %2</source>
        <translation>SVGO %1, %2</translation>
    </message>
</context>
<context>
    <name>AppcastUpdater</name>
    <message>
        <source>The update server did not answer in time.</source>
        <translation>Der Aktualisierungsserver hat nicht rechtzeitig geantwortet.</translation>
    </message>
    <message>
        <source>The update information is too large to be an update feed.</source>
        <translation>Die Aktualisierungsinformationen sind zu groß für einen Aktualisierungs-Feed.</translation>
    </message>
    <message>
        <source>The update information could not be downloaded: %1</source>
        <translation>Die Aktualisierungsinformationen konnten nicht geladen werden: %1</translation>
    </message>
    <message>
        <source>The update information could not be read: %1</source>
        <translation>Die Aktualisierungsinformationen konnten nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>The update feed names no file to download.</source>
        <translation>Der Aktualisierungs-Feed nennt keine Datei zum Herunterladen.</translation>
    </message>
    <message>
        <source>The download ended before the whole file arrived.</source>
        <translation>Der Download endete, bevor die ganze Datei angekommen war.</translation>
    </message>
    <message>
        <source>The download could not be saved as %1.</source>
        <translation>Der Download konnte nicht als %1 gespeichert werden.</translation>
    </message>
</context>
<context>
    <name>Application</name>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Stop the optimization and quit?</source>
        <translation>Optimierung abbrechen und beenden?</translation>
    </message>
    <message>
        <source>Files not optimized yet stay as they are.</source>
        <translation>Noch nicht optimierte Dateien bleiben, wie sie sind.</translation>
    </message>
    <message>
        <source>Stop and Quit</source>
        <translation>Stoppen und beenden</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>FileManager</name>
    <message>
        <source>Show in Finder</source>
        <translation>Im Finder zeigen</translation>
    </message>
    <message>
        <source>Show in Explorer</source>
        <translation>Im Explorer zeigen</translation>
    </message>
    <message>
        <source>Show in File Manager</source>
        <translation>Im Dateimanager zeigen</translation>
    </message>
</context>
<context>
    <name>FileResults</name>
    <message numerus="yes">
        <source>%n files optimized</source>
        <translation>
            <numerusform>%n Datei optimiert</numerusform>
            <numerusform>%n Dateien optimiert</numerusform>
        </translation>
    </message>
    <message>
        <source>, </source>
        <translation>, </translation>
    </message>
    <message numerus="yes">
        <source>%n failed</source>
        <translation>
            <numerusform>%n fehlgeschlagen</numerusform>
            <numerusform>%n fehlgeschlagen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n not run</source>
        <translation>
            <numerusform>%n nicht ausgeführt</numerusform>
            <numerusform>%n nicht ausgeführt</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 · %2 → %3 (saved %4)</source>
        <translation>%1 · %2 → %3 (%4 gespart)</translation>
    </message>
    <message>
        <source>%1 %</source>
        <translation>%1 %</translation>
    </message>
</context>
<context>
    <name>FileTable</name>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Restore Originals</source>
        <translation>Originale wiederherstellen</translation>
    </message>
</context>
<context>
    <name>GeneralSettingsTab</name>
    <message>
        <source>Copy automatically</source>
        <translation>Automatisch kopieren</translation>
    </message>
    <message>
        <source>Text Output:</source>
        <translation>Textausgabe:</translation>
    </message>
</context>
<context>
    <name>IndentationStyle</name>
    <message>
        <source>Tabs</source>
        <comment>Indentation style</comment>
        <translation>Tabulatoren</translation>
    </message>
    <message>
        <source>Spaces</source>
        <comment>Indentation style</comment>
        <translation>Leerzeichen</translation>
    </message>
</context>
<context>
    <name>ListActions</name>
    <message>
        <source>More</source>
        <translation>Mehr</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>SVG files and folders (*.svg)</source>
        <translation>SVG-Dateien und Ordner (*.svg)</translation>
    </message>
    <message>
        <source>Add Files</source>
        <translation>Dateien hinzufügen</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Werkzeugleiste</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Toggle Inspector</source>
        <translation>Informationen ein-/ausblenden</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>New Window</source>
        <translation>Neues Fenster</translation>
    </message>
    <message>
        <source>Open…</source>
        <translation>Öffnen …</translation>
    </message>
    <message>
        <source>Profile</source>
        <translation>Profil</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation>Einstellungen …</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Darstellung</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Check for Updates…</source>
        <translation>Nach Aktualisierungen suchen …</translation>
    </message>
    <message>
        <source>Restore Originals</source>
        <translation>Originale wiederherstellen</translation>
    </message>
</context>
<context>
    <name>OperationMode</name>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
</context>
<context>
    <name>OptimizeBar</name>
    <message>
        <source>Optimize</source>
        <translation>Optimieren</translation>
    </message>
</context>
<context>
    <name>Optimizer</name>
    <message>
        <source>Cannot write into the folder %1: %2</source>
        <translation>In den Ordner %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Cannot replace %1: %2</source>
        <translation>%1 kann nicht ersetzt werden: %2</translation>
    </message>
</context>
<context>
    <name>OptimizerRun</name>
    <message>
        <source>svgo could not be started: %1</source>
        <translation>svgo konnte nicht gestartet werden: %1</translation>
    </message>
    <message>
        <source>svgo ended unexpectedly (%1).</source>
        <translation>svgo wurde unerwartet beendet (%1).</translation>
    </message>
    <message>
        <source>svgo failed with exit status %1.</source>
        <translation>svgo ist mit dem Status %1 gescheitert.</translation>
    </message>
    <message>
        <source>svgo wrote no output for this file.</source>
        <translation>svgo hat für diese Datei nichts ausgegeben.</translation>
    </message>
    <message>
        <source>Cannot read svgo&apos;s output: %1</source>
        <translation>Die Ausgabe von svgo kann nicht gelesen werden: %1</translation>
    </message>
</context>
<context>
    <name>OriginalsBackup</name>
    <message>
        <source>The original could not be kept: cannot create the folder %1.</source>
        <translation>Das Original konnte nicht aufbewahrt werden: Der Ordner %1 kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>The original could not be kept: cannot create a folder in %1.</source>
        <translation>Das Original konnte nicht aufbewahrt werden: In %1 kann kein Ordner angelegt werden.</translation>
    </message>
    <message>
        <source>The original could not be kept, so the file was not overwritten: %1</source>
        <translation>Das Original konnte nicht aufbewahrt werden, daher wurde die Datei nicht überschrieben: %1</translation>
    </message>
    <message>
        <source>The original of %1 cannot be read: %2</source>
        <translation>Das Original von %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>%1 could not be restored: %2</source>
        <translation>%1 konnte nicht wiederhergestellt werden: %2</translation>
    </message>
</context>
<context>
    <name>Profile</name>
    <message>
        <source>Default Profile</source>
        <translation>Standardprofil</translation>
    </message>
    <message>
        <source>New Profile</source>
        <translation>Neues Profil</translation>
    </message>
</context>
<context>
    <name>ProfileEditor</name>
    <message>
        <source>Prefix</source>
        <translation>Präfix</translation>
    </message>
    <message>
        <source>Suffix</source>
        <translation>Suffix</translation>
    </message>
    <message>
        <source>Profile Name</source>
        <translation>Profilname</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Modus</translation>
    </message>
    <message>
        <source>Overwrite Files</source>
        <translation>Dateien überschreiben</translation>
    </message>
    <message>
        <source>Output Folder</source>
        <translation>Ausgabeordner</translation>
    </message>
    <message>
        <source>Choose…</source>
        <translation>Auswählen …</translation>
    </message>
    <message>
        <source>SVGO Configuration</source>
        <translation>SVGO-Konfiguration</translation>
    </message>
    <message>
        <source>More Options</source>
        <translation>Weitere Optionen</translation>
    </message>
    <message>
        <source>Copy File Path</source>
        <translation>Dateipfad kopieren</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Wrap Whole Output</source>
        <translation>Gesamte Ausgabe einrahmen</translation>
    </message>
    <message>
        <source>Wrap SVG Elements</source>
        <translation>SVG-Elemente einrahmen</translation>
    </message>
    <message>
        <source>Pretty Print</source>
        <translation>Lesbar formatieren</translation>
    </message>
    <message>
        <source>Adds line breaks and indentation</source>
        <translation>Fügt Zeilenumbrüche und Einrückungen hinzu</translation>
    </message>
    <message>
        <source>Indent Using</source>
        <translation>Einrücken mit</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Breite</translation>
    </message>
    <message>
        <source>Keep Items and Wrapper Together</source>
        <translation>Elemente und Rahmen zusammenhalten</translation>
    </message>
    <message>
        <source>Choose whether each SVG element should be on a single line with its wrapping prefix and suffix</source>
        <translation>Legt fest, ob jedes SVG-Element mit seinem Präfix und Suffix in einer einzigen Zeile stehen soll</translation>
    </message>
    <message>
        <source>Default Configuration</source>
        <translation>Standardkonfiguration</translation>
    </message>
    <message>
        <source>JavaScript files (*.js *.mjs *.cjs)</source>
        <translation>JavaScript-Dateien (*.js *.mjs *.cjs)</translation>
    </message>
</context>
<context>
    <name>ProfileMenu</name>
    <message>
        <source>Profile</source>
        <translation>Profil</translation>
    </message>
    <message>
        <source>Apply to Default Profile</source>
        <translation>Auf Standardprofil anwenden</translation>
    </message>
    <message>
        <source>Update Profile “%1”</source>
        <translation>Profil „%1“ aktualisieren</translation>
    </message>
    <message>
        <source>Save as New Profile…</source>
        <translation>Als neues Profil sichern …</translation>
    </message>
    <message>
        <source>Edit Profiles</source>
        <translation>Profile bearbeiten</translation>
    </message>
</context>
<context>
    <name>ProfilesSettingsTab</name>
    <message>
        <source>New Profile</source>
        <translation>Neues Profil</translation>
    </message>
    <message>
        <source>Delete Profile</source>
        <translation>Profil löschen</translation>
    </message>
    <message>
        <source>Duplicate</source>
        <translation>Duplizieren</translation>
    </message>
    <message>
        <source>Apply to Default Profile</source>
        <translation>Auf Standardprofil anwenden</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
</context>
<context>
    <name>QFileDialog</name>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
</context>
<context>
    <name>RestoreOriginals</name>
    <message>
        <source>Restore Originals</source>
        <translation>Originale wiederherstellen</translation>
    </message>
    <message numerus="yes">
        <source>Restore the originals of %n file(s)?</source>
        <translation>
            <numerusform>Das Original von %n Datei wiederherstellen?</numerusform>
            <numerusform>Die Originale von %n Dateien wiederherstellen?</numerusform>
        </translation>
    </message>
    <message>
        <source>The optimized files are replaced by the copies kept when they were overwritten.</source>
        <translation>Die optimierten Dateien werden durch die Kopien ersetzt, die beim Überschreiben aufbewahrt wurden.</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>“%1” was changed after it was optimized.</source>
        <translation>„%1“ wurde nach dem Optimieren geändert.</translation>
    </message>
    <message>
        <source>Replacing it with the original from %1 loses those changes.</source>
        <translation>Wenn sie durch das Original vom %1 ersetzt wird, gehen diese Änderungen verloren.</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
    <message>
        <source>Skip</source>
        <translation>Überspringen</translation>
    </message>
    <message>
        <source>Some originals could not be restored.</source>
        <translation>Einige Originale konnten nicht wiederhergestellt werden.</translation>
    </message>
    <message>
        <source>No originals are kept for these files.</source>
        <translation>Für diese Dateien sind keine Originale aufbewahrt.</translation>
    </message>
</context>
<context>
    <name>ResultsSummary</name>
    <message>
        <source>Click to select the files that failed.</source>
        <translation>Klicken, um die fehlgeschlagenen Dateien auszuwählen.</translation>
    </message>
</context>
<context>
    <name>RunProgress</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>%1 of %2 files</source>
        <translation>%1 von %2 Dateien</translation>
    </message>
    <message>
        <source>Less than a minute left</source>
        <translation>Weniger als eine Minute übrig</translation>
    </message>
    <message numerus="yes">
        <source>About %n min left</source>
        <translation>
            <numerusform>Etwa %n Min. übrig</numerusform>
            <numerusform>Etwa %n Min. übrig</numerusform>
        </translation>
    </message>
    <message>
        <source>About %1 h %2 min left</source>
        <translation>Etwa %1 Std. %2 Min. übrig</translation>
    </message>
</context>
<context>
    <name>SVGFileList</name>
    <message>
        <source>File Name</source>
        <translation>Dateiname</translation>
    </message>
    <message>
        <source>Path</source>
        <translation>Pfad</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Optimized</source>
        <translation>Optimiert</translation>
    </message>
    <message>
        <source>Saved</source>
        <translation>Gespart</translation>
    </message>
</context>
<context>
    <name>SaveProfileSheet</name>
    <message>
        <source>Save Profile</source>
        <translation>Profil sichern</translation>
    </message>
    <message>
        <source>Please enter a name for the profile.</source>
        <translation>Bitte geben Sie einen Namen für das Profil ein.</translation>
    </message>
    <message>
        <source>Profile Name</source>
        <translation>Profilname</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>Profiles</source>
        <translation>Profile</translation>
    </message>
    <message>
        <source>Updates</source>
        <translation>Aktualisierungen</translation>
    </message>
    <message>
        <source>Advanced</source>
        <translation>Erweitert</translation>
    </message>
</context>
<context>
    <name>SetupSheet</name>
    <message>
        <source>Check</source>
        <translation>Prüfen</translation>
    </message>
    <message>
        <source>Set Up SVGO</source>
        <translation>SVGO einrichten</translation>
    </message>
    <message>
        <source>Wake up, Neo…</source>
        <translation>Wach auf, Neo …</translation>
    </message>
    <message>
        <source> uses &lt;a href=&quot;https://svgo.dev&quot;&gt;SVGO&lt;/a&gt; for processing and optimizing SVG files. It appears that SVGO is either not installed or it could not be found.</source>
        <translation> verwendet &lt;a href=&quot;https://svgo.dev&quot;&gt;SVGO&lt;/a&gt;, um SVG-Dateien zu verarbeiten und zu optimieren. SVGO scheint nicht installiert zu sein oder konnte nicht gefunden werden.</translation>
    </message>
    <message>
        <source>You can either install SVGO automatically using the &lt;a href=&quot;https://brew.sh&quot;&gt;Homebrew&lt;/a&gt; package manager or install it in your preferred way and enter the path to the executable file below.</source>
        <translation>Sie können SVGO automatisch mit dem Paketmanager &lt;a href=&quot;https://brew.sh&quot;&gt;Homebrew&lt;/a&gt; installieren oder auf Ihre bevorzugte Weise installieren und unten den Pfad zum Programm eingeben.</translation>
    </message>
    <message>
        <source>Install using Homebrew</source>
        <translation>Mit Homebrew installieren</translation>
    </message>
    <message>
        <source>Custom Installation</source>
        <translation>Eigene Installation</translation>
    </message>
    <message>
        <source>SVGO Executable Path</source>
        <translation>Pfad zum SVGO-Programm</translation>
    </message>
    <message>
        <source>Homebrew is installed</source>
        <translation>Homebrew ist installiert</translation>
    </message>
    <message>
        <source>Install SVGO using Homebrew</source>
        <translation>SVGO mit Homebrew installieren</translation>
    </message>
    <message>
        <source>SVGO could not be found</source>
        <translation>SVGO wurde nicht gefunden</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>To install SVGO from here, first install the Debian packages nodejs and npm (sudo apt install nodejs npm).</source>
        <translation>Um SVGO von hier aus zu installieren, installieren Sie zuerst die Debian-Pakete nodejs und npm (sudo apt install nodejs npm).</translation>
    </message>
    <message>
        <source>You can either install SVGO automatically using &lt;a href=&quot;https://www.npmjs.com&quot;&gt;npm&lt;/a&gt;, the package manager of Node.js, or install it in your preferred way and enter the path to the executable file below.</source>
        <translation>Sie können SVGO automatisch mit &lt;a href=&quot;https://www.npmjs.com&quot;&gt;npm&lt;/a&gt;, dem Paketmanager von Node.js, installieren oder auf Ihre bevorzugte Weise installieren und unten den Pfad zum Programm eingeben.</translation>
    </message>
    <message>
        <source>Install using npm</source>
        <translation>Mit npm installieren</translation>
    </message>
    <message>
        <source>npm is installed</source>
        <translation>npm ist installiert</translation>
    </message>
    <message>
        <source>Install SVGO with npm</source>
        <translation>SVGO mit npm installieren</translation>
    </message>
    <message>
        <source>SVGO could not be installed</source>
        <translation>SVGO konnte nicht installiert werden</translation>
    </message>
</context>
<context>
    <name>SvgPane</name>
    <message>
        <source>No preview</source>
        <translation>Keine Vorschau</translation>
    </message>
</context>
<context>
    <name>SvgPreview</name>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Original</source>
        <translation>Original</translation>
    </message>
    <message>
        <source>Optimized</source>
        <translation>Optimiert</translation>
    </message>
</context>
<context>
    <name>SvgoCheck</name>
    <message>
        <source>No path was entered.</source>
        <translation>Es wurde kein Pfad eingegeben.</translation>
    </message>
    <message>
        <source>%1 is not a full path; it has to start with / or ~/.</source>
        <translation>%1 ist kein vollständiger Pfad; er muss mit / oder ~/ beginnen.</translation>
    </message>
    <message>
        <source>There is no file at %1.</source>
        <translation>Unter %1 gibt es keine Datei.</translation>
    </message>
    <message>
        <source>%1 is a folder, not a program.</source>
        <translation>%1 ist ein Ordner, kein Programm.</translation>
    </message>
    <message>
        <source>%1 is not executable.</source>
        <translation>%1 ist nicht ausführbar.</translation>
    </message>
    <message>
        <source>%1 did not answer with an SVGO version number; it does not seem to be SVGO.</source>
        <translation>%1 hat nicht mit einer SVGO-Versionsnummer geantwortet; es scheint nicht SVGO zu sein.</translation>
    </message>
    <message>
        <source>SVGO %1 is too old: Mirandel needs 4.0.1 or later, which fixed a denial of service by crafted files (3.x also optimizes with other defaults).</source>
        <translation>SVGO %1 ist zu alt: Mirandel braucht 4.0.1 oder neuer, das einen Denial of Service durch präparierte Dateien behoben hat (3.x optimiert außerdem mit anderen Voreinstellungen).</translation>
    </message>
    <message>
        <source>%1 did not answer within %2 seconds.</source>
        <translation>%1 hat nicht innerhalb von %2 Sekunden geantwortet.</translation>
    </message>
</context>
<context>
    <name>SvgoInstaller</name>
    <message>
        <source>Homebrew could not install SVGO.</source>
        <translation>Homebrew konnte SVGO nicht installieren.</translation>
    </message>
    <message>
        <source>Cannot write into %1: %2</source>
        <translation>In %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>npm could not install SVGO.</source>
        <translation>npm konnte SVGO nicht installieren.</translation>
    </message>
    <message>
        <source>npm finished, but the SVGO it installed does not work: %1</source>
        <translation>npm ist fertig, aber das installierte SVGO funktioniert nicht: %1</translation>
    </message>
    <message>
        <source>Cannot replace %1.</source>
        <translation>%1 kann nicht ersetzt werden.</translation>
    </message>
    <message>
        <source>Cannot move the installation to %1.</source>
        <translation>Die Installation kann nicht nach %1 verschoben werden.</translation>
    </message>
</context>
<context>
    <name>SvgoPathField</name>
    <message>
        <source>SVGO Executable Path</source>
        <translation>Pfad zum SVGO-Programm</translation>
    </message>
    <message>
        <source>Path to a file</source>
        <translation>Pfad zu einer Datei</translation>
    </message>
</context>
<context>
    <name>TextOutputWindow</name>
    <message>
        <source>Output</source>
        <translation>Ausgabe</translation>
    </message>
    <message>
        <source>SVG source code</source>
        <translation>SVG-Quelltext</translation>
    </message>
    <message>
        <source>Copied output</source>
        <translation>Ausgabe kopiert</translation>
    </message>
    <message>
        <source>Copy Output</source>
        <translation>Ausgabe kopieren</translation>
    </message>
    <message>
        <source>SVG optimized and output copied</source>
        <extracomment>Accessibility announcement when the text output was copied</extracomment>
        <translation>SVG optimiert und Ausgabe kopiert</translation>
    </message>
</context>
<context>
    <name>UpdateCheckInterval</name>
    <message>
        <source>Hourly</source>
        <translation>Stündlich</translation>
    </message>
    <message>
        <source>Daily</source>
        <translation>Täglich</translation>
    </message>
    <message>
        <source>Weekly</source>
        <translation>Wöchentlich</translation>
    </message>
    <message>
        <source>Monthly</source>
        <translation>Monatlich</translation>
    </message>
</context>
<context>
    <name>UpdateDialog</name>
    <message>
        <source>Software Update</source>
        <translation>Softwareaktualisierung</translation>
    </message>
    <message>
        <source>A new version of %1 is available!</source>
        <translation>Eine neue Version von %1 ist verfügbar!</translation>
    </message>
    <message>
        <source>%1 %2 is now available; you have %3. Would you like to download it now?</source>
        <translation>%1 %2 ist jetzt verfügbar; Sie haben %3. Möchten Sie es jetzt herunterladen?</translation>
    </message>
    <message>
        <source>Skip This Version</source>
        <translation>Diese Version überspringen</translation>
    </message>
    <message>
        <source>Remind Me Later</source>
        <translation>Später erinnern</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Herunterladen</translation>
    </message>
    <message>
        <source>You’re up to date!</source>
        <translation>Sie sind auf dem neuesten Stand!</translation>
    </message>
    <message>
        <source>%1 %2 is currently the newest version available.</source>
        <translation>%1 %2 ist derzeit die neueste verfügbare Version.</translation>
    </message>
    <message>
        <source>Update Error!</source>
        <translation>Aktualisierungsfehler!</translation>
    </message>
    <message>
        <source>%1 %2 has been downloaded.</source>
        <translation>%1 %2 wurde heruntergeladen.</translation>
    </message>
    <message>
        <source>The update was saved to %1. Install it from there when it suits you.</source>
        <translation>Die Aktualisierung wurde unter %1 gespeichert. Installieren Sie sie von dort, wann es Ihnen passt.</translation>
    </message>
    <message>
        <source>The release notes are at &lt;a href=&quot;%1&quot;&gt;%1&lt;/a&gt;.</source>
        <translation>Die Versionshinweise finden Sie unter &lt;a href=&quot;%1&quot;&gt;%1&lt;/a&gt;.</translation>
    </message>
    <message>
        <source>Release Notes:</source>
        <translation>Versionshinweise:</translation>
    </message>
</context>
<context>
    <name>UpdatesSettingsTab</name>
    <message>
        <source>Automatically check for updates</source>
        <translation>Automatisch nach Aktualisierungen suchen</translation>
    </message>
    <message>
        <source>Automatically download updates</source>
        <translation>Aktualisierungen automatisch herunterladen</translation>
    </message>
    <message>
        <source>Check for Updates</source>
        <translation>Nach Aktualisierungen suchen</translation>
    </message>
    <message>
        <source>This copy of Mirandel has no update feed, so it cannot check for updates.</source>
        <translation>Diese Kopie von Mirandel hat keinen Aktualisierungs-Feed und kann daher nicht nach Aktualisierungen suchen.</translation>
    </message>
    <message>
        <source>App Updates:</source>
        <translation>App-Aktualisierungen:</translation>
    </message>
    <message>
        <source>Frequency:</source>
        <translation>Häufigkeit:</translation>
    </message>
    <message>
        <source>Last checked: </source>
        <translation>Zuletzt geprüft: </translation>
    </message>
</context>
<context>
    <name>Utilities</name>
    <message>
        <source>The login shell %1 could not be started: %2</source>
        <translation>Die Login-Shell %1 konnte nicht gestartet werden: %2</translation>
    </message>
    <message numerus="yes">
        <source>The login shell did not answer within %n seconds; check your shell profile (.zprofile).</source>
        <translation>
            <numerusform>Die Login-Shell hat nicht innerhalb von %n Sekunde geantwortet; prüfen Sie Ihr Shell-Profil (.zprofile).</numerusform>
            <numerusform>Die Login-Shell hat nicht innerhalb von %n Sekunden geantwortet; prüfen Sie Ihr Shell-Profil (.zprofile).</numerusform>
        </translation>
    </message>
</context>
</TS>
