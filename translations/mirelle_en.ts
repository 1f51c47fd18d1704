<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>CDupPicsMgr</name>
    <message>
        <source>Minimum file size</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CExceptionHandler</name>
    <message>
        <source>%1 has encountered a memory problem and needs to close.
We are sorry for the inconvenience.
You can enlarge your virtual memory and try again.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DetailsPanel</name>
    <message>
        <source>Resolution</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera and place</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DropZone</name>
    <message>
        <source>Drop photo folders here</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>or choose the folders to search for duplicate and similar photos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Whole computer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drop more folders here</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EmptyResults</name>
    <message>
        <source>All duplicates removed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No similar photos found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Every marked copy is gone. Your library is tidy.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The scanned places hold no duplicate or similar photos at this similarity. Try a lower similarity or other folders.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scan other folders</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Fallback</name>
    <message>
        <source>Mirelle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The screens could not be loaded. Please reinstall the program.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GroupCard</name>
    <message numerus="yes">
        <source>%n photo(s), %1</source>
        <translation>
            <numerusform>%n photo, %1</numerusform>
            <numerusform>%n photos, %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Identical</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Similar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto mark</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mark the surplus copies of this group, keeping the best one</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove the marks of this group</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Helpers</name>
    <message>
        <source>Orignal photo only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimum file size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0 KB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>B</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>KB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TB</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>Removable drive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Some marked photos are on a removable drive, which has no recycle bin. Delete them permanently?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recycle bin too small</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The recycle bin cannot hold all marked photos. Delete them permanently instead?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not enough space</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is not enough free space to move the marked photos to %1. Nothing was moved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete permanently</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mirelle — similar photo finder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Some photos were not removed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The photo was not removed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to remove %1!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NoticeDialog</name>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PageBar</name>
    <message>
        <source>Previous page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 / %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next page</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PhotoTile</name>
    <message>
        <source>Identical</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 × %2 · %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Marked for removal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PreviewPage</name>
    <message>
        <source>Back to results</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Photo %1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Single view</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Compare</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Left: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Right: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mark for removal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show in folder</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProgressPage</name>
    <message>
        <source>Finding photos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comparing photos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Grouping similar photos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stopping the scan…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scanning your photos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1% done · %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Starting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Groups found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duplicate size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Elapsed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancelling…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Orignal photo only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>70%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimum file size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Group %1, %2 photos, %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Long: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lat: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QuestionDialog</name>
    <message>
        <source>Continue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RegroupPopup</name>
    <message>
        <source>Similarity</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Groups the photos found again at this similarity. Marks are cleared.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Re-group</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RemovalDialog</name>
    <message numerus="yes">
        <source>Remove %n marked photo(s)?</source>
        <translation>
            <numerusform>Remove %n marked photo?</numerusform>
            <numerusform>Remove %n marked photos?</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 will be freed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>In %n group(s) every photo is marked. Removing them keeps no copy of those photos.</source>
        <translation>
            <numerusform>In %n group every photo is marked. Removing them keeps no copy of those photos.</numerusform>
            <numerusform>In %n groups every photo is marked. Removing them keeps no copy of those photos.</numerusform>
        </translation>
    </message>
    <message>
        <source>Move to the recycle bin</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete permanently</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move to a folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No folder chosen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Permanently deleted photos cannot be restored.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove this way from now on without asking</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RemovalProgressDialog</name>
    <message>
        <source>Stopping…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Removing photos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2 photos · %3 freed</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n photo(s) removed</source>
        <translation>
            <numerusform>%n photo removed</numerusform>
            <numerusform>%n photos removed</numerusform>
        </translation>
    </message>
    <message>
        <source>%1%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preparing…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancelling…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ResultsPage</name>
    <message>
        <source>Similar photos</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n group(s)</source>
        <translation>
            <numerusform>%n group</numerusform>
            <numerusform>%n groups</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 in similar photos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New scan</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n photo(s) marked</source>
        <translation>
            <numerusform>%n photo marked</numerusform>
            <numerusform>%n photos marked</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 to free</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto mark</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>In every group, mark the copies to remove and keep the best photo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear marks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Similarity %1%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove marked</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Re-grouping at %1% similarity…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Groups %1–%2 of %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Arrows move · Space marks · Enter previews · Delete removes</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ScanOptions</name>
    <message>
        <source>Scan options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Photos to compare</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Original photos only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All images</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimum file size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Similarity</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>More photos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Closer matches</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Smaller files are not compared</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SourceList</name>
    <message>
        <source>Places to scan</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n place(s)</source>
        <translation>
            <numerusform>%n place</numerusform>
            <numerusform>%n places</numerusform>
        </translation>
    </message>
    <message>
        <source>Clear all</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drive %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove from the list</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StartPage</name>
    <message>
        <source>Find duplicate and similar photos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose where to look, check the options and start the scan. Nothing is removed without your say.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add a folder to start</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StepRow</name>
    <message>
        <source>Waiting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1%</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ThumbImage</name>
    <message>
        <source>Cannot preview</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ZoomPane</name>
    <message>
        <source>Cannot preview this photo</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
