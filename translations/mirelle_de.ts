<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>CAutoMarkRule</name>
    <message>
        <location filename="../mirelleui/resultstore/CAutoMarkRule.cpp" line="+131"/>
        <source>less detail</source>
        <translation>weniger Details</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>HEIC beside other formats</source>
        <translation>HEIC neben anderen Formaten</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>lower resolution</source>
        <translation>geringere Auflösung</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>not a camera original</source>
        <translation>kein Original der Kamera</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>older</source>
        <translation>älter</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>no better than the kept photo</source>
        <translation>nicht besser als das behaltene Foto</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>byte copy of the kept photo</source>
        <translation>bytegleiche Kopie des behaltenen Fotos</translation>
    </message>
</context>
<context>
    <name>CDecisionStore</name>
    <message>
        <location filename="../mirelleui/scansession/CDecisionStore.cpp" line="+73"/>
        <source>Remembered &quot;Not duplicates&quot; decisions are off: %1 (%2). The file was left as it is.</source>
        <translation>Gespeicherte „Keine Duplikate“-Entscheidungen sind deaktiviert: %1 (%2). Die Datei bleibt unverändert.</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>the SQLite driver of Qt is not installed</source>
        <translation>der SQLite-Treiber von Qt ist nicht installiert</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>its folder cannot be created</source>
        <translation>der zugehörige Ordner kann nicht erstellt werden</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>it is not a file</source>
        <translation>es handelt sich nicht um eine Datei</translation>
    </message>
    <message>
        <location line="+14"/>
        <location line="+3"/>
        <location line="+22"/>
        <source>the file is damaged or not a decisions file</source>
        <translation>die Datei ist beschädigt oder keine Entscheidungsdatei</translation>
    </message>
    <message>
        <location line="-7"/>
        <source>the file is of another version (%1; this program reads %2)</source>
        <translation>die Datei stammt aus einer anderen Version (%1; dieses Programm liest %2)</translation>
    </message>
</context>
<context>
    <name>CDriveCheck</name>
    <message>
        <location filename="../mirelleui/fileops/CDriveCheck.cpp" line="+144"/>
        <source>the drive is full</source>
        <translation>das Laufwerk ist voll</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>its trash may hold only %1 MB</source>
        <translation>sein Papierkorb darf nur %1 MB aufnehmen</translation>
    </message>
</context>
<context>
    <name>CDupPicsMgr</name>
    <message>
        <location filename="../mirelleui/duppicsmgr/CDupPicsMgrSources.cpp" line="+254"/>
        <source>Minimum file size</source>
        <translation>Minimale Dateigröße</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Thumbnail size</source>
        <translation>Vorschaugröße</translation>
    </message>
    <message>
        <source>the last copy of its group stays</source>
        <translation type="vanished">die letzte Kopie ihrer Gruppe bleibt</translation>
    </message>
    <message numerus="yes">
        <location filename="../mirelleui/duppicsmgr/CDupPicsMgrDelete.cpp" line="+267"/>
        <source>%n photo(s) could not be deleted:</source>
        <translation>
            <numerusform>%n Foto konnte nicht gelöscht werden:</numerusform>
            <numerusform>%n Fotos konnten nicht gelöscht werden:</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>%n photo(s) could not be removed:</source>
        <translation>
            <numerusform>%n Foto konnte nicht entfernt werden:</numerusform>
            <numerusform>%n Fotos konnten nicht entfernt werden:</numerusform>
        </translation>
    </message>
    <message>
        <source>Failed to delete %1!</source>
        <translation type="vanished">%1 konnte nicht gelöscht werden!</translation>
    </message>
    <message>
        <source>Failed to remove %1!</source>
        <translation type="vanished">%1 konnte nicht entfernt werden!</translation>
    </message>
    <message>
        <source>Failed to delete %1 and other %2 files!</source>
        <translation type="vanished">%1 und %2 weitere Dateien konnten nicht gelöscht werden!</translation>
    </message>
    <message>
        <source>Failed to remove %1 and other %2 files!</source>
        <translation type="vanished">%1 und %2 weitere Dateien konnten nicht entfernt werden!</translation>
    </message>
    <message>
        <location filename="../mirelleui/duppicsmgr/CDupPicsMgrExport.cpp" line="+43"/>
        <source>The results could not be saved to %1: %2.</source>
        <translation>Die Ergebnisse konnten nicht in %1 gespeichert werden: %2.</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>An export is still being written. Try again when it is done.</source>
        <translation>Ein Export wird noch geschrieben. Versuchen Sie es erneut, sobald er abgeschlossen ist.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Results cannot be exported as &quot;%1&quot;.</source>
        <translation>Ergebnisse können nicht als „%1“ exportiert werden.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Choose a file to export the results to.</source>
        <translation>Wählen Sie eine Datei, in die die Ergebnisse exportiert werden sollen.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1 is a folder. Choose a file name.</source>
        <translation>%1 ist ein Ordner. Wählen Sie einen Dateinamen.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The folder %1 cannot be written to. Choose another folder.</source>
        <translation>In den Ordner %1 kann nicht geschrieben werden. Wählen Sie einen anderen Ordner.</translation>
    </message>
</context>
<context>
    <name>CExceptionHandler</name>
    <message>
        <location filename="../public/CExceptionHandler.cpp" line="+19"/>
        <source>%1 has encountered a memory problem and needs to close.
We are sorry for the inconvenience.
You can enlarge your virtual memory and try again.</source>
        <translation>%1 hat ein Speicherproblem festgestellt und muss beendet werden.
Wir bitten um Entschuldigung.
Sie können den virtuellen Speicher vergrößern und es erneut versuchen.</translation>
    </message>
