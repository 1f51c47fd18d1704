pragma Singleton
import QtQuick 2.15

// Pure helpers shared by the screens: paging arithmetic, the scan-option map and text formats.
QtObject {
    readonly property int groupsPerPage: 6
    readonly property int defaultThreshold: 70
    // Thumbnail widths the size control offers, in pixels.
    readonly property int thumbSizeMin: 100
    readonly property int thumbSizeMax: 320
    readonly property int thumbSizeStep: 20
    readonly property int thumbSizeDefault: 140
    // Units of the minimum size: a value counts 1024^(index + 1) bytes.
    readonly property var sizeUnits: ["KB", "MB", "GB"]
    // How the units read: binary, as every size on the screens.
    readonly property var sizeUnitNames: ["KiB", "MiB", "GiB"]
    // Windows keeps removed files in its recycle bin; the other systems call it the trash.
    readonly property bool recycleBin: Qt.platform.os === "windows"

    function pageCount(total, perPage) {
        return Math.max(1, Math.ceil(Math.max(0, total) / perPage))
    }

    function clampPage(page, total, perPage) {
        return Math.max(0, Math.min(page, pageCount(total, perPage) - 1))
    }

    function pageStart(page, perPage) {
        return page * perPage
    }

    function rowsOnPage(page, total, perPage) {
        return Math.max(0, Math.min(perPage, total - page * perPage))
    }

    // At least one, however narrow the room.
    function tilesThatFit(width, tileWidth, spacing) {
        return Math.max(1, Math.floor((width + spacing) / (tileWidth + spacing)))
    }

    function pageOfRow(row, perPage) {
        return Math.floor(Math.max(0, row) / perPage)
    }

    // The manager keeps the threshold as a step count below 100 %.
    function thresholdFromSlot(slot) {
        return 100 - 5 * slot
    }

    function slotFromThreshold(threshold) {
        return Math.round((100 - threshold) / 5)
    }

    function record(map, key) {
        return map && map[key] !== undefined && map[key] !== null ? map[key] : ({})
    }

    function numberOr(value, fallback) {
        var n = Number(value)
        return value === undefined || value === null || value === "" || isNaN(n) ? fallback : n
    }

    // Reads the option map into plain fields, with the defaults for missing records.
    function readOptions(map) {
        var photoType = record(map, "photoType")
        var minSize = record(map, "minSize")
        var similar = record(map, "similarSlot")
        var unitIndex = numberOr(minSize.index, 0)
        if (unitIndex < 0 || unitIndex >= sizeUnits.length)
            unitIndex = 0
        return {
            originalOnly: numberOr(photoType.value, 0) === 0,
            minSize: Math.max(0, numberOr(minSize.value, 100)),
            unitIndex: unitIndex,
            threshold: Math.max(0, Math.min(100, thresholdFromSlot(numberOr(similar.value, 6)))),
            rotations: numberOr(record(map, "rotationMatching").value, 0) !== 0,
            thumbSize: clampThumbSize(numberOr(record(map, "thumbSize").value, thumbSizeDefault))
        }
    }

    // A copy of map with the records of changes put over it: records a screen does not know
    // of (the thumbnail size, say) survive a change of the others.
    function merged(map, changes) {
        var result = {}
        var key
        for (key in map || {})
            result[key] = map[key]
        for (key in changes || {})
            result[key] = changes[key]
        return result
    }

    function clampThumbSize(size) {
        var snapped = Math.round((Number(size) - thumbSizeMin) / thumbSizeStep) * thumbSizeStep + thumbSizeMin
        return Math.max(thumbSizeMin, Math.min(thumbSizeMax, isNaN(snapped) ? thumbSizeDefault : snapped))
    }

    function withThumbSize(map, size) {
        return merged(map, { thumbSize: { desc: qsTr("Thumbnail size"), value: clampThumbSize(size) } })
    }

    // Height of a photo tile of the given width: a 4:3 picture and five lines of text.
    function tileHeight(thumbSize) {
        // The texts below the picture, the status on up to two lines (a long reason wraps).
        return Math.round((thumbSize - 12) * 0.75) + 122
    }

    // Height of a group card: its header, the tiles and room for the strip's scroll bar.
    function groupCardHeight(thumbSize) {
        return tileHeight(thumbSize) + 10 + 30 + 3 * Theme.spacingM
    }

    // For each path, the shortest trailing part of its folder that no other folder of the list
    // ends in, so that copies in different places tell apart at a glance; when all share one
    // folder, that folder's name.
    function distinctFolders(paths) {
        var folders = []
        var i
        for (i = 0; i < paths.length; ++i) {
            var parts = String(paths[i]).split(/[\\/]/).filter(function (part) { return part !== "" })
            parts.pop()
            folders.push(parts)
        }
        var tail = function (parts, n) { return parts.slice(Math.max(0, parts.length - n)).join("/") }
        var result = []
        for (i = 0; i < folders.length; ++i) {
            var own = folders[i]
            var whole = own.join("/")
            var others = folders.filter(function (parts) { return parts.join("/") !== whole })
            var n = 1
            while (n < own.length && others.some(function (parts) { return tail(parts, n) === tail(own, n) }))
                ++n
            result.push((n < own.length ? "…/" : "") + tail(own, n))
        }
        return result
    }

    function makeOptions(originalOnly, minSize, unitIndex, threshold, rotations) {
        return {
            photoType: { desc: qsTr("Orignal photo only"), value: originalOnly ? 0 : 1 },
            minSize: { desc: qsTr("Minimum file size"), value: minSize, index: unitIndex,
                       unit: sizeUnits[unitIndex] },
            similarSlot: { desc: qsTr("%1%").arg(threshold), value: slotFromThreshold(threshold) },
            rotationMatching: { desc: qsTr("Find rotated and mirrored copies"), value: rotations ? 1 : 0 }
        }
    }

    function withThreshold(map, threshold) {
        var fields = readOptions(map)
        return merged(map, makeOptions(fields.originalOnly, fields.minSize, fields.unitIndex, threshold, fields.rotations))
    }

    // Plural texts come as qsTr numerus forms. Without a loaded translation the English
    // source with "(s)" would show, so the English plural is applied here instead.
    function numerus(text, n) {
        return String(text).replace(/\(s\)/g, Number(n) === 1 ? "" : "s")
    }

    // One line on what a scan passed over, from its counts by kind (folders that could
    // not be opened, unreadable files, damaged files, pictures too large, network mounts
    // not entered) and where those mounts are; "" for none.
    function skippedText(counts, mounts) {
        var list = counts ? counts : []
        var count = function (i) { return i < list.length ? Number(list[i]) : 0 }
        var parts = []
        if (count(0) > 0)
            parts.push(numerus(qsTr("%n folder(s) could not be opened", "", count(0)), count(0)))
        if (count(1) > 0)
            parts.push(numerus(qsTr("%n file(s) could not be read", "", count(1)), count(1)))
        if (count(2) > 0)
            parts.push(numerus(qsTr("%n file(s) damaged or not pictures", "", count(2)), count(2)))
        if (count(3) > 0)
            parts.push(numerus(qsTr("%n picture(s) too large to open", "", count(3)), count(3)))
        if (count(4) > 0) {
            var names = mounts && mounts.length > 0 ? " (" + Array.from(mounts).join(", ") + ")" : ""
            parts.push(numerus(qsTr("%n network folder(s) not entered", "", count(4)), count(4)) + names)
        }
        return parts.length > 0 ? qsTr("Passed over: %1").arg(parts.join(qsTr(", "))) : ""
    }

    function formatDuration(ms) {
        var seconds = Math.max(0, Math.floor(ms / 1000))
        var h = Math.floor(seconds / 3600)
        var m = Math.floor(seconds / 60) % 60
        var s = seconds % 60
        var pad = function (n) { return n < 10 ? "0" + n : "" + n }
        return h > 0 ? h + ":" + pad(m) + ":" + pad(s) : pad(m) + ":" + pad(s)
    }

    // The rows of the compare table for two photos' facts ({name, folder, format, width,
    // height, size, date, original, similarity, marked}): per row whether the values differ
    // and which side is better (-1 left, 1 right, 0 neither). "Better" follows the automatic
    // marking rule, so that the table never argues with the marks: not HEIC beside another
    // format, more pixels, the larger file of equal pixels, the newer, the camera original.
    function compareRows(a, b) {
        var side = function (left, right) { return left === right ? 0 : (left ? -1 : 1) }
        var heic = function (format) { return /heic$/i.test(String(format)) }
        // As the marking rule's band: clearly blurred beside the sharper, not merely different.
        var blurred = function (x, y) {
            return Number(y) > 0 && Number(x) >= Number(y) / 6 && Number(x) <= 5 * Number(y) / 6
        }
        var pixelsA = Number(a.width) * Number(a.height)
        var pixelsB = Number(b.width) * Number(b.height)
        // The rule's preferences in its order: the first that tells the two apart decides, so
        // a later one is not called better on the side the rule marks.
        var preferences = [
            a.detail === undefined || b.detail === undefined ? 0 : side(blurred(b.detail, a.detail), blurred(a.detail, b.detail)),
            heic(a.format) !== heic(b.format) && a.format !== "" && b.format !== "" ? side(!heic(a.format), !heic(b.format)) : 0,
            pixelsA === pixelsB ? 0 : side(pixelsA > pixelsB, pixelsB > pixelsA),
            side(!!a.original, !!b.original),
            // Dates come as sortable text (year first).
            a.date === "" || b.date === "" || a.date === b.date ? 0 : side(a.date > b.date, b.date > a.date)
        ]
        var decided = false
        var better = preferences.map(function (value) {
            var shown = decided ? 0 : value
            decided = decided || value !== 0
            return shown
        })
        return [
            { key: "name", differs: a.name !== b.name, better: 0 },
            { key: "folder", differs: a.folder !== b.folder, better: 0 },
            { key: "format", differs: String(a.format).toLowerCase() !== String(b.format).toLowerCase(), better: better[1] },
            { key: "resolution", differs: a.width !== b.width || a.height !== b.height, better: better[2] },
            { key: "size", differs: Number(a.size) !== Number(b.size),
              better: pixelsA !== pixelsB || Number(a.size) === Number(b.size) ? 0
                      : side(Number(a.size) > Number(b.size), Number(b.size) > Number(a.size)) },
            { key: "date", differs: a.date !== b.date, better: better[4] },
            { key: "original", differs: !!a.original !== !!b.original, better: better[3] },
            { key: "similarity", differs: Number(a.similarity) !== Number(b.similarity), better: 0 },
            { key: "mark", differs: !!a.marked !== !!b.marked, better: side(!a.marked, !b.marked) }
        ]
    }

    // Text of a group-model role: the group roles all deliver one map.
    function groupField(value, key) {
        if (value !== null && typeof value === "object" && value[key] !== undefined)
            return value[key]
        return value
    }

    // Groups whose every shown photo is marked. Only groups whose photos were opened can be
    // marked that way (the automatic rule always keeps one), so unopened groups are skipped.
    function fullyMarkedGroups(mgr, groupModel) {
        var result = []
        if (!mgr || !groupModel)
            return result
        var rows = groupModel.rowCount()
        for (var row = 0; row < rows; ++row) {
            var key = groupModel.data(groupModel.index(row, 0), 260)
            if (!key || !mgr.getPhotosModelNoCreate(key))
                continue
            var photos = mgr.getPhotosModelByCreate(key)
            var count = photos ? photos.rowCount() : 0
            if (count === 0)
                continue
            var marked = 0
            for (var i = 0; i < count; ++i) {
                if (photos.getCheckState(i))
                    ++marked
            }
            if (marked === count)
                result.push(row)
        }
        return result
    }
}
