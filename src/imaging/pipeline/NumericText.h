#pragma once
// Numbers typed into the image processor's text boxes, read as the boxes' change handlers and
// the pipeline read them.
#include "imaging/pipeline/Checked.h"

#include <QString>
#include <QStringView>

#include <cstdint>

// True when the whole text, blanks around it aside, is one number: an optional sign, digits with
// at most one decimal point, an optional exponent (E or D followed by digits), or a hexadecimal
// "&H..." or octal "&O..." integer. An empty or blank text is not a number.
bool IsNumeric(QStringView text);

// A text box's number as a 32-bit integer, rounded half to even. A text that is not a number
// fails with "Type mismatch"; a value outside the 32-bit range with "Overflow".
Checked<std::int32_t> TextToLong(QStringView text);
// A text box's number as a double; "Type mismatch" for a text that is not a number.
Checked<double> TextToDouble(QStringView text);
