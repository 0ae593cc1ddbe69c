#pragma once
// Loads a configuration file into a copy dialog's hidden work control, or
// tells the developer it could not be read.

#include "platform/automation/Dispatch.h"

#include <QString>

// True when the file loaded; otherwise the fixed message was shown under
// `title` and the work control is as it was.
bool LoadWorkConfiguration(const com::Object& work, const QString& file, const QString& title);
