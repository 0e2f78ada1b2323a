#pragma once
// Numbers typed into the image processor's text boxes, read as the boxes' change handlers and
// the pipeline read them.
#include <QString>
#include <QStringView>

#include <cstdint>
#include <stdexcept>

// A run-time error of the image processor, whose text is the error's description shown to the
// user ("Type mismatch", "Overflow", "Cannot read the image file ...").
class ImagingError : public std::runtime_error {
public:
    explicit ImagingError(const QString& description)
        : std::runtime_error(description.toStdString()) {}
    QString description() const { return QString::fromStdString(what()); }
};

// True when the whole text, blanks around it aside, is one number: an optional sign, digits with
// at most one decimal point, an optional exponent (E or D followed by digits), or a hexadecimal
// "&H..." or octal "&O..." integer. An empty or blank text is not a number.
bool IsNumeric(QStringView text);

// A text box's number as a 32-bit integer, rounded half to even. A text that is not a number
// raises "Type mismatch"; a value outside the 32-bit range raises "Overflow".
std::int32_t TextToLong(QStringView text);
// A text box's number as a double; "Type mismatch" for a text that is not a number.
double TextToDouble(QStringView text);
