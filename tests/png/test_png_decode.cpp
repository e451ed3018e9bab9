// Image data: inflating across IDAT chunks, unfiltering, Adam7, conversions.
#include "PngTestUtil.h"

#include <zlib.h>

#include <cstring>
#include <filesystem>

using namespace tabulon;
using namespace tabulon::test;

namespace {

struct Format {
    uint8_t depth, type;
};
const Format kFormats[] = {{1, 0}, {2, 0}, {4, 0},  {8, 0}, {16, 0}, {1, 3}, {2, 3}, {4, 3},
                           {8, 3}, {8, 2}, {16, 2}, {8, 4}, {16, 4}, {8, 6}, {16, 6}};

std::string Name(const Format& f) {
    return "type " + std::to_string(f.type) + " depth " + std::to_string(f.depth);
}

// The RGBA an image must decode to, worked out from its samples.
Bytes ExpectedRgba(const TestImage& image) {
    Bytes out;
    const auto top = [&](uint16_t s) { return uint8_t(image.depth == 16 ? s >> 8 : s); };
    const auto grey = [&](uint16_t s) {
        if (image.depth == 16) return uint8_t(s >> 8);
        return uint8_t(s * 255 / ((1u << image.depth) - 1));
    };
    for (uint32_t y = 0; y < image.height; ++y)
        for (uint32_t x = 0; x < image.width; ++x) {
            const auto s = [&](unsigned c) { return image.Sample(x, y, c); };
            switch (image.colourType) {
            case 0:
                out.insert(out.end(), {grey(s(0)), grey(s(0)), grey(s(0)), 255});
                break;
            case 3: {
                const unsigned i = s(0);
                out.insert(out.end(), {uint8_t(i), uint8_t(255 - i), uint8_t(i * 7), 255});
                break;
            }
            case 2:
                out.insert(out.end(), {top(s(0)), top(s(1)), top(s(2)), 255});
                break;
            case 4:
                out.insert(out.end(), {top(s(0)), top(s(0)), top(s(0)), top(s(1))});
                break;
            case 6:
                out.insert(out.end(), {top(s(0)), top(s(1)), top(s(2)), top(s(3))});
                break;
            }
        }
    return out;
}

TEST(PngDecode, EveryFormatPlainAndInterlacedWithEveryFilter) {
    for (const Format& f : kFormats) {
        for (uint32_t width : {1u, 3u, 13u}) {
            const TestImage image = RandomImage(width, 11, f.depth, f.type, width * 31 + f.type);
            const Bytes expected = ExpectedRgba(image);
            for (bool interlaced : {false, true})
                for (int filter : {0, 1, 2, 3, 4, -1}) {
                    SCOPED_TRACE(Name(f) + " width " + std::to_string(width) +
                                 (interlaced ? " Adam7" : "") + " filter " +
                                 std::to_string(filter));
                    auto decoded = Decode(EncodePng(image, filter, interlaced));
                    ASSERT_EQ(DecodedRgba(*decoded), expected);
                }
        }
    }
}

TEST(PngDecode, OneByteIdatChunksMatchOneChunk) {
    const TestImage image = RandomImage(17, 9, 8, 6, 3);
    const Bytes whole = DecodedRgba(*Decode(EncodePng(image, -1, false)));
    const Bytes pieces = DecodedRgba(*Decode(EncodePng(image, -1, false, 1)));
    EXPECT_EQ(whole, pieces);
    EXPECT_EQ(pieces, ExpectedRgba(image));
}

TEST(PngDecode, EmptyIdatChunksBetweenOthersArePassedOver) {
    const TestImage image = RandomImage(5, 5, 8, 2, 4);
    const Bytes data = Deflate(Scanlines(image));
    PngBuilder png;
    png.Ihdr(5, 5, 8, 2);
    png.Chunk("IDAT", Bytes(data.begin(), data.begin() + 10)).Chunk("IDAT", {});
    png.Chunk("IDAT", Bytes(data.begin() + 10, data.end())).Iend();
    EXPECT_EQ(DecodedRgba(*Decode(png.Get())), ExpectedRgba(image));
}

TEST(PngDecode, DataEndingBeforeTheLastRowMissesParts) {
    const TestImage image = RandomImage(8, 8, 8, 0, 5);
    const Bytes data = Deflate(Scanlines(image));
    PngBuilder png;
    png.Ihdr(8, 8, 8, 0).Chunk("IDAT", Bytes(data.begin(), data.begin() + data.size() / 2)).Iend();
    EXPECT_EQ(DecodeError<EPNGMissingMultipleIDAT>(png.Get()),
              L"This \"Portable Network Graphics\" image is invalid because it has missing image "
              L"parts.");
}

TEST(PngDecode, BadCrcInTheSecondOfThreeIdatChunks) {
    const TestImage image = RandomImage(16, 16, 8, 2, 6);
    const Bytes data = Deflate(Scanlines(image), 0);
    const size_t third = data.size() / 3;
    PngBuilder png;
    png.Ihdr(16, 16, 8, 2);
    png.Chunk("IDAT", Bytes(data.begin(), data.begin() + third));
    const Bytes second(data.begin() + third, data.begin() + 2 * third);
    png.ChunkWithCrc("IDAT", second, PngCrc("IDAT", second) ^ 1);
    png.Chunk("IDAT", Bytes(data.begin() + 2 * third, data.end())).Iend();
    EXPECT_EQ(DecodeError<EPngInvalidCRC>(png.Get()), kPngInvalidCRCText);
    // Same for the last chunk's CRC.
    PngBuilder last;
    last.Ihdr(16, 16, 8, 2).ChunkWithCrc("IDAT", data, PngCrc("IDAT", data) + 1).Iend();
    EXPECT_NE(DecodeError<EPngInvalidCRC>(last.Get()), L"");
}

TEST(PngDecode, ReadSettingsTurnOffTheCrcCheckAndLowerThePixelLimit) {
    // Every CRC wrong: in the header, in the middle of three image data
    // chunks, in an ancillary chunk and in the end chunk.
    const TestImage image = RandomImage(16, 16, 8, 6, 7);
    const Bytes data = Deflate(Scanlines(image, -1));
    const size_t third = data.size() / 3;
    PngBuilder good, bad;
    good.Ihdr(16, 16, 8, 6).Idat(data, third).Iend();
    Bytes ihdr = BigEndian32(16);
    for (uint8_t b : BigEndian32(16))
        ihdr.push_back(b);
    ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
    bad.ChunkWithCrc("IHDR", ihdr, PngCrc("IHDR", ihdr) ^ 0x80000000);
    bad.ChunkWithCrc("tEXt", {'a', 0, 'b'}, 0);
    for (size_t at = 0; at < data.size(); at += third) {
        const Bytes piece(data.begin() + at, data.begin() + std::min(data.size(), at + third));
        bad.ChunkWithCrc("IDAT", piece, PngCrc("IDAT", piece) + (at == third ? 1 : 0));
    }
    bad.ChunkWithCrc("IEND", {}, 1);
    EXPECT_EQ(DecodeError<EPngInvalidCRC>(bad.Get()), kPngInvalidCRCText);

    TPngGraphic unchecked;
    unchecked.ReadSettings.checkCrc = false;
    TMemoryStream stream(bad.Get().data(), bad.Get().size());
    unchecked.DecodeFromStream(stream);
    EXPECT_EQ(DecodedRgba(unchecked), DecodedRgba(*Decode(good.Get())));

    // The bitmap holds 16 x 16 pixels of 3 bytes, 768 bytes (the alpha plane 256).
    TPngGraphic limited;
    limited.ReadSettings.maxPixelBytes = 767;
    EXPECT_NE(DecodeError<EPNGOutMemory>(good.Get(), &limited), L"");
    limited.ReadSettings.maxPixelBytes = 768;
    TMemoryStream again(good.Get().data(), good.Get().size());
    limited.DecodeFromStream(again);
    EXPECT_EQ(DecodedRgba(limited), DecodedRgba(*Decode(good.Get())));
}

TEST(PngDecode, CorruptCompressedDataNamesTheZlibError) {
    Bytes data = Deflate(GreyRows(4, 4));
    data[0] = 0x12; // not a zlib header
    PngBuilder png;
    png.Ihdr(4, 4, 8, 0).Idat(data).Iend();
    EXPECT_EQ(DecodeError<EPNGZLIBError>(png.Get()),
              L"Could not decompress the image because it contains invalid compressed "
              L"data.\r\n Description: data error (-3)");
}

TEST(PngDecode, PresetDictionaryIsAnErrorNotAHang) {
    z_stream z{};
    deflateInit(&z, 6);
    const Bytes dictionary(16, 'd');
    deflateSetDictionary(&z, dictionary.data(), static_cast<uInt>(dictionary.size()));
    Bytes raw = GreyRows(4, 4), out(256);
    z.next_in = raw.data();
    z.avail_in = static_cast<uInt>(raw.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    PngBuilder png;
    png.Ihdr(4, 4, 8, 0).Idat(out).Iend();
    EXPECT_NE(DecodeError<EPNGZLIBError>(png.Get()).find(L"need dictionary (2)"),
              std::wstring::npos);
}

TEST(PngDecode, StreamEndBeforeTheLastRowStopsDecoding) {
    // A complete zlib stream of 3 rows for an image of 6 rows, with trailing
    // bytes still in the chunk: decoding stops, the missing rows stay zero.
    Bytes data = Deflate(GreyRows(4, 3, 0x77));
    data.insert(data.end(), {1, 2, 3, 4, 5});
    PngBuilder png;
    png.Ihdr(4, 6, 8, 0).Idat(data).Iend();
    auto image = Decode(png.Get());
    const Bytes rgba = DecodedRgba(*image);
    EXPECT_EQ(rgba[0], 0x77);
    EXPECT_EQ(rgba[4 * 4 * 2], 0x77);
    EXPECT_EQ(rgba[4 * 4 * 3], 0);
    EXPECT_EQ(rgba[4 * 4 * 6 - 4], 0);
    EXPECT_EQ(image->ChunkList().Item(2)->ChunkTypeName(), "IEND");
}

TEST(PngDecode, FileEndingInsideTheImageData) {
    const TestImage image = RandomImage(8, 8, 8, 2, 7);
    Bytes bytes = EncodePng(image);
    bytes.resize(bytes.size() - 12 - 4 - 20); // drop IEND, the CRC and some data
    TPngGraphic decoded;
    EXPECT_NE(DecodeError<EPngInvalidCRC>(bytes, &decoded), L"");
    EXPECT_EQ(decoded.PixelWidth(), 8u); // partly decoded image remains
}

TEST(PngDecode, UnknownFilterTypeLeavesTheRowAsItIs) {
    PngBuilder png;
    png.Ihdr(3, 2, 8, 0).Idat(Deflate(Bytes{7, 10, 20, 30, 2, 1, 1, 1})).Iend();
    const Bytes rgba = DecodedRgba(*Decode(png.Get()));
    EXPECT_EQ(rgba[0], 10);
    EXPECT_EQ(rgba[8], 30);
    EXPECT_EQ(rgba[12], 11); // Up against the unfiltered row
    EXPECT_EQ(rgba[20], 31);
}

TEST(PngDecode, Adam7WidthOne) {
    const TestImage image = RandomImage(1, 9, 8, 2, 8);
    EXPECT_EQ(DecodedRgba(*Decode(EncodePng(image, 4, true))), ExpectedRgba(image));
    EXPECT_EQ(DecodedRgba(*Decode(EncodePng(image, 4, true))),
              DecodedRgba(*Decode(EncodePng(image, 4, false))));
}

TEST(PngDecode, SixteenBitRgbKeepsTheHighBytes) {
    PngBuilder png;
    png.Ihdr(1, 1, 16, 2).Idat(Deflate(Bytes{0, 0x12, 0xFF, 0x56, 0x01, 0x9A, 0x80})).Iend();
    auto image = Decode(png.Get());
    const uint8_t* row = image->HeaderChunk().PixelRow(0);
    EXPECT_EQ(row[0], 0x9A);
    EXPECT_EQ(row[1], 0x56);
    EXPECT_EQ(row[2], 0x12);
}

TEST(PngDecode, TwoBitGreyShowsItsTrueLevels) {
    for (bool interlaced : {false, true}) {
        PngBuilder png;
        if (interlaced) {
            // 4 × 1 Adam7: passes 1, 2, 4, 6 hold columns 0, (none), 2, 1 and 3.
            png.Ihdr(4, 1, 2, 0, 1);
            png.Idat(Deflate(Bytes{0, 0xC0, 0, 0xC0, 0, 0xF0}));
        } else {
            png.Ihdr(4, 1, 2, 0);
            png.Idat(Deflate(Bytes{0, 0xFF}));
        }
        auto image = Decode(png.Iend().Get());
        const uint8_t* row = image->HeaderChunk().PixelRow(0);
        EXPECT_EQ(row[0], 0xFF) << interlaced;
        EXPECT_EQ(row[1], 0xFF) << interlaced;
    }
    PngBuilder levels;
    levels.Ihdr(4, 1, 2, 0).Idat(Deflate(Bytes{0, 0x1B})).Iend(); // 0, 1, 2, 3
    const Bytes rgba = DecodedRgba(*Decode(levels.Get()));
    EXPECT_EQ(rgba[0], 0);
    EXPECT_EQ(rgba[4], 85);
    EXPECT_EQ(rgba[8], 170);
    EXPECT_EQ(rgba[12], 255);
}

TEST(PngDecode, AlphaIsNotGammaCorrected) {
    PngBuilder png;
    png.Ihdr(1, 1, 8, 6).Chunk("gAMA", BigEndian32(100000));
    png.Idat(Deflate(Bytes{0, 128, 128, 128, 128})).Iend();
    auto image = Decode(png.Get());
    EXPECT_EQ(image->HeaderChunk().AlphaPlane()[0], 128);
    EXPECT_EQ(image->HeaderChunk().PixelRow(0)[0], 186);
}

TEST(PngDecode, CopyImageFromGivesAnEqualImage) {
    for (const Format& f : {Format{8, 6}, Format{2, 3}, Format{4, 0}, Format{16, 4}}) {
        const TestImage pixels = RandomImage(7, 5, f.depth, f.type, 9);
        PngBuilder png;
        png.Ihdr(7, 5, f.depth, f.type).Chunk("gAMA", BigEndian32(50000));
        if (f.type == 3) png.Chunk("PLTE", Bytes(12, 99)).Chunk("tRNS", {0, 255});
        png.Chunk("zTXt", {'k', 0, 0, 0x78, 0x9c, 3, 0, 0, 0, 0, 1}).Chunk("teSt", {5});
        png.Idat(Deflate(Scanlines(pixels))).Chunk("tIME", Bytes(7, 1)).Iend();
        auto source = Decode(png.Get());
        TPngGraphic copy;
        copy.CopyImageFrom(*source);
        SCOPED_TRACE(Name(f));
        ASSERT_EQ(copy.ChunkList().Count(), source->ChunkList().Count());
        for (size_t i = 0; i < copy.ChunkList().Count(); ++i) {
            EXPECT_EQ(&copy.ChunkList().Item(i)->Class(), &source->ChunkList().Item(i)->Class());
            EXPECT_EQ(&copy.ChunkList().Item(i)->OwnerImage(), &copy);
        }
        EXPECT_EQ(DecodedRgba(copy), DecodedRgba(*source));
        const TChunkIHDR& a = copy.HeaderChunk();
        const TChunkIHDR& b = source->HeaderChunk();
        EXPECT_EQ(std::memcmp(a.PixelBits(), b.PixelBits(), a.RowStride() * 5), 0);
        EXPECT_EQ(std::memcmp(&a.DibHeader(), &b.DibHeader(), sizeof(TDibInfo)), 0);
        if (b.AlphaPlane()) {
            EXPECT_EQ(std::memcmp(a.AlphaPlane(), b.AlphaPlane(), 35), 0);
        }
        EXPECT_NE(a.PixelBits(), b.PixelBits());
        EXPECT_EQ(copy.ChunkList().FindChunk<TChunkgAMA>()->Gamma(), 50000u);
        for (size_t i = 0; i < copy.ChunkList().Count(); ++i) {
            if (TypeCodeText(copy.ChunkList().Item(i)->TypeCode()) == "teSt") {
                EXPECT_EQ(copy.ChunkList().Item(i)->Payload()[0], 5);
            }
        }
        if (f.type == 3) {
            EXPECT_EQ(copy.ChunkList().FindChunk<TChunkPLTE>()->PaletteCount(), 4u);
            EXPECT_EQ(copy.ChunkList().FindChunk<TChunktRNS>()->AlphaTable()[0], 0);
            EXPECT_EQ(copy.TransparentKey(), source->TransparentKey());
        }
        // A later read of the source leaves the copy alone.
        source->ClearChunks();
        EXPECT_EQ(copy.PixelWidth(), 7u);
    }
}

TEST(PngDecode, TransparencyKindsAndKeys) {
    struct Case {
        uint8_t depth, type;
        Bytes trns;
        int kind;
        uint32_t key;
    };
    const Case cases[] = {
        {8, 2, {}, 0, 0},
        {8, 2, {0, 0, 0, 255, 0, 0}, 1, 0x00FF00},
        {16, 2, {0x12, 0x00, 0x34, 0x00, 0x56, 0x00}, 1, 0x563412},
        {8, 2, {0, 9}, 1, 0x000009}, // short payload: missing bytes are 0
        {8, 0, {0, 77}, 1, 0x4D4D4D},
        {2, 0, {0, 1}, 1, 0x555555},
        {8, 0, {}, 0, 0},
        {8, 3, {255, 0}, 1, 0x2A2A2A},
        {8, 3, {100, 50}, 2, 0},
        {8, 3, {255, 128}, 2, 0},    // one entry, only partly transparent: blended
        {8, 3, {255, 255, 0}, 2, 0}, // the transparent index has no colour
        {8, 4, {}, 2, 0},
        {8, 6, {}, 2, 0},
    };
    for (const Case& c : cases) {
        PngBuilder png;
        png.Ihdr(1, 1, c.depth, c.type);
        if (c.type == 3) png.Chunk("PLTE", {1, 1, 1, 42, 42, 42});
        if (!c.trns.empty()) png.Chunk("tRNS", c.trns);
        const size_t rowBytes = PixelGeometryOf(c.type, c.depth, 1).rowBytes;
        auto image = Decode(png.Idat(Deflate(Bytes(rowBytes + 1, 0))).Iend().Get());
        SCOPED_TRACE(testing::Message()
                     << int(c.type) << "/" << int(c.depth) << " tRNS " << c.trns.size());
        EXPECT_EQ(image->TransparencyKind(), c.kind);
        EXPECT_EQ(image->Transparent(), c.kind != 0);
        EXPECT_EQ(image->TransparentKey(), c.key);
    }
    TPngGraphic blank;
    EXPECT_THROW(blank.TransparencyKind(), EPNGHeaderNotPresent);
    EXPECT_EQ(blank.TransparentKey(), 0u);
}

TEST(PngDecode, CrashersFailCleanly) {
    // Every file in the folder must be refused with one of our errors.
    const std::filesystem::path folder = std::filesystem::path(TABULON_TESTDATA) / "crashers";
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".png") continue;
        ++count;
        SCOPED_TRACE(entry.path().filename().string());
        const Bytes bytes = ReadFileBytes(entry.path().string());
        TPngGraphic image;
        TMemoryStream stream(bytes.data(), bytes.size());
        try {
            image.DecodeFromStream(stream);
            ADD_FAILURE() << "decoded";
        } catch (const Exception&) {
        }
    }
    EXPECT_GT(count, 0);
}

TEST(PngDecode, FuzzFindingsEndCleanly) {
    // What the fuzz target found, read as it read them (no CRC check, its
    // pixel limit) and as the program reads them: a picture or one of our
    // errors, never a crash (the sanitizer build watches the memory).
    const std::filesystem::path folder =
        std::filesystem::path(TABULON_TESTDATA) / "crashers" / "png";
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        ++count;
        SCOPED_TRACE(entry.path().filename().string());
        const Bytes bytes = ReadFileBytes(entry.path().string());
        for (const bool fuzzSettings : {true, false}) {
            TPngGraphic image;
            if (fuzzSettings) {
                image.ReadSettings.checkCrc = false;
                image.ReadSettings.maxPixelBytes = 64u << 20;
            }
            TMemoryStream stream(bytes.data(), bytes.size());
            try {
                image.DecodeFromStream(stream);
                EXPECT_EQ(DecodedRgba(image).size(),
                          size_t(image.PixelWidth()) * image.PixelHeight() * 4);
            } catch (const Exception&) {
            }
        }
    }
    EXPECT_GT(count, 0);
}

} // namespace