</context>
<context>
    <name>CFileDelImplement</name>
    <message numerus="yes">
        <location filename="../mirelleui/fileops/CFileDelImplement.cpp" line="+215"/>
        <source>%n file(s) are back in place.</source>
        <translation>
            <numerusform>%n Datei wurde wiederhergestellt.</numerusform>
            <numerusform>%n Dateien wurden wiederhergestellt.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 of %2 files are back in place. These could not come back:</source>
        <translation>%1 von %2 Dateien wurden wiederhergestellt. Diese konnten nicht wiederhergestellt werden:</translation>
    </message>
    <message>
        <location line="+111"/>
        <location line="+28"/>
        <source>Not removed &quot;%1&quot;: %2</source>
        <translation>„%1“ nicht entfernt: %2</translation>
    </message>
    <message>
        <location line="-8"/>
        <source>Not removed &quot;%1&quot;: the removal could not be recorded for undo: %2</source>
        <translation>„%1“ nicht entfernt: das Entfernen konnte nicht zum Rückgängigmachen protokolliert werden: %2</translation>
    </message>
    <message>
        <location line="+81"/>
        <source>Cannot delete &quot;%1&quot;: %2</source>
        <translation>„%1“ kann nicht gelöscht werden: %2</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Cannot move &quot;%1&quot; to the trash: %2</source>
        <translation>„%1“ kann nicht in den Papierkorb verschoben werden: %2</translation>
    </message>
    <message>
        <location line="+68"/>
        <source>Skipped &quot;%1&quot;: it no longer exists</source>
        <translation>„%1“ übersprungen: existiert nicht mehr</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Skipped &quot;%1&quot;: the path in the destination would be too long</source>
        <translation>„%1“ übersprungen: der Pfad am Zielort wäre zu lang</translation>
    </message>
    <message>
        <location line="+12"/>
        <location line="+23"/>
        <source>Cannot move &quot;%1&quot; to &quot;%2&quot;: %3</source>
        <translation>„%1“ kann nicht nach „%2“ verschoben werden: %3</translation>
    </message>
</context>
<context>
    <name>CRemovalCoordinator</name>
    <message>
        <location filename="../mirelleui/removal/CRemovalCoordinator.cpp" line="+200"/>
        <source>the last copy of its group stays</source>
        <translation>die letzte Kopie ihrer Gruppe bleibt</translation>
    </message>
</context>
<context>
    <name>CRemovalGuard</name>
    <message>
        <location filename="../mirelleui/fileops/CRemovalGuard.cpp" line="+42"/>
        <source>not a photo of the scan</source>
        <translation>kein Foto der Suche</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>it no longer exists</source>
        <translation>existiert nicht mehr</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>it is no longer a plain file</source>
        <translation>ist keine gewöhnliche Datei mehr</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>changed since the scan</source>
        <translation>seit der Suche geändert</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>the kept copy is gone</source>
        <translation>die behaltene Kopie fehlt</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>the kept copy changed since the scan</source>
        <translation>die behaltene Kopie wurde seit der Suche geändert</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>the kept copy is this same file</source>
        <translation>die behaltene Kopie ist dieselbe Datei</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>another removal does not finish</source>
        <translation>ein anderes Entfernen wird nicht fertig</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>the scan recorded no content to confirm the kept copy by, and it differs from this file</source>
        <translation>der Scan hat keinen Inhalt festgehalten, mit dem sich die behaltene Kopie bestätigen ließe, und sie weicht von dieser Datei ab</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>the kept copy is in the trash</source>
        <translation>die behaltene Kopie liegt im Papierkorb</translation>
    </message>
    <message>
        <source>the kept copy is in a cache folder, which programs empty at will</source>
        <translation>die behaltene Kopie liegt in einem Cache-Ordner, den Programme nach Belieben leeren</translation>
    </message>
    <message>
        <source>the kept copy is held in memory only, which is emptied when the computer shuts down</source>
        <translation>die behaltene Kopie liegt nur im Arbeitsspeicher, der beim Herunterfahren geleert wird</translation>
    </message>
    <message>
        <source>the kept copy is in a folder for temporary files, which the system empties</source>
        <translation>die behaltene Kopie liegt in einem Ordner für temporäre Dateien, den das System leert</translation>
    </message>
    <message>
        <source>the kept copy is in a system snapshot, which is deleted in time</source>
        <translation>die behaltene Kopie liegt in einem System-Schnappschuss, der mit der Zeit gelöscht wird</translation>
    </message>
    <message>
        <source>the kept copy may be this same file, seen through another mount</source>
        <translation>die behaltene Kopie ist vielleicht dieselbe Datei, über einen anderen Einhängepunkt gesehen</translation>
    </message>
</context>
<context>
    <name>CRemovalJournal</name>
    <message>
        <location filename="../mirelleui/fileops/CRemovalJournal.cpp" line="+87"/>
        <source>No removals have been recorded (%1 does not exist).</source>
        <translation>Es wurden keine Entfernungsvorgänge protokolliert (%1 existiert nicht).</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The removal journal %1 is not a file.</source>
        <translation>Das Entfernungsprotokoll %1 ist keine Datei.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The folder of the removal journal %1 cannot be created.</source>
        <translation>Der Ordner des Entfernungsprotokolls %1 kann nicht erstellt werden.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>The removal journal %1 cannot be opened: %2</source>
        <translation>Das Entfernungsprotokoll %1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <location line="+9"/>
        <location line="+55"/>
        <source>The removal journal %1 is damaged (%2); undo is off and the file is left as it is.</source>
        <translation>Das Entfernungsprotokoll %1 ist beschädigt (%2); Rückgängigmachen ist deaktiviert und die Datei bleibt unverändert.</translation>
    </message>
    <message>
        <location line="-30"/>
        <source>The removal journal %1 cannot be written: %2</source>
        <translation>Das Entfernungsprotokoll %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>%1 is not a removal journal of this program; undo is off and the file is left as it is.</source>
        <translation>%1 ist kein Entfernungsprotokoll dieses Programms; Rückgängigmachen ist deaktiviert und die Datei bleibt unverändert.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The removal journal %1 was written by another version of the program (format %2, this one reads %3); undo is off and the file is left as it is.</source>
        <translation>Das Entfernungsprotokoll %1 wurde von einer anderen Programmversion geschrieben (Format %2, diese Version liest %3); Rückgängigmachen ist deaktiviert und die Datei bleibt unverändert.</translation>
    </message>
    <message>
        <location line="+177"/>
        <source>No removal %1 is recorded.</source>
        <translation>Der Entfernungsvorgang %1 ist nicht protokolliert.</translation>
    </message>
