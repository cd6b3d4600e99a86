// Qorv's own icons (SVG drawings in icons.qrc, under ":/icons/") and the image lists of
// the trees, in the order of the image indexes the core gives its nodes.
#pragma once

#include <QIcon>
#include <QList>
#include <QString>
#include <QStringList>

// The icon ":/icons/<name>.svg" (null when there is no such drawing).
QIcon QorvIcon(const QString& name);
// The desktop theme's icon of that name, else ours: for standard actions (open, save,
// help) that users know from other programs.
QIcon ThemedIcon(const QString& themeName, const QString& name);
// The names of every drawing of the resource file.
QStringList QorvIconNames();

// Images of the experiment tree (and of the debug window's copy of it):
// 0 a block, 1 the current block (a block's selected image), 2 the blank line where new
// commands go, 3 a stop set in the debug window. Commands have none.
QList<QIcon> ExperimentTreeImages();
// Images of the attribute tree: 0 outputs; 1 to 4 text, table, graph and big-number
// outputs; 5 single variables; 6 to 8 string, integer and float variables; 9 array
// variables; 10 to 12 string, integer and float arrays; 13 single data files;
// 14 multiple data files.
QList<QIcon> AttributeTreeImages();
