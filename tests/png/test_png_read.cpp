// The chunk container: signature, chunk loop, CRCs, chunk classes, errors.
#include "PngTestUtil.h"

#include <zlib.h>

using namespace tabulon;
using namespace tabulon::test;

namespace {

PngBuilder GreyHeader(uint32_t w = 4, uint32_t h = 2) {
    PngBuilder png;
    png.Ihdr(w, h, 8, 0);
    return png;
}

Bytes GreyPng(PngBuilder png, uint32_t w = 4, uint32_t h = 2) {
    return png.Idat(Deflate(GreyRows(w, h))).Iend().Get();
}

TEST(PngRead, ValidImageHasHeaderAndChunksInFileOrder) {
    PngBuilder png = GreyHeader();
    png.Chunk("tEXt", {'K', 0, 'b', 'o', 'd', 'y'});
    auto image = Decode(GreyPng(png));
    EXPECT_FALSE(image->IsBlank());
    EXPECT_EQ(image->PixelWidth(), 4u);
    EXPECT_EQ(image->PixelHeight(), 2u);
    const TChunkList& list = image->ChunkList();
    ASSERT_EQ(list.Count(), 4u);
    EXPECT_EQ(list.Item(0)->ChunkTypeName(), "IHDR");
    EXPECT_EQ(list.Item(1)->ChunkTypeName(), "tEXt");
    EXPECT_EQ(list.Item(2)->ChunkTypeName(), "IDAT");
    EXPECT_EQ(list.Item(3)->ChunkTypeName(), "IEND");
    auto* text = list.FindChunk<TChunktEXt>();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->KeywordText, "K");
    EXPECT_EQ(text->BodyText, "body");
}

TEST(PngRead, SignatureAndEarlyEndErrors) {
    Bytes bad = GreyPng(GreyHeader());
    bad[1] = 'Q';
    EXPECT_EQ(DecodeError<EPNGInvalidFileHeader>(bad),
              L"The file being readed is not a valid \"Portable Network Graphics\" image because "
              L"it contains an invalid header. This file may be corruped, try obtaining it "
              L"again.");
    EXPECT_EQ(DecodeError<EPNGInvalidFileHeader>(Bytes{0x89, 0x50}), kPngInvalidFileHeaderText);

    const Bytes signatureOnly = PngBuilder().Get();
    EXPECT_EQ(DecodeError<EPngUnexpectedEnd>(signatureOnly),
              L"This \"Portable Network Graphics\" image is invalid because the decoder found an "
              L"unexpected end of the file.");

    // A length of 2 bytes, or a length without a complete type code.
    Bytes partial = signatureOnly;
    partial.insert(partial.end(), {0, 0});
    EXPECT_NE(DecodeError<EPngUnexpectedEnd>(partial), L"");
    partial.insert(partial.end(), {0, 13, 'I', 'H'});
    EXPECT_NE(DecodeError<EPngUnexpectedEnd>(partial), L"");
}

TEST(PngRead, FirstChunkMustBeHeader) {
    PngBuilder png;
    png.Chunk("gAMA", BigEndian32(45455)).Ihdr(1, 1, 8, 0);
    TPngGraphic image;
    EXPECT_EQ(DecodeError<EPNGIHDRNotFirst>(GreyPng(png, 1, 1), &image),
              L"This \"Portable Network Graphics\" image is not supported or it might be "
              L"invalid.\r\n(IHDR chunk is not the first)");
    EXPECT_TRUE(image.IsBlank());
}

