#include "base/GraphicRegistry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace tabulon {

namespace {

// A picture kind that keeps the bytes it was given.
class TBytesGraphic : public TGraphic {
  public:
    const char* ClassName() const override { return "TBytesGraphic"; }
    int Width() const override { return static_cast<int>(bytes.size()); }
    int Height() const override { return 1; }
    bool Empty() const override { return bytes.empty(); }
    void LoadFromStream(TStream& s) override {
        bytes.resize(static_cast<size_t>(s.Remaining()));
        s.Read(bytes.data(), bytes.size());
    }
    std::unique_ptr<TGraphic> Clone() const override {
        return std::make_unique<TBytesGraphic>(*this);
    }
    std::vector<uint8_t> bytes;
};

std::unique_ptr<TGraphic> MakeBytes() {
    return std::make_unique<TBytesGraphic>();
}

std::vector<uint8_t> LayoutBlob(const std::string& name, const std::string& data) {
    std::string blob(1, static_cast<char>(name.size()));
    blob += name;
    blob += data;
    return std::vector<uint8_t>(blob.begin(), blob.end());
}

} // namespace

TEST(GraphicRegistry, FindsFileFormatsByExtensionInAnyCase) {
    RegisterFileFormat("bytes", L"Test bytes", &MakeBytes);
    EXPECT_EQ(FindFileFormat(L"bytes"), &MakeBytes);
    EXPECT_EQ(FindFileFormat(L"BYTES"), &MakeBytes);
    EXPECT_EQ(FindFileFormat(L"Bytes"), &MakeBytes);
    EXPECT_EQ(FindFileFormat(L"byte"), nullptr);
    EXPECT_EQ(FindFileFormat(L""), nullptr);
}

TEST(GraphicRegistry, TakesTheExtensionAfterTheLastDotOfTheLastComponent) {
    EXPECT_EQ(FileExtension(L"C:\\Tabulon\\source\\DeskTopBG\\A1.BMP"), L"BMP");
    EXPECT_EQ(FileExtension(L"pic.tar.png"), L"png");
    EXPECT_EQ(FileExtension(L"C:\\my.folder\\noext"), L"");
    EXPECT_EQ(FileExtension(L"trailing."), L"");
    EXPECT_EQ(FileExtension(L""), L"");
}

TEST(GraphicRegistry, ReadsALayoutPictureOfARegisteredKind) {
    RegisterGraphicClass("TBytesGraphic", &MakeBytes);
    const std::vector<uint8_t> blob = LayoutBlob("TBytesGraphic", std::string("\x00\x01\x02", 3));
    std::unique_ptr<TGraphic> g = ReadLayoutPicture(blob.data(), blob.size());
    auto* bytes = dynamic_cast<TBytesGraphic*>(g.get());
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes->bytes, (std::vector<uint8_t>{0, 1, 2}));
}

TEST(GraphicRegistry, RejectsUnknownKindsAndTruncatedNames) {
    const std::vector<uint8_t> unknown = LayoutBlob("TNoSuchGraphic", "data");
    EXPECT_THROW(ReadLayoutPicture(unknown.data(), unknown.size()), EInvalidGraphic);
    std::vector<uint8_t> truncated = LayoutBlob("TBitmap", "");
    truncated.resize(4);
    EXPECT_THROW(ParseLayoutPicture(truncated.data(), truncated.size()), EInvalidGraphic);
    EXPECT_THROW(ParseLayoutPicture(nullptr, 0), EInvalidGraphic);
}

TEST(GraphicRegistry, ParsesTheClassNameAndWhereTheDataStarts) {
    const std::vector<uint8_t> blob = LayoutBlob("TPngGraphic", "\x89PNG");
    const LayoutPicture p = ParseLayoutPicture(blob.data(), blob.size());
    EXPECT_EQ(p.className, "TPngGraphic");
    EXPECT_EQ(p.dataOffset, 12u);
}

} // namespace tabulon
