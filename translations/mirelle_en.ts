<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>CAutoMarkRule</name>
    <message>
        <location filename="../mirelleui/resultstore/CAutoMarkRule.cpp" line="+131"/>
        <source>less detail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>HEIC beside other formats</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>lower resolution</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>not a camera original</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>older</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>no better than the kept photo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>byte copy of the kept photo</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDecisionStore</name>
    <message>
        <location filename="../mirelleui/scansession/CDecisionStore.cpp" line="+73"/>
        <source>Remembered &quot;Not duplicates&quot; decisions are off: %1 (%2). The file was left as it is.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+15"/>
        <source>the SQLite driver of Qt is not installed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>its folder cannot be created</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>it is not a file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+14"/>
        <location line="+3"/>
        <location line="+22"/>
        <source>the file is damaged or not a decisions file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-7"/>
        <source>the file is of another version (%1; this program reads %2)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDriveCheck</name>
    <message>
        <location filename="../mirelleui/fileops/CDriveCheck.cpp" line="+144"/>
        <source>the drive is full</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>its trash may hold only %1 MB</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDupPicsMgr</name>
    <message>
        <location filename="../mirelleui/duppicsmgr/CDupPicsMgrSources.cpp" line="+254"/>
        <source>Minimum file size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Thumbnail size</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <location filename="../mirelleui/duppicsmgr/CDupPicsMgrDelete.cpp" line="+267"/>
        <source>%n photo(s) could not be deleted:</source>
        <translation>
            <numerusform>%n photo could not be deleted:</numerusform>
            <numerusform>%n photos could not be deleted:</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>%n photo(s) could not be removed:</source>
        <translation>
            <numerusform>%n photo could not be removed:</numerusform>
            <numerusform>%n photos could not be removed:</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../mirelleui/duppicsmgr/CDupPicsMgrExport.cpp" line="+43"/>
        <source>The results could not be saved to %1: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+17"/>
        <source>An export is still being written. Try again when it is done.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Results cannot be exported as &quot;%1&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Choose a file to export the results to.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1 is a folder. Choose a file name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The folder %1 cannot be written to. Choose another folder.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CExceptionHandler</name>
    <message>
        <location filename="../public/CExceptionHandler.cpp" line="+19"/>
        <source>%1 has encountered a memory problem and needs to close.
