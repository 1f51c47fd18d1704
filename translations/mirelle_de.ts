<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>CDupPicsMgr</name>
    <message>
        <source>Minimum file size</source>
        <translation>Minimale Dateigröße</translation>
    </message>
</context>
<context>
    <name>CExceptionHandler</name>
    <message>
        <source>%1 has encountered a memory problem and needs to close.
We are sorry for the inconvenience.
You can enlarge your virtual memory and try again.</source>
        <translation>%1 hat ein Speicherproblem festgestellt und muss beendet werden.
Wir bitten um Entschuldigung.
Sie können den virtuellen Speicher vergrößern und es erneut versuchen.</translation>
    </message>
</context>
<context>
    <name>DetailsPanel</name>
    <message>
        <source>Resolution</source>
        <translation>Auflösung</translation>
    </message>
    <message>
        <source>File size</source>
        <translation>Dateigröße</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Camera and place</source>
        <translation>Kamera und Ort</translation>
    </message>
</context>
<context>
    <name>DropZone</name>
    <message>
        <source>Drop photo folders here</source>
        <translation>Fotoordner hier ablegen</translation>
    </message>
    <message>
        <source>or choose the folders to search for duplicate and similar photos</source>
        <translation>oder wählen Sie die Ordner, in denen nach doppelten und ähnlichen Fotos gesucht werden soll</translation>
    </message>
    <message>
        <source>Add folder</source>
        <translation>Ordner hinzufügen</translation>
    </message>
    <message>
        <source>Whole computer</source>
        <translation>Gesamter Computer</translation>
    </message>
    <message>
        <source>Drop more folders here</source>
        <translation>Weitere Ordner hier ablegen</translation>
    </message>
</context>
<context>
    <name>EmptyResults</name>
    <message>
        <source>All duplicates removed</source>
        <translation>Alle Duplikate entfernt</translation>
    </message>
    <message>
        <source>No similar photos found</source>
        <translation>Keine ähnlichen Fotos gefunden</translation>
    </message>
    <message>
        <source>Every marked copy is gone. Your library is tidy.</source>
        <translation>Alle markierten Kopien sind entfernt. Ihre Sammlung ist aufgeräumt.</translation>
    </message>
    <message>
        <source>The scanned places hold no duplicate or similar photos at this similarity. Try a lower similarity or other folders.</source>
        <translation>An den durchsuchten Orten gibt es bei dieser Ähnlichkeit keine doppelten oder ähnlichen Fotos. Versuchen Sie eine geringere Ähnlichkeit oder andere Ordner.</translation>
    </message>
    <message>
        <source>Scan other folders</source>
        <translation>Andere Ordner durchsuchen</translation>
    </message>
</context>
<context>
    <name>Fallback</name>
    <message>
        <source>Mirelle</source>
        <translation>Mirelle</translation>
    </message>
    <message>
        <source>The screens could not be loaded. Please reinstall the program.</source>
        <translation>Die Oberfläche konnte nicht geladen werden. Bitte installieren Sie das Programm neu.</translation>
    </message>
</context>
<context>
    <name>GroupCard</name>
    <message numerus="yes">
        <source>%n photo(s), %1</source>
        <translation>
            <numerusform>%n Foto, %1</numerusform>
            <numerusform>%n Fotos, %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Identical</source>
        <translation>Identisch</translation>
    </message>
    <message>
        <source>Similar</source>
        <translation>Ähnlich</translation>
    </message>
    <message>
        <source>Auto mark</source>
        <translation>Automatisch markieren</translation>
    </message>
    <message>
        <source>Mark the surplus copies of this group, keeping the best one</source>
        <translation>Überzählige Kopien dieser Gruppe markieren, die beste behalten</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>Remove the marks of this group</source>
        <translation>Markierungen dieser Gruppe aufheben</translation>
    </message>
