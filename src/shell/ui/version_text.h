// The version as the splash window and the about box show it.
#pragma once

#include <QString>

// "Version " and the short text of the current document version ("Version 1.5").
QString VersionText();
