<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About Mirandel</source>
        <translation>Über Mirandel</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>svgo: looking…</source>
        <translation>svgo: wird gesucht …</translation>
    </message>
    <message>
        <source>Released under the MIT licence.</source>
        <translation>Veröffentlicht unter der MIT-Lizenz.</translation>
    </message>
    <message>
        <source>svgo: not found</source>
        <translation>svgo: nicht gefunden</translation>
    </message>
    <message>
        <source>svgo: %1 (version unknown)</source>
        <translation>svgo: %1 (Version unbekannt)</translation>
    </message>
    <message>
        <source>svgo %1: %2</source>
        <translation>svgo %1: %2</translation>
    </message>
</context>
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
    <message>
        <source>Runs in warm workers.</source>
        <translation>Läuft in vorgewärmten Arbeitsprozessen.</translation>
    </message>
    <message>
        <source>the workers could not load svgo</source>
        <translation>die Arbeitsprozesse konnten svgo nicht laden</translation>
    </message>
    <message>
        <source>Runs svgo&apos;s command line (%1).</source>
        <translation>Führt die Befehlszeile von svgo aus (%1).</translation>
    </message>
    <message>
        <source>Optimizing uses the svgo shipped with Mirandel instead: %1</source>
        <translation>Optimiert wird stattdessen mit dem svgo, das mit Mirandel geliefert wird: %1</translation>
    </message>
    <message>
        <source>Optimizing uses the svgo found on the login shell&apos;s PATH instead: %1</source>
        <translation>Optimiert wird stattdessen mit dem svgo aus dem PATH der Login-Shell: %1</translation>
    </message>
</context>
<context>
    <name>AppState</name>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
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
</context>
<context>
    <name>Application</name>
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
    <message>
        <source>Settings Not Saved</source>
        <translation>Einstellungen nicht gespeichert</translation>
    </message>
    <message>
        <source>Mirandel cannot save its settings to %1. Your changes and profiles hold until you quit; check that the folder can be written and has free space.</source>
        <translation>Mirandel kann seine Einstellungen nicht in %1 speichern. Ihre Änderungen und Profile gelten bis zum Beenden; prüfen Sie, ob der Ordner beschreibbar ist und freien Platz hat.</translation>
    </message>
</context>
<context>
    <name>AuditPanel</name>
    <message>
        <source>Make IDs Unique</source>
        <translation>IDs eindeutig machen</translation>
    </message>
    <message>
        <source>Use currentColor</source>
        <translation>currentColor verwenden</translation>
    </message>
    <message>
        <source>Remove Scripts</source>
        <translation>Skripte entfernen</translation>
    </message>
    <message>
        <source>Set Audit</source>
        <translation>Prüfung der Sammlung</translation>
    </message>
    <message>
        <source>What the files show as a set: ids that collide in one page, odd sizes, colours, scripts and more. Choose a finding to select its files.</source>
        <translation>Was die Dateien als Sammlung zeigen: IDs, die auf einer Seite zusammenstoßen, abweichende Größen, Farben, Skripte und mehr. Ein Befund wählt seine Dateien aus.</translation>
    </message>
    <message>
        <source>No files.</source>
        <translation>Keine Dateien.</translation>
    </message>
    <message>
        <source>Nothing to report.</source>
        <translation>Nichts zu melden.</translation>
    </message>
    <message numerus="yes">
        <source>Set Audit: %n finding(s)</source>
        <translation>
            <numerusform>Prüfung der Sammlung: %n Befund</numerusform>
            <numerusform>Prüfung der Sammlung: %n Befunde</numerusform>
        </translation>
    </message>
    <message>
        <source>The profile does this already: optimize the files to apply it.</source>
        <translation>Das Profil tut das bereits: Optimieren Sie die Dateien, um es anzuwenden.</translation>
    </message>
    <message>
        <source>The profile&apos;s configuration file decides svgo&apos;s options.</source>
        <translation>Die Konfigurationsdatei des Profils bestimmt die Optionen von svgo.</translation>
    </message>
    <message>
        <source>Turns this on in the profile; optimize the files to apply it.</source>
        <translation>Schaltet dies im Profil ein; optimieren Sie die Dateien, um es anzuwenden.</translation>
    </message>
</context>
<context>
    <name>BatchMode</name>
    <message>
        <source>Optimize without a window.</source>
        <translation>Ohne Fenster optimieren.</translation>
    </message>
    <message>
        <source>The stored profile to use, by name; the default profile when left out.</source>
        <translation>Das zu verwendende gespeicherte Profil, nach Name; ohne Angabe das Standardprofil.</translation>
    </message>
    <message>
        <source>name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Write the files (file) or print the text output (text) instead of the profile&apos;s mode.</source>
        <translation>Statt des Modus des Profils die Dateien schreiben (file) oder die Textausgabe ausgeben (text).</translation>
    </message>
    <message>
        <source>Show this help.</source>
        <translation>Diese Hilfe anzeigen.</translation>
    </message>
    <message>
        <source>[path…]</source>
        <translation>[Pfad…]</translation>
    </message>
    <message>
        <source>No files or folders given. See mirandel --help.</source>
        <translation>Keine Dateien oder Ordner angegeben. Siehe mirandel --help.</translation>
    </message>
    <message>
        <source>There is no profile %1. The stored profiles are: %2.</source>
        <translation>Es gibt kein Profil %1. Die gespeicherten Profile sind: %2.</translation>
    </message>
    <message>
        <source>--mode takes file or text, not %1.</source>
        <translation>--mode erwartet file oder text, nicht %1.</translation>
    </message>
    <message>
        <source>The profile %1 writes into an output folder, but has none chosen.</source>
        <translation>Das Profil %1 schreibt in einen Ausgabeordner, hat aber keinen ausgewählt.</translation>
    </message>
    <message>
        <source>No working svgo was found: %1</source>
        <translation>Kein funktionierendes svgo gefunden: %1</translation>
    </message>
    <message>
        <source>Put back the kept originals of the files given and of the SVG files in the folders given, as Restore Originals does, instead of optimizing.</source>
        <translation>Statt zu optimieren die aufbewahrten Originale der angegebenen Dateien und der SVG-Dateien in den angegebenen Ordnern zurücklegen, wie „Originale wiederherstellen“.</translation>
    </message>
    <message>
        <source>With --restore: also put back files that were changed after they were optimized.</source>
        <translation>Mit --restore: auch Dateien zurücklegen, die nach dem Optimieren geändert wurden.</translation>
    </message>
    <message>
        <source>No kept originals for the files given.</source>
        <translation>Für die angegebenen Dateien sind keine Originale aufbewahrt.</translation>
    </message>
    <message>
        <source>%1 was changed after it was optimized; left as it is (--force puts the original back anyway).</source>
        <translation>%1 wurde nach dem Optimieren geändert und bleibt, wie es ist (--force legt das Original trotzdem zurück).</translation>
    </message>
    <message>
        <source>Take the SVG files of the folders&apos; subfolders too.</source>
        <translation>Auch die SVG-Dateien der Unterordner nehmen.</translation>
    </message>
    <message>
        <source>SVG files, and folders whose SVG files are taken (those of their subfolders only with --recursive).</source>
        <translation>SVG-Dateien und Ordner, deren SVG-Dateien genommen werden (die ihrer Unterordner nur mit --recursive).</translation>
    </message>
    <message>
        <source>already optimal</source>
        <translation>schon optimal</translation>
    </message>
    <message>
        <source>kept as it was: looks different</source>
        <translation>blieb, wie sie war: sieht anders aus</translation>
    </message>
    <message>
        <source>%1 of %2 files</source>
        <translation>%1 von %2 Dateien</translation>
    </message>
    <message>
        <source>, about %1 s left</source>
        <translation>, noch etwa %1 s</translation>
    </message>
    <message>
        <source>Optimizes SVG files with svgo.