</context>
<context>
    <name>Helpers</name>
    <message>
        <source>Orignal photo only</source>
        <translation>Nur Originalfotos</translation>
    </message>
    <message>
        <source>Minimum file size</source>
        <translation>Minimale Dateigröße</translation>
    </message>
    <message>
        <source>%1%</source>
        <translation>%1 %</translation>
    </message>
    <message>
        <source>0 KB</source>
        <translation>0 KB</translation>
    </message>
    <message>
        <source>B</source>
        <translation>B</translation>
    </message>
    <message>
        <source>KB</source>
        <translation>KB</translation>
    </message>
    <message>
        <source>MB</source>
        <translation>MB</translation>
    </message>
    <message>
        <source>GB</source>
        <translation>GB</translation>
    </message>
    <message>
        <source>TB</source>
        <translation>TB</translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>Removable drive</source>
        <translation>Wechseldatenträger</translation>
    </message>
    <message>
        <source>Some marked photos are on a removable drive, which has no recycle bin. Delete them permanently?</source>
        <translation>Einige markierte Fotos liegen auf einem Wechseldatenträger ohne Papierkorb. Endgültig löschen?</translation>
    </message>
    <message>
        <source>Recycle bin too small</source>
        <translation>Papierkorb zu klein</translation>
    </message>
    <message>
        <source>The recycle bin cannot hold all marked photos. Delete them permanently instead?</source>
        <translation>Der Papierkorb kann nicht alle markierten Fotos aufnehmen. Stattdessen endgültig löschen?</translation>
    </message>
    <message>
        <source>Not enough space</source>
        <translation>Nicht genügend Speicherplatz</translation>
    </message>
    <message>
        <source>There is not enough free space to move the marked photos to %1. Nothing was moved.</source>
        <translation>In %1 ist nicht genügend freier Speicherplatz, um die markierten Fotos dorthin zu verschieben. Es wurde nichts verschoben.</translation>
    </message>
    <message>
        <source>Delete permanently</source>
        <translation>Endgültig löschen</translation>
    </message>
    <message>
        <source>Mirelle — similar photo finder</source>
        <translation>Mirelle — Suche nach ähnlichen Fotos</translation>
    </message>
    <message>
        <source>Some photos were not removed</source>
        <translation>Einige Fotos wurden nicht entfernt</translation>
    </message>
    <message>
        <source>The photo was not removed</source>
        <translation>Das Foto wurde nicht entfernt</translation>
    </message>
    <message>
        <source>Failed to remove %1!</source>
        <translation>%1 konnte nicht entfernt werden!</translation>
    </message>
</context>
<context>
    <name>NoticeDialog</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>PageBar</name>
    <message>
        <source>Previous page</source>
        <translation>Vorherige Seite</translation>
    </message>
    <message>
        <source>%1 / %2</source>
        <translation>%1 / %2</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>Seite %1 von %2</translation>
    </message>
    <message>
        <source>Next page</source>
        <translation>Nächste Seite</translation>
    </message>
</context>
<context>
    <name>PhotoTile</name>
    <message>
        <source>Identical</source>
        <translation>Identisch</translation>
    </message>
    <message>
        <source>%1 × %2 · %3</source>
        <translation>%1 × %2 · %3</translation>
    </message>
    <message>
        <source>Marked for removal</source>
        <translation>Zum Entfernen markiert</translation>
    </message>
    <message>
        <source>Keep</source>
        <translation>Behalten</translation>
    </message>
</context>
<context>
    <name>PreviewPage</name>
    <message>
        <source>Back to results</source>
        <translation>Zurück zu den Ergebnissen</translation>
    </message>
    <message>
        <source>Photo %1 of %2</source>
        <translation>Foto %1 von %2</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>%1%</source>
        <translation>%1 %</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>Single view</source>
        <translation>Einzelansicht</translation>
    </message>
    <message>
        <source>Compare</source>
        <translation>Vergleichen</translation>
    </message>
    <message>
        <source>Left: %1</source>
        <translation>Links: %1</translation>
    </message>
    <message>
        <source>Right: %1</source>
        <translation>Rechts: %1</translation>
    </message>
    <message>
        <source>Mark for removal</source>
        <translation>Zum Entfernen markieren</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Show in folder</source>
        <translation>Im Ordner anzeigen</translation>
    </message>
</context>
<context>
    <name>ProgressPage</name>
    <message>
        <source>Finding photos</source>
        <translation>Fotos werden gesucht</translation>
    </message>
    <message>
        <source>Comparing photos</source>
        <translation>Fotos werden verglichen</translation>
    </message>
    <message>
        <source>Grouping similar photos</source>
        <translation>Ähnliche Fotos werden gruppiert</translation>
    </message>
    <message>
        <source>Stopping the scan…</source>
        <translation>Suche wird angehalten…</translation>
    </message>
    <message>
        <source>Scanning your photos</source>
        <translation>Ihre Fotos werden durchsucht</translation>
    </message>
    <message>
        <source>%1% done · %2</source>
        <translation>%1 % erledigt · %2</translation>
    </message>
    <message>
        <source>Starting</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Groups found</source>
        <translation>Gefundene Gruppen</translation>
    </message>
    <message>
        <source>Duplicate size</source>
        <translation>Größe der Duplikate</translation>
    </message>
    <message>
        <source>Elapsed</source>
        <translation>Vergangen</translation>
    </message>
    <message>
        <source>Cancelling…</source>
        <translation>Wird abgebrochen…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Orignal photo only</source>
        <translation>Nur Originalfotos</translation>
    </message>
    <message>
        <source>70%</source>
        <translation>70 %</translation>
    </message>
    <message>
        <source>Minimum file size</source>
        <translation>Minimale Dateigröße</translation>
    </message>
    <message>
        <source>Group %1, %2 photos, %3</source>
        <translation>Gruppe %1, %2 Fotos, %3</translation>
    </message>
    <message>
        <source>Long: %1</source>
        <translation>Länge: %1</translation>
    </message>
    <message>
        <source>Lat: %1</source>
        <translation>Breite: %1</translation>
    </message>
