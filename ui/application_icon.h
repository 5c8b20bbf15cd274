#pragma once
// The program's icon: a parcel, drawn when first asked for.

#include <QIcon>

namespace vorlakin {

QIcon ApplicationIcon();

}  // namespace vorlakin
