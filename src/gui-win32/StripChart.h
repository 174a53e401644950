#pragma once

#include <windows.h>

#include "app/strip/StripProgress.h"

namespace tarvo::win32 {

// Draws the Strip window's chart into rect of dc with GDI: white ground,
// the axes "Patch" and "Density" with their scales, each curve in its ink's
// colour over its reference's thin dashed one, and a legend of the inks shown. Every GDI object it
// makes it deletes again; verticalFont is the font of the density axis's title.
void drawStripChart(HDC dc, const RECT& rect, const StripPicture& picture, HFONT verticalFont);

}  // namespace tarvo::win32
