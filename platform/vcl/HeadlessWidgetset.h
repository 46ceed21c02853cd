#pragma once
// The headless widgetset: what TWidgetset's own methods do when no native widgetset is installed.
//
// No control gets a peer and nothing is drawn. Modal forms, file and font dialogs, message boxes
// and popup menus become modal requests answered by the installed responder (ModalResponder.h),
// and the dialogs' options are then checked as a native dialog would (a default extension is
// added, a file that must exist is looked for, an overwrite is confirmed). Text is measured by an
// estimate from the font's height, and a form's frame has fixed sizes.

#include "vcl/Widgetset.h"

namespace vcl {

// The headless widgetset, which Widgetset() returns while none other is installed.
TWidgetset* HeadlessWidgetset();

} // namespace vcl