Without --batch the files and folders open in a window. With --batch they are optimized without one, with a stored profile: text output goes to standard output, each file that fails is named on standard error with svgo&apos;s message.

Exit status with --batch: 0 when every file was optimized or kept as it was on purpose (already optimal, or it would look different; named on standard error as notes), 1 when any failed (or is above --max-bytes), 2 for bad usage or an unknown profile, 3 with --check when no file failed but some would change. With --restore: 0 when every kept original was put back, 1 otherwise.</source>
        <translation>Optimiert SVG-Dateien mit svgo.

Ohne --batch werden die Dateien und Ordner in einem Fenster geöffnet. Mit --batch werden sie ohne Fenster mit einem gespeicherten Profil optimiert: Textausgabe geht an die Standardausgabe, jede fehlgeschlagene Datei wird mit der Meldung von svgo in der Standardfehlerausgabe genannt.

Exit-Status mit --batch: 0, wenn alle Dateien optimiert wurden oder absichtlich blieben, wie sie waren (schon optimal, oder sie sähen anders aus; als Hinweise in der Standardfehlerausgabe genannt), 1, wenn eine fehlschlug (oder größer als --max-bytes ist), 2 bei falscher Verwendung oder unbekanntem Profil, 3 mit --check, wenn keine fehlschlug, aber welche sich ändern würden. Mit --restore: 0, wenn jedes aufbewahrte Original zurückgelegt wurde, sonst 1.</translation>
    </message>
    <message>
        <source>Write nothing; name each file that optimizing in place would make smaller. Files this profile has optimized pass.</source>
        <translation>Nichts schreiben; jede Datei nennen, die Optimieren an Ort und Stelle verkleinern würde. Mit diesem Profil optimierte Dateien bestehen.</translation>
    </message>
    <message>
        <source>Count each file that is larger than this after optimizing as failed.</source>
        <translation>Jede Datei, die nach dem Optimieren größer ist, als fehlgeschlagen zählen.</translation>
    </message>
    <message>
        <source>bytes</source>
        <translation>Bytes</translation>
    </message>
    <message>
        <source>Also write a report of every file to this file (- for standard output, in file mode).</source>
        <translation>Zusätzlich einen Bericht über jede Datei in diese Datei schreiben (- für die Standardausgabe, im Dateimodus).</translation>
    </message>
    <message>
        <source>file</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>The report&apos;s format; json when left out.</source>
        <translation>Das Format des Berichts; json, wenn nicht angegeben.</translation>
    </message>
    <message>
        <source>Print only failures and files that would change: no notes, no progress.</source>
        <translation>Nur Fehler und Dateien ausgeben, die sich ändern würden: keine Hinweise, kein Fortschritt.</translation>
    </message>
    <message>
        <source>Show Mirandel&apos;s version and the svgo it runs.</source>
        <translation>Die Version von Mirandel und das verwendete svgo anzeigen.</translation>
    </message>
    <message>
        <source>--max-bytes takes a number of bytes above 0, not %1.</source>
        <translation>--max-bytes erwartet eine Anzahl Bytes über 0, nicht %1.</translation>
    </message>
    <message>
        <source>--report-format takes json or junit, not %1.</source>
        <translation>--report-format erwartet json oder junit, nicht %1.</translation>
    </message>
    <message>
        <source>--report - cannot share standard output with the text output; give the report a file.</source>
        <translation>--report - kann die Standardausgabe nicht mit der Textausgabe teilen; geben Sie dem Bericht eine Datei.</translation>
    </message>
    <message>
        <source>%1: would be optimized: %2 to %3 bytes</source>
        <translation>%1: würde optimiert: %2 auf %3 Bytes</translation>
    </message>
    <message>
        <source>would be kept as it is: looks different</source>
        <translation>bliebe, wie sie ist: sieht anders aus</translation>
    </message>
    <message numerus="yes">
        <source>%n of %1 files would be optimized. Optimize them with: %2</source>
        <translation>
            <numerusform>%n von %1 Dateien würde optimiert. Optimieren mit: %2</numerusform>
            <numerusform>%n von %1 Dateien würden optimiert. Optimieren mit: %2</numerusform>
        </translation>
    </message>
    <message>
        <source>svgo: none works (%1)
</source>
        <translation>svgo: keines funktioniert (%1)