</context>
<context>
    <name>CRemovalUndo</name>
    <message>
        <location filename="../mirelleui/fileops/CRemovalUndo.cpp" line="+115"/>
        <source>it is no longer in the trash (was the trash emptied?)</source>
        <translation>nicht mehr im Papierkorb (wurde der Papierkorb geleert?)</translation>
    </message>
    <message>
        <source>the trash it went to is not there (%1): is its drive connected?</source>
        <translation>der Papierkorb, in den es kam, ist nicht da (%1): ist sein Laufwerk angeschlossen?</translation>
    </message>
    <message>
        <source>the folder it went to is not there (%1): is its drive connected?</source>
        <translation>der Ordner, in den es kam, ist nicht da (%1): ist sein Laufwerk angeschlossen?</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>it is no longer at %1</source>
        <translation>nicht mehr unter %1 vorhanden</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>another file now takes its place</source>
        <translation>am ursprünglichen Ort befindet sich jetzt eine andere Datei</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>it has changed since it was removed (size or modification time differ)</source>
        <translation>seit dem Entfernen geändert (Größe oder Änderungszeit weichen ab)</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>its folder now leads to %1 (a link took its place since the removal)</source>
        <translation>sein Ordner führt jetzt nach %1 (seit dem Entfernen steht dort eine Verknüpfung)</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>its folder cannot be created again</source>
        <translation>sein Ordner kann nicht wieder angelegt werden</translation>
    </message>
    <message>
        <location line="+44"/>
        <source>There is no removal left to undo.</source>
        <translation>Es gibt keinen Entfernungsvorgang mehr, der rückgängig gemacht werden kann.</translation>
    </message>
    <message>
        <location line="+40"/>
        <source>Removal %1 has nothing left to undo.</source>
        <translation>Beim Entfernungsvorgang %1 gibt es nichts mehr rückgängig zu machen.</translation>
    </message>
</context>
<context>
    <name>CReportSummary</name>
    <message>
        <location filename="../report/CReportSummary.cpp" line="+68"/>
        <source>Unknown drive</source>
        <translation>Unbekanntes Laufwerk</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Similar photos: summary</source>
        <translation>Ähnliche Fotos: Zusammenfassung</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Scanned: %1</source>
        <translation>Durchsucht: %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Similarity threshold: %1%</source>
        <translation>Ähnlichkeitsschwelle: %1 %</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Groups: %1</source>
        <translation>Gruppen: %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Photos in groups: %1 (%2)</source>
        <translation>Fotos in Gruppen: %1 (%2)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Marked for removal: %1</source>
        <translation>Zum Entfernen markiert: %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Space to free: %1 (%2 bytes)</source>
        <translation>Freizugebender Speicher: %1 (%2 Bytes)</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>%1 marked</source>
        <translation>%1 markiert</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Space to free per drive:</source>
        <translation>Freizugebender Speicher je Laufwerk:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Space to free per folder:</source>
        <translation>Freizugebender Speicher je Ordner:</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Scanned</source>
        <translation>Durchsucht</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Similarity threshold</source>
        <translation>Ähnlichkeitsschwelle</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Groups</source>
        <translation>Gruppen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Photos in groups</source>
        <translation>Fotos in Gruppen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Marked for removal</source>
        <translation>Zum Entfernen markiert</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+9"/>
        <source>Space to free</source>
        <translation>Freizugebender Speicher</translation>
    </message>
    <message>
        <location line="-1"/>
        <source>Marked</source>
        <translation>Markiert</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Per drive</source>
        <translation>Je Laufwerk</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Drive</source>
        <translation>Laufwerk</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Per folder</source>
        <translation>Je Ordner</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
</context>
<context>
    <name>CompareTable</name>
    <message>
        <location filename="../qml/CompareTable.qml" line="+25"/>
        <source>Unknown</source>
        <translation>Unbekannt</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Camera original</source>
        <translation>Kameraoriginal</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Copy or edit</source>
        <translation>Kein Original</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1%</source>
        <translation>%1 %</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Kept</source>
        <translation>Bleibt</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Marked: %1</source>
        <translation>Markiert: %1</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Marked</source>
        <translation>Markiert</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Resolution</source>
        <translation>Auflösung</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>File size</source>
        <translation>Dateigröße</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Origin</source>
        <translation>Herkunft</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Similarity</source>
        <translation>Ähnlichkeit</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Mark</source>
        <translation>Markierung</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Left</source>
        <translation>Links</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Right</source>
        <translation>Rechts</translation>
    </message>
</context>
<context>
    <name>DecisionsDialog</name>
    <message>
        <location filename="../qml/DecisionsDialog.qml" line="+19"/>
        <source>Not duplicates</source>
        <translation>Keine Duplikate</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>You have not said of any photos that they are not duplicates.</source>
        <translation>Sie haben noch keine Fotos als „Keine Duplikate“ gekennzeichnet.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>These photos are never put into one group, even after a rename. Forget a decision to let the next scan group them again.</source>
        <translation>Diese Fotos werden nie derselben Gruppe zugeordnet, auch nicht nach dem Umbenennen. Wenn Sie eine Entscheidung vergessen, kann die nächste Suche sie wieder gruppieren.</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Remembered decisions are not available.</source>
        <translation>Gespeicherte Entscheidungen sind nicht verfügbar.</translation>
    </message>
    <message>
        <location line="+56"/>
        <source>Forget</source>
        <translation>Vergessen</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Forget all</source>
        <translation>Alle vergessen</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>DetailsPanel</name>
    <message>
        <location filename="../qml/DetailsPanel.qml" line="+17"/>
        <source>Resolution</source>
        <translation>Auflösung</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>File size</source>
        <translation>Dateigröße</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Camera and place</source>
        <translation>Kamera und Ort</translation>
    </message>
</context>
<context>
    <name>DropZone</name>
    <message>
        <location filename="../qml/DropZone.qml" line="+70"/>
        <source>Drop photo folders here</source>
        <translation>Fotoordner hier ablegen</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>or choose the folders to search for duplicate and similar photos</source>
        <translation>oder wählen Sie die Ordner, in denen nach doppelten und ähnlichen Fotos gesucht werden soll</translation>
    </message>
    <message>
        <location line="+12"/>
        <location line="+35"/>
        <source>Add folder</source>
        <translation>Ordner hinzufügen</translation>
    </message>
    <message>
        <location line="-28"/>
        <location line="+35"/>
        <source>Whole computer</source>
        <translation>Gesamter Computer</translation>
    </message>
    <message>
        <location line="-14"/>
        <source>Drop more folders here</source>
        <translation>Weitere Ordner hier ablegen</translation>
    </message>
