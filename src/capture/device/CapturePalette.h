#pragma once
// The palette of 8-bit capture: built from the colours of chosen frames (median cut over a
// histogram of 15-bit colours), applied to pictures through a table of the nearest palette
// colour for each 15-bit colour, and kept in RIFF palette files.
#include <QImage>
#include <QString>
#include <QVector>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

class ColourHistogram {
public:
    // Counts the colours of a picture (every pixel of pictures up to 640 × 480, an even spread
    // of that many pixels of larger ones).
    void add(const QImage& picture);
    void clear();
    bool isEmpty() const { return total_ == 0; }
    std::uint64_t total() const { return total_; }
    std::uint32_t count(int red5, int green5, int blue5) const;

    // At most `colours` colours (1..256) that stand for the counted ones: the colour space is cut
    // into boxes, each time the most populous box along its longest side at its median, and each
    // box gives the average of its colours. Fewer when fewer distinct colours were counted;
    // none when nothing was.
    QVector<QRgb> medianCut(int colours) const;

private:
    std::vector<std::uint32_t> cells_ = std::vector<std::uint32_t>(32768, 0);
    std::uint64_t total_ = 0;
};

// Maps pictures onto a palette: each pixel becomes the index of the palette colour nearest to
// its 15-bit colour.
class PaletteMap {
public:
    explicit PaletteMap(const QVector<QRgb>& palette);
    const QVector<QRgb>& palette() const { return palette_; }
    // An Indexed8 picture with the palette as its colour table; null for an empty palette.
    QImage apply(const QImage& picture) const;
    int indexOf(QRgb colour) const;

private:
    QVector<QRgb> palette_;
    std::vector<std::uint8_t> table_;   // 32768 entries
};

// RIFF palette files ("RIFF" size "PAL " then a "data" chunk: version 0x0300, the count, and
// red, green, blue, flags for each colour). Reading takes the first "data" chunk after any
// others and refuses files that are truncated, hold no colours or more than 256.
std::optional<QVector<QRgb>> ReadPaletteFile(const QString& path);
// Written whole or not at all (a failed write leaves an existing file as it was).
bool WritePaletteFile(const QString& path, const QVector<QRgb>& palette);