</translation>
    </message>
    <message>
        <source>The name is not valid UTF-8, so the file cannot be read under it; rename it.</source>
        <translation>Der Name ist kein gültiges UTF-8, daher kann die Datei unter ihm nicht gelesen werden; benennen Sie sie um.</translation>
    </message>
    <message>
        <source>No such file or folder.</source>
        <translation>Datei oder Ordner nicht vorhanden.</translation>
    </message>
    <message>
        <source>Optimize every file afresh, instead of answering files that have not changed from earlier runs.</source>
        <translation>Jede Datei neu optimieren, statt unveränderte Dateien aus früheren Läufen zu beantworten.</translation>
    </message>
    <message>
        <source>Write nothing; list what the files show as a set: ids that collide when they are inlined in one page (as they are and as the profile would optimize them), viewBox sizes other than the usual one, hard-coded colours in a currentColor set, scripts, event handlers, embedded HTML, bitmaps, text and missing viewBoxes.</source>
        <translation>Nichts schreiben; auflisten, was die Dateien als Sammlung zeigen: IDs, die zusammenstoßen, wenn sie in eine Seite eingebettet werden (wie sie sind und wie das Profil sie optimieren würde), viewBox-Größen außer der üblichen, feste Farben in einer currentColor-Sammlung, Skripte, Ereignis-Handler, eingebettetes HTML, Bitmaps, Text und fehlende viewBoxen.</translation>
    </message>
    <message numerus="yes">
        <source>Nothing to report on %n files.</source>
        <translation>
            <numerusform>Nichts zu melden zu %n Datei.</numerusform>
            <numerusform>Nichts zu melden zu %n Dateien.</numerusform>
        </translation>
    </message>
    <message>
        <source>The precision svgo rounds to, instead of the profile&apos;s: auto for the lowest per file that still looks the same, or a number of digits from 0 to 20.</source>
        <translation>Die Genauigkeit, auf die svgo rundet, statt der des Profils: auto für die niedrigste je Datei, die noch gleich aussieht, oder eine Stellenzahl von 0 bis 20.</translation>
    </message>
    <message>
        <source>--precision takes auto or a number from 0 to 20, not %1.</source>
        <translation>--precision nimmt auto oder eine Zahl von 0 bis 20, nicht %1.</translation>
    </message>
</context>
<context>
    <name>BatchReport</name>
    <message>
        <source>%1 bytes, more than the budget of %2 bytes.</source>
        <translation>%1 Bytes, mehr als das Budget von %2 Bytes.</translation>
    </message>
</context>
<context>
    <name>ContactSheet</name>
    <message>
        <source>Export Contact Sheet…</source>
        <translation>Kontaktbogen exportieren …</translation>
    </message>
    <message>
        <source>Contact Sheet</source>
        <translation>Kontaktbogen</translation>
    </message>
    <message>
        <source>%1 px</source>
        <translation>%1 px</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>Hell</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Dunkel</translation>
    </message>
    <message>
        <source>Checkerboard</source>
        <translation>Schachbrett</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>Automatisch</translation>
    </message>
    <message>
        <source>Black</source>
        <translation>Schwarz</translation>
    </message>
    <message>
        <source>White</source>
        <translation>Weiß</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Blau</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>Rot</translation>
    </message>
    <message>
        <source>Optimized</source>
        <translation>Optimiert</translation>
    </message>
    <message>
        <source>Original</source>
        <translation>Original</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Größe:</translation>
    </message>
    <message>
        <source>Background:</source>
        <translation>Hintergrund:</translation>
    </message>
    <message>
        <source>Tint:</source>
        <translation>Tönung:</translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>Fassung:</translation>
    </message>
    <message numerus="yes">
        <source>%n icon(s)</source>
        <translation>
            <numerusform>%n Icon</numerusform>
            <numerusform>%n Icons</numerusform>
        </translation>
    </message>
    <message>
        <source>Export Contact Sheet</source>
        <translation>Kontaktbogen exportieren</translation>
    </message>
    <message>
        <source>PNG images (*.png)</source>
        <translation>PNG-Bilder (*.png)</translation>
    </message>
    <message>
        <source>The contact sheet could not be exported.</source>
        <translation>Der Kontaktbogen konnte nicht exportiert werden.</translation>
    </message>
    <message>
        <source>%1 could not be written: %2</source>
        <translation>%1 konnte nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>ContactSheetExport</name>
    <message>
        <source>The picture would be too large.</source>
        <translation>Das Bild wäre zu groß.</translation>
    </message>
    <message>
        <source>The picture could not be encoded as PNG.</source>
        <translation>Das Bild konnte nicht als PNG kodiert werden.</translation>
    </message>
</context>
<context>
    <name>ContactSheetModel</name>
    <message>
        <source>No optimized version: showing the original.</source>
        <translation>Keine optimierte Fassung: Das Original wird gezeigt.</translation>
    </message>
    <message>
        <source>Cannot be drawn.</source>
        <translation>Kann nicht gezeichnet werden.</translation>
    </message>
    <message>
        <source>Hardly visible on this background.</source>
        <translation>Auf diesem Hintergrund kaum sichtbar.</translation>
    </message>
    <message numerus="yes">
        <source>Looks different after optimizing at this size (%n pixels changed).</source>
        <translation>
            <numerusform>Sieht nach dem Optimieren in dieser Größe anders aus (%n Pixel geändert).</numerusform>
            <numerusform>Sieht nach dem Optimieren in dieser Größe anders aus (%n Pixel geändert).</numerusform>
        </translation>
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
    <name>FileReplacement</name>
    <message>
        <source>Changed during the run; left as it is.</source>
        <translation>Während des Laufs geändert; bleibt, wie es ist.</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>The file no longer exists.</source>
        <translation>Die Datei existiert nicht mehr.</translation>
    </message>
    <message>
        <source>Cannot replace %1: %2</source>
        <translation>%1 kann nicht ersetzt werden: %2</translation>
    </message>