</context>
<context>
    <name>EmptyResults</name>
    <message>
        <location filename="../qml/EmptyResults.qml" line="+39"/>
        <source>All duplicates removed</source>
        <translation>Alle Duplikate entfernt</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No camera originals among the similar photos</source>
        <translation>Keine Kameraoriginale unter den ähnlichen Fotos</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No similar photos found</source>
        <translation>Keine ähnlichen Fotos gefunden</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Every marked copy is gone. Your library is tidy.</source>
        <translation>Alle markierten Kopien sind entfernt. Ihre Sammlung ist aufgeräumt.</translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>&quot;Original photos only&quot; left out %n similar photo(s): their groups hold no camera original. Turn the option off in the scan options to see them.</source>
        <translation>
            <numerusform>„Nur Originalfotos“ hat %n ähnliches Foto ausgelassen: Seine Gruppe enthält kein Kameraoriginal. Schalten Sie die Option in den Suchoptionen aus, um es zu sehen.</numerusform>
            <numerusform>„Nur Originalfotos“ hat %n ähnliche Fotos ausgelassen: Ihre Gruppen enthalten kein Kameraoriginal. Schalten Sie die Option in den Suchoptionen aus, um sie zu sehen.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The scanned places hold no duplicate or similar photos at this similarity. Try a lower similarity or other folders.</source>
        <translation>An den durchsuchten Orten gibt es bei dieser Ähnlichkeit keine doppelten oder ähnlichen Fotos. Versuchen Sie eine geringere Ähnlichkeit oder andere Ordner.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Scan other folders</source>
        <translation>Andere Ordner durchsuchen</translation>
    </message>
</context>
<context>
    <name>Fallback</name>
    <message>
        <location filename="../plugins/mainframe/Fallback.qml" line="+9"/>
        <source>Mirelle</source>
        <translation>Mirelle</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>The screens could not be loaded. Please reinstall the program.</source>
        <translation>Die Oberfläche konnte nicht geladen werden. Bitte installieren Sie das Programm neu.</translation>
    </message>
</context>
<context>
    <name>GroupCard</name>
    <message numerus="yes">
        <source>%n photo(s), %1</source>
        <translation type="vanished">
            <numerusform>%n Foto, %1</numerusform>
            <numerusform>%n Fotos, %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../qml/GroupCard.qml" line="+123"/>
        <source>Group %1 · %n photo(s) · %2</source>
        <translation>
            <numerusform>Gruppe %1 · %n Foto · %2</numerusform>
            <numerusform>Gruppe %1 · %n Fotos · %2</numerusform>
        </translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Identical</source>
        <translation>Identisch</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Similar</source>
        <translation>Ähnlich</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Auto mark</source>
        <translation>Auto-Markieren</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Mark the surplus copies of this group, keeping the best one</source>
        <translation>Überzählige Kopien dieser Gruppe markieren, die beste behalten</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Not duplicates</source>
        <translation>Keine Duplikate</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>These photos are different pictures: never group them together again</source>
        <translation>Diese Fotos sind verschiedene Bilder: nie wieder gemeinsam gruppieren</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Remove the marks of this group</source>
        <translation>Markierungen dieser Gruppe aufheben</translation>
    </message>
