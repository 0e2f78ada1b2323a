#pragma once
// The per-column amplitude table of the waveform: rows 0..10000, three single-precision columns
// (0 = left or mono, 1 = right, 2 unused by the drawing). Each value is a normalised amplitude of
// about -1..+1. A row outside the table is not stored, and reads as 0.

#include <vector>

class ColumnTable {
public:
    static constexpr int Rows = 10001;
    static constexpr int Columns = 3;

    ColumnTable() : values_(std::size_t(Rows) * Columns, 0.0f) {}

    static bool HasRow(long long row) { return row >= 0 && row < Rows; }
    float At(long long row, int column) const
    {
        return HasRow(row) && column >= 0 && column < Columns
                   ? values_[std::size_t(row) * Columns + std::size_t(column)] : 0.0f;
    }
    void Set(long long row, int column, float value)
    {
        if (HasRow(row) && column >= 0 && column < Columns)
            values_[std::size_t(row) * Columns + std::size_t(column)] = value;
    }

private:
    std::vector<float> values_;
};