TEST(PngRead, HeaderLimitsAndMethods) {
    // Width 65535 is fine (1 row of grey); 65536 is not.
    {
        PngBuilder png;
        png.Ihdr(65535, 1, 8, 0);
        auto image = Decode(GreyPng(png, 65535, 1));
        EXPECT_EQ(image->PixelWidth(), 65535u);
    }
    {
        PngBuilder png;
        png.Ihdr(65536, 1, 8, 0);
        TPngGraphic image;
        EXPECT_EQ(DecodeError<EPNGSizeExceeds>(GreyPng(png, 1, 1), &image),
                  L"This \"Portable Network Graphics\" image is not supported because either "
                  L"it's width or height exceeds the maximum size, which is 65535 pixels "
                  L"length.");
        // The failing header stays in the list.
        EXPECT_EQ(image.ChunkList().Count(), 1u);
    }
    {
        PngBuilder png;
        png.Ihdr(1, 70000, 8, 0);
        EXPECT_NE(DecodeError<EPNGSizeExceeds>(GreyPng(png, 1, 1)), L"");
    }
    {
        PngBuilder png;
        png.Ihdr(1, 1, 8, 0, 0, 1);
        EXPECT_EQ(DecodeError<EPNGUnknownCompression>(GreyPng(png, 1, 1)),
                  L"This \"Portable Network Graphics\" image is encoded with an unknown "
                  L"compression scheme which could not be decoded.");
    }
    {
        PngBuilder png;
        png.Ihdr(1, 1, 8, 0, 2);
        EXPECT_EQ(DecodeError<EPNGUnknownInterlace>(GreyPng(png, 1, 1)),
                  L"This \"Portable Network Graphics\" image uses an unknown interlace scheme "
                  L"which could not be decoded.");
    }
    {
        PngBuilder png;
        png.Chunk("IHDR", Bytes{0, 0, 0, 1, 0, 0, 0, 1, 8, 0, 0, 0});
        EXPECT_EQ(DecodeError<EPngInvalidIHDR>(GreyPng(png, 1, 1)),
                  L"The \"Portable Network Graphics\" image could not be loaded because one of "
                  L"its main piece of data (ihdr) might be corrupted");
    }
}

TEST(PngRead, HeaderCombinationsWithoutConversionAreRefused) {
    struct Case {
        uint32_t w, h;
        uint8_t depth, type;
    };
    const Case cases[] = {{1, 1, 8, 1}, {1, 1, 8, 5}, {1, 1, 8, 7}, {1, 1, 4, 2},
                          {1, 1, 4, 4}, {1, 1, 2, 6}, {1, 1, 3, 0}, {1, 1, 32, 3},
                          {1, 1, 0, 0}, {0, 1, 8, 0}, {1, 0, 8, 0}, {1, 1, 1, 6}};
    for (const Case& c : cases) {
        PngBuilder png;
        png.Ihdr(c.w, c.h, c.depth, c.type);
        SCOPED_TRACE(testing::Message() << "type " << int(c.type) << " depth " << int(c.depth)
                                        << " size " << c.w << "x" << c.h);
        EXPECT_EQ(DecodeError<EPngInvalidIHDR>(GreyPng(png, 1, 1)), kPngInvalidIHDRText);
    }
}

TEST(PngRead, CrcMismatchKeepsTheFailingChunk) {
    PngBuilder png = GreyHeader();
    png.ChunkWithCrc("tEXt", {'a', 0, 'b'}, 1234);
    TPngGraphic image;
    EXPECT_EQ(DecodeError<EPngInvalidCRC>(GreyPng(png), &image),
              L"This \"Portable Network Graphics\" image is not valid because it contains "
              L"invalid pieces of data (crc error)");
    ASSERT_EQ(image.ChunkList().Count(), 2u);
    EXPECT_EQ(image.ChunkList().Item(1)->ChunkTypeName(), "tEXt");
    // The header and its image remain until the next read.
    EXPECT_EQ(image.PixelWidth(), 4u);
    image.DecodeFromStream(*std::make_unique<TMemoryStream>(GreyPng(GreyHeader(2, 3), 2, 3)));
    EXPECT_EQ(image.PixelWidth(), 2u);
}

TEST(PngRead, ChromaticitiesAndLaterImageDataAreSkipped) {
    PngBuilder png = GreyHeader();
    png.ChunkWithCrc("cHRM", Bytes(32, 1), 0xDEADBEEF); // bad CRC, never checked
    png.Idat(Deflate(GreyRows(4, 2, 0x10)));
    png.Chunk("tEXt", {'k', 0, 'v'});
    png.ChunkWithCrc("IDAT", Deflate(GreyRows(4, 2, 0x99)), 0xBAD);
    png.Iend();
    auto image = Decode(png.Get());
    const TChunkList& list = image->ChunkList();
    ASSERT_EQ(list.Count(), 4u);
    EXPECT_EQ(list.Item(1)->ChunkTypeName(), "IDAT");
    EXPECT_EQ(list.Item(2)->ChunkTypeName(), "tEXt");
    EXPECT_EQ(list.Item(3)->ChunkTypeName(), "IEND");
    EXPECT_EQ(DecodedRgba(*image)[0], 0x10);
}