</context>
<context>
    <name>Helpers</name>
    <message>
        <location filename="../qml/Helpers.qml" line="+95"/>
        <source>Thumbnail size</source>
        <translation>Vorschaugröße</translation>
    </message>
    <message>
        <location line="+41"/>
        <source>Orignal photo only</source>
        <translation>Nur Originalfotos</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Minimum file size</source>
        <translation>Minimale Dateigröße</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1%</source>
        <translation>%1 %</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Find rotated and mirrored copies</source>
        <translation>Gedrehte und gespiegelte Kopien finden</translation>
    </message>
    <message numerus="yes">
        <location line="+23"/>
        <source>%n folder(s) could not be opened</source>
        <translation>
            <numerusform>%n Ordner konnte nicht geöffnet werden</numerusform>
            <numerusform>%n Ordner konnten nicht geöffnet werden</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%n file(s) could not be read</source>
        <translation>
            <numerusform>%n Datei konnte nicht gelesen werden</numerusform>
            <numerusform>%n Dateien konnten nicht gelesen werden</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%n file(s) damaged or not pictures</source>
        <translation>
            <numerusform>%n Datei beschädigt oder kein Bild</numerusform>
            <numerusform>%n Dateien beschädigt oder keine Bilder</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%n picture(s) too large to open</source>
        <translation>
            <numerusform>%n Bild zu groß zum Öffnen</numerusform>
            <numerusform>%n Bilder zu groß zum Öffnen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <source>%n network folder(s) not entered</source>
        <translation>
            <numerusform>%n Netzwerkordner nicht betreten</numerusform>
            <numerusform>%n Netzwerkordner nicht betreten</numerusform>
        </translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Passed over: %1</source>
        <translation>Übersprungen: %1</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>, </source>
        <translation>, </translation>
    </message>
    <message>
        <source>0 KB</source>
        <translation type="vanished">0 KB</translation>
    </message>
    <message>
        <source>B</source>
        <translation type="vanished">B</translation>
    </message>
    <message>
        <source>KB</source>
        <translation type="vanished">KB</translation>
    </message>
    <message>
        <source>MB</source>
        <translation type="vanished">MB</translation>
    </message>
    <message>
        <source>GB</source>
        <translation type="vanished">GB</translation>
    </message>
    <message>
        <source>TB</source>
        <translation type="vanished">TB</translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>Removable drive</source>
        <translation type="vanished">Wechseldatenträger</translation>
    </message>
    <message>
        <source>Some marked photos are on a removable drive, which has no recycle bin. Delete them permanently?</source>
        <translation type="vanished">Einige markierte Fotos liegen auf einem Wechseldatenträger ohne Papierkorb. Endgültig löschen?</translation>
    </message>
    <message>
        <location filename="../qml/Main.qml" line="+115"/>
        <source>Permanent deletion cannot be undone.</source>
        <translation>Endgültiges Löschen kann nicht rückgängig gemacht werden.</translation>
    </message>
    <message>
        <source>Recycle bin too small</source>
        <translation type="vanished">Papierkorb zu klein</translation>
    </message>
    <message>
        <source>The recycle bin cannot hold all marked photos. Delete them permanently instead?</source>
        <translation type="vanished">Der Papierkorb kann nicht alle markierten Fotos aufnehmen. Stattdessen endgültig löschen?</translation>
    </message>
    <message numerus="yes">
        <location line="-13"/>
        <source>%1: %n photo(s), %2</source>
        <translation>
            <numerusform>%1: %n Foto, %2</numerusform>
            <numerusform>%1: %n Fotos, %2</numerusform>
        </translation>
    </message>
    <message>
        <location line="+9"/>
        <source>The trash cannot take them all</source>
        <translation>Der Papierkorb kann nicht alle aufnehmen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The trash cannot take the marked photos on these drives:</source>
        <translation>Der Papierkorb kann die markierten Fotos auf diesen Laufwerken nicht aufnehmen:</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Delete those photos permanently? The other marked photos still go to the trash.</source>
        <translation>Diese Fotos endgültig löschen? Die übrigen markierten Fotos kommen weiterhin in den Papierkorb.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Undo not available</source>
        <translation>Rückgängigmachen nicht möglich</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>This removal cannot be recorded, so it could not be undone later (%1). Remove the photos anyway?</source>
        <translation>Dieses Entfernen kann nicht protokolliert und daher später nicht rückgängig gemacht werden (%1). Die Fotos trotzdem entfernen?</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Not enough space</source>
        <translation>Nicht genügend Speicherplatz</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>There is not enough free space to move the marked photos to %1. Nothing was moved.</source>
        <translation>In %1 ist nicht genügend freier Speicherplatz, um die markierten Fotos dorthin zu verschieben. Es wurde nichts verschoben.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Delete permanently</source>
        <translation>Endgültig löschen</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Remove without undo</source>
        <translation>Ohne Rückgängigmachen entfernen</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Mirelle — similar photo finder</source>
        <translation>Mirelle — Suche nach ähnlichen Fotos</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>The scan failed</source>
        <translation>Der Scan ist fehlgeschlagen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>These folders went away during the scan (deleted or unmounted), so its results would be incomplete:</source>
        <translation>Diese Ordner sind während des Scans verschwunden (gelöscht oder ausgehängt), daher wären seine Ergebnisse unvollständig:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Scan again once they are back.</source>
        <translation>Scannen Sie erneut, sobald sie wieder da sind.</translation>
    </message>
    <message>
        <location line="+22"/>
        <location line="+5"/>
        <source>Scan stopped</source>
        <translation>Suche angehalten</translation>
    </message>
    <message>
        <location line="-4"/>
        <source>The scan was stopped. The groups found so far are shown; your places and options are kept.</source>
        <translation>Die Suche wurde angehalten. Die bisher gefundenen Gruppen werden angezeigt; Ihre Orte und Optionen bleiben erhalten.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The scan was stopped before it found similar photos. Your places and options are kept.</source>
        <translation>Die Suche wurde angehalten, bevor ähnliche Fotos gefunden wurden. Ihre Orte und Optionen bleiben erhalten.</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Some places were not added</source>
        <translation>Einige Orte wurden nicht hinzugefügt</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Only folders on this computer can be scanned. These were not added:</source>
        <translation>Durchsucht werden können nur Ordner auf diesem Computer. Diese wurden nicht hinzugefügt:</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Some photos were not removed</source>
        <translation>Einige Fotos wurden nicht entfernt</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The photo was not removed</source>
        <translation>Das Foto wurde nicht entfernt</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Failed to remove %1!</source>
        <translation>%1 konnte nicht entfernt werden!</translation>
    </message>
    <message>
        <location line="+163"/>
        <source>Move this photo to the trash?</source>
        <translation>Dieses Foto in den Papierkorb verschieben?</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Do not ask again</source>
        <translation>Nicht mehr fragen</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Asking can be turned back on in the scan options</source>
        <translation>Die Nachfrage lässt sich in den Suchoptionen wieder einschalten</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Move to trash</source>
        <translation>In den Papierkorb</translation>
    </message>
    <message>
        <location line="+38"/>
        <source>%1 was moved to the trash.</source>
        <translation>%1 wurde in den Papierkorb verschoben.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
</context>
<context>
    <name>NoticeDialog</name>
    <message>
        <location filename="../qml/NoticeDialog.qml" line="+38"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>PageBar</name>
    <message>
        <location filename="../qml/PageBar.qml" line="+26"/>
        <source>Previous page</source>
        <translation>Vorherige Seite</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1 / %2</source>
        <translation>%1 / %2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Page %1 of %2</source>
        <translation>Seite %1 von %2</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Next page</source>
        <translation>Nächste Seite</translation>
    </message>
</context>
<context>
    <name>PhotoTile</name>
    <message>
        <location filename="../qml/PhotoTile.qml" line="+110"/>
        <source>Identical</source>
        <translation>Identisch</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Burst</source>
        <translation>Serie</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>A frame of a burst: another moment, so it is not marked unless it is an exact copy</source>
        <translation>Bild einer Serienaufnahme: ein anderer Moment, daher wird es nur markiert, wenn es eine exakte Kopie ist</translation>
    </message>
    <message>
        <location line="+39"/>
        <source>%1%</source>
        <translation>%1 %</translation>
    </message>
    <message>
        <location line="+48"/>
        <source>Kept</source>
        <translation>Bleibt</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Marked: %1</source>
        <translation>Markiert: %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Marked</source>
        <translation>Markiert</translation>
    </message>
    <message>
        <source>%1% alike</source>
        <translation type="vanished">%1 % ähnlich</translation>
    </message>
    <message>
        <location line="-42"/>
        <source>Similarity to the group&apos;s first photo</source>
        <translation>Ähnlichkeit zum ersten Foto der Gruppe</translation>
    </message>
    <message>
        <source>%1 × %2 · %3</source>
        <translation type="vanished">%1 × %2 · %3</translation>
    </message>
    <message>
        <source>Marked for removal</source>
        <translation type="vanished">Zum Entfernen markiert</translation>
    </message>
    <message>
        <source>Keep</source>
        <translation type="vanished">Behalten</translation>
    </message>