</context>
<context>
    <name>QuestionDialog</name>
    <message>
        <source>Continue</source>
        <translation>Weiter</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>RegroupPopup</name>
    <message>
        <source>Similarity</source>
        <translation>Ähnlichkeit</translation>
    </message>
    <message>
        <source>%1%</source>
        <translation>%1 %</translation>
    </message>
    <message>
        <source>Groups the photos found again at this similarity. Marks are cleared.</source>
        <translation>Gruppiert die gefundenen Fotos mit dieser Ähnlichkeit neu. Markierungen werden aufgehoben.</translation>
    </message>
    <message>
        <source>Re-group</source>
        <translation>Neu gruppieren</translation>
    </message>
</context>
<context>
    <name>RemovalDialog</name>
    <message numerus="yes">
        <source>Remove %n marked photo(s)?</source>
        <translation>
            <numerusform>%n markiertes Foto entfernen?</numerusform>
            <numerusform>%n markierte Fotos entfernen?</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 will be freed.</source>
        <translation>%1 werden freigegeben.</translation>
    </message>
    <message numerus="yes">
        <source>In %n group(s) every photo is marked. Removing them keeps no copy of those photos.</source>
        <translation>
            <numerusform>In %n Gruppe sind alle Fotos markiert. Beim Entfernen bleibt keine Kopie dieser Fotos erhalten.</numerusform>
            <numerusform>In %n Gruppen sind alle Fotos markiert. Beim Entfernen bleibt keine Kopie dieser Fotos erhalten.</numerusform>
        </translation>
    </message>
    <message>
        <source>Move to the recycle bin</source>
        <translation>In den Papierkorb verschieben</translation>
    </message>
    <message>
        <source>Delete permanently</source>
        <translation>Endgültig löschen</translation>
    </message>
    <message>
        <source>Move to a folder</source>
        <translation>In einen Ordner verschieben</translation>
    </message>
    <message>
        <source>No folder chosen</source>
        <translation>Kein Ordner ausgewählt</translation>
    </message>
    <message>
        <source>Choose…</source>
        <translation>Auswählen…</translation>
    </message>
    <message>
        <source>Permanently deleted photos cannot be restored.</source>
        <translation>Endgültig gelöschte Fotos können nicht wiederhergestellt werden.</translation>
    </message>
    <message>
        <source>Remove this way from now on without asking</source>
        <translation>Künftig ohne Nachfrage auf diese Weise entfernen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
