#pragma once
// The one crossing between the program's GBK texts and Qt's Unicode.

#include <QString>

#include "text/text_value.h"

namespace vorlakin {

// Bytes that are not GBK show as replacement characters.
QString ToQString(const Text& gbk);

// Characters GBK cannot hold become '?'; the empty string gives the absent text.
Text ToGbkText(const QString& text);

}  // namespace vorlakin