</context>
<context>
    <name>PreviewPage</name>
    <message>
        <location filename="../qml/PreviewPage.qml" line="+232"/>
        <source>Back to results</source>
        <translation>Zurück zu den Ergebnissen</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Previous photo</source>
        <translation>Vorheriges Foto</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Photo %1 of %2</source>
        <translation>Foto %1 von %2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>group %1</source>
        <translation>Gruppe %1</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Next photo</source>
        <translation>Nächstes Foto</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Zoom out</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>%1%</source>
        <translation type="vanished">%1 %</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Fit</source>
        <translation>Eingepasst</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>%1×</source>
        <translation>%1×</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Zoom in</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Not duplicates</source>
        <translation>Keine Duplikate</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>These two photos are different pictures: never group them together again</source>
        <translation>Diese beiden Fotos sind verschiedene Bilder: nie wieder gemeinsam gruppieren</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Single view</source>
        <translation>Einzelansicht</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Compare</source>
        <translation>Vergleichen</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Left: %1</source>
        <translation>Links: %1</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Right: %1</source>
        <translation>Rechts: %1</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>Mark left</source>
        <translation>Links markieren</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Mark right</source>
        <translation>Rechts markieren</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Mark for removal</source>
        <translation>Zum Entfernen markieren</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Show in folder</source>
        <translation>Im Ordner anzeigen</translation>
    </message>
</context>
<context>
    <name>ProgressPage</name>
    <message>
        <location filename="../qml/ProgressPage.qml" line="+19"/>
        <source>Finding photos</source>
        <translation>Fotos werden gesucht</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Comparing photos</source>
        <translation>Fotos werden verglichen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Grouping similar photos</source>
        <translation>Ähnliche Fotos werden gruppiert</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>%1 of %2 files read</source>
        <translation>%1 von %2 Dateien gelesen</translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%Ln file(s) read</source>
        <translation>
            <numerusform>%Ln Datei gelesen</numerusform>
            <numerusform>%Ln Dateien gelesen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%Ln photo(s) in groups</source>
        <translation>
            <numerusform>%Ln Foto in Gruppen</numerusform>
            <numerusform>%Ln Fotos in Gruppen</numerusform>
        </translation>
    </message>
    <message>
        <location line="+111"/>
        <source>Stopping the scan…</source>
        <translation>Suche wird angehalten…</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Scanning your photos</source>
        <translation>Ihre Fotos werden durchsucht</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Keeping what was found so far</source>
        <translation>Das bisher Gefundene bleibt erhalten</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1% done · %2</source>
        <translation>%1 % erledigt · %2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Starting</source>
        <translation>Start</translation>
    </message>
    <message>
        <location line="+35"/>
        <source>Groups found</source>
        <translation>Gefundene Gruppen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Duplicate size</source>
        <translation>Größe der Duplikate</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Elapsed</source>
        <translation>Vergangen</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Cancelling…</source>
        <translation>Wird abgebrochen…</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <location filename="../mirelleui/duppicsmgr/CDupPicsMgrSources.cpp" line="-246"/>
        <source>Orignal photo only</source>
        <translation>Nur Originalfotos</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>70%</source>
        <translation>70 %</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Find rotated and mirrored copies</source>
        <translation>Gedrehte und gespiegelte Kopien finden</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Minimum file size</source>
        <translation>Minimale Dateigröße</translation>
    </message>
    <message>
        <location filename="../mirelleui/models/CGroupSortFilterProxyModel.cpp" line="+123"/>
        <source>Group %1, %2 photos, %3</source>
        <translation>Gruppe %1, %2 Fotos, %3</translation>
    </message>
    <message>
        <location filename="../mirelleui/models/CPhotosItemModel.cpp" line="+306"/>
        <source>Long: %1</source>
        <translation>Länge: %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Lat: %1</source>
        <translation>Breite: %1</translation>
    </message>
</context>
<context>
    <name>QuestionDialog</name>
    <message>
        <location filename="../qml/QuestionDialog.qml" line="+11"/>
        <source>Continue</source>
        <translation>Weiter</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <location line="+43"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>RegroupPopup</name>
    <message>
        <location filename="../qml/RegroupPopup.qml" line="+26"/>
        <source>Similarity</source>
        <translation>Ähnlichkeit</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1%</source>
        <translation>%1 %</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Groups the photos found again at this similarity. Marks are cleared.</source>
        <translation>Gruppiert die gefundenen Fotos mit dieser Ähnlichkeit neu. Markierungen werden aufgehoben.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Re-group</source>
        <translation>Neu gruppieren</translation>
    </message>
</context>
<context>
    <name>RemovalDialog</name>
    <message numerus="yes">
        <location filename="../qml/RemovalDialog.qml" line="+48"/>
        <source>Remove %n marked photo(s)?</source>
        <translation>
            <numerusform>%n markiertes Foto entfernen?</numerusform>
            <numerusform>%n markierte Fotos entfernen?</numerusform>
        </translation>
    </message>
    <message>
        <location line="+8"/>
        <source>%1 will be freed.</source>
        <translation>%1 werden freigegeben.</translation>
    </message>
    <message numerus="yes">
        <location line="+27"/>
        <source>In %n group(s) every photo is marked. Removing them keeps no copy of those photos.</source>
        <translation>
            <numerusform>In %n Gruppe sind alle Fotos markiert. Beim Entfernen bleibt keine Kopie dieser Fotos erhalten.</numerusform>
            <numerusform>In %n Gruppen sind alle Fotos markiert. Beim Entfernen bleibt keine Kopie dieser Fotos erhalten.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Move to the recycle bin</source>
        <translation>In den Papierkorb verschieben</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Move to the trash</source>
        <translation>In den Papierkorb verschieben</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Delete permanently</source>
        <translation>Endgültig löschen</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Move to a folder</source>
        <translation>In einen Ordner verschieben</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>No folder chosen</source>
        <translation>Kein Ordner ausgewählt</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Choose…</source>
        <translation>Auswählen…</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Permanent deletion cannot be undone.</source>
        <translation>Endgültiges Löschen kann nicht rückgängig gemacht werden.</translation>
    </message>
    <message>
        <source>Permanently deleted photos cannot be restored.</source>
        <translation type="vanished">Endgültig gelöschte Fotos können nicht wiederhergestellt werden.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Remove this way from now on without asking</source>
        <translation>Künftig ohne Nachfrage auf diese Weise entfernen</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
