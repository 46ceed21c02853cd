#pragma once
// File dialog filters. The classic filter is "Description|Pattern;Pattern|Description|Pattern";
// Qt wants "Description (Pattern Pattern)" entries separated by ";;".

#include <QStringList>

#include "rtl/SysUtils.h"

namespace vcl::qt {

// One Qt filter per description/pattern pair, in order. A description that already ends with
// its patterns in parentheses is kept as it is; "*.*" becomes "*", which Qt needs to match
// names without an extension. A trailing description without a pattern is dropped.
QStringList ToQtFilters(const vcl::AnsiString& Filter);
// The same, joined as QFileDialog::setNameFilter expects.
QString ToQtFilter(const vcl::AnsiString& Filter);

} // namespace vcl::qt
