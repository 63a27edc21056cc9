#pragma once
// A check of the windows as a user sees them, started only when the
// environment variable ZO_SCREENSHOTS names a folder: it paints a few
// organisms, runs 50 ticks, saves pictures of the windows there and quits.
#include <QString>

void ScreenshotRun(const QString& folder);