</context>
<context>
    <name>RemovalProgressDialog</name>
    <message>
        <location filename="../qml/RemovalProgressDialog.qml" line="+27"/>
        <source>Stopping…</source>
        <translation>Wird angehalten…</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Removing photos</source>
        <translation>Fotos werden entfernt</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>%1 of %2 photos · %3 freed</source>
        <translation>%1 von %2 Fotos · %3 freigegeben</translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%n photo(s) removed</source>
        <translation>
            <numerusform>%n Foto entfernt</numerusform>
            <numerusform>%n Fotos entfernt</numerusform>
        </translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1%</source>
        <translation>%1 %</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Preparing…</source>
        <translation>Wird vorbereitet…</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Cancelling…</source>
        <translation>Wird abgebrochen…</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>RemovalSummary</name>
    <message>
        <location filename="../qml/RemovalSummary.qml" line="+44"/>
        <source>%1 deleted permanently. This cannot be undone.</source>
        <translation>%1 endgültig gelöscht. Das lässt sich nicht rückgängig machen.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 moved to %2.</source>
        <translation>%1 nach %2 verschoben.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 moved to the recycle bin.</source>
        <translation>%1 in den Papierkorb verschoben.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>%1 moved to the trash.</source>
        <translation>%1 in den Papierkorb verschoben.</translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <source>%n photo(s) removed</source>
        <translation>
            <numerusform>%n Foto entfernt</numerusform>
            <numerusform>%n Fotos entfernt</numerusform>
        </translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No photos were removed</source>
        <translation>Es wurden keine Fotos entfernt</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Undo puts them back where they were.</source>
        <translation>„Rückgängig“ legt sie wieder an ihren Platz.</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>ResultsPage</name>
    <message>
        <location filename="../qml/ResultsPage.qml" line="+52"/>
        <source>CSV files (*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>JSON files (*.json)</source>
        <translation>JSON-Dateien (*.json)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>PDF documents (*.pdf)</source>
        <translation>PDF-Dokumente (*.pdf)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Web pages (*.html)</source>
        <translation>Webseiten (*.html)</translation>
    </message>
    <message>
        <location line="+159"/>
        <source>The results were not exported</source>
        <translation>Die Ergebnisse wurden nicht exportiert</translation>
    </message>
    <message>
        <location line="+78"/>
        <source>Similar photos</source>
        <translation>Ähnliche Fotos</translation>
    </message>
    <message numerus="yes">
        <location line="+8"/>
        <source>%n group(s)</source>
        <translation>
            <numerusform>%n Gruppe</numerusform>
            <numerusform>%n Gruppen</numerusform>
        </translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 in similar photos</source>
        <translation>%1 in ähnlichen Fotos</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Each group keeps its best photo; the copies are marked. Click a photo to change its mark, or use &quot;Clear marks&quot;.</source>
        <translation>Jede Gruppe behält ihr bestes Foto; die Kopien sind markiert. Klicken Sie auf ein Foto, um seine Markierung zu ändern, oder wählen Sie &quot;Markierungen aufheben&quot;.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>These folders went away during the scan (deleted or unmounted); their photos may be missing: %1</source>
        <translation>Diese Ordner sind während des Scans verschwunden (gelöscht oder ausgehängt); ihre Fotos fehlen womöglich: %1</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Exporting…</source>
        <translation>Wird exportiert…</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Export…</source>
        <translation>Exportieren…</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Results as CSV…</source>
        <translation>Ergebnisse als CSV…</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Results as JSON…</source>
        <translation>Ergebnisse als JSON…</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Printable summary (PDF)…</source>
        <translation>Druckbare Zusammenfassung (PDF)…</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Summary as web page (HTML)…</source>
        <translation>Zusammenfassung als Webseite (HTML)…</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Undo last removal</source>
        <translation>Letztes Entfernen rückgängig machen</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Bring back the photos last moved to the recycle bin or to a folder</source>
        <translation>Die zuletzt in den Papierkorb oder in einen Ordner verschobenen Fotos zurückholen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Bring back the photos last moved to the trash or to a folder</source>
        <translation>Die zuletzt in den Papierkorb oder in einen Ordner verschobenen Fotos zurückholen</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>History…</source>
        <translation>Verlauf…</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>New scan</source>
        <translation>Neue Suche</translation>
    </message>
    <message numerus="yes">
        <location line="+18"/>
        <source>%n photo(s) marked</source>
        <translation>
            <numerusform>%n Foto markiert</numerusform>
            <numerusform>%n Fotos markiert</numerusform>
        </translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1 to free</source>
        <translation>%1 freizugeben</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Auto mark</source>
        <translation>Automatisch markieren</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>In every group, mark the copies to remove and keep the best photo</source>
        <translation>In jeder Gruppe die zu entfernenden Kopien markieren und das beste Foto behalten</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Clear marks</source>
        <translation>Markierungen aufheben</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Similarity %1%</source>
        <translation>Ähnlichkeit %1 %</translation>
    </message>
    <message>
        <source>Thumbnail size (Ctrl + and Ctrl −)</source>
        <translation type="vanished">Vorschaugröße (Strg + und Strg −)</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>Remove marked</source>
        <translation>Markierte entfernen</translation>
    </message>
    <message>
        <location line="+52"/>
        <source>Re-grouping at %1% similarity…</source>
        <translation>Neugruppierung bei %1 % Ähnlichkeit…</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Groups %1–%2 of %3</source>
        <translation>Gruppen %1–%2 von %3</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Arrows move · Space marks · Enter previews · Delete removes</source>
        <translation>Pfeiltasten bewegen · Leertaste markiert · Eingabe zeigt an · Entf entfernt</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Export results</source>
        <translation>Ergebnisse exportieren</translation>
    </message>
</context>
<context>
    <name>ScanOptions</name>
    <message>
        <location filename="../qml/ScanOptions.qml" line="+40"/>
        <source>Scan options</source>
        <translation>Suchoptionen</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Photos to compare</source>
        <translation>Zu vergleichende Fotos</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Original photos only</source>
        <translation>Nur Originalfotos</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Groups that hold a camera photo, with all their copies (resized, sent or edited ones too); groups without any camera photo, such as graphics, screenshots and downloads, are left out</source>
        <translation>Gruppen mit einem Kamerafoto, samt all seinen Kopien (auch verkleinerte, verschickte oder bearbeitete); Gruppen ohne Kamerafoto, etwa Grafiken, Bildschirmfotos und Downloads, bleiben außen vor</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>All images</source>
        <translation>Alle Bilder</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Minimum file size</source>
        <translation>Minimale Dateigröße</translation>
    </message>
    <message>
        <location line="+33"/>
        <source>Similarity</source>
        <translation>Ähnlichkeit</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>%1%</source>
        <translation>%1 %</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>More photos</source>
        <translation>Weitere Fotos</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Closer matches</source>
        <translation>Genauere Treffer</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Find rotated and mirrored copies</source>
        <translation>Gedrehte und gespiegelte Kopien finden</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Also match copies that were turned or flipped; the scan takes longer</source>
        <translation>Auch gedrehte oder gespiegelte Kopien erkennen; die Suche dauert länger</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Ask before removing photos</source>
        <translation>Vor dem Entfernen von Fotos fragen</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Not duplicates list…</source>
        <translation>Liste „Keine Duplikate“…</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Photos you said are not duplicates of each other</source>
        <translation>Fotos, die Sie als „Keine Duplikate“ gekennzeichnet haben</translation>
    </message>
    <message>
        <location line="-109"/>
        <source>Smaller files are not compared</source>
        <translation>Kleinere Dateien werden nicht verglichen</translation>
    </message>
</context>
<context>
    <name>SourceList</name>
    <message>
        <location filename="../qml/SourceList.qml" line="+21"/>
        <source>Places to scan</source>
        <translation>Zu durchsuchende Orte</translation>
    </message>
    <message numerus="yes">
        <location line="+6"/>
        <source>%n place(s)</source>
        <translation>
            <numerusform>%n Ort</numerusform>
            <numerusform>%n Orte</numerusform>
        </translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Clear all</source>
        <translation>Alle entfernen</translation>
    </message>
    <message>
        <location line="+45"/>
        <source>System drive (/)</source>
        <translation>Systemlaufwerk (/)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Drive %1</source>
        <translation>Laufwerk %1</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Remove from the list</source>
        <translation>Aus der Liste entfernen</translation>
    </message>
</context>
<context>
    <name>StartPage</name>
    <message>
        <location filename="../qml/StartPage.qml" line="+39"/>
        <source>Find duplicate and similar photos</source>
        <translation>Doppelte und ähnliche Fotos finden</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Choose where to look, check the options and start the scan. Nothing is removed without your say.</source>
        <translation>Wählen Sie, wo gesucht werden soll, prüfen Sie die Optionen und starten Sie die Suche. Nichts wird ohne Ihre Zustimmung entfernt.</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>The scan engine could not be loaded, so no scan can run. Please reinstall the program.</source>
        <translation>Das Suchmodul konnte nicht geladen werden, daher ist keine Suche möglich. Bitte installieren Sie das Programm neu.</translation>
    </message>
    <message>
        <location line="+54"/>
        <source>Scan</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Add a folder to start</source>
        <translation>Fügen Sie einen Ordner hinzu, um zu beginnen</translation>
    </message>
</context>
<context>
    <name>StepRow</name>
    <message>
        <location filename="../qml/StepRow.qml" line="+68"/>
        <source>Waiting</source>
        <translation>Wartet</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>%1%</source>
        <translation>%1 %</translation>
    </message>
</context>
<context>
    <name>ThumbImage</name>
    <message>
        <location filename="../qml/ThumbImage.qml" line="+102"/>
        <source>Cannot preview</source>
        <translation>Keine Vorschau möglich</translation>
    </message>
</context>
<context>
    <name>ThumbSizeControl</name>
    <message>
        <location filename="../qml/ThumbSizeControl.qml" line="+38"/>
        <source>Thumbnail size (Ctrl + and Ctrl −)</source>
        <translation>Vorschaugröße (Strg + und Strg −)</translation>
    </message>
</context>
<context>
    <name>UndoDialog</name>
    <message>
        <location filename="../qml/UndoDialog.qml" line="+30"/>
        <source>Undo is not available.</source>
        <translation>Rückgängigmachen ist nicht verfügbar.</translation>
    </message>
    <message>
        <location line="+31"/>
        <source>Moved to a folder</source>
        <translation>In einen Ordner verschoben</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Moved to the recycle bin</source>
        <translation>In den Papierkorb verschoben</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Moved to the trash</source>
        <translation>In den Papierkorb verschoben</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Removal history</source>
        <translation>Verlauf entfernter Fotos</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>No removal to undo. Photos moved to the recycle bin or to a folder are listed here.</source>
        <translation>Es gibt nichts rückgängig zu machen. Fotos, die in den Papierkorb oder in einen Ordner verschoben wurden, werden hier aufgeführt.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No removal to undo. Photos moved to the trash or to a folder are listed here.</source>
        <translation>Nichts rückgängig zu machen. Fotos, die in den Papierkorb oder in einen Ordner verschoben wurden, stehen hier.</translation>
    </message>
    <message numerus="yes">
        <location line="+29"/>
        <source>%n photo(s)</source>
        <translation>
            <numerusform>%n Foto</numerusform>
            <numerusform>%n Fotos</numerusform>
        </translation>
    </message>
    <message>
        <location line="+7"/>
        <source>undone</source>
        <translation>rückgängig gemacht</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 still to undo</source>
        <translation>%1 noch rückgängig zu machen</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Bringing the photos back…</source>
        <translation>Fotos werden zurückgeholt…</translation>
    </message>
    <message>
        <location line="+41"/>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Undo last removal</source>
        <translation>Letztes Entfernen rückgängig machen</translation>
    </message>
</context>
<context>
    <name>ZoomPane</name>
    <message>
        <location filename="../qml/ZoomPane.qml" line="+70"/>
        <source>Cannot preview this photo</source>
        <translation>Für dieses Foto ist keine Vorschau möglich</translation>
    </message>
</context>
</TS>