</context>
<context>
    <name>FileResults</name>
    <message>
        <source>, </source>
        <translation>, </translation>
    </message>
    <message>
        <source>%1 · %2 → %3 (saved %4)</source>
        <translation>%1 · %2 → %3 (%4 gespart)</translation>
    </message>
    <message>
        <source>%1 %</source>
        <translation>%1 %</translation>
    </message>
    <message numerus="yes">
        <source>%Ln already optimal</source>
        <translation>
            <numerusform>%Ln bereits optimal</numerusform>
            <numerusform>%Ln bereits optimal</numerusform>
        </translation>
    </message>
    <message>
        <source>Optimized</source>
        <translation>Optimiert</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Fehlgeschlagen</translation>
    </message>
    <message>
        <source>Not run</source>
        <translation>Nicht ausgeführt</translation>
    </message>
    <message>
        <source>Looks different</source>
        <translation>Sieht anders aus</translation>
    </message>
    <message>
        <source>Already optimal</source>
        <translation>Bereits optimal</translation>
    </message>
    <message numerus="yes">
        <source>%Ln files optimized</source>
        <translation>
            <numerusform>%Ln Datei optimiert</numerusform>
            <numerusform>%Ln Dateien optimiert</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln failed</source>
        <translation>
            <numerusform>%Ln fehlgeschlagen</numerusform>
            <numerusform>%Ln fehlgeschlagen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln not run</source>
        <translation>
            <numerusform>%Ln nicht ausgeführt</numerusform>
            <numerusform>%Ln nicht ausgeführt</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln kept as they were</source>
        <translation>
            <numerusform>%Ln blieb, wie sie war</numerusform>
            <numerusform>%Ln blieben, wie sie waren</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln pixel(s) changed at %1×%2 px.</source>
        <translation>
            <numerusform>%Ln Pixel bei %1×%2 px geändert.</numerusform>
            <numerusform>%Ln Pixel bei %1×%2 px geändert.</numerusform>
        </translation>
    </message>
    <message>
        <source>Its original markup is in the output.</source>
        <translation>Die Ausgabe enthält ihr ursprüngliches Markup.</translation>
    </message>
    <message>
        <source>The file was left as it was.</source>
        <translation>Die Datei blieb, wie sie war.</translation>
    </message>
    <message>
        <source>“Use Optimized Anyway” in the row&apos;s menu puts svgo&apos;s output in its place.</source>
        <translation>„Optimierte Fassung trotzdem verwenden“ im Menü der Zeile setzt stattdessen die Ausgabe von svgo ein.</translation>
    </message>
    <message>
        <source>“Use Optimized Anyway” in the row&apos;s menu writes it.</source>
        <translation>„Optimierte Fassung trotzdem verwenden“ im Menü der Zeile schreibt sie.</translation>
    </message>
    <message numerus="yes">
        <source>%1: %Ln files</source>
        <translation>
            <numerusform>%1: %Ln Datei</numerusform>
            <numerusform>%1: %Ln Dateien</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 instead of %2</source>
        <translation>%1 statt %2</translation>
    </message>
    <message>
        <source>Precision %1</source>
        <translation>Genauigkeit %1</translation>
    </message>
</context>
<context>
    <name>FileTable</name>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Restore Originals…</source>
        <translation>Originale wiederherstellen …</translation>
    </message>
    <message>
        <source>Drop SVG files or folders here</source>
        <translation>SVG-Dateien oder Ordner hierher ziehen</translation>
    </message>
    <message>
        <source>Use Optimized Anyway</source>
        <translation>Optimierte Fassung trotzdem verwenden</translation>
    </message>
    <message>
        <source>Why Smaller?</source>
        <translation>Warum kleiner?</translation>
    </message>
</context>
<context>
    <name>FolderListing</name>
    <message>
        <source>1 file was skipped: its name is not valid UTF-8</source>
        <translation>1 Datei wurde übersprungen: ihr Name ist kein gültiges UTF-8</translation>
    </message>
    <message>
        <source>%1 files were skipped: their names are not valid UTF-8</source>
        <translation>%1 Dateien wurden übersprungen: ihre Namen sind kein gültiges UTF-8</translation>
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
    <message>
        <source>CRLF (Windows)</source>
        <translation>CRLF (Windows)</translation>
    </message>
    <message>
        <source>LF (macOS, Linux)</source>
        <translation>LF (macOS, Linux)</translation>
    </message>
    <message>
        <source>Line Endings:</source>
        <translation>Zeilenenden:</translation>
    </message>
    <message>
        <source>Remember the results of unchanged files</source>
        <translation>Ergebnisse unveränderter Dateien merken</translation>
    </message>
    <message>
        <source>A file optimized before with the same bytes, options and svgo is answered at once instead of being optimized again.</source>
        <translation>Eine Datei, die schon einmal mit denselben Bytes, Optionen und demselben svgo optimiert wurde, ist sofort fertig, statt erneut optimiert zu werden.</translation>
    </message>
    <message>
        <source>Optimizing:</source>
        <translation>Optimieren:</translation>
    </message>
</context>
<context>
    <name>HeldBackOutput</name>
    <message>
        <source>%1 no longer exists</source>
        <translation>%1 existiert nicht mehr</translation>
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
    <name>InputGuard</name>
    <message>
        <source>Empty file</source>
        <translation>Leere Datei</translation>
    </message>
    <message>
        <source>Unknown text encoding %1</source>
        <translation>Unbekannte Textkodierung %1</translation>
    </message>
    <message>
        <source>The file is not valid %1 text</source>
        <translation>Die Datei ist kein gültiger %1-Text</translation>
    </message>
    <message>
        <source>Not an SVG document</source>
        <translation>Kein SVG-Dokument</translation>
    </message>
    <message>
        <source>The file is not valid UTF-8 text and declares no encoding</source>
        <translation>Die Datei ist kein gültiger UTF-8-Text und gibt keine Kodierung an</translation>
    </message>
    <message>
        <source>Not a regular file: only files are read, not devices, pipes or folders.</source>
        <translation>Keine normale Datei: gelesen werden nur Dateien, keine Geräte, Pipes oder Ordner.</translation>
    </message>
    <message>
        <source>The file is larger than %1 MiB, the most Mirandel reads.</source>
        <translation>Die Datei ist größer als %1 MiB, das Höchste, was Mirandel liest.</translation>
    </message>
</context>
<context>
    <name>Inspector</name>
    <message>
        <source>Replace Files?</source>
        <translation>Dateien ersetzen?</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) in “%1” will be replaced by the optimized ones.</source>
        <translation>
            <numerusform>%n Datei in „%1“ wird durch die optimierte ersetzt.</numerusform>
            <numerusform>%n Dateien in „%1“ werden durch die optimierten ersetzt.</numerusform>
        </translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Ersetzen</translation>
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
        <translation>&amp;Ansicht</translation>
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
        <source>Restore Originals…</source>
        <translation>Originale wiederherstellen …</translation>
    </message>
    <message>
        <source>About Mirandel</source>
        <translation>Über Mirandel</translation>
    </message>
    <message>
        <source>Optimize</source>
        <translation>Optimieren</translation>
    </message>
    <message>
        <source>Stop the optimization and close the window?</source>
        <translation>Optimierung stoppen und das Fenster schließen?</translation>
    </message>
    <message>
        <source>Files not optimized yet stay as they are.</source>
        <translation>Noch nicht optimierte Dateien bleiben, wie sie sind.</translation>
    </message>
    <message>
        <source>Stop and Close</source>
        <translation>Stoppen und schließen</translation>
    </message>
    <message>
        <source>Contact Sheet</source>
        <translation>Kontaktbogen</translation>
    </message>
    <message>
        <source>Why Smaller?</source>
        <translation>Warum kleiner?</translation>
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
        <source>%1 is written by %2 of this run already.</source>
        <translation>%1 wird in diesem Durchlauf schon von %2 geschrieben.</translation>
    </message>
    <message>
        <source>The same file as %1, which this run optimizes already.</source>
        <translation>Dieselbe Datei wie %1, die dieser Lauf bereits optimiert.</translation>
    </message>
