#include "ui/gbk_strings.h"

#include "text/code_page.h"

namespace vorlakin {

QString ToQString(const Text& gbk) { return QString::fromStdString(GbkToUtf8(gbk.View())); }

Text ToGbkText(const QString& text) { return Text::PresentOrAbsent(Utf8ToGbk(text.toStdString())); }

}  // namespace vorlakin