TEST(PngRead, UnknownChunks) {
    PngBuilder ancillary = GreyHeader();
    ancillary.Chunk("teSt", {1, 2, 3});
    auto image = Decode(GreyPng(ancillary));
    TChunk* kept = image->ChunkList().Item(1);
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(&kept->Class(), &TChunk::kClass);
    EXPECT_EQ(TypeCodeText(kept->TypeCode()), "teSt");
    ASSERT_EQ(kept->PayloadSize(), 3u);
    EXPECT_EQ(kept->Payload()[2], 3);

    PngBuilder critical = GreyHeader();
    critical.Chunk("TEST", {1, 2, 3});
    TPngGraphic failed;
    EXPECT_EQ(DecodeError<EPNGUnknownCriticalChunk>(GreyPng(critical), &failed),
              L"This \"Portable Network Graphics\" image contains an unknown critical part which "
              L"could not be decoded.");
    ASSERT_EQ(failed.ChunkList().Count(), 2u);
    EXPECT_EQ(TypeCodeText(failed.ChunkList().Item(1)->TypeCode()), "TEST");
}

TEST(PngRead, NoImageData) {
    PngBuilder png = GreyHeader();
    png.Iend();
    EXPECT_EQ(DecodeError<EPNGNoImageData>(png.Get()),
              L"This \"Portable Network Graphics\" image contains no data.");
}

TEST(PngRead, LengthsBeyondTheStreamAreRefusedWithoutAllocating) {
    for (uint32_t length : {0xFFFFFFF0u, 0x80000000u, 0x7FFFFFFFu, 5000u}) {
        Bytes bytes = GreyHeader().Get();
        const Bytes len = BigEndian32(length);
        bytes.insert(bytes.end(), len.begin(), len.end());
        bytes.insert(bytes.end(), {'t', 'E', 'X', 't', 'a', 0, 'b'});
        SCOPED_TRACE(length);
        EXPECT_EQ(DecodeError<EPngUnexpectedEnd>(bytes), kPngUnexpectedEndText);
    }
    // Payload complete but its CRC cut short.
    Bytes cut = GreyHeader().Get();
    cut.resize(cut.size() - 2);
    EXPECT_NE(DecodeError<EPngUnexpectedEnd>(cut), L"");
}

TEST(PngRead, TooLargeToAllocate) {
    PngBuilder png;
    png.Ihdr(65535, 65535, 8, 2);
    png.Idat(Deflate(Bytes(100, 0))).Iend();
    EXPECT_EQ(DecodeError<EPNGOutMemory>(png.Get()),
              L"Some operation could not be performed because the system is out of resources. "
              L"Close some windows and try again.");
}

TEST(PngRead, PaletteSizes) {
    {
        PngBuilder png;
        png.Ihdr(1, 1, 8, 3).Chunk("PLTE", {});
        auto image = Decode(png.Idat(Deflate(Bytes{0, 0})).Iend().Get());
        EXPECT_EQ(image->ChunkList().FindChunk<TChunkPLTE>()->PaletteCount(), 0u);
        try {
            image->ChunkList().FindChunk<TChunkPLTE>()->PaletteEntry(0);
            ADD_FAILURE() << "no error";
        } catch (const EPngError& e) {
            EXPECT_EQ(e.Message(), L"There is no such palette entry.");
        }
    }
    for (size_t size : {769u, 7u}) {
        PngBuilder png;
        png.Ihdr(1, 1, 8, 3).Chunk("PLTE", Bytes(size, 1));
        EXPECT_EQ(DecodeError<EPNGInvalidPalette>(png.Idat(Deflate(Bytes{0, 0})).Iend().Get()),
                  L"The \"Portable Network Graphics\" image contains an invalid palette.");
    }
    PngBuilder png;
    png.Ihdr(1, 1, 8, 3).Chunk("PLTE", {10, 20, 30, 40, 50, 60});
    auto image = Decode(png.Idat(Deflate(Bytes{0, 1})).Iend().Get());
    EXPECT_EQ(image->ChunkList().FindChunk<TChunkPLTE>()->PaletteEntry(1), 0x28323Cu);
}