</context>
<context>
    <name>OptimizerRun</name>
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
        <source>The file no longer exists.</source>
        <translation>Die Datei existiert nicht mehr.</translation>
    </message>
    <message>
        <source>Cannot convert the file to UTF-8: %1</source>
        <translation>Die Datei kann nicht in UTF-8 umgewandelt werden: %1</translation>
    </message>
    <message>
        <source>%1 files were optimized and can be restored; %2 were left as they were.</source>
        <translation>%1 Dateien wurden optimiert und können wiederhergestellt werden; %2 blieben, wie sie waren.</translation>
    </message>
    <message>
        <source>The disk is full: %1</source>
        <translation>Der Datenträger ist voll: %1</translation>
    </message>
    <message>
        <source>No more files were replaced. %1 %2</source>
        <translation>Es wurden keine weiteren Dateien ersetzt. %1 %2</translation>
    </message>
    <message>
        <source>Left as it was: %1</source>
        <translation>Blieb, wie sie war: %1</translation>
    </message>
    <message>
        <source>The disk is full.</source>
        <translation>Der Datenträger ist voll.</translation>
    </message>
    <message>
        <source>Cannot copy the file into the output folder: %1</source>
        <translation>Die Datei kann nicht in den Ausgabeordner kopiert werden: %1</translation>
    </message>
    <message>
        <source>The link leads round in a circle and names no file.</source>
        <translation>Die Verknüpfung führt im Kreis und nennt keine Datei.</translation>
    </message>
    <message>
        <source>The link points to %1, which does not exist.</source>
        <translation>Die Verknüpfung zeigt auf %1, das nicht existiert.</translation>
    </message>
    <message>
        <source>svgo took longer than %1 s</source>
        <translation>svgo brauchte länger als %1 s</translation>
    </message>
    <message>
        <source>Cannot write the output: %1</source>
        <translation>Die Ausgabe kann nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>Optimized without %1</source>
        <translation>Optimiert ohne %1</translation>
    </message>
    <message numerus="yes">
        <source>Optimized without %n of svgo&apos;s plugins</source>
        <translation>
            <numerusform>Optimiert ohne %n Plugin von svgo</numerusform>
            <numerusform>Optimiert ohne %n Plugins von svgo</numerusform>
        </translation>
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
    <message>
        <source>The original of %1 was not kept.</source>
        <translation>Das Original von %1 wurde nicht aufbewahrt.</translation>
    </message>
    <message>
        <source>The original could not be recorded, so the file was not overwritten: %1</source>
        <translation>Das Original konnte nicht vermerkt werden, daher wurde die Datei nicht überschrieben: %1</translation>
    </message>
</context>
<context>
    <name>OutputFormat</name>
    <message>
        <source>CSS</source>
        <translation>CSS</translation>
    </message>
    <message>
        <source>SVG Sprite</source>
        <translation>SVG-Sprite</translation>
    </message>
    <message>
        <source>JSON</source>
        <translation>JSON</translation>
    </message>
    <message>
        <source>Wrapped</source>
        <translation>Umschlossen</translation>
    </message>
</context>
<context>
    <name>OutputFormatSection</name>
    <message>
        <source>Unique IDs</source>
        <translation>Eindeutige IDs</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>Puts each file&apos;s name in front of its IDs, so gradients and clip paths of icons pasted into one page stay apart</source>
        <translation>Setzt den Namen jeder Datei vor ihre IDs, damit Verläufe und Beschneidungspfade von Symbolen auf einer gemeinsamen Seite getrennt bleiben</translation>
    </message>
    <message>
        <source>Wrapped: the SVG elements in their wrappers.</source>
        <translation>Umschlossen: die SVG-Elemente in ihren Umschließungen.</translation>
    </message>
    <message>
        <source>CSS: one rule with a data URI per file.</source>
        <translation>CSS: eine Regel mit einer Daten-URI je Datei.</translation>
    </message>
    <message>
        <source>SVG Sprite: one symbol per file.</source>
        <translation>SVG-Sprite: ein Symbol je Datei.</translation>
    </message>
    <message>
        <source>JSON: file name to markup.</source>
        <translation>JSON: Dateiname zu Markup.</translation>
    </message>
    <message>
        <source>CSS output cannot be wrapped: the result would no longer be CSS.</source>
        <translation>CSS-Ausgabe kann nicht umschlossen werden: das Ergebnis wäre kein CSS mehr.</translation>
    </message>
    <message>
        <source>SVG Sprite output cannot be wrapped: the result would no longer be one SVG document.</source>
        <translation>SVG-Sprite-Ausgabe kann nicht umschlossen werden: das Ergebnis wäre kein einzelnes SVG-Dokument mehr.</translation>
    </message>
    <message>
        <source>JSON output cannot be wrapped: the result would no longer be JSON.</source>
        <translation>JSON-Ausgabe kann nicht umschlossen werden: das Ergebnis wäre kein JSON mehr.</translation>
    </message>
</context>
<context>
    <name>OutputReview</name>
    <message>
        <source>svgo could not make the file smaller; it stays as it was.</source>
        <translation>svgo konnte die Datei nicht verkleinern; sie bleibt, wie sie war.</translation>
    </message>
