#pragma once
// A value worked out from the user's input, or the description of the error that stopped it
// ("Type mismatch", "Overflow", "Cannot rescale the image ..."), which the caller reports.
#include <QString>

#include <utility>

template <typename T>
struct Checked {
    T value{};
    QString error;   // empty when value holds the result

    bool ok() const { return error.isEmpty(); }
    static Checked Of(T v) { return {std::move(v), QString()}; }
    static Checked Failure(QString description) { return {T{}, std::move(description)}; }
};