</context>
<context>
    <name>RemovalProgressDialog</name>
    <message>
        <source>Stopping…</source>
        <translation>Wird angehalten…</translation>
    </message>
    <message>
        <source>Removing photos</source>
        <translation>Fotos werden entfernt</translation>
    </message>
    <message>
        <source>%1 of %2 photos · %3 freed</source>
        <translation>%1 von %2 Fotos · %3 freigegeben</translation>
    </message>
    <message numerus="yes">
        <source>%n photo(s) removed</source>
        <translation>
            <numerusform>%n Foto entfernt</numerusform>
            <numerusform>%n Fotos entfernt</numerusform>
        </translation>
    </message>
    <message>
        <source>%1%</source>
        <translation>%1 %</translation>
    </message>
    <message>
        <source>Preparing…</source>
        <translation>Wird vorbereitet…</translation>
    </message>
    <message>
        <source>Cancelling…</source>
        <translation>Wird abgebrochen…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>ResultsPage</name>
    <message>
        <source>Similar photos</source>
        <translation>Ähnliche Fotos</translation>
    </message>
    <message numerus="yes">
        <source>%n group(s)</source>
        <translation>
            <numerusform>%n Gruppe</numerusform>
            <numerusform>%n Gruppen</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 in similar photos</source>
        <translation>%1 in ähnlichen Fotos</translation>
    </message>
    <message>
        <source>New scan</source>
        <translation>Neue Suche</translation>
    </message>
    <message numerus="yes">
        <source>%n photo(s) marked</source>
        <translation>
            <numerusform>%n Foto markiert</numerusform>
            <numerusform>%n Fotos markiert</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 to free</source>
        <translation>%1 freizugeben</translation>
    </message>
    <message>
        <source>Auto mark</source>
        <translation>Automatisch markieren</translation>
    </message>
    <message>
        <source>In every group, mark the copies to remove and keep the best photo</source>
        <translation>In jeder Gruppe die zu entfernenden Kopien markieren und das beste Foto behalten</translation>
    </message>
    <message>
        <source>Clear marks</source>
        <translation>Markierungen aufheben</translation>
    </message>
    <message>
        <source>Similarity %1%</source>
        <translation>Ähnlichkeit %1 %</translation>
    </message>
    <message>
        <source>Remove marked</source>
        <translation>Markierte entfernen</translation>
    </message>
    <message>
        <source>Re-grouping at %1% similarity…</source>
        <translation>Neugruppierung bei %1 % Ähnlichkeit…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Groups %1–%2 of %3</source>
        <translation>Gruppen %1–%2 von %3</translation>
    </message>
    <message>
        <source>Arrows move · Space marks · Enter previews · Delete removes</source>
        <translation>Pfeiltasten bewegen · Leertaste markiert · Eingabe zeigt an · Entf entfernt</translation>
    </message>
</context>
<context>
    <name>ScanOptions</name>
    <message>
        <source>Scan options</source>
        <translation>Suchoptionen</translation>
    </message>
    <message>
        <source>Photos to compare</source>
        <translation>Zu vergleichende Fotos</translation>
    </message>
    <message>
        <source>Original photos only</source>
        <translation>Nur Originalfotos</translation>
    </message>
    <message>
        <source>All images</source>
        <translation>Alle Bilder</translation>
    </message>
    <message>
        <source>Minimum file size</source>
        <translation>Minimale Dateigröße</translation>
    </message>
    <message>
        <source>Similarity</source>
        <translation>Ähnlichkeit</translation>
    </message>
    <message>
        <source>%1%</source>
        <translation>%1 %</translation>
    </message>
    <message>
        <source>More photos</source>
        <translation>Weitere Fotos</translation>
    </message>
    <message>
        <source>Closer matches</source>
        <translation>Genauere Treffer</translation>
    </message>
    <message>
        <source>Smaller files are not compared</source>
        <translation>Kleinere Dateien werden nicht verglichen</translation>
    </message>
</context>
<context>
    <name>SourceList</name>
    <message>
        <source>Places to scan</source>
        <translation>Zu durchsuchende Orte</translation>
    </message>
    <message numerus="yes">
        <source>%n place(s)</source>
        <translation>
            <numerusform>%n Ort</numerusform>
            <numerusform>%n Orte</numerusform>
        </translation>
    </message>
    <message>
        <source>Clear all</source>
        <translation>Alle entfernen</translation>
    </message>
    <message>
        <source>Drive %1</source>
        <translation>Laufwerk %1</translation>
    </message>
    <message>
        <source>Remove from the list</source>
        <translation>Aus der Liste entfernen</translation>
    </message>
</context>
<context>
    <name>StartPage</name>
    <message>
        <source>Find duplicate and similar photos</source>
        <translation>Doppelte und ähnliche Fotos finden</translation>
    </message>
    <message>
        <source>Choose where to look, check the options and start the scan. Nothing is removed without your say.</source>
        <translation>Wählen Sie, wo gesucht werden soll, prüfen Sie die Optionen und starten Sie die Suche. Nichts wird ohne Ihre Zustimmung entfernt.</translation>
    </message>
    <message>
        <source>Scan</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Add a folder to start</source>
        <translation>Fügen Sie einen Ordner hinzu, um zu beginnen</translation>
    </message>
</context>
<context>
    <name>StepRow</name>
    <message>
        <source>Waiting</source>
        <translation>Wartet</translation>
    </message>
    <message>
        <source>%1%</source>
        <translation>%1 %</translation>
    </message>
</context>
<context>
    <name>ThumbImage</name>
    <message>
        <source>Cannot preview</source>
        <translation>Keine Vorschau möglich</translation>
    </message>
</context>
<context>
    <name>ZoomPane</name>
    <message>
        <source>Cannot preview this photo</source>
        <translation>Für dieses Foto ist keine Vorschau möglich</translation>
    </message>
</context>
</TS>