</context>
<context>
    <name>PluginSavings</name>
    <message>
        <source>The svgo at %1 can only be run as a program (%2), so its plugins cannot be applied one at a time. Choose an svgo Node package, such as the one that comes with Mirandel, in Settings.</source>
        <translation>Das svgo unter %1 lässt sich nur als Programm ausführen (%2), daher können seine Plugins nicht einzeln angewendet werden. Wählen Sie in den Einstellungen ein svgo-Node-Paket, etwa das mit Mirandel gelieferte.</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(keines)</translation>
    </message>
    <message>
        <source>The script that applies svgo&apos;s plugins one at a time is not installed.</source>
        <translation>Das Skript, das die Plugins von svgo einzeln anwendet, ist nicht installiert.</translation>
    </message>
    <message>
        <source>Node could not be started: %1</source>
        <translation>Node konnte nicht gestartet werden: %1</translation>
    </message>
    <message numerus="yes">
        <source>svgo took longer than %n second(s) and was stopped.</source>
        <translation>
            <numerusform>svgo hat länger als %n Sekunde gebraucht und wurde beendet.</numerusform>
            <numerusform>svgo hat länger als %n Sekunden gebraucht und wurde beendet.</numerusform>
        </translation>
    </message>
    <message>
        <source>Node crashed.</source>
        <translation>Node ist abgestürzt.</translation>
    </message>
    <message>
        <source>Node ended with status %1.</source>
        <translation>Node wurde mit Status %1 beendet.</translation>
    </message>
    <message>
        <source>svgo&apos;s module could not be loaded: %1</source>
        <translation>Das Modul von svgo konnte nicht geladen werden: %1</translation>
    </message>
    <message>
        <source>svgo failed: %1</source>
        <translation>svgo ist fehlgeschlagen: %1</translation>
    </message>