TEST(PngRead, PaletteTransparencyCounts) {
    struct Case {
        Bytes trns;
        bool single;
    };
    const Case cases[] = {{{255, 0, 255}, true}, {{0, 0}, false}, {{128}, true}, {{255}, false}};
    for (const Case& c : cases) {
        PngBuilder png;
        png.Ihdr(1, 1, 8, 3).Chunk("PLTE", Bytes(9, 7)).Chunk("tRNS", c.trns);
        auto image = Decode(png.Idat(Deflate(Bytes{0, 0})).Iend().Get());
        auto* trns = image->ChunkList().FindChunk<TChunktRNS>();
        ASSERT_NE(trns, nullptr);
        EXPECT_EQ(trns->SingleTransparent(), c.single) << c.trns.size();
        EXPECT_EQ(trns->AlphaTable()[0], c.trns[0]);
        EXPECT_EQ(trns->AlphaTable()[200], 255);
    }
    PngBuilder tooLong;
    tooLong.Ihdr(1, 1, 8, 3).Chunk("PLTE", Bytes(9, 7)).Chunk("tRNS", Bytes(257, 0));
    EXPECT_NE(DecodeError<EPNGInvalidPalette>(tooLong.Idat(Deflate(Bytes{0, 0})).Iend().Get()),
              L"");
}

TEST(PngRead, Gamma) {
    // Value 0: identity.
    {
        PngBuilder png;
        png.Ihdr(2, 1, 8, 0).Chunk("gAMA", BigEndian32(0));
        auto image = Decode(png.Idat(Deflate(Bytes{0, 128, 1})).Iend().Get());
        EXPECT_EQ(image->GammaRamp()[128], 128);
        EXPECT_EQ(DecodedRgba(*image)[0], 128);
    }
    // 100000 on grey: 128 -> 186, 1 -> 21, through the grey ramp.
    {
        PngBuilder png;
        png.Ihdr(2, 1, 8, 0).Chunk("gAMA", BigEndian32(100000));
        auto image = Decode(png.Idat(Deflate(Bytes{0, 128, 1})).Iend().Get());
        const Bytes rgba = DecodedRgba(*image);
        EXPECT_EQ(rgba[0], 186);
        EXPECT_EQ(rgba[4], 21);
        EXPECT_EQ(image->HeaderChunk().PixelRow(0)[0], 128); // stored as the level
    }
    // The common 45455 is the identity.
    {
        PngBuilder png;
        png.Ihdr(1, 1, 8, 0).Chunk("gAMA", BigEndian32(45455));
        auto image = Decode(png.Idat(Deflate(Bytes{0, 0})).Iend().Get());
        for (int i = 0; i < 256; ++i)
            ASSERT_EQ(image->GammaRamp()[i], i);
    }
    // Three bytes read as the value 1: every sample below 255 goes to 0.
    {
        PngBuilder png;
        png.Ihdr(1, 1, 8, 2).Chunk("gAMA", {0, 1, 0});
        auto image = Decode(png.Idat(Deflate(Bytes{0, 254, 255, 3})).Iend().Get());
        auto* gama = image->ChunkList().FindChunk<TChunkgAMA>();
        EXPECT_EQ(gama->Gamma(), 1u);
        EXPECT_EQ(gama->PayloadSize(), 4u);
        EXPECT_EQ(image->GammaRamp()[254], 0);
        EXPECT_EQ(image->GammaRamp()[255], 255);
        const Bytes rgba = DecodedRgba(*image);
        EXPECT_EQ(rgba[0], 0);
        EXPECT_EQ(rgba[1], 255);
        EXPECT_EQ(rgba[2], 0);
    }
    // After PLTE, gamma leaves the stored palette alone; before, it applies.
    for (bool before : {true, false}) {
        PngBuilder png;
        png.Ihdr(1, 1, 8, 3);
        if (before) png.Chunk("gAMA", BigEndian32(100000));
        png.Chunk("PLTE", {128, 1, 255});
        if (!before) png.Chunk("gAMA", BigEndian32(100000));
        auto image = Decode(png.Idat(Deflate(Bytes{0, 0})).Iend().Get());
        const uint32_t entry = image->ChunkList().FindChunk<TChunkPLTE>()->PaletteEntry(0);
        EXPECT_EQ(entry, before ? 0xBA15FFu : 0x8001FFu);
    }
}

