#pragma once
// The pictures of the check-list commands (tick all, untick all, invert), kept
// at their own places in the main window's image list.
#include <QIcon>
#include <QList>

constexpr int ImageSelectAll = 66;
constexpr int ImageDeselectAll = 67;
constexpr int ImageInverse = 68;

// Puts the three pictures at their places; places before them that hold no
// picture yet get an empty one.
void AddCheckListImages(QList<QIcon>& imageList);