</context>
<context>
    <name>PluginSavingsDialog</name>
    <message numerus="yes">
        <source>%Ln byte(s) (%1)</source>
        <translation>
            <numerusform>%Ln Byte (%1)</numerusform>
            <numerusform>%Ln Byte (%1)</numerusform>
        </translation>
    </message>
    <message>
        <source>Why Smaller?</source>
        <translation>Warum kleiner?</translation>
    </message>
    <message>
        <source>Plugin</source>
        <translation>Plugin</translation>
    </message>
    <message>
        <source>Saved</source>
        <translation>Gespart</translation>
    </message>
    <message>
        <source>Changed the drawing</source>
        <translation>Hat die Zeichnung verändert</translation>
    </message>
    <message>
        <source>Reading and writing (no plugin)</source>
        <translation>Lesen und Schreiben (kein Plugin)</translation>
    </message>
    <message>
        <source>Running svgo…</source>
        <translation>svgo läuft …</translation>
    </message>
    <message>
        <source>Drawing…</source>
        <translation>Wird gezeichnet …</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Unbekannt</translation>
    </message>
    <message>
        <source>svgo %1 saved %2 in all (%3 → %4 bytes).</source>
        <translation>svgo %1 hat insgesamt %2 gespart (%3 → %4 Byte).</translation>
    </message>
    <message numerus="yes">
        <source>%n plugin(s) changed nothing and are not listed.</source>
        <translation>
            <numerusform>%n Plugin hat nichts geändert und wird nicht aufgeführt.</numerusform>
            <numerusform>%n Plugins haben nichts geändert und werden nicht aufgeführt.</numerusform>
        </translation>
    </message>
    <message>
        <source>The result looks different from the file.</source>
        <translation>Das Ergebnis sieht anders aus als die Datei.</translation>
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
    <message>
        <source>e.g. %1</source>
        <translation>z. B. %1</translation>
    </message>
    <message>
        <source>{name} is replaced by each file&apos;s name without its extension; write {{ for a plain {.</source>
        <translation>{name} wird durch den Namen jeder Datei ohne Endung ersetzt; {{ ergibt ein einfaches {.</translation>
    </message>
    <message>
        <source>For example, %1 becomes %2 for the file %3.</source>
        <translation>Zum Beispiel wird %1 für die Datei %3 zu %2.</translation>
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
    <message>
        <source>Export svgo.config.mjs…</source>
        <translation>svgo.config.mjs exportieren …</translation>
    </message>
    <message>
        <source>Export svgo Configuration</source>
        <translation>svgo-Konfiguration exportieren</translation>
    </message>
    <message>
        <source>The configuration could not be exported.</source>
        <translation>Die Konfiguration konnte nicht exportiert werden.</translation>
    </message>
    <message>
        <source>JavaScript files (*.js *.mjs *.cjs)</source>
        <translation>JavaScript-Dateien (*.js *.mjs *.cjs)</translation>
    </message>
</context>
<context>
    <name>ProfileStore</name>
    <message>
        <source>A profile needs a name.</source>
        <translation>Ein Profil braucht einen Namen.</translation>
    </message>
    <message>
        <source>There is already a profile named “%1”.</source>
        <translation>Es gibt schon ein Profil namens „%1“.</translation>
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
    <message>
        <source>Delete “%1”?</source>
        <translation>„%1“ löschen?</translation>
    </message>
    <message>
        <source>This cannot be undone.</source>
        <translation>Dies kann nicht rückgängig gemacht werden.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
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
        <source>No originals are kept for these files.</source>
        <translation>Für diese Dateien sind keine Originale aufbewahrt.</translation>
    </message>
    <message>
        <source>, </source>
        <translation>, </translation>
    </message>
    <message numerus="yes">
        <source>%1 and %Ln more</source>
        <translation>
            <numerusform>%1 und %Ln weitere</numerusform>
            <numerusform>%1 und %Ln weitere</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Restore the originals of %Ln files?</source>
        <translation>
            <numerusform>Das Original von %Ln Datei wiederherstellen?</numerusform>
            <numerusform>Die Originale von %Ln Dateien wiederherstellen?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln originals restored.</source>
        <translation>
            <numerusform>%Ln Original wiederhergestellt.</numerusform>
            <numerusform>%Ln Originale wiederhergestellt.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln could not be restored.</source>
        <translation>
            <numerusform>%Ln konnte nicht wiederhergestellt werden.</numerusform>
            <numerusform>%Ln konnten nicht wiederhergestellt werden.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ResultsSummary</name>
    <message>
        <source>Click to select the files that failed.</source>
        <translation>Klicken, um die fehlgeschlagenen Dateien auszuwählen.</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>%1 min %2 s</source>
        <translation>%1 min %2 s</translation>
    </message>
    <message numerus="yes">
        <source>%Ln files listed</source>
        <translation>
            <numerusform>%Ln Datei aufgelistet</numerusform>
            <numerusform>%Ln Dateien aufgelistet</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Originals kept for %Ln days: Edit ▸ Restore Originals</source>
        <translation>
            <numerusform>Originale werden %Ln Tag aufbewahrt: Bearbeiten ▸ Originale wiederherstellen</numerusform>
            <numerusform>Originale werden %Ln Tage aufbewahrt: Bearbeiten ▸ Originale wiederherstellen</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 gzip</source>
        <extracomment>The share the optimized files save gzip-compressed, as in &quot;18.0 % gzip&quot;</extracomment>
        <translation>%1 gzip</translation>
    </message>
    <message>
        <source>%1 brotli</source>
        <extracomment>The share the optimized files save brotli-compressed, as in &quot;15.0 % brotli&quot;</extracomment>
        <translation>%1 brotli</translation>
    </message>
</context>
<context>
    <name>RunProgress</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Less than a minute left</source>
        <translation>Weniger als eine Minute übrig</translation>
    </message>
    <message>
        <source>About %1 h %2 min left</source>
        <translation>Etwa %1 Std. %2 Min. übrig</translation>
    </message>
    <message>
        <source>Preparing…</source>
        <translation>Wird vorbereitet …</translation>
    </message>
    <message numerus="yes">
        <source>%1 of %Ln files</source>
        <translation>
            <numerusform>%1 von %Ln Datei</numerusform>
            <numerusform>%1 von %Ln Dateien</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>About %Ln min left</source>
        <translation>
            <numerusform>Noch etwa %Ln min</numerusform>
            <numerusform>Noch etwa %Ln min</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SVGFileTableModel</name>
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
    <message>
        <source>Gzip</source>
        <translation>Gzip</translation>
    </message>
    <message>
        <source>Brotli</source>
        <translation>Brotli</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <extracomment>A compressed size and the share it saves, as in &quot;1.2 KB (18.0 %)&quot;</extracomment>
        <translation>%1 (%2)</translation>
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
    <name>SetAudit</name>
    <message numerus="yes">
        <source>After optimizing, the id “%1” is defined in %n files: inlined in one page they point at each other&apos;s parts.</source>
        <translation>
            <numerusform>Nach dem Optimieren ist die ID „%1“ in %n Datei definiert: In eine Seite eingebettet, verweisen sie auf Teile der anderen.</numerusform>
            <numerusform>Nach dem Optimieren ist die ID „%1“ in %n Dateien definiert: In eine Seite eingebettet, verweisen sie auf Teile der anderen.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The id “%1” is defined in %n files: inlined in one page they point at each other&apos;s parts.</source>
        <translation>
            <numerusform>Die ID „%1“ ist in %n Datei definiert: In eine Seite eingebettet, verweisen sie auf Teile der anderen.</numerusform>
            <numerusform>Die ID „%1“ ist in %n Dateien definiert: In eine Seite eingebettet, verweisen sie auf Teile der anderen.</numerusform>
        </translation>
    </message>
    <message>
        <source>A viewBox of %1 instead of the set&apos;s usual %2.</source>
        <translation>Eine viewBox von %1 statt der in der Sammlung üblichen %2.</translation>
    </message>
    <message>
        <source>Colours other than currentColor, in a set that mostly uses currentColor: these do not follow the text colour.</source>
        <translation>Andere Farben als currentColor in einer Sammlung, die meist currentColor verwendet: Diese folgen nicht der Textfarbe.</translation>
    </message>
    <message>
        <source>Scripts (&lt;script&gt;): pages and tools that take icons may refuse or run them.</source>
        <translation>Skripte (&lt;script&gt;): Seiten und Werkzeuge, die Icons übernehmen, weisen sie womöglich ab oder führen sie aus.</translation>
    </message>
    <message>
        <source>Event handlers (onload, onclick…): scripts in attributes.</source>
        <translation>Ereignis-Handler (onload, onclick …): Skripte in Attributen.</translation>
    </message>
    <message>
        <source>Embedded HTML (&lt;foreignObject&gt;): drawn differently, or not at all, outside browsers.</source>
        <translation>Eingebettetes HTML (&lt;foreignObject&gt;): außerhalb von Browsern anders oder gar nicht gezeichnet.</translation>
    </message>
    <message>
        <source>Bitmaps or linked files (&lt;image&gt;).</source>
        <translation>Bitmaps oder verknüpfte Dateien (&lt;image&gt;).</translation>
    </message>
    <message>
        <source>Text (&lt;text&gt;): it looks as the fonts where it is shown.</source>
        <translation>Text (&lt;text&gt;): Er sieht aus wie die Schriften dort, wo er gezeigt wird.</translation>
    </message>
    <message>
        <source>No viewBox: these icons cannot be scaled to the size they are shown at.</source>
        <translation>Keine viewBox: Diese Icons lassen sich nicht auf die Größe skalieren, in der sie gezeigt werden.</translation>
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
    <message>
        <source>Not Now</source>
        <translation>Nicht jetzt</translation>
    </message>
    <message>
        <source>Quit %1</source>
        <translation>%1 beenden</translation>
    </message>
</context>
<context>
    <name>SvgPane</name>
    <message>
        <source>No preview</source>
        <translation>Keine Vorschau</translation>
    </message>
    <message>
        <source>Drawing…</source>
        <translation>Wird gezeichnet …</translation>
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
    <message>
        <source>Optimized, not written</source>
        <translation>Optimiert, nicht geschrieben</translation>
    </message>
    <message>
        <source>Use Optimized Anyway</source>
        <translation>Optimierte Fassung trotzdem verwenden</translation>
    </message>
    <message>
        <source>Changed pixels in red</source>
        <translation>Geänderte Pixel in Rot</translation>
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
    <name>SvgoConfiguration</name>
    <message>
        <source>Cannot read the configuration file %1: %2</source>
        <translation>Die Konfigurationsdatei %1 kann nicht gelesen werden: %2</translation>
    </message>
</context>
<context>
    <name>SvgoInstallation</name>
    <message>
        <source>svgo not found</source>
        <translation>svgo nicht gefunden</translation>
    </message>
    <message>
        <source>not an svgo Node package</source>
        <translation>kein Node-Paket von svgo</translation>
    </message>
    <message>
        <source>svgo %1 is not version 4</source>
        <translation>svgo %1 ist nicht Version 4</translation>
    </message>
    <message>
        <source>svgo&apos;s module is missing</source>
        <translation>das Modul von svgo fehlt</translation>
    </message>
    <message>
        <source>node not found</source>
        <translation>node nicht gefunden</translation>
    </message>
    <message>
        <source>the worker script is not installed</source>
        <translation>das Worker-Skript ist nicht installiert</translation>
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
    <name>SvgoMessages</name>
    <message>
        <source>Node.js was not found, and svgo needs it to run. Install Node.js (on Debian and Ubuntu: the nodejs package).</source>
        <translation>Node.js wurde nicht gefunden, svgo braucht es aber. Installieren Sie Node.js (unter Debian und Ubuntu: das Paket nodejs).</translation>
    </message>
    <message>
        <source>The svgo at “%1” could not be started: %2. Choose another in Settings ▸ Advanced.</source>
        <translation>Das svgo unter „%1“ konnte nicht gestartet werden: %2. Wählen Sie unter Einstellungen ▸ Erweitert ein anderes.</translation>
    </message>
</context>
<context>
    <name>SvgoOptionsForm</name>
    <message>
        <source>Default</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Precision</source>
        <translation>Genauigkeit</translation>
    </message>
    <message>
        <source>Multipass</source>
        <translation>Mehrere Durchgänge</translation>
    </message>
    <message>
        <source>Optimizes again while the result still gets smaller</source>
        <translation>Optimiert erneut, solange das Ergebnis noch kleiner wird</translation>
    </message>
    <message>
        <source>Keep viewBox</source>
        <translation>viewBox behalten</translation>
    </message>
    <message>
        <source>Keep Title and Description</source>
        <translation>Titel und Beschreibung behalten</translation>
    </message>
    <message>
        <source>Colors to currentColor</source>
        <translation>Farben zu currentColor</translation>
    </message>
    <message>
        <source>Remove Width and Height</source>
        <translation>Breite und Höhe entfernen</translation>
    </message>
    <message>
        <source>The chosen configuration file decides these options.</source>
        <translation>Die gewählte Konfigurationsdatei bestimmt diese Optionen.</translation>
    </message>
    <message>
        <source>Check rendering</source>
        <translation>Darstellung prüfen</translation>
    </message>
    <message>
        <source>Compares the rendering of each optimized file with its original and keeps the original where they differ</source>
        <translation>Vergleicht die Darstellung jeder optimierten Datei mit dem Original und behält das Original, wo sie sich unterscheiden</translation>
    </message>
    <message>
        <source>Keep original when not smaller</source>
        <translation>Original behalten, wenn nicht kleiner</translation>
    </message>
    <message>
        <source>Remove Scripts</source>
        <translation>Skripte entfernen</translation>
    </message>
    <message>
        <source>Drops &lt;script&gt; elements, event handlers such as onload and javascript: links</source>
        <translation>Entfernt &lt;script&gt;-Elemente, Ereignis-Handler wie onload und javascript:-Links</translation>
    </message>
    <message>
        <source>Unique IDs in each file</source>
        <translation>Eindeutige IDs in jeder Datei</translation>
    </message>
    <message>
        <source>Puts each file&apos;s name in front of its IDs and style classes, so icons inlined in one page stay apart</source>
        <translation>Stellt jeder ID und Stilklasse den Namen ihrer Datei voran, damit in eine Seite eingebettete Icons getrennt bleiben</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>Automatisch</translation>
    </message>
    <message>
        <source>Digits after the decimal point in numbers and path data; Automatic: per file the fewest that still look the same</source>
        <translation>Nachkommastellen in Zahlen und Pfaddaten; Automatisch: je Datei die wenigsten, die noch gleich aussehen</translation>
    </message>
    <message>
        <source>Find plugins that change the drawing</source>
        <translation>Plugins finden, die die Zeichnung verändern</translation>
    </message>
    <message>
        <source>When an output looks different, optimizes the file again without the svgo plugins that change its drawing; off: keeps the original</source>
        <translation>Sieht eine Ausgabe anders aus, wird die Datei ohne die svgo-Plugins, die ihre Zeichnung verändern, noch einmal optimiert; aus: das Original bleibt</translation>
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
    <name>SvgoWorkerPool</name>
    <message>
        <source>The svgo configuration cannot be used: %1</source>
        <translation>Die svgo-Konfiguration kann nicht verwendet werden: %1</translation>
    </message>
    <message>
        <source>svgo ended unexpectedly while optimizing this file.</source>
        <translation>svgo wurde beim Optimieren dieser Datei unerwartet beendet.</translation>
    </message>
    <message>
        <source>svgo took longer than %1 s</source>
        <translation>svgo brauchte länger als %1 s</translation>
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
    <message>
        <source>Output – %1</source>
        <extracomment>Title of a text-mode run&apos;s output window: its number among the open ones and its time</extracomment>
        <translation>Ausgabe – %1</translation>
    </message>
    <message>
        <source>Output %1 – %2</source>
        <translation>Ausgabe %1 – %2</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>%1 · %2 gzip · %3 brotli</source>
        <extracomment>The output&apos;s size, then its size compressed with gzip and with brotli</extracomment>
        <translation>%1 · %2 gzip · %3 brotli</translation>
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
    <name>UpdateDownloader</name>
    <message>
        <source>The update feed names no file to download.</source>
        <translation>Der Aktualisierungs-Feed nennt keine Datei zum Herunterladen.</translation>
    </message>
    <message>
        <source>The download could not be saved as %1.</source>
        <translation>Der Download konnte nicht als %1 gespeichert werden.</translation>
    </message>
    <message>
        <source>The update could not be downloaded: %1</source>
        <translation>Die Aktualisierung konnte nicht heruntergeladen werden: %1</translation>
    </message>
    <message>
        <source>The download ended before the whole file arrived.</source>
        <translation>Der Download endete, bevor die ganze Datei angekommen war.</translation>
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
<context>
    <name>VisualCheck</name>
    <message>
        <source>svgo&apos;s output is empty.</source>
        <translation>Die Ausgabe von svgo ist leer.</translation>
    </message>
    <message>
        <source>svgo removed symbols or their uses.</source>
        <translation>svgo hat Symbole oder ihre Verwendungen entfernt.</translation>
    </message>
    <message>
        <source>The optimized file cannot be drawn.</source>
        <translation>Die optimierte Datei kann nicht gezeichnet werden.</translation>
    </message>
    <message>
        <source>The optimized file looks different.</source>
        <translation>Die optimierte Datei sieht anders aus.</translation>
    </message>
    <message>
        <source>Mirandel could not draw this file; it was left as it was</source>
        <translation>Mirandel konnte diese Datei nicht zeichnen; sie blieb, wie sie war</translation>
    </message>
    <message>
        <source>svgo removed a transform but kept its transform-origin.</source>
        <translation>svgo hat eine Transformation entfernt, aber ihren transform-origin behalten.</translation>
    </message>
</context>
</TS>