We are sorry for the inconvenience.
You can enlarge your virtual memory and try again.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CFileDelImplement</name>
    <message numerus="yes">
        <location filename="../mirelleui/fileops/CFileDelImplement.cpp" line="+215"/>
        <source>%n file(s) are back in place.</source>
        <translation>
            <numerusform>%n file is back in place.</numerusform>
            <numerusform>%n files are back in place.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 of %2 files are back in place. These could not come back:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+111"/>
        <location line="+28"/>
        <source>Not removed &quot;%1&quot;: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-8"/>
        <source>Not removed &quot;%1&quot;: the removal could not be recorded for undo: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+81"/>
        <source>Cannot delete &quot;%1&quot;: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Cannot move &quot;%1&quot; to the trash: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+68"/>
        <source>Skipped &quot;%1&quot;: it no longer exists</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Skipped &quot;%1&quot;: the path in the destination would be too long</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+12"/>
        <location line="+23"/>
        <source>Cannot move &quot;%1&quot; to &quot;%2&quot;: %3</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CRemovalCoordinator</name>
    <message>
        <location filename="../mirelleui/removal/CRemovalCoordinator.cpp" line="+200"/>
        <source>the last copy of its group stays</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CRemovalGuard</name>
    <message>
        <location filename="../mirelleui/fileops/CRemovalGuard.cpp" line="+42"/>
        <source>not a photo of the scan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>it no longer exists</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>it is no longer a plain file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>changed since the scan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>the kept copy is gone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>the kept copy changed since the scan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>the kept copy is this same file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>another removal does not finish</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>the scan recorded no content to confirm the kept copy by, and it differs from this file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>the kept copy is in the trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the kept copy is in a cache folder, which programs empty at will</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the kept copy is held in memory only, which is emptied when the computer shuts down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the kept copy is in a folder for temporary files, which the system empties</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the kept copy is in a system snapshot, which is deleted in time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the kept copy may be this same file, seen through another mount</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CRemovalJournal</name>
    <message>
        <location filename="../mirelleui/fileops/CRemovalJournal.cpp" line="+87"/>
        <source>No removals have been recorded (%1 does not exist).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The removal journal %1 is not a file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The folder of the removal journal %1 cannot be created.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>The removal journal %1 cannot be opened: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+9"/>
        <location line="+55"/>
        <source>The removal journal %1 is damaged (%2); undo is off and the file is left as it is.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-30"/>
        <source>The removal journal %1 cannot be written: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+17"/>
        <source>%1 is not a removal journal of this program; undo is off and the file is left as it is.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The removal journal %1 was written by another version of the program (format %2, this one reads %3); undo is off and the file is left as it is.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+177"/>
        <source>No removal %1 is recorded.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CRemovalUndo</name>
    <message>
        <location filename="../mirelleui/fileops/CRemovalUndo.cpp" line="+115"/>
        <source>it is no longer in the trash (was the trash emptied?)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the trash it went to is not there (%1): is its drive connected?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the folder it went to is not there (%1): is its drive connected?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>it is no longer at %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>another file now takes its place</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>it has changed since it was removed (size or modification time differ)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>its folder now leads to %1 (a link took its place since the removal)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+12"/>
        <source>its folder cannot be created again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+44"/>
        <source>There is no removal left to undo.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+40"/>
        <source>Removal %1 has nothing left to undo.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CReportSummary</name>
    <message>
        <location filename="../report/CReportSummary.cpp" line="+68"/>
        <source>Unknown drive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Similar photos: summary</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Scanned: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Similarity threshold: %1%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Groups: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Photos in groups: %1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Marked for removal: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Space to free: %1 (%2 bytes)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>%1 marked</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Space to free per drive:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Space to free per folder:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Scanned</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Similarity threshold</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Groups</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Photos in groups</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Marked for removal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+9"/>
        <source>Space to free</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-1"/>
        <source>Marked</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Per drive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Drive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Per folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Folder</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CompareTable</name>
    <message>
        <location filename="../qml/CompareTable.qml" line="+25"/>
        <source>Unknown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Camera original</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Copy or edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Kept</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Marked: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Marked</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Format</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Resolution</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>File size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Origin</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Similarity</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Mark</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Right</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DecisionsDialog</name>
    <message>
        <location filename="../qml/DecisionsDialog.qml" line="+19"/>
        <source>Not duplicates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+18"/>
        <source>You have not said of any photos that they are not duplicates.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>These photos are never put into one group, even after a rename. Forget a decision to let the next scan group them again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Remembered decisions are not available.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+56"/>
        <source>Forget</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Forget all</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DetailsPanel</name>
    <message>
        <location filename="../qml/DetailsPanel.qml" line="+17"/>
        <source>Resolution</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>File size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Camera and place</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DropZone</name>
    <message>
        <location filename="../qml/DropZone.qml" line="+70"/>
        <source>Drop photo folders here</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+9"/>
        <source>or choose the folders to search for duplicate and similar photos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+12"/>
        <location line="+35"/>
        <source>Add folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-28"/>
        <location line="+35"/>
        <source>Whole computer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-14"/>
        <source>Drop more folders here</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EmptyResults</name>
    <message>
        <location filename="../qml/EmptyResults.qml" line="+39"/>
        <source>All duplicates removed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No camera originals among the similar photos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No similar photos found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Every marked copy is gone. Your library is tidy.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>&quot;Original photos only&quot; left out %n similar photo(s): their groups hold no camera original. Turn the option off in the scan options to see them.</source>
        <translation>
            <numerusform>&quot;Original photos only&quot; left out %n similar photo: its group holds no camera original. Turn the option off in the scan options to see it.</numerusform>
            <numerusform>&quot;Original photos only&quot; left out %n similar photos: their groups hold no camera original. Turn the option off in the scan options to see them.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The scanned places hold no duplicate or similar photos at this similarity. Try a lower similarity or other folders.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Scan other folders</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Fallback</name>
    <message>
        <location filename="../plugins/mainframe/Fallback.qml" line="+9"/>
        <source>Mirelle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>The screens could not be loaded. Please reinstall the program.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GroupCard</name>
    <message numerus="yes">
        <source>%n photo(s), %1</source>
        <translation type="vanished">
            <numerusform>%n photo, %1</numerusform>
            <numerusform>%n photos, %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../qml/GroupCard.qml" line="+123"/>
        <source>Group %1 · %n photo(s) · %2</source>
        <translation>
            <numerusform>Group %1 · %n photo · %2</numerusform>
            <numerusform>Group %1 · %n photos · %2</numerusform>
        </translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Identical</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Similar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Auto mark</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Mark the surplus copies of this group, keeping the best one</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Not duplicates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>These photos are different pictures: never group them together again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Clear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Remove the marks of this group</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Helpers</name>
    <message>
        <location filename="../qml/Helpers.qml" line="+95"/>
        <source>Thumbnail size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+41"/>
        <source>Orignal photo only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Minimum file size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Find rotated and mirrored copies</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <location line="+23"/>
        <source>%n folder(s) could not be opened</source>
        <translation>
            <numerusform>%n folder could not be opened</numerusform>
            <numerusform>%n folders could not be opened</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%n file(s) could not be read</source>
        <translation>
            <numerusform>%n file could not be read</numerusform>
            <numerusform>%n files could not be read</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%n file(s) damaged or not pictures</source>
        <translation>
            <numerusform>%n file damaged or not a picture</numerusform>
            <numerusform>%n files damaged or not pictures</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%n picture(s) too large to open</source>
        <translation>
            <numerusform>%n picture too large to open</numerusform>
            <numerusform>%n pictures too large to open</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <source>%n network folder(s) not entered</source>
        <translation>
            <numerusform>%n network folder not entered</numerusform>
            <numerusform>%n network folders not entered</numerusform>
        </translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Passed over: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>, </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <location filename="../qml/Main.qml" line="+115"/>
        <source>Permanent deletion cannot be undone.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <location line="-13"/>
        <source>%1: %n photo(s), %2</source>
        <translation>
            <numerusform>%1: %n photo, %2</numerusform>
            <numerusform>%1: %n photos, %2</numerusform>
        </translation>
    </message>
    <message>
        <location line="+9"/>
        <source>The trash cannot take them all</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The trash cannot take the marked photos on these drives:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Delete those photos permanently? The other marked photos still go to the trash.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Undo not available</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>This removal cannot be recorded, so it could not be undone later (%1). Remove the photos anyway?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Not enough space</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>There is not enough free space to move the marked photos to %1. Nothing was moved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Delete permanently</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Remove without undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Mirelle — similar photo finder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+34"/>
        <source>The scan failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>These folders went away during the scan (deleted or unmounted), so its results would be incomplete:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Scan again once they are back.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+22"/>
        <location line="+5"/>
        <source>Scan stopped</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-4"/>
        <source>The scan was stopped. The groups found so far are shown; your places and options are kept.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The scan was stopped before it found similar photos. Your places and options are kept.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Some places were not added</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Only folders on this computer can be scanned. These were not added:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Some photos were not removed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The photo was not removed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Failed to remove %1!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+163"/>
        <source>Move this photo to the trash?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Do not ask again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Asking can be turned back on in the scan options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Move to trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+38"/>
        <source>%1 was moved to the trash.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Undo</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NoticeDialog</name>
    <message>
        <location filename="../qml/NoticeDialog.qml" line="+38"/>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PageBar</name>
    <message>
        <location filename="../qml/PageBar.qml" line="+26"/>
        <source>Previous page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1 / %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Page %1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Next page</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PhotoTile</name>
    <message>
        <location filename="../qml/PhotoTile.qml" line="+110"/>
        <source>Identical</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Burst</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>A frame of a burst: another moment, so it is not marked unless it is an exact copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+39"/>
        <source>%1%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+48"/>
        <source>Kept</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Marked: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Marked</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-42"/>
        <source>Similarity to the group&apos;s first photo</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PreviewPage</name>
    <message>
        <location filename="../qml/PreviewPage.qml" line="+232"/>
        <source>Back to results</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Previous photo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Photo %1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>group %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Next photo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Zoom out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Fit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>%1×</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Zoom in</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Not duplicates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>These two photos are different pictures: never group them together again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Single view</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Compare</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Left: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Right: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+34"/>
        <source>Mark left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Mark right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Mark for removal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Show in folder</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProgressPage</name>
    <message>
        <location filename="../qml/ProgressPage.qml" line="+19"/>
        <source>Finding photos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Comparing photos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Grouping similar photos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+13"/>
        <source>%1 of %2 files read</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%Ln file(s) read</source>
        <translation>
            <numerusform>%Ln file read</numerusform>
            <numerusform>%Ln files read</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%Ln photo(s) in groups</source>
        <translation>
            <numerusform>%Ln photo in groups</numerusform>
            <numerusform>%Ln photos in groups</numerusform>
        </translation>
    </message>
    <message>
        <location line="+111"/>
        <source>Stopping the scan…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Scanning your photos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Keeping what was found so far</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1% done · %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Starting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+35"/>
        <source>Groups found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Duplicate size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Elapsed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Cancelling…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <location filename="../mirelleui/duppicsmgr/CDupPicsMgrSources.cpp" line="-246"/>
        <source>Orignal photo only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>70%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Find rotated and mirrored copies</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Minimum file size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../mirelleui/models/CGroupSortFilterProxyModel.cpp" line="+123"/>
        <source>Group %1, %2 photos, %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../mirelleui/models/CPhotosItemModel.cpp" line="+306"/>
        <source>Long: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Lat: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QuestionDialog</name>
    <message>
        <location filename="../qml/QuestionDialog.qml" line="+11"/>
        <source>Continue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+43"/>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RegroupPopup</name>
    <message>
        <location filename="../qml/RegroupPopup.qml" line="+26"/>
        <source>Similarity</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Groups the photos found again at this similarity. Marks are cleared.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Re-group</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RemovalDialog</name>
    <message numerus="yes">
        <location filename="../qml/RemovalDialog.qml" line="+48"/>
        <source>Remove %n marked photo(s)?</source>
        <translation>
            <numerusform>Remove %n marked photo?</numerusform>
            <numerusform>Remove %n marked photos?</numerusform>
        </translation>
    </message>
    <message>
        <location line="+8"/>
        <source>%1 will be freed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <location line="+27"/>
        <source>In %n group(s) every photo is marked. Removing them keeps no copy of those photos.</source>
        <translation>
            <numerusform>In %n group every photo is marked. Removing them keeps no copy of those photos.</numerusform>
            <numerusform>In %n groups every photo is marked. Removing them keeps no copy of those photos.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Move to the recycle bin</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Move to the trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Delete permanently</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Move to a folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+16"/>
        <source>No folder chosen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Choose…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Permanent deletion cannot be undone.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Remove this way from now on without asking</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Remove</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RemovalProgressDialog</name>
    <message>
        <location filename="../qml/RemovalProgressDialog.qml" line="+27"/>
        <source>Stopping…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Removing photos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+18"/>
        <source>%1 of %2 photos · %3 freed</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%n photo(s) removed</source>
        <translation>
            <numerusform>%n photo removed</numerusform>
            <numerusform>%n photos removed</numerusform>
        </translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Preparing…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Cancelling…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RemovalSummary</name>
    <message>
        <location filename="../qml/RemovalSummary.qml" line="+44"/>
        <source>%1 deleted permanently. This cannot be undone.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 moved to %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 moved to the recycle bin.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>%1 moved to the trash.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <source>%n photo(s) removed</source>
        <translation>
            <numerusform>%n photo removed</numerusform>
            <numerusform>%n photos removed</numerusform>
        </translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No photos were removed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Undo puts them back where they were.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+25"/>
        <source>Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ResultsPage</name>
    <message>
        <location filename="../qml/ResultsPage.qml" line="+52"/>
        <source>CSV files (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>JSON files (*.json)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>PDF documents (*.pdf)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Web pages (*.html)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+159"/>
        <source>The results were not exported</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+78"/>
        <source>Similar photos</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <location line="+8"/>
        <source>%n group(s)</source>
        <translation>
            <numerusform>%n group</numerusform>
            <numerusform>%n groups</numerusform>
        </translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 in similar photos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Each group keeps its best photo; the copies are marked. Click a photo to change its mark, or use &quot;Clear marks&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>These folders went away during the scan (deleted or unmounted); their photos may be missing: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Exporting…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Export…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Results as CSV…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Results as JSON…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Printable summary (PDF)…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Summary as web page (HTML)…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Undo last removal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Bring back the photos last moved to the recycle bin or to a folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Bring back the photos last moved to the trash or to a folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>History…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>New scan</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <location line="+18"/>
        <source>%n photo(s) marked</source>
        <translation>
            <numerusform>%n photo marked</numerusform>
            <numerusform>%n photos marked</numerusform>
        </translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1 to free</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Auto mark</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>In every group, mark the copies to remove and keep the best photo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Clear marks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Similarity %1%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+24"/>
        <source>Remove marked</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+52"/>
        <source>Re-grouping at %1% similarity…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Groups %1–%2 of %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Arrows move · Space marks · Enter previews · Delete removes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Export results</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ScanOptions</name>
    <message>
        <location filename="../qml/ScanOptions.qml" line="+40"/>
        <source>Scan options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Photos to compare</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Original photos only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Groups that hold a camera photo, with all their copies (resized, sent or edited ones too); groups without any camera photo, such as graphics, screenshots and downloads, are left out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>All images</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Minimum file size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+33"/>
        <source>Similarity</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+7"/>
        <source>%1%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+20"/>
        <source>More photos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Closer matches</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Find rotated and mirrored copies</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Also match copies that were turned or flipped; the scan takes longer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Ask before removing photos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Not duplicates list…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Photos you said are not duplicates of each other</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-109"/>
        <source>Smaller files are not compared</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SourceList</name>
    <message>
        <location filename="../qml/SourceList.qml" line="+21"/>
        <source>Places to scan</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <location line="+6"/>
        <source>%n place(s)</source>
        <translation>
            <numerusform>%n place</numerusform>
            <numerusform>%n places</numerusform>
        </translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Clear all</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+45"/>
        <source>System drive (/)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Drive %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Remove from the list</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StartPage</name>
    <message>
        <location filename="../qml/StartPage.qml" line="+39"/>
        <source>Find duplicate and similar photos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Choose where to look, check the options and start the scan. Nothing is removed without your say.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+26"/>
        <source>The scan engine could not be loaded, so no scan can run. Please reinstall the program.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+54"/>
        <source>Scan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Add a folder to start</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StepRow</name>
    <message>
        <location filename="../qml/StepRow.qml" line="+68"/>
        <source>Waiting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>%1%</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ThumbImage</name>
    <message>
        <location filename="../qml/ThumbImage.qml" line="+102"/>
        <source>Cannot preview</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ThumbSizeControl</name>
    <message>
        <location filename="../qml/ThumbSizeControl.qml" line="+38"/>
        <source>Thumbnail size (Ctrl + and Ctrl −)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UndoDialog</name>
    <message>
        <location filename="../qml/UndoDialog.qml" line="+30"/>
        <source>Undo is not available.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+31"/>
        <source>Moved to a folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Moved to the recycle bin</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Moved to the trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Removal history</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+28"/>
        <source>No removal to undo. Photos moved to the recycle bin or to a folder are listed here.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No removal to undo. Photos moved to the trash or to a folder are listed here.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <location line="+29"/>
        <source>%n photo(s)</source>
        <translation>
            <numerusform>%n photo</numerusform>
            <numerusform>%n photos</numerusform>
        </translation>
    </message>
    <message>
        <location line="+7"/>
        <source>undone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 still to undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Bringing the photos back…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+41"/>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Undo last removal</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ZoomPane</name>
    <message>
        <location filename="../qml/ZoomPane.qml" line="+70"/>
        <source>Cannot preview this photo</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
