import QtQuick 2.15

// Raised surface that groups related content.
Rectangle {
    color: Theme.surface
    radius: Theme.radius
    border.color: Theme.border
    border.width: 1
}
