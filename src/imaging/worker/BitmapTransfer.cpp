#include "imaging/worker/BitmapTransfer.h"

#include "imaging/file/FreeImageAccess.h"

#include <cstdint>
#include <cstring>

namespace {
constexpr std::uint32_t kMagic = 0x4B424D31;   // "KBM1"

struct Header {
    std::uint32_t magic;
    std::uint32_t type;
    std::uint32_t width, height, bpp;
    std::uint32_t redMask, greenMask, blueMask;
    std::uint32_t lineBytes;
    std::uint32_t paletteEntries;
    std::uint32_t transparentEntries;
    std::uint32_t dotsPerMeterX, dotsPerMeterY;
};
static_assert(sizeof(Header) == 13 * 4);
}

QByteArray PackBitmap(const ImageBitmap& bitmap)
{
    FIBITMAP* dib = FreeImageAccess::Handle(bitmap);
    if (!dib || !fi::FreeImage_HasPixels(dib)) return {};
    Header h{};
    h.magic = kMagic;
    h.type = fi::FreeImage_GetImageType(dib);
    h.width = fi::FreeImage_GetWidth(dib);
    h.height = fi::FreeImage_GetHeight(dib);
    h.bpp = fi::FreeImage_GetBPP(dib);
    h.redMask = fi::FreeImage_GetRedMask(dib);
    h.greenMask = fi::FreeImage_GetGreenMask(dib);
    h.blueMask = fi::FreeImage_GetBlueMask(dib);
    h.lineBytes = fi::FreeImage_GetLine(dib);
    h.paletteEntries = fi::FreeImage_GetPalette(dib) ? fi::FreeImage_GetColorsUsed(dib) : 0;
    h.transparentEntries = fi::FreeImage_GetTransparencyCount(dib);
    h.dotsPerMeterX = fi::FreeImage_GetDotsPerMeterX(dib);
    h.dotsPerMeterY = fi::FreeImage_GetDotsPerMeterY(dib);

    const qsizetype size = qsizetype(sizeof h) + qsizetype(h.paletteEntries) * 4 +
                           qsizetype(h.transparentEntries) + qsizetype(h.lineBytes) * h.height;
    QByteArray bytes(size, Qt::Uninitialized);
    char* out = bytes.data();
    std::memcpy(out, &h, sizeof h);
    out += sizeof h;
    if (h.paletteEntries) {
        std::memcpy(out, fi::FreeImage_GetPalette(dib), std::size_t(h.paletteEntries) * 4);
        out += h.paletteEntries * 4;
    }
    if (h.transparentEntries) {
        std::memcpy(out, fi::FreeImage_GetTransparencyTable(dib), h.transparentEntries);
        out += h.transparentEntries;
    }
    for (unsigned y = 0; y < h.height; ++y, out += h.lineBytes)
        std::memcpy(out, fi::FreeImage_GetScanLine(dib, int(y)), h.lineBytes);
    return bytes;
}

ImageBitmap UnpackBitmap(const QByteArray& bytes)
{
    Header h{};
    if (bytes.size() < qsizetype(sizeof h)) return {};
    std::memcpy(&h, bytes.constData(), sizeof h);
    if (h.magic != kMagic || h.width == 0 || h.height == 0 || h.bpp == 0 || h.bpp > 128 ||
        h.width > 1u << 20 || h.height > 1u << 20 || h.paletteEntries > 256 ||
        h.transparentEntries > 256)
        return {};
    if (std::uint64_t(h.lineBytes) != (std::uint64_t(h.width) * h.bpp + 7) / 8) return {};
    const std::uint64_t expected = sizeof h + std::uint64_t(h.paletteEntries) * 4 +
                                   h.transparentEntries + std::uint64_t(h.lineBytes) * h.height;
    if (expected != std::uint64_t(bytes.size())) return {};

    FreeImageAccess::EnsureInitialised();
    ImageBitmap bitmap = FreeImageAccess::Adopt(fi::FreeImage_AllocateT(
        FREE_IMAGE_TYPE(h.type), int(h.width), int(h.height), int(h.bpp), h.redMask, h.greenMask,
        h.blueMask));
    FIBITMAP* dib = FreeImageAccess::Handle(bitmap);
    if (!dib || fi::FreeImage_GetLine(dib) != h.lineBytes) return {};
    const char* in = bytes.constData() + sizeof h;
    if (h.paletteEntries) {
        if (!fi::FreeImage_GetPalette(dib) || fi::FreeImage_GetColorsUsed(dib) != h.paletteEntries) return {};
        std::memcpy(fi::FreeImage_GetPalette(dib), in, std::size_t(h.paletteEntries) * 4);
        in += h.paletteEntries * 4;
    }
    if (h.transparentEntries) {
        BYTE table[256];
        std::memcpy(table, in, h.transparentEntries);
        fi::FreeImage_SetTransparencyTable(dib, table, int(h.transparentEntries));
        in += h.transparentEntries;
    }
    for (unsigned y = 0; y < h.height; ++y, in += h.lineBytes)
        std::memcpy(fi::FreeImage_GetScanLine(dib, int(y)), in, h.lineBytes);
    fi::FreeImage_SetDotsPerMeterX(dib, h.dotsPerMeterX);
    fi::FreeImage_SetDotsPerMeterY(dib, h.dotsPerMeterY);
    return bitmap;
}