TEST(PngRead, TextAndTime) {
    const std::string body = "Some compressed words, words, words.";
    Bytes z{'T', 'i', 't', 'l', 'e', 0, 0};
    const Bytes packed = Deflate(Bytes(body.begin(), body.end()));
    z.insert(z.end(), packed.begin(), packed.end());
    Bytes method1 = z;
    method1[6] = 1;
    Bytes broken = z;
    broken[9] ^= 0xFF;
    PngBuilder png = GreyHeader();
    png.Chunk("zTXt", z).Chunk("zTXt", method1).Chunk("tEXt", {'n', 'o', 's', 'e', 'p'});
    png.Chunk("tIME", {0x07, 0xE6, 12, 8, 17, 30, 59}).Chunk("zTXt", broken);
    auto image = Decode(GreyPng(png));
    const TChunkList& list = image->ChunkList();
    auto* first = dynamic_cast<TChunkzTXt*>(list.Item(1));
    auto* second = dynamic_cast<TChunkzTXt*>(list.Item(2));
    auto* plain = dynamic_cast<TChunktEXt*>(list.Item(3));
    auto* time = dynamic_cast<TChunktIME*>(list.Item(4));
    auto* damaged = dynamic_cast<TChunkzTXt*>(list.Item(5));
    ASSERT_TRUE(first && second && plain && time && damaged);
    EXPECT_EQ(first->KeywordText, "Title");
    EXPECT_EQ(first->BodyText, body);
    EXPECT_EQ(second->KeywordText, "Title");
    EXPECT_EQ(second->BodyText, "");
    EXPECT_EQ(plain->KeywordText, "nosep");
    EXPECT_EQ(plain->BodyText, "");
    EXPECT_EQ(time->year, 2022);
    EXPECT_EQ(time->month, 12);
    EXPECT_EQ(time->second, 59);
    EXPECT_EQ(damaged->BodyText, "");
    // tEXt is also found as the first text chunk, zTXt being one.
    EXPECT_EQ(list.FindChunk<TChunktEXt>(), first);
}

TEST(PngRead, CompressedTextAboveOneMebibyteStaysEmpty) {
    Bytes exact{'k', 0, 0};
    const Bytes mib = Deflate(Bytes(1 << 20, 'x'), 9);
    exact.insert(exact.end(), mib.begin(), mib.end());
    Bytes over{'k', 0, 0};
    const Bytes more = Deflate(Bytes((1 << 20) + 1, 'x'), 9);
    over.insert(over.end(), more.begin(), more.end());
    PngBuilder png = GreyHeader();
    png.Chunk("zTXt", exact).Chunk("zTXt", over);
    auto image = Decode(GreyPng(png));
    EXPECT_EQ(dynamic_cast<TChunkzTXt*>(image->ChunkList().Item(1))->BodyText.size(), 1u << 20);
    EXPECT_EQ(dynamic_cast<TChunkzTXt*>(image->ChunkList().Item(2))->BodyText, "");
}

TEST(PngRead, ResizingHeaderlessAndBlank) {
    TPngGraphic image;
    EXPECT_TRUE(image.IsBlank());
    EXPECT_EQ(image.PixelWidth(), 0u);
    EXPECT_EQ(image.PixelGeometry().rowBytes, 0u);
    EXPECT_THROW(image.HeaderChunk(), EPNGHeaderNotPresent);
    try {
        image.HeaderChunk();
    } catch (const EPNGHeaderNotPresent& e) {
        EXPECT_EQ(e.Message(),
                  L"This operation is not valid because the current image contains no valid "
                  L"header.");
        EXPECT_STREQ(e.ClassName(), "EPNGHeaderNotPresent");
    }
    for (int which = 0; which < 2; ++which) {
        try {
            which ? image.SetHeight(5) : image.SetWidth(5);
        } catch (const EPngError& e) {
            EXPECT_EQ(e.Message(),
                      L"The \"Portable Network Graphics\" image can not be resize by changing "
                      L"width and height properties. Try assigning the image from a bitmap.");
        }
    }
}

