#pragma once
// The bytes of the interface text table as it ships with the program (UTF-8, one entry a line),
// compiled in from src/text/strings.tsv.

#include <QByteArrayView>

namespace text {

QByteArrayView TextTableData();

} // namespace text