TEST(PngRead, PixelGeometryRules) {
    EXPECT_EQ(PixelGeometryOf(0, 1, 9).rowBytes, 2u);
    EXPECT_EQ(PixelGeometryOf(0, 16, 3).filterStride, 2u);
    EXPECT_EQ(PixelGeometryOf(3, 4, 3).rowBytes, 2u);
    EXPECT_EQ(PixelGeometryOf(2, 16, 2).rowBytes, 12u);
    EXPECT_EQ(PixelGeometryOf(2, 16, 2).filterStride, 6u);
    EXPECT_EQ(PixelGeometryOf(4, 8, 5).rowBytes, 10u);
    EXPECT_EQ(PixelGeometryOf(4, 16, 5).filterStride, 4u);
    EXPECT_EQ(PixelGeometryOf(6, 8, 5).filterStride, 4u);
    EXPECT_EQ(PixelGeometryOf(6, 16, 1).rowBytes, 8u);
    EXPECT_EQ(PixelGeometryOf(5, 8, 5).rowBytes, 0u);
}

TEST(PngRead, RegistryAndLists) {
    EXPECT_EQ(&FindChunkClass(MakeTypeCode("IHDR")), &TChunkIHDR::kClass);
    EXPECT_EQ(&FindChunkClass(MakeTypeCode("zTXt")), &TChunkzTXt::kClass);
    EXPECT_EQ(&FindChunkClass(MakeTypeCode("ihdr")), &TChunk::kClass);
    EXPECT_EQ(TChunk::kClass.ChunkTypeName(), "");
    EXPECT_EQ(ChunkRegistry().front(), &TChunkIEND::kClass);
    // Names stop at the first zero byte.
    EXPECT_EQ(TypeCodeText(TChunkTypeCode{'I', 'E', 0, 'D'}), "IE");

    TPngGraphic owner;
    auto chunk = TChunkgAMA::kClass.NewChunk(owner);
    EXPECT_EQ(TypeCodeText(chunk->TypeCode()), "gAMA");
    EXPECT_EQ(static_cast<TChunkgAMA&>(*chunk).Gamma(), 1u);
    EXPECT_EQ(&chunk->OwnerImage(), &owner);

    TChunkList list;
    list.SetCount(2);
    EXPECT_EQ(list.Item(5), nullptr);
    list.SetItem(5, TChunk::kClass.NewChunk(owner)); // ignored
    EXPECT_EQ(list.Count(), 2u);
    list.Add(TChunktEXt::kClass.NewChunk(owner));
    EXPECT_EQ(list.Count(), 3u);
    EXPECT_NE(list.FindChunk<TChunktEXt>(), nullptr);
    EXPECT_EQ(list.FindChunk<TChunkzTXt>(), nullptr);
}

TEST(PngRead, ZlibDescriptions) {
    EXPECT_EQ(ZlibDescription(-6), L"incompatible version (-6)");
    EXPECT_EQ(ZlibDescription(-5), L"buffer error (-5)");
    EXPECT_EQ(ZlibDescription(-4), L"insufficient memory (-4)");
    EXPECT_EQ(ZlibDescription(-3), L"data error (-3)");
    EXPECT_EQ(ZlibDescription(-2), L"stream error (-2)");
    EXPECT_EQ(ZlibDescription(-1), L"file error (-1)");
    EXPECT_EQ(ZlibDescription(0), L"(0)");
    EXPECT_EQ(ZlibDescription(1), L"stream end (1)");
    EXPECT_EQ(ZlibDescription(2), L"need dictionary (2)");
}

} // namespace

#include "png/Crc32.h"

namespace {

TEST(PngRead, CrcAgreesWithZlibAtEveryLength) {
    const uint8_t check[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(tabulon::Crc32(check, sizeof check), 0xCBF43926u);
    tabulon::test::Bytes data(100);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = uint8_t(i * 37 + 11);
    for (size_t n = 0; n <= data.size(); ++n) {
        const uLong expected = n ? crc32(0, data.data(), uInt(n)) : 0;
        ASSERT_EQ(tabulon::Crc32(data.data(), n), expected) << n;
    }
}

} // namespace
